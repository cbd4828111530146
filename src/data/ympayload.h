#ifndef YMPAYLOAD_H
#define YMPAYLOAD_H

#include "ymbarentry.h"
#include "ymmachineentry.h"
#include "ymorderrecord.h"
#include "ymprocessentry.h"
#include "ymstopentry.h"

#include <QVariantList>
#include <QVector>

// The one place that knows where each field of the host's positional payloads
// sits. Everything past the facade works on the typed records; a short list,
// a value of the wrong type or an element that is no list reads as 0 / empty.
class YmPayload
{
public:
    // The saved plan-window settings that travel in planData[1..3].
    struct PlanSettings
    {
        bool filterCheck = false;
        int checkOrder = 0;
        int filter = 0;
    };

    static YmOrderRecord orderRecord(const QVariant &row);
    static QVector<YmOrderRecord> orderRecords(const QVariantList &rows);
    // planData[0]: the day's order rows.
    static QVector<YmOrderRecord> planRows(const QVariantList &planData);
    static PlanSettings planSettings(const QVariantList &planData);
    static QVector<YmMachineEntry> machineEntries(const QVariantList &macList);
    static QVector<YmProcessEntry> processEntries(const QVariantList &process);
    static QVector<YmStopEntry> stopPeriods(const QVariantList &stopList);
    // Bar entries {name, planned, completed}, as the charts take them.
    static YmBarEntry barEntry(const QVariant &bar);

    // The positional form of a record, as the host sends it (for hosts and tests).
    static QVariantList toList(const YmOrderRecord &record);
    static QVariantList toList(const YmProcessEntry &entry);
    static QVariantList toList(const YmBarEntry &bar);

    // A value that converts to a piece map (a QVariantMap, say); empty otherwise.
    static YmPieceMap pieceMap(const QVariant &value);
};

#endif // YMPAYLOAD_H
