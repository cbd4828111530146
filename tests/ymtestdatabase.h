#pragma once

// The engine the host's database tests run on: SQLite by default, the
// PostgreSQL server of the environment (PGHOST, PGPORT, PGUSER, PGPASSWORD)
// when YM_TEST_ENGINE=postgresql. CTest registers those tests once per engine.
// On the server every run gets a database of its own and every fixture a
// workshop of its own, so fixtures stay as separate as in-memory files. No
// server is a failure, never a skip.

#include "ymhostdatabase.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

class YmTestDatabase
{
public:
    static bool onServer()
    {
        return qEnvironmentVariable("YM_TEST_ENGINE") == QLatin1String("postgresql");
    }
    static QString engine()
    {
        return onServer() ? QStringLiteral("postgresql") : QStringLiteral("sqlite");
    }

    // Opens `db` as a fresh workshop: an in-memory SQLite database, or a new
    // workshop in the run's server database.
    static YmHostDatabase::Status open(YmHostDatabase &db)
    {
        static int fixtures = 0;
        return onServer() ? db.open(runDatabase(), QStringLiteral("w%1").arg(++fixtures))
                          : db.open(QStringLiteral(":memory:"));
    }
    // Opens the workshop stored at `path`: that SQLite file, or on the server
    // a workshop named after the path, so that reopening finds it again.
    static YmHostDatabase::Status open(YmHostDatabase &db, const QString &path)
    {
        if (!onServer())
            return db.open(path);
        const QByteArray digest = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Md5);
        return db.open(runDatabase(), QString::fromLatin1(digest.toHex().left(12)));
    }
    // A database nobody used: a new file in `dir`, or a new server database.
    static QString fresh(const QTemporaryDir &dir, const QString &name)
    {
        return onServer() ? createDatabase(name) : dir.filePath(name + QStringLiteral(".db"));
    }
    // The database every fixture of this run shares on the server (SQLite:
    // the file `path`), for hosts that meet in one database.
    static QString shared(const QString &path) { return onServer() ? runDatabase() : path; }

    // SQL run on the server as its administrator (the environment's user).
    static bool admin(const QString &sql, QString *error = nullptr)
    {
        QSqlQuery q(adminConnection());
        const bool ok = q.exec(sql);
        if (!ok && error)
            *error = q.lastError().text();
        return ok;
    }

private:
    static QSqlDatabase adminConnection()
    {
        const QString name = QStringLiteral("ymtest-admin");
        if (QSqlDatabase::contains(name))
            return QSqlDatabase::database(name);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open())
            qFatal("no PostgreSQL server for the %s tests (run them under pg_virtualenv): %s",
                   qPrintable(QCoreApplication::applicationName()),
                   qPrintable(db.lastError().text()));
        return db;
    }
    static QString createDatabase(const QString &name)
    {
        static int count = 0;
        const QString database = QStringLiteral("ymt_%1_%2_%3")
                                     .arg(QCoreApplication::applicationPid())
                                     .arg(++count)
                                     .arg(name.toLower());
        QString error;
        if (!admin(QStringLiteral("CREATE DATABASE %1").arg(database), &error))
            qFatal("cannot create the test database %s: %s", qPrintable(database),
                   qPrintable(error));
        return QStringLiteral("postgresql:///") + database;
    }
    static QString runDatabase()
    {
        static const QString url = createDatabase(QStringLiteral("run"));
        return url;
    }
};

// The day the seeded workshop plans for.
inline const QDate kDay(2026, 3, 5);
inline const QString kDate = QStringLiteral("2026-03-05");

// The board's main window behind the facade.
inline YmWorkshopManageMainPage *mainOf(YmWorkshopManage &board)
{
    return YmWorkshopManagePrivate::get(&board)->page->mainPage();
}

// "produced at|machine|file|quantity" per piece, sorted: days compare whole.
inline QStringList pieceTexts(const QList<YmPieceRecord> &pieces)
{
    QStringList out;
    for (const YmPieceRecord &p : pieces)
        out << QStringList{p.producedAt, p.macKey, p.fileName, QString::number(p.quantity)}.join(
            QLatin1Char('|'));
    out.sort();
    return out;
}
