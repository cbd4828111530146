#include "ympayload.h"

namespace {

// Field positions of the payloads.
enum OrderField {
    PlanName = 0,
    Carried = 1,
    MacKey = 2,
    MacName = 3,
    GroupName = 4,
    FileName = 5,
    Planned = 6,
    Completed = 7,
    NotifyNum = 8,
    Pieces = 9,
    OrderFieldCount = 10
};
enum MachineField { MachineKey = 0, MachineName = 1, MachineState = 2 };
enum ProcessField { ProcessFile = 0, ProcessPieces = 1, ProcessCompleted = 2 };
enum StopField { StopName = 0, StopStart = 1, StopEnd = 2 };
enum BarField { BarName = 0, BarPlanned = 1, BarCompleted = 2 };
enum PlanDataField {
    PlanDataRows = 0,
    PlanDataFilterCheck = 1,
    PlanDataCheckOrder = 2,
    PlanDataFilter = 3
};

bool isList(const QVariant &value)
{
    const int type = value.userType();
    return type == QMetaType::QVariantList || type == QMetaType::QStringList;
}

// The list a value holds, without a copy when it is a QVariantList; anything
// that is no list reads as an empty one.
const QVariantList &listOf(const QVariant &value, QVariantList &storage)
{
    if (value.userType() == QMetaType::QVariantList)
        return *static_cast<const QVariantList *>(value.constData());
    storage = isList(value) ? value.toList() : QVariantList();
    return storage;
}

QString stringAt(const QVariantList &list, int index)
{
    return index < list.size() ? list.at(index).toString() : QString();
}

int intAt(const QVariantList &list, int index)
{
    return index < list.size() ? list.at(index).toInt() : 0;
}

} // namespace

YmPieceMap YmPayload::pieceMap(const QVariant &value)
{
    const int pieceType = qMetaTypeId<YmPieceMap>();
    if (value.userType() == pieceType)
        return *static_cast<const YmPieceMap *>(value.constData());
    if (!value.isValid())
        return YmPieceMap();
    // The QVariantMap converter is installed here too, so that a reader works
    // even when nobody registered the meta types before the first payload.
    ymRegisterMetaTypes();
    QVariant converted = value;
    if (!converted.convert(pieceType))
        return YmPieceMap();
    return converted.value<YmPieceMap>();
}

YmOrderRecord YmPayload::orderRecord(const QVariant &row)
{
    YmOrderRecord record;
    record.isRecord = isList(row);
    QVariantList storage;
    const QVariantList &r = listOf(row, storage);
    record.planName = stringAt(r, PlanName);
    record.carried = r.value(Carried);
    record.macKey = stringAt(r, MacKey);
    record.macName = stringAt(r, MacName);
    record.groupName = stringAt(r, GroupName);
    record.fileName = stringAt(r, FileName);
    record.planned = intAt(r, Planned);
    record.completed = intAt(r, Completed);
    record.notifyNum = intAt(r, NotifyNum);
    if (Pieces < r.size())
        record.pieces = pieceMap(r.at(Pieces));
    return record;
}

QVector<YmOrderRecord> YmPayload::orderRecords(const QVariantList &rows)
{
    QVector<YmOrderRecord> records;
    records.reserve(rows.size());
    for (const QVariant &row : rows)
        records.append(orderRecord(row));
    return records;
}

QVector<YmOrderRecord> YmPayload::planRows(const QVariantList &planData)
{
    return orderRecords(planData.value(PlanDataRows).toList());
}

YmPayload::PlanSettings YmPayload::planSettings(const QVariantList &planData)
{
    PlanSettings settings;
    settings.filterCheck = planData.value(PlanDataFilterCheck).toInt() == 1;
    settings.checkOrder = planData.value(PlanDataCheckOrder).toInt();
    settings.filter = planData.value(PlanDataFilter).toInt();
    return settings;
}

QVector<YmMachineEntry> YmPayload::machineEntries(const QVariantList &macList)
{
    QVector<YmMachineEntry> entries;
    entries.reserve(macList.size());
    QVariantList storage;
    for (const QVariant &value : macList) {
        const QVariantList &m = listOf(value, storage);
        entries.append({stringAt(m, MachineKey), stringAt(m, MachineName), intAt(m, MachineState)});
    }
    return entries;
}

QVector<YmProcessEntry> YmPayload::processEntries(const QVariantList &process)
{
    QVector<YmProcessEntry> entries;
    entries.reserve(process.size());
    QVariantList storage;
    for (const QVariant &value : process) {
        const QVariantList &e = listOf(value, storage);
        YmProcessEntry entry;
        entry.fileName = stringAt(e, ProcessFile);
        if (ProcessPieces < e.size())
            entry.pieces = pieceMap(e.at(ProcessPieces));
        entry.completed = intAt(e, ProcessCompleted);
        entries.append(entry);
    }
    return entries;
}

QVector<YmStopEntry> YmPayload::stopPeriods(const QVariantList &stopList)
{
    QVector<YmStopEntry> periods;
    periods.reserve(stopList.size());
    QVariantList storage;
    for (const QVariant &value : stopList) {
        const QVariantList &s = listOf(value, storage);
        periods.append({stringAt(s, StopName), stringAt(s, StopStart), stringAt(s, StopEnd)});
    }
    return periods;
}

YmBarEntry YmPayload::barEntry(const QVariant &bar)
{
    QVariantList storage;
    const QVariantList &b = listOf(bar, storage);
    return {stringAt(b, BarName), intAt(b, BarPlanned), intAt(b, BarCompleted)};
}

QVariantList YmPayload::toList(const YmBarEntry &bar)
{
    return {bar.name, bar.planned, bar.completed};
}

QVariantList YmPayload::toList(const YmOrderRecord &record)
{
    QVariantList row;
    row.reserve(OrderFieldCount);
    row << record.planName << record.carried << record.macKey << record.macName << record.groupName
        << record.fileName << record.planned << record.completed << record.notifyNum
        << QVariant::fromValue(record.pieces);
    return row;
}

QVariantList YmPayload::toList(const YmProcessEntry &entry)
{
    return {entry.fileName, QVariant::fromValue(entry.pieces), entry.completed};
}
