// ym-workshop-soak: the reference host on a large workshop for a whole
// simulated day at full speed, with a user clicking in the plan window; prints
// the figures and fails (exit 1) when anything was lost or memory grew.
#include "ymplatformmessagefilter.h"
#include "ymresources.h"
#include "ymsoakrun.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char *argv[])
{
    YmPlatformMessageFilter::install();
    QApplication app(argc, argv);
    ymRegisterResources();

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
    parser.addOptions({machines, hours, from, step, actions, seed, db, growth});
    parser.process(app);

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
