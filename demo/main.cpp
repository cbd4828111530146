// Reference host of the workshop board: a simulated workshop (or a replayed
// production log) stored in SQLite, reported to the board as a production
// data collector would. See --help for the options.

#include "ymboardscale.h"
#include "ymhostrunner.h"

#include <ymplatformmessagefilter.h>

#include <QApplication>

#include <cstring>

namespace {

// --help and --screenshot need no screen: without a display (and without a
// platform chosen by the caller) they run on the offscreen platform rather
// than abort in QApplication.
void chooseOffscreenWithoutDisplay(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0
            || std::strncmp(arg, "--screenshot", 12) == 0) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            return;
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    chooseOffscreenWithoutDisplay(argc, argv);
    YmPlatformMessageFilter::install();
    chooseBoardScale(argc, argv);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ym-workshop-demo"));
    return YmHostRunner::run(app.arguments());
}
