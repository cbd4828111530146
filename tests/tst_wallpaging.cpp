// The order chart, the group chart and the statistics table on a 1920 x 1080
// board, from a small day to the large workshop: bars and rows at a readable
// size, pages where they do not all fit, turned by the page timer.
#include "ymclock.h"
#include "ymharness.h"
#include "ymitempixmaptext.h"
#include "ymtableviewwidget.h"
#include "ymworkshopday.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopmanagepage.h"
#include "ymworkshopplantable.h"
#include "ymworkshopverticalbarchart.h"

#include <QHeaderView>
#include <QLayout>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace YmChartScale;

namespace {

const QRgb kPlanned = qRgb(22, 92, 154), kCompleted = qRgb(45, 198, 255);

// The board at 1920 x 1080 with a generated workshop at 14:00.
std::unique_ptr<YmWorkshopManagePage> board(int machines, int groups, int plans)
{
    const YmWorkshopDay w
        = YmWorkshopDay::generate(machines, groups, plans, plans * 10, QDate(2024, 3, 5));
    YmClock::setFixed(QDateTime(w.day, QTime(14, 0)));
    auto page = std::make_unique<YmWorkshopManagePage>();
    page->resize(1920, 1080);
    page->show();
    page->initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
    QCoreApplication::processEvents();
    return page;
}

// Fires the timer's timeout as its period ending would.
void fire(const QTimer &timer)
{
    QVERIFY(QMetaObject::invokeMethod(const_cast<QTimer *>(&timer), "timeout"));
}

QImage paint(QWidget &w)
{
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    w.render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

class TstWallPaging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }
    void cleanup() { YmClock::setFixed(QDateTime()); }

    void boards_data()
    {
        QTest::addColumn<int>("machines");
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("plans");
        QTest::newRow("8 plans") << 24 << 4 << 8;
        QTest::newRow("40 plans") << 120 << 10 << 40;
        QTest::newRow("300 plans, 500 machines") << 500 << 40 << 300;
    }

    // Every page of the order chart, found by painting it: each bar at least
    // as tall as a 15-point name, the longest nearly across the plot, the tick
    // labels apart, and the pages turning through all plans back to the first.
    void orderChart_data() { boards_data(); }
    void orderChart()
    {
        QFETCH(int, machines);
        QFETCH(int, groups);
        QFETCH(int, plans);
        const auto page = board(machines, groups, plans);
        auto *chart = page->findChild<YmWorkshopHorizontalBarChart *>();
        QCOMPARE(chart->barData().size(), plans);
        QFont f15 = chart->font();
        f15.setPointSize(15);
        const int readable = int(QFontMetricsF(f15).height());

        const HorizontalLayout first = chart->layoutFor(chart->size());
        const int perPage = first.pages.perPage();
        const int pageCount = (plans + perPage - 1) / perPage;
        QCOMPARE(first.pages.caption(),
                 pageCount > 1 ? QStringLiteral("1/%1").arg(pageCount) : QString());
        QCOMPARE(chart->pageTimer().isActive(), pageCount > 1);
        QCOMPARE(chart->pageTimer().interval(), YmPageTimer::kPageInterval);

        int seen = 0;
        for (int turn = 0; turn < pageCount; ++turn) {
            const HorizontalLayout l = chart->layoutFor(chart->size());
            QCOMPARE(l.pages.page(), turn);
            QCOMPARE(l.pages.first(), seen);
            const QImage image = paint(*chart);
            const int x0 = int(l.left) + 1;
            double longest = 0;
            for (int c = 1; c <= l.pages.count(); ++c) {
                const int yTop = int(horizontalBarTop(l, c));
                int height = 0;
                for (int y = yTop; y < yTop + int(l.band) + 2; ++y) {
                    const QRgb px = image.pixel(x0, y);
                    height += px == kPlanned || px == kCompleted;
                }
                QVERIFY2(
                    height >= readable,
                    qPrintable(
                        QStringLiteral("bar %1: %2 < %3").arg(seen + c).arg(height).arg(readable)));
                int x = x0;
                while (x < image.width()
                       && (image.pixel(x, yTop + 2) == kPlanned
                           || image.pixel(x, yTop + 2) == kCompleted))
                    ++x;
                longest = qMax(longest, double(x - x0));
            }
            const double plot = l.right - l.left;
            QVERIFY2(longest >= 0.8 * plot,
                     qPrintable(
                         QStringLiteral("page %1: %2 of %3").arg(turn + 1).arg(longest).arg(plot)));

            const QVector<QRectF> ticks = chart->tickLabelRects(chart->size());
            QVERIFY(ticks.size() >= 2);
            for (int i = 0; i < ticks.size(); ++i) {
                QVERIFY(ticks.at(i).right() <= chart->width());
                for (int j = i + 1; j < ticks.size(); ++j)
                    QVERIFY(!ticks.at(i).intersects(ticks.at(j)));
            }
            seen += l.pages.count();
            if (pageCount > 1)
                QCOMPARE(l.pages.caption(), QStringLiteral("%1/%2").arg(turn + 1).arg(pageCount));
            fire(chart->pageTimer());
        }
        QCOMPARE(seen, plans);
        QCOMPARE(chart->page(), 0);

        // A name wider than a third of the chart is shortened to that, and
        // shown whole in a tool tip over it.
        const HorizontalLayout l = chart->layoutFor(chart->size());
        const QString name = chart->barData().at(0).toList().at(0).toString();
        const QString shown = chart->shownName(name, l.nameWidth);
        QVERIFY(QFontMetricsF(f15).horizontalAdvance(shown) <= l.nameWidth);
        QCOMPARE(shown == name, QFontMetricsF(f15).horizontalAdvance(name) <= l.nameWidth);
        const QPoint overName(int(l.nameRight) - 5, int(horizontalBarTop(l, 1) + l.band / 2));
        QHelpEvent help(QEvent::ToolTip, overName, chart->mapToGlobal(overName));
        QToolTip::hideText();
        QCoreApplication::sendEvent(chart, &help);
        QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(),
                 shown == name ? QString() : name);

        // New figures every few seconds neither reset nor hold the page.
        if (pageCount > 1) {
            fire(chart->pageTimer());
            chart->setBarData(chart->barData());
            QCOMPARE(chart->page(), 1);
            QVERIFY(chart->pageTimer().isActive());
        }
    }

    // The group chart pages when its names or numbers would run into each
    // other: on every page each name has its slot.
    void groupChart_data() { boards_data(); }
    void groupChart()
    {
        QFETCH(int, machines);
        QFETCH(int, groups);
        QFETCH(int, plans);
        const auto page = board(machines, groups, plans);
        auto *chart = page->findChild<YmWorkshopVerticalBarchart *>();
        QFont f15 = chart->font();
        f15.setPointSize(15);
        const QFontMetricsF fm15(f15), fm0(chart->font());
        int seen = 0;
        do {
            const VerticalLayout l = chart->layoutFor(chart->size());
            for (int i = 0; i < l.pages.count(); ++i) {
                const QVariantList bar = chart->barData().at(l.pages.first() + i).toList();
                QVERIFY(fm15.horizontalAdvance(bar.at(0).toString()) < l.slotW);
                QVERIFY(fm0.horizontalAdvance(QString::number(bar.at(1).toInt())) < l.barW);
            }
            seen += l.pages.count();
            fire(chart->pageTimer());
        } while (chart->page() != 0);
        QCOMPARE(seen, groups);
    }

    // The table shows whole rows, a page at a time, the rank numbers running
    // on; a click holds the page a minute; the medals stay on ranks 1 to 3.
    void statisticsTable_data() { boards_data(); }
    void statisticsTable()
    {
        QFETCH(int, machines);
        QFETCH(int, groups);
        QFETCH(int, plans);
        const auto page = board(machines, groups, plans);
        auto *panel = page->findChild<YmWorkshopPlanTable *>();
        YmTableViewWidget *table = panel->tableWidget();
        QTableView *view = table->tableView();
        const int rows = table->model().rowCount();
        QVERIFY(rows > 0);
        const QString medals
            = panel->medal(0)->text() + panel->medal(1)->text() + panel->medal(2)->text();

        const YmPager &pages = table->pages();
        const int perPage = pages.perPage();
        QVERIFY(perPage >= qMin(rows, 10));
        QCOMPARE(table->pageTimer().isActive(), rows > perPage);
        const int pageCount = (rows + perPage - 1) / perPage;
        for (int turn = 0; turn < pageCount; ++turn) {
            const int first = turn * perPage;
            const int last = qMin(rows, first + perPage) - 1;
            QCOMPARE(view->rowAt(0), first);
            QCOMPARE(view->verticalHeader()->logicalIndexAt(1), first);
            QCOMPARE(view->model()->headerData(first, Qt::Vertical).toString(),
                     QString::number(first + 1));
            // The page's last row whole, and nothing of the next one.
            QVERIFY(view->rowViewportPosition(last) + view->rowHeight(last)
                    <= view->viewport()->height());
            const int below = view->rowAt(view->viewport()->height() - 1);
            QVERIFY2(below == -1 || below == last, qPrintable(QString::number(below)));
            fire(table->pageTimer());
        }
        QCOMPARE(view->rowAt(0), 0);
        QCOMPARE(panel->medal(0)->text() + panel->medal(1)->text() + panel->medal(2)->text(),
                 medals);

        if (pageCount > 1) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
            QCOMPARE(table->pageTimer().interval(), YmPageTimer::kUserPause);
            QCOMPARE(view->rowAt(0), 0);
            fire(table->pageTimer());
            QCOMPARE(view->rowAt(0), perPage);
            QCOMPARE(table->pageTimer().interval(), YmPageTimer::kPageInterval);
        }
    }
};

QTEST_MAIN(TstWallPaging)
#include "tst_wallpaging.moc"
