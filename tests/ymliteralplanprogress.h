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

#include <cmath>

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

// The day's forecast the straightforward way: a flag per second of the day for
// working time, the pieces per second, and for a clock `now` the working
// seconds walked one by one: back from now for the last hour's pace, forward
// for the time left and the moment the plan is reached.
struct YmLiteralForecast
{
    QVector<bool> working = QVector<bool>(86400, false);
    QVector<qint64> pieces = QVector<qint64>(86400, 0);
    int workEnd = 0;
    qint64 planned = 0;

    static int seconds(const QString &hhmmss)
    {
        const QTime t = QTime::fromString(hhmmss, YmLiteralPlanProgress::tf());
        return t.isValid() ? t.msecsSinceStartOfDay() / 1000 : -1;
    }

    explicit YmLiteralForecast(const YmLiteralPlanProgress &day)
    {
        const int start = seconds(day.workStart);
        workEnd = seconds(day.workEnd);
        for (int t = qMax(start, 0); t < workEnd; ++t)
            working[t] = true;
        for (const QVariant &value : day.stopList) {
            const QVariantList stop = value.toList();
            const int s = seconds(stop.value(1).toString());
            const int e = seconds(stop.value(2).toString());
            if (s < 0 || e < 0)
                continue;
            for (int t = s; t < e; ++t)
                working[t] = false;
        }
        QList<QPair<QString, int>> all = day.added;
        for (const QVariant &row : day.orderRows) {
            const YmPieceMap map = YmLiteralPlanProgress::pieces(row.toList().value(9));
            for (auto it = map.cbegin(); it != map.cend(); ++it)
                all.append({it.key(), it.value()});
        }
        for (const auto &piece : qAsConst(all)) {
            const int t = seconds(YmLiteralPlanProgress::pieceTime(piece.first));
            if (t >= 0)
                pieces[t] += piece.second;
        }
        for (const QVariant &row : day.orderRows)
            planned += row.toList().value(6).toInt();
    }

    // valid, done, recent, projected, end percent, second the plan is reached
    struct Result
    {
        bool valid = false;
        qint64 done = 0, recent = 0;
        double projected = 0, endPercent = 0;
        int completeAt = -1;
    };
    Result at(int now) const
    {
        Result r;
        if (planned <= 0 || now >= workEnd)
            return r;
        qint64 elapsed = 0, left = 0;
        for (int t = 0; t < 86400; ++t) {
            if (t <= now) {
                r.done += pieces[t];
                elapsed += working[t];
            } else {
                left += working[t];
            }
        }
        if (elapsed < 3600)
            return r;
        int counted = 0;
        for (int t = now; t >= 0 && counted < 3600; --t) {
            if (working[t]) {
                ++counted;
                r.recent += pieces[t];
            }
        }
        r.valid = true;
        const double pace = double(r.recent) / 3600;
        r.projected = double(r.done) + pace * double(left);
        r.endPercent = r.projected * 100.0 / double(planned);
        if (r.done < planned && pace > 0) {
            const qint64 needed = qint64(std::ceil(double(planned - r.done) / pace));
            qint64 made = 0;
            for (int t = now + 1; t < 86400; ++t) {
                if (working[t] && ++made == needed) {
                    r.completeAt = t;
                    break;
                }
            }
        }
        return r;
    }
};

#endif // YMLITERALPLANPROGRESS_H
