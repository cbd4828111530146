#ifndef YMREPLAYFEED_H
#define YMREPLAYFEED_H

#include "ymhostrecords.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVector>

// Production events read from a CSV file instead of a simulation: one line
// per event, "time,machine key,file name,quantity", the time as HH:mm:ss or
// HH:mm on the replayed day, or as a full "yyyy-MM-dd hh:mm:ss". Blank lines
// and lines starting with # are skipped, and so is a header line. A machine
// that produces is working; one silent for a quarter of an hour is online.
class YmReplayFeed
{
public:
    struct Event
    {
        QDateTime at;
        QString macKey;
        QString fileName;
        int quantity = 0;
    };

    // Reads the file; false when it cannot be read at all. Every malformed line
    // is skipped and described in problems as "FILE:LINE: what".
    bool load(const QString &path, const QDate &day, const QSet<QString> &knownMachines,
              QStringList *problems);
    // The same for text already in memory; `name` is used in the messages.
    void parse(const QString &text, const QString &name, const QDate &day,
               const QSet<QString> &knownMachines, QStringList *problems);

    const QVector<Event> &events() const { return m_events; }
    QDateTime firstEventTime() const;

    void setMachines(const QList<YmMachineRecord> &machines);
    // Events up to and including `moment` count as already delivered.
    void startAt(const QDateTime &moment);
    YmProductionBatch advanceTo(const QDateTime &moment);
    int state(const QString &macKey) const { return m_states.value(macKey, 1); }

private:
    QVector<Event> m_events;
    int m_next = 0;
    QDateTime m_position;
    QHash<QString, int> m_states;
    QHash<QString, QDateTime> m_lastSeen;
};

#endif // YMREPLAYFEED_H
