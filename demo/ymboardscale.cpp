#include "ymboardscale.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace {

// The board is laid out for 1920x1080; a larger screen gets the factor by which
// the whole layout still fits. Smaller screens are left at 1: the board scales
// itself down.
double factorFor(const QSize &screen)
{
    if (screen.width() <= 0 || screen.height() <= 0)
        return 1.0;
    return std::max(1.0, std::min(screen.width() / 1920.0, screen.height() / 1080.0));
}

const char *optionValue(int argc, char *argv[], const char *name)
{
    const std::size_t n = std::strlen(name);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0)
            return i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strncmp(argv[i], name, n) == 0 && argv[i][n] == '=')
            return argv[i] + n + 1;
    }
    return nullptr;
}

QSize parseSize(const char *text)
{
    const QStringList wh = QString::fromLocal8Bit(text).split(QLatin1Char('x'));
    return QSize(wh.value(0).toInt(), wh.value(1).toInt());
}

QSize primaryScreenSize(int argc, char *argv[])
{
    // A short-lived application object only to ask the platform for the screen;
    // the real one is created afterwards with the factor in place.
    int probeArgc = std::min(argc, 1);
    QGuiApplication probe(probeArgc, argv);
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

} // namespace

double chooseBoardScale(int argc, char *argv[])
{
    double factor = 1.0;
    if (const char *forced = optionValue(argc, argv, "--scale")) {
        factor = QByteArray(forced).toDouble();
        if (factor <= 0.0)
            factor = 1.0;
    } else if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        return qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    } else if (optionValue(argc, argv, "--screenshot")) {
        const char *size = optionValue(argc, argv, "--size");
        factor = factorFor(size ? parseSize(size) : QSize(1920, 1080));
    } else {
        factor = factorFor(primaryScreenSize(argc, argv));
    }
    if (factor != 1.0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'g', 6));
    return factor;
}
