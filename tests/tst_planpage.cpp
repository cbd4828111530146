// The order plan window: date navigation, the host's answers, the grouping
// controls and their saved settings, the filter row, and what survives a
// rebuild; also end to end through the facade.
// The tables below are written with plain literals.
#undef QT_NO_CAST_FROM_ASCII

#include "ymclock.h"
#include "ymharness.h"
#include "ymtabletooltipwidget.h"
#include "ymtableviewplanpage.h"
#include "ymtestsupport.h"
#include "ymworkshopmanage.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

namespace {

const QDate kToday(2024, 5, 2);

// P1/F1/M1 100 50, P2/F2/M1 100 10, P3/F1/M2 100 80
QVariantList threeRows()
{
    return {orderRow("P1", "k1", "F1", 100, 50), orderRow("P2", "k1", "F2", 100, 10),
            orderRow("P3", "k2", "F1", 100, 80)};
}

QVariantList macs()
{
    return {QVariant(QVariantList{"k1", "M1", 2}), QVariant(QVariantList{"k2", "M2", 1})};
}

// Criterion titles as letters: 订单计划 A, 文件 B, 设备 C.
QString code(const QString &title)
{
    if (title == "订单计划")
        return "A";
    if (title == "文件")
        return "B";
    if (title == "设备")
        return "C";
    return "?";
}

// "C(ABC)|A(AB)|B(B)": current choice and items of the three order combo
// boxes, "-" for one not shown.
QString combosText(QWidget &page)
{
    QStringList parts;
    for (const char *name : {"comboBox_idx1", "comboBox_idx2", "comboBox_idx3"}) {
        auto *combo = child<QComboBox>(page, name);
        QString items;
        for (int i = 0; i < combo->count(); ++i)
            items += code(combo->itemText(i));
        parts << (combo->isHidden() ? QString("-")
                                    : code(combo->currentText()) + '(' + items + ')');
    }
    return parts.join('|');
}

QString checkedText(QWidget &page)
{
    QString text;
    for (const char *name : {"checkBox_plan", "checkBox_file", "checkBox_mac"})
        text += child<QCheckBox>(page, name)->isChecked() ? "1" : "0";
    return text;
}

QString headersText(const YmTableViewPlanPage &page)
{
    QStringList labels;
    for (int c = 0; c < page.model().columnCount(); ++c)
        labels << page.model().headerData(c, Qt::Horizontal).toString();
    return labels.join(',');
}

// The cells of one column as the view shows them.
QStringList shownColumn(QWidget &page, int column)
{
    return columnText(*child<QTableView>(page, "tableView")->model(), column);
}

// The last three settings emitted, "key=value" each.
QString settingsText(const QSignalSpy &spy)
{
    QStringList parts;
    for (int i = qMax(0, spy.count() - 3); i < spy.count(); ++i)
        parts << spy.at(i).at(0).toString() + '=' + spy.at(i).at(1).toString();
    return parts.join(' ');
}

struct Host
{
    QStringList queries;
    QMap<QString, QString> settings;
};

} // namespace

class TstPlanPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        YmHarness::start();
        YmClock::setFixed(QDateTime(kToday, QTime(10, 0)));
    }
    void cleanupTestCase() { YmClock::setFixed(QDateTime()); }

    void dateButtons_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QString>("button"); // "" for the board's day moving on
        QTest::addColumn<QDate>("expected");
        QTest::addColumn<int>("queries");
        QTest::newRow("next into a leap day")
            << QDate(2024, 2, 28) << "pushButton_next" << QDate(2024, 2, 29) << 1;
        QTest::newRow("previous") << QDate(2024, 3, 1) << "pushButton_prev" << QDate(2024, 2, 29)
                                  << 1;
        QTest::newRow("today while today is shown") << kToday << "pushButton" << kToday << 0;
        QTest::newRow("today from another day")
            << QDate(2024, 4, 30) << "pushButton" << kToday << 1;
        // The board's day moves on: a window showing today moves with it.
        QTest::newRow("board's next day, today shown") << kToday << "" << kToday.addDays(1) << 1;
        QTest::newRow("board's next day, another day shown")
            << QDate(2024, 4, 30) << "" << QDate(2024, 4, 30) << 0;
    }
    void dateButtons()
    {
        QFETCH(QDate, start);
        QFETCH(QString, button);
        QFETCH(QDate, expected);
        QFETCH(int, queries);
        YmTableViewPlanPage page;
        QCOMPARE(page.shownDate(), kToday);
        child<QDateEdit>(page, "dateEdit")->setDate(start);
        QSignalSpy spy(&page, &YmTableViewPlanPage::sQueryDatePlan);
        if (button.isEmpty())
            page.followDay(kToday.addDays(1));
        else
            page.findChild<QPushButton *>(button)->click();
        QCOMPARE(page.shownDate(), expected);
        QCOMPARE(spy.count(), queries);
        if (queries)
            QCOMPARE(spy.at(0).at(0).toDate(), expected);
        // The button back to today looks like one and says so, in the board's
        // language, as do the date edit and its calendar.
        auto *today = child<QPushButton>(page, "pushButton");
        QCOMPARE(today->text() + (today->isFlat() ? " flat" : ""), QString("今天"));
        QCOMPARE(today->toolTip(), QString("单击跳到当天"));
        auto *edit = child<QDateEdit>(page, "dateEdit");
        QCOMPARE(edit->calendarWidget()->locale().language(), QLocale::Chinese);
        QCOMPARE(edit->locale().language(), QLocale::Chinese);
    }

    void answersForTheShownDateOnly()
    {
        YmTableViewPlanPage page;
        page.initDatas(machineList(macs()), records(threeRows()), false, 123, 1);
        child<QDateEdit>(page, "dateEdit")->setDate(QDate(2024, 5, 1));
        const QVariantList other{orderRow("Q9", "k1", "F1", 10, 1)};
        page.queryDatePlan("2024-05-02", records(other));
        QCOMPARE(shownColumn(page, 0), (QStringList{"P1", "P2", "P3"}));
        page.queryDatePlan("2024-05-01", records(other));
        QCOMPARE(shownColumn(page, 0), QStringList{"Q9"});
        QCOMPARE(page.shownDateText(), QString("2024-05-01"));
    }

    void boardRowsOnlyWhileTodayIsShown()
    {
        YmTableViewPlanPage page;
        page.initDatas(machineList(macs()), records(threeRows()), false, 123, 1);
        QVector<YmOrderRecord> board = records(threeRows());
        board[1].completed = 60;
        child<QDateEdit>(page, "dateEdit")->setDate(kToday.addDays(-1));
        page.updateRows(board, {1});
        QCOMPARE(shownColumn(page, 4), (QStringList{"50", "10", "80"}));
        child<QDateEdit>(page, "dateEdit")->setDate(kToday);
        page.updateRows(board, {1});
        // Hidden, the window regroups only when it is shown.
        QCOMPARE(shownColumn(page, 4), (QStringList{"50", "10", "80"}));
        page.show();
        QCOMPARE(shownColumn(page, 4), (QStringList{"50", "60", "80"}));
        board[1].completed = 70;
        page.updateRows(board, {1});
        QCOMPARE(shownColumn(page, 4), (QStringList{"50", "70", "80"}));
    }

    void machines()
    {
        YmTableViewPlanPage page;
        page.initDatas(
            machineList({QVariant(QVariantList{"k1", "M1"}), QVariant(QVariantList{"k2", "M2"}),
                         QVariant(QVariantList{"k1", "M1b"}), QVariant(5)}),
            records({}), false, 0, 0);
        QCOMPARE(page.macKeys(), (QStringList{"k1", "k2", ""}));
        QCOMPARE(page.macNames().value("k1"), QString("M1b"));
        page.updateMacName("k2", "Press 2");
        page.updateMacName("k7", "New");
        QCOMPARE(page.macNames().value("k2"), QString("Press 2"));
        QCOMPARE(page.macNames().value("k7"), QString("New"));
        QCOMPARE(page.macKeys().size(), 3);
    }

    void restoreOrder_data()
    {
        QTest::addColumn<int>("checkOrder");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("combos");
        QTest::addColumn<QString>("headers");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("deletable");
        QTest::addColumn<int>("rows");
        // order;checked;combos;leading headers;saved;edit and delete enabled;rows
        const QStringList table{
            "0;111;A(ABC)|B(BC)|C(C);订单计划,文件,设备;123;11;3",
            "123;111;A(ABC)|B(BC)|C(C);订单计划,文件,设备;123;11;3",
            "132;111;A(ABC)|C(BC)|B(B);订单计划,设备,文件;132;11;3",
            "213;111;B(ABC)|A(AC)|C(C);文件,订单计划,设备;213;11;3",
            "312;111;C(ABC)|A(AB)|B(B);设备,订单计划,文件;312;11;3",
            "12;110;A(AB)|B(B)|-;订单计划,文件;12;01;3",
            "13;101;A(AC)|C(C)|-;订单计划,设备;13;01;3",
            "21;110;B(AB)|A(A)|-;文件,订单计划;21;01;3",
            "23;011;B(BC)|C(C)|-;文件,设备;23 PlanFilter=2;00;3",
            "32;011;C(BC)|B(B)|-;设备,文件;32 PlanFilter=2;00;3", "1;100;A(A)|-|-;订单计划;1;01;3",
            "2;010;B(B)|-|-;文件;2 PlanFilter=2;00;2", "3;001;C(C)|-|-;设备;3 PlanFilter=3;00;2",
            // Unreadable orders on a fresh page fall back to the default grouping.
            "45;111;A(ABC)|B(BC)|C(C);订单计划,文件,设备;123;11;3"};
        for (const QString &row : table) {
            const QStringList f = QString(row).split(';');
            QTest::newRow(qPrintable(f[0]))
                << f[0].toInt() << f[1] << f[2] << f[3] + ",订单数,完成量,完成率" << f[4]
                << (f[5][0] == '1') << (f[5][1] == '1') << f[6].toInt();
        }
    }
    void restoreOrder()
    {
        QFETCH(int, checkOrder);
        QFETCH(QString, checked);
        QFETCH(QString, combos);
        QFETCH(QString, headers);
        QFETCH(QString, saved);
        QFETCH(bool, editable);
        QFETCH(bool, deletable);
        QFETCH(int, rows);
        YmTableViewPlanPage page;
        QSignalSpy settings(&page, &YmTableViewPlanPage::sSaveKeyAttr);
        page.initDatas(machineList(macs()), records(threeRows()), true, checkOrder, 1);
        QCOMPARE(checkedText(page), checked);
        QCOMPARE(combosText(page), combos);
        QCOMPARE(headersText(page), headers);
        QCOMPARE(settings.count(), 3);
        // Without the plan column the filter type falls back to the first one.
        if (!saved.contains(' '))
            saved += " PlanFilter=1";
        QCOMPARE(settingsText(settings), "PlanFilterCheck=1 PlanCheckOrder=" + saved);
        QCOMPARE(child<QPushButton>(page, "btnEdit")->isEnabled(), editable);
        QCOMPARE(child<QPushButton>(page, "btnDel")->isEnabled(), deletable);
        QCOMPARE(page.model().rowCount(), rows);
    }

    void restoreFilter_data()
    {
        QTest::addColumn<int>("checkOrder");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("saved");
        for (const char *row :
             {"file;123;2;文件;2", "machine;312;3;设备;3", "machine not checked;12;3;订单计划;1",
              "out of range;23;7;文件;2", "nothing saved;123;0;订单计划;1"}) {
            const QStringList f = QString(row).split(';');
            QTest::newRow(qPrintable(f[0])) << f[1].toInt() << f[2].toInt() << f[3] << f[4];
        }
    }
    void restoreFilter()
    {
        QFETCH(int, checkOrder);
        QFETCH(int, filter);
        QFETCH(QString, current);
        QFETCH(QString, saved);
        YmTableViewPlanPage page;
        QSignalSpy settings(&page, &YmTableViewPlanPage::sSaveKeyAttr);
        page.initDatas(machineList(macs()), records(threeRows()), false, checkOrder, filter);
        QCOMPARE(child<QComboBox>(page, "comboBox_filterType")->currentText(), current);
        QCOMPARE(settings.last().at(1).toString(), saved);
    }

    void uncheckingTheLastCriterionIsRefused()
    {
        YmTableViewPlanPage page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.initDatas(machineList(macs()), records(threeRows()), false, 2, 2);
        QSignalSpy settings(&page, &YmTableViewPlanPage::sSaveKeyAttr);
        auto *file = child<QCheckBox>(page, "checkBox_file");
        QCursor::setPos(500, 400);
        QTest::mouseClick(file, Qt::LeftButton, {}, QPoint(5, file->height() / 2));
        QVERIFY(file->isChecked());
        QCOMPARE(combosText(page), QString("B(B)|-|-"));
        YmTableTooltipWidget *tip = topLevels<YmTableTooltipWidget>().value(0);
        QVERIFY(tip);
        QVERIFY(tip->isVisible());
        QCOMPARE(tip->text(), QString("至少选择一项作为查询依据!"));
        QCOMPARE(tip->pos(), QPoint(400, 350 - file->height() / 2));
        QCOMPARE(settings.count(), 3);
        QCOMPARE(settingsText(settings),
                 QString("PlanFilterCheck=0 PlanCheckOrder=2 PlanFilter=2"));
        QTest::qWait(2500);
        QVERIFY(tip->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(tip->isHidden(), 1500);
    }

    // The reader regroups: "file" clicks that criterion's box, "idx1=文件"
    // chooses in the first order combo box, "load" is a later load with an
    // order the page cannot read. After each step: the combo boxes, whether
    // edit and delete work, and the settings saved last.
    void regrouping_data()
    {
        QTest::addColumn<int>("checkOrder");
        QTest::addColumn<QStringList>(
            "steps"); // "step;combos;edit delete;filter check order filter"
        QTest::newRow("unchecking the first column's criterion, then checking it again")
            << 213
            << QStringList{"file;A(AC)|C(C)|-;01;0 13 1",
                           // Checked again, it comes as the last column.
                           "file;A(ABC)|C(BC)|B(B);11;0 132 1"};
        QTest::newRow("choosing the first and second columns")
            << 123
            << QStringList{"idx1=文件;B(ABC)|A(AC)|C(C);11;0 213 1",
                           "idx2=设备;B(ABC)|C(AC)|A(A);11;0 231 1"};
        QTest::newRow("a later load with an unknown order keeps the grouping")
            << 31 << QStringList{"load;C(AC)|A(A)|-;01;1 31 3"};
    }
    void regrouping()
    {
        QFETCH(int, checkOrder);
        QFETCH(QStringList, steps);
        YmTableViewPlanPage page;
        page.initDatas(machineList(macs()), records(threeRows()), false, checkOrder, 1);
        for (const QString &step : steps) {
            const QStringList f = step.split(';');
            QSignalSpy settings(&page, &YmTableViewPlanPage::sSaveKeyAttr);
            const QString action = f[0].section('=', 0, 0);
            if (action == "file") {
                child<QCheckBox>(page, "checkBox_file")->click();
            } else if (action == "load") {
                page.initDatas(machineList(macs()), records({orderRow("P9", "k2", "F1", 10, 5)}),
                               true, 45, 3);
                QCOMPARE(shownColumn(page, 1), QStringList{"P9"});
            } else {
                auto *combo = child<QComboBox>(page, "comboBox_" + action);
                combo->setCurrentIndex(combo->findText(f[0].section('=', 1)));
            }
            QCOMPARE(combosText(page), f[1]);
            // The leading headers follow the combo boxes' choices.
            QString chosen, leading;
            for (const QString &combo : f[1].split('|'))
                chosen += combo.left(1).remove('-');
            for (const QString &title : headersText(page).split(',').mid(0, chosen.size()))
                leading += code(title);
            QCOMPARE(leading, chosen);
            QCOMPARE(child<QPushButton>(page, "btnEdit")->isEnabled(), f[2][0] == '1');
            QCOMPARE(child<QPushButton>(page, "btnDel")->isEnabled(), f[2][1] == '1');
            const QStringList saved = f[3].split(' ');
            QCOMPARE(settingsText(settings), "PlanFilterCheck=" + saved[0] + " PlanCheckOrder="
                                                 + saved[1] + " PlanFilter=" + saved[2]);
        }
    }

    void query_data()
    {
        QTest::addColumn<bool>("fuzzy");
        QTest::addColumn<QString>("filterType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("plans");
        for (const char *row : {"exact plan;0;订单计划;A1;A1", "plan contains;1;订单计划;A1;A1,A12",
                                "file column;0;文件;F1;A1,B1", "no match;0;订单计划;Z;",
                                "empty text keeps all;0;文件;;A1,A12,B1,a1"}) {
            const QStringList f = QString(row).split(';');
            QTest::newRow(qPrintable(f[0])) << (f[1] == "1") << f[2] << f[3] << f[4].split(',');
        }
    }
    void query()
    {
        QFETCH(bool, fuzzy);
        QFETCH(QString, filterType);
        QFETCH(QString, text);
        QFETCH(QStringList, plans);
        YmTableViewPlanPage page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.initDatas(
            machineList(macs()),
            records({orderRow("A1", "k1", "F1", 10, 1), orderRow("A12", "k1", "F2", 10, 1),
                     orderRow("B1", "k2", "F1", 10, 1), orderRow("a1", "k2", "F3", 10, 1)}),
            fuzzy, 312, 0);
        auto *type = child<QComboBox>(page, "comboBox_filterType");
        type->setCurrentIndex(type->findText(filterType));
        child<QLineEdit>(page, "lineEdit_filter")->setText(text);
        QCOMPARE(shownColumn(page, 1), (QStringList{"A1", "A12", "B1", "a1"}));
        QSignalSpy settings(&page, &YmTableViewPlanPage::sSaveKeyAttr);
        child<QPushButton>(page, "btnQuery")->click();
        plans.removeAll(QString());
        QCOMPARE(shownColumn(page, 1), plans);
        // Exactly the matching rows, numbered from 1.
        auto *view = child<QTableView>(page, "tableView");
        QCOMPARE(view->verticalHeader()->count(), plans.size());
        if (!plans.isEmpty())
            QCOMPARE(view->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
        // Only an empty filter text rebuilds the grouping and saves the settings.
        QCOMPARE(settings.count(), text.isEmpty() ? 3 : 0);
    }

    void columnWidths_data()
    {
        QTest::addColumn<int>("checkOrder");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("otherCheckOrder");
        QTest::addColumn<int>("otherWidth");
        // 1003 pixels available: 1003 / 4 = 250, 1003 / 6 = 167.
        // A restored grouping checks boxes and never unchecks one, so the
        // hidden regrouping goes from fewer columns to more.
        QTest::newRow("four columns") << 1 << 249 << 123 << 166;
        QTest::newRow("six columns") << 123 << 166 << 123 << 166;
    }
    void columnWidths()
    {
        QFETCH(int, checkOrder);
        QFETCH(int, width);
        QFETCH(int, otherCheckOrder);
        QFETCH(int, otherWidth);
        YmTableViewPlanPage page;
        page.initDatas(machineList(macs()), records(threeRows()), false, checkOrder, 1);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto *view = child<QTableView>(page, "tableView");
        const auto available = [view] {
            return view->width() - view->verticalHeader()->width()
                   - view->verticalScrollBar()->sizeHint().width();
        };
        page.resize(page.width() + 1003 - available(), page.height());
        QCOMPARE(available(), 1003);
        for (int c = 0; c < page.model().columnCount(); ++c)
            QCOMPARE(view->columnWidth(c), width);

        // Regrouped while hidden, shown again at the same size: no resize
        // comes, and the columns still fit the new grouping.
        page.hide();
        page.initDatas(machineList(macs()), records(threeRows()), false, otherCheckOrder, 1);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QCOMPARE(available(), 1003);
        for (int c = 0; c < page.model().columnCount(); ++c)
            QCOMPARE(view->columnWidth(c), otherWidth);
    }

    void selectionAndSortSurviveProcessUpdates()
    {
        YmTableViewPlanPage page;
        page.initDatas(machineList(macs()), records(threeRows()), false, 123, 1);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto *view = child<QTableView>(page, "tableView");
        QHeaderView *header = view->horizontalHeader();
        const int rate = 5;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(rate) + 10, header->height() / 2));
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(shownColumn(page, 0), (QStringList{"P2", "P1", "P3"}));
        view->selectRow(1);
        QCOMPARE(page.selectedModelRow(), 1);

        // P3 drops to 5 %: under the header's indicator it moves to the top.
        QVector<YmOrderRecord> board = records(threeRows());
        board[2].completed = 5;
        page.updateRows(board, {2});
        QCOMPARE(shownColumn(page, 0), (QStringList{"P3", "P2", "P1"}));
        QCOMPARE(page.selectedModelRow(), 2);
        QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(view->currentIndex().row(), 2);

        // A new grouping drops the reader's sort.
        child<QCheckBox>(page, "checkBox_mac")->click();
        board[2].completed = 6;
        page.updateRows(board, {2});
        QCOMPARE(shownColumn(page, 0), (QStringList{"P1", "P2", "P3"}));
    }

    void scrollPositionSurvivesARebuild()
    {
        QVariantList rows;
        for (int i = 1; i <= 60; ++i)
            rows << orderRow(QString("P%1").arg(i, 2, 10, QChar('0')), "k1", "F1", 100, i);
        YmTableViewPlanPage page;
        page.initDatas(machineList(macs()), records(rows), false, 123, 1);
        page.resize(952, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto *view = child<QTableView>(page, "tableView");
        view->scrollTo(view->model()->index(30, 0), QAbstractItemView::PositionAtTop);
        view->selectRow(33);
        const int before = view->verticalScrollBar()->value();
        QCOMPARE(view->indexAt(QPoint(0, 0)).data().toString(), QString("P31"));

        // The host answers with one plan more at the front: the rows under the
        // reader stay where they were.
        rows.prepend(orderRow("P00", "k2", "F1", 100, 0));
        page.queryDatePlan("2024-05-02", records(rows));
        QCOMPARE(view->indexAt(QPoint(0, 0)).data().toString(), QString("P31"));
        QCOMPARE(view->verticalScrollBar()->value(), before + 1);
        QCOMPARE(view->currentIndex().data().toString(), QString("P34"));
    }

    void throughTheFacade()
    {
        static Host host;
        host = Host();
        const QVariantList rows = threeRows();
        QMap<QString, QString> saved;
        {
            YmWorkshopManage board;
            board.setData(&host);
            board.setQueryDatePlanCB([](void *data, const QString &date) {
                static_cast<Host *>(data)->queries << date;
            });
            board.setSaveKeyAttrCB([](void *data, const QString &key, const QString &value) {
                static_cast<Host *>(data)->settings.insert(key, value);
            });
            board.initDatas({rows, 0, 0, 0}, macs(), {}, "08:00:00", "20:00:00", 600);
            YmTableViewPlanPage *page = topLevels<YmTableViewPlanPage>().value(0);
            QVERIFY(page);
            // Creating the window asks the host nothing.
            QVERIFY(host.queries.isEmpty());
            // Today's process reports reach the window's table.
            board.updateMacProcess("k2", {QVariant(QVariantList{"F1", QVariant(), 90})});
            page->show();
            QCOMPARE(shownColumn(*page, 5), (QStringList{"50.00%", "10.00%", "90.00%"}));
            // A later full load reuses the window.
            board.initDatas({rows, 0, 0, 0}, macs(), {}, "08:00:00", "20:00:00", 600);
            QCOMPARE(topLevels<YmTableViewPlanPage>().size(), 1);
            QCOMPARE(host.settings.value("PlanCheckOrder"), QString("123"));

            child<QPushButton>(*page, "pushButton_next")->click();
            QCOMPARE(host.queries, QStringList{"2024-05-03"});
            board.queryDatePlan("2024-05-03", {orderRow("N1", "k2", "F4", 40, 10)});
            QCOMPARE(shownColumn(*page, 0), QStringList{"N1"});
            QCOMPARE(shownColumn(*page, 5), QStringList{"25.00%"});

            // A renamed machine reaches the window's machine names.
            board.updateMacState("k1", 2, "Lathe 1");
            QCOMPARE(page->macNames().value("k1"), QString("Lathe 1"));

            // The reader regroups by machine, then plan; the host keeps that.
            child<QCheckBox>(*page, "checkBox_file")->click();
            auto *idx1 = child<QComboBox>(*page, "comboBox_idx1");
            idx1->setCurrentIndex(idx1->findText("设备"));
            child<QCheckBox>(*page, "checkBox_fuzzyMatch")->click();
            auto *type = child<QComboBox>(*page, "comboBox_filterType");
            type->setCurrentIndex(type->findText("设备"));
            child<QPushButton>(*page, "btnQuery")->click(); // empty text: saves again
            saved = host.settings;
            QCOMPARE(saved.value("PlanCheckOrder"), QString("31"));
            QCOMPARE(saved.value("PlanFilterCheck"), QString("1"));
            QCOMPARE(saved.value("PlanFilter"), QString("3"));
        }
        YmWorkshopManage next;
        next.initDatas({rows, saved.value("PlanFilterCheck").toInt(),
                        saved.value("PlanCheckOrder").toInt(), saved.value("PlanFilter").toInt()},
                       macs(), {}, "08:00:00", "20:00:00", 600);
        YmTableViewPlanPage *page = topLevels<YmTableViewPlanPage>().value(0);
        QVERIFY(page);
        QCOMPARE(page->columnsInUse(),
                 (YmTablePlanModel::ColumnOrder{YmTablePlanModel::MachineCriterion,
                                                YmTablePlanModel::PlanCriterion}));
        QVERIFY(child<QCheckBox>(*page, "checkBox_fuzzyMatch")->isChecked());
        QCOMPARE(child<QComboBox>(*page, "comboBox_filterType")->currentText(), QString("设备"));
        QCOMPARE(shownColumn(*page, 0), (QStringList{"M1", "M1", "M2"}));
    }
};

QTEST_MAIN(TstPlanPage)
#include "tst_planpage.moc"
