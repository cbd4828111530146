#ifndef YMTIMEOFDAY_H
#define YMTIMEOFDAY_H

#include <QString>
#include <QTime>

// Reads the work times and axis labels ("HH:mm:ss", "HH:mm") as
// QTime::fromString does, without building Qt's general date-time parser for
// every text: that parser is the most expensive part of laying out a day with
// many stop periods. A text of the plain form (two-digit fields in range) is
// read directly; anything else is handed to Qt, so the answers are Qt's.
class YmTimeOfDay
{
public:
    // QTime::fromString(text, "HH:mm:ss").
    static QTime fromLongText(const QString &text);
    // QTime::fromString(text, "HH:mm").
    static QTime fromShortText(const QString &text);
    // time.toString("HH:mm"): empty for an invalid time.
    static QString toShortText(const QTime &time);
};

#endif // YMTIMEOFDAY_H
