// The order chart beside Qt Charts: the sample day's plan bars drawn by a
// QChart with a QHorizontalBarSeries of planned and completed sets, and by
// YmWorkshopHorizontalBarChart, each into an image of the order chart's size
// in a 1920 x 1080 board, with one data change per frame.
#include "ymbenchmain.h"
#include "ymchartscale.h"
#include "ymdashboardfigures.h"
#include "ymworkshopday.h"
#include "ymworkshophorizontalbarchart.h"

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QValueAxis>

#include <benchmark/benchmark.h>

QT_CHARTS_USE_NAMESPACE

namespace {

// The order chart's size in a 1920 x 1080 board (see bench_summary's paint).
const QSize kChartSize(516, 439);
const QColor kBoard(0, 7, 62);

const QVariantList &sampleBars()
{
    static const QVariantList bars
        = YmDashboardFigures::compute(YmWorkshopDay::sampleDay().records()).planBars;
    return bars;
}

// The bars with the first plan's completed quantity raised by one on odd
// frames: a data change every frame, the same for both charts.
QVariantList frameBars(int frame)
{
    QVariantList bars = sampleBars();
    QVariantList first = bars.value(0).toList();
    first[2] = first.value(2).toInt() + (frame & 1);
    bars[0] = QVariant(first);
    return bars;
}

void BM_OrderChartOurs(benchmark::State &state)
{
    YmWorkshopHorizontalBarChart chart;
    chart.resize(kChartSize);
    QImage image(kChartSize, QImage::Format_ARGB32_Premultiplied);
    int frame = 0;
    for (auto _ : state) {
        chart.setBarData(frameBars(frame++));
        QCoreApplication::sendPostedEvents();
        image.fill(kBoard);
        // In the board the chart is a child that paints no background of its
        // own; a top-level render would add a window fill the board never does.
        chart.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["bars"] = sampleBars().size();
}

void BM_OrderChartQtCharts(benchmark::State &state)
{
    const QVariantList &bars = sampleBars();
    auto *planned = new QBarSet(QStringLiteral("计划"));
    auto *completed = new QBarSet(QStringLiteral("完成"));
    QStringList names;
    for (const QVariant &bar : bars) {
        const YmChartScale::BarEntry entry = YmChartScale::readBar(bar);
        names << entry.name;
        planned->append(entry.planned);
        completed->append(entry.completed);
    }
    planned->setColor(QColor(22, 92, 154));
    completed->setColor(QColor(45, 198, 255));
    auto *series = new QHorizontalBarSeries;
    series->append(planned);
    series->append(completed);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);

    auto *chart = new QChart;
    chart->addSeries(series);
    chart->legend()->hide();
    chart->setBackgroundVisible(false);
    chart->setAnimationOptions(QChart::NoAnimation);
    auto *names15 = new QBarCategoryAxis;
    names15->append(names);
    auto *values = new QValueAxis;
    const QVector<YmChartScale::BarEntry> entries = YmChartScale::readBars(bars);
    values->setRange(0,
                     double(YmChartScale::fillingScaleMax(
                         YmChartScale::quantityMax(entries, 0, entries.size()), !bars.isEmpty())));
    values->setTickCount(11);
    values->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(names15, Qt::AlignLeft);
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(names15);
    series->attachAxis(values);

    QGraphicsScene scene;
    scene.addItem(chart); // the scene owns the chart
    chart->setGeometry(QRectF(QPointF(0, 0), kChartSize));
    QImage image(kChartSize, QImage::Format_ARGB32_Premultiplied);
    const QRectF area(QPointF(0, 0), kChartSize);
    int frame = 0;
    for (auto _ : state) {
        const QVariantList frameData = frameBars(frame++);
        completed->replace(0, frameData.value(0).toList().value(2).toInt());
        QCoreApplication::sendPostedEvents();
        image.fill(kBoard);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, area, area);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["bars"] = bars.size();
}

} // namespace

BENCHMARK(BM_OrderChartOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrderChartQtCharts)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return ymRunBenchmarks(argc, argv, true);
}
