// Today's plan progress at the end of a busy day: the main window's process
// report, the day's data and the chart's paint with 200,000 pieces, and the
// straightforward computation (every key and label parsed for every piece)
// next to the running counts at 2,000 pieces.
#include "ymbenchmain.h"
#include "ymclock.h"
#include "ymdateplanprogressdata.h"
#include "ymliteralplanprogress.h"
#include "ymnotifymanager.h"
#include "ymordermodel.h"
#include "ymworkshopdateplanprogress.h"
#include "ymworkshopday.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QDate kDay(2024, 3, 5);

const YmWorkshopDay &busyDay()
{
    static const YmWorkshopDay w = YmWorkshopDay::busyDay(200000, kDay);
    return w;
}

// 300 rows on 50 machines: a small workshop's day.
const YmWorkshopDay &smallDay()
{
    static const YmWorkshopDay w = [] {
        YmWorkshopDay small = YmWorkshopDay::generate(50, 5, 30, 300, kDay);
        small.fillPieces(2000);
        return small;
    }();
    return w;
}

// Late in the day, so that every label up to 19:00 has its point.
void fixClock()
{
    YmClock::setFixed(QDateTime(kDay, QTime(19, 30)));
}

std::unique_ptr<YmWorkshopManagePage> g_board;

YmWorkshopManagePage &board()
{
    if (!g_board) {
        fixClock();
        g_board = std::make_unique<YmWorkshopManagePage>();
        g_board->setGeometry(0, 0, 1920, 1080);
        g_board->show();
        const YmWorkshopDay &w = busyDay();
        g_board->initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime,
                           w.workMinutes);
        QCoreApplication::processEvents();
    }
    return *g_board;
}

YmWorkshopDatePlanProgress *chart()
{
    return board().findChild<YmWorkshopDatePlanProgress *>(
        QStringLiteral("dockWidgetContents_datePlanProgress"));
}

void drainNotifications(benchmark::State &state)
{
    if (YmNotifyManager::instance()->queueSize() < 10000)
        return;
    state.PauseTiming();
    YmNotifyManager::destroyInstance();
    state.ResumeTiming();
}

void BM_MainUpdateMacProcess(benchmark::State &state)
{
    const YmWorkshopDay &w = busyDay();
    YmWorkshopManageMainPage &main = *board().mainPage();
    for (auto _ : state) {
        main.updateMacProcess(w.processMacKey, w.process);
        drainNotifications(state);
    }
    state.SetLabel("200,000 pieces, 10 new");
}

void BM_SetDayData(benchmark::State &state)
{
    const YmWorkshopDay &w = busyDay();
    YmWorkshopDatePlanProgress *panel = chart();
    const QVector<YmOrderRecord> rows = w.records();
    const QVector<YmStopEntry> stops = w.stops();
    for (auto _ : state)
        panel->setDayData(rows, stops, w.startTime, w.endTime, w.workMinutes);
    state.SetLabel("200,000 pieces");
}

void BM_PaintProgress(benchmark::State &state)
{
    YmWorkshopDatePlanProgress *panel = chart();
    fixClock();
    QImage image(panel->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(QColor(0, 7, 62));
        panel->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel("200,000 pieces, dock size in 1920x1080");
    state.counters["width"] = panel->width();
    state.counters["height"] = panel->height();
}

// The pieces the board's rows take from the day's process report.
QVector<QPair<QString, int>> takenPieces(const YmWorkshopDay &w)
{
    YmOrderModel board;
    board.setRows(w.records());
    return board.applyProcess(w.processMacKey, w.processEntries()).pieces;
}

// Per-iteration times of the running counts at 2,000 pieces, for the ratio.
double g_fastSetDayNs = 0;
double g_fastUpdateNs = 0;

template<typename Day>
double timeLoop(benchmark::State &state, Day &&body)
{
    QElapsedTimer timer;
    timer.start();
    for (auto _ : state)
        body();
    return double(timer.nsecsElapsed()) / qMax<qint64>(1, state.iterations());
}

void BM_FastSetDayData2000(benchmark::State &state)
{
    fixClock();
    const YmWorkshopDay &w = smallDay();
    YmDatePlanProgressData day;
    const QVector<YmOrderRecord> rows = w.records();
    const QVector<YmStopEntry> stops = w.stops();
    g_fastSetDayNs = timeLoop(
        state, [&] { day.setDayData(rows, stops, w.startTime, w.endTime, w.workMinutes); });
    state.SetLabel("2,000 pieces");
}

void BM_LiteralSetDayData2000(benchmark::State &state)
{
    fixClock();
    const YmWorkshopDay &w = smallDay();
    YmLiteralPlanProgress day;
    const double ns = timeLoop(
        state, [&] { day.setDayData(w.rows, w.stopList, w.startTime, w.endTime, w.workMinutes); });
    state.SetLabel("2,000 pieces");
    if (g_fastSetDayNs > 0)
        state.counters["x_fast"] = ns / g_fastSetDayNs;
}

void BM_FastUpdateMacProcess2000(benchmark::State &state)
{
    fixClock();
    const YmWorkshopDay &w = smallDay();
    YmDatePlanProgressData day;
    day.setDayData(w.records(), w.stops(), w.startTime, w.endTime, w.workMinutes);
    const QVector<QPair<QString, int>> pieces = takenPieces(w);
    g_fastUpdateNs = timeLoop(state, [&] { day.addPieces(pieces); });
    state.SetLabel("2,000 pieces, 10 new");
}

void BM_LiteralUpdateMacProcess2000(benchmark::State &state)
{
    fixClock();
    const YmWorkshopDay &w = smallDay();
    YmLiteralPlanProgress day;
    day.setDayData(w.rows, w.stopList, w.startTime, w.endTime, w.workMinutes);
    const QVector<QPair<QString, int>> pieces = takenPieces(w);
    const double ns = timeLoop(state, [&] {
        day.added.clear(); // the same ten pieces each time, as the fast loop sees them
        day.addPieces(pieces);
    });
    state.SetLabel("2,000 pieces, 10 new");
    if (g_fastUpdateNs > 0)
        state.counters["x_fast"] = ns / g_fastUpdateNs;
}

} // namespace

BENCHMARK(BM_MainUpdateMacProcess)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SetDayData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintProgress)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FastSetDayData2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiteralSetDayData2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastUpdateMacProcess2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiteralUpdateMacProcess2000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return ymRunBenchmarks(argc, argv, true, [] {
        g_board.reset();
        YmNotifyManager::destroyInstance();
        YmClock::setFixed(QDateTime());
    });
}
