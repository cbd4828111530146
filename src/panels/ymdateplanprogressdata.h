#ifndef YMDATEPLANPROGRESSDATA_H
#define YMDATEPLANPROGRESSDATA_H

#include "ymdayforecast.h"
#include "ymorderrecord.h"
#include "ymstopentry.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariantList>
#include <QVector>

// What the day plan progress chart shows, without the widget: the time axis
// (work start, hourly labels, stop starts and ends, work end), and the
// quantity planned and done by each label. The pieces are those the order
// rows counted (their piece records), so the line ends where the other views
// of the day stand.
//
// A busy day has a few hundred thousand pieces and the host reports machines
// every few seconds, so every piece key is parsed once (YmPieceKey), label
// times are parsed once per axis rebuild, and the done counts are kept as
// running sums per axis bucket: a process report costs what it brings plus
// the labels, never the day's pieces.
class YmDatePlanProgressData
{
public:
    using Clock = QTime (*)(const void *context);

    static QString timeFormat() { return QStringLiteral("HH:mm:ss"); }
    static QString shortTimeFormat() { return QStringLiteral("HH:mm"); }

    YmDatePlanProgressData();

    // Takes the work times unless both are midnight or either does not parse,
    // then rebuilds the axis and every count.
    void setDayData(const QVector<YmOrderRecord> &orderRows, const QVector<YmStopEntry> &stopList,
                    const QString &startTime, const QString &endTime, double workMinutes);
    void setWorkTime(const QString &startTime, const QString &endTime, double workMinutes);
    // Adds pieces the order rows took since (key, quantity) and recounts doneAt.
    void addPieces(const QVector<QPair<QString, int>> &pieces);
    // Where "now" comes from (the board's clock); the process clock by default.
    void setClock(Clock clock, const void *context);
    QTime now() const;

    // Percent done per label at the given time of day, from label 1 up to the
    // first one later than now; a stop end repeats the label before it.
    QMap<QString, double> percentValues(const QTime &now) const;
    // Where the day ends at the pace of its last working hour: the pieces of
    // every row and report against the rows' planned total.
    YmDayForecast::Result forecast(const QTime &now) const;
    // The working day and pieces behind forecast(), for plans' own forecasts.
    const YmDayForecast &forecaster() const { return m_forecast; }

    const QString &workStart() const { return m_workStart; }
    const QString &workEnd() const { return m_workEnd; }
    double workMinutes() const { return m_workMinutes; }
    double stopMinutes() const { return m_stopMinutes; }
    const QVector<YmStopEntry> &stopList() const { return m_stopList; }
    // The day's planned total and counted pieces.
    qint64 plannedTotal() const { return m_plannedTotal; }
    qint64 recordedTotal() const { return m_recordTotal; }
    const QStringList &axisLabels() const { return m_axisLabels; }
    const QMap<QString, QString> &stopStartNames() const { return m_stopStartNames; }
    const QMap<QString, QString> &stopEndNames() const { return m_stopEndNames; }
    const QMap<QString, int> &stopSeconds() const { return m_stopSeconds; }
    const QMap<QString, int> &plannedAt() const { return m_plannedAt; }
    const QMap<QString, int> &doneAt() const { return m_doneAt; }

private:
    bool takeWorkTimes(const QString &startTime, const QString &endTime, double workMinutes);
    void rebuildAxis();
    void hourlyFill(const QTime &until);
    void appendAbsent(const QString &label);
    void indexLabels();
    void rebuildCounts();
    void publishRecordCounts();
    int bucketOf(int seconds) const;

    QString m_workStart;
    QString m_workEnd;
    double m_workMinutes;
    double m_stopMinutes = 0;
    QVector<YmStopEntry> m_stopList;
    bool m_hasRows = false;
    qint64 m_plannedTotal = 0;
    Clock m_clock = nullptr;
    const void *m_clockContext = nullptr;
    QStringList m_axisLabels;
    QMap<QString, QString> m_stopStartNames;
    QMap<QString, QString> m_stopEndNames;
    QMap<QString, int> m_stopSeconds;
    QMap<QString, int> m_plannedAt;
    QMap<QString, int> m_doneAt;

    // Every counted piece once: its time of day (YmPieceKey::Invalid when the
    // key does not parse) and quantity.
    QVector<QPair<int, int>> m_pieces;

    // Per axis rebuild: each label's time in seconds (YmPieceKey::Invalid when
    // it does not parse) and the distinct times of labels 1 .. n - 1 sorted.
    // A piece of time t counts for a label of time T when t <= T, that is for
    // the sorted positions from lower_bound(t) on: its bucket.
    QVector<int> m_labelSeconds;
    QVector<int> m_sortedSeconds;
    QVector<int> m_labelPosition; // label index -> position in m_sortedSeconds
    // Quantities of all recorded pieces per bucket (one more bucket for pieces
    // later than every label) and in total.
    QVector<qint64> m_recordBuckets;
    qint64 m_recordTotal = 0;

    YmDayForecast m_forecast;
};

#endif // YMDATEPLANPROGRESSDATA_H
