#ifndef YMNOTIFYHISTORY_H
#define YMNOTIFYHISTORY_H

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <deque>

// The day's notifications, without any widget. A plan that keeps reporting above
// its threshold keeps one entry for that run: each newer notification rewrites
// the entry's text and time. The run ends when a refresh no longer reports the
// plan (it fell below its threshold or left the day); the next report opens a
// new entry. Acknowledging a plan keeps it quiet for the rest of its run.
// Notifications without a plan each get an entry of their own.
class YmNotifyHistory
{
public:
    // A busy day of 300 plans, each crossing its threshold a few times, fits;
    // a board left running on a host that re-notifies without a plan key cannot
    // grow without end.
    static constexpr int MaxEntries = 1000;

    struct Entry
    {
        quint64 id = 0;
        QDateTime raised;  // first notification of the run
        QDateTime updated; // the one whose text is kept
        QString title;
        QString plan;
        QString text;
        bool acknowledged = false;
    };

    // Starts the day of at afresh when it differs from the current one.
    void rollTo(const QDate &day);
    // Records a notification; false when the plan is acknowledged and it
    // should stay quiet.
    bool record(const QDateTime &at, const QString &title, const QString &plan,
                const QString &text);
    // The plans one refresh found above their thresholds: the run of every
    // other plan ends.
    void settle(const QStringList &abovePlans);
    // Acknowledges an entry; when it is its plan's current run, the plan
    // stays quiet. False when there is no such entry or it was acknowledged.
    bool acknowledge(quint64 id);
    // Acknowledges the plan's current run, if it has one.
    bool acknowledgePlan(const QString &plan);
    bool isQuiet(const QString &plan) const;

    QDate day() const { return m_day; }
    int size() const { return int(m_entries.size()); }
    // Newest first: entry(0) is the latest run.
    const Entry &entry(int index) const;
    const Entry *find(quint64 id) const;

private:
    Entry *findMutable(quint64 id);

    struct PlanRun
    {
        quint64 entryId = 0; // 0: no entry (only possible after the bound dropped it)
        bool open = false;
        bool acknowledged = false;
    };

    QDate m_day;
    std::deque<Entry> m_entries; // oldest first; ids increase by one from front to back
    QHash<QString, PlanRun> m_runs;
    quint64 m_nextId = 1;
};

#endif // YMNOTIFYHISTORY_H
