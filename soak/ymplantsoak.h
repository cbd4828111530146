#ifndef YMPLANTSOAK_H
#define YMPLANTSOAK_H

#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>

// A plant on one PostgreSQL server: four workshops, each with a producing
// host, and a second board (an office PC) beside the first two workshops
// where a second user edits the same plans, so that edits cross. Checks that
// every stored plan change is in the database exactly once and reaches the
// other board within a second, that every crossing edit is refused with a
// message rather than lost, and that every producing board's totals equal a
// recount from the server.
struct YmPlantSoakOptions
{
    QString target; // postgresql:// URL of the server's database
    int workshops = 4;
    int machines = 125; // per workshop
    QTime from = QTime(7, 0);
    int hours = 12;
    int stepSeconds = 30;
    int actionsPerHour = 60; // per user
    quint64 seed = 1;
};

struct YmPlantSoakResult
{
    int ticks = 0;
    int changes = 0;         // plan changes the users made
    int stored = 0;          // of those, stored and found in the database exactly once
    int refused = 0;         // refused because the other user changed the plan first
    int refusedReported = 0; // of those, told to the user
    int otherConflicts = 0;  // changes on a board the other user's change had not reached yet
    int liveChecks = 0;      // stored changes looked for on the other board
    int liveLate = 0;        // of those, not there within a second
    qint64 liveWorstMs = 0;
    int totalsChecks = 0, totalsMismatches = 0;
    qint64 piecesStored = 0;
    double seconds = 0;
    QStringList failures;

    bool ok() const { return failures.isEmpty(); }
    QStringList summary() const;
};

class YmPlantSoak
{
public:
    // Needs a QApplication.
    static YmPlantSoakResult run(const YmPlantSoakOptions &options,
                                 const std::function<void(const QString &)> &progress = {});
};

#endif // YMPLANTSOAK_H
