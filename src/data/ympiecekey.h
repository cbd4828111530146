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

    // The same for a run of keys, most of one day: a key whose date part is
    // the one the reader last saw on a regular day only has its time read.
    class Reader
    {
    public:
        int secondsOfDay(const QString &key);

    private:
        QString m_day; // "yyyy-MM-dd " of the last key read in full, on a regular day
    };
};

#endif // YMPIECEKEY_H
