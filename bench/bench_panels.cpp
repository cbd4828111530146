// Paint cost of the dashboard panels at their size on a 1920 x 1080 board.
#include "ymmacstatepage.h"
#include "ymmetatypes.h"
#include "ymresources.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopplanratechart.h"
#include "ymworkshopplanratepage.h"
#include "ymworkshopverticalbarchart.h"

#include "ymbenchworkshop.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {
const QColor kBoard(0, 7, 62);
const QSize kPlanRateSize(560, 480);
const QSize kHorizontalSize(560, 430);
const QSize kMacStateSize(900, 200);
const QSize kVerticalSize(900, 330);

// {name, planned, completed} per plan name (field 0) or group name (field 4) of
// the generated order rows (planned field 6, completed field 7), in first-seen
// order, the shape the dashboard refresh hands to the charts.
QVariantList barsBy(const YmBenchWorkshop &w, int keyField)
{
    QStringList order;
    QHash<QString, QPair<int, int>> sums;
    for (const QVariant &v : w.rows) {
        const QVariantList row = v.toList();
        if (row.size() < 8)
            continue;
        const QString key = row.at(keyField).toString();
        if (!sums.contains(key))
            order << key;
        QPair<int, int> &sum = sums[key];
        sum.first += row.at(6).toInt();
        sum.second += row.at(7).toInt();
    }
    QVariantList out;
    for (const QString &key : qAsConst(order))
        out << QVariant(QVariantList{key, sums.value(key).first, sums.value(key).second});
    return out;
}

const YmBenchWorkshop &sampleDay()
{
    static const YmBenchWorkshop w = YmBenchWorkshop::sampleDay();
    return w;
}

const YmBenchWorkshop &largeDay()
{
    static const YmBenchWorkshop w = YmBenchWorkshop::large();
    return w;
}

QPair<int, int> totals(const YmBenchWorkshop &w)
{
    int planned = 0;
    int completed = 0;
    for (const QVariant &bar : barsBy(w, 0)) {
        planned += bar.toList().value(1).toInt();
        completed += bar.toList().value(2).toInt();
    }
    return {planned, completed};
}

// Paints `paint` into a board-coloured image once per iteration.
template<class Paint>
void paintLoop(benchmark::State &state, const QSize &size, Paint paint)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        img.fill(kBoard);
        paint(img);
        benchmark::DoNotOptimize(img.constBits());
    }
}

template<class Chart>
void drawChart(benchmark::State &state, const QSize &size, const QVariantList &bars)
{
    Chart chart;
    chart.setBarData(bars);
    chart.resize(size);
    paintLoop(state, size, [&](QImage &img) {
        QPainter p(&img);
        chart.draw(&p, QRect(QPoint(0, 0), size));
    });
}

// Whole widget with its children, the way the board repaints it.
void renderWidget(benchmark::State &state, QWidget &widget, const QSize &size)
{
    widget.resize(size);
    widget.show();
    QCoreApplication::processEvents();
    paintLoop(state, size, [&](QImage &img) {
        widget.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    });
}

void BM_HorizontalChart_SampleDay(benchmark::State &state)
{
    drawChart<YmWorkshopHorizontalBarChart>(state, kHorizontalSize, barsBy(sampleDay(), 0));
}

void BM_HorizontalChart_300Plans(benchmark::State &state)
{
    const QVariantList bars = barsBy(largeDay(), 0);
    state.counters["bars"] = bars.size();
    drawChart<YmWorkshopHorizontalBarChart>(state, kHorizontalSize, bars);
}

void BM_VerticalChart_SampleDay(benchmark::State &state)
{
    drawChart<YmWorkshopVerticalBarchart>(state, kVerticalSize, barsBy(sampleDay(), 4));
}

void BM_VerticalChart_40Groups(benchmark::State &state)
{
    const QVariantList bars = barsBy(largeDay(), 4);
    state.counters["bars"] = bars.size();
    drawChart<YmWorkshopVerticalBarchart>(state, kVerticalSize, bars);
}

void BM_PlanRateGauge_SampleDay(benchmark::State &state)
{
    YmWorkshopPlanRateChart chart;
    const QPair<int, int> t = totals(sampleDay());
    chart.setTotal(t.first);
    chart.setCompleted(t.second);
    const QSize size(kPlanRateSize.width(), kPlanRateSize.height() * 3 / 4);
    paintLoop(state, size, [&](QImage &img) {
        QPainter p(&img);
        chart.draw(&p, QRect(QPoint(0, 0), size));
    });
}

void BM_PlanRatePage_SampleDay(benchmark::State &state)
{
    YmWorkshopPlanRatePage page;
    const QPair<int, int> t = totals(sampleDay());
    page.setCompletion(t.first, t.second);
    renderWidget(state, page, kPlanRateSize);
}

void BM_MacStatePage_SampleDay(benchmark::State &state)
{
    YmMacStatePage page;
    page.setOnlineCount(12);
    page.setWorkingCount(8);
    page.setAbnormalCount(2);
    page.setOfflineCount(3);
    renderWidget(state, page, kMacStateSize);
}
} // namespace

BENCHMARK(BM_HorizontalChart_SampleDay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HorizontalChart_300Plans)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VerticalChart_SampleDay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VerticalChart_40Groups)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlanRateGauge_SampleDay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlanRatePage_SampleDay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MacStatePage_SampleDay)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ymRegisterResources();
    ymRegisterMetaTypes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
