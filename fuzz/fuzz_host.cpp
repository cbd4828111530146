// libFuzzer target for the reference host's own inputs: the replay file, the
// command line and the settings dialogs' fields. The input's first byte picks
// which; the rest is the file's bytes, the arguments (separated by NUL bytes)
// or the dialog's cells. Besides never crashing, every input must leave what
// the host goes on with sound (checked below), or the input is a finding.
//
//   fuzz_host -max_total_time=60 corpus/           fuzz (see docs/development.md)
//   fuzz_host --make-seeds DIR                     write the seed corpus
#include "ymhostoptions.h"
#include "ymreplayfeed.h"
#include "ymstopperiodsdialog.h"
#include "ymworkhoursdialog.h"

#include "ymfuzzsetup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTableWidget>
#include <QTableWidgetItem>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum Input : uint8_t { InReplay, InCommandLine, InStopPeriods, InWorkHours, InCount };

const QDate kDay(2024, 3, 5);

[[noreturn]] void violated(const char *what, const QString &detail)
{
    std::fprintf(stderr, "invariant violated: %s: %s\n", what, qPrintable(detail));
    std::abort();
}

QStringList fields(const QByteArray &bytes)
{
    QStringList out;
    for (const QByteArray &part : bytes.split('\0'))
        out << QString::fromUtf8(part);
    return out;
}

// Every event kept is one the host can deliver: on a valid moment, with a
// machine and a file, a sane quantity, in time order; every line is either
// an event, a problem, or skipped (blank, comment, header). Advancing through
// the day then hands out each event once.
void replay(const QByteArray &bytes)
{
    const QSet<QString> known
        = bytes.size() % 2 ? QSet<QString>()
                           : QSet<QString>{QStringLiteral("MAC-001"), QStringLiteral("MAC-002")};
    YmReplayFeed feed;
    QStringList problems;
    const QString text = QString::fromUtf8(bytes);
    feed.parse(text, QStringLiteral("fuzz.csv"), kDay, known, &problems);
    const QVector<YmReplayFeed::Event> &events = feed.events();
    int dataLines = 0;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (!t.isEmpty() && !t.startsWith(QLatin1Char('#')))
            ++dataLines;
    }
    if (events.size() + problems.size() > dataLines)
        violated("one event or problem per line", QStringLiteral("%1 events, %2 problems, %3 lines")
                                                      .arg(events.size())
                                                      .arg(problems.size())
                                                      .arg(dataLines));
    for (int i = 0; i < events.size(); ++i) {
        const YmReplayFeed::Event &e = events.at(i);
        if (!e.at.isValid() || e.macKey.isEmpty() || e.fileName.isEmpty() || e.quantity <= 0
            || (!known.isEmpty() && !known.contains(e.macKey)))
            violated("events are deliverable", e.macKey);
        if (i > 0 && events.at(i - 1).at > e.at)
            violated("events in time order", e.at.toString());
    }
    feed.startAt(QDateTime(kDay, QTime(0, 0)).addSecs(-1));
    int delivered = 0;
    QDateTime moment(kDay, QTime(0, 0));
    for (int hour = 0; hour <= 24; ++hour, moment = moment.addSecs(3600))
        delivered += feed.advanceTo(moment).pieces.size();
    int onTheDay = 0;
    for (const YmReplayFeed::Event &e : events)
        onTheDay += e.at >= QDateTime(kDay, QTime(0, 0)) && e.at <= moment.addSecs(-3600);
    if (delivered != onTheDay)
        violated("each event of the day delivered once",
                 QStringLiteral("%1 delivered, %2 on the day").arg(delivered).arg(onTheDay));
}

// The host either stops with a message or runs with options in range.
void commandLine(const QByteArray &bytes)
{
    QStringList arguments{QStringLiteral("ym-workshop-demo")};
    arguments << fields(bytes);
    YmHostOptions options;
    QString message;
    bool help = false;
    if (!options.parse(arguments, &message, &help)) {
        if (message.isEmpty())
            violated("a refused command line says why", arguments.join(QLatin1Char(' ')));
        return;
    }
    const auto within = [](double v, double low, double high) {
        return std::isfinite(v) && v > low && v <= high;
    };
    if (!within(options.speed, 0, 86400))
        violated("--speed in range", QString::number(options.speed));
    if (options.scale != 0 && !within(options.scale, 0, 8))
        violated("--scale in range", QString::number(options.scale));
    if (options.machines < 1 || options.machines > 5000)
        violated("--machines in range", QString::number(options.machines));
    if (options.size.width() < 100 || options.size.height() < 100 || options.size.width() > 10000
        || options.size.height() > 10000)
        violated("--size in range",
                 QStringLiteral("%1x%2").arg(options.size.width()).arg(options.size.height()));
}

// What the dialog hands back is what the host stores: named periods with
// valid start and end times, start before end, ordered by start.
void stopPeriods(const QByteArray &bytes)
{
    const QStringList cells = fields(bytes);
    YmStopPeriodsDialog dialog({});
    QTableWidget *table = dialog.table();
    table->setRowCount((cells.size() + 2) / 3);
    for (int i = 0; i < cells.size(); ++i)
        table->setItem(i / 3, i % 3, new QTableWidgetItem(cells.at(i)));
    const QList<YmStopPeriod> periods = dialog.periods();
    const QString format = QStringLiteral("HH:mm:ss");
    for (int i = 0; i < periods.size(); ++i) {
        const YmStopPeriod &p = periods.at(i);
        const QTime start = QTime::fromString(p.start, format);
        const QTime end = QTime::fromString(p.end, format);
        if (p.name.trimmed().isEmpty() || !start.isValid() || !end.isValid() || start >= end)
            violated("stop periods are valid",
                     p.name + QLatin1Char(' ') + p.start + QLatin1Char('-') + p.end);
        if (i > 0 && periods.at(i - 1).start > p.start)
            violated("stop periods ordered by start", p.start);
    }
}

// Whatever times the dialog starts from, it hands back valid ones.
void workHours(const QByteArray &bytes)
{
    const auto at = [&](int i) {
        return i < bytes.size() ? int(uint8_t(bytes.at(i))) : 0;
    };
    // Hours -1 to 24, minutes and seconds to 61: invalid times too.
    const auto time = [&](int i) {
        return QTime(at(i) % 26 - 1, at(i + 1) % 62, at(i + 2) % 62);
    };
    YmWorkHoursDialog dialog(time(0), time(3));
    if (!dialog.startTime().isValid() || !dialog.endTime().isValid())
        violated("work hours are valid times", QString::fromLatin1(bytes.toHex()));
}

QMap<QString, QByteArray> makeSeeds()
{
    QMap<QString, QByteArray> seeds;
    QFile sample(QStringLiteral(YM_SAMPLE_REPLAY));
    if (sample.open(QIODevice::ReadOnly))
        seeds.insert(QStringLiteral("replay-sample"), char(InReplay) + sample.read(4000));
    seeds.insert(
        QStringLiteral("replay-mixed"),
        char(InReplay)
            + QByteArray("time,machine,file,quantity\n# comment\n08:15,MAC-001,A.nc,3\n"
                         "2024-03-05 09:00:00,MAC-002,B.nc,1\n25:00,MAC-001,A.nc,1\n"
                         "08:20:30,MAC-009,A.nc,2\n08:30,MAC-001,,2\n08:40,MAC-001,A.nc,0\n"
                         "2024-03-06 00:00:00,MAC-001,A.nc,5\n\xff\xfe,\x01,\x02,3\n"));
    const auto joined = [](char which, std::initializer_list<const char *> parts) {
        QByteArray out(1, which);
        for (const char *part : parts)
            out += QByteArray(part) + '\0';
        out.chop(1);
        return out;
    };
    seeds.insert(QStringLiteral("command-line"),
                 joined(InCommandLine, {"--db", ":memory:", "--at", "14:00", "--speed", "60",
                                        "--size", "1920x1080", "--scale", "1.5", "--machines", "24",
                                        "--seed", "7", "--lang", "en"}));
    seeds.insert(QStringLiteral("command-line-bad"),
                 joined(InCommandLine, {"--speed", "0", "--date", "2024-02-30", "--replay"}));
    seeds.insert(QStringLiteral("stop-periods"),
                 joined(InStopPeriods, {"lunch", "12:00", "13:00", "meeting", "09:30", "09:45:00",
                                        "", "10:00", "11:00", "late", "18:00", "17:00"}));
    seeds.insert(QStringLiteral("work-hours"), QByteArray::fromHex("03091e00"
                                                                   "131e00"));
    return seeds;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Never destroyed: Qt's own exit-time teardown (the SQL driver's, say)
    // must not run after the application object is gone.
    ymFuzzSetUp(argc, argv, "fuzz_host", makeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), int(size - 1));
    switch (data[0] % InCount) {
    case InReplay:
        replay(bytes);
        break;
    case InCommandLine:
        commandLine(bytes);
        break;
    case InStopPeriods:
        stopPeriods(bytes);
        break;
    default:
        workHours(bytes);
        break;
    }
    return 0;
}
