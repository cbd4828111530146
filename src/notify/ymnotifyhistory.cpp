#include "ymnotifyhistory.h"

#include <QSet>

void YmNotifyHistory::rollTo(const QDate &day)
{
    if (day == m_day)
        return;
    m_day = day;
    m_entries.clear();
    m_runs.clear();
}

bool YmNotifyHistory::record(const QDateTime &at, const QString &title, const QString &plan,
                             const QString &text)
{
    if (at.date().isValid())
        rollTo(at.date());
    if (!plan.isEmpty()) {
        PlanRun &run = m_runs[plan];
        if (run.open) {
            if (run.acknowledged)
                return false;
            if (Entry *entry = findMutable(run.entryId)) {
                entry->updated = at;
                entry->title = title;
                entry->text = text;
                return true;
            }
        }
        run.open = true;
        run.acknowledged = false;
        run.entryId = m_nextId;
    }
    Entry entry;
    entry.id = m_nextId++;
    entry.raised = at;
    entry.updated = at;
    entry.title = title;
    entry.plan = plan;
    entry.text = text;
    m_entries.push_back(entry);
    while (m_entries.size() > size_t(MaxEntries))
        m_entries.pop_front();
    return true;
}

void YmNotifyHistory::settle(const QStringList &abovePlans)
{
    const QSet<QString> above(abovePlans.cbegin(), abovePlans.cend());
    for (auto it = m_runs.begin(); it != m_runs.end();) {
        // A plan that is neither above nor acknowledged needs no memory.
        if (above.contains(it.key()))
            ++it;
        else
            it = m_runs.erase(it);
    }
}

YmNotifyHistory::Entry *YmNotifyHistory::findMutable(quint64 id)
{
    if (m_entries.empty() || id < m_entries.front().id || id > m_entries.back().id)
        return nullptr;
    return &m_entries[size_t(id - m_entries.front().id)];
}

const YmNotifyHistory::Entry *YmNotifyHistory::find(quint64 id) const
{
    return const_cast<YmNotifyHistory *>(this)->findMutable(id);
}

const YmNotifyHistory::Entry &YmNotifyHistory::entry(int index) const
{
    return m_entries[m_entries.size() - 1 - size_t(index)];
}

bool YmNotifyHistory::acknowledge(quint64 id)
{
    Entry *entry = findMutable(id);
    if (!entry || entry->acknowledged)
        return false;
    entry->acknowledged = true;
    if (!entry->plan.isEmpty()) {
        const auto run = m_runs.find(entry->plan);
        if (run != m_runs.end() && run->open && run->entryId == id)
            run->acknowledged = true;
    }
    return true;
}

bool YmNotifyHistory::acknowledgePlan(const QString &plan)
{
    const auto run = m_runs.find(plan);
    if (run == m_runs.end() || !run->open || run->acknowledged)
        return false;
    run->acknowledged = true;
    if (Entry *entry = findMutable(run->entryId))
        entry->acknowledged = true;
    return true;
}

bool YmNotifyHistory::isQuiet(const QString &plan) const
{
    const auto run = m_runs.constFind(plan);
    return run != m_runs.cend() && run->open && run->acknowledged;
}
