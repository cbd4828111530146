// Demo host of the workshop board: loads the module like a production data
// collector would, registers every callback (printing what it receives), pushes
// a sample day and keeps the board alive with simulated machine reports.
//
//   ym-workshop-demo                      show the board
//   ym-workshop-demo --screenshot F.png   render the board to a PNG and exit
//                    [--size 1920x1080]
//   ym-workshop-demo --scale F            force Qt's scale factor F (default: from the
//                                         screen, or from --size with --screenshot)

#include "boardscale.h"

#include <ymworkshopmanage.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

struct HostState
{
    QString name = QStringLiteral("demo host");
    int callbacks = 0;
};

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QString mapText(const QMap<QString, int> &map)
{
    QStringList parts;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        parts << it.key() + QLatin1Char('=') + QString::number(it.value());
    return QLatin1Char('{') + parts.join(QLatin1String(", ")) + QLatin1Char('}');
}

HostState *host(void *data)
{
    auto *state = static_cast<HostState *>(data);
    ++state->callbacks;
    return state;
}

void onQueryDatePlan(void *data, const QString &date)
{
    out() << host(data)->name << ": query plans of " << date << Qt::endl;
}

void onAddDatePlan(void *data, const QString &date, const QString &planName,
                   const QString &fileName, const QMap<QString, int> &mapMacCount, int notifyNum)
{
    out() << host(data)->name << ": add plan " << planName << " (" << fileName << ") on " << date
          << ' ' << mapText(mapMacCount) << " notify at " << notifyNum << '%' << Qt::endl;
}

void onEditDatePlan(void *data, const QString &date, const QString &oldPlanName,
                    const QString &newPlanName, const QString &oldFileName,
                    const QString &newFileName, const QMap<QString, int> &mapMacCount,
                    int notifyNum)
{
    out() << host(data)->name << ": edit plan " << oldPlanName << " -> " << newPlanName << " ("
          << oldFileName << " -> " << newFileName << ") on " << date << ' ' << mapText(mapMacCount)
          << " notify at " << notifyNum << '%' << Qt::endl;
}

void onDelDatePlan(void *data, const QString &date, const QString &planName)
{
    out() << host(data)->name << ": delete plan " << planName << " on " << date << Qt::endl;
}

void onPlanStopSetting(void *data)
{
    out() << host(data)->name << ": open planned downtime settings" << Qt::endl;
}

void onPlanWorkTimeSetting(void *data)
{
    out() << host(data)->name << ": open work hours settings" << Qt::endl;
}

void onUpdateDateInit(void *data)
{
    out() << host(data)->name << ": a new day began, the host reloads its plans" << Qt::endl;
}

QVariantList orderRow(const QString &plan, const QString &macKey, const QString &macName,
                      const QString &group, const QString &file, int planned, int completed,
                      int notifyNum)
{
    QMap<QString, int> pieces;
    const QDateTime start(QDate::currentDate(), QTime(8, 0));
    int counted = 0;
    for (int i = 0; counted < completed; ++i) {
        const int qty = qMin(5, completed - counted);
        pieces.insert(start.addSecs(i * 420).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), qty);
        counted += qty;
    }
    return {plan, QString(), macKey,    macName,   group,
            file, planned,   completed, notifyNum, QVariant::fromValue(pieces)};
}

struct SampleDay
{
    QVariantList planData;
    QVariantList macList;
    QStringList macKeys;
};

SampleDay sampleDay()
{
    const QStringList groups
        = {QStringLiteral("注塑车间"), QStringLiteral("冲压车间"), QStringLiteral("装配车间")};
    const QStringList plans = {QStringLiteral("PO-2412-A01"), QStringLiteral("PO-2412-B07"),
                               QStringLiteral("PO-2412-C03"), QStringLiteral("PO-2412-D12")};
    const int states[] = {2, 2, 1, 2, 3, 2, 0, 2, 1, 2, 2, 0};

    SampleDay day;
    QVariantList rows;
    for (int m = 0; m < 12; ++m) {
        const QString key = QStringLiteral("MAC-%1").arg(m + 1, 3, 10, QLatin1Char('0'));
        const QString name = QStringLiteral("%1号机").arg(m + 1);
        day.macKeys << key;
        day.macList << QVariant(QVariantList{key, name, states[m]});
        const QString group = groups.at(m % groups.size());
        const QString plan = plans.at(m % plans.size());
        const int planned = 120 + 40 * (m % 5);
        const int completed = planned * (25 + 6 * m) / 100;
        rows << QVariant(orderRow(plan, key, name, group, plan + QStringLiteral(".nc"), planned,
                                  completed, m % plans.size() == 3 ? 60 : 95));
    }
    day.planData = {rows, 1, 0, 0};
    return day;
}

} // namespace

int main(int argc, char *argv[])
{
    chooseBoardScale(argc, argv);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ym-workshop-demo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Demo host of the workshop board"));
    parser.addHelpOption();
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Render the board to FILE and exit."),
                                  QStringLiteral("FILE"));
    QCommandLineOption size(QStringLiteral("size"),
                            QStringLiteral("Board size for --screenshot (default 1920x1080)."),
                            QStringLiteral("WxH"), QStringLiteral("1920x1080"));
    QCommandLineOption scale(QStringLiteral("scale"),
                             QStringLiteral("Qt's scale factor for the board (default: chosen "
                                            "from the screen size)."),
                             QStringLiteral("F"));
    parser.addOption(screenshot);
    parser.addOption(size);
    parser.addOption(scale);
    parser.process(app);

    HostState state;
    YmWorkshopManage board;
    board.setData(&state);
    board.setQueryDatePlanCB(onQueryDatePlan);
    board.setAddDatePlanCB(onAddDatePlan);
    board.setEditDatePlanCB(onEditDatePlan);
    board.setDelDatePlanCB(onDelDatePlan);
    board.setPlanStopSettingPageShowCB(onPlanStopSetting);
    board.setPlanWorkTimeSettingPageShowCB(onPlanWorkTimeSetting);
    board.setUpdateDateInitDataCB(onUpdateDateInit);

    const SampleDay day = sampleDay();
    board.initDatas(day.planData, day.macList, {}, QStringLiteral("08:00:00"),
                    QStringLiteral("20:00:00"), 600);
    if (!parser.isSet(screenshot))
        board.show();

    if (parser.isSet(screenshot)) {
        const QStringList wh = parser.value(size).split(QLatin1Char('x'));
        const QSize target(wh.value(0).toInt(), wh.value(1).toInt());
        if (!target.isValid()) {
            std::fprintf(stderr, "bad --size, expected WxH\n");
            return 2;
        }
        QWidget *page = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->windowTitle() == QStringLiteral("车间管理看板"))
                page = w;
        }
        if (!page) {
            std::fprintf(stderr, "the board window was not found\n");
            return 1;
        }
        const QString file = parser.value(screenshot);
        // Sized before it is first shown, so that the docks are laid out once, at
        // the final size. --size counts device pixels, the window Qt's scaled ones.
        page->resize(target / page->devicePixelRatioF());
        page->show();
        // Let layouts, docks and the first paint settle before grabbing.
        QTimer::singleShot(300, &app, [&] {
            const QImage image = page->grab().toImage();
            const bool ok = image.save(file);
            out() << (ok ? "wrote " : "could not write ") << file << ' ' << image.width() << 'x'
                  << image.height() << Qt::endl;
            app.exit(ok ? 0 : 1);
        });
        return app.exec();
    }

    // Simulated machine reports: every two seconds one machine reports its count.
    int tick = 0;
    QTimer reports;
    QObject::connect(&reports, &QTimer::timeout, &app, [&] {
        const int m = tick++ % day.macKeys.size();
        const QVariantList row = day.planData.value(0).toList().value(m).toList();
        const int completed = row.value(7).toInt() + 3 + tick / day.macKeys.size();
        board.updateMacProcess(day.macKeys.at(m),
                               {QVariant(QVariantList{row.value(5), QVariant(), completed})});
        if (tick % 7 == 0)
            board.updateMacState(day.macKeys.at(m), tick % 4, row.value(3).toString());
    });
    reports.start(2000);
    return app.exec();
}
