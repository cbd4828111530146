// The demo host: what a start-up with --at costs (simulating the day so far,
// storing it, loading the board), and the parts a running host repeats.
#include "ymbenchmain.h"
#include "ymhostdatabase.h"
#include "ymnotifymanager.h"
#include "ymworkshophost.h"
#include "ymworkshopsimulator.h"

#include <ymworkshopmanage.h>

#include <benchmark/benchmark.h>

namespace {

const QDate kDay(2026, 3, 5);

// The simulation alone: the seeded workshop from midnight to 14:00.
void BM_SimulateMorning(benchmark::State &state)
{
    YmHostDatabase db;
    db.open(QStringLiteral(":memory:"));
    db.seedIfEmpty(kDay);
    const QList<YmMachineRecord> machines = db.machines();
    QHash<QString, QList<YmWorkshopSimulator::Job>> jobs;
    for (const YmPlanRecord &p : db.plans(kDay))
        jobs[p.macKey].append({p.fileName, p.planned});
    qint64 pieces = 0;
    for (auto _ : state) {
        YmWorkshopSimulator sim(42);
        sim.setMachines(machines);
        sim.setWorkDay(QTime(8, 0), QTime(18, 0), db.stopPeriods());
        sim.setJobs(jobs);
        sim.startAt(QDateTime(kDay, QTime(0, 0)));
        pieces = sim.advanceTo(QDateTime(kDay, QTime(14, 0))).pieces.size();
        benchmark::DoNotOptimize(pieces);
    }
    state.counters["pieces"] = double(pieces);
}

// --db :memory: --at 14:00: seed, simulate, store in one transaction, first initDatas.
void BM_StartAtTwo(benchmark::State &state)
{
    YmWorkshopManage board;
    for (auto _ : state) {
        YmHostDatabase db;
        db.open(QStringLiteral(":memory:"));
        db.seedIfEmpty(kDay);
        YmWorkshopHost host(&db, &board);
        host.useSimulation(42);
        host.begin(QDateTime(kDay, QTime(14, 0)), 0);
        benchmark::DoNotOptimize(&host);
    }
}

// A plan change for today: read back, hand pieces out, full load of the board.
void BM_AnswerPlanChange(benchmark::State &state)
{
    YmWorkshopManage board;
    YmHostDatabase db;
    db.open(QStringLiteral(":memory:"));
    db.seedIfEmpty(kDay);
    YmWorkshopHost host(&db, &board);
    host.useSimulation(42);
    host.begin(QDateTime(kDay, QTime(14, 0)), 0);
    for (auto _ : state)
        host.deletePlan(QStringLiteral("2026-03-05"), QStringLiteral("PO-none"));
}

// One quarter second of the live host at --speed 60: fifteen simulated seconds.
void BM_LiveTick(benchmark::State &state)
{
    YmWorkshopManage board;
    YmHostDatabase db;
    db.open(QStringLiteral(":memory:"));
    db.seedIfEmpty(kDay);
    YmWorkshopHost host(&db, &board);
    host.useSimulation(42);
    QDateTime t(kDay, QTime(9, 0));
    host.begin(t, 0);
    for (auto _ : state) {
        t = t.addSecs(15);
        host.clock().start(t, 0);
        host.tick();
    }
}

} // namespace

BENCHMARK(BM_SimulateMorning)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartAtTwo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnswerPlanChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiveTick)->Unit(benchmark::kMicrosecond)->Iterations(1000);

int main(int argc, char **argv)
{
    return ymRunBenchmarks(argc, argv, true, [] { YmNotifyManager::destroyInstance(); });
}
