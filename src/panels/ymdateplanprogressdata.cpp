#include "ymdateplanprogressdata.h"

#include "ymclock.h"
#include "ympiecekey.h"
#include "ymtimeofday.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kSecondsPerDay = 24 * 3600;

QString midnightText()
{
    return QStringLiteral("00:00:00");
}

int secondsOf(const QTime &time)
{
    return time.isValid() ? time.msecsSinceStartOfDay() / 1000 : YmPieceKey::Invalid;
}

// The text a parsed time of day has in timeFormat; empty when invalid.
QString canonicalTime(int seconds)
{
    if (seconds < 0 || seconds >= kSecondsPerDay)
        return QString();
    // Written out digit by digit: a rebuild calls this a few dozen times, and
    // a formatted print costs twenty times as much.
    const auto two = [](QChar *at, int value) {
        at[0] = QLatin1Char(char('0' + value / 10));
        at[1] = QLatin1Char(char('0' + value % 10));
    };
    QString text(8, QLatin1Char(':'));
    QChar *at = text.data();
    two(at, seconds / 3600);
    two(at + 3, seconds / 60 % 60);
    two(at + 6, seconds % 60);
    return text;
}

// Number of seconds s in [0, kSecondsPerDay) for which pred(canonicalTime(s))
// holds, for a predicate that holds on a prefix of the day (the canonical texts
// sort like the times they stand for).
template<typename Pred>
int prefixLength(Pred pred)
{
    int lo = 0;
    int hi = kSecondsPerDay;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (pred(canonicalTime(mid)))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// qRound without undefined behaviour for values an int cannot hold, which
// only nonsensical work minutes or planned totals produce.
int roundedCount(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return qRound(value);
}

} // namespace

YmDatePlanProgressData::YmDatePlanProgressData()
    : m_workStart(QStringLiteral("08:00:00"))
    , m_workEnd(QStringLiteral("18:00:00"))
    , m_workMinutes(600)
{}

bool YmDatePlanProgressData::takeWorkTimes(const QString &startTime, const QString &endTime,
                                           double workMinutes)
{
    const QString midnight = midnightText();
    if (startTime == midnight && endTime == midnight)
        return false;
    // Times that do not parse would leave the axis without a start or an end;
    // the day keeps its previous window instead.
    if (!YmTimeOfDay::fromLongText(startTime).isValid()
        || !YmTimeOfDay::fromLongText(endTime).isValid())
        return false;
    m_workStart = startTime;
    m_workEnd = endTime;
    m_workMinutes = workMinutes;
    return true;
}

void YmDatePlanProgressData::setDayData(const QVector<YmOrderRecord> &orderRows,
                                        const QVector<YmStopEntry> &stopList,
                                        const QString &startTime, const QString &endTime,
                                        double workMinutes)
{
    takeWorkTimes(startTime, endTime, workMinutes);
    m_stopList = stopList;
    rebuildAxis();
    m_hasRows = !orderRows.isEmpty();
    m_pieces.clear();
    quint32 planned = 0;
    YmPieceKey::Reader keys;
    for (const YmOrderRecord &row : orderRows) {
        for (auto it = row.pieces.cbegin(); it != row.pieces.cend(); ++it)
            m_pieces.append({keys.secondsOfDay(it.key()), it.value()});
        // The sum wraps like the int it is.
        planned += quint32(row.planned);
    }
    m_plannedTotal = int(planned);
    rebuildCounts();
}

void YmDatePlanProgressData::setClock(Clock clock, const void *context)
{
    m_clock = clock;
    m_clockContext = context;
}

QTime YmDatePlanProgressData::now() const
{
    return m_clock ? m_clock(m_clockContext) : YmClock::time();
}

void YmDatePlanProgressData::setWorkTime(const QString &startTime, const QString &endTime,
                                         double workMinutes)
{
    takeWorkTimes(startTime, endTime, workMinutes);
    rebuildAxis();
    rebuildCounts();
}

void YmDatePlanProgressData::appendAbsent(const QString &label)
{
    if (!m_axisLabels.contains(label))
        m_axisLabels.append(label);
}

void YmDatePlanProgressData::hourlyFill(const QTime &until)
{
    QTime c = YmTimeOfDay::fromShortText(m_axisLabels.constLast());
    // Invalid times compare and step as nothing; and an hour past 23:00 wraps
    // to the small hours, which are below every end again.
    if (!c.isValid() || !until.isValid())
        return;
    while (c < until) {
        appendAbsent(YmTimeOfDay::toShortText(c));
        if (c.msecsSinceStartOfDay() + 3600 * 1000 >= kSecondsPerDay * 1000)
            break;
        c = c.addSecs(3600);
    }
}

void YmDatePlanProgressData::rebuildAxis()
{
    m_stopMinutes = 0;
    m_axisLabels.clear();
    m_stopStartNames.clear();
    m_stopEndNames.clear();
    m_stopSeconds.clear();
    QVector<YmDayForecast::Interval> stops;

    m_axisLabels.append(YmTimeOfDay::toShortText(YmTimeOfDay::fromLongText(m_workStart)));

    for (const YmStopEntry &stop : qAsConst(m_stopList)) {
        const QString &name = stop.name;
        const QString &s = stop.start;
        const QString &e = stop.end;
        const QTime ts = YmTimeOfDay::fromLongText(s);
        const QTime te = YmTimeOfDay::fromLongText(e);
        // A stop without a readable start or end has no place on the axis.
        if (!ts.isValid() || !te.isValid())
            continue;
        // Counted in whole minutes; a stop's leftover seconds are dropped.
        const int minutes = ts.secsTo(te) / 60;
        m_stopMinutes += minutes;
        stops.append({secondsOf(ts), secondsOf(te)});
        if (!(s < m_workEnd) || e < m_workStart)
            continue;
        const QString hs = YmTimeOfDay::toShortText(ts);
        const QString he = YmTimeOfDay::toShortText(te);
        m_stopStartNames[hs] = name;
        m_stopEndNames[he] = name;
        m_stopSeconds[hs] = ts.secsTo(te);
        if (s < m_workStart && m_workStart < e) {
            appendAbsent(he);
        } else if (m_workStart < s) {
            hourlyFill(ts);
            appendAbsent(hs);
            appendAbsent(he);
        }
    }
    hourlyFill(YmTimeOfDay::fromLongText(m_workEnd));
    appendAbsent(YmTimeOfDay::toShortText(YmTimeOfDay::fromLongText(m_workEnd)));
    indexLabels();
    m_forecast.setWorkDay(secondsOf(YmTimeOfDay::fromLongText(m_workStart)),
                          secondsOf(YmTimeOfDay::fromLongText(m_workEnd)), stops);
}

void YmDatePlanProgressData::indexLabels()
{
    const int n = m_axisLabels.size();
    m_labelSeconds.resize(n);
    m_sortedSeconds.clear();
    for (int j = 0; j < n; ++j) {
        m_labelSeconds[j] = secondsOf(YmTimeOfDay::fromShortText(m_axisLabels.at(j)));
        if (j >= 1)
            m_sortedSeconds.append(m_labelSeconds.at(j));
    }
    std::sort(m_sortedSeconds.begin(), m_sortedSeconds.end());
    m_sortedSeconds.erase(std::unique(m_sortedSeconds.begin(), m_sortedSeconds.end()),
                          m_sortedSeconds.end());
    m_labelPosition.fill(0, n);
    for (int j = 1; j < n; ++j)
        m_labelPosition[j] = bucketOf(m_labelSeconds.at(j));
}

int YmDatePlanProgressData::bucketOf(int seconds) const
{
    return int(std::lower_bound(m_sortedSeconds.cbegin(), m_sortedSeconds.cend(), seconds)
               - m_sortedSeconds.cbegin());
}

void YmDatePlanProgressData::rebuildCounts()
{
    m_plannedAt.clear();
    m_doneAt.clear();

    const int n = m_axisLabels.size();
    const int buckets = m_sortedSeconds.size() + 1;
    m_recordBuckets.fill(0, buckets);
    m_recordTotal = 0;
    // Up to a few thousand pieces (most days, and every empty one) the
    // forecast's tree takes one update per piece; past that one linear pass
    // over the day's seconds is cheaper.
    const bool fewPieces = m_pieces.size() < YmDayForecast::SecondsPerDay / 32;
    QVector<qint64> perSecond(fewPieces ? 0 : YmDayForecast::SecondsPerDay, 0);
    QVector<qint64> windowBuckets(buckets, 0);
    int firstWindowBucket = buckets;
    qint64 done = 0;

    // Pieces inside the working time, compared as texts like the work times
    // are: a parsed time of day is inside for seconds in [inFrom, inTo), an
    // unparsable key (an empty text) only when the start is empty.
    const QString workStart = m_workStart;
    const QString workEnd = m_workEnd;
    const int inFrom = prefixLength([&](const QString &t) { return t < workStart; });
    const int inTo = prefixLength([&](const QString &t) { return !(workEnd < t); });
    const bool invalidInside = !(workEnd < QString()) && !(QString() < workStart);

    for (const QPair<int, int> &piece : qAsConst(m_pieces)) {
        const int t = piece.first;
        const int bucket = bucketOf(t);
        m_recordBuckets[bucket] += piece.second;
        m_recordTotal += piece.second;
        if (t >= 0 && !fewPieces)
            perSecond[t] += piece.second;
        const bool inside = t < 0 ? invalidInside : (t >= inFrom && t < inTo);
        if (inside) {
            done += piece.second;
            windowBuckets[bucket] += piece.second;
            firstWindowBucket = qMin(firstWindowBucket, bucket);
        }
    }
    const int plannedTotal = int(m_plannedTotal);

    // A label counts every piece up to its time. The first label not earlier
    // than now holds the whole day's count instead (each row sets it last).
    qint64 running = 0;
    QVector<qint64> cumulative(buckets);
    for (int b = 0; b < buckets; ++b)
        cumulative[b] = running += windowBuckets.at(b);
    int nowLabel = -1;
    if (m_hasRows) {
        const int nowMs = now().msecsSinceStartOfDay();
        for (int j = 1; j < n && nowLabel < 0; ++j) {
            if (m_labelSeconds.at(j) >= 0 && qint64(m_labelSeconds.at(j)) * 1000 >= nowMs)
                nowLabel = j;
        }
    }
    for (int j = 1; j < n; ++j) {
        const int position = m_labelPosition.at(j);
        if (j == nowLabel)
            m_doneAt.insert(m_axisLabels.at(j), int(done));
        else if (firstWindowBucket <= position)
            m_doneAt.insert(m_axisLabels.at(j), int(cumulative.at(position)));
    }

    m_forecast.setPieces(perSecond);
    if (fewPieces) {
        for (const QPair<int, int> &piece : qAsConst(m_pieces))
            m_forecast.addPieces(piece.first, piece.second);
    }
    if (plannedTotal == 0)
        return;
    const double secondsPerPiece = (m_workMinutes - m_stopMinutes) * 60 / plannedTotal;
    const QTime start = YmTimeOfDay::fromLongText(m_workStart);
    qint64 stoppedBefore = 0; // stop seconds of earlier labels that are no stop end
    for (int j = 1; j < n; ++j) {
        const QString &label = m_axisLabels.at(j);
        const bool stopEnd = m_stopEndNames.contains(label);
        if (stopEnd) {
            m_plannedAt.insert(label, m_plannedAt.value(m_axisLabels.at(j - 1), 0));
        } else {
            const QTime at = YmTimeOfDay::fromShortText(label);
            const qint64 elapsed = start.secsTo(at) - stoppedBefore;
            m_plannedAt.insert(
                label, secondsPerPiece == 0 ? 0 : roundedCount(double(elapsed) / secondsPerPiece));
            const auto stop = m_stopSeconds.constFind(label);
            if (stop != m_stopSeconds.cend())
                stoppedBefore += stop.value();
        }
    }
    // doneAt as set here stands until the next process report.
}

void YmDatePlanProgressData::addPieces(const QVector<QPair<QString, int>> &pieces)
{
    if (m_recordBuckets.size() != m_sortedSeconds.size() + 1)
        m_recordBuckets.resize(m_sortedSeconds.size() + 1);
    for (const QPair<QString, int> &piece : pieces) {
        const int t = YmPieceKey::secondsOfDay(piece.first);
        m_pieces.append({t, piece.second});
        m_recordBuckets[bucketOf(t)] += piece.second;
        m_recordTotal += piece.second;
        m_forecast.addPieces(t, piece.second);
    }
    publishRecordCounts();
}

void YmDatePlanProgressData::publishRecordCounts()
{
    m_doneAt.clear();
    const int n = m_axisLabels.size();
    QVector<qint64> cumulative(m_recordBuckets.size());
    qint64 running = 0;
    for (int b = 0; b < m_recordBuckets.size(); ++b)
        cumulative[b] = running += m_recordBuckets.at(b);
    // Labels still ahead of now show everything recorded so far.
    const int now = secondsOf(this->now());
    for (int j = 1; j < n; ++j) {
        const qint64 count
            = now < m_labelSeconds.at(j) ? m_recordTotal : cumulative.at(m_labelPosition.at(j));
        m_doneAt.insert(m_axisLabels.at(j), int(count));
    }
}

QMap<QString, double> YmDatePlanProgressData::percentValues(const QTime &now) const
{
    QMap<QString, double> values;
    const int nowMs = now.msecsSinceStartOfDay();
    for (int j = 1; j < m_axisLabels.size(); ++j) {
        const QString &label = m_axisLabels.at(j);
        if (qint64(m_labelSeconds.at(j)) * 1000 > nowMs)
            break;
        if (m_stopEndNames.contains(label)) {
            values.insert(label, values.value(m_axisLabels.at(j - 1), 0));
            continue;
        }
        const int planned = m_plannedAt.value(label, 0);
        if (planned != 0)
            values.insert(label, m_doneAt.value(label, 0) * 100.0 / planned);
    }
    return values;
}

YmDayForecast::Result YmDatePlanProgressData::forecast(const QTime &now) const
{
    return m_forecast.forecast(m_plannedTotal, secondsOf(now));
}
