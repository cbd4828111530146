#ifndef YMFUZZSETUP_H
#define YMFUZZSETUP_H

#include <QApplication>
#include <QString>

#include <cstdlib>
#include <cstring>

// The start every target shares, from LLVMFuzzerInitialize: the offscreen
// platform unless another is asked for, one time zone, Qt's messages
// silenced when `quiet`, and `--make-seeds DIR` answered by writing the
// target's seed corpus and exiting. Returns the application, which the
// caller owns.
inline QApplication *ymFuzzSetUp(int *argc, char ***argv, const char *name,
                                 int (*makeSeeds)(const QString &dir), bool quiet = true)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Inputs replay the same anywhere, and with summer time the days the
    // clocks change stay reachable. Given as a rule rather than a file: with
    // TZ unset or naming a file, the C library looks at the zone file again on
    // every local-time conversion (two thirds of the board target's time).
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    static int qtArgc = 1;
    static char *qtArgv[] = {const_cast<char *>(name), nullptr};
    QApplication *app = new QApplication(qtArgc, qtArgv);
    if (quiet) // the offscreen platform warns about every window it cannot raise
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    for (int i = 1; i + 1 < *argc; ++i) {
        if (std::strcmp((*argv)[i], "--make-seeds") == 0)
            std::exit(makeSeeds(QString::fromLocal8Bit((*argv)[i + 1])));
    }
    return app;
}

#endif // YMFUZZSETUP_H
