#include "ymtimeofday.h"

namespace {

// The two ASCII digits at text[at], or -1.
int twoDigits(const QChar *text, int at)
{
    const ushort a = text[at].unicode();
    const ushort b = text[at + 1].unicode();
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return -1;
    return (a - '0') * 10 + (b - '0');
}

// Hours and minutes (and seconds when withSeconds) of the plain form, or an
// invalid time when the text is not of it.
QTime plainTime(const QString &text, bool withSeconds)
{
    if (text.size() != (withSeconds ? 8 : 5))
        return QTime();
    const QChar *p = text.constData();
    if (p[2] != QLatin1Char(':') || (withSeconds && p[5] != QLatin1Char(':')))
        return QTime();
    const int hour = twoDigits(p, 0);
    const int minute = twoDigits(p, 3);
    const int second = withSeconds ? twoDigits(p, 6) : 0;
    // Out of range (or no digits, -1) makes an invalid time, which Qt's
    // parser then judges.
    return QTime(hour, minute, second);
}

// Any other text goes to Qt's parser. It reads at most two characters per
// field and must use the whole text, so a longer or empty text cannot parse;
// and a list of periods tends to repeat one odd text (a missing field reads
// as empty), so the last answer is kept.
QTime qtTime(const QString &text, bool withSeconds)
{
    const int longest = withSeconds ? 8 : 5;
    if (text.isEmpty() || text.size() > longest)
        return QTime();
    thread_local QString lastText[2];
    thread_local QTime lastTime[2];
    QString &last = lastText[withSeconds];
    if (last.isNull() || last != text) {
        lastTime[withSeconds] = QTime::fromString(text, withSeconds ? QStringLiteral("HH:mm:ss")
                                                                    : QStringLiteral("HH:mm"));
        last = text;
    }
    return lastTime[withSeconds];
}

} // namespace

QTime YmTimeOfDay::fromLongText(const QString &text)
{
    const QTime plain = plainTime(text, true);
    return plain.isValid() ? plain : qtTime(text, true);
}

QTime YmTimeOfDay::fromShortText(const QString &text)
{
    const QTime plain = plainTime(text, false);
    return plain.isValid() ? plain : qtTime(text, false);
}

QString YmTimeOfDay::toShortText(const QTime &time)
{
    if (!time.isValid())
        return QString();
    const ushort text[] = {ushort('0' + time.hour() / 10), ushort('0' + time.hour() % 10), ':',
                           ushort('0' + time.minute() / 10), ushort('0' + time.minute() % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 5);
}
