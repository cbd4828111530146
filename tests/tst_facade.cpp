// The exported facade: callbacks reach the host with its context, data calls
// travel the whole chain, and the facade's windows go with it.
#include "ymmetatypes.h"
#include "ymresources.h"
#include "ymworkshopmanage.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"

#include <QApplication>
#include <QPointer>
#include <QtTest>

namespace {

// What the host saw, as text: "callback(context-ok|arg|arg...)".
QStringList g_calls;
int g_hostContext = 42;

QString ctx(void *data)
{
    return data == &g_hostContext ? QStringLiteral("ctx") : QStringLiteral("wrong-ctx");
}

QString mapText(const QMap<QString, int> &map)
{
    QStringList parts;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        parts << it.key() + QLatin1Char('=') + QString::number(it.value());
    return parts.join(QLatin1Char(','));
}

void queryCB(void *d, const QString &date)
{
    g_calls << QStringLiteral("query(%1|%2)").arg(ctx(d), date);
}
void addCB(void *d, const QString &date, const QString &plan, const QString &file,
           const QMap<QString, int> &macs, int notify)
{
    g_calls << QStringLiteral("add(%1|%2|%3|%4|%5|%6)")
                   .arg(ctx(d), date, plan, file, mapText(macs))
                   .arg(notify);
}
void editCB(void *d, const QString &date, const QString &oldPlan, const QString &newPlan,
            const QString &oldFile, const QString &newFile, const QMap<QString, int> &macs,
            int notify)
{
    g_calls << QStringLiteral("edit(%1|%2|%3|%4|%5|%6|%7|%8)")
                   .arg(ctx(d), date, oldPlan, newPlan, oldFile, newFile, mapText(macs))
                   .arg(notify);
}
void delCB(void *d, const QString &date, const QString &plan)
{
    g_calls << QStringLiteral("del(%1|%2|%3)").arg(ctx(d), date, plan);
}
void stopCB(void *d)
{
    g_calls << QStringLiteral("stop(%1)").arg(ctx(d));
}
void workTimeCB(void *d)
{
    g_calls << QStringLiteral("worktime(%1)").arg(ctx(d));
}
void dateInitCB(void *d)
{
    g_calls << QStringLiteral("dateinit(%1)").arg(ctx(d));
}

void registerAll(YmWorkshopManage &board)
{
    board.setData(&g_hostContext);
    board.setQueryDatePlanCB(queryCB);
    board.setAddDatePlanCB(addCB);
    board.setEditDatePlanCB(editCB);
    board.setDelDatePlanCB(delCB);
    board.setPlanStopSettingPageShowCB(stopCB);
    board.setPlanWorkTimeSettingPageShowCB(workTimeCB);
    board.setUpdateDateInitDataCB(dateInitCB);
}

YmWorkshopManagePage *pageOf(YmWorkshopManage &board)
{
    return YmWorkshopManagePrivate::get(&board)->page;
}

using Emitter = std::function<void(YmWorkshopManagePage *)>;
using Unsetter = std::function<void(YmWorkshopManage &)>;

QVariantList row(const QString &plan, const QString &mac, const QString &group, int planned,
                 int completed)
{
    const QString name = mac + QStringLiteral("-name");
    const QString file = plan + QStringLiteral(".nc");
    return {plan, QVariant(), mac,       name, group,
            file, planned,    completed, 0,    QVariant::fromValue(YmPieceMap())};
}

} // namespace

Q_DECLARE_METATYPE(Emitter)
Q_DECLARE_METATYPE(Unsetter)

class TstFacade : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        ymRegisterResources();
        ymRegisterMetaTypes();
    }
    void init() { g_calls.clear(); }

    void callbacks_data()
    {
        QTest::addColumn<Emitter>("emitter");
        QTest::addColumn<Unsetter>("unset");
        QTest::addColumn<QString>("expected");

        const QMap<QString, int> macs{{QStringLiteral("M1"), 10}, {QStringLiteral("M2"), 5}};
        QTest::newRow("query date as yyyy-MM-dd")
            << Emitter([](YmWorkshopManagePage *p) { emit p->sQueryDatePlan(QDate(2024, 3, 5)); })
            << Unsetter([](YmWorkshopManage &b) { b.setQueryDatePlanCB(nullptr); })
            << QStringLiteral("query(ctx|2024-03-05)");
        QTest::newRow("add") << Emitter([macs](YmWorkshopManagePage *p) {
            emit p->sAddDatePlan(QStringLiteral("2024-03-05"), QStringLiteral("A"),
                                 QStringLiteral("a.nc"), macs, 80);
        }) << Unsetter([](YmWorkshopManage &b) { b.setAddDatePlanCB(nullptr); })
                             << QStringLiteral("add(ctx|2024-03-05|A|a.nc|M1=10,M2=5|80)");
        QTest::newRow("edit") << Emitter([macs](YmWorkshopManagePage *p) {
            emit p->sEditDatePlan(QStringLiteral("2024-03-06"), QStringLiteral("A"),
                                  QStringLiteral("B"), QStringLiteral("a.nc"),
                                  QStringLiteral("b.nc"), macs, 0);
        }) << Unsetter([](YmWorkshopManage &b) { b.setEditDatePlanCB(nullptr); })
                              << QStringLiteral("edit(ctx|2024-03-06|A|B|a.nc|b.nc|M1=10,M2=5|0)");
        QTest::newRow("delete") << Emitter([](YmWorkshopManagePage *p) {
            emit p->sDelDatePlan(QStringLiteral("2024-03-05"), QStringLiteral("A"));
        }) << Unsetter([](YmWorkshopManage &b) { b.setDelDatePlanCB(nullptr); })
                                << QStringLiteral("del(ctx|2024-03-05|A)");
        QTest::newRow("downtime settings")
            << Emitter([](YmWorkshopManagePage *p) { emit p->sPlanStopSettingShow(); })
            << Unsetter([](YmWorkshopManage &b) { b.setPlanStopSettingPageShowCB(nullptr); })
            << QStringLiteral("stop(ctx)");
        QTest::newRow("work hours settings")
            << Emitter([](YmWorkshopManagePage *p) { emit p->sPlanWorkTimeSettingShow(); })
            << Unsetter([](YmWorkshopManage &b) { b.setPlanWorkTimeSettingPageShowCB(nullptr); })
            << QStringLiteral("worktime(ctx)");
        QTest::newRow("day changed")
            << Emitter([](YmWorkshopManagePage *p) { emit p->sUpdateDateInit(); })
            << Unsetter([](YmWorkshopManage &b) { b.setUpdateDateInitDataCB(nullptr); })
            << QStringLiteral("dateinit(ctx)");
    }

    void callbacks()
    {
        QFETCH(Emitter, emitter);
        QFETCH(Unsetter, unset);
        QFETCH(QString, expected);

        YmWorkshopManage board;
        YmWorkshopManagePage *page = pageOf(board);
        QVERIFY(page);

        // Before registration the signal is dropped, and not replayed later.
        emitter(page);
        QVERIFY(g_calls.isEmpty());

        registerAll(board);
        emitter(page);
        QCOMPARE(g_calls, QStringList{expected});

        unset(board);
        emitter(page);
        QCOMPARE(g_calls, QStringList{expected});
    }

    // The main window's signals reach the host through the page and the bridge.
    void mainWindowSignalsReachHost()
    {
        YmWorkshopManage board;
        registerAll(board);
        YmWorkshopManageMainPage *main = pageOf(board)->mainPage();
        emit main->sQueryDatePlan(QDate(2024, 12, 31));
        emit main->sPlanStopSettingShow();
        emit main->sDelDatePlan(QStringLiteral("2024-12-31"), QStringLiteral("P"));
        QCOMPARE(g_calls,
                 (QStringList{QStringLiteral("query(ctx|2024-12-31)"), QStringLiteral("stop(ctx)"),
                              QStringLiteral("del(ctx|2024-12-31|P)")}));
    }

    void dataCallsReachMainWindow()
    {
        YmWorkshopManage board;
        const QVariantList rows{
            row(QStringLiteral("A"), QStringLiteral("M1"), QStringLiteral("G1"), 10, 2),
            row(QStringLiteral("B"), QStringLiteral("M2"), QStringLiteral("G2"), 20, 4)};
        const QVariantList macs{
            QVariant(QVariantList{QStringLiteral("M1"), QStringLiteral("m1"), 2}),
            QVariant(QVariantList{QStringLiteral("M2"), QStringLiteral("m2"), 1})};
        board.initDatas({rows, 0, 0, 0}, macs, {}, QStringLiteral("08:00:00"),
                        QStringLiteral("17:00:00"), 480);
        const YmOrderModel &model = pageOf(board)->mainPage()->model();
        QCOMPARE(model.rows().size(), 2);
        QCOMPARE(model.machineStates().value(QStringLiteral("M2")), 1);

        board.updateMacState(QStringLiteral("M1"), 3, QStringLiteral("renamed"));
        QCOMPARE(model.machineStates().value(QStringLiteral("M1")), 3);
        QCOMPARE(model.rows().at(0).toList().at(3).toString(), QStringLiteral("renamed"));

        board.updateMacProcess(QStringLiteral("M2"),
                               {QVariant(QVariantList{QStringLiteral("B.nc"), QVariant(), 7})});
        QCOMPARE(model.rows().at(1).toList().at(7).toInt(), 7);

        board.updateLv1Name(QStringLiteral("G1"), QStringLiteral("G9"));
        QCOMPARE(model.rows().at(0).toList().at(4).toString(), QStringLiteral("G9"));

        // Calls that the main window only hands on must not disturb the rows.
        board.updateWorkTimeData(QStringLiteral("07:00:00"), QStringLiteral("19:00:00"), 600);
        board.queryDatePlan(QStringLiteral("2024-03-05"), rows);
        QCOMPARE(model.rows().size(), 2);
        QCOMPARE(model.rows().at(1).toList().at(7).toInt(), 7);
    }

    void callsBeforeAnySetupWork()
    {
        YmWorkshopManage board;
        board.retranslateUi(1);
        board.initDatas({}, {}, {}, QString(), QString(), 0);
        board.updateMacState(QStringLiteral("x"), 1, QString());
        board.updateMacProcess(QStringLiteral("x"), {});
        board.updateLv1Name(QString(), QString());
        board.updateWorkTimeData(QString(), QString(), -5);
        board.queryDatePlan(QStringLiteral("not a date"), {});
        emit pageOf(board)->sUpdateDateInit();
        QVERIFY(g_calls.isEmpty());
    }

    void showHide()
    {
        YmWorkshopManage board;
        YmWorkshopManagePage *page = pageOf(board);
        QVERIFY(page->isHidden());
        board.show();
        QVERIFY(page->isVisible());
        QVERIFY(page->windowState() & Qt::WindowMaximized);
        board.hide();
        QVERIFY(page->isHidden());
        board.show(); // shown again, still maximized
        QVERIFY(page->isVisible());
        QVERIFY(page->windowState() & Qt::WindowMaximized);
        board.show(); // on a visible page: activates and stays maximized
        QVERIFY(page->windowState() & Qt::WindowMaximized);
    }

    void retranslateChangesNothing()
    {
        YmWorkshopManage board;
        YmWorkshopManagePage *page = pageOf(board);
        QStringList before;
        for (QWidget *w : page->findChildren<QWidget *>())
            before << w->windowTitle();
        before << page->windowTitle();
        board.retranslateUi(0);
        board.retranslateUi(12345);
        QStringList after;
        for (QWidget *w : page->findChildren<QWidget *>())
            after << w->windowTitle();
        after << page->windowTitle();
        QCOMPARE(after, before);
        QCOMPARE(page->windowTitle(), QStringLiteral("车间管理看板"));
    }

    // The facade owns its top-level windows: creating and deleting it many times
    // leaves no window (and so no widget tree) behind.
    void constructAndDestroyRepeatedly()
    {
        const int before = QApplication::topLevelWidgets().size();
        for (int i = 0; i < 20; ++i) {
            QPointer<YmWorkshopManagePage> page;
            {
                YmWorkshopManage board;
                page = pageOf(board);
                board.initDatas({QVariantList{}, 0, 0, 0}, {}, {}, QString(), QString(), 0);
                if (i % 2)
                    board.show();
            }
            QVERIFY(page.isNull());
        }
        QCOMPARE(QApplication::topLevelWidgets().size(), before);
    }

    void parentOwnsFacade()
    {
        auto *parent = new QObject;
        auto *board = new YmWorkshopManage(parent);
        QPointer<YmWorkshopManagePage> page = pageOf(*board);
        QPointer<YmWorkshopManage> guard = board;
        delete parent;
        QVERIFY(guard.isNull());
        QVERIFY(page.isNull());
    }
};

QTEST_MAIN(TstFacade)
#include "tst_facade.moc"
