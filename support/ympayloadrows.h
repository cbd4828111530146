#ifndef YMPAYLOADROWS_H
#define YMPAYLOADROWS_H

// Small payloads written out by hand, and the host's positional lists turned
// into the records the board parses them into at the facade (and back).

#include "ympayload.h"

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVector>

// A row of an order answer: plan, -, key, machine name (k -> M), group, file,
// planned, completed, notify percent, -.
inline QVariant orderRow(const QString &plan, const QString &key, const QString &file, int planned,
                         int completed = 0, int notify = 0)
{
    return QVariantList{plan,
                        QVariant(),
                        key,
                        QString(key).replace(QLatin1Char('k'), QLatin1Char('M')),
                        QStringLiteral("G"),
                        file,
                        planned,
                        completed,
                        notify,
                        QVariant()};
}

// Payloads as the board parses them, for the classes behind the facade.
inline QVector<YmOrderRecord> records(const QVariantList &rows)
{
    return YmPayload::orderRecords(rows);
}
inline QVector<YmMachineEntry> machineList(const QVariantList &macs)
{
    return YmPayload::machineEntries(macs);
}
// Records back in the host's positional form.
inline QVariantList asPayload(const QVector<YmOrderRecord> &rows)
{
    QVariantList list;
    for (const YmOrderRecord &row : rows)
        list << QVariant(YmPayload::toList(row));
    return list;
}

#endif // YMPAYLOADROWS_H
