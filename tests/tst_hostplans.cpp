// The demo host answers the board's plan, settings and dialog callbacks from
// its database: what the board sends is stored and comes back to the board.
// Plain literals read better in the tables and calls below.
#undef QT_NO_CAST_FROM_ASCII

#include "ymharness.h"
#include "ymhostdatabase.h"
#include "ymstopperiodsdialog.h"
#include "ymtableviewplanpage.h"
#include "ymtestdatabase.h"
#include "ymworkhoursdialog.h"
#include "ymworkshophost.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"

#include "ymtestsupport.h"
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimeEdit>

#include <QtTest>

namespace {

// "plan|file|machine|planned|notify" per stored row of the day.
QStringList storedPlans(const YmHostDatabase &db, const QDate &day)
{
    QStringList out;
    for (const YmPlanRecord &p : db.plans(day))
        out << QStringList{p.planName, p.fileName, p.macKey, QString::number(p.planned),
                           QString::number(p.notifyPercent)}
                   .join(QLatin1Char('|'));
    return out;
}

// "plan|machine|name|group|file|planned|completed|notify" per order row on the board.
QStringList boardRows(YmWorkshopManage &board)
{
    QStringList out;
    for (const QVariant &v : asPayload(mainOf(board)->model().rows())) {
        const QVariantList r = v.toList();
        out << QStringList{r.value(0).toString(),
                           r.value(2).toString(),
                           r.value(3).toString(),
                           r.value(4).toString(),
                           r.value(5).toString(),
                           QString::number(r.value(6).toInt()),
                           QString::number(r.value(7).toInt()),
                           QString::number(r.value(8).toInt())}
                   .join(QLatin1Char('|'));
    }
    return out;
}

struct Workshop
{
    YmHostDatabase db;
    YmWorkshopManage board;
    std::unique_ptr<YmWorkshopHost> host;

    explicit Workshop(const QString &path = QString())
    {
        const auto opened
            = path.isEmpty() ? YmTestDatabase::open(db) : YmTestDatabase::open(db, path);
        if (opened != YmHostDatabase::Status::Ok || !db.seedIfEmpty(kDay))
            qFatal("cannot open %s", qPrintable(db.errorText()));
        host = std::make_unique<YmWorkshopHost>(&db, &board);
        host->useSimulation(5);
        // Before work: no pieces yet, every completed count is 0.
        host->begin(QDateTime(kDay, QTime(7, 0)), 0);
    }
};

} // namespace

class TstHostPlans : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void seededWorkshop()
    {
        Workshop w;
        QCOMPARE(w.db.machines().size(), 24);
        const QStringList plans = storedPlans(w.db, kDay);
        QCOMPARE(plans.size(), 32); // 8 plans on 4 machines each
        // Machine 3 (cycle 76 s) carries both plans of its group's file.
        QVERIFY(plans.contains("PO-1001|HX-1020.nc|MAC-003|230|90"));
        QVERIFY(plans.contains("PO-1002|HX-1020.nc|MAC-003|150|95"));
        // Machine 1: cycle 82 s, 9 h at 85 % and a 0.95 share: 319 rounded to 320.
        QCOMPARE(boardRows(w.board).value(0), "PO-1001|MAC-001|1号机|注塑车间|HX-1020.nc|320|0|90");
        QCOMPARE(w.db.stopPeriods().size(), 1);
        QCOMPARE(w.db.workStart(), QTime(8, 0));
        QCOMPARE(w.db.workEnd(), QTime(18, 0));
    }

    // A plan added, edited and deleted through the board's signals: stored,
    // and today's board and plan window show the host's answer; one for
    // another day is stored for that day only.
    void addEditDeleteThroughTheHost()
    {
        Workshop w;
        YmTableViewPlanPage *page = topLevels<YmTableViewPlanPage>().value(0);
        QVERIFY(page);
        QCOMPARE(page->shownDate(), kDay);
        const QStringList seeded = storedPlans(w.db, kDay);

        // Given a new plan on two machines (the plan dialog sends it so; the
        // supervisor's session adds one through the dialog itself)
        emit mainOf(w.board)->sAddDatePlan(kDate, "PO-2001", "NEW-1.nc",
                                           {{"MAC-002", 30}, {"MAC-001", 50}}, 75);
        // Then the database holds it
        QCOMPARE(storedPlans(w.db, kDay), seeded
                                              + (QStringList{"PO-2001|NEW-1.nc|MAC-001|50|75",
                                                             "PO-2001|NEW-1.nc|MAC-002|30|75"}));
        // And the plan table shows the host's answer: one row per machine.
        const YmTablePlanModel::ColumnOrder columns = page->columnsInUse();
        const int plan = columns.indexOf(YmTablePlanModel::PlanCriterion);
        const int file = columns.indexOf(YmTablePlanModel::FileCriterion);
        const int mac = columns.indexOf(YmTablePlanModel::MachineCriterion);
        QVERIFY(plan >= 0 && file >= 0 && mac >= 0);
        QAbstractItemModel *shown = page->findChild<QTableView *>()->model();
        QStringList added;
        for (int r = 0; r < shown->rowCount(); ++r) {
            if (shown->index(r, plan).data().toString() == QLatin1String("PO-2001"))
                added << QStringList{shown->index(r, file).data().toString(),
                                     shown->index(r, mac).data().toString(),
                                     shown->index(r, 3).data().toString()}
                             .join(QLatin1Char('|'));
        }
        QCOMPARE(added, (QStringList{"NEW-1.nc|1号机|50", "NEW-1.nc|2号机|30"}));
        QCOMPARE(boardRows(w.board).mid(32),
                 (QStringList{"PO-2001|MAC-001|1号机|注塑车间|NEW-1.nc|50|0|75",
                              "PO-2001|MAC-002|2号机|注塑车间|NEW-1.nc|30|0|75"}));

        // When the first plan is renamed and moved to one machine, it keeps its place.
        emit mainOf(w.board)->sEditDatePlan(kDate, "PO-1001", "PO-1001B", "HX-1020.nc",
                                            "HX-1021.nc", {{"MAC-004", 120}}, 50);
        QStringList edited = storedPlans(w.db, kDay);
        QCOMPARE(edited.size(), 34 - 4 + 1);
        QCOMPARE(edited.first(), "PO-1001B|HX-1021.nc|MAC-004|120|50");
        QVERIFY(!edited.join(QLatin1Char('\n')).contains(QLatin1String("PO-1001|")));
        QCOMPARE(boardRows(w.board).first(), "PO-1001B|MAC-004|4号机|注塑车间|HX-1021.nc|120|0|50");

        // And deleting removes every row of the plan, in the database and on the board.
        emit mainOf(w.board)->sDelDatePlan(kDate, "PO-2001");
        edited = storedPlans(w.db, kDay);
        QCOMPARE(edited.size(), 29);
        QVERIFY(!edited.join(QLatin1Char('\n')).contains(QLatin1String("PO-2001")));
        QCOMPARE(boardRows(w.board).size(), 29);

        // A plan for tomorrow is stored for that day and leaves today's board alone.
        const QStringList today = boardRows(w.board);
        emit mainOf(w.board)->sAddDatePlan("2026-03-06", "PO-3001", "X.nc", {{"MAC-010", 9}}, 0);
        QCOMPARE(storedPlans(w.db, kDay.addDays(1)), QStringList{"PO-3001|X.nc|MAC-010|9|0"});
        QCOMPARE(boardRows(w.board), today);
    }

    void badPlansAreRefused_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("plan");
        QTest::addColumn<QString>("macKey");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("told"); // what the user reads; empty: nobody asked
        // date|plan|machine|count|told
        for (const char *row :
             {"2026-03-05|PO-1002|MAC-001|5|2026-03-05 已有计划 PO-1002，请换一个名称",
              "2026-03-05|  |MAC-001|5|计划需要订单计划名称和文件",
              "2026-03-05|PO-9|MAC-777|5|计划 PO-9 没有设置数量的设备",
              "2026-03-05|PO-9|MAC-001|0|计划 PO-9 没有设置数量的设备",
              "2026-03-05|PO-9|MAC-001|2000000000|计划 PO-9 的数量 2000000000 超过上限 10000000",
              "2026-02-30|PO-9|MAC-001|5|"}) {
            const QStringList f = QString::fromUtf8(row).split(QLatin1Char('|'));
            QTest::newRow(row) << f[0] << f[1] << f[2] << f[3].toInt() << f[4];
        }
    }
    void badPlansAreRefused()
    {
        QFETCH(QString, date);
        QFETCH(QString, plan);
        QFETCH(QString, macKey);
        QFETCH(int, count);
        QFETCH(QString, told);
        Workshop w;
        QSignalSpy problems(w.host.get(), &YmWorkshopHost::problem);
        QSignalSpy refusals(w.host.get(), &YmWorkshopHost::changeRefused);
        QSignalSpy shown(mainOf(w.board)->planPage()->findChild<QTableView *>()->model(),
                         &QAbstractItemModel::modelReset);
        const QStringList before = storedPlans(w.db, kDay);
        emit mainOf(w.board)->sAddDatePlan(date, plan, "F.nc", {{macKey, count}}, 10);
        QCOMPARE(storedPlans(w.db, kDay), before);
        QVERIFY(problems.count() >= 1);
        QCOMPARE(refusals.count(), told.isEmpty() ? 0 : 1);
        if (!told.isEmpty()) {
            QCOMPARE(refusals.first().first().toString(), told);
            // The plan window is given the stored day again.
            QVERIFY(shown.count() >= 1);
        }
    }

    void plansAndSettingsSurviveARestart()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("workshop.db");
        {
            Workshop w(path);
            emit mainOf(w.board)->sAddDatePlan(kDate, "PO-2001", "N.nc", {{"MAC-020", 40}}, 80);
            emit mainOf(w.board)->sSaveKeyAttr("PlanFilterCheck", "1");
            emit mainOf(w.board)->sSaveKeyAttr("PlanCheckOrder", "312");
            emit mainOf(w.board)->sSaveKeyAttr("PlanFilter", "2");
        }
        Workshop again(path);
        QCOMPARE(storedPlans(again.db, kDay).size(), 33);
        QCOMPARE(storedPlans(again.db, kDay).last(), "PO-2001|N.nc|MAC-020|40|80");
        const QVariantList planData = again.host->planData();
        QCOMPARE(planData.value(0).toList().size(), 33);
        QCOMPARE(planData.value(1).toInt(), 1);
        QCOMPARE(planData.value(2).toInt(), 312);
        QCOMPARE(planData.value(3).toInt(), 2);
    }

    // An end before the start is refused with the dialog left open and
    // nothing stored; the corrected periods are stored in start order.
    void stopPeriodsDialog()
    {
        Workshop w;
        const auto table = [](QWidget *modal) {
            return qobject_cast<YmStopPeriodsDialog *>(modal)->table();
        };
        const Step endBeforeStart = [&](QWidget *modal) {
            QCOMPARE(table(modal)->rowCount(), 1);
            table(modal)->item(0, 2)->setText("11:00");
            qobject_cast<QDialog *>(modal)->accept(); // refused: the dialog stays open
            QVERIFY(modal->isVisible());
            QCOMPARE(w.db.stopPeriods().value(0).end, "13:00:00");
        };
        const Step corrected = [&](QWidget *modal) {
            table(modal)->item(0, 1)->setText("11:45");
            table(modal)->item(0, 2)->setText("13:00");
            qobject_cast<YmStopPeriodsDialog *>(modal)->addPeriod();
            table(modal)->item(1, 0)->setText("晨会");
            table(modal)->item(1, 1)->setText("08:00");
            table(modal)->item(1, 2)->setText("08:15");
            qobject_cast<QDialog *>(modal)->accept();
        };
        ModalScript script({endBeforeStart, press(), corrected});
        emit mainOf(w.board)->sPlanStopSettingShow();
        QCOMPARE(script.seen.size(), 3);
        QCOMPARE(script.seen.at(1), "提示|第1行：结束时间必须晚于开始时间|确定");
        QCOMPARE(w.db.stopPeriods(), (QList<YmStopPeriod>{{"晨会", "08:00:00", "08:15:00"},
                                                          {"午休", "11:45:00", "13:00:00"}}));
    }

    void stopPeriodsProblem_data()
    {
        QTest::addColumn<QString>("periods"); // "start-end;..."
        QTest::addColumn<QString>("problem");
        QTest::newRow("apart") << "08:00-08:15;11:45-13:00"
                               << "";
        QTest::newRow("touching") << "11:45-13:00;13:00-13:15"
                                  << "";
        QTest::newRow("inside") << "11:45-13:00;08:00-08:15;12:30-12:45"
                                << "第1行与第3行的停机时间重叠";
        QTest::newRow("crossing") << "15:00-16:00;15:30-16:30"
                                  << "第1行与第2行的停机时间重叠";
        QTest::newRow("bad row first") << "15:00-16:00;15:30-15:00"
                                       << "第2行：结束时间必须晚于开始时间";
    }
    void stopPeriodsProblem()
    {
        QFETCH(QString, periods);
        QFETCH(QString, problem);
        QList<YmStopPeriod> list;
        for (const QString &p : periods.split(QLatin1Char(';'))) {
            const QStringList t = p.split(QLatin1Char('-'));
            list.append({"停机", t[0] + QStringLiteral(":00"), t[1] + QStringLiteral(":00")});
        }
        YmStopPeriodsDialog dialog(list);
        QCOMPARE(dialog.problem(), problem);
    }

    void workHoursDialog()
    {
        Workshop w;
        ModalScript script({[](QWidget *dialog) {
            dialog->findChild<QTimeEdit *>("timeEdit_start")->setTime(QTime(7, 30));
            dialog->findChild<QTimeEdit *>("timeEdit_end")->setTime(QTime(16, 45));
            qobject_cast<QDialog *>(dialog)->accept();
        }});
        emit mainOf(w.board)->sPlanWorkTimeSettingShow();
        QCOMPARE(script.seen.size(), 1);
        QCOMPARE(w.db.workStart(), QTime(7, 30));
        QCOMPARE(w.db.workEnd(), QTime(16, 45));
        // The simulated machines follow the new hours: nothing after 16:45.
        w.host->clock().start(QDateTime(kDay, QTime(19, 0)), 0);
        w.host->tick();
        const QList<YmPieceRecord> pieces = w.db.pieces(kDay);
        QVERIFY(!pieces.isEmpty());
        QVERIFY(pieces.last().producedAt <= "2026-03-05 16:45:00");
    }
};

QTEST_MAIN(TstHostPlans)
#include "tst_hostplans.moc"
