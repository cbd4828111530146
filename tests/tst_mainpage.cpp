// The main window as the host drives it: data calls fold into the model and
// every refresh reaches the panels and the notification manager.
#include "ymitempixmaptext.h"
#include "ymmacstatepage.h"
#include "ymmetatypes.h"
#include "ymnotifymanager.h"
#include "ymnotifywidget.h"
#include "ymresources.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopplanratechart.h"
#include "ymworkshopplanratelabel.h"
#include "ymworkshopplanratepage.h"
#include "ymworkshopverticalbarchart.h"

#include <QLabel>
#include <QtTest>

namespace {

QVariant row(const QString &plan, const QString &mac, const QString &group, const QString &file,
             int planned, int completed, int notify)
{
    const QString name = mac + QStringLiteral("-name");
    return QVariantList{plan, QVariant(), mac,       name,   group,
                        file, planned,    completed, notify, QVariant::fromValue(YmPieceMap())};
}

QVariant machine(const QString &key, int state)
{
    const QString name = key + QStringLiteral("-name");
    return QVariantList{key, name, state};
}

// "name:planned/completed" per bar, the way a reader of the chart sees it.
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

template<typename T>
T *panel(YmWorkshopManageMainPage &main, const char *name)
{
    return main.findChild<T *>(QString::fromLatin1(name));
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

    void load(YmWorkshopManageMainPage &main)
    {
        const QVariantList rows{
            row(QStringLiteral("A"), QStringLiteral("M1"), QStringLiteral("G1"),
                QStringLiteral("a.nc"), 50, 20, 0),
            row(QStringLiteral("B"), QStringLiteral("M2"), QStringLiteral("G2"),
                QStringLiteral("b.nc"), 30, 10, 0),
            row(QStringLiteral("A"), QStringLiteral("M3"), QStringLiteral("G2"),
                QStringLiteral("a.nc"), 20, 5, 0),
        };
        main.initDatas({rows, 1, 0, 0},
                       {machine(QStringLiteral("M1"), 1), machine(QStringLiteral("M2"), 2),
                        machine(QStringLiteral("M3"), 2), machine(QStringLiteral("M4"), 3),
                        machine(QStringLiteral("M5"), 0), machine(QStringLiteral("M6"), 9)},
                       {}, QStringLiteral("08:00:00"), QStringLiteral("17:00:00"), 480);
    }

private slots:
    void initTestCase()
    {
        ymRegisterResources();
        ymRegisterMetaTypes();
    }
    void cleanup() { YmNotifyManager::destroyInstance(); }

    void initDatasFillsEveryPanel()
    {
        YmWorkshopManageMainPage main;
        load(main);

        auto *orders
            = panel<YmWorkshopHorizontalBarChart>(main, "dockWidgetContents_datePlanTotalProgress");
        auto *groups = panel<YmWorkshopVerticalBarchart>(main, "dockWidgetContents_planState");
        auto *rate = panel<YmWorkshopPlanRatePage>(main, "dockWidgetContents_planRate");
        auto *states = panel<YmMacStatePage>(main, "dockWidgetContents_macState");
        QVERIFY(orders && groups && rate && states);

        QCOMPARE(barsText(orders->barData()), QStringLiteral("A:70/25 B:30/10"));
        QCOMPARE(barsText(groups->barData()), QStringLiteral("G1:50/20 G2:50/15"));
        QCOMPARE(rate->chart()->total(), 100.0);
        QCOMPARE(rate->chart()->completed(), 35.0);
        QCOMPARE(rate->completedLabel()->value(), 35);
        QCOMPARE(rate->outstandingLabel()->value(), 65);
        QCOMPARE(states->onlineItem()->text(), QStringLiteral("在线 1"));
        QCOMPARE(states->workingItem()->text(), QStringLiteral("工作 2"));
        QCOMPARE(states->abnormalItem()->text(), QStringLiteral("异常 1"));
        QCOMPARE(states->offlineItem()->text(), QStringLiteral("离线 1"));
    }

    // State changes reach the panel on the next recount (the page's clock tick).
    void stateChangeShowsOnRecount()
    {
        YmWorkshopManageMainPage main;
        load(main);
        auto *states = panel<YmMacStatePage>(main, "dockWidgetContents_macState");
        main.updateMacState(QStringLiteral("M5"), 2, QStringLiteral("M5-name"));
        main.updateMacState(QStringLiteral("NEW"), 3, QStringLiteral("new"));
        QCOMPARE(states->workingItem()->text(), QStringLiteral("工作 2"));
        main.recountMachineStates();
        QCOMPARE(states->workingItem()->text(), QStringLiteral("工作 3"));
        QCOMPARE(states->offlineItem()->text(), QStringLiteral("离线 0"));
        QCOMPARE(states->abnormalItem()->text(), QStringLiteral("异常 2"));
    }

    void processUpdatesRefresh()
    {
        YmWorkshopManageMainPage main;
        load(main);
        auto *orders
            = panel<YmWorkshopHorizontalBarChart>(main, "dockWidgetContents_datePlanTotalProgress");
        auto *rate = panel<YmWorkshopPlanRatePage>(main, "dockWidgetContents_planRate");

        main.updateMacProcess(QStringLiteral("M3"),
                              {QVariant(QVariantList{QStringLiteral("a.nc"), QVariant(), 18})});
        QCOMPARE(barsText(orders->barData()), QStringLiteral("A:70/38 B:30/10"));
        QCOMPARE(rate->completedLabel()->value(), 48);

        main.updateLv1Name(QStringLiteral("G2"), QStringLiteral("Assembly"));
        auto *groups = panel<YmWorkshopVerticalBarchart>(main, "dockWidgetContents_planState");
        QCOMPARE(barsText(groups->barData()), QStringLiteral("G1:50/20 Assembly:50/28"));
    }

    // Whether a call refreshed shows in the notification manager: a plan above
    // its threshold queues one notification per refresh.
    void refreshRaisesNotifications_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("added");
        QTest::newRow("process of a known machine") << QStringLiteral("process") << 1;
        QTest::newRow("process of an unknown machine") << QStringLiteral("unknown") << 0;
        QTest::newRow("group rename, no match") << QStringLiteral("lv1") << 1;
        QTest::newRow("state and name change") << QStringLiteral("state") << 0;
        QTest::newRow("work time") << QStringLiteral("worktime") << 0;
        QTest::newRow("plans of another date") << QStringLiteral("query") << 0;
    }
    void refreshRaisesNotifications()
    {
        QFETCH(QString, call);
        QFETCH(int, added);

        YmWorkshopManageMainPage main;
        const QVariantList rows{row(QStringLiteral("A"), QStringLiteral("M1"), QStringLiteral("G1"),
                                    QStringLiteral("a.nc"), 50, 45, 80)};
        main.initDatas({rows, 0, 0, 0}, {machine(QStringLiteral("M1"), 2)}, {}, QString(),
                       QString(), 0);
        QCOMPARE(pendingNotifications(), 1);
        const YmNotifyManager *m = YmNotifyManager::instance();
        QVERIFY(!m->visibleWidgets().isEmpty());

        if (call == QLatin1String("process"))
            main.updateMacProcess(QStringLiteral("M1"), {});
        else if (call == QLatin1String("unknown"))
            main.updateMacProcess(QStringLiteral("M9"),
                                  {QVariant(QVariantList{QStringLiteral("a.nc"), QVariant(), 1})});
        else if (call == QLatin1String("lv1"))
            main.updateLv1Name(QStringLiteral("nobody"), QStringLiteral("x"));
        else if (call == QLatin1String("state"))
            main.updateMacState(QStringLiteral("M1"), 3, QStringLiteral("renamed"));
        else if (call == QLatin1String("worktime"))
            main.updateWorkTimeData(QStringLiteral("08:00:00"), QStringLiteral("18:00:00"), 540);
        else
            main.queryDatePlan(QStringLiteral("2024-03-05"), rows);
        QCOMPARE(pendingNotifications(), 1 + added);
        QCOMPARE(main.model().rows().at(0).toList().at(7).toInt(), 45);
    }

    void notificationTitleIsToday()
    {
        YmWorkshopManageMainPage main;
        main.initDatas({QVariantList{row(QStringLiteral("A"), QStringLiteral("M1"),
                                         QStringLiteral("G1"), QStringLiteral("a.nc"), 50, 45, 80)},
                        0, 0, 0},
                       {}, {}, QString(), QString(), 0);
        const auto shown = YmNotifyManager::instance()->visibleWidgets();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first()->findChild<QLabel *>(QStringLiteral("label_title"))->text(),
                 QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    }

    // Malformed payloads through every data call: nothing crashes and the board
    // still shows correct figures afterwards.
    void malformedPayloads_data()
    {
        QTest::addColumn<QVariantList>("planData");
        QTest::addColumn<QVariantList>("macList");
        QTest::addColumn<QVariantList>("process");

        const QVariantMap map{{QStringLiteral("k"), 1}};
        QTest::newRow("all empty") << QVariantList{} << QVariantList{} << QVariantList{};
        QTest::newRow("rows of three") << QVariantList{QVariantList{
            QVariantList{QStringLiteral("A"), 1, QStringLiteral("M1")}}}
                                       << QVariantList{QVariantList{QStringLiteral("M1")}}
                                       << QVariantList{QVariantList{QStringLiteral("a.nc")}};
        QVariantList wordy = row(QStringLiteral("A"), QStringLiteral("M1"), QStringLiteral("G"),
                                 QStringLiteral("a.nc"), 0, 0, 0)
                                 .toList();
        wordy[6] = QStringLiteral("many");
        wordy[9] = QStringLiteral("no map");
        QTest::newRow("strings for ints")
            << QVariantList{QVariantList{QVariant(wordy), QVariant()}, QStringLiteral("x")}
            << QVariantList{QVariantList{QStringLiteral("M1"), 5, QStringLiteral("two")}}
            << QVariantList{QVariantList{QStringLiteral("a.nc"), QStringLiteral("pieces"),
                                         QStringLiteral("ten")}};
        QTest::newRow("maps where lists are expected")
            << QVariantList{QVariant(map), QVariant(map)} << QVariantList{QVariant(map)}
            << QVariantList{QVariant(map), QVariantList{QVariant(map), QVariant(map), 3}};
        QTest::newRow("huge and negative numbers")
            << QVariantList{QVariantList{
                   row(QStringLiteral("A"), QStringLiteral("M1"), QStringLiteral("G"),
                       QStringLiteral("a.nc"), INT_MAX, INT_MAX, INT_MAX),
                   row(QStringLiteral("A"), QStringLiteral("M1"), QStringLiteral("G"),
                       QStringLiteral("a.nc"), -5, -7, -1)}}
            << QVariantList{QVariantList{QStringLiteral("M1"), QString(), INT_MIN}}
            << QVariantList{QVariantList{
                   QStringLiteral("a.nc"),
                   QVariant::fromValue(YmPieceMap{{QStringLiteral("k"), INT_MAX}}), INT_MIN}};
    }
    void malformedPayloads()
    {
        QFETCH(QVariantList, planData);
        QFETCH(QVariantList, macList);
        QFETCH(QVariantList, process);

        YmWorkshopManageMainPage main;
        main.initDatas(planData, macList, process, QStringLiteral("25:99:00"), QString(), -1e300);
        main.updateMacState(QStringLiteral("M1"), -1, QString());
        main.updateMacProcess(QStringLiteral("M1"), process);
        main.updateLv1Name(QStringLiteral("G"), QString());
        main.updateWorkTimeData(QStringLiteral("x"), QStringLiteral("y"), INT_MIN);
        main.queryDatePlan(QString(), planData);
        main.recountMachineStates();
        QImage img(800, 600, QImage::Format_ARGB32_Premultiplied);
        main.resize(img.size());
        main.render(&img);

        // The board keeps working: a sane day afterwards shows sane figures.
        load(main);
        auto *orders
            = panel<YmWorkshopHorizontalBarChart>(main, "dockWidgetContents_datePlanTotalProgress");
        QCOMPARE(barsText(orders->barData()), QStringLiteral("A:70/25 B:30/10"));
    }
};

QTEST_MAIN(TstMainPage)
#include "tst_mainpage.moc"
