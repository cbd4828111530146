// The exported facade: callbacks reach the host with its context, data calls
// travel the whole chain, and the facade's windows go with it.
#include "ymclock.h"
#include "ymharness.h"
#include "ymnotifymanager.h"
#include "ymtableviewplanpage.h"
#include "ymtestsupport.h"
#include "ymworkshopmanage.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"

#include <QApplication>
#include <QPointer>
#include <QtTest>

#include <functional>

namespace {

QStringList g_calls; // what the host saw: "name(ctx|arg|...)"
int g_context = 42;

void record(void *d, const char *name, const QStringList &args = {})
{
    g_calls << QLatin1String(name) + QLatin1Char('(')
                   + (QStringList{d == &g_context ? QStringLiteral("ctx") : QStringLiteral("?")}
                      + args)
                         .join(QLatin1Char('|'))
                   + QLatin1Char(')');
}

void registerAll(YmWorkshopManage &board)
{
    board.setData(&g_context);
    board.setQueryDatePlanCB([](void *d, const QString &date) { record(d, "query", {date}); });
    board.setAddDatePlanCB([](void *d, const QString &date, const QString &plan,
                              const QString &file, const QMap<QString, int> &macs, int n) {
        record(d, "add", {date, plan, file, mapText(macs, QLatin1Char(',')), QString::number(n)});
    });
    board.setEditDatePlanCB([](void *d, const QString &date, const QString &oldPlan,
                               const QString &newPlan, const QString &oldFile,
                               const QString &newFile, const QMap<QString, int> &macs, int n) {
        record(d, "edit",
               {date, oldPlan, newPlan, oldFile, newFile, mapText(macs, QLatin1Char(',')),
                QString::number(n)});
    });
    board.setDelDatePlanCB([](void *d, const QString &date, const QString &plan) {
        record(d, "del", {date, plan});
    });
    board.setPlanStopSettingPageShowCB([](void *d) { record(d, "stop"); });
    board.setPlanWorkTimeSettingPageShowCB([](void *d) { record(d, "worktime"); });
    board.setUpdateDateInitDataCB([](void *d) { record(d, "dateinit"); });
    board.setSaveKeyAttrCB([](void *d, const QString &key, const QString &value) {
        record(d, "setting", {key, value});
    });
}

QDateTime g_hostNow; // the host's workshop clock

QDateTime hostClock(void *d)
{
    return d == &g_context ? g_hostNow : QDateTime();
}

YmWorkshopManagePage *pageOf(YmWorkshopManage &board)
{
    return YmWorkshopManagePrivate::get(&board)->page;
}

using Emitter = std::function<void(YmWorkshopManagePage *)>;

} // namespace

Q_DECLARE_METATYPE(Emitter)

class TstFacade : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }
    void init() { g_calls.clear(); }

    // Signals of the main window travel through the page and the bridge.
    void callbacks_data()
    {
        QTest::addColumn<Emitter>("emitter");
        QTest::addColumn<QString>("expected");
        const QMap<QString, int> macs{{QStringLiteral("M1"), 10}, {QStringLiteral("M2"), 5}};
        const QString day = QStringLiteral("2024-03-05");
        QTest::newRow("query") << Emitter([](YmWorkshopManagePage *p) {
            emit p->mainPage()->sQueryDatePlan(QDate(2024, 3, 5));
        }) << QStringLiteral("query(ctx|2024-03-05)");
        QTest::newRow("add") << Emitter([=](YmWorkshopManagePage *p) {
            emit p->mainPage()->sAddDatePlan(day, QStringLiteral("A"), QStringLiteral("a.nc"), macs,
                                             80);
        }) << QStringLiteral("add(ctx|2024-03-05|A|a.nc|M1=10,M2=5|80)");
        QTest::newRow("edit") << Emitter([=](YmWorkshopManagePage *p) {
            emit p->mainPage()->sEditDatePlan(day, QStringLiteral("A"), QStringLiteral("B"),
                                              QStringLiteral("a.nc"), QStringLiteral("b.nc"), macs,
                                              0);
        }) << QStringLiteral("edit(ctx|2024-03-05|A|B|a.nc|b.nc|M1=10,M2=5|0)");
        QTest::newRow("delete") << Emitter([=](YmWorkshopManagePage *p) {
            emit p->mainPage()->sDelDatePlan(day, QStringLiteral("A"));
        }) << QStringLiteral("del(ctx|2024-03-05|A)");
        QTest::newRow("downtime") << Emitter([](YmWorkshopManagePage *p) {
            emit p->mainPage()->sPlanStopSettingShow();
        }) << QStringLiteral("stop(ctx)");
        QTest::newRow("work hours") << Emitter([](YmWorkshopManagePage *p) {
            emit p->mainPage()->sPlanWorkTimeSettingShow();
        }) << QStringLiteral("worktime(ctx)");
        QTest::newRow("plan window setting") << Emitter([](YmWorkshopManagePage *p) {
            emit p->mainPage()->sSaveKeyAttr(QStringLiteral("PlanCheckOrder"),
                                             QStringLiteral("21"));
        }) << QStringLiteral("setting(ctx|PlanCheckOrder|21)");
        QTest::newRow("day changed")
            << Emitter([](YmWorkshopManagePage *p) { emit p->sUpdateDateInit(); })
            << QStringLiteral("dateinit(ctx)");
    }
    void callbacks()
    {
        QFETCH(Emitter, emitter);
        QFETCH(QString, expected);
        YmWorkshopManage board;
        emitter(pageOf(board)); // no callback yet: dropped, never replayed
        QVERIFY(g_calls.isEmpty());
        registerAll(board);
        emitter(pageOf(board));
        QCOMPARE(g_calls, QStringList{expected});
    }

    // A host's clock drives the band, the day change and today's figures; an
    // invalid answer, unregistering or destroying the board gives the system
    // clock back.
    void hostClockDrivesTheBoard()
    {
        const QDate systemDay = QDate::currentDate();
        g_hostNow = QDateTime(QDate(2024, 3, 5), QTime(23, 59, 58));
        {
            YmWorkshopManage board;
            registerAll(board);
            board.setCurrentDateTimeCB(hostClock);
            QCOMPARE(YmClock::now(pageOf(board)), g_hostNow);

            // Taking over the clock is not a day change.
            pageOf(board)->tick(YmClock::today(pageOf(board)));
            QVERIFY(g_calls.isEmpty());
            g_hostNow = g_hostNow.addSecs(1);
            pageOf(board)->tick(YmClock::today(pageOf(board)));
            QVERIFY(g_calls.isEmpty());
            g_hostNow = g_hostNow.addSecs(1); // midnight of the host's day
            pageOf(board)->tick(YmClock::today(pageOf(board)));
            QCOMPARE(g_calls, QStringList{QStringLiteral("dateinit(ctx)")});

            g_hostNow = QDateTime();
            QCOMPARE(YmClock::today(pageOf(board)), systemDay);
            g_hostNow = QDateTime(QDate(2024, 3, 7), QTime(9, 0));
            QCOMPARE(YmClock::today(pageOf(board)), QDate(2024, 3, 7));
            board.setCurrentDateTimeCB(nullptr);
            QCOMPARE(YmClock::today(pageOf(board)), systemDay);
            board.setCurrentDateTimeCB(hostClock);
            QCOMPARE(YmClock::today(pageOf(board)), QDate(2024, 3, 7));
        }
        QCOMPARE(YmClock::today(), systemDay);
    }

    // Two boards in one process (a host driving two screens): each asks its
    // own host for the time, and keeps its own day.
    void twoBoardsKeepTheirOwnClockAndData()
    {
        static QDateTime first, second;
        first = QDateTime(QDate(2024, 3, 5), QTime(10, 0));
        second = QDateTime(QDate(2024, 3, 6), QTime(15, 30));
        YmWorkshopManage a, b;
        a.setCurrentDateTimeCB([](void *) { return first; });
        b.setCurrentDateTimeCB([](void *) { return second; });
        QCOMPARE(YmClock::now(pageOf(a)), first);
        QCOMPARE(YmClock::now(pageOf(b)), second);
        a.initDatas({QVariantList{planRow("A", "M1", "G", 10, 1)}, 0, 0, 0}, {}, {}, QString(),
                    QString(), 0);
        b.initDatas({QVariantList{planRow("B", "M1", "G", 10, 2)}, 0, 0, 0}, {}, {}, QString(),
                    QString(), 0);
        // Each board's plan window follows its own board's day, also when
        // the board is scaled down for a small screen (its main window then
        // lives in a graphics view).
        b.show();
        pageOf(b)->resize(480, 270);
        QVERIFY(pageOf(b)->mainPage()->graphicsProxyWidget());
        QCOMPARE(YmClock::now(pageOf(b)->mainPage()), second);
        QCOMPARE(YmClock::today(pageOf(a)->mainPage()->planPage()), first.date());
        QCOMPARE(YmClock::today(pageOf(b)->mainPage()->planPage()), second.date());
        QCOMPARE(pageOf(a)->mainPage()->model().rows().value(0).planName, QStringLiteral("A"));
        QCOMPARE(pageOf(b)->mainPage()->model().rows().value(0).completed, 2);
        // One board letting go of its host's clock leaves the other's alone.
        a.setCurrentDateTimeCB(nullptr);
        QCOMPARE(YmClock::now(pageOf(b)), second);
        QVERIFY(YmClock::now(pageOf(a)) != first);
    }

    void nullCallbackDrops()
    {
        YmWorkshopManage board;
        // Data calls before any callback or context is set work.
        board.initDatas({}, {}, {}, QString(), QString(), 0);
        board.updateMacProcess(QStringLiteral("x"), {QVariant()});
        board.retranslateUi(12345);
        QCOMPARE(pageOf(board)->windowTitle(), QStringLiteral("车间管理看板"));
        registerAll(board);
        board.setQueryDatePlanCB(nullptr);
        board.setUpdateDateInitDataCB(nullptr);
        emit pageOf(board)->sQueryDatePlan(QDate(2024, 3, 5));
        emit pageOf(board)->sUpdateDateInit();
        emit pageOf(board)->sPlanStopSettingShow();
        QCOMPARE(g_calls, QStringList{QStringLiteral("stop(ctx)")});
    }

    void dataCallsReachMainWindow()
    {
        YmWorkshopManage board;
        const QVariantList macs{
            QVariant(QVariantList{QStringLiteral("M1"), QStringLiteral("m1"), 2})};
        board.initDatas({QVariantList{planRow("A", "M1", "G1", 10, 2)}, 0, 0, 0}, macs, {},
                        QStringLiteral("08:00:00"), QStringLiteral("17:00:00"), 480);
        board.updateMacState(QStringLiteral("M1"), 3, QStringLiteral("renamed"));
        board.updateMacProcess(QStringLiteral("M1"),
                               {QVariant(QVariantList{QStringLiteral("A.nc"), QVariant(), 7})});
        board.updateLv1Name(QStringLiteral("G1"), QStringLiteral("G9"));
        board.updateWorkTimeData(QStringLiteral("07:00:00"), QStringLiteral("19:00:00"), 600);
        board.queryDatePlan(QStringLiteral("2024-03-05"), {});

        const YmOrderModel &model = pageOf(board)->mainPage()->model();
        QCOMPARE(model.machineStates().value(QStringLiteral("M1")), 3);
        const YmOrderRecord row = model.rows().value(0);
        QCOMPARE(row.macName, QStringLiteral("renamed"));
        QCOMPARE(row.groupName, QStringLiteral("G9"));
        QCOMPARE(row.completed, 7);
    }

    // The history as a host reads it; asking before anything was notified
    // makes no notifier (no popup windows).
    void notifyHistoryForHost()
    {
        YmNotifyManager::destroyInstance();
        YmClock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(9, 30)));
        YmWorkshopManage board;
        QVERIFY(board.notifyHistory().isEmpty());
        QVERIFY(!YmNotifyManager::existingInstance());
        QVariantList row = planRow("A", "M1", "G", 10, 6).toList();
        row[8] = 50; // 6 of 10 is above 50 %
        // One row in a list, and one entry in the history: nested with <<, as
        // a braced list of one list would copy it rather than nest it.
        QVariantList rows;
        rows << QVariant(row);
        board.initDatas({rows, 0, 0, 0}, {}, {}, QString(), QString(), 0);
        YmNotifyManager::instance()->acknowledgePlan(QStringLiteral("A"));
        QVariantList expected;
        expected << QVariant(QVariantList{QStringLiteral("2024-03-05 09:30:00"),
                                          QStringLiteral("A"),
                                          QStringLiteral("计划订单：A(6/10)60.00%"), true,
                                          QStringLiteral("2024-03-05 09:30:00")});
        QCOMPARE(board.notifyHistory(), expected);
        YmNotifyManager::destroyInstance();
        YmClock::setFixed(QDateTime());
    }

    void showHide()
    {
        YmWorkshopManage board;
        YmWorkshopManagePage *page = pageOf(board);
        QVERIFY(page->isHidden());
        for (int i = 0; i < 2; ++i) { // hidden, then visible: both end maximized
            board.show();
            board.show();
            QVERIFY(page->isVisible());
            QVERIFY(page->windowState() & Qt::WindowMaximized);
            board.hide();
            QVERIFY(page->isHidden());
        }
    }

    // The facade belongs to its parent and takes its windows with it; repeated
    // lifetimes are covered by the robustness test.
    void deletedWithItsParent()
    {
        auto *parent = new QObject;
        QPointer<YmWorkshopManage> board = new YmWorkshopManage(parent);
        QPointer<YmWorkshopManagePage> page = pageOf(*board);
        delete parent;
        QVERIFY(board.isNull());
        QVERIFY(page.isNull());
    }
};

QTEST_MAIN(TstFacade)
#include "tst_facade.moc"
