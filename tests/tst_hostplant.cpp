// Several hosts on one database: workshops kept apart, plan changes reaching
// the other boards of a workshop, edits that cross refused rather than lost,
// the schema of a single-workshop file migrated, and a server that goes away
// while the host runs.
// Plain literals read better in the tables and calls below.
#undef QT_NO_CAST_FROM_ASCII

#include "ymharness.h"
#include "ymhostdatabase.h"
#include "ymtestdatabase.h"
#include "ymworkshophost.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"

#include "ymtestsupport.h"
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <QtTest>

#include <memory>

namespace {

// "plan|machine|planned" of every order row the board shows for today.
QStringList boardPlans(YmWorkshopManage &board)
{
    QStringList out;
    for (const QVariant &v : asPayload(mainOf(board)->model().rows())) {
        const QVariantList r = v.toList();
        out << QStringList{r.value(0).toString(), r.value(2).toString(), r.value(6).toString()}
                   .join(QLatin1Char('|'));
    }
    return out;
}

QStringList storedPlans(const YmHostDatabase &db)
{
    QStringList out;
    for (const YmPlanRecord &p : db.plans(kDay))
        out << QStringList{p.planName, p.macKey, QString::number(p.planned)}.join(QLatin1Char('|'));
    return out;
}

// A host with its board on a database opened by the caller's recipe.
struct Host
{
    YmHostDatabase db;
    YmWorkshopManage board;
    std::unique_ptr<YmWorkshopHost> host;
    std::unique_ptr<QSignalSpy> problems;

    Host(const QString &target, const QString &workshop, int machines = 24)
    {
        if (db.open(target, workshop) != YmHostDatabase::Status::Ok
            || !db.seedIfEmpty(kDay, machines))
            qFatal("cannot open %s: %s", qPrintable(target), qPrintable(db.errorText()));
        host = std::make_unique<YmWorkshopHost>(&db, &board);
        problems = std::make_unique<QSignalSpy>(host.get(), &YmWorkshopHost::problem);
        host->useSimulation(7);
        host->begin(QDateTime(kDay, QTime(7, 0)), 0);
    }
    QString problemText() const
    {
        QStringList out;
        for (const QList<QVariant> &args : *problems)
            out << args.value(0).toString();
        return out.join(QLatin1Char('\n'));
    }
};

// The shared database of a test: a file in `dir` on SQLite, the run's
// database on the server (with workshops of the test's own).
QString sharedTarget(const QTemporaryDir &dir)
{
    return YmTestDatabase::shared(dir.filePath("plant.db"));
}

QString uniqueWorkshop(const QString &name)
{
    static int count = 0;
    return QStringLiteral("%1-%2").arg(name).arg(++count);
}

} // namespace

class TstHostPlant : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        YmHarness::start();
        qInfo("engine: %s", qPrintable(YmTestDatabase::engine()));
    }

    void workshopsKeepApart()
    {
        QTemporaryDir dir;
        const QString target = sharedTarget(dir);
        Host press(target, uniqueWorkshop("冲压"), 30);
        Host mould(target, uniqueWorkshop("注塑"), 24);
        QCOMPARE(press.db.machines().size(), 30);
        QCOMPARE(mould.db.machines().size(), 24);
        const QStringList mouldPlans = storedPlans(mould.db);
        emit mainOf(press.board)->sAddDatePlan(kDate, "PO-9001", "X.nc", {{"MAC-001", 50}}, 0);
        QVERIFY(storedPlans(press.db).contains("PO-9001|MAC-001|50"));
        QCOMPARE(storedPlans(mould.db), mouldPlans);
        // A day of production in one workshop leaves the other's pieces alone.
        press.host->clock().start(QDateTime(kDay, QTime(11, 0)), 0);
        press.host->tick();
        QVERIFY(!press.db.pieces(kDay).isEmpty());
        QVERIFY(mould.db.pieces(kDay).isEmpty());
        const QString mouldFilter = mould.db.setting("PlanFilter");
        QVERIFY(press.db.setSetting("PlanFilter", "7"));
        QCOMPARE(press.db.setting("PlanFilter"), "7");
        QCOMPARE(mould.db.setting("PlanFilter"), mouldFilter);
    }

    void singleWorkshopFileMigrates()
    {
        // A file of the host before workshops: every row lands in the default one.
        QTemporaryDir dir;
        const QString target = YmTestDatabase::fresh(dir, "version1");
        {
            QSqlDatabase old = QSqlDatabase::addDatabase(
                YmTestDatabase::onServer() ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"),
                "version1");
            old.setDatabaseName(YmTestDatabase::onServer()
                                    ? target.mid(target.lastIndexOf(QLatin1Char('/')) + 1)
                                    : target);
            QVERIFY(old.open());
            QSqlQuery q(old);
            const QStringList version1 = {
                QStringLiteral("CREATE TABLE machines (mac_key TEXT PRIMARY KEY, name TEXT NOT "
                               "NULL, group_name TEXT NOT NULL, cycle_seconds INTEGER NOT NULL "
                               "DEFAULT 60, sort_order INTEGER NOT NULL DEFAULT 0)"),
                QStringLiteral("CREATE TABLE plans (id INTEGER PRIMARY KEY, plan_date TEXT NOT "
                               "NULL, seq INTEGER NOT NULL, plan_name TEXT NOT NULL, file_name "
                               "TEXT NOT NULL, mac_key TEXT NOT NULL REFERENCES machines(mac_key), "
                               "planned INTEGER NOT NULL, notify_percent INTEGER NOT NULL DEFAULT "
                               "0, UNIQUE (plan_date, plan_name, mac_key))"),
                "CREATE INDEX plans_by_date ON plans (plan_date, seq)",
                QStringLiteral("CREATE TABLE pieces (id INTEGER PRIMARY KEY, mac_key TEXT NOT "
                               "NULL, file_name TEXT NOT NULL, produced_at TEXT NOT NULL, "
                               "quantity INTEGER NOT NULL)"),
                "CREATE INDEX pieces_by_time ON pieces (produced_at)",
                QStringLiteral("CREATE TABLE stop_periods (id INTEGER PRIMARY KEY, name TEXT NOT "
                               "NULL, start_time TEXT NOT NULL, end_time TEXT NOT NULL)"),
                QStringLiteral("CREATE TABLE work_hours (id INTEGER PRIMARY KEY CHECK (id = 1), "
                               "start_time TEXT NOT NULL, end_time TEXT NOT NULL)"),
                QStringLiteral("CREATE TABLE plan_settings (setting_key TEXT PRIMARY KEY, value "
                               "TEXT NOT NULL)"),
                QStringLiteral("CREATE TABLE host_state (state_key TEXT PRIMARY KEY, value TEXT "
                               "NOT NULL)"),
                "INSERT INTO machines VALUES ('MAC-001', '1号机', 'G', 60, 1)",
                QStringLiteral("INSERT INTO plans VALUES (1, '2026-03-05', 1, 'PO-1', 'A.nc', "
                               "'MAC-001', 120, 90)"),
                QStringLiteral("INSERT INTO pieces VALUES (1, 'MAC-001', 'A.nc', "
                               "'2026-03-05 09:00:00', 3)"),
                QStringLiteral("INSERT INTO stop_periods VALUES (1, '午休', '12:00:00', "
                               "'13:00:00')"),
                "INSERT INTO work_hours VALUES (1, '07:30:00', '17:00:00')",
                "INSERT INTO plan_settings VALUES ('PlanFilter', '2')",
                QStringLiteral("INSERT INTO host_state VALUES ('producedUntil:2026-03-05', "
                               "'09:00:00')"),
                YmTestDatabase::onServer()
                    ? QStringLiteral("CREATE TABLE schema_version AS SELECT 1 AS version")
                    : QStringLiteral("PRAGMA user_version = 1"),
            };
            for (const QString &sql : version1)
                QVERIFY2(q.exec(sql), qPrintable(sql));
            old.close();
        }
        QSqlDatabase::removeDatabase("version1");
        YmHostDatabase db;
        QCOMPARE(db.open(target), YmHostDatabase::Status::Ok);
        QCOMPARE(db.workshop(), YmHostDatabase::kDefaultWorkshop);
        QCOMPARE(storedPlans(db), QStringList{"PO-1|MAC-001|120"});
        QCOMPARE(pieceTexts(db.pieces(kDay)), QStringList{"2026-03-05 09:00:00|MAC-001|A.nc|3"});
        QCOMPARE(db.workStart(), QTime(7, 30));
        QCOMPARE(db.stopPeriods().size(), 1);
        QCOMPARE(db.setting("PlanFilter"), "2");
        QCOMPARE(db.hostState("producedUntil:2026-03-05"), "09:00:00");
        // Stored again after the migration, and reopened without another one.
        QVERIFY(db.addPlan(kDay, "PO-2", "B.nc", {{"MAC-001", 10}}, 0));
        YmHostDatabase again;
        QCOMPARE(again.open(target), YmHostDatabase::Status::Ok);
        QCOMPARE(storedPlans(again).size(), 2);
        YmHostDatabase other;
        QCOMPARE(other.open(target, "second hall"), YmHostDatabase::Status::Ok);
        QVERIFY(storedPlans(other).isEmpty());
    }

    void planReachesTheOtherBoards()
    {
        if (!YmTestDatabase::onServer())
            QSKIP("one host per SQLite file: there is no other board to tell");
        QTemporaryDir dir;
        const QString target = sharedTarget(dir);
        const QString workshop = uniqueWorkshop("live");
        Host office(target, workshop);
        Host floor(target, workshop);
        Host elsewhere(target, uniqueWorkshop("other"));
        const QStringList elsewhereBefore = boardPlans(elsewhere.board);
        const QString row = "PO-7001|MAC-002|77";
        QElapsedTimer timer;
        timer.start();
        emit mainOf(office.board)->sAddDatePlan(kDate, "PO-7001", "L.nc", {{"MAC-002", 77}}, 0);
        QVERIFY(boardPlans(office.board).contains(row));
        QTRY_VERIFY_WITH_TIMEOUT(boardPlans(floor.board).contains(row), 1000);
        qInfo("plan on the other board after %lld ms", timer.elapsed());
        // An edit and a delete travel the same way; another workshop hears nothing.
        floor.host->editPlan(kDate, "PO-7001", "PO-7001", "L.nc", "L.nc", {{"MAC-002", 88}}, 0);
        QTRY_VERIFY_WITH_TIMEOUT(boardPlans(office.board).contains("PO-7001|MAC-002|88"), 1000);
        office.host->deletePlan(kDate, "PO-7001");
        QTRY_VERIFY_WITH_TIMEOUT(boardPlans(floor.board).filter("PO-7001").isEmpty(), 1000);
        QCOMPARE(boardPlans(elsewhere.board), elsewhereBefore);
        QCOMPARE(office.problems->count() + floor.problems->count(), 0);
    }

    void crossingEditsAreRefused_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("edit, then edit") << "edit"
                                         << "edit";
        QTest::newRow("edit, then delete") << "edit"
                                           << "delete";
        QTest::newRow("delete, then edit") << "delete"
                                           << "edit";
        QTest::newRow("delete, then delete") << "delete"
                                             << "delete";
    }
    void crossingEditsAreRefused()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QTemporaryDir dir;
        const QString target = sharedTarget(dir);
        const QString workshop = uniqueWorkshop("edit");
        Host a(target, workshop);
        Host b(target, workshop);
        // Both boards show PO-1001 as seeded; each user changes that version.
        const auto change = [](Host &h, const QString &what, int planned) {
            return what == QLatin1String("edit")
                       ? h.host->editPlan(kDate, "PO-1001", "PO-1001", QString(), "HX-1020.nc",
                                          {{"MAC-001", planned}}, 90)
                       : h.host->deletePlan(kDate, "PO-1001");
        };
        QVERIFY(change(a, first, 111));
        const QStringList stored = storedPlans(a.db);
        QVERIFY(!change(b, second, 222));
        QCOMPARE(storedPlans(a.db), stored);
        QVERIFY2(b.problemText().contains("on another board"), qPrintable(b.problemText()));
        // The refused board shows what is stored, and a change on that works.
        QCOMPARE(boardPlans(b.board), boardPlans(a.board));
        if (first == QLatin1String("edit")) {
            QVERIFY(change(b, second, 333));
            QVERIFY(storedPlans(a.db).contains("PO-1001|MAC-001|333")
                    == (second == QLatin1String("edit")));
        }
    }

    void serverGoesAway()
    {
        if (!YmTestDatabase::onServer())
            QSKIP("an SQLite file does not go away like a server");
        QTemporaryDir dir;
        const QString target = YmTestDatabase::fresh(dir, "away");
        const QString name = target.mid(target.lastIndexOf(QLatin1Char('/')) + 1);
        Host h(target, "hall");
        h.host->clock().start(QDateTime(kDay, QTime(9, 0)), 0);
        h.host->tick();
        const int before = h.db.pieces(kDay).size();
        QVERIFY(before > 0);

        const auto allow = [&](bool allowed) {
            QVERIFY(YmTestDatabase::admin(
                QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS %2")
                    .arg(name, allowed ? QStringLiteral("true") : QStringLiteral("false"))));
            if (!allowed)
                QVERIFY(YmTestDatabase::admin(
                    QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                   "WHERE datname = '%1'")
                        .arg(name)));
        };
        allow(false);
        const auto completed = [&] {
            int sum = 0;
            for (const QVariant &v : asPayload(mainOf(h.board)->model().rows()))
                sum += v.toList().value(7).toInt();
            return sum;
        };
        const int shownBefore = completed();
        h.host->clock().start(QDateTime(kDay, QTime(10, 0)), 0);
        h.host->tick();
        QVERIFY(h.host->isOffline());
        QVERIFY(h.host->pendingPieces() > 0);
        QVERIFY(completed() > shownBefore); // the board goes on counting
        const auto banner = [&] {
            const auto *label = YmWorkshopManagePrivate::get(&h.board)->page->findChild<QLabel *>(
                "hostOfflineBanner");
            return label && !label->isHidden();
        };
        QVERIFY(banner());
        QVERIFY(h.problemText().contains("connection to the database server is lost"));
        const QStringList plans = boardPlans(h.board);
        QVERIFY(!h.host->addPlan(kDate, "PO-OFF", "O.nc", {{"MAC-001", 5}}, 0));
        QCOMPARE(boardPlans(h.board), plans);
        h.host->retryConnection(); // still refused
        QVERIFY(h.host->isOffline());
        // Memory full: the workshop's clock holds, and the user hears of it.
        h.host->setPendingLimit(h.host->pendingPieces());
        const int shownFull = completed();
        h.host->clock().start(QDateTime(kDay, QTime(11, 0)), 0);
        h.host->tick();
        QCOMPARE(completed(), shownFull);
        QVERIFY(h.problemText().contains("as many as are kept in memory"));

        allow(true);
        h.host->retryConnection();
        h.host->tick(); // what the held clock skipped
        QVERIFY(!h.host->isOffline());
        QVERIFY(!banner());
        QCOMPARE(h.host->pendingPieces(), 0);
        QVERIFY(!storedPlans(h.db).join(QLatin1Char(' ')).contains("PO-OFF"));
        h.host->clock().start(QDateTime(kDay, QTime(12, 0)), 0);
        h.host->tick();

        // Nothing lost, nothing twice: the same day as a run that never lost the server.
        Host reference(target, "reference");
        for (const QTime &t : {QTime(9, 0), QTime(10, 0), QTime(11, 0), QTime(12, 0)}) {
            reference.host->clock().start(QDateTime(kDay, t), 0);
            reference.host->tick();
        }
        QCOMPARE(pieceTexts(h.db.pieces(kDay)), pieceTexts(reference.db.pieces(kDay)));
    }

    void startWithoutTheServer_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no server") << "postgresql://127.0.0.1:1/plant" << 9;
        QTest::newRow("no such database") << "postgresql:///ym_no_such_database" << 3;
        QTest::newRow("not a URL") << "postgresql://[bad" << 7;
    }
    void startWithoutTheServer()
    {
        QFETCH(QString, target);
        QFETCH(int, exitCode);
        if (!YmTestDatabase::onServer() && exitCode == 3)
            QSKIP("needs a server that answers");
        QProcess demo;
        demo.start(QStringLiteral(YM_DEMO_EXECUTABLE),
                   {"--db", target, "--screenshot", QDir::temp().filePath("ym-never-written.png")});
        QVERIFY(demo.waitForFinished(20000));
        QCOMPARE(demo.exitCode(), exitCode);
        QVERIFY(!demo.readAllStandardError().trimmed().isEmpty());
    }
};

QTEST_MAIN(TstHostPlant)
#include "tst_hostplant.moc"
