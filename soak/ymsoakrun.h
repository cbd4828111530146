#ifndef YMSOAKRUN_H
#define YMSOAKRUN_H

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>

// A long, fast run of the reference host on a large workshop with a user
// clicking around in the plan window, and the checks that nothing was lost:
// every plan change the user made is stored exactly once, the board's totals
// equal a recount from the database, and memory stays flat.
struct YmSoakOptions
{
    QString dbPath;     // empty: a new file in a temporary folder
    int machines = 500; // seeded into a new database
    QDate day;          // invalid: today
    QTime from = QTime(0, 0);
    int hours = 24;          // simulated hours from `from`, at most to the day's end
    int stepSeconds = 30;    // simulated seconds per host tick
    int actionsPerHour = 60; // user actions in the plan window per simulated hour
    quint64 seed = 1;
};

struct YmSoakHour
{
    QTime at;          // simulated time of the sample
    qint64 rssKb = 0;  // resident memory of the process
    qint64 pieces = 0; // pieces stored for the day so far
    int actions = 0;   // user actions so far
    bool totalsOk = false;
};

struct YmSoakResult
{
    int ticks = 0;
    int actions = 0; // every user action in the plan window
    int adds = 0, edits = 0, deletes = 0, refusedAdds = 0, dateChanges = 0, groupingChanges = 0;
    int planCallbacks = 0;  // add/edit/delete callbacks the host received
    int queryCallbacks = 0; // date queries the host answered
    int settingCallbacks = 0;
    int changesMade = 0;  // adds, edits and deletes the host should store
    int changesFound = 0; // of those, found in the database right after, exactly once
    int refusedFound = 0; // refused adds that nevertheless changed the database (must be 0)
    int windowChecks = 0, windowMismatches = 0;
    int totalsChecks = 0, totalsMismatches = 0;
    qint64 boardPlanned = 0, boardCompleted = 0, dbPlanned = 0, dbCompleted = 0;
    qint64 piecesStored = 0;
    bool finalStateOk = false; // every touched day equals its log replayed on the start
    bool settingsOk = false;   // the plan window's last grouping is what is stored
    qint64 rssStartKb = 0, rssEndKb = 0;
    qint64 rssEveningGrowthKb = 0; // growth over the hours after production stopped
    QList<YmSoakHour> hours;
    QStringList failures;
    double seconds = 0;

    bool ok() const { return failures.isEmpty(); }
    // The figures, one per line, as run-soak prints them.
    QStringList summary() const;
};

class YmSoakRun
{
public:
    // Needs a QApplication (offscreen is fine). `progress` hears one line per
    // simulated hour.
    static YmSoakResult run(const YmSoakOptions &options,
                            const std::function<void(const QString &)> &progress = {});
    // Resident set size of this process in KiB (0 where unknown).
    static qint64 residentKb();
};

#endif // YMSOAKRUN_H
