#include "ymdayforecast.h"

#include <algorithm>
#include <cmath>
#include <cstring>

YmDayForecast::YmDayForecast()
    : m_tree(SecondsPerDay + 1, 0)
{}

void YmDayForecast::setWorkDay(int workStart, int workEnd, const QVector<Interval> &stops)
{
    m_working.clear();
    const int start = qBound(0, workStart, SecondsPerDay);
    const int end = qBound(0, workEnd, SecondsPerDay);
    m_workEnd = end;
    if (start >= end)
        return;
    QVector<Interval> cuts;
    for (const Interval &stop : stops) {
        const int s = qMax(stop.first, start);
        const int e = qMin(stop.second, end);
        if (s < e)
            cuts.append({s, e});
    }
    std::sort(cuts.begin(), cuts.end());
    int from = start;
    for (const Interval &cut : qAsConst(cuts)) {
        if (cut.first > from)
            m_working.append({from, cut.first});
        from = qMax(from, cut.second);
    }
    if (from < end)
        m_working.append({from, end});
}

void YmDayForecast::clearTree()
{
    if (m_dense) {
        std::memset(m_tree.data(), 0, size_t(m_tree.size()) * sizeof(qint64));
    } else {
        // Only the nodes on an added second's path can be other than zero.
        for (int second : qAsConst(m_added)) {
            for (int i = second + 1; i <= SecondsPerDay; i += i & -i)
                m_tree[i] = 0;
        }
    }
    m_added.resize(0); // keeps its capacity for the next day
    m_dense = false;
}

void YmDayForecast::setPieces(const QVector<qint64> &perSecond)
{
    // A day is rebuilt often, with few or no pieces.
    clearTree();
    const int n = qMin(perSecond.size(), int(SecondsPerDay));
    if (n == 0)
        return; // all zeros: nothing to pass on
    m_dense = true;
    for (int i = 1; i <= n; ++i)
        m_tree[i] = perSecond.at(i - 1);
    // Each node passes its sum on to its parent: the tree in linear time.
    for (int i = 1; i <= SecondsPerDay; ++i) {
        const int parent = i + (i & -i);
        if (parent <= SecondsPerDay)
            m_tree[parent] += m_tree.at(i);
    }
}

void YmDayForecast::addPieces(int second, qint64 quantity)
{
    if (second < 0 || second >= SecondsPerDay || quantity == 0)
        return;
    // Past a few thousand seconds one block clear is cheaper than the paths.
    if (!m_dense) {
        if (m_added.size() < SecondsPerDay / 64)
            m_added.append(second);
        else
            m_dense = true;
    }
    for (int i = second + 1; i <= SecondsPerDay; i += i & -i)
        m_tree[i] += quantity;
}

qint64 YmDayForecast::sumUpTo(int second) const
{
    qint64 sum = 0;
    for (int i = qMin(second + 1, SecondsPerDay); i > 0; i -= i & -i)
        sum += m_tree.at(i);
    return sum;
}

qint64 YmDayForecast::sumIn(const QVector<Interval> &intervals) const
{
    qint64 sum = 0;
    for (const Interval &interval : intervals)
        sum += sumUpTo(interval.second - 1) - sumUpTo(interval.first - 1);
    return sum;
}

qint64 YmDayForecast::workingSeconds(int from, int to) const
{
    qint64 seconds = 0;
    for (const Interval &interval : m_working) {
        const int a = qMax(interval.first, from);
        const int b = qMin(interval.second, to);
        if (a < b)
            seconds += b - a;
    }
    return seconds;
}

QVector<YmDayForecast::Interval> YmDayForecast::paceWindow(int now) const
{
    QVector<Interval> window;
    qint64 wanted = PaceWindow;
    for (int i = m_working.size() - 1; i >= 0 && wanted > 0; --i) {
        const int end = qMin(m_working.at(i).second, now + 1);
        const int first = m_working.at(i).first;
        if (end <= first)
            continue;
        const int begin = int(qMax<qint64>(first, end - wanted));
        window.prepend({begin, end});
        wanted -= end - begin;
    }
    return window;
}

YmDayForecast::Result YmDayForecast::forecast(qint64 planned, int now) const
{
    if (now < 0 || now >= SecondsPerDay)
        return Result();
    return project(sumUpTo(now), sumIn(paceWindow(now)), planned, now);
}

YmDayForecast::Result YmDayForecast::project(qint64 done, qint64 recent, qint64 planned,
                                             int now) const
{
    Result result;
    if (planned <= 0 || now < 0 || now >= m_workEnd)
        return result;
    // Up to and including now, as the pace window counts.
    if (workingSeconds(0, now + 1) < PaceWindow)
        return result;
    const double pace = double(recent) / PaceWindow;
    const qint64 left = workingSeconds(now + 1, SecondsPerDay);
    result.valid = true;
    result.done = done;
    result.recent = recent;
    result.projected = double(done) + pace * double(left);
    result.endPercent = result.projected * 100.0 / double(planned);
    if (done < planned && pace > 0) {
        // The working second at which the missing pieces are made.
        // Compared as a double first: absurd quantities must not overflow.
        const double seconds = std::ceil(double(planned - done) / pace);
        qint64 needed = seconds <= double(left) ? qint64(seconds) : left + 1;
        if (needed <= left) {
            for (const Interval &interval : m_working) {
                const int a = qMax(interval.first, now + 1);
                if (a >= interval.second)
                    continue;
                if (needed <= interval.second - a) {
                    result.completeAt = int(a + needed - 1);
                    break;
                }
                needed -= interval.second - a;
            }
        }
    }
    return result;
}

QSet<QString> YmDayForecast::plansAtRisk(const QHash<QString, PlanPieces> &plans, int now) const
{
    QSet<QString> atRisk;
    if (now < 0 || now >= m_workEnd || workingSeconds(0, now + 1) < PaceWindow)
        return atRisk;
    const QVector<Interval> window = paceWindow(now);
    const auto inWindow = [&window](int t) {
        for (const Interval &interval : window) {
            if (t >= interval.first && t < interval.second)
                return true;
        }
        return false;
    };
    for (auto plan = plans.cbegin(); plan != plans.cend(); ++plan) {
        qint64 recent = 0;
        for (const auto &piece : plan->pieces) {
            if (inWindow(piece.first))
                recent += piece.second;
        }
        const Result result = project(plan->done, recent, plan->planned, now);
        if (result.valid && result.projected < RiskShare * double(plan->planned))
            atRisk.insert(plan.key());
    }
    return atRisk;
}
