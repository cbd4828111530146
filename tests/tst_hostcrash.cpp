// The demo host killed (SIGKILL) at random moments of a simulated day, again
// and again: after every kill the database holds exactly the pieces of an
// undisturbed run up to the stored "produced up to" mark (nothing lost,
// nothing twice), and the day finished after the last kill equals that run.
#include "ymhostdatabase.h"
#include "ymplatformmessagefilter.h"
#include "ymtestdatabase.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate kDay(2026, 3, 5);
const QString kMark = QStringLiteral("producedUntil:2026-03-05");
constexpr int kKills = 50;

QStringList pieceTexts(const QList<YmPieceRecord> &pieces)
{
    QStringList out;
    for (const YmPieceRecord &p : pieces)
        out << QStringList{p.producedAt, p.macKey, p.fileName, QString::number(p.quantity)}.join(
            QLatin1Char('|'));
    out.sort();
    return out;
}

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
    void initTestCase() { YmPlatformMessageFilter::install(); }

    void killedAtRandomMoments()
    {
        QTemporaryDir dir;
        const QString target = YmTestDatabase::fresh(dir, QStringLiteral("crash"));
        const QString picture = dir.filePath(QStringLiteral("board.png"));
        // The undisturbed day, in a workshop of its own on the same database.
        QVERIFY(finishDay(target, QStringLiteral("undisturbed"), picture));
        QString mark;
        const QStringList reference = storedUpTo(target, QStringLiteral("undisturbed"), &mark);
        QVERIFY(reference.size() > 1000);

        QRandomGenerator random(QRandomGenerator::global()->generate());
        const quint32 seed = random.generate();
        random.seed(seed);
        qInfo("engine %s, kill moments from seed %u", qPrintable(YmTestDatabase::engine()), seed);
        int advanced = 0;
        QString lastMark;
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
            QTest::qWait(int(random.bounded(100, 1200)));
            demo.kill();
            QVERIFY(demo.waitForFinished(10000));

            const QString before = lastMark;
            const QStringList inDatabase = storedUpTo(target, QStringLiteral("killed"), &lastMark);
            advanced += lastMark != before;
            const QString upTo = QStringLiteral("2026-03-05 ") + lastMark;
            QStringList expected;
            for (const QString &piece : reference)
                if (!lastMark.isEmpty() && piece.left(upTo.size()) <= upTo)
                    expected << piece;
            QVERIFY2(inDatabase == expected,
                     qPrintable(QStringLiteral("kill %1 at mark %2: %3 pieces stored, %4 expected")
                                    .arg(kill)
                                    .arg(lastMark)
                                    .arg(inDatabase.size())
                                    .arg(expected.size())));
        }
        qInfo("%d kills, %d of them after the host had stored more; day stored up to %s", kKills,
              advanced, qPrintable(lastMark));
        QVERIFY(finishDay(target, QStringLiteral("killed"), picture));
        QCOMPARE(storedUpTo(target, QStringLiteral("killed"), &mark), reference);
    }
};

QTEST_MAIN(TstHostCrash)
#include "tst_hostcrash.moc"
