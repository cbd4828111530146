#ifndef YMWORKSHOPHOST_H
#define YMWORKSHOPHOST_H

#include "ymhostrecords.h"
#include "ymworkshopclock.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantList>

#include <memory>

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

    // What the board's callbacks do.
    void queryPlans(const QString &date);
    void addPlan(const QString &date, const QString &planName, const QString &fileName,
                 const QMap<QString, int> &macCounts, int notifyPercent);
    void editPlan(const QString &date, const QString &oldPlanName, const QString &newPlanName,
                  const QString &oldFileName, const QString &newFileName,
                  const QMap<QString, int> &macCounts, int notifyPercent);
    void deletePlan(const QString &date, const QString &planName);
    void editStopPeriods();
    void editWorkHours();
    void dayChanged();
    void saveSetting(const QString &key, const QString &value);

signals:
    // Problems worth telling the user (bad input from the board, failed writes).
    void problem(const QString &text);

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
    QDate parseDate(const QString &date);
    QMap<QString, int> checkedCounts(const QMap<QString, int> &macCounts);
    void report(const QString &text);
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
};

#endif // YMWORKSHOPHOST_H
