#include "ymorderrow.h"

QString YmOrderRow::stringAt(const QVariantList &list, int index)
{
    if (index < 0 || index >= list.size())
        return QString();
    return list.at(index).toString();
}

int YmOrderRow::intAt(const QVariantList &list, int index)
{
    if (index < 0 || index >= list.size())
        return 0;
    return list.at(index).toInt();
}

YmPieceMap YmOrderRow::pieceMapAt(const QVariantList &list, int index)
{
    if (index < 0 || index >= list.size())
        return YmPieceMap();
    const QVariant &value = list.at(index);
    const int pieceType = qMetaTypeId<YmPieceMap>();
    if (value.userType() == pieceType)
        return *static_cast<const YmPieceMap *>(value.constData());
    if (!value.isValid())
        return YmPieceMap();
    // The QVariantMap converter is installed here too, so that a reader works
    // even when nobody registered the meta types before the first payload.
    ymRegisterMetaTypes();
    QVariant converted = value;
    if (!converted.convert(pieceType))
        return YmPieceMap();
    return converted.value<YmPieceMap>();
}

const QVariantList &YmOrderRow::listRef(const QVariant &value, QVariantList &storage)
{
    if (value.userType() == QMetaType::QVariantList)
        return *static_cast<const QVariantList *>(value.constData());
    storage = isRecord(value) ? value.toList() : QVariantList();
    return storage;
}

bool YmOrderRow::isRecord(const QVariant &value)
{
    const int type = value.userType();
    return type == QMetaType::QVariantList || type == QMetaType::QStringList;
}

void YmOrderRow::setAt(QVariantList &list, int index, const QVariant &value)
{
    if (index < 0)
        return;
    const int wanted = qMax(int(FieldCount), index + 1);
    if (list.size() < wanted) {
        list.reserve(wanted);
        while (list.size() < wanted)
            list.append(QVariant());
    }
    list[index] = value;
}
