// The machine statistics table: the full load, one machine's report with its
// re-ranking, and the panel's paint at its size in a 1920 x 1080 board.
#include "ymbenchmain.h"
#include "ymnotifymanager.h"
#include "ymtablemodel.h"
#include "ymtableviewwidget.h"
#include "ymworkshopday.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopplantable.h"

#include <QCoreApplication>
#include <QImage>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

enum Day { SampleDay = 0, LargeWorkshop = 1 };

const YmWorkshopDay &workshop(int day)
{
    static const YmWorkshopDay sample = YmWorkshopDay::sampleDay(QDate::currentDate());
    static const YmWorkshopDay large = YmWorkshopDay::large(QDate::currentDate());
    return day == SampleDay ? sample : large;
}

void label(benchmark::State &state, int day)
{
    state.SetLabel(day == SampleDay ? "sample day" : "large workshop");
}

// The statistics of the day: one line per machine, the sums over its rows.
QVector<YmOrderModel::MachineCounts> machineCounts(const YmWorkshopDay &w)
{
    YmOrderModel model;
    model.setRows(w.records());
    return model.machineCounts();
}

// Two sums of one machine that send it from the bottom of the ranking to the
// top and back: the longest move a report can cause.
struct SwingReports
{
    YmOrderModel::MachineCounts toTop;    // ten times its plan
    YmOrderModel::MachineCounts toBottom; // nothing completed
};

SwingReports swingReports(const QVector<YmOrderModel::MachineCounts> &machines)
{
    SwingReports reports;
    reports.toTop = machines.last();
    reports.toTop.completed = reports.toTop.planned * 10;
    reports.toBottom = machines.last();
    reports.toBottom.completed = 0;
    return reports;
}

// The full load of the day's machines: the ranking of every machine.
void BM_TableModelLoad(benchmark::State &state)
{
    const int day = int(state.range(0));
    const QVector<YmOrderModel::MachineCounts> machines = machineCounts(workshop(day));
    YmTableModel model;
    model.setHeaderLabels();
    for (auto _ : state) {
        model.setMachineCounts(machines);
        benchmark::DoNotOptimize(model.rowCount());
    }
    label(state, day);
    state.counters["machines"] = model.rowCount();
}

// The full load on the table widget: the sums over the rows, the ranking and
// the attached view's reset.
void BM_TableWidgetLoad(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    YmOrderModel board;
    board.setRows(w.records());
    YmTableViewWidget widget;
    widget.resize(520, 600);
    for (auto _ : state) {
        widget.setMachineCounts(board.machineCounts());
        benchmark::DoNotOptimize(widget.model().rowCount());
    }
    label(state, day);
    state.counters["order rows"] = w.rows.size();
}

// One machine's report that moves it across the whole ranking.
void BM_TableModelUpdate(benchmark::State &state)
{
    const int day = int(state.range(0));
    const QVector<YmOrderModel::MachineCounts> machines = machineCounts(workshop(day));
    const SwingReports reports = swingReports(machines);
    YmTableModel model;
    model.setHeaderLabels();
    model.setMachineCounts(machines);
    bool top = false;
    for (auto _ : state) {
        top = !top;
        model.updateMachineCounts(top ? reports.toTop : reports.toBottom);
    }
    label(state, day);
    state.counters["machines"] = model.rowCount();
}

// The same report through the table widget, with the view attached and
// shown, a row selected: what the view's bookkeeping of a moved row adds.
void BM_TableWidgetUpdate(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    const QVector<YmOrderModel::MachineCounts> machines = machineCounts(w);
    const SwingReports reports = swingReports(machines);
    YmTableViewWidget widget;
    widget.resize(520, 600);
    widget.setMachineCounts(machines);
    widget.show();
    widget.tableView()->selectRow(1);
    QCoreApplication::processEvents();
    bool top = false;
    for (auto _ : state) {
        top = !top;
        widget.updateMachineCounts(top ? reports.toTop : reports.toBottom);
    }
    QCoreApplication::processEvents();
    label(state, day);
}

// A 1920 x 1080 board's main window (below the 98-pixel title band) with the
// day loaded; released before the application goes.
std::unique_ptr<YmWorkshopManageMainPage> g_boards[2];

YmWorkshopManageMainPage &board(int day)
{
    std::unique_ptr<YmWorkshopManageMainPage> &main = g_boards[day];
    if (!main) {
        main = std::make_unique<YmWorkshopManageMainPage>();
        main->resize(1920, 1080 - 98);
        main->show();
        const YmWorkshopDay &w = workshop(day);
        main->initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
        QCoreApplication::processEvents();
    }
    return *main;
}

void BM_PaintStatsTable(benchmark::State &state)
{
    const int day = int(state.range(0));
    auto *panel
        = board(day).findChild<YmWorkshopPlanTable *>(QStringLiteral("dockWidgetContents_table"));
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

} // namespace

BENCHMARK(BM_TableModelLoad)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TableWidgetLoad)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TableModelUpdate)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TableWidgetUpdate)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintStatsTable)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return ymRunBenchmarks(argc, argv, true, [] {
        for (auto &main : g_boards)
            main.reset();
        YmNotifyManager::destroyInstance();
    });
}
