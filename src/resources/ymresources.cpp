#include "ymresources.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QString>
#include <QtGlobal>

void ymRegisterResources()
{
    Q_INIT_RESOURCE(ymboard);
    Q_INIT_RESOURCE(ymnotify);
    Q_INIT_RESOURCE(ymworkshopmanage_i18n);
}

QPixmap ymBoardPixmap(const QString &path)
{
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1.0) {
        const int dot = path.lastIndexOf(QLatin1Char('.'));
        if (dot > 0) {
            QPixmap large;
            if (large.load(path.left(dot) + QStringLiteral("@2x") + path.mid(dot))) {
                large.setDevicePixelRatio(2.0);
                return large;
            }
        }
    }
    return QPixmap(path);
}
