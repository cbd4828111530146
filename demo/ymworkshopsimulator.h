#ifndef YMWORKSHOPSIMULATOR_H
#define YMWORKSHOPSIMULATOR_H

#include "ymhostrecords.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>
#include <QTime>
#include <QVector>

// A simulated workshop: machines that start in the morning, mostly work,
// now and then stop for a changeover, go abnormal or drop offline, idle
// through the stop periods, produce pieces at their own rates on the files
// of their plans and go offline after work. The workshop advances in steps of
// ten seconds on a fixed grid, so the same seed, machines, plans and work day
// give the same states and pieces however the advances are cut.
class YmWorkshopSimulator
{
public:
    static constexpr int kStepSeconds = 10;

    // A file a machine has to make pieces of, with the quantity still open.
    using Job = QPair<QString, int>;

    explicit YmWorkshopSimulator(quint64 seed);

    void setMachines(const QList<YmMachineRecord> &machines);
    void setWorkDay(const QTime &start, const QTime &end, const QList<YmStopPeriod> &stops);
    // Per machine key, the files to make in plan order; replaces the old jobs.
    void setJobs(const QHash<QString, QList<Job>> &jobs);

    // Positions the workshop at `moment` with every machine in the state that
    // suits the time of day; nothing is produced up to and including it.
    void startAt(const QDateTime &moment);
    // Runs every step after the last one up to `moment`.
    YmProductionBatch advanceTo(const QDateTime &moment);

    QDateTime position() const { return m_position; }
    int state(const QString &macKey) const;

private:
    enum Phase { Closed, Stopped, Working };
    struct Machine
    {
        QString key;
        int cycle = 60;
        int state = 0;
        qint64 until = 0; // epoch second when a pause, fault or outage ends
        double progress = 0;
        double target = 60;
        QList<Job> jobs;
    };

    double uniform();
    int between(int low, int high);
    Phase phaseAt(int secondOfDay, int *phaseEnd) const;
    void step(qint64 second, YmProductionBatch *batch);
    void setState(Machine &m, int state, YmProductionBatch *batch);
    bool hasWork(const Machine &m) const;

    quint64 m_rng;
    QVector<Machine> m_machines;
    int m_workStart = 8 * 3600;
    int m_workEnd = 18 * 3600;
    QVector<QPair<int, int>> m_stops; // seconds of the day
    QDateTime m_position;
    qint64 m_nextStep = 0;
};

#endif // YMWORKSHOPSIMULATOR_H
