#ifndef YMWORKSHOPHOST_H
#define YMWORKSHOPHOST_H

#include "ymhostrecords.h"
#include "ymworkshopclock.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVariantList>

#include <memory>

class QLabel;
class YmHostDatabase;
class YmReplayFeed;
class YmWorkshopManage;
class YmWorkshopSimulator;

// The reference host: keeps the workshop in its database, runs the workshop
// clock with a simulation (or a replay) that produces pieces, reports them to
// the board as a collector would, and answers every callback of the board.
class YmWorkshopHost : public QObject
{
    Q_OBJECT

public:
    // Registers itself as the board's context, callbacks and time source.
    YmWorkshopHost(YmHostDatabase *db, YmWorkshopManage *board, QObject *parent = nullptr);
    ~YmWorkshopHost() override;

    // Production comes from a simulation with this seed (the default) ...
    void useSimulation(quint64 seed);
    // ... or from a CSV file; false when the file cannot be read. Malformed
    // lines are skipped and reported.
    bool useReplay(const QString &path, const QDate &day, QStringList *problems);
    QDateTime firstReplayEvent() const;
    // ... or from another host of the workshop: this one only shows the
    // board and takes plan changes (a second screen, an office PC).
    void useNoProduction();

    // Starts the clock at `from` (`speed` simulated seconds per real second),
    // produces the day up to `from` at once, and pushes the day to the board.
    void begin(const QDateTime &from, double speed);
    // Lets the workshop catch up with the clock: stores what it produced and
    // tells the board. Called by the timer that start() runs.
    void tick();
    void start(int intervalMs = 250);

    QDateTime now() const { return m_clock.now(); }
    // Tests and tools move the clock by hand; tick() then catches up.
    YmWorkshopClock &clock() { return m_clock; }
    QDate today() const { return m_day; }

    // Order rows of a day as the board takes them (today up to the clock).
    QVariantList orderRows(const QDate &day) const;
    // planData of the full load: today's order rows and the three settings of
    // the plan window as last saved.
    QVariantList planData() const;
    // The full load of the current day: plans, machines, stops, work hours.
    void pushToday();
    // How far the stored production of day goes (invalid when none is
    // stored): the clock cannot start earlier without freezing the board.
    QTime storedUntil(const QDate &day) const;

    // With a screen, a change the user made that cannot be stored is also
    // told in a message box (off by default: tests and tools only get problem()).
    void setWarnUser(bool warn) { m_warnUser = warn; }

    // While the database server cannot be reached the board keeps showing the
    // last data with a banner saying so, production waits in memory (up to
    // pendingLimit() pieces, then the workshop's clock holds) and plan
    // changes are refused; reconnection is tried with a growing pause.
    static constexpr int kMaxPendingPieces = 200000;
    int pendingLimit() const { return m_pendingLimit; }
    void setPendingLimit(int pieces) { m_pendingLimit = qMax(0, pieces); }
    bool isOffline() const { return m_offline; }
    int pendingPieces() const { return m_pendingCount; }
    // Tries to reconnect now instead of after the pause (tests, tools).
    void retryConnection();

    // What the board's callbacks do. The plan changes return whether the
    // change was stored; either way the board gets the day as stored.
    void queryPlans(const QString &date);
    bool addPlan(const QString &date, const QString &planName, const QString &fileName,
                 const QMap<QString, int> &macCounts, int notifyPercent);
    bool editPlan(const QString &date, const QString &oldPlanName, const QString &newPlanName,
                  const QString &oldFileName, const QString &newFileName,
                  const QMap<QString, int> &macCounts, int notifyPercent);
    bool deletePlan(const QString &date, const QString &planName);
    void editStopPeriods();
    void editWorkHours();
    void dayChanged();
    void saveSetting(const QString &key, const QString &value);

signals:
    // Problems worth telling the user (bad input from the board, failed writes).
    void problem(const QString &text);
    // A change the user asked for was refused; text says why, in the board's
    // language, and the plan window is then given the stored day again.
    void changeRefused(const QString &text);

private:
    using PieceMap = QMap<QString, int>;

    void switchDay(const QDate &day);
    void loadDay();
    void updateSourceJobs();
    void runSource(const QDateTime &until, bool tellBoard);
    bool storeBatch(const YmProductionBatch &batch, const QDateTime &position);
    void tellBoard(const YmProductionBatch &batch);
    QVariantList processOf(const QString &macKey, const QMap<QString, PieceMap> &fresh) const;
    void answerPlanChange(const QDate &day);
    void planChangedElsewhere(const QDate &day);
    // Whether a failure came from a lost server connection; goes offline if so.
    bool checkConnection();
    void goOffline();
    void showOfflineBanner(bool shown);
    int shownVersion(const QDate &day, const QString &planName) const;
    // The message of a refused plan change: a conflict with another board, or `failure`.
    // What a refused change leaves as it was, for the message box's first line.
    enum class Kept { Plan, Settings };
    void refuseConflictOr(const QString &failure, const QString &userFailure);
    // Why the last write failed, for the user: "(...)" in the board's language.
    QString writeFailureText() const;
    // Refuses (and says why) a plan the board's checks let through; false when
    // it may be stored.
    bool refusePlan(const QDate &day, const QString &name, const QString &fileName,
                    const QMap<QString, int> &counts, int tooLarge, int notifyPercent,
                    const QString &oldName);
    bool refuseWhileOffline(const QString &what, Kept kept = Kept::Plan);
    QDate parseDate(const QString &date);
    // The known machines with a quantity; tooLarge gets a quantity above the
    // maximum (0 when none is), which refuses the whole plan.
    QMap<QString, int> checkedCounts(const QMap<QString, int> &macCounts, int *tooLarge);
    void report(const QString &text);
    // A user's change the database refused: problem() and, if wanted, a box.
    void refuseChange(const QString &text, const QString &userText, Kept kept = Kept::Plan);
    int stateOf(const QString &macKey) const;

    YmHostDatabase *m_db;
    YmWorkshopManage *m_board;
    YmWorkshopClock m_clock;
    QTimer m_timer;
    std::unique_ptr<YmWorkshopSimulator> m_simulator;
    std::unique_ptr<YmReplayFeed> m_replay;

    QDate m_day;
    QList<YmMachineRecord> m_machines;
    QList<YmPlanRecord> m_plans;
    QHash<QString, QMap<QString, PieceMap>> m_pieces; // machine -> file -> today's pieces
    QHash<QString, int> m_states;
    QDateTime m_storedUntil; // when the day's production was last saved
    bool m_warnUser = false;
    QString m_storeProblem; // the failure of storing production last reported
    QDate m_queriedDay;     // the day the plan window last asked for
    // Per day the version of every plan as the board was last given it: a
    // change the user makes is a change of that version.
    mutable QHash<QDate, QHash<QString, int>> m_shownVersions;

    struct Pending
    {
        QList<YmPieceRecord> pieces;
        QString markKey;
        QString markValue;
        bool uncertain = false; // its commit failed with the connection: may be stored
    };
    void keepPending(const QList<YmPieceRecord> &pieces, const QString &key, const QString &value,
                     bool uncertain);
    bool m_offline = false;
    QList<Pending> m_pending; // production not yet stored, per day, in order
    int m_pendingCount = 0;
    int m_pendingLimit = kMaxPendingPieces;
    bool m_pendingFullTold = false;
    QTimer m_reconnectTimer;
    int m_reconnectDelayMs = 0;
    QPointer<QLabel> m_offlineBanner;
    // What the board was last given besides plans, kept for a server that is away.
    mutable QVariantList m_planSettings;
    QVariantList m_stopList;
    QTime m_workStart;
    QTime m_workEnd;
};

#endif // YMWORKSHOPHOST_H
