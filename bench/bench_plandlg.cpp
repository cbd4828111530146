#include "ymbenchmain.h"
#include "ymplandatadlg.h"
#include "ymworkshopday.h"

#include <QApplication>
#include <QMap>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct DialogInput
{
    QStringList keys;
    QMap<QString, QString> names;
    QMap<QString, int> plan; // an edit on three machines spread over the list
};

DialogInput input(int which)
{
    const YmWorkshopDay w = which == 0 ? YmWorkshopDay::sampleDay() : YmWorkshopDay::large();
    DialogInput in;
    for (const QVariant &entry : w.macList) {
        const QVariantList mac = entry.toList();
        in.keys << mac.value(0).toString();
        in.names.insert(mac.value(0).toString(), mac.value(1).toString());
    }
    const int n = in.keys.size();
    in.plan = {{in.keys.at(0), 120}, {in.keys.at(n / 2), 80}, {in.keys.at(n - 1), 50}};
    return in;
}

const DialogInput &dialogInput(int which)
{
    static const DialogInput sample = input(0);
    static const DialogInput large = input(1);
    return which == 0 ? sample : large;
}

// What the edit button costs before the user sees the dialog: construction,
// the machine list, the pre-fill, show and the first frame.
void BM_OpenPlanDialog(benchmark::State &state)
{
    const DialogInput &in = dialogInput(int(state.range(0)));
    for (auto _ : state) {
        auto dlg = std::make_unique<YmPlanDataDlg>();
        dlg->setWindowTitle(QStringLiteral("编辑订单"));
        dlg->setMacList(in.keys, in.names);
        dlg->setPlanData(QStringLiteral("P1"), QStringLiteral("F1"), in.plan, 90);
        dlg->show();
        QApplication::processEvents();
        state.PauseTiming();
        dlg.reset();
        QApplication::processEvents(); // the deferred deletions of this run
        state.ResumeTiming();
    }
    state.counters["machines"] = double(in.keys.size());
}

// The machine list alone on a fresh dialog: the part that grows with the workshop.
void BM_SetMacList(benchmark::State &state)
{
    const DialogInput &in = dialogInput(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto dlg = std::make_unique<YmPlanDataDlg>();
        state.ResumeTiming();
        dlg->setMacList(in.keys, in.names);
        state.PauseTiming();
        dlg.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["machines"] = double(in.keys.size());
}

} // namespace

BENCHMARK(BM_OpenPlanDialog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetMacList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return ymRunBenchmarks(argc, argv, true);
}
