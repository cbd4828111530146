// Renders the board with one of the generated workshops to a PNG, to look at
// it rather than time it:
//
//   QT_QPA_PLATFORM=offscreen build/bench/ym-board-shot large board.png
//   QT_QPA_PLATFORM=offscreen build/bench/ym-board-shot large board.png 1366x768
//   QT_QPA_PLATFORM=offscreen build/bench/ym-board-shot large page3.png 1920x1080 2
//
// The last argument turns every paged panel on by that many pages first.
// The workshops are those of the benchmarks: "sample" (12 machines, 4 plans),
// "large" (500 machines in 40 groups, 300 plans) and "busy" (the large one at
// the end of a busy day); the board's clock stands at 14:00 of their day.
#include "ymclock.h"
#include "ymharness.h"
#include "ymtableviewwidget.h"
#include "ymworkshopday.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopmanagepage.h"
#include "ymworkshopverticalbarchart.h"

#include <QApplication>
#include <QImage>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    YmHarness::start();

    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() < 3) {
        err << "usage: ym-board-shot sample|large|busy out.png [WxH] [turns]\n";
        return 2;
    }
    const QString which = args.at(1);
    const QDate day(2024, 3, 5);
    YmWorkshopDay w;
    if (which == QLatin1String("sample")) {
        w = YmWorkshopDay::sampleDay(day);
    } else if (which == QLatin1String("large")) {
        w = YmWorkshopDay::large(day);
    } else if (which == QLatin1String("busy")) {
        w = YmWorkshopDay::busyDay(200000, day);
    } else {
        err << "unknown workshop " << which << '\n';
        return 2;
    }
    QSize size(1920, 1080);
    if (args.size() > 3) {
        const QStringList wh = args.at(3).split(QLatin1Char('x'));
        if (wh.size() == 2)
            size = QSize(wh.at(0).toInt(), wh.at(1).toInt());
    }

    YmClock::setFixed(QDateTime(day, QTime(14, 0)));
    YmWorkshopManagePage page;
    page.resize(size);
    page.show();
    page.initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
    for (const QVariant &mac : qAsConst(w.macList)) {
        const QVariantList fields = mac.toList();
        page.updateMacState(fields.value(0).toString(), fields.value(2).toInt(),
                            fields.value(1).toString());
    }
    QCoreApplication::processEvents();
    const int turns = args.size() > 4 ? args.at(4).toInt() : 0;
    for (int i = 0; i < turns; ++i) {
        for (auto *chart : page.findChildren<YmWorkshopHorizontalBarChart *>())
            chart->showNextPage();
        for (auto *chart : page.findChildren<YmWorkshopVerticalBarchart *>())
            chart->showNextPage();
        for (auto *table : page.findChildren<YmTableViewWidget *>())
            table->showNextPage();
    }
    QCoreApplication::processEvents();
    const QImage image = page.grab().toImage();
    if (!image.save(args.at(2))) {
        err << "could not write " << args.at(2) << '\n';
        return 1;
    }
    return 0;
}
