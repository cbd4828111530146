// The whole board's paint, as the page's one-second clock repaints it, on
// screens below the design size (scaled view) and at the design size (direct).
#include "ymbenchmain.h"
#include "ymnotifymanager.h"
#include "ymworkshopday.h"
#include "ymworkshopmanagepage.h"

#include <QCoreApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<YmWorkshopManagePage> g_page;

void BM_PaintBoard(benchmark::State &state)
{
    const QSize size(int(state.range(0)), int(state.range(1)));
    if (!g_page) {
        g_page = std::make_unique<YmWorkshopManagePage>();
        const YmWorkshopDay w = YmWorkshopDay::sampleDay(QDate::currentDate());
        g_page->initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
        g_page->show();
    }
    g_page->setGeometry(QRect(QPoint(0, 0), size));
    QCoreApplication::processEvents();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        g_page->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(g_page->boardScale() < 1.0 ? "scaled view" : "direct");
}

} // namespace

BENCHMARK(BM_PaintBoard)
    ->Args({1280, 720})
    ->Args({1366, 768})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return ymRunBenchmarks(argc, argv, true, [] {
        g_page.reset();
        YmNotifyManager::destroyInstance();
    });
}
