#include "ymworkshopsimulator.h"

#include <QtMath>

#include <limits>

namespace {

// Odds per ten-second step while the workshop works. A machine changes over
// about every hour and a half, has a fault every two hours or so and drops
// offline for a long while about once a week of shifts per machine.
constexpr double kChangeoverOdds = 0.0018;
constexpr double kFaultOdds = 0.0014;
constexpr double kOutageOdds = 0.00025;
constexpr double kShutdownOdds = 0.08; // after work, per step

const QString kPieceFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

int secondsOf(const QTime &t)
{
    return t.isValid() ? t.msecsSinceStartOfDay() / 1000 : 0;
}

} // namespace

YmWorkshopSimulator::YmWorkshopSimulator(quint64 seed)
    : m_rng(seed ^ 0x9E3779B97F4A7C15ULL)
{}

double YmWorkshopSimulator::uniform()
{
    // splitmix64: the same numbers on every platform and library.
    quint64 z = (m_rng += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return double(z >> 11) / double(1ULL << 53);
}

int YmWorkshopSimulator::between(int low, int high)
{
    return low + int(uniform() * double(high - low + 1));
}

void YmWorkshopSimulator::setMachines(const QList<YmMachineRecord> &machines)
{
    m_machines.clear();
    for (const YmMachineRecord &record : machines) {
        Machine m;
        m.key = record.key;
        // One piece per step at most keeps piece times unique per machine.
        m.cycle = qBound(kStepSeconds, record.cycleSeconds, 24 * 3600);
        m.target = m.cycle;
        m_machines.append(m);
    }
}

void YmWorkshopSimulator::setWorkDay(const QTime &start, const QTime &end,
                                     const QList<YmStopPeriod> &stops)
{
    m_workStart = secondsOf(start);
    m_workEnd = qMax(m_workStart, secondsOf(end));
    m_stops.clear();
    for (const YmStopPeriod &stop : stops) {
        const QTime s = QTime::fromString(stop.start, QStringLiteral("HH:mm:ss"));
        const QTime e = QTime::fromString(stop.end, QStringLiteral("HH:mm:ss"));
        if (s.isValid() && e.isValid() && s < e)
            m_stops.append({secondsOf(s), secondsOf(e)});
    }
}

void YmWorkshopSimulator::setJobs(const QHash<QString, QList<Job>> &jobs)
{
    for (Machine &m : m_machines) {
        m.jobs = jobs.value(m.key);
        // A machine that sat idle for want of work picks the new work up.
        if (m.state == 1 && hasWork(m) && m.until > m_nextStep + 365LL * 86400)
            m.until = m_nextStep;
    }
}

bool YmWorkshopSimulator::hasWork(const Machine &m) const
{
    for (const Job &job : m.jobs) {
        if (job.second > 0)
            return true;
    }
    return false;
}

int YmWorkshopSimulator::state(const QString &macKey) const
{
    for (const Machine &m : m_machines) {
        if (m.key == macKey)
            return m.state;
    }
    return 0;
}

YmWorkshopSimulator::Phase YmWorkshopSimulator::phaseAt(int secondOfDay, int *phaseEnd) const
{
    if (secondOfDay < m_workStart || secondOfDay >= m_workEnd) {
        *phaseEnd = secondOfDay < m_workStart ? m_workStart : 86400 + m_workStart;
        return Closed;
    }
    for (const auto &stop : m_stops) {
        if (secondOfDay >= stop.first && secondOfDay < stop.second) {
            *phaseEnd = stop.second;
            return Stopped;
        }
    }
    *phaseEnd = m_workEnd;
    return Working;
}

void YmWorkshopSimulator::startAt(const QDateTime &moment)
{
    m_position = moment;
    const qint64 second = moment.toSecsSinceEpoch();
    m_nextStep = (second / kStepSeconds + 1) * kStepSeconds;
    const qint64 midnight = second - moment.time().msecsSinceStartOfDay() / 1000;
    int phaseEnd = 0;
    const Phase phase = phaseAt(moment.time().msecsSinceStartOfDay() / 1000, &phaseEnd);
    for (Machine &m : m_machines) {
        m.progress = uniform() * m.cycle;
        m.target = m.cycle * (0.85 + 0.3 * uniform());
        if (phase == Closed) {
            m.state = 0;
            m.until = midnight + phaseEnd + between(0, 900);
        } else if (phase == Stopped) {
            m.state = 1;
            m.until = midnight + phaseEnd + between(0, 300);
        } else {
            m.state = hasWork(m) ? 2 : 1;
            m.until = hasWork(m) ? second : std::numeric_limits<qint64>::max();
        }
    }
}

void YmWorkshopSimulator::setState(Machine &m, int state, YmProductionBatch *batch)
{
    if (m.state == state)
        return;
    m.state = state;
    batch->states.append({m.key, state});
}

YmProductionBatch YmWorkshopSimulator::advanceTo(const QDateTime &moment)
{
    YmProductionBatch batch;
    if (!moment.isValid() || !m_position.isValid())
        return batch;
    const qint64 last = moment.toSecsSinceEpoch();
    while (m_nextStep <= last) {
        step(m_nextStep, &batch);
        m_nextStep += kStepSeconds;
    }
    if (moment > m_position)
        m_position = moment;
    return batch;
}

void YmWorkshopSimulator::step(qint64 second, YmProductionBatch *batch)
{
    const QDateTime at = QDateTime::fromSecsSinceEpoch(second);
    const int secondOfDay = at.time().msecsSinceStartOfDay() / 1000;
    const qint64 midnight = second - secondOfDay;
    int phaseEnd = 0;
    const Phase phase = phaseAt(secondOfDay, &phaseEnd);
    QString pieceKey; // formatted once per step, only when needed
    constexpr qint64 kNever = std::numeric_limits<qint64>::max();

    for (Machine &m : m_machines) {
        if (phase == Closed) {
            // Machines go off one by one after work and wait for the morning.
            if (m.state != 0 && uniform() < kShutdownOdds) {
                setState(m, 0, batch);
                m.until = midnight + phaseEnd + between(0, 900);
            }
            continue;
        }
        if (phase == Stopped) {
            if (m.state == 2) {
                setState(m, 1, batch);
                m.until = midnight + phaseEnd + between(0, 300);
            }
            continue;
        }

        if (m.state != 2) {
            if (second < m.until)
                continue;
            // A pause, fault or outage is over (or the morning start came).
            if (hasWork(m)) {
                setState(m, 2, batch);
            } else {
                setState(m, 1, batch);
                m.until = kNever;
                continue;
            }
        }

        const double roll = uniform();
        if (roll < kFaultOdds) {
            setState(m, 3, batch);
            m.until = second + between(120, 900);
            continue;
        }
        if (roll < kFaultOdds + kOutageOdds) {
            setState(m, 0, batch);
            m.until = second + between(900, 5400);
            continue;
        }
        if (roll < kFaultOdds + kOutageOdds + kChangeoverOdds) {
            setState(m, 1, batch);
            m.until = second + between(60, 480);
            continue;
        }

        m.progress += kStepSeconds;
        if (m.progress < m.target)
            continue;
        m.progress -= m.target;
        m.target = m.cycle * (0.85 + 0.3 * uniform());
        for (Job &job : m.jobs) {
            if (job.second <= 0)
                continue;
            --job.second;
            if (pieceKey.isEmpty())
                pieceKey = at.toString(kPieceFormat);
            batch->pieces.append({m.key, job.first, pieceKey, 1});
            break;
        }
        if (!hasWork(m)) {
            // Its plans are done: the machine stands ready for new work.
            setState(m, 1, batch);
            m.until = kNever;
        }
    }
}
