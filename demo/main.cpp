// Reference host of the workshop board: a simulated workshop (or a replayed
// production log) stored in SQLite, reported to the board as a production
// data collector would. See --help for the options.

#include "ymboardscale.h"
#include "ymhostrunner.h"

#include <ymplatformmessagefilter.h>

#include <QApplication>

int main(int argc, char *argv[])
{
    YmPlatformMessageFilter::install();
    chooseBoardScale(argc, argv);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ym-workshop-demo"));
    return YmHostRunner::run(app.arguments());
}
