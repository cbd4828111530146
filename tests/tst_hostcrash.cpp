// The demo host killed (SIGKILL) at random moments of a simulated day, again
// and again. After every kill the database must hold exactly what a host in
// this process stores when it runs the same lives without being killed, each
// from the same start up to the "produced up to" mark the killed one left:
// nothing lost, nothing twice. A restart repositions the simulated workshop,
// so the lives, not one undisturbed day, are the measure.
#include "ymharness.h"
#include "ymhostdatabase.h"
#include "ymtestdatabase.h"
#include "ymworkshophost.h"

#include <ymworkshopmanage.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kMark = QStringLiteral("producedUntil:2026-03-05");
constexpr int kKills = 50;
constexpr quint64 kSeed = 2718;

QStringList demoArguments(const QString &target, const QString &workshop)
{
    return {QStringLiteral("--db"),       target,
            QStringLiteral("--workshop"), workshop,
            QStringLiteral("--date"),     kDay.toString(Qt::ISODate),
            QStringLiteral("--seed"),     QStringLiteral("2718")};
}

// Runs the demo to `until` and lets it exit by itself.
bool finishDay(const QString &target, const QString &workshop, const QString &picture)
{
    QProcess demo;
    demo.start(QStringLiteral(YM_DEMO_EXECUTABLE),
               demoArguments(target, workshop) << QStringLiteral("--at") << QStringLiteral("18:30")
                                               << QStringLiteral("--screenshot") << picture);
    return demo.waitForFinished(60000) && demo.exitStatus() == QProcess::NormalExit
           && demo.exitCode() == 0;
}

// One life of the host, in this process and not killed: begun at `start`,
// run up to `until`.
void liveUndisturbed(const QString &target, const QTime &start, const QTime &until)
{
    YmHostDatabase db;
    if (db.open(target, QStringLiteral("undisturbed")) != YmHostDatabase::Status::Ok
        || !db.seedIfEmpty(kDay))
        qFatal("cannot open %s: %s", qPrintable(target), qPrintable(db.errorText()));
    YmWorkshopManage board;
    YmWorkshopHost host(&db, &board);
    host.useSimulation(kSeed);
    host.begin(QDateTime(kDay, start), 0);
    if (until > start) {
        host.clock().start(QDateTime(kDay, until), 0);
        host.tick();
    }
}

QStringList storedUpTo(const QString &target, const QString &workshop, QString *mark)
{
    YmHostDatabase db;
    if (db.open(target, workshop) != YmHostDatabase::Status::Ok)
        qFatal("cannot open %s: %s", qPrintable(target), qPrintable(db.errorText()));
    *mark = db.hostState(kMark);
    return pieceTexts(db.pieces(kDay));
}

} // namespace

class TstHostCrash : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void killedAtRandomMoments()
    {
        QTemporaryDir dir;
        const QString target = YmTestDatabase::fresh(dir, QStringLiteral("crash"));
        const QString picture = dir.filePath(QStringLiteral("board.png"));
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        qInfo("engine %s, kill moments from seed %u", qPrintable(YmTestDatabase::engine()), seed);
        int advanced = 0;
        int patience = 0;
        QString lastMark;
        QString mark;
        for (int kill = 0; kill < kKills; ++kill) {
            // Each life starts where the stored day ends or later, a quarter
            // of an hour further every time, so that the kills spread over
            // the working day; a later start catches up at once, as a host
            // restarted late does.
            const QTime planned = QTime(6, 0).addSecs(kill * 15 * 60);
            const QTime stored = QTime::fromString(lastMark, QStringLiteral("HH:mm:ss"));
            const QTime start = stored.isValid() && stored > planned ? stored : planned;
            QStringList arguments = demoArguments(target, QStringLiteral("killed"));
            arguments << QStringLiteral("--speed") << QStringLiteral("600")
                      << QStringLiteral("--start") << start.toString(QStringLiteral("HH:mm:ss"));
            QProcess demo;
            demo.start(QStringLiteral(YM_DEMO_EXECUTABLE), arguments);
            QVERIFY(demo.waitForStarted());
            // A life killed before it stored anything makes the next one longer,
            // so that a slow start-up on a busy machine cannot stall the day.
            QTest::qWait(int(random.bounded(200, 1600)) + patience);
            demo.kill();
            QVERIFY(demo.waitForFinished(10000));

            const QStringList inDatabase = storedUpTo(target, QStringLiteral("killed"), &mark);
            patience = mark == lastMark ? patience + 400 : 0;
            if (mark != lastMark) {
                ++advanced;
                liveUndisturbed(target, start, QTime::fromString(mark, QStringLiteral("HH:mm:ss")));
                lastMark = mark;
            }
            QString undisturbedMark;
            const QStringList expected
                = storedUpTo(target, QStringLiteral("undisturbed"), &undisturbedMark);
            QVERIFY2(inDatabase == expected && mark == undisturbedMark,
                     qPrintable(QStringLiteral("kill %1 (start %2, mark %3): %4 pieces stored, "
                                               "%5 expected")
                                    .arg(kill)
                                    .arg(start.toString())
                                    .arg(mark)
                                    .arg(inDatabase.size())
                                    .arg(expected.size())));
        }
        qInfo("%d kills, %d of them after the host had stored more; day stored up to %s", kKills,
              advanced, qPrintable(lastMark));
        // Some kills land while the host starts, before it stored anything.
        QVERIFY(advanced >= kKills / 3);
        // The rest of the day after the last kill.
        QVERIFY(finishDay(target, QStringLiteral("killed"), picture));
        liveUndisturbed(target, QTime(18, 30), QTime(18, 30));
        QString undisturbedMark;
        const QStringList day = storedUpTo(target, QStringLiteral("killed"), &mark);
        QCOMPARE(day, storedUpTo(target, QStringLiteral("undisturbed"), &undisturbedMark));
        QVERIFY(day.size() > 1000);
    }
};

QTEST_MAIN(TstHostCrash)
#include "tst_hostcrash.moc"
