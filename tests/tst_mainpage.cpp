// The main window as the host drives it: data calls fold into the model and
// every refresh reaches the panels and the notification manager.
#include "ymclock.h"
#include "ymharness.h"
#include "ymitempixmaptext.h"
#include "ymmacstatepage.h"
#include "ymmetatypes.h"
#include "ymnotifycountwidget.h"
#include "ymnotifymanager.h"
#include "ymnotifywidget.h"
#include "ymtableviewwidget.h"
#include "ymtestsupport.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopplanratechart.h"
#include "ymworkshopplanratelabel.h"
#include "ymworkshopplanratepage.h"
#include "ymworkshopplantable.h"
#include "ymworkshopverticalbarchart.h"

#include <QLabel>
#include <QtTest>

namespace {

QVariant machine(const char *key, int state)
{
    return QVariantList{QLatin1String(key), QLatin1String(key), state};
}

QString barsText(const QVariantList &bars)
{
    QStringList parts;
    for (const QVariant &bar : bars) {
        const QVariantList b = bar.toList();
        parts << QStringLiteral("%1:%2/%3")
                     .arg(b.value(0).toString())
                     .arg(b.value(1).toInt())
                     .arg(b.value(2).toInt());
    }
    return parts.join(QLatin1Char(' '));
}

struct Panels
{
    explicit Panels(YmWorkshopManageMainPage &main)
        : orders(main.findChild<YmWorkshopHorizontalBarChart *>())
        , groups(main.findChild<YmWorkshopVerticalBarchart *>())
        , rate(main.findChild<YmWorkshopPlanRatePage *>())
        , states(main.findChild<YmMacStatePage *>())
        , table(main.findChild<YmWorkshopPlanTable *>(QStringLiteral("dockWidgetContents_table")))
    {}
    QString text() const
    {
        return QStringList{
            barsText(orders->barData()),
            barsText(groups->barData()),
            QStringLiteral("%1/%2 left %3")
                .arg(rate->chart()->completed())
                .arg(rate->chart()->total())
                .arg(rate->outstandingLabel()->value()),
            states->onlineItem()->text(),
            states->workingItem()->text(),
            states->abnormalItem()->text(),
            states->offlineItem()->text(),
            QStringList{table->medal(0)->text(), table->medal(1)->text(), table->medal(2)->text()}
                .join(QLatin1Char(','))
                .replace(QLatin1Char('\n'), QLatin1Char(' '))}
            .join(QStringLiteral(" | "));
    }
    YmWorkshopHorizontalBarChart *orders;
    YmWorkshopVerticalBarchart *groups;
    YmWorkshopPlanRatePage *rate;
    YmMacStatePage *states;
    YmWorkshopPlanTable *table;
};

void load(YmWorkshopManageMainPage &main, int notify = 0)
{
    main.initDatas(
        {QVariantList{planRow("A", "M1", "G1", 50, 20, notify), planRow("B", "M2", "G2", 30, 10),
                      planRow("A", "M3", "G2", 20, 5, notify)},
         1, 0, 0},
        {machine("M1", 1), machine("M2", 2), machine("M3", 2), machine("M4", 3), machine("M5", 0),
         machine("M6", 9)},
        {}, QStringLiteral("08:00:00"), QStringLiteral("17:00:00"), 480);
}

int pendingNotifications()
{
    YmNotifyManager *m = YmNotifyManager::instance();
    return m->visibleWidgets().size() + m->queueSize();
}

} // namespace

class TstMainPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }
    void cleanup() { YmNotifyManager::destroyInstance(); }

    void hostCallsReachPanels()
    {
        YmWorkshopManageMainPage main;
        Panels panels(main);
        load(main);
        QCOMPARE(panels.table->minimumWidth(), 520);
        QCOMPARE(panels.text(),
                 QStringLiteral("A:70/25 B:30/10 | G1:50/20 G2:50/15 | 35/100 left 65 | 在线 1 | "
                                "工作 2 | 异常 1 | 离线 1 | M3 5,M2 10,M1 20"));
        main.updateMacProcess(QStringLiteral("M3"),
                              {QVariant(QVariantList{QStringLiteral("A.nc"), QVariant(), 18})});
        main.updateLv1Name(QStringLiteral("G2"), QStringLiteral("Assembly"));
        // A state change shows on the next recount (the page's clock tick).
        main.updateMacState(QStringLiteral("M5"), 2, QStringLiteral("M5"));
        main.updateMacState(QStringLiteral("M1"), 1, QStringLiteral("一号机"));
        QVERIFY(panels.text().contains(QStringLiteral("工作 2 | 异常 1 | 离线 1")));
        main.recountMachineStates();
        QCOMPARE(panels.text(),
                 QStringLiteral("A:70/38 B:30/10 | G1:50/20 Assembly:50/28 | 48/100 left 52 | "
                                "在线 1 | 工作 3 | 异常 1 | 离线 0 | M2 10,一号机 20,M3 18"));
    }

    // A plan above its threshold is notified again by every refresh: its popup
    // shows the time of the latest, so the popup tells which calls refreshed.
    void refreshRaisesNotifications_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("refreshed");
        QTest::newRow("process of a known machine") << QStringLiteral("process") << true;
        QTest::newRow("process of an unknown machine") << QStringLiteral("unknown") << false;
        QTest::newRow("group rename, no match") << QStringLiteral("lv1") << true;
        QTest::newRow("state and name change") << QStringLiteral("state") << false;
        QTest::newRow("work time") << QStringLiteral("worktime") << false;
        QTest::newRow("plans of a date") << QStringLiteral("query") << false;
    }
    void refreshRaisesNotifications()
    {
        QFETCH(QString, call);
        QFETCH(bool, refreshed);
        const QDateTime first(QDate(2024, 3, 5), QTime(10, 0)), later = first.addSecs(90);
        YmClock::setFixed(first);
        YmWorkshopManageMainPage main;
        load(main, 10); // A: 25 of 70 is 35 %, above 10 %
        YmClock::setFixed(later);
        const QString unused = QStringLiteral("x");
        if (call == QLatin1String("process"))
            main.updateMacProcess(QStringLiteral("M1"), {});
        else if (call == QLatin1String("unknown"))
            main.updateMacProcess(QStringLiteral("M9"), {});
        else if (call == QLatin1String("lv1"))
            main.updateLv1Name(QStringLiteral("nobody"), unused);
        else if (call == QLatin1String("state"))
            main.updateMacState(QStringLiteral("M1"), 3, unused);
        else if (call == QLatin1String("worktime"))
            main.updateWorkTimeData(unused, unused, 540);
        else
            main.queryDatePlan(QStringLiteral("2024-03-05"), {});
        YmClock::setFixed(QDateTime());

        // One popup for the plan whatever the number of refreshes.
        QCOMPARE(pendingNotifications(), 1);
        const YmNotifyWidget *shown = YmNotifyManager::instance()->visibleWidgets().value(0);
        QCOMPARE(shown->raisedAt(), refreshed ? later : first);
        QCOMPARE(shown->findChild<QLabel *>(QStringLiteral("label_title"))->text(),
                 QStringLiteral("2024-03-05  ")
                     + shown->raisedAt().toString(QStringLiteral("HH:mm:ss")));
    }

    // A board nobody attends: each refresh renotifies the same plans; each keeps
    // one popup with its newest text and one entry in the history.
    void thousandRefreshesKeepOnePopupPerPlan()
    {
        YmWorkshopManageMainPage main;
        const char *macs[] = {"M1", "M2", "M3"};
        const char *plans[] = {"A", "B", "C"};
        QVariantList rows;
        for (int i = 0; i < 3; ++i)
            rows << planRow(plans[i], macs[i], "G", 2000, 300, 5);
        main.initDatas({rows, 1, 0, 0}, {}, {}, QString(), QString(), 0);
        for (int i = 1; i <= 1000; ++i) // machine i % 3 reports 200 + i pieces
            main.updateMacProcess(
                QLatin1String(macs[i % 3]),
                {QVariant(QVariantList{QString(QLatin1String(plans[i % 3]) + QStringLiteral(".nc")),
                                       QVariant(), 200 + i})});
        YmNotifyManager *m = YmNotifyManager::instance();
        // Last reports: M1 999, M2 1000, M3 998.
        QStringList shown;
        for (const YmNotifyWidget *w : m->visibleWidgets())
            shown << w->text();
        QCOMPARE(shown, strings({"计划订单：A(1199/2000)59.00%", "计划订单：B(1200/2000)60.00%",
                                 "计划订单：C(1198/2000)59.00%"}));
        QCOMPARE(m->queueSize(), 0);
        QCOMPARE(m->history().size(), 3);
    }

    // At 10:30 of an 08:00-18:00 day: "late" makes 60 an hour of 1000 (61 % at
    // the end), "fine" 40 of 300 (about 145 %).
    void plansAtRiskMarked()
    {
        YmClock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(10, 30)));
        const auto withPieces = [](QVariant r, const char *at, int quantity) {
            QVariantList list = r.toList();
            list[9] = QVariant::fromValue(
                YmPieceMap{{QStringLiteral("2024-03-05 ") + QLatin1String(at), quantity}});
            return QVariant(list);
        };
        YmWorkshopManageMainPage main;
        main.initDatas(
            {QVariantList{withPieces(planRow("late", "M1", "G", 600, 100), "10:00:00", 60),
                          withPieces(planRow("late", "M2", "G", 400, 0), "09:00:00", 100),
                          withPieces(planRow("fine", "M3", "G", 300, 40), "10:10:00", 40)},
             1, 0, 0},
            {}, {}, QStringLiteral("08:00:00"), QStringLiteral("18:00:00"), 600);
        QTRY_COMPARE(Panels(main).orders->plansAtRisk(), QSet<QString>{QStringLiteral("late")});
        YmClock::setFixed(QDateTime());
        const auto *table = main.findChild<YmTableViewWidget *>();
        QCOMPARE(table->machinesAtRisk(),
                 (QSet<QString>{QStringLiteral("M1"), QStringLiteral("M2")}));
    }

    // Malformed payloads through every data call: nothing crashes and the board
    // shows correct figures for a sane day afterwards.
    void malformedPayloads_data()
    {
        QTest::addColumn<QVariantList>("planData");
        QTest::addColumn<QVariantList>("entries");
        const QVariant map = QVariantMap{{QStringLiteral("k"), 1}};
        QVariantList wordy = planRow("A", "M1", "G", 0, 0).toList();
        wordy[6] = QStringLiteral("many");
        wordy[9] = QStringLiteral("no map");
        const QVariant three = QVariantList{QStringLiteral("A"), 1, QStringLiteral("M1")};
        QTest::newRow("all empty") << QVariantList{} << QVariantList{};
        QTest::newRow("rows of three")
            << QVariantList{QVariant(QVariantList{three})} << QVariantList{three};
        QTest::newRow("strings for ints")
            << QVariantList{QVariantList{QVariant(wordy)}, QStringLiteral("x")}
            << QVariantList{QVariant(QVariantList{QStringLiteral("A.nc"), QStringLiteral("p"), 5})};
        QTest::newRow("maps for lists") << QVariantList{map, map} << QVariantList{map, map};
        QTest::newRow("huge and negative")
            << QVariantList{QVariantList{planRow("A", "M1", "G", INT_MAX, INT_MAX, INT_MAX),
                                         planRow("A", "M1", "G", -5, -7, -1)}}
            << QVariantList{QVariant(QVariantList{QStringLiteral("M1"), QVariant(), INT_MIN})};
    }
    void malformedPayloads()
    {
        QFETCH(QVariantList, planData);
        QFETCH(QVariantList, entries);
        YmWorkshopManageMainPage main;
        main.initDatas(planData, entries, entries, QStringLiteral("25:99"), QString(), -1e300);
        main.updateMacState(QStringLiteral("M1"), -1, QString());
        main.updateMacProcess(QStringLiteral("M1"), entries);
        main.updateLv1Name(QStringLiteral("G"), QString());
        main.updateWorkTimeData(QStringLiteral("x"), QStringLiteral("y"), INT_MIN);
        main.queryDatePlan(QString(), planData);
        main.recountMachineStates();
        main.resize(800, 600);
        QImage img(main.size(), QImage::Format_ARGB32_Premultiplied);
        main.render(&img);

        load(main);
        QVERIFY(Panels(main).text().startsWith(QStringLiteral("A:70/25 B:30/10 | G1:50/20")));
    }
};

QTEST_MAIN(TstMainPage)
#include "tst_mainpage.moc"
