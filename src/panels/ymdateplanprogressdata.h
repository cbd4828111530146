#ifndef YMDATEPLANPROGRESSDATA_H
#define YMDATEPLANPROGRESSDATA_H

#include "ymdayforecast.h"
#include "ymmetatypes.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariantList>
#include <QVector>

// What the day plan progress chart shows, without the widget: the time axis
// (work start, hourly labels, stop starts and ends, work end), the quantity
// planned and done by each label, and the pieces seen per machine and file.
//
// A busy day has a few hundred thousand pieces and the host reports machines
// every few seconds, so every piece key is parsed once (YmPieceKey), label
// times are parsed once per axis rebuild, and the done counts are kept as
// running sums per axis bucket: a process report costs what it brings plus
// the labels, never the day's pieces.
class YmDatePlanProgressData
{
public:
    using PieceRecords = QMap<QString, QMap<QString, YmPieceMap>>;

    static QString timeFormat() { return QStringLiteral("HH:mm:ss"); }
    static QString shortTimeFormat() { return QStringLiteral("HH:mm"); }

    YmDatePlanProgressData();

    // Takes the work times unless both are midnight or either does not parse,
    // then rebuilds the axis and every count.
    void setDayData(const QVariantList &orderRows, const QVariantList &stopList,
                    const QString &startTime, const QString &endTime, double workMinutes);
    void setWorkTime(const QString &startTime, const QString &endTime, double workMinutes);
    // Adds the unseen piece keys of the machine's known files (quantity 1 each)
    // and recounts doneAt from the records. True when a known file was stored
    // back, i.e. when the chart should repaint.
    bool updateMacProcess(const QString &macKey, const QVariantList &process);

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
    const QVariantList &stopList() const { return m_stopList; }
    const QVariantList &orderRows() const { return m_orderRows; }
    const QStringList &axisLabels() const { return m_axisLabels; }
    const QMap<QString, QString> &stopStartNames() const { return m_stopStartNames; }
    const QMap<QString, QString> &stopEndNames() const { return m_stopEndNames; }
    const QMap<QString, int> &stopSeconds() const { return m_stopSeconds; }
    const QMap<QString, int> &plannedAt() const { return m_plannedAt; }
    const QMap<QString, int> &doneAt() const { return m_doneAt; }
    // Machine key -> file name -> piece key -> quantity, merged on demand.
    const PieceRecords &pieceRecords() const;

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
    QVariantList m_stopList;
    QVariantList m_orderRows;
    QStringList m_axisLabels;
    QMap<QString, QString> m_stopStartNames;
    QMap<QString, QString> m_stopEndNames;
    QMap<QString, int> m_stopSeconds;
    QMap<QString, int> m_plannedAt;
    QMap<QString, int> m_doneAt;

    // The piece records of one machine and file as they came: the maps of the
    // rows (shared with the rows, so a day of many pieces costs no copies) and
    // the pieces that reports added. Merging them (keys of several rows add
    // up) is left to the rare reader of the whole records.
    struct FileRecords
    {
        QVector<YmPieceMap> rowPieces;
        YmPieceMap added;
        bool contains(const QString &key) const;
    };
    QHash<QString, QHash<QString, FileRecords>> m_records;
    mutable PieceRecords m_mergedRecords;
    mutable bool m_mergedStale = false;

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
    int m_plannedTotal = 0;
};

#endif // YMDATEPLANPROGRESSDATA_H
