#include "ymhostdatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kTimeFormat = QStringLiteral("HH:mm:ss");
const QString kDefaultStart = QStringLiteral("08:00:00");
const QString kDefaultEnd = QStringLiteral("18:00:00");

QString dayText(const QDate &day)
{
    return day.toString(kDateFormat);
}

} // namespace

YmHostDatabase::YmHostDatabase()
{
    static std::atomic<int> counter{0};
    m_connection = QStringLiteral("ymhost-%1").arg(++counter);
}

YmHostDatabase::~YmHostDatabase()
{
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

int YmHostDatabase::exitCode(Status status)
{
    switch (status) {
    case Status::Ok:
        return 0;
    case Status::MissingFolder:
        return 3;
    case Status::NotADatabase:
        return 4;
    case Status::ReadOnly:
        return 5;
    case Status::NewerSchema:
        return 6;
    case Status::Failed:
        break;
    }
    return 7;
}

YmHostDatabase::Status YmHostDatabase::fail(Status status, const QString &text)
{
    m_error = text;
    if (m_db.isOpen())
        m_db.close();
    return status;
}

QString YmHostDatabase::fileIdentity(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    return QStringLiteral("%1:%2").arg(quint64(info.st_dev)).arg(quint64(info.st_ino));
#else
    // Windows refuses to remove or rename a file SQLite holds open.
    return QFileInfo::exists(path) ? QStringLiteral("present") : QString();
#endif
}

bool YmHostDatabase::fileUsable()
{
    if (m_path.isEmpty())
        return true;
    const QString identity = fileIdentity(m_path);
    if (identity != m_identity) {
        m_error = QStringLiteral("the database file %1 was removed or replaced while the host "
                                 "was running; nothing is written to it (restore the file or "
                                 "restart the host)")
                      .arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    if (!QFileInfo(m_path).isWritable()) {
        m_error = QStringLiteral("the database %1 became read-only; nothing is written to it")
                      .arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    return true;
}

YmHostDatabase::Status YmHostDatabase::open(const QString &path)
{
    m_path.clear();
    const Status status = openFile(path);
    if (status == Status::Ok && path != QLatin1String(":memory:")) {
        m_path = QFileInfo(path).absoluteFilePath();
        m_identity = fileIdentity(m_path);
    }
    return status;
}

YmHostDatabase::Status YmHostDatabase::openFile(const QString &path)
{
    const bool inMemory = path == QLatin1String(":memory:");
    if (!inMemory) {
        const QFileInfo file(path);
        const QFileInfo folder(file.absolutePath());
        if (!folder.exists() || !folder.isDir())
            return fail(Status::MissingFolder,
                        QStringLiteral("the database folder %1 does not exist")
                            .arg(QDir::toNativeSeparators(file.absolutePath())));
        if (file.exists() && !file.isFile())
            return fail(Status::NotADatabase,
                        QStringLiteral("%1 is not a database file").arg(path));
        // SQLite writes a journal beside the file, so the folder must be writable too.
        if ((file.exists() && !file.isWritable()) || !folder.isWritable())
            return fail(Status::ReadOnly, QStringLiteral("the database %1 is read-only").arg(path));
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(Status::Failed,
                    QStringLiteral("the Qt SQLite driver is missing (package libqt5sql5-sqlite)"));

    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    m_db.setDatabaseName(path);
    if (!m_db.open())
        return fail(
            Status::Failed,
            QStringLiteral("cannot open the database %1: %2").arg(path, m_db.lastError().text()));

    // A damaged or foreign file opens fine; the first read tells.
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("PRAGMA quick_check")) || !probe.next())
        return fail(Status::NotADatabase,
                    QStringLiteral("%1 is not a readable workshop database (corrupt?): %2")
                        .arg(path, probe.lastError().databaseText()));
    const QString check = probe.value(0).toString();
    if (check != QLatin1String("ok"))
        return fail(
            Status::NotADatabase,
            QStringLiteral("%1 is not a readable workshop database (corrupt?): %2")
                .arg(path, check.split(QLatin1Char('\n')).mid(0, 3).join(QStringLiteral("; "))));
    if (!probe.exec(QStringLiteral("PRAGMA user_version")) || !probe.next())
        return fail(Status::NotADatabase,
                    QStringLiteral("%1: cannot read the schema version").arg(path));
    const int version = probe.value(0).toInt();
    if (version > kSchemaVersion)
        return fail(Status::NewerSchema,
                    QStringLiteral("%1 has schema version %2; this host knows up to %3")
                        .arg(path)
                        .arg(version)
                        .arg(kSchemaVersion));
    if (version == 0) {
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !probe.next())
            return fail(Status::NotADatabase, QStringLiteral("%1 cannot be read").arg(path));
        if (probe.value(0).toInt() > 0)
            return fail(Status::NotADatabase,
                        QStringLiteral("%1 is a database of another application").arg(path));
        probe.finish();
        if (!createSchema()) {
            const bool readOnly = m_error.contains(QLatin1String("readonly"))
                                  || m_error.contains(QLatin1String("read-only"));
            return fail(readOnly ? Status::ReadOnly : Status::Failed,
                        QStringLiteral("cannot create the schema in %1: %2").arg(path, m_error));
        }
        return Status::Ok;
    }
    probe.finish();
    // Catches what the permissions do not show (a read-only mount, a locked file).
    if (!setHostState(QStringLiteral("openedAt"),
                      QDateTime::currentDateTime().toString(Qt::ISODate))) {
        const QString why = m_error;
        return fail(Status::ReadOnly,
                    QStringLiteral("the database %1 cannot be written: %2").arg(path, why));
    }
    return Status::Ok;
}

bool YmHostDatabase::exec(const QString &sql, const QVariantList &values)
{
    QSqlQuery query(m_db);
    if (!query.prepare(sql)) {
        m_error = query.lastError().text();
        return false;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return false;
    }
    return true;
}

bool YmHostDatabase::inTransaction(const std::function<bool()> &work)
{
    if (!m_db.isOpen()) {
        m_error = QStringLiteral("the database is not open");
        return false;
    }
    if (!fileUsable())
        return false;
    m_error.clear();
    if (!m_db.transaction()) {
        m_error = m_db.lastError().text();
        return false;
    }
    if (work() && m_db.commit())
        return true;
    if (m_error.isEmpty())
        m_error = m_db.lastError().text();
    m_db.rollback();
    if (m_error.contains(QLatin1String("readonly")) || m_error.contains(QLatin1String("read-only")))
        m_error = QStringLiteral("the database %1 is read-only: %2")
                      .arg(m_path.isEmpty() ? QStringLiteral(":memory:")
                                            : QDir::toNativeSeparators(m_path),
                           m_error);
    return false;
}

bool YmHostDatabase::createSchema()
{
    const QStringList statements = {
        QStringLiteral("CREATE TABLE machines (mac_key TEXT PRIMARY KEY, name TEXT NOT NULL, "
                       "group_name TEXT NOT NULL, cycle_seconds INTEGER NOT NULL DEFAULT 60, "
                       "sort_order INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE TABLE plans (id INTEGER PRIMARY KEY, plan_date TEXT NOT NULL, "
                       "seq INTEGER NOT NULL, plan_name TEXT NOT NULL, file_name TEXT NOT NULL, "
                       "mac_key TEXT NOT NULL REFERENCES machines(mac_key), "
                       "planned INTEGER NOT NULL, notify_percent INTEGER NOT NULL DEFAULT 0, "
                       "UNIQUE (plan_date, plan_name, mac_key))"),
        QStringLiteral("CREATE INDEX plans_by_date ON plans (plan_date, seq)"),
        QStringLiteral("CREATE TABLE pieces (id INTEGER PRIMARY KEY, mac_key TEXT NOT NULL, "
                       "file_name TEXT NOT NULL, produced_at TEXT NOT NULL, "
                       "quantity INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX pieces_by_time ON pieces (produced_at)"),
        QStringLiteral("CREATE TABLE stop_periods (id INTEGER PRIMARY KEY, name TEXT NOT NULL, "
                       "start_time TEXT NOT NULL, end_time TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE work_hours (id INTEGER PRIMARY KEY CHECK (id = 1), "
                       "start_time TEXT NOT NULL, end_time TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE plan_settings (setting_key TEXT PRIMARY KEY, "
                       "value TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE host_state (state_key TEXT PRIMARY KEY, value TEXT NOT NULL)"),
        QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion),
    };
    return inTransaction([&] {
        for (const QString &sql : statements) {
            if (!exec(sql))
                return false;
        }
        return true;
    });
}

bool YmHostDatabase::seedIfEmpty(const QDate &day, int machineCount)
{
    QSqlQuery count(m_db);
    if (!count.exec(QStringLiteral("SELECT count(*) FROM machines")) || !count.next())
        return false;
    if (count.value(0).toInt() > 0)
        return true;
    count.finish();

    // A new workshop is named in the language the host runs in.
    const QStringList halls = {QCoreApplication::translate("YmHostDatabase", "注塑车间"),
                               QCoreApplication::translate("YmHostDatabase", "冲压车间"),
                               QCoreApplication::translate("YmHostDatabase", "机加车间"),
                               QCoreApplication::translate("YmHostDatabase", "装配车间")};
    const QStringList hallFiles = {QStringLiteral("HX-1020"), QStringLiteral("BK-2031"),
                                   QStringLiteral("ZJ-0450"), QStringLiteral("DG-7788")};
    const int notify[8] = {90, 95, 80, 0, 90, 60, 95, 85};
    const int machinesWanted = qBound(1, machineCount, kMaxSeedMachines);
    // Six machines a group in the small workshop, about a dozen in a large one.
    const int groupCount
        = machinesWanted <= 24 ? qMin(4, machinesWanted) : qMax(4, qRound(machinesWanted / 12.5));
    // About nine productive hours a day, machines working most of it.
    constexpr double kDaySeconds = 9 * 3600 * 0.85;

    return inTransaction([&] {
        int seq = 0;
        for (int g = 0; g < groupCount; ++g) {
            // Halls beyond the first four are numbered: 注塑车间2, 冲压车间2 ...
            const QString suffix = g < 4 ? QString() : QString::number(g / 4 + 1);
            const QString group = halls.at(g % 4) + suffix;
            const QString file = hallFiles.at(g % 4)
                                 + (suffix.isEmpty() ? QString() : QLatin1Char('-') + suffix)
                                 + QStringLiteral(".nc");
            const int first = g * machinesWanted / groupCount;
            const int size = (g + 1) * machinesWanted / groupCount - first;
            QMap<QString, int> planRows[2];
            for (int i = 0; i < size; ++i) {
                const int n = first + i + 1;
                const QString key = QStringLiteral("MAC-%1").arg(n, 3, 10, QLatin1Char('0'));
                const int cycle = 45 + (n * 37) % 80;
                if (!exec(QStringLiteral("INSERT INTO machines VALUES (?, ?, ?, ?, ?)"),
                          {key, QCoreApplication::translate("YmHostDatabase", "%1号机").arg(n),
                           group, cycle, n}))
                    return false;
                // Two plans share the group's file: the first runs on the first
                // two thirds of the machines, the second on the last two thirds,
                // so the middle third carries both.
                const double expected = kDaySeconds / cycle * (0.9 + 0.05 * ((n * 7) % 6));
                const int whole = qMax(10, qRound(expected / 10.0) * 10);
                if (3 * i < size)
                    planRows[0].insert(key, whole);
                else if (3 * i < 2 * size) {
                    const int share = qRound(whole * 0.06) * 10;
                    planRows[0].insert(key, share);
                    planRows[1].insert(key, qMax(10, whole - share));
                } else
                    planRows[1].insert(key, whole);
            }
            for (int p = 0; p < 2; ++p) {
                if (planRows[p].isEmpty())
                    continue;
                const int number = 2 * g + p;
                if (!insertPlanRows(day, ++seq, QStringLiteral("PO-%1").arg(1001 + number), file,
                                    planRows[p], notify[number % 8]))
                    return false;
            }
        }
        return exec(QStringLiteral("INSERT INTO stop_periods (name, start_time, end_time) "
                                   "VALUES (?, ?, ?)"),
                    {QCoreApplication::translate("YmHostDatabase", "午休"),
                     QStringLiteral("12:00:00"), QStringLiteral("13:00:00")})
               && exec(QStringLiteral("INSERT OR REPLACE INTO work_hours VALUES (1, ?, ?)"),
                       {kDefaultStart, kDefaultEnd})
               && exec(QStringLiteral("INSERT OR REPLACE INTO host_state VALUES (?, '1')"),
                       {QString(QStringLiteral("day:") + dayText(day))});
    });
}

bool YmHostDatabase::prepareDay(const QDate &day)
{
    const QString marker = QStringLiteral("day:") + dayText(day);
    if (!hostState(marker).isEmpty())
        return true;
    return inTransaction([&] {
        if (!exec(QStringLiteral("INSERT OR REPLACE INTO host_state VALUES (?, '1')"), {marker}))
            return false;
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT count(*) FROM plans WHERE plan_date = ?"));
        q.addBindValue(dayText(day));
        if (!q.exec() || !q.next()) {
            m_error = q.lastError().text();
            return false;
        }
        if (q.value(0).toInt() > 0)
            return true;
        q.prepare(QStringLiteral("SELECT max(plan_date) FROM plans WHERE plan_date < ?"));
        q.addBindValue(dayText(day));
        if (!q.exec() || !q.next() || q.value(0).isNull())
            return true;
        return exec(QStringLiteral("INSERT INTO plans (plan_date, seq, plan_name, file_name, "
                                   "mac_key, planned, notify_percent) SELECT ?, seq, plan_name, "
                                   "file_name, mac_key, planned, notify_percent FROM plans "
                                   "WHERE plan_date = ?"),
                    {dayText(day), q.value(0).toString()});
    });
}

QList<YmMachineRecord> YmHostDatabase::machines() const
{
    QList<YmMachineRecord> result;
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT mac_key, name, group_name, cycle_seconds FROM machines "
                               "ORDER BY sort_order, mac_key")))
        return result;
    while (q.next())
        result.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                       q.value(3).toInt()});
    return result;
}

QList<YmPlanRecord> YmHostDatabase::plans(const QDate &day) const
{
    QList<YmPlanRecord> result;
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT p.plan_name, p.file_name, p.mac_key, p.planned, "
                             "p.notify_percent FROM plans p LEFT JOIN machines m "
                             "ON m.mac_key = p.mac_key WHERE p.plan_date = ? "
                             "ORDER BY p.seq, p.plan_name, m.sort_order, p.mac_key"));
    q.addBindValue(dayText(day));
    if (!q.exec())
        return result;
    while (q.next())
        result.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                       q.value(3).toInt(), q.value(4).toInt()});
    return result;
}

bool YmHostDatabase::hasPlan(const QDate &day, const QString &planName) const
{
    return planSeq(day, planName) > 0;
}

int YmHostDatabase::planSeq(const QDate &day, const QString &planName) const
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT min(seq) FROM plans WHERE plan_date = ? AND plan_name = ?"));
    q.addBindValue(dayText(day));
    q.addBindValue(planName);
    if (!q.exec() || !q.next() || q.value(0).isNull())
        return 0;
    return q.value(0).toInt();
}

bool YmHostDatabase::insertPlanRows(const QDate &day, int seq, const QString &planName,
                                    const QString &fileName, const QMap<QString, int> &macCounts,
                                    int notifyPercent)
{
    for (auto it = macCounts.cbegin(); it != macCounts.cend(); ++it) {
        if (!exec(QStringLiteral("INSERT INTO plans (plan_date, seq, plan_name, file_name, "
                                 "mac_key, planned, notify_percent) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                  {dayText(day), seq, planName, fileName, it.key(), it.value(), notifyPercent}))
            return false;
    }
    return true;
}

bool YmHostDatabase::addPlan(const QDate &day, const QString &planName, const QString &fileName,
                             const QMap<QString, int> &macCounts, int notifyPercent)
{
    return inTransaction([&] {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT coalesce(max(seq), 0) + 1 FROM plans "
                                 "WHERE plan_date = ?"));
        q.addBindValue(dayText(day));
        if (!q.exec() || !q.next()) {
            m_error = q.lastError().text();
            return false;
        }
        return insertPlanRows(day, q.value(0).toInt(), planName, fileName, macCounts,
                              notifyPercent);
    });
}

bool YmHostDatabase::editPlan(const QDate &day, const QString &oldPlanName,
                              const QString &newPlanName, const QString &newFileName,
                              const QMap<QString, int> &macCounts, int notifyPercent)
{
    // The edited plan keeps its place among the day's plans.
    const int seq = planSeq(day, oldPlanName);
    if (seq == 0) {
        m_error = QStringLiteral("no plan %1 on %2").arg(oldPlanName, dayText(day));
        return false;
    }
    return inTransaction([&] {
        return exec(QStringLiteral("DELETE FROM plans WHERE plan_date = ? AND plan_name = ?"),
                    {dayText(day), oldPlanName})
               && insertPlanRows(day, seq, newPlanName, newFileName, macCounts, notifyPercent);
    });
}

bool YmHostDatabase::deletePlan(const QDate &day, const QString &planName)
{
    return inTransaction([&] {
        return exec(QStringLiteral("DELETE FROM plans WHERE plan_date = ? AND plan_name = ?"),
                    {dayText(day), planName});
    });
}

bool YmHostDatabase::storePieces(const QList<YmPieceRecord> &pieces, const QString &markKey,
                                 const QString &markValue)
{
    if (pieces.isEmpty() && markKey.isEmpty())
        return true;
    return inTransaction([&] {
        if (!markKey.isEmpty()
            && !exec(QStringLiteral("INSERT OR REPLACE INTO host_state VALUES (?, ?)"),
                     {markKey, markValue}))
            return false;
        QSqlQuery q(m_db);
        if (!q.prepare(QStringLiteral("INSERT INTO pieces (mac_key, file_name, produced_at, "
                                      "quantity) VALUES (?, ?, ?, ?)"))) {
            m_error = q.lastError().text();
            return false;
        }
        for (const YmPieceRecord &piece : pieces) {
            q.addBindValue(piece.macKey);
            q.addBindValue(piece.fileName);
            q.addBindValue(piece.producedAt);
            q.addBindValue(piece.quantity);
            if (!q.exec()) {
                m_error = q.lastError().text();
                return false;
            }
        }
        return true;
    });
}

QList<YmPieceRecord> YmHostDatabase::pieces(const QDate &day, const QTime &upTo) const
{
    QList<YmPieceRecord> result;
    const QString prefix = dayText(day) + QLatin1Char(' ');
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT mac_key, file_name, produced_at, quantity FROM pieces "
                             "WHERE produced_at >= ? AND produced_at <= ? "
                             "ORDER BY produced_at, id"));
    const QString from = prefix + QStringLiteral("00:00:00");
    const QString to
        = prefix + (upTo.isValid() ? upTo.toString(kTimeFormat) : QStringLiteral("23:59:59"));
    q.addBindValue(from);
    q.addBindValue(to);
    if (!q.exec())
        return result;
    while (q.next())
        result.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                       q.value(3).toInt()});
    return result;
}

QList<YmStopPeriod> YmHostDatabase::stopPeriods() const
{
    QList<YmStopPeriod> result;
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT name, start_time, end_time FROM stop_periods "
                               "ORDER BY start_time, id")))
        return result;
    while (q.next())
        result.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
    return result;
}

bool YmHostDatabase::setStopPeriods(const QList<YmStopPeriod> &periods)
{
    return inTransaction([&] {
        if (!exec(QStringLiteral("DELETE FROM stop_periods")))
            return false;
        for (const YmStopPeriod &p : periods) {
            if (!exec(QStringLiteral("INSERT INTO stop_periods (name, start_time, end_time) "
                                     "VALUES (?, ?, ?)"),
                      {p.name, p.start, p.end}))
                return false;
        }
        return true;
    });
}

QTime YmHostDatabase::workStart() const
{
    QSqlQuery q(m_db);
    QTime t;
    if (q.exec(QStringLiteral("SELECT start_time FROM work_hours WHERE id = 1")) && q.next())
        t = QTime::fromString(q.value(0).toString(), kTimeFormat);
    return t.isValid() ? t : QTime::fromString(kDefaultStart, kTimeFormat);
}

QTime YmHostDatabase::workEnd() const
{
    QSqlQuery q(m_db);
    QTime t;
    if (q.exec(QStringLiteral("SELECT end_time FROM work_hours WHERE id = 1")) && q.next())
        t = QTime::fromString(q.value(0).toString(), kTimeFormat);
    return t.isValid() ? t : QTime::fromString(kDefaultEnd, kTimeFormat);
}

bool YmHostDatabase::setWorkHours(const QTime &start, const QTime &end)
{
    return inTransaction([&] {
        return exec(QStringLiteral("INSERT OR REPLACE INTO work_hours VALUES (1, ?, ?)"),
                    {start.toString(kTimeFormat), end.toString(kTimeFormat)});
    });
}

QString YmHostDatabase::setting(const QString &key, const QString &fallback) const
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT value FROM plan_settings WHERE setting_key = ?"));
    q.addBindValue(key);
    if (q.exec() && q.next())
        return q.value(0).toString();
    return fallback;
}

bool YmHostDatabase::setSetting(const QString &key, const QString &value)
{
    return inTransaction([&] {
        return exec(QStringLiteral("INSERT OR REPLACE INTO plan_settings VALUES (?, ?)"),
                    {key, value});
    });
}

QString YmHostDatabase::hostState(const QString &key) const
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT value FROM host_state WHERE state_key = ?"));
    q.addBindValue(key);
    if (q.exec() && q.next())
        return q.value(0).toString();
    return QString();
}

bool YmHostDatabase::setHostState(const QString &key, const QString &value)
{
    return inTransaction([&] {
        return exec(QStringLiteral("INSERT OR REPLACE INTO host_state VALUES (?, ?)"),
                    {key, value});
    });
}
