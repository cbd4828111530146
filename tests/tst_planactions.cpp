// The plan window's add, edit, delete and export buttons: what each asks the
// user, what it sends, and the exported file; also end to end through the
// facade with a host that stores the plans and answers.
// The tables below are written with plain literals.
#undef QT_NO_CAST_FROM_ASCII

#include "ymclock.h"
#include "ymharness.h"
#include "ymtableviewplanpage.h"
#include "ymtestsupport.h"
#include "ymworkshopmanage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The day the clock stands on; the page is mostly shown another day.
const QDate kToday(2024, 5, 9);
const QDate kShown(2024, 4, 30);

QVariantList machines()
{
    QVariantList list;
    for (const char *key : {"k1", "k2", "k3", "k4"})
        list << QVariant(QVariantList{key, QString(key).replace('k', 'M'), 1});
    return list;
}

// "title|plan|file|count|notify|k=quantity;...|current/total colour"
QString dialogState(QWidget *dlg)
{
    return QStringList{dlg->windowTitle(),
                       child(dlg, "lineEdit_planName")->text(),
                       child(dlg, "lineEdit_fileName")->text(),
                       child(dlg, "lineEdit_planCount")->text(),
                       child(dlg, "lineEdit_notifyNum")->text(),
                       PlanDialog::rowsText(*dlg),
                       PlanDialog::counter(*dlg)}
        .join('|');
}

// Runs "name=value" commands on the plan dialog, separated by ';':
// plan=, file=, count=, notify= set a field; check=key:quantity checks a
// machine and types its quantity; uncheck=key. Returns whether "cancel" was
// among them.
bool applyCommands(QWidget *dlg, const QString &commands)
{
    bool cancel = false;
    for (const QString &command : commands.split(';', Qt::SkipEmptyParts)) {
        const QString name = command.section('=', 0, 0);
        const QString value = command.section('=', 1);
        if (name == "plan")
            child(dlg, "lineEdit_planName")->setText(value);
        else if (name == "file")
            child(dlg, "lineEdit_fileName")->setText(value);
        else if (name == "count")
            child(dlg, "lineEdit_planCount")->setText(value);
        else if (name == "notify")
            child(dlg, "lineEdit_notifyNum")->setText(value);
        else if (name == "check") {
            PlanDialog::box(*dlg, value.section(':', 0, 0))->click();
            QTest::keyClicks(PlanDialog::field(*dlg, value.section(':', 0, 0)),
                             value.section(':', 1));
        } else if (name == "uncheck")
            PlanDialog::box(*dlg, value)->click();
        else if (name == "cancel")
            cancel = true;
        else
            qFatal("unknown command %s", qPrintable(command));
    }
    return cancel;
}

// The commands, then OK (or cancel).
void fillDialog(QWidget *dlg, const QString &commands)
{
    const bool cancel = applyCommands(dlg, commands);
    child<QPushButton>(dlg, cancel ? "btn_cancel" : "btn_ok")->click();
}

Step fill(const QString &commands, QString *state = nullptr)
{
    return [commands, state](QWidget *dlg) {
        if (state)
            *state = dialogState(dlg);
        fillDialog(dlg, commands);
    };
}

// P1 runs on k1 and k2 under F1 (the first of its rows says notify 85), and
// on k3 under F2; P2 on k1 under F2.
QVariantList editRows()
{
    return {orderRow("P1", "k1", "F1", 50, 5, 85), orderRow("P2", "k1", "F2", 40, 0, 10),
            orderRow("P1", "k2", "F1", 30, 3, 60), orderRow("P1", "k3", "F2", 20, 0, 5)};
}

// Six plans; only the fifth is on F9.
QVariantList sixRows()
{
    return {orderRow("P1", "k1", "F1", 10), orderRow("P2", "k1", "F2", 10),
            orderRow("P3", "k2", "F1", 10), orderRow("P4", "k2", "F3", 10),
            orderRow("P5", "k3", "F9", 10), orderRow("P6", "k3", "F2", 10)};
}

struct PageUnderTest
{
    explicit PageUnderTest(const QVariantList &rows, int checkOrder)
    {
        page.initDatas(machineList(machines()), records(rows), false, checkOrder, 1);
        child<QDateEdit>(&page, "dateEdit")->setDate(kShown);
        view = child<QTableView>(&page, "tableView");
    }
    void filter(const QString &type, const QString &text)
    {
        if (text.isEmpty())
            return;
        auto *combo = child<QComboBox>(&page, "comboBox_filterType");
        combo->setCurrentIndex(combo->findText(type));
        child(&page, "lineEdit_filter")->setText(text);
        child<QPushButton>(&page, "btnQuery")->click();
    }
    void click(const char *button) { child<QPushButton>(&page, button)->click(); }

    YmTableViewPlanPage page;
    QTableView *view = nullptr;
};

// What a host with real callbacks received, and the plans it keeps.
struct Host
{
    YmWorkshopManage *board = nullptr;
    QVariantList rows;
    QStringList calls;
};

void addRows(Host *host, const QString &plan, const QString &file, const Counts &map, int notify)
{
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        host->rows << orderRow(plan, it.key(), file, it.value(), 0, notify);
}

// A host answers a plan change as the demo host does: the window's day
// again, and today's plans pushed to the board, whose rows the window shows
// for today.
void answer(Host *host, const QString &date)
{
    host->board->queryDatePlan(date, host->rows);
    if (date == kToday.toString(QStringLiteral("yyyy-MM-dd")))
        host->board->initDatas({host->rows, 0, 123, 1}, machines(), {}, "08:00:00", "20:00:00",
                               600);
}

void registerHost(YmWorkshopManage &board, Host &host)
{
    host.board = &board;
    board.setData(&host);
    board.setAddDatePlanCB([](void *data, const QString &date, const QString &plan,
                              const QString &file, const Counts &map, int notify) {
        auto *host = static_cast<Host *>(data);
        host->calls << QStringList{"add", date, plan, file, mapText(map), QString::number(notify)}
                           .join('|');
        addRows(host, plan, file, map, notify);
        answer(host, date);
    });
    board.setEditDatePlanCB([](void *data, const QString &date, const QString &oldPlan,
                               const QString &newPlan, const QString &oldFile,
                               const QString &newFile, const Counts &map, int notify) {
        auto *host = static_cast<Host *>(data);
        host->calls << QStringList{"edit",  date,    oldPlan,      newPlan,
                                   oldFile, newFile, mapText(map), QString::number(notify)}
                           .join('|');
        for (int i = host->rows.size() - 1; i >= 0; --i) {
            const QVariantList r = host->rows.at(i).toList();
            if (r.at(0).toString() == oldPlan && r.at(5).toString() == oldFile)
                host->rows.removeAt(i);
        }
        addRows(host, newPlan, newFile, map, notify);
        answer(host, date);
    });
    board.setDelDatePlanCB([](void *data, const QString &date, const QString &plan) {
        auto *host = static_cast<Host *>(data);
        host->calls << "del|" + date + '|' + plan;
        for (int i = host->rows.size() - 1; i >= 0; --i) {
            if (host->rows.at(i).toList().at(0).toString() == plan)
                host->rows.removeAt(i);
        }
        answer(host, date);
    });
}

// A page whose "file dialog" answers with a prepared name.
class ExportPage : public YmTableViewPlanPage
{
public:
    QString answer;
    QStringList asked;

protected:
    QString exportFileName(const QString &suggested) override
    {
        asked << suggested;
        return answer;
    }
};

} // namespace

class TstPlanActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        YmHarness::start();
        YmClock::setFixed(QDateTime(kToday, QTime(10, 0)));
    }
    void cleanupTestCase() { YmClock::setFixed(QDateTime()); }

    void deletePlan_data()
    {
        QTest::addColumn<int>("checkOrder");
        QTest::addColumn<QString>("filterFile"); // exact file filter, "" for none
        QTest::addColumn<int>("selectRow");      // row of the view, -1 for none
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("deleted"); // plan in sDelDatePlan, "" for no signal
        const QString ask = "提示|是否要删除 %1 该计划订单?|确定/取消";
        QTest::newRow("no selection")
            << 123 << "" << -1 << "确定" << QStringList{"提示|请选择要删除的订单|确定"} << "";
        QTest::newRow("first shown row is the fifth plan")
            << 123 << "F9" << 0 << "确定" << QStringList{ask.arg("P5")} << "P5";
        QTest::newRow("plan in the second column")
            << 312 << "" << 3 << "确定" << QStringList{ask.arg("P4")} << "P4";
        // File then plan, in order of first appearance: F1 P1, F1 P3, F2 P2, F2 P6
        // ...
        QTest::newRow("two criteria")
            << 21 << "" << 3 << "确定" << QStringList{ask.arg("P6")} << "P6";
        QTest::newRow("cancelled") << 123 << "" << 2 << "取消" << QStringList{ask.arg("P3")} << "";
    }
    void deletePlan()
    {
        QFETCH(int, checkOrder);
        QFETCH(QString, filterFile);
        QFETCH(int, selectRow);
        QFETCH(QString, answer);
        QFETCH(QStringList, boxes);
        QFETCH(QString, deleted);
        PageUnderTest t(sixRows(), checkOrder);
        t.filter("文件", filterFile);
        if (selectRow >= 0)
            t.view->selectRow(selectRow);
        QSignalSpy spy(&t.page, &YmTableViewPlanPage::sDelDatePlan);
        ModalScript script({press(answer)});
        t.click("btnDel");
        QCOMPARE(script.seen, boxes);
        QCOMPARE(spy.count(), deleted.isEmpty() ? 0 : 1);
        if (!deleted.isEmpty())
            QCOMPARE(spy.at(0), (QVariantList{"2024-04-30", deleted}));
    }

    void editPlan_data()
    {
        QTest::addColumn<int>("selectRow"); // grouped by machine, plan, file; -1 for none
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("prefilled");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("edited"); // the signal's arguments, "" for none
        const QString p1f1 = "编辑订单|P1|F1|80|85|k1=50;k2=30|80/80 green";
        const QStringList dialogOnly{"dialog:编辑订单"};
        const QStringList unchanged{"dialog:编辑订单", "提示|未修改|确定"};
        QTest::newRow("no selection") << -1 << ""
                                      << "" << QStringList{"提示|请选择要编辑的订单|确定"} << "";
        QTest::newRow("unchanged") << 2 << "" << p1f1 << unchanged << "";
        QTest::newRow("the plan on its other file")
            << 3 << ""
            << "编辑订单|P1|F2|20|5|k3=20|20/20 green" << unchanged << "";
        QTest::newRow("notify only")
            << 2 << "notify=50" << p1f1 << dialogOnly << "2024-04-30|P1|P1|F1|F1|k1=50;k2=30|50";
        QTest::newRow("renamed plan")
            << 0 << "plan=P1-B" << p1f1 << dialogOnly << "2024-04-30|P1|P1-B|F1|F1|k1=50;k2=30|85";
        QTest::newRow("moved to another machine")
            << 2 << "uncheck=k2;check=k4:30" << p1f1 << dialogOnly
            << "2024-04-30|P1|P1|F1|F1|k1=50;k4=30|85";
        QTest::newRow("cancelled") << 2 << "notify=50;cancel" << p1f1 << dialogOnly << "";
    }
    void editPlan()
    {
        QFETCH(int, selectRow);
        QFETCH(QString, commands);
        QFETCH(QString, prefilled);
        QFETCH(QStringList, boxes);
        QFETCH(QString, edited);
        PageUnderTest t(editRows(), 312);
        if (selectRow >= 0)
            t.view->selectRow(selectRow);
        QSignalSpy spy(&t.page, &YmTableViewPlanPage::sEditDatePlan);
        QString state;
        ModalScript script({selectRow < 0 ? press("确定") : fill(commands, &state), press("确定")});
        t.click("btnEdit");
        QCOMPARE(script.seen, boxes);
        QCOMPARE(state, prefilled);
        QCOMPARE(spy.count(), edited.isEmpty() ? 0 : 1);
        if (edited.isEmpty())
            return;
        QCOMPARE(argsText(spy.at(0)), edited);
    }

    void addPlan_data()
    {
        QTest::addColumn<QDate>("shown");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("added"); // the signal's arguments, "" for none
        const QString plan = "plan=P9;file=F9;count=100;notify=20;check=k1:60;check=k4:40";
        QTest::newRow("another day shown")
            << QDate(2024, 5, 2) << plan << "2024-05-02|P9|F9|k1=60;k4=40|20";
        QTest::newRow("next year shown")
            << QDate(2025, 1, 1) << "plan=P8;file=F1;count=7;check=k2:7"
            << "2025-01-01|P8|F1|k2=7|0";
        QTest::newRow("cancelled") << QDate(2024, 5, 2) << plan + ";cancel"
                                   << "";
    }
    void addPlan()
    {
        QFETCH(QDate, shown);
        QFETCH(QString, commands);
        QFETCH(QString, added);
        PageUnderTest t(editRows(), 123);
        child<QDateEdit>(&t.page, "dateEdit")->setDate(shown);
        QSignalSpy spy(&t.page, &YmTableViewPlanPage::sAddDatePlan);
        QString state;
        ModalScript script({fill(commands, &state)});
        t.click("btnAdd");
        QCOMPARE(script.seen, QStringList{"dialog:新增订单"});
        // A fresh dialog: nothing filled in, nothing checked.
        QCOMPARE(state, QString("新增订单||||||0/0 none"));
        QCOMPARE(spy.count(), added.isEmpty() ? 0 : 1);
        if (added.isEmpty())
            return;
        QCOMPARE(argsText(spy.at(0)), added);
    }

    void exportTable_data()
    {
        QTest::addColumn<int>("checkOrder");
        QTest::addColumn<QString>("filterFile");
        QTest::addColumn<QList<int>>("sortClicks"); // header sections, clicked in turn
        QTest::addColumn<int>("moveToFront");       // section moved to the front, -1 none
        QTest::addColumn<QStringList>("lines");
        // Rates: P1 50 % and 30 %, P2 10 %, P3 80 %, P4 25 %.
        QTest::newRow("filtered, by rate descending, rate first")
            << 123 << "F1" << QList<int>{5, 5} << 5
            << QStringList{"完成率,订单计划,文件,设备,订单数,完成量", "80.00%,P3,F1,M2,100,80",
                           "50.00%,P1,F1,M1,100,50", "30.00%,P1,F1,M2,100,30"};
        QTest::newRow("grouped by plan, by rate")
            << 1 << "" << QList<int>{3} << -1
            << QStringList{"订单计划,订单数,完成量,完成率", "P2,100,10,10.00%", "P4,40,10,25.00%",
                           "P1,200,80,40.00%", "P3,100,80,80.00%"};
        QTest::newRow("file then plan, as grouped")
            << 21 << "" << QList<int>{} << -1
            << QStringList{"文件,订单计划,订单数,完成量,完成率", "F1,P1,200,80,40.00%",
                           "F1,P3,100,80,80.00%", "F2,P2,100,10,10.00%", "\"F,2\",P4,40,10,25.00%"};
    }
    void exportTable()
    {
        QFETCH(int, checkOrder);
        QFETCH(QString, filterFile);
        QFETCH(QList<int>, sortClicks);
        QFETCH(int, moveToFront);
        QFETCH(QStringList, lines);
        ExportPage page;
        page.initDatas(
            machineList(machines()),
            records({orderRow("P1", "k1", "F1", 100, 50), orderRow("P2", "k1", "F2", 100, 10),
                     orderRow("P3", "k2", "F1", 100, 80), orderRow("P1", "k2", "F1", 100, 30),
                     orderRow("P4", "k3", "F,2", 40, 10)}),
            false, checkOrder, 2);
        child<QDateEdit>(&page, "dateEdit")->setDate(kShown);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        if (!filterFile.isEmpty()) {
            child(&page, "lineEdit_filter")->setText(filterFile);
            child<QPushButton>(&page, "btnQuery")->click();
        }
        QHeaderView *header = child<QTableView>(&page, "tableView")->horizontalHeader();
        if (moveToFront >= 0)
            header->moveSection(header->visualIndex(moveToFront), 0);
        for (int section : sortClicks)
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, {},
                QPoint(header->sectionViewportPosition(section) + 10, header->height() / 2));

        QTemporaryDir dir;
        page.answer = dir.filePath("计划.csv");
        ModalScript script;
        child<QPushButton>(&page, "btnExport")->click();
        QCOMPARE(script.seen, QStringList());
        QCOMPARE(page.asked.size(), 1);
        QCOMPARE(QFileInfo(page.asked.first()).fileName(), QString("计划订单_2024-04-30.csv"));
        QCOMPARE(readAll(page.answer), "\xEF\xBB\xBF" + (lines.join("\r\n") + "\r\n").toUtf8());
    }

    void exportChoices_data()
    {
        QTest::addColumn<QString>("answer"); // in a folder holding "old.csv"
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("refused");
        // name|answer|written|refused; "long" stands for a 250-letter name, with no room
        // beside it for the temporary file the new contents go to first.
        for (const char *row :
             {"cancelled|||0", "no extension|plans|plans.csv|0",
              "over an old file|old.csv|old.csv|0", "an old file that cannot be replaced|long||1",
              "missing folder|missing/new.csv||1"}) {
            const QStringList f = QString(row).split('|');
            QTest::newRow(qPrintable(f[0]))
                << (f[1] == "long" ? QString(250, 'a') + ".csv" : f[1]) << f[2] << (f[3] == "1");
        }
    }
    void exportChoices()
    {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        const QByteArray old("old contents\r\n");
        for (const QString &name : QStringList{"old.csv", QString(250, 'a') + ".csv"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

        ExportPage page;
        page.initDatas(machineList(machines()), records({orderRow("P1", "k1", "F1", 10, 5)}), false,
                       1, 1);
        page.answer = answer.isEmpty() ? QString() : dir.filePath(answer);
        ModalScript script({press("确定")});
        child<QPushButton>(&page, "btnExport")->click();

        const QString message
            = "提示|无法写入文件“" + QDir::toNativeSeparators(page.answer) + "”：";
        QCOMPARE(script.seen.size(), refused ? 1 : 0);
        if (refused) {
            QVERIFY2(script.seen.first().startsWith(message), qPrintable(script.seen.first()));
            QVERIFY(script.seen.first().endsWith("|确定"));
        }
        QStringList after = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        if (!written.isEmpty()) {
            QCOMPARE(readAll(dir.filePath(written)),
                     QByteArray("\xEF\xBB\xBF订单计划,订单数,完成量,完成率\r\nP1,10,5,50.00%\r\n"));
            if (!before.contains(written))
                QVERIFY(after.removeOne(written));
        }
        QCOMPARE(after, before);
        if (written != "old.csv")
            QCOMPARE(readAll(dir.filePath("old.csv")), old);
        QCOMPARE(readAll(dir.filePath(QString(250, 'a') + ".csv")), old);
    }

    void throughTheFacade()
    {
        Host host;
        host.rows = {orderRow("P1", "k1", "F1", 50, 10, 80), orderRow("P1", "k2", "F1", 30, 0, 80),
                     orderRow("P2", "k3", "F2", 20, 0, 0)};
        YmWorkshopManage board;
        registerHost(board, host);
        board.initDatas({host.rows, 0, 123, 1}, machines(), {}, "08:00:00", "20:00:00", 600);
        YmTableViewPlanPage *page = topLevels<YmTableViewPlanPage>().value(0);
        QVERIFY(page);
        auto *view = child<QTableView>(page, "tableView");
        QCOMPARE(page->shownDate(), kToday);

        {
            ModalScript script({fill("plan=P3;file=F3;count=90;notify=70;check=k4:90")});
            child<QPushButton>(page, "btnAdd")->click();
        }
        QCOMPARE(host.calls, QStringList{"add|2024-05-09|P3|F3|k4=90|70"});
        QCOMPARE(tableText(view), (QStringList{"P1,F1,M1,50,10,20.00%", "P1,F1,M2,30,0,0.00%",
                                               "P2,F2,M3,20,0,0.00%", "P3,F3,M4,90,0,0.00%"}));

        view->selectRow(1);
        {
            ModalScript script({fill("plan=P1-B;count=100;check=k3:20")});
            child<QPushButton>(page, "btnEdit")->click();
        }
        QCOMPARE(host.calls.value(1),
                 QString("edit|2024-05-09|P1|P1-B|F1|F1|k1=50;k2=30;k3=20|80"));
        QCOMPARE(tableText(view),
                 (QStringList{"P2,F2,M3,20,0,0.00%", "P3,F3,M4,90,0,0.00%", "P1-B,F1,M1,50,0,0.00%",
                              "P1-B,F1,M2,30,0,0.00%", "P1-B,F1,M3,20,0,0.00%"}));

        view->selectRow(0);
        {
            ModalScript script({press("确定")});
            child<QPushButton>(page, "btnDel")->click();
            QCOMPARE(script.seen, QStringList{"提示|是否要删除 P2 该计划订单?|确定/取消"});
        }
        QCOMPARE(host.calls.value(2), QString("del|2024-05-09|P2"));
        QCOMPARE(tableText(view).first(), QString("P3,F3,M4,90,0,0.00%"));
        QCOMPARE(tableText(view).size(), 4);
        QCOMPARE(host.calls.size(), 3);
    }
};

QTEST_MAIN(TstPlanActions)
#include "tst_planactions.moc"
