#include "ympiecekey.h"

#include <QDateTime>

#include <cstring>

namespace {

// One field of the given width as the C locale reads an unsigned number: an
// optional '+' and then ASCII digits only. -1 when it is no number.
int readField(const QChar *text, int width)
{
    int i = text[0] == QLatin1Char('+') ? 1 : 0;
    if (i >= width)
        return -1;
    int value = 0;
    for (; i < width; ++i) {
        const ushort c = text[i].unicode();
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

int daysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
        return 29;
    return days[month - 1];
}

// Whether every time of the local day exists exactly once as it reads. Keys
// are local times: on a day when the clocks change, Qt rejects the skipped
// hour, so such a (rare) day is left to Qt's own parser. Keys of one day
// follow each other, so one remembered day answers nearly every call.
bool isRegularDay(int year, int month, int day)
{
    thread_local int cachedDay = -1;
    thread_local bool cachedRegular = true;
    const int dayKey = (year * 100 + month) * 100 + day;
    if (dayKey != cachedDay) {
        const QDate date(year, month, day);
        const QDateTime midnight(date, QTime(0, 0));
        cachedRegular
            = midnight.isValid()
              && midnight.secsTo(QDateTime(date.addDays(1), QTime(0, 0))) == qint64(24) * 3600;
        cachedDay = dayKey;
    }
    return cachedRegular;
}

} // namespace

int YmPieceKey::secondsOfDay(const QString &key)
{
    if (key.size() != 19)
        return Invalid;
    const QChar *p = key.constData();
    if (p[4] != QLatin1Char('-') || p[7] != QLatin1Char('-') || p[10] != QLatin1Char(' ')
        || p[13] != QLatin1Char(':') || p[16] != QLatin1Char(':'))
        return Invalid;
    const int year = readField(p, 4);
    const int month = readField(p + 5, 2);
    const int day = readField(p + 8, 2);
    const int hour = readField(p + 11, 2);
    const int minute = readField(p + 14, 2);
    const int second = readField(p + 17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0
        || minute > 59 || second < 0 || second > 59)
        return Invalid;
    if (day > daysInMonth(year, month))
        return Invalid;
    if (!isRegularDay(year, month, day)) {
        const QDateTime parsed = QDateTime::fromString(key, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        return parsed.isValid() ? parsed.time().msecsSinceStartOfDay() / 1000 : Invalid;
    }
    return hour * 3600 + minute * 60 + second;
}

int YmPieceKey::Reader::secondsOfDay(const QString &key)
{
    constexpr int datePart = 11;
    if (key.size() == 19 && !m_day.isEmpty()
        && memcmp(key.constData(), m_day.constData(), datePart * sizeof(QChar)) == 0) {
        // Plain two-digit fields only; anything else takes the full reading.
        const QChar *t = key.constData() + datePart;
        const auto digit = [t](int i) {
            const ushort c = t[i].unicode();
            return c >= '0' && c <= '9' ? int(c - '0') : -100;
        };
        const int hour = digit(0) * 10 + digit(1);
        const int minute = digit(3) * 10 + digit(4);
        const int second = digit(6) * 10 + digit(7);
        if (t[2] == QLatin1Char(':') && t[5] == QLatin1Char(':') && hour >= 0 && hour <= 23
            && minute >= 0 && minute <= 59 && second >= 0 && second <= 59)
            return hour * 3600 + minute * 60 + second;
    }
    const int seconds = YmPieceKey::secondsOfDay(key);
    // Only a day whose keys read as written is remembered (the full reading
    // hands a day of a clock change to Qt, and that must stay so).
    if (seconds != Invalid) {
        const QChar *p = key.constData();
        const int year = readField(p, 4);
        const int month = readField(p + 5, 2);
        const int day = readField(p + 8, 2);
        if (p[0] != QLatin1Char('+') && p[5] != QLatin1Char('+') && p[8] != QLatin1Char('+')
            && isRegularDay(year, month, day))
            m_day = key.left(datePart);
        else
            m_day.clear();
    }
    return seconds;
}
