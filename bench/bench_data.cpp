#include "ymbenchmain.h"
#include "ymdashboardfigures.h"
#include "ymordermodel.h"
#include "ymworkshopday.h"

#include <benchmark/benchmark.h>

namespace {

const YmWorkshopDay &workshop(int which)
{
    static const YmWorkshopDay sample = YmWorkshopDay::sampleDay();
    static const YmWorkshopDay large = YmWorkshopDay::large();
    return which == 0 ? sample : large;
}

void setLabel(benchmark::State &state, const YmWorkshopDay &w)
{
    state.SetLabel(w.rows.size() > 100 ? "large workshop" : "sample day");
    state.counters["rows"] = double(w.rows.size());
}

// The data part of initDatas: machine states and order rows with their index.
void BM_ModelInit(benchmark::State &state)
{
    const YmWorkshopDay &w = workshop(int(state.range(0)));
    for (auto _ : state) {
        YmOrderModel model;
        model.setMachines(YmPayload::machineEntries(w.macList));
        model.setRows(YmPayload::planRows(w.planData));
        benchmark::DoNotOptimize(&model.rows());
    }
    setLabel(state, w);
}

// Gives the model a fresh copy of the day's rows, outside the timing.
void resetRows(benchmark::State &state, YmOrderModel &model, const QVector<YmOrderRecord> &rows)
{
    state.PauseTiming();
    QVector<YmOrderRecord> own = rows;
    own.detach();
    model.setRows(own);
    state.ResumeTiming();
}

// One updateMacProcess fold on a model that holds its own copy of the rows
// (as the main window's does after the first change), with fresh pieces each run.
void BM_ApplyProcess(benchmark::State &state)
{
    const YmWorkshopDay &w = workshop(int(state.range(0)));
    const QVector<YmOrderRecord> rows = w.records();
    YmOrderModel model;
    int changed = 0;
    for (auto _ : state) {
        resetRows(state, model, rows);
        changed
            = model.applyProcess(w.processMacKey, YmPayload::processEntries(w.process)).rows.size();
    }
    setLabel(state, w);
    state.counters["changed rows"] = changed;
}

// The same fold again on a model that already counted those pieces: what a
// host's repeated report of unchanged counts costs (nothing is rewritten).
void BM_ApplyProcessRepeated(benchmark::State &state)
{
    const YmWorkshopDay &w = workshop(int(state.range(0)));
    YmOrderModel model;
    model.setRows(w.records());
    const QVector<YmProcessEntry> process = w.processEntries();
    model.applyProcess(w.processMacKey, process);
    for (auto _ : state)
        model.applyProcess(w.processMacKey, process);
    benchmark::DoNotOptimize(&model.rows());
    setLabel(state, w);
}

// The pause and reset of BM_ApplyProcess alone: its share of that figure.
void BM_ApplyProcessResetOnly(benchmark::State &state)
{
    const YmWorkshopDay &w = workshop(int(state.range(0)));
    YmOrderModel model;
    const QVector<YmOrderRecord> rows = w.records();
    for (auto _ : state) {
        resetRows(state, model, rows);
    }
    benchmark::DoNotOptimize(&model.rows());
    setLabel(state, w);
}

// The refresh's computation on a loaded model: what every host call pays.
void BM_DashboardFigures(benchmark::State &state)
{
    const YmWorkshopDay &w = workshop(int(state.range(0)));
    YmOrderModel model;
    model.setRows(w.records());
    int notifications = 0;
    for (auto _ : state) {
        const YmDashboardFigures figures = model.dashboardFigures();
        notifications = figures.notifications.size();
        benchmark::DoNotOptimize(&figures.planBars);
    }
    setLabel(state, w);
    state.counters["notifications"] = notifications;
}

} // namespace

BENCHMARK(BM_ModelInit)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyProcessResetOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyProcessRepeated)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DashboardFigures)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return ymRunBenchmarks(argc, argv, false);
}
