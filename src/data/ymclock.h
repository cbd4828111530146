#ifndef YMCLOCK_H
#define YMCLOCK_H

#include <QDate>
#include <QDateTime>
#include <QTime>

// The one place the module reads the current time. The system clock by
// default; a host that simulates its workshop (or a test) installs its own
// source so that the clock in the band, the day progress and the day change
// all follow the same time.
class YmClock
{
public:
    using Source = QDateTime (*)(void *data);

    static QDateTime now();
    static QDate today() { return now().date(); }
    static QTime time() { return now().time(); }

    // A null source restores the system clock.
    static void setSource(Source source, void *data = nullptr);
    // Convenience for tests: a clock standing still at the given moment.
    // An invalid moment restores the system clock.
    static void setFixed(const QDateTime &moment);
};

#endif // YMCLOCK_H
