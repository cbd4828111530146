#ifndef YMHOSTDATABASE_H
#define YMHOSTDATABASE_H

#include "ymhostrecords.h"

#include <QDate>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QTime>
#include <QVariant>

#include <functional>

// The reference host's storage: one SQLite file (or an in-memory database)
// holding the machines, the plans of every day, every produced piece, the stop
// periods, the work hours and the plan window's saved settings. Every write
// runs in its own transaction, so a failed write leaves what was stored.
class YmHostDatabase
{
public:
    enum class Status {
        Ok,
        MissingFolder, // the folder of the file does not exist
        NotADatabase,  // corrupt, or a file of something else
        ReadOnly,      // the file or its folder cannot be written
        NewerSchema,   // written by a newer host
        Failed,        // driver missing or another open failure
    };

    static constexpr int kSchemaVersion = 1;

    YmHostDatabase();
    ~YmHostDatabase();
    YmHostDatabase(const YmHostDatabase &) = delete;
    YmHostDatabase &operator=(const YmHostDatabase &) = delete;

    // Opens (creating the schema in a new file) and checks the file; ":memory:"
    // gives a database that lives as long as this object.
    Status open(const QString &path);
    QString errorText() const { return m_error; }
    // The process exit code that reports a failed open.
    static int exitCode(Status status);

    // A believable workshop for a database without machines: 24 machines in 4
    // groups, 8 plans on 4 files for `day`, a lunch stop, 08:00 to 18:00.
    bool seedIfEmpty(const QDate &day);
    // The first time a day is loaded as today and has no plans, the plans of
    // the latest earlier day are carried over, as unfinished orders would be.
    bool prepareDay(const QDate &day);

    QList<YmMachineRecord> machines() const;
    // In plan order (the order plans were added), rows of a plan by machine.
    QList<YmPlanRecord> plans(const QDate &day) const;
    bool hasPlan(const QDate &day, const QString &planName) const;
    bool addPlan(const QDate &day, const QString &planName, const QString &fileName,
                 const QMap<QString, int> &macCounts, int notifyPercent);
    bool editPlan(const QDate &day, const QString &oldPlanName, const QString &newPlanName,
                  const QString &newFileName, const QMap<QString, int> &macCounts,
                  int notifyPercent);
    bool deletePlan(const QDate &day, const QString &planName);

    // Stores pieces and, in the same transaction, a progress mark (the host's
    // "produced up to" of the day) so that a restart neither loses nor repeats.
    bool storePieces(const QList<YmPieceRecord> &pieces, const QString &markKey = QString(),
                     const QString &markValue = QString());
    // The day's pieces produced at or before upTo (the whole day when invalid),
    // in time order.
    QList<YmPieceRecord> pieces(const QDate &day, const QTime &upTo = QTime()) const;

    QList<YmStopPeriod> stopPeriods() const;
    bool setStopPeriods(const QList<YmStopPeriod> &periods);
    QTime workStart() const;
    QTime workEnd() const;
    bool setWorkHours(const QTime &start, const QTime &end);

    // The plan window's settings, and the host's own bookkeeping.
    QString setting(const QString &key, const QString &fallback = QString()) const;
    bool setSetting(const QString &key, const QString &value);
    QString hostState(const QString &key) const;
    bool setHostState(const QString &key, const QString &value);

private:
    bool exec(const QString &sql, const QVariantList &values = {});
    bool inTransaction(const std::function<bool()> &work);
    bool createSchema();
    bool insertPlanRows(const QDate &day, int seq, const QString &planName, const QString &fileName,
                        const QMap<QString, int> &macCounts, int notifyPercent);
    int planSeq(const QDate &day, const QString &planName) const;
    Status fail(Status status, const QString &text);

    QString m_connection;
    QSqlDatabase m_db;
    QString m_error;
};

#endif // YMHOSTDATABASE_H
