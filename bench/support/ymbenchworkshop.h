#ifndef YMBENCHWORKSHOP_H
#define YMBENCHWORKSHOP_H

#include "ympayload.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

// A deterministic workshop day for benchmarks: the same arguments always give
// the same payloads, shaped exactly like the host's calls.
//
//   const YmBenchWorkshop w = YmBenchWorkshop::large();
//   page.initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
//   page.updateMacProcess(w.processMacKey, w.process);
//
// Order rows have all ten fields: plan name, carried id, machine key, machine
// name, group name, file name, planned, completed, notify threshold, piece map
// (YmPieceMap with a few "yyyy-MM-dd hh:mm:ss" keys of `day` whose quantities
// add up to the completed field). Several plans share product files, so a
// machine usually has more than one row for the same file. Only about one
// plan in forty (at least one) is above its notify threshold.
class YmBenchWorkshop
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
    static YmBenchWorkshop generate(int machineCount, int groupCount, int planCount, int rowCount,
                                    const QDate &day = QDate(2024, 3, 5), quint32 seed = 20240305);
    // 500 machines in 40 groups, 300 plans, 3,000 order rows.
    static YmBenchWorkshop large(const QDate &day = QDate(2024, 3, 5));
    // A small day: 12 machines in 3 groups, 4 plans, 20 order rows.
    static YmBenchWorkshop sampleDay(const QDate &day = QDate(2024, 3, 5));
    // The large workshop at the end of a busy day: 200,000 pieces by default.
    static YmBenchWorkshop busyDay(int pieceCount = 200000, const QDate &day = QDate(2024, 3, 5));

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

#endif // YMBENCHWORKSHOP_H
