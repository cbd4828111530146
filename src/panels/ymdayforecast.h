#ifndef YMDAYFORECAST_H
#define YMDAYFORECAST_H

#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QVector>

// Where the day (or one plan) ends if the workshop keeps the pace of its last
// hour of working time. Times are seconds of the day; the working time is
// [work start, work end) less the stop periods. A piece made at second t is
// done from t on; the pace counts the pieces of the PaceWindow latest working
// seconds up to now (stops and the hours outside work do not count), and the
// time left is the working time after now.
//
// The day's pieces are kept per second in a Fenwick tree, so that adding a
// piece and summing any window both cost a few dozen steps, whatever the day
// holds: a forecast fits into every process report and every paint.
class YmDayForecast
{
public:
    static constexpr int SecondsPerDay = 24 * 3600;
    static constexpr int PaceWindow = 3600;
    // A plan projected below this share of its planned quantity is at risk.
    static constexpr double RiskShare = 0.9;

    using Interval = QPair<int, int>; // [first, end) seconds of the day

    struct Result
    {
        bool valid = false;
        qint64 done = 0;       // pieces up to now
        qint64 recent = 0;     // pieces in the pace window
        double projected = 0;  // pieces at the work end
        double endPercent = 0; // projected against planned
        int completeAt = -1;   // second at which planned is reached, -1: not before the end
    };

    // One plan's input for plansAtRisk: its planned and done quantities and
    // its pieces of the pace window (paceWindow(); others are ignored).
    struct PlanPieces
    {
        qint64 planned = 0;
        qint64 done = 0;
        QVector<QPair<int, qint64>> pieces; // (second of day, quantity)
    };

    YmDayForecast();

    // Stops may overlap, lie outside the work or not be in order; an end not
    // after the start makes the working time empty.
    void setWorkDay(int workStart, int workEnd, const QVector<Interval> &stops);
    // All the day's pieces at once, as quantities per second of the day (a
    // shorter vector leaves the later seconds empty): one pass, not one
    // tree update per piece.
    void setPieces(const QVector<qint64> &perSecond);
    // Seconds outside the day (an unreadable piece key) are ignored.
    void addPieces(int second, qint64 quantity);

    // The day's forecast from the pieces added. Invalid before the first full
    // working hour, from the work end on, or with nothing planned.
    Result forecast(qint64 planned, int now) const;
    // The forecast of done and recent pieces counted elsewhere.
    Result project(qint64 done, qint64 recent, qint64 planned, int now) const;
    // Plans whose projection at the work end is below RiskShare of their
    // planned quantity. Empty whenever the day has no forecast.
    QSet<QString> plansAtRisk(const QHash<QString, PlanPieces> &plans, int now) const;

    // The working time as sorted, disjoint intervals.
    const QVector<Interval> &workingTime() const { return m_working; }
    // The PaceWindow latest working seconds up to and including now, or fewer
    // when the day has not worked that long.
    QVector<Interval> paceWindow(int now) const;
    // Working seconds in [from, to).
    qint64 workingSeconds(int from, int to) const;

private:
    qint64 sumUpTo(int second) const; // pieces at seconds 0 .. second
    qint64 sumIn(const QVector<Interval> &intervals) const;

    int m_workEnd = 0;
    QVector<Interval> m_working;
    void clearTree();

    QVector<qint64> m_tree; // Fenwick tree over the seconds, 1-based
    // The seconds added one by one since the tree was last cleared: a day of
    // few pieces clears their paths, not the day's 86,401 entries.
    QVector<int> m_added;
    bool m_dense = false; // filled by setPieces, or too many seconds to list
};

#endif // YMDAYFORECAST_H
