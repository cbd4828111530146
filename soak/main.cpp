// ym-workshop-soak: the reference host on a large workshop for a whole
// simulated day at full speed, with a user clicking in the plan window; prints
// the figures and fails (exit 1) when anything was lost or memory grew.
#include "ymharness.h"
#include "ymplantsoak.h"
#include "ymsoakrun.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

int runPlant(const QCommandLineParser &parser, const QCommandLineOption &machines,
             const QCommandLineOption &hours, const QCommandLineOption &from,
             const QCommandLineOption &step, const QCommandLineOption &actions,
             const QCommandLineOption &seed, const QCommandLineOption &db)
{
    YmPlantSoakOptions options;
    options.target = parser.value(db);
    if (!options.target.startsWith(QLatin1String("postgres"))) {
        std::fprintf(stderr, "ym-workshop-soak: --plant needs --db postgresql://...\n");
        return 2;
    }
    // The plant's own defaults where the single workshop's do not fit.
    options.machines
        = parser.isSet(machines) ? qBound(1, parser.value(machines).toInt(), 5000) : 125;
    if (parser.isSet(hours))
        options.hours = qBound(1, parser.value(hours).toInt(), 24);
    if (parser.isSet(from))
        options.from = QTime::fromString(parser.value(from), QStringLiteral("HH:mm"));
    options.stepSeconds = qBound(10, parser.value(step).toInt(), 3600);
    if (parser.isSet(actions))
        options.actionsPerHour = qBound(0, parser.value(actions).toInt(), 3600);
    options.seed = parser.value(seed).toULongLong();
    if (!options.from.isValid()) {
        std::fprintf(stderr, "ym-workshop-soak: bad --from\n");
        return 2;
    }
    const YmPlantSoakResult result = YmPlantSoak::run(options, [](const QString &line) {
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    });
    for (const QString &line : result.summary())
        std::printf("%s\n", qPrintable(line));
    std::printf("plant soak %s\n", result.ok() ? "passed" : "FAILED");
    return result.ok() ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    YmHarness::start();
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Soak run of the reference host."));
    parser.addHelpOption();
    const QCommandLineOption machines(QStringLiteral("machines"),
                                      QStringLiteral("Machines (default 500)."),
                                      QStringLiteral("N"), QStringLiteral("500"));
    const QCommandLineOption hours(QStringLiteral("hours"),
                                   QStringLiteral("Simulated hours (default 24)."),
                                   QStringLiteral("N"), QStringLiteral("24"));
    const QCommandLineOption from(QStringLiteral("from"),
                                  QStringLiteral("Start time of day (default 00:00)."),
                                  QStringLiteral("HH:MM"), QStringLiteral("00:00"));
    const QCommandLineOption step(QStringLiteral("step"),
                                  QStringLiteral("Simulated seconds per tick (default 30)."),
                                  QStringLiteral("S"), QStringLiteral("30"));
    const QCommandLineOption actions(
        QStringLiteral("actions"), QStringLiteral("User actions per simulated hour (default 60)."),
        QStringLiteral("N"), QStringLiteral("60"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed (default 1)."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption db(QStringLiteral("db"),
                                QStringLiteral("Database file (default: a temporary one)."),
                                QStringLiteral("PATH"));
    const QCommandLineOption growth(QStringLiteral("max-growth"),
                                    QStringLiteral("Allowed memory growth in MiB after "
                                                   "production stopped (default 16)."),
                                    QStringLiteral("MIB"), QStringLiteral("16"));
    const QCommandLineOption plant(QStringLiteral("plant"),
                                   QStringLiteral("Four workshops of 125 machines on the "
                                                  "PostgreSQL server of --db (a postgresql:// "
                                                  "URL), with crossing plan edits."));
    parser.addOptions({machines, hours, from, step, actions, seed, db, growth, plant});
    parser.process(app);
    if (parser.isSet(plant))
        return runPlant(parser, machines, hours, from, step, actions, seed, db);

    YmSoakOptions options;
    options.machines = qBound(1, parser.value(machines).toInt(), 5000);
    options.hours = qBound(1, parser.value(hours).toInt(), 24);
    options.from = QTime::fromString(parser.value(from), QStringLiteral("HH:mm"));
    options.stepSeconds = qBound(10, parser.value(step).toInt(), 3600);
    options.actionsPerHour = qBound(0, parser.value(actions).toInt(), 3600);
    options.seed = parser.value(seed).toULongLong();
    options.dbPath = parser.value(db);
    if (!options.from.isValid()) {
        std::fprintf(stderr, "ym-workshop-soak: bad --from\n");
        return 2;
    }

    const YmSoakResult result = YmSoakRun::run(options, [](const QString &line) {
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    });
    for (const QString &line : result.summary())
        std::printf("%s\n", qPrintable(line));
    const bool flat = result.rssEveningGrowthKb <= parser.value(growth).toLongLong() * 1024;
    if (!flat)
        std::printf("FAILED: memory grew after production stopped\n");
    const bool ok = result.ok() && flat;
    std::printf("soak %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
