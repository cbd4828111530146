#ifndef YMPIECEKEY_H
#define YMPIECEKEY_H

#include <QString>

// Reads the time of day out of a piece key "yyyy-MM-dd hh:mm:ss" without the
// general date-time parser, which costs tens of microseconds per key and a
// busy day has hundreds of thousands of keys. It accepts and rejects exactly
// what QDateTime::fromString with that format does: every field has its full
// width, a field may carry one leading '+', the date must exist (leap years of
// the proleptic Gregorian calendar, year 1 to 9999) and nothing may follow.
// Keys are local times; the rare day on which the local clocks change is
// handed to Qt's parser, which rejects the hour that the change skips.
class YmPieceKey
{
public:
    static constexpr int Invalid = -1;

    // Seconds since midnight, or Invalid when the key does not parse.
    static int secondsOfDay(const QString &key);
};

#endif // YMPIECEKEY_H
