#ifndef YMLITERALFORECAST_H
#define YMLITERALFORECAST_H

#include "ymliteralplanprogress.h"

#include <QVector>

#include <cmath>

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

#endif // YMLITERALFORECAST_H
