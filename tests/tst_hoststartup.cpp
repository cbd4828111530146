// The demo host's start: a database it cannot use gives a clear message and
// an exit code, never a crash, and leaves the file as it was; a database it
// can use keeps every stored piece across runs.
// Plain literals read better in the tables and calls below.
#undef QT_NO_CAST_FROM_ASCII

#include "ymharness.h"
#include "ymhostdatabase.h"
#include "ymhostrunner.h"
#include "ymtestsupport.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

using Maker = void (*)(const QString &path);
const QString kDay = "2026-03-05";

void makeGarbage(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QByteArray bytes("not a database at all\n");
        bytes.append(QByteArray(4096, '\x5a'));
        file.write(bytes);
    }
}

void makeWithSql(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "maker");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        for (const QString &sql : statements)
            q.exec(sql);
        db.close();
    }
    QSqlDatabase::removeDatabase("maker");
}

void makeForeign(const QString &path)
{
    makeWithSql(path, {"CREATE TABLE invoices (id INTEGER, total REAL)",
                       "INSERT INTO invoices VALUES (1, 9.5)"});
}

void makeNewer(const QString &path)
{
    makeWithSql(path, {"CREATE TABLE machines (mac_key TEXT)", "PRAGMA user_version = 99"});
}

// A real workshop database with some pages overwritten.
void makeDamaged(const QString &path)
{
    {
        YmHostDatabase db;
        if (db.open(path) != YmHostDatabase::Status::Ok || !db.seedIfEmpty(QDate(2026, 3, 5)))
            return;
    }
    QFile file(path);
    if (file.open(QIODevice::ReadWrite) && file.size() > 4 * 4096) {
        file.seek(2 * 4096);
        file.write(QByteArray(2 * 4096, 'A'));
    }
}

void makeNothing(const QString &)
{}

int piecesUpTo(const QString &path, const QString &time)
{
    YmHostDatabase db;
    if (db.open(path) != YmHostDatabase::Status::Ok)
        return -1;
    return db.pieces(QDate::fromString(kDay, "yyyy-MM-dd"), QTime::fromString(time, "HH:mm:ss"))
        .size();
}

} // namespace

Q_DECLARE_METATYPE(Maker)

class TstHostStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void unusableDatabase_data()
    {
        QTest::addColumn<Maker>("maker");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("corrupt") << Maker(makeGarbage) << "w.db" << 4
                                 << "is not a readable workshop database";
        QTest::newRow("damaged pages")
            << Maker(makeDamaged) << "w.db" << 4 << "is not a readable workshop database";
        QTest::newRow("another application's")
            << Maker(makeForeign) << "w.db" << 4 << "is a database of another application";
        QTest::newRow("newer host")
            << Maker(makeNewer) << "w.db" << 6
            << QStringLiteral("has schema version 99; this host knows up to %1")
                   .arg(YmHostDatabase::kSchemaVersion);
        QTest::newRow("missing folder")
            << Maker(makeNothing) << "no/such/folder/w.db" << 3 << "does not exist";
    }
    void unusableDatabase()
    {
        QFETCH(Maker, maker);
        QFETCH(QString, file);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        maker(path);
        const QByteArray before = readAll(path);

        // In process, with the message captured ...
        QStringList errors;
        QCOMPARE(YmHostRunner::run({"demo", "--db", path}, &errors), exitCode);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(message), qPrintable(errors.first()));
        QVERIFY2(errors.first().contains(path.section(QLatin1Char('/'), 0, -2)),
                 qPrintable(errors.first()));

        // ... and the real program on the shared module.
        QProcess demo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        demo.setProcessEnvironment(env);
        demo.start(QStringLiteral(YM_DEMO_EXECUTABLE), {"--db", path});
        QVERIFY(demo.waitForFinished(30000));
        QCOMPARE(demo.exitStatus(), QProcess::NormalExit);
        QCOMPARE(demo.exitCode(), exitCode);
        QVERIFY(QString::fromLocal8Bit(demo.readAllStandardError()).contains(message));

        QCOMPARE(readAll(path), before); // nothing written, nothing lost
    }

    void readOnlyDatabase()
    {
        if (::geteuid() == 0)
            QSKIP("root writes to read-only files");
        QTemporaryDir dir;
        const QString path = dir.filePath("w.db");
        makeNewer(path); // any SQLite file
        makeWithSql(path, {"PRAGMA user_version = 1"});
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
        QStringList errors;
        QCOMPARE(YmHostRunner::run({"demo", "--db", path}, &errors), 5);
        QVERIFY(errors.value(0).contains(QLatin1String("read-only")));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        // name|arguments|exit code|message
        for (const char *row :
             {"size|--size 800-600|2|bad --size 800-600", "at|--at 25:00|2|bad --at 25:00",
              "speed|--speed -3|2|bad --speed -3",
              "speed not a number|--speed nan|2|bad --speed nan",
              "scale not a number|--scale nan|2|bad --scale nan",
              "replay|--replay /no/such.csv|8|/no/such.csv: cannot read",
              "lang|--lang fr|2|bad --lang fr"}) {
            const QStringList f = QString::fromLatin1(row).split(QLatin1Char('|'));
            QTest::newRow(qPrintable(f[0])) << f[1].split(QLatin1Char(' ')) << f[2].toInt() << f[3];
        }
    }
    void badArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QStringList errors;
        QCOMPARE(YmHostRunner::run(QStringList{"demo", "--db", ":memory:"} + arguments, &errors),
                 exitCode);
        QVERIFY2(errors.value(0).startsWith(message), qPrintable(errors.value(0)));
    }

    // A new workshop is named in the host's language; the board is drawn in it.
    void languageNamesTheWorkshop_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QString>("group");
        QTest::newRow("en") << "en"
                            << "Machine 1"
                            << "Moulding hall";
        QTest::newRow("zh") << "zh"
                            << "1号机"
                            << "注塑车间";
    }
    void languageNamesTheWorkshop()
    {
        QFETCH(QString, language);
        QFETCH(QString, machine);
        QFETCH(QString, group);
        QTemporaryDir dir;
        const QString path = dir.filePath("w.db");
        QCOMPARE(YmHostRunner::run({"demo", "--db", path, "--lang", language, "--seed", "1",
                                    "--screenshot", dir.filePath("b.png"), "--size", "800x600"}),
                 0);
        // The translators went with the run.
        QCOMPARE(QCoreApplication::translate("YmHostDatabase", "午休"), "午休");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "reader");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(QStringLiteral("SELECT name, group_name FROM machines WHERE mac_key = "
                                       "'MAC-001'"),
                        db);
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), machine);
            QCOMPARE(q.value(1).toString(), group);
        }
        QSqlDatabase::removeDatabase("reader");
    }

    void restartKeepsEveryPiece()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("w.db");
        const QString png = dir.filePath("b.png");
        QStringList errors;
        auto runAt = [&](const QString &at) {
            errors.clear();
            return YmHostRunner::run({"demo", "--db", path, "--date", kDay, "--seed", "9", "--at",
                                      at, "--screenshot", png, "--size", "800x600"},
                                     &errors);
        };
        QCOMPARE(runAt("10:00"), 0);
        QCOMPARE(QImage(png).size(), QSize(800, 600));
        const int morning = piecesUpTo(path, "10:00:00");
        QVERIFY(morning > 100);
        // The second run goes on from 10:00: the morning is neither lost nor made twice.
        QCOMPARE(runAt("12:00"), 0);
        QCOMPARE(piecesUpTo(path, "10:00:00"), morning);
        QVERIFY(piecesUpTo(path, "12:00:00") > morning + 100);
        // An earlier clock adds nothing; the host says so and starts at the stored time.
        QCOMPARE(errors, QStringList());
        const int noon = piecesUpTo(path, "23:59:59");
        QCOMPARE(runAt("09:00"), 0);
        QCOMPARE(piecesUpTo(path, "23:59:59"), noon);
        QCOMPARE(errors, QStringList{QStringLiteral("the database already holds production of "
                                                    "2026-03-05 up to 12:00; starting at 12:00 "
                                                    "instead of 09:00")});
    }

    void replayWithoutAValidEvent()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("garbage.csv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x1b[2J\x7f\x01,garbage\n\x1b]0;title\x07\n"));
        file.close();
        QStringList errors;
        QCOMPARE(YmHostRunner::run({"demo", "--db", ":memory:", "--replay", path}, &errors), 10);
        QCOMPARE(errors.size(), 3);
        // Refused lines are echoed with their control characters escaped.
        QCOMPARE(errors.at(0), path
                                   + QStringLiteral(":1: expected 4 fields, found 2: "
                                                    "\\x1b[2J\\x7f\\x01,garbage"));
        for (const QString &line : errors) {
            for (const QChar c : line)
                QVERIFY2(c.category() != QChar::Other_Control, qPrintable(line));
        }
        QCOMPARE(errors.at(2), path
                                   + QStringLiteral(": no valid event (0 events read, 2 lines "
                                                    "refused)"));
    }

    // --help and --screenshot need no display: the program picks the
    // offscreen platform itself.
    void withoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output");
        QTest::newRow("help") << QStringList{"--help"} << "--screenshot";
        QTest::newRow("screenshot")
            << QStringList{"--db", ":memory:", "--seed", "1", "--size", "640x480", "--screenshot"}
            << "640x480";
    }
    void withoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QTemporaryDir dir;
        if (arguments.last() == QLatin1String("--screenshot"))
            arguments << dir.filePath("b.png");
        QProcess demo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(name));
        demo.setProcessEnvironment(env);
        demo.start(QStringLiteral(YM_DEMO_EXECUTABLE), arguments);
        QVERIFY(demo.waitForFinished(60000));
        QCOMPARE(demo.exitStatus(), QProcess::NormalExit);
        QCOMPARE(demo.exitCode(), 0);
        QVERIFY(QString::fromLocal8Bit(demo.readAllStandardOutput()).contains(output));
    }
};

QTEST_MAIN(TstHostStartup)
#include "tst_hoststartup.moc"
