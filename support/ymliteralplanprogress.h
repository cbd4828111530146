#ifndef YMLITERALPLANPROGRESS_H
#define YMLITERALPLANPROGRESS_H

// The day plan progress counts computed the straightforward way: every piece
// key parsed with QDateTime and every label with QTime, for every piece, on
// every call. Far too slow for a busy day; the tests hold the chart's running
// counts against it and the benchmarks measure what the running counts save.

#include "ymclock.h"
#include "ymmetatypes.h"

#include <QDateTime>
#include <QMap>
#include <QStringList>
#include <QVariantList>
#include <QVector>

struct YmLiteralPlanProgress
{
    QString workStart = QStringLiteral("08:00:00");
    QString workEnd = QStringLiteral("18:00:00");
    double workMinutes = 600;
    double stopMinutes = 0;
    QVariantList stopList;
    QVariantList orderRows;
    QStringList axisLabels;
    QMap<QString, QString> stopStartNames;
    QMap<QString, QString> stopEndNames;
    QMap<QString, int> stopSeconds;
    QMap<QString, int> plannedAt;
    QMap<QString, int> doneAt;
    // Pieces the order rows took from reports since the day was set.
    QList<QPair<QString, int>> added;

    static QString tf() { return QStringLiteral("HH:mm:ss"); }
    static QString stf() { return QStringLiteral("HH:mm"); }
    static QString pieceTime(const QString &key)
    {
        return QDateTime::fromString(key, QStringLiteral("yyyy-MM-dd hh:mm:ss")).toString(tf());
    }
    static QString labelTime(const QString &label)
    {
        return QTime::fromString(label, stf()).toString(tf());
    }
    static YmPieceMap pieces(const QVariant &value)
    {
        QVariant v = value;
        return v.convert(qMetaTypeId<YmPieceMap>()) ? v.value<YmPieceMap>() : YmPieceMap();
    }

    void setDayData(const QVariantList &rows, const QVariantList &stops, const QString &start,
                    const QString &end, double minutes)
    {
        takeTimes(start, end, minutes);
        stopList = stops;
        rebuildAxis();
        orderRows = rows;
        added.clear();
        rebuildCounts();
    }
    void takeTimes(const QString &start, const QString &end, double minutes)
    {
        const QString midnight = QTime(0, 0, 0, 0).toString(tf());
        if ((start == midnight && end == midnight) || !QTime::fromString(start, tf()).isValid()
            || !QTime::fromString(end, tf()).isValid())
            return;
        workStart = start;
        workEnd = end;
        workMinutes = minutes;
    }
    void append(const QString &label)
    {
        if (!axisLabels.contains(label))
            axisLabels.append(label);
    }
    void fill(const QTime &until)
    {
        QTime c = QTime::fromString(axisLabels.last(), stf());
        while (c.isValid() && until.isValid() && c < until) {
            append(c.toString(stf()));
            if (c.addSecs(3600) < c)
                break;
            c = c.addSecs(3600);
        }
    }
    void rebuildAxis()
    {
        stopMinutes = 0;
        axisLabels.clear();
        stopStartNames.clear();
        stopEndNames.clear();
        stopSeconds.clear();
        axisLabels.append(QTime::fromString(workStart, tf()).toString(stf()));
        for (const QVariant &stop : qAsConst(stopList)) {
            const QVariantList e = stop.toList();
            const QString name = e.value(0).toString(), s = e.value(1).toString(),
                          en = e.value(2).toString();
            const QTime ts = QTime::fromString(s, tf()), te = QTime::fromString(en, tf());
            if (!ts.isValid() || !te.isValid())
                continue;
            stopMinutes += ts.secsTo(te) / 60;
            if (!(s < workEnd) || en < workStart)
                continue;
            const QString hs = ts.toString(stf()), he = te.toString(stf());
            stopStartNames[hs] = name;
            stopEndNames[he] = name;
            stopSeconds[hs] = ts.secsTo(te);
            if (s < workStart && workStart < en) {
                append(he);
            } else if (workStart < s) {
                fill(ts);
                append(hs);
                append(he);
            }
        }
        fill(QTime::fromString(workEnd, tf()));
        append(QTime::fromString(workEnd, tf()).toString(stf()));
    }
    void rebuildCounts()
    {
        plannedAt.clear();
        doneAt.clear();
        int done = 0;
        int plannedTotal = 0;
        // The added pieces count as one more row of no plan, after the others.
        QVariantList rows = orderRows;
        YmPieceMap extra;
        for (const auto &piece : qAsConst(added))
            extra[piece.first] += piece.second;
        if (!added.isEmpty())
            rows.append(QVariant(QVariantList{QString(), QString(), QString(), QString(), QString(),
                                              QString(), 0, 0, 0, QVariant::fromValue(extra)}));
        for (const QVariant &rowValue : qAsConst(rows)) {
            const QVariantList row = rowValue.toList();
            const YmPieceMap map = pieces(row.value(9));
            for (auto it = map.cbegin(); it != map.cend(); ++it) {
                const QString t = pieceTime(it.key());
                if (workEnd < t || t < workStart)
                    continue;
                done += it.value();
                for (int j = 1; j < axisLabels.size(); ++j) {
                    if (!(labelTime(axisLabels.at(j)) < t))
                        doneAt[axisLabels.at(j)] += it.value();
                }
            }
            for (int j = 1; j < axisLabels.size(); ++j) {
                if (!(QTime::fromString(axisLabels.at(j), stf()) < YmClock::time())) {
                    doneAt[axisLabels.at(j)] = done;
                    break;
                }
            }
            plannedTotal += row.value(6).toInt();
        }
        if (plannedTotal == 0)
            return;
        const double secondsPerPiece = (workMinutes - stopMinutes) * 60 / plannedTotal;
        for (int j = 1; j < axisLabels.size(); ++j) {
            const QString &label = axisLabels.at(j);
            if (stopEndNames.contains(label)) {
                plannedAt[label] = plannedAt.value(axisLabels.at(j - 1), 0);
                continue;
            }
            int elapsed
                = QTime::fromString(workStart, tf()).secsTo(QTime::fromString(label, stf()));
            for (int k = 1; k < j; ++k) {
                if (!stopEndNames.contains(axisLabels.at(k))
                    && stopSeconds.contains(axisLabels.at(k)))
                    elapsed -= stopSeconds.value(axisLabels.at(k));
            }
            plannedAt[label] = secondsPerPiece == 0 ? 0 : qRound(elapsed / secondsPerPiece);
        }
    }
    void addPieces(const QVector<QPair<QString, int>> &pieces)
    {
        for (const auto &piece : pieces)
            added.append(piece);
        // Every piece of the rows and the reports, without the work-time window.
        QList<QPair<QString, int>> all = added;
        for (const QVariant &rowValue : qAsConst(orderRows)) {
            const YmPieceMap map = YmLiteralPlanProgress::pieces(rowValue.toList().value(9));
            for (auto it = map.cbegin(); it != map.cend(); ++it)
                all.append({it.key(), it.value()});
        }
        doneAt.clear();
        int total = 0;
        for (const auto &piece : qAsConst(all))
            total += piece.second;
        const QString now = YmClock::time().toString(tf());
        for (int j = 1; j < axisLabels.size(); ++j) {
            const QString label = labelTime(axisLabels.at(j));
            int sum = 0;
            for (const auto &piece : qAsConst(all))
                if (!(label < pieceTime(piece.first)))
                    sum += piece.second;
            doneAt[axisLabels.at(j)] = now < label ? total : sum;
        }
    }
};

#endif // YMLITERALPLANPROGRESS_H
