// The board as a host drives it: the main window's data calls and refresh,
// and the paint of every panel at the size it gets in a 1920 x 1080 board.
#include "ymbenchmain.h"
#include "ymmacstatepage.h"
#include "ymnotifymanager.h"
#include "ymworkshopday.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"
#include "ymworkshopplanratepage.h"
#include "ymworkshopverticalbarchart.h"

#include <QCoreApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>

#include <sys/resource.h>

namespace {

enum Day { SampleDay = 0, LargeWorkshop = 1, LargeNotifying = 2 };

// The large workshop with every plan's threshold at 1 percent: each plan with
// more than 1 percent done notifies on every refresh.
YmWorkshopDay notifyingLarge()
{
    YmWorkshopDay w = YmWorkshopDay::large(QDate::currentDate());
    for (QVariant &row : w.rows) {
        QVariantList fields = row.toList();
        fields[8] = 1;
        row = fields;
    }
    w.planData[0] = w.rows;
    return w;
}

const YmWorkshopDay &workshop(int day)
{
    static const YmWorkshopDay sample = YmWorkshopDay::sampleDay(QDate::currentDate());
    static const YmWorkshopDay large = YmWorkshopDay::large(QDate::currentDate());
    static const YmWorkshopDay notifying = notifyingLarge();
    return day == SampleDay ? sample : day == LargeWorkshop ? large : notifying;
}

// One 1920 x 1080 board per day, loaded once and shared by the benchmarks;
// released before the application goes.
std::unique_ptr<YmWorkshopManagePage> g_boards[3];

YmWorkshopManagePage &board(int day)
{
    std::unique_ptr<YmWorkshopManagePage> &page = g_boards[day];
    if (!page) {
        page = std::make_unique<YmWorkshopManagePage>();
        page->setGeometry(0, 0, 1920, 1080);
        page->show();
        const YmWorkshopDay &w = workshop(day);
        page->initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
        QCoreApplication::processEvents();
    }
    return *page;
}

void label(benchmark::State &state, int day)
{
    state.SetLabel(day == SampleDay       ? "sample day"
                   : day == LargeWorkshop ? "large workshop"
                                          : "large workshop, plans notifying");
}

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void BM_InitDatas(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    YmWorkshopManageMainPage &main = *board(day).mainPage();
    for (auto _ : state)
        main.initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
    label(state, day);
}

void BM_UpdateMacProcess(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    YmWorkshopManageMainPage &main = *board(day).mainPage();
    for (auto _ : state)
        main.updateMacProcess(w.processMacKey, w.process);
    label(state, day);
}

// Every refresh renotifies the same plans: a waiting notification is updated in
// place, so neither the time per call nor the process's peak memory grows with
// the number of calls. Run with a fixed count and no draining; the counters are
// the peak resident size after the first call and after all of them.
void BM_UpdateMacProcessNotifying(benchmark::State &state)
{
    const YmWorkshopDay &w = workshop(LargeNotifying);
    YmNotifyManager::destroyInstance();
    YmWorkshopManageMainPage &main = *board(LargeNotifying).mainPage();
    main.updateMacProcess(w.processMacKey, w.process);
    const double first = peakMiB();
    for (auto _ : state)
        main.updateMacProcess(w.processMacKey, w.process);
    state.counters["peak MiB after 1 call"] = first;
    state.counters["peak MiB after all"] = peakMiB();
    state.counters["waiting"] = YmNotifyManager::instance()->queueSize();
    label(state, LargeNotifying);
    YmNotifyManager::destroyInstance();
}

void BM_RefreshDashboard(benchmark::State &state)
{
    const int day = int(state.range(0));
    YmWorkshopManageMainPage &main = *board(day).mainPage();
    for (auto _ : state)
        main.refreshDashboard();
    label(state, day);
}

void BM_RecountMachineStates(benchmark::State &state)
{
    const int day = int(state.range(0));
    YmWorkshopManageMainPage &main = *board(day).mainPage();
    for (auto _ : state)
        main.recountMachineStates();
    label(state, day);
}

// Paints one panel of the loaded board into an image of its own size.
template<typename Panel>
void paintPanel(benchmark::State &state, const char *objectName)
{
    const int day = int(state.range(0));
    auto *panel = board(day).findChild<Panel *>(QString::fromLatin1(objectName));
    if (!panel) {
        state.SkipWithError("panel not found");
        return;
    }
    QImage image(panel->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(QColor(0, 7, 62));
        panel->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    label(state, day);
    state.counters["width"] = panel->width();
    state.counters["height"] = panel->height();
}

void BM_PaintMacState(benchmark::State &state)
{
    paintPanel<YmMacStatePage>(state, "dockWidgetContents_macState");
}

void BM_PaintPlanRate(benchmark::State &state)
{
    paintPanel<YmWorkshopPlanRatePage>(state, "dockWidgetContents_planRate");
}

void BM_PaintOrderBars(benchmark::State &state)
{
    paintPanel<YmWorkshopHorizontalBarChart>(state, "dockWidgetContents_datePlanTotalProgress");
}

void BM_PaintGroupBars(benchmark::State &state)
{
    paintPanel<YmWorkshopVerticalBarchart>(state, "dockWidgetContents_planState");
}

} // namespace

BENCHMARK(BM_InitDatas)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateMacProcess)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateMacProcessNotifying)->Iterations(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefreshDashboard)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecountMachineStates)
    ->Arg(SampleDay)
    ->Arg(LargeWorkshop)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintMacState)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintPlanRate)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintOrderBars)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintGroupBars)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return ymRunBenchmarks(argc, argv, true, [] {
        for (auto &page : g_boards)
            page.reset();
        YmNotifyManager::destroyInstance();
    });
}
