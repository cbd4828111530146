#ifndef YMCLOCK_H
#define YMCLOCK_H

#include <QDate>
#include <QDateTime>
#include <QTime>

class QObject;

// Where the module reads the current time. Each board has its own source (a
// host that simulates its workshop installs one), attached to its top-level
// windows, so that two boards in one process keep their own clocks; a window
// with no source of its own, and code outside any window, read the process
// clock: the system clock, or a moment a test fixed.
class YmClock
{
public:
    using Source = QDateTime (*)(void *data);

    // The process clock.
    static QDateTime now();
    static QDate today() { return now().date(); }
    static QTime time() { return now().time(); }
    // A null source restores the system clock.
    static void setSource(Source source, void *data = nullptr);
    // Convenience for tests: a clock standing still at the given moment.
    // An invalid moment restores the system clock.
    static void setFixed(const QDateTime &moment);

    // The clock of the board that object belongs to (found through its
    // top-level window), or the process clock.
    static QDateTime now(const QObject *object);
    static QDate today(const QObject *object) { return now(object).date(); }
    static QTime time(const QObject *object) { return now(object).time(); }
    // Gives the top-level window of object its own source; a null source takes
    // it back to the process clock. The source goes with the window.
    static void setSource(QObject *window, Source source, void *data);
    // Makes window read the same source as the window of board.
    static void share(const QObject *board, QObject *window);
};

#endif // YMCLOCK_H
