#include "ymhostrunner.h"

#include "ymhostdatabase.h"
#include "ymhostoptions.h"
#include "ymworkshophost.h"

#include <ymworkshopmanage.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QRandomGenerator>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <cstdio>

namespace {

constexpr int kExitPicture = 1;
constexpr int kExitUsage = 2;
constexpr int kExitReplay = 8;
constexpr int kExitReplayEmpty = 10;

class Output
{
public:
    explicit Output(QStringList *errors)
        : m_errors(errors)
    {}
    void error(const QString &text) const
    {
        std::fprintf(stderr, "ym-workshop-demo: %s\n", text.toLocal8Bit().constData());
        std::fflush(stderr);
        if (m_errors)
            m_errors->append(text);
    }
    static void info(const QString &text)
    {
        std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
        std::fflush(stdout);
    }

private:
    QStringList *m_errors;
};

// The board's window is the one top-level window its construction adds; its
// title depends on the language and is no way to find it.
QWidget *windowAddedSince(const QWidgetList &before)
{
    const QWidgetList now = QApplication::topLevelWidgets();
    for (QWidget *w : now) {
        if (!before.contains(w))
            return w;
    }
    return nullptr;
}

// English where asked for, or by default where the system's language is
// English; elsewhere the board keeps its Chinese source texts.
bool wantsEnglish(const QString &language)
{
    if (!language.isEmpty())
        return language == QLatin1String("en");
    return QLocale::system().language() == QLocale::English;
}

void installTranslation(QTranslator *translator, const QString &name)
{
    // The module's and the host's .qm files are embedded under :/i18n.
    if (translator->load(QLocale(QLocale::English), name, QStringLiteral("_"),
                         QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(translator);
}

} // namespace

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void registerHostTranslations()
{
    Q_INIT_RESOURCE(ymworkshopdemo_i18n);
}

int YmHostRunner::run(const QStringList &arguments, QStringList *errors)
{
    const Output out(errors);
    YmHostOptions options;
    QString message;
    bool help = false;
    if (!options.parse(arguments, &message, &help)) {
        if (help) {
            Output::info(message);
            return 0;
        }
        out.error(message);
        return kExitUsage;
    }

    // Installed before a new workshop is named and the board and the
    // dialogs exist, so that they all start in the language.
    QTranslator boardTexts;
    QTranslator hostTexts;
    if (wantsEnglish(options.language)) {
        registerHostTranslations();
        installTranslation(&boardTexts, QStringLiteral("ymworkshopmanage"));
        installTranslation(&hostTexts, QStringLiteral("ymworkshopdemo"));
    }

    QString path = options.dbPath;
    if (path.isEmpty()) {
        path = YmHostOptions::defaultDatabasePath();
        // Our own data folder may be created; a folder the user named may not.
        QDir().mkpath(QFileInfo(path).absolutePath());
    }
    YmHostDatabase db;
    const YmHostDatabase::Status status = db.open(
        path, options.workshop.isEmpty() ? YmHostDatabase::kDefaultWorkshop : options.workshop);
    if (status != YmHostDatabase::Status::Ok) {
        out.error(db.errorText());
        return YmHostDatabase::exitCode(status);
    }

    const QDate day = options.date.isValid() ? options.date : QDate::currentDate();
    if (!db.seedIfEmpty(day, options.machines)) {
        out.error(QStringLiteral("cannot set up the workshop %1 in %2: %3")
                      .arg(db.workshop(), path, db.errorText()));
        return YmHostDatabase::exitCode(YmHostDatabase::Status::Failed);
    }

    const QWidgetList windowsBefore = QApplication::topLevelWidgets();
    YmWorkshopManage board;
    QWidget *const boardPage = windowAddedSince(windowsBefore);
    YmWorkshopHost host(&db, &board);
    QObject::connect(&host, &YmWorkshopHost::problem,
                     [&](const QString &text) { out.error(text); });

    QDateTime from(day, QTime::currentTime());
    if (!options.replayFile.isEmpty()) {
        QStringList problems;
        const bool read = host.useReplay(options.replayFile, day, &problems);
        for (const QString &problem : qAsConst(problems))
            out.error(problem);
        if (!read)
            return kExitReplay;
        if (!host.firstReplayEvent().isValid()) {
            out.error(QStringLiteral("%1: no valid event (0 events read, %2 lines refused)")
                          .arg(options.replayFile)
                          .arg(problems.size()));
            return kExitReplayEmpty;
        }
        // A replay starts with its first event unless told otherwise.
        if (host.firstReplayEvent().isValid())
            from = host.firstReplayEvent();
    } else {
        const quint64 seed
            = options.seedSet ? options.seed : QRandomGenerator::global()->generate64() >> 1;
        host.useSimulation(seed);
        if (!options.seedSet)
            Output::info(QStringLiteral("workshop simulated with --seed %1").arg(seed));
    }
    if (options.start.isValid())
        from = QDateTime(day, options.start);
    if (options.at.isValid())
        from = QDateTime(day, options.at);
    // Production already stored cannot be made again: an earlier clock would
    // hold the board still with every machine offline until it caught up.
    const QTime stored = host.storedUntil(day);
    if (stored.isValid() && from.date() == day && from.time() < stored) {
        out.error(QStringLiteral("the database already holds production of %1 up to %2; "
                                 "starting at %2 instead of %3")
                      .arg(day.toString(QStringLiteral("yyyy-MM-dd")),
                           stored.toString(QStringLiteral("HH:mm")),
                           from.time().toString(QStringLiteral("HH:mm"))));
        from = QDateTime(day, stored);
    }

    const bool picture = !options.screenshot.isEmpty();
    // A refused change is shown to the user when someone can answer the box.
    host.setWarnUser(!picture && QGuiApplication::platformName() != QLatin1String("offscreen"));
    host.begin(from, picture ? 0.0 : options.speed);
    if (!picture)
        board.show();

    if (picture) {
        QWidget *page = boardPage;
        if (!page) {
            out.error(QStringLiteral("the board window was not found"));
            return kExitPicture;
        }
        // Sized before it is first shown, so that the docks are laid out once, at
        // the final size. --size counts device pixels, the window Qt's scaled ones.
        page->resize(options.size / page->devicePixelRatioF());
        page->show();
        int result = 0;
        // Let layouts, docks and the first paint settle before grabbing.
        QTimer::singleShot(300, page, [&] {
            const QImage image = page->grab().toImage();
            if (image.save(options.screenshot)) {
                Output::info(QStringLiteral("wrote %1 %2x%3")
                                 .arg(options.screenshot)
                                 .arg(image.width())
                                 .arg(image.height()));
            } else {
                out.error(QStringLiteral("could not write %1").arg(options.screenshot));
                result = kExitPicture;
            }
            QCoreApplication::exit(result);
        });
        QCoreApplication::exec();
        return result;
    }

    host.start();
    return QCoreApplication::exec();
}
