// libFuzzer target for the reference host's database layer reading a file
// that another program wrote. Each input starts from a fresh workshop
// database (made once per process) and either changes it through SQL the way
// another program could (rows of wrong types, NULLs, huge numbers, text in
// time columns, tables without their constraints, another schema version) or
// overwrites some of its bytes. The host then opens it and reads everything a
// host reads. An open it refuses must say why, map to a failing exit code and
// leave the file exactly as it was; an open it accepts must read without
// crashing.
//
//   fuzz_hostdb -max_total_time=60 corpus/         fuzz (see docs/development.md)
//   fuzz_hostdb --make-seeds DIR                   write the seed corpus
#include "ymhostdatabase.h"

#include "ymfuzzinput.h"
#include "ymfuzzsetup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

const QDate kDay(2024, 3, 5);
const QString kWriter = QStringLiteral("fuzz-writer");

QTemporaryDir *g_dir = nullptr;
QByteArray g_template;

enum Mode : uint8_t { ModeSql, ModeBytes, ModeCount };
enum Statement : uint8_t {
    StInsert,
    StUpdate,
    StDelete,
    StLoosen, // the table again without types or constraints, rows kept
    StVersion,
    StDrop,
    StCount
};

struct Table
{
    const char *name;
    QVector<const char *> columns;
};

const QVector<Table> kTables = {
    {"machines", {"workshop", "mac_key", "name", "group_name", "cycle_seconds", "sort_order"}},
    {"plans",
     {"workshop", "plan_date", "seq", "plan_name", "file_name", "mac_key", "planned",
      "notify_percent", "version"}},
    {"pieces", {"workshop", "mac_key", "file_name", "produced_at", "quantity"}},
    {"stop_periods", {"workshop", "name", "start_time", "end_time"}},
    {"work_hours", {"workshop", "start_time", "end_time"}},
    {"plan_settings", {"workshop", "setting_key", "value"}},
    {"host_state", {"workshop", "state_key", "value"}},
    {"schema_version", {"version"}},
};

const char *const kTexts[] = {
    "",
    "默认车间",
    "MAC-001",
    "MAC-002",
    "2024-03-05",
    "2024-03-05 08:15:00",
    "08:00:00",
    "18:00:00",
    "25:61:99",
    "2024-02-30",
    "12:00",
    "A.nc",
    "PO-2412-A01",
    "not a time",
    "-1",
    "9223372036854775807",
    "1e308",
    "nan",
};
constexpr int kTextCount = int(sizeof(kTexts) / sizeof(kTexts[0]));

class Reader : public YmFuzzInput
{
public:
    using YmFuzzInput::YmFuzzInput;

    qint64 number()
    {
        qint64 v = 0;
        for (int i = 0; i < 8; ++i)
            v = v << 8 | byte();
        return v;
    }
    QByteArray bytes(int n)
    {
        QByteArray out;
        for (int i = 0; i < n && !atEnd(); ++i)
            out.append(char(byte()));
        return out;
    }
    // A value of any SQLite storage class, the awkward ones often.
    QVariant value()
    {
        switch (byte() % 9) {
        case 0:
            return QVariant(QVariant::String); // NULL
        case 1:
            return number();
        case 2:
            return std::numeric_limits<qint64>::max() - byte();
        case 3:
            return std::numeric_limits<qint64>::min() + byte();
        case 4: {
            double d;
            const qint64 n = number();
            std::memcpy(&d, &n, sizeof d);
            return d;
        }
        case 5:
            return bytes(byte() % 16); // a blob
        case 6:
            return QString::fromUtf8(bytes(byte() % 32));
        case 7:
            return int(byte()) - 8;
        default:
            return QString::fromUtf8(kTexts[byte() % kTextCount]);
        }
    }
};

QString workFile()
{
    return g_dir->filePath(QStringLiteral("workshop.db"));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void removeFiles()
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(workFile() + QLatin1String(suffix));
}

// What another program does to the file, statement by statement; statements
// SQLite refuses are simply not done.
void writeAsAnotherProgram(Reader &in)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kWriter);
        db.setDatabaseName(workFile());
        if (db.open()) {
            for (int n = 0; n < 12 && !in.atEnd(); ++n) {
                const Table &t = kTables.at(in.byte() % kTables.size());
                const QString table = QString::fromLatin1(t.name);
                const QString column
                    = QString::fromLatin1(t.columns.at(in.byte() % t.columns.size()));
                QSqlQuery q(db);
                switch (in.byte() % StCount) {
                case StInsert: {
                    QStringList columns;
                    QStringList marks;
                    for (const char *name : t.columns) {
                        columns << QString::fromLatin1(name);
                        marks << QStringLiteral("?");
                    }
                    q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table, columns.join(QLatin1Char(',')),
                                       marks.join(QLatin1Char(','))));
                    for (int i = 0; i < t.columns.size(); ++i)
                        q.addBindValue(in.value());
                    q.exec();
                    break;
                }
                case StUpdate:
                    q.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid % ? = 0")
                                  .arg(table, column));
                    q.addBindValue(in.value());
                    q.addBindValue(1 + in.byte() % 4);
                    q.exec();
                    break;
                case StDelete:
                    q.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid % ? = 0").arg(table));
                    q.addBindValue(1 + in.byte() % 4);
                    q.exec();
                    break;
                case StLoosen:
                    q.exec(QStringLiteral("CREATE TABLE loose AS SELECT * FROM %1").arg(table));
                    q.exec(QStringLiteral("DROP TABLE %1").arg(table));
                    q.exec(QStringLiteral("ALTER TABLE loose RENAME TO %1").arg(table));
                    break;
                case StVersion:
                    q.exec(QStringLiteral("PRAGMA user_version = %1").arg(int(in.byte()) - 8));
                    break;
                default:
                    q.exec(QStringLiteral("DROP TABLE %1").arg(table));
                    break;
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(kWriter);
}

// Some bytes of the file overwritten: a damaged file or one of something else.
void overwriteBytes(Reader &in)
{
    QByteArray file = g_template;
    while (!in.atEnd()) {
        const int at = (int(in.byte()) << 8 | in.byte()) % qMax(1, file.size() + 1);
        const QByteArray patch = in.bytes(1 + in.byte() % 32);
        file.replace(at, patch.size(), patch);
    }
    QFile out(workFile());
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(file);
}

void readEverything(YmHostDatabase &db)
{
    db.machines();
    for (const QDate &day : {kDay, kDay.addDays(1), QDate()}) {
        db.plans(day);
        db.hasPlan(day, QStringLiteral("PO-2412-A01"));
        db.pieces(day);
        db.pieces(day, QTime(12, 0));
        db.pieceMaps(day);
        db.madeOn(day);
    }
    db.stopPeriods();
    db.workStart();
    db.workEnd();
    db.setting(QStringLiteral("criteria"));
    db.hostState(QStringLiteral("produced-up-to"));
    db.prepareDay(kDay.addDays(1));
}

[[noreturn]] void violated(const char *what, const QString &detail)
{
    std::fprintf(stderr, "invariant violated: %s: %s\n", what, qPrintable(detail));
    std::abort();
}

QMap<QString, QByteArray> makeSeeds()
{
    QMap<QString, QByteArray> seeds;
    // Wrong types in each table, NULLs in loosened tables, a newer version,
    // and a damaged header.
    seeds.insert(QStringLiteral("pieces-text-quantity"), QByteArray::fromHex("00"
                                                                             "02 04 00"
                                                                             "08 00"
                                                                             "08 02"
                                                                             "08 02"
                                                                             "08 08"
                                                                             "06 08"));
    seeds.insert(QStringLiteral("plans-loose-nulls"),
                 QByteArray::fromHex("00"
                                     "01 00 03"
                                     "01 00 00"
                                     "00 00 00 00 00 00 00 00 00 00"
                                     "01 06 01 02 7f"));
    seeds.insert(QStringLiteral("work-hours-not-times"), QByteArray::fromHex("00"
                                                                             "04 01 01 08 09"
                                                                             "04 02 01 08 0d"));
    seeds.insert(QStringLiteral("newer-version"), QByteArray::fromHex("00"
                                                                      "07 00 04 0c"));
    seeds.insert(QStringLiteral("header-damaged"), QByteArray::fromHex("01"
                                                                       "00 00 04 41424344"));
    return seeds;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Never destroyed: Qt's own exit-time teardown (the SQL driver's, say)
    // must not run after the application object is gone.
    ymFuzzSetUp(argc, argv, "fuzz_hostdb", makeSeeds);
    g_dir = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/fuzz_hostdb-XXXXXX"));
    {
        YmHostDatabase db;
        if (db.open(workFile()) != YmHostDatabase::Status::Ok || !db.seedIfEmpty(kDay, 6)) {
            std::fprintf(stderr, "cannot make the template database: %s\n",
                         qPrintable(db.errorText()));
            std::exit(1);
        }
    }
    g_template = readAll(workFile());
    removeFiles();
    std::atexit([] { delete g_dir; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Reader in(data, size);
    removeFiles();
    const bool sql = in.byte() % ModeCount == ModeSql;
    if (sql) {
        QFile out(workFile());
        if (!out.open(QIODevice::WriteOnly) || out.write(g_template) != g_template.size())
            std::abort();
        out.close();
        writeAsAnotherProgram(in);
    } else {
        overwriteBytes(in);
    }
    const QByteArray before = readAll(workFile());
    YmHostDatabase db;
    const YmHostDatabase::Status status = db.open(workFile());
    if (status == YmHostDatabase::Status::Ok) {
        readEverything(db);
        return 0;
    }
    if (db.errorText().isEmpty())
        violated("a refused database says why", QString::number(int(status)));
    if (YmHostDatabase::exitCode(status) == 0)
        violated("a refused database fails the host", db.errorText());
    if (!before.startsWith("SQLite format 3") && !before.isEmpty()
        && status != YmHostDatabase::Status::NotADatabase)
        violated("a file of something else is no database", db.errorText());
    if (readAll(workFile()) != before)
        violated("a refused database is left as it was", db.errorText());
    return 0;
}
