// A supervisor's first session with the plan window on the reference host,
// step by step through the widgets: every refusal is read on screen, the
// filter shows one row, a regroup drops the sort arrow, and after midnight a
// new plan lands on the new day.
// The test reads better with plain literals than with QStringLiteral.
#undef QT_NO_CAST_FROM_ASCII

#include "ymharness.h"
#include "ymhostdatabase.h"
#include "ymtableviewplanpage.h"
#include "ymtestdatabase.h"
#include "ymworkshophost.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagepage.h"

#include "ymtestsupport.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <QtTest>

namespace {

QStringList storedPlanNames(const YmHostDatabase &db, const QDate &day)
{
    QStringList names;
    for (const YmPlanRecord &p : db.plans(day)) {
        if (!names.contains(p.planName))
            names << p.planName;
    }
    return names;
}

// Fills the plan dialog as typed (fields left as they are when a value is
// null), one machine with a quantity, and clicks OK.
Step fillPlan(const QString &name, const QString &file, const QString &count,
              const QString &macKey = QString())
{
    return [=](QWidget *dlg) {
        const auto retype = [dlg](const char *field, const QString &text) {
            if (text.isNull())
                return;
            auto *edit = dlg->findChild<QLineEdit *>(QLatin1String(field));
            edit->clear();
            QTest::keyClicks(edit, text);
        };
        retype("lineEdit_planName", name);
        retype("lineEdit_fileName", file);
        retype("lineEdit_planCount", count);
        if (!macKey.isEmpty() && !PlanDialog::box(*dlg, macKey)->isChecked())
            PlanDialog::box(*dlg, macKey)->click();
        for (const PlanDialog::Row &row : PlanDialog::rows(*dlg)) {
            row.second->clear();
            QTest::keyClicks(row.second, count);
        }
        dlg->findChild<QPushButton *>(QStringLiteral("btn_ok"))->click();
    };
}

} // namespace

class TstHostSupervisor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void firstSession()
    {
        YmHostDatabase db;
        QCOMPARE(YmTestDatabase::open(db), YmHostDatabase::Status::Ok);
        QVERIFY(db.seedIfEmpty(kDay));
        YmWorkshopManage board;
        YmWorkshopHost host(&db, &board);
        host.useSimulation(5);
        host.setWarnUser(true); // refusals in a box, as on a screen
        host.begin(QDateTime(kDay, QTime(7, 0)), 0);
        YmTableViewPlanPage *page = topLevels<YmTableViewPlanPage>().value(0);
        QVERIFY(page);
        page->resize(1200, 400);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page));
        auto *view = child<QTableView>(*page, "tableView");
        const QStringList seeded = storedPlanNames(db, kDay);
        QVERIFY(seeded.contains(QStringLiteral("PO-1002")));

        // An empty name, then a huge quantity, are refused by the dialog, which
        // stays open; a name the day already has is refused by the host.
        const QString dialog = QStringLiteral("dialog:新增订单");
        {
            const QString bigCount = QStringLiteral("20000000");
            ModalScript script(
                {fillPlan(QString(), QStringLiteral("N.nc"), bigCount, QStringLiteral("MAC-001")),
                 press(), fillPlan(QStringLiteral("PO-1002"), QString(), bigCount), press(),
                 fillPlan(QString(), QString(), QStringLiteral("40")), [page](QWidget *box) {
                     saveShot(page, QStringLiteral("host-refusal-duplicate"), box);
                     press()(box);
                 }});
            child<QPushButton>(*page, "btnAdd")->click();
            QCOMPARE(script.seen,
                     (QStringList{
                         dialog, QStringLiteral("提示|订单计划不能为空|确定"), dialog,
                         QStringLiteral("提示|计划数必须是 1 到 10000000 之间的整数|确定"), dialog,
                         QStringLiteral("提示|修改未保存，计划保持原样。\n2026-03-05 已有计划 "
                                        "PO-1002，请换一个名称|确定")}));
        }
        QCOMPARE(storedPlanNames(db, kDay), seeded);

        // A plan on one machine is stored and shown.
        {
            ModalScript add({fillPlan(QStringLiteral("PO-2001"), QStringLiteral("N.nc"),
                                      QStringLiteral("40"), QStringLiteral("MAC-001"))});
            child<QPushButton>(*page, "btnAdd")->click();
            QCOMPARE(add.seen, QStringList{dialog});
        }
        QCOMPARE(storedPlanNames(db, kDay), seeded + QStringList{QStringLiteral("PO-2001")});

        // Filtered to it from the bottom of the table: one row, numbered 1, in sight.
        view->scrollToBottom();
        auto *type = child<QComboBox>(*page, "comboBox_filterType");
        type->setCurrentIndex(type->findText(QStringLiteral("订单计划")));
        QTest::keyClicks(child<QLineEdit>(*page, "lineEdit_filter"), QStringLiteral("PO-2001"));
        child<QPushButton>(*page, "btnQuery")->click();
        QCOMPARE(view->model()->rowCount(), 1);
        QCOMPARE(view->verticalHeader()->count(), 1);
        QCOMPARE(view->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
        QVERIFY(tableText(view).value(0).startsWith(QStringLiteral("PO-2001,")));
        QVERIFY(view->visualRect(view->model()->index(0, 0)).intersects(view->viewport()->rect()));
        saveShot(page, QStringLiteral("plan-window-filtered"));

        // Sorted by a click on the last column, then regrouped: the arrow goes.
        child<QLineEdit>(*page, "lineEdit_filter")->clear();
        child<QPushButton>(*page, "btnQuery")->click();
        QHeaderView *header = view->horizontalHeader();
        const int last = header->count() - 1;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(last) + 5, 5));
        QCOMPARE(header->sortIndicatorSection(), last);
        child<QCheckBox>(*page, "checkBox_mac")->click();
        QCOMPARE(header->sortIndicatorSection(), -1);

        // Past midnight the window moves on with the board, and a plan added
        // then lands on the new day.
        const QDate next = kDay.addDays(1);
        host.clock().start(QDateTime(next, QTime(0, 5)), 0);
        YmWorkshopManagePrivate::get(&board)->page->tick(next);
        QCOMPARE(child<QDateEdit>(*page, "dateEdit")->date(), next);
        QVERIFY(view->model()->rowCount() > 0);
        saveShot(page, QStringLiteral("plan-window-after-midnight"));
        {
            ModalScript add({fillPlan(QStringLiteral("PO-3001"), QStringLiteral("M.nc"),
                                      QStringLiteral("5"), QStringLiteral("MAC-001"))});
            child<QPushButton>(*page, "btnAdd")->click();
        }
        QVERIFY(storedPlanNames(db, next).contains(QStringLiteral("PO-3001")));
        QVERIFY(!storedPlanNames(db, kDay).contains(QStringLiteral("PO-3001")));
    }
};

QTEST_MAIN(TstHostSupervisor)
#include "tst_hostsupervisor.moc"
