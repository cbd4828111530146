#ifndef YMWORKSHOPDAY_H
#define YMWORKSHOPDAY_H

#include "ympayload.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

// A deterministic workshop day for the benchmarks, the tests and the fuzzers:
// the same arguments always give the same payloads, shaped exactly like the
// host's calls.
//
//   const YmWorkshopDay w = YmWorkshopDay::large();
//   page.initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
//   page.updateMacProcess(w.processMacKey, w.process);
//
// Order rows have all ten fields: plan name, carried id, machine key, machine
// name, group name, file name, planned, completed, notify threshold, piece map
// (YmPieceMap with a few "yyyy-MM-dd hh:mm:ss" keys of `day` whose quantities
// add up to the completed field). In generated days several plans share
// product files, so a machine usually has more than one row for the same
// file, and only about one plan in forty (at least one) is above its notify
// threshold.
class YmWorkshopDay
{
public:
    QDate day;               // the day the piece keys belong to
    QVariantList planData;   // {rows, 1, 0, 0}: the first argument of initDatas
    QVariantList macList;    // {key, name, state} per machine, states 0..3
    QVariantList stopList;   // {name, "HH:mm:ss", "HH:mm:ss"} downtime periods
    QString startTime;       // "08:00:00"
    QString endTime;         // "20:00:00"
    double workMinutes = 0;  // working minutes between them, stops excluded
    QVariantList rows;       // the order rows (same list as planData[0])
    QStringList machineKeys; // every machine key, in macList order
    QStringList groupNames;  // distinct group names
    QString processMacKey;   // a machine with rows sharing a file
    QVariantList process;    // {file, piece map, completed} entries for processMacKey,
                             // with new pieces not yet in its rows

    // Builds a workshop of the given size; rowCount rows are spread over the
    // plans round-robin, each row on a different machine of its plan.
    static YmWorkshopDay generate(int machineCount, int groupCount, int planCount, int rowCount,
                                  const QDate &day = QDate(2024, 3, 5), quint32 seed = 20240305);
    // 500 machines in 40 groups, 300 plans, 3,000 order rows.
    static YmWorkshopDay large(const QDate &day = QDate(2024, 3, 5));
    // A small day: 12 machines in 3 groups, 4 plans, 20 order rows.
    static YmWorkshopDay sampleDay(const QDate &day = QDate(2024, 3, 5));
    // The large workshop at the end of a busy day: 200,000 pieces by default.
    static YmWorkshopDay busyDay(int pieceCount = 200000, const QDate &day = QDate(2024, 3, 5));
    // A day written out rather than generated, one order row per machine:
    // machines MAC-001, MAC-002 ... (1号机 ...), plans PO-2412-A01, -B07, -C03
    // and -D12 in turn, each on its own file, over the halls 注塑车间, 冲压车间
    // and 装配车间 in turn; machine m (from 0) plans 120 + 40 * (m % 5) and has
    // done 25 + 6 * m per cent of it, in lots of five every seven minutes from
    // 08:00 (eight lots at most); the fourth plan notifies at 60 %, the others
    // at 95 %. 08:00 to 20:00 at 600 working minutes, no stops, no process list.
    static YmWorkshopDay simpleDay(int machineCount = 12, const QDate &day = QDate(2024, 3, 5));

    // Gives the rows pieceCount pieces of quantity 1 in all, spread evenly
    // over the rows and over the working time up to 19:00 outside the stops
    // (the lunch stop 12:00-13:00 and 17:30-18:00); completed becomes the
    // row's piece count and planned at least that. The process list becomes
    // 10 new pieces of 19:00-20:00 for processMacKey, over its files.
    void fillPieces(int pieceCount, quint32 seed = 20240306);

    // The payloads as the board parses them once at the facade.
    QVector<YmOrderRecord> records() const { return YmPayload::orderRecords(rows); }
    QVector<YmMachineEntry> machines() const { return YmPayload::machineEntries(macList); }
    QVector<YmStopEntry> stops() const { return YmPayload::stopPeriods(stopList); }
    QVector<YmProcessEntry> processEntries() const { return YmPayload::processEntries(process); }
};

#endif // YMWORKSHOPDAY_H
