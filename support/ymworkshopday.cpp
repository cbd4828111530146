#include "ymworkshopday.h"

#include "ymmetatypes.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QVariant>

#include <algorithm>

namespace {

// xorshift32: tiny, and identical on every platform (unlike the standard
// library's distributions).
class Random
{
public:
    explicit Random(quint32 seed)
        : m_state(seed ? seed : 0x9e3779b9u)
    {}
    quint32 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int bounded(int from, int to) { return from + int(next() % quint32(to - from + 1)); }

private:
    quint32 m_state;
};

// Splits total into count positive parts (count <= total).
QVector<int> split(Random &rng, int total, int count)
{
    QVector<int> parts(count, 1);
    for (int left = total - count; left > 0;) {
        const int take = qMin(left, rng.bounded(1, qMax(1, total / count)));
        parts[rng.bounded(0, count - 1)] += take;
        left -= take;
    }
    return parts;
}

// Piece keys at distinct seconds between fromSecond and toSecond of the day.
YmPieceMap makePieces(Random &rng, const QDate &day, int total, int keyCount, int fromSecond,
                      int toSecond)
{
    YmPieceMap map;
    keyCount = qMin(keyCount, total);
    if (keyCount <= 0)
        return map;
    QSet<int> seconds;
    while (seconds.size() < keyCount)
        seconds.insert(rng.bounded(fromSecond, toSecond));
    QList<int> sorted = seconds.values();
    std::sort(sorted.begin(), sorted.end());
    const QVector<int> parts = split(rng, total, keyCount);
    const QDateTime midnight(day, QTime(0, 0));
    for (int i = 0; i < keyCount; ++i) {
        map.insert(midnight.addSecs(sorted.at(i)).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                   parts.at(i));
    }
    return map;
}

} // namespace

YmWorkshopDay YmWorkshopDay::generate(int machineCount, int groupCount, int planCount, int rowCount,
                                      const QDate &day, quint32 seed)
{
    machineCount = qMax(1, machineCount);
    groupCount = qBound(1, groupCount, machineCount);
    planCount = qMax(1, planCount);
    rowCount = qMax(0, rowCount);

    YmWorkshopDay w;
    w.day = day;
    w.startTime = QStringLiteral("08:00:00");
    w.endTime = QStringLiteral("20:00:00");
    w.stopList = {QVariantList{QStringLiteral("午休"), QStringLiteral("12:00:00"),
                               QStringLiteral("13:00:00")},
                  QVariantList{QStringLiteral("晚餐"), QStringLiteral("17:30:00"),
                               QStringLiteral("18:00:00")}};
    w.workMinutes = 12 * 60 - 60 - 30;

    Random rng(seed);
    QStringList machineNames;
    QStringList machineGroups;
    for (int g = 0; g < groupCount; ++g)
        w.groupNames.append(QStringLiteral("产线%1").arg(g + 1, 2, 10, QLatin1Char('0')));
    for (int m = 0; m < machineCount; ++m) {
        const QString key = QStringLiteral("MAC%1").arg(m + 1, 4, 10, QLatin1Char('0'));
        const QString name = QStringLiteral("%1号机").arg(m + 1);
        const int roll = rng.bounded(0, 9);
        const int state = roll < 6 ? 2 : roll < 8 ? 1 : roll == 8 ? 3 : 0;
        w.machineKeys.append(key);
        machineNames.append(name);
        machineGroups.append(w.groupNames.at(m * groupCount / machineCount));
        w.macList.append(QVariant(QVariantList{key, name, state}));
    }

    // Three plans per product file, so plans p, p + products and p + 2 * products
    // share a file and meet on some machines.
    const int productCount = qMax(1, planCount / 3);
    const int maxRowsPerPlan = (rowCount + planCount - 1) / planCount;
    const int stride = qMax(1, machineCount / qMax(1, maxRowsPerPlan));
    const int daySeconds = 8 * 3600;
    const int lastOldSecond = 19 * 3600 - 1;
    w.rows.reserve(rowCount);
    for (int p = 0; p < planCount; ++p) {
        const QString plan = QStringLiteral("订单PO%1-%2")
                                 .arg(day.toString(QStringLiteral("yyyyMMdd")))
                                 .arg(p + 1, 4, 10, QLatin1Char('0'));
        const QString file
            = QStringLiteral("PRD-%1.nc").arg(p % productCount + 1, 3, 10, QLatin1Char('0'));
        // One plan in forty (at least one plan) is well above a low threshold;
        // the rest stay below theirs.
        const bool notifies = p % 40 == 7 % qMin(40, planCount);
        const int threshold = notifies ? 30 : (p % 3 == 0 ? 0 : 95);
        const int firstRow = int(qint64(p) * rowCount / planCount);
        const int endRow = int(qint64(p + 1) * rowCount / planCount);
        for (int r = firstRow; r < endRow; ++r) {
            const int k = r - firstRow;
            const int m = (p * 37 + k * stride) % machineCount;
            const int planned = rng.bounded(50, 500);
            const int percent = notifies ? rng.bounded(80, 100) : rng.bounded(10, 90);
            const int completed = planned * percent / 100;
            const YmPieceMap pieces
                = makePieces(rng, day, completed, rng.bounded(3, 6), daySeconds, lastOldSecond);
            w.rows.append(
                QVariant(QVariantList{plan, QStringLiteral("ID%1").arg(r + 1), w.machineKeys.at(m),
                                      machineNames.at(m), machineGroups.at(m), file, planned,
                                      completed, threshold, QVariant::fromValue(pieces)}));
        }
    }
    w.planData = {w.rows, 1, 0, 0};

    // The machine with the most rows sharing one file gets the process list.
    QHash<QString, QHash<QString, int>> filesPerMachine;
    for (const QVariant &rowValue : qAsConst(w.rows)) {
        const QVariantList row = rowValue.toList();
        ++filesPerMachine[row.at(2).toString()][row.at(5).toString()];
    }
    int best = -1;
    for (const QString &key : qAsConst(w.machineKeys)) {
        const QHash<QString, int> files = filesPerMachine.value(key);
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            if (it.value() > best) {
                best = it.value();
                w.processMacKey = key;
            }
        }
    }
    if (!w.processMacKey.isEmpty()) {
        QStringList files = filesPerMachine.value(w.processMacKey).keys();
        files.sort();
        for (const QString &file : qAsConst(files)) {
            // Pieces of the last working hour: none of them is in a row yet.
            const int total = rng.bounded(8, 40);
            const YmPieceMap pieces
                = makePieces(rng, day, total, rng.bounded(3, 6), lastOldSecond + 1, 20 * 3600 - 1);
            w.process.append(QVariant(QVariantList{file, QVariant::fromValue(pieces), total}));
        }
    }
    return w;
}

YmWorkshopDay YmWorkshopDay::large(const QDate &day)
{
    return generate(500, 40, 300, 3000, day);
}

YmWorkshopDay YmWorkshopDay::sampleDay(const QDate &day)
{
    return generate(12, 3, 4, 20, day);
}

YmWorkshopDay YmWorkshopDay::busyDay(int pieceCount, const QDate &day)
{
    YmWorkshopDay w = large(day);
    w.fillPieces(pieceCount);
    return w;
}

YmWorkshopDay YmWorkshopDay::simpleDay(int machineCount, const QDate &day)
{
    const QStringList groups
        = {QStringLiteral("注塑车间"), QStringLiteral("冲压车间"), QStringLiteral("装配车间")};
    const QStringList plans = {QStringLiteral("PO-2412-A01"), QStringLiteral("PO-2412-B07"),
                               QStringLiteral("PO-2412-C03"), QStringLiteral("PO-2412-D12")};
    const int states[] = {2, 2, 1, 2, 3, 2, 0, 2, 1, 2, 2, 0};
    YmWorkshopDay w;
    w.day = day;
    w.startTime = QStringLiteral("08:00:00");
    w.endTime = QStringLiteral("20:00:00");
    w.workMinutes = 600;
    const QDateTime start(day, QTime(8, 0));
    for (int m = 0; m < machineCount; ++m) {
        const QString key = QStringLiteral("MAC-%1").arg(m + 1, 3, 10, QLatin1Char('0'));
        const QString name = QStringLiteral("%1号机").arg(m + 1);
        const QString &plan = plans.at(m % plans.size());
        const QString &group = groups.at(m % groups.size());
        const int planned = 120 + 40 * (m % 5);
        const int completed = planned * (25 + 6 * m) / 100;
        YmPieceMap pieces;
        for (int i = 0, counted = 0; counted < completed && i < 8; ++i) {
            const int qty = qMin(5, completed - counted);
            pieces.insert(start.addSecs(i * 420).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                          qty);
            counted += qty;
        }
        w.rows << QVariant(QVariantList{
            plan, QString(), key, name, group, QString(plan + QStringLiteral(".nc")), planned,
            completed, m % plans.size() == 3 ? 60 : 95, QVariant::fromValue(pieces)});
        w.macList << QVariant(QVariantList{key, name, states[m % 12]});
        w.machineKeys << key;
        if (!w.groupNames.contains(group))
            w.groupNames << group;
    }
    w.planData = {w.rows, 1, 0, 0};
    return w;
}

void YmWorkshopDay::fillPieces(int pieceCount, quint32 seed)
{
    // Working seconds before 19:00 outside the stops, as a list of spans.
    const int spans[][2]
        = {{8 * 3600, 12 * 3600}, {13 * 3600, 17 * 3600 + 1800}, {18 * 3600, 19 * 3600}};
    int working = 0;
    for (const auto &span : spans)
        working += span[1] - span[0];
    const auto workingSecond = [&](int k) {
        for (const auto &span : spans) {
            if (k < span[1] - span[0])
                return span[0] + k;
            k -= span[1] - span[0];
        }
        return spans[2][1] - 1;
    };

    Random rng(seed);
    const QDateTime midnight(day, QTime(0, 0));
    const QString format = QStringLiteral("yyyy-MM-dd hh:mm:ss");
    const int rowCount = rows.size();
    pieceCount = qMax(0, pieceCount);
    for (int r = 0; r < rowCount; ++r) {
        QVariantList row = rows.at(r).toList();
        const int count = int(qint64(pieceCount) * (r + 1) / qMax(1, rowCount)
                              - qint64(pieceCount) * r / qMax(1, rowCount));
        QSet<int> seconds;
        while (seconds.size() < qMin(count, working))
            seconds.insert(workingSecond(rng.bounded(0, working - 1)));
        YmPieceMap map;
        for (int second : qAsConst(seconds))
            map.insert(midnight.addSecs(second).toString(format), 1);
        row[6] = qMax(row.at(6).toInt(), map.size() + rng.bounded(0, map.size() / 4 + 1));
        row[7] = map.size();
        row[9] = QVariant::fromValue(map);
        rows[r] = QVariant(row);
    }
    planData = {rows, 1, 0, 0};

    process.clear();
    QStringList files;
    for (const QVariant &rowValue : qAsConst(rows)) {
        const QVariantList row = rowValue.toList();
        if (row.at(2).toString() == processMacKey && !files.contains(row.at(5).toString()))
            files.append(row.at(5).toString());
    }
    files.sort();
    for (int f = 0; f < files.size(); ++f) {
        YmPieceMap map;
        const int count = 10 * (f + 1) / files.size() - 10 * f / files.size();
        while (map.size() < count) {
            map.insert(midnight.addSecs(rng.bounded(19 * 3600, 20 * 3600 - 1)).toString(format), 1);
        }
        process.append(QVariant(QVariantList{files.at(f), QVariant::fromValue(map), count}));
    }
}
