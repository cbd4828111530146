#include "ymmetatypes.h"

#include <QVariantMap>

void ymRegisterMetaTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<YmPieceMap>("QMap<QString,int>");
        qRegisterMetaType<YmMachineCountMap>("QMap<QString,QPair<int,int> >");
        // Hosts that build piece maps with QVariantMap still get their pieces counted.
        QMetaType::registerConverter<QVariantMap, YmPieceMap>([](const QVariantMap &in) {
            YmPieceMap out;
            for (auto it = in.cbegin(); it != in.cend(); ++it)
                out.insert(it.key(), it.value().toInt());
            return out;
        });
        return true;
    }();
    Q_UNUSED(registered)
}
