#ifndef YMFUZZSETUP_H
#define YMFUZZSETUP_H

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Writes a target's seeds, one file per name, into dir; 0 when all were
// written.
inline int ymWriteSeeds(const QString &dir, const QMap<QString, QByteArray> &seeds)
{
    if (!QDir().mkpath(dir))
        return 1;
    for (auto it = seeds.cbegin(); it != seeds.cend(); ++it) {
        QFile file(QDir(dir).filePath(it.key()));
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
            return 1;
    }
    std::printf("wrote %d seeds to %s\n", int(seeds.size()), qPrintable(dir));
    return 0;
}

// The start every target shares, from LLVMFuzzerInitialize: the offscreen
// platform unless another is asked for, one time zone, Qt's messages
// silenced when `quiet`, and `--make-seeds DIR` answered by writing the
// target's seed corpus and exiting. Returns the application, which the
// caller owns.
inline QApplication *ymFuzzSetUp(int *argc, char ***argv, const char *name,
                                 QMap<QString, QByteArray> (*makeSeeds)(), bool quiet = true)
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
            std::exit(ymWriteSeeds(QString::fromLocal8Bit((*argv)[i + 1]), makeSeeds()));
    }
    return app;
}

#endif // YMFUZZSETUP_H
