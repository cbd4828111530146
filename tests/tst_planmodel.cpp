// The plan table model and its proxy: grouping in the user's column order,
// sorting in place, plain-text filtering, and the warning tooltip.
// The tables below are written with plain literals.
#undef QT_NO_CAST_FROM_ASCII

#include "ympayload.h"
#include "ymtableplanmodel.h"
#include "ymtablesortproxymodel.h"
#include "ymtabletooltipwidget.h"
#include "ymtestsupport.h"

#include <QAbstractItemModelTester>
#include <QPainter>
#include <QtTest>

namespace {

// P1/M1/F1 100 50, P2/M1/F2 200 0, P1/M2/F1 100 100, P2/M2/F1 0 30
QVector<YmOrderRecord> fourRows()
{
    return records({orderRow("P1", "k1", "F1", 100, 50), orderRow("P2", "k1", "F2", 200, 0),
                    orderRow("P1", "k2", "F1", 100, 100), orderRow("P2", "k2", "F1", 0, 30)});
}

// "ABC" -> plan, file, machine in that order.
YmTablePlanModel::ColumnOrder criteria(const QString &codes)
{
    YmTablePlanModel::ColumnOrder result;
    for (const QChar c : codes)
        result << YmTablePlanModel::Criterion(c.unicode() - 'A');
    return result;
}

// Every displayed row as "cell|cell|...", plus "#key" when a hidden key
// follows.
QString tableText(const QAbstractItemModel &model, const YmTablePlanModel *plan = nullptr)
{
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.index(r, c).data().toString();
        QString text = cells.join(QLatin1Char('|'));
        if (plan && !plan->rows().at(r).macKey.isEmpty())
            text += QLatin1Char('#') + plan->rows().at(r).macKey;
        rows << text;
    }
    return rows.join(QLatin1Char(' '));
}

// The plan model grouped by `codes` behind the proxy, both under a model tester.
struct Tables
{
    explicit Tables(const QString &codes)
    {
        proxy.setSourceModel(&model);
        model.setColumnOrder(criteria(codes));
        model.refresh();
    }
    YmTablePlanModel model;
    YmTableSortProxyModel proxy;
    QAbstractItemModelTester modelTester{&model,
                                         QAbstractItemModelTester::FailureReportingMode::QtTest};
    QAbstractItemModelTester proxyTester{&proxy,
                                         QAbstractItemModelTester::FailureReportingMode::QtTest};
};

} // namespace

class TstPlanModel : public QObject
{
    Q_OBJECT

private slots:
    void grouping_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("expected");
        // name;order;rows, each row's cells and "#key" where a hidden machine key follows
        const QStringList table{
            "plan;A;P1|200|150|75.00% P2|200|30|15.00%",
            "file;B;F1|200|180|90.00% F2|200|0|0.00%",
            "machine keeps its key;C;M1|300|50|16.67%#k1 M2|100|130|130.00%#k2",
            "plan, file;AB;P1|F1|200|150|75.00%#k1 P2|F2|200|0|0.00%#k1 P2|F1|0|30|0.00%#k2",
            "machine, plan;CA;M1|P1|100|50|50.00%#k1 M1|P2|200|0|0.00%#k1 M2|P1|100|100|100.00%#k2 "
            "M2|P2|0|30|0.00%#k2",
            "machine, file;CB;M1|F1|100|50|50.00%#k1 M1|F2|200|0|0.00%#k1 M2|F1|100|130|130.00%#k2",
            "file, machine, plan: one row each;BCA;F1|M1|P1|100|50|50.00%#k1 "
            "F2|M1|P2|200|0|0.00%#k1 "
            "F1|M2|P1|100|100|100.00%#k2 F1|M2|P2|0|30|0.00%#k2",
            "third column is the remaining criterion;ACA;P1|M1|F1|100|50|50.00%#k1 "
            "P2|M1|F2|200|0|0.00%#k1 P1|M2|F1|100|100|100.00%#k2 P2|M2|F1|0|30|0.00%#k2",
            "four titles;ABCA;",
            "repeated title;AA;",
            "none;;"};
        for (const QString &row : table)
            QTest::newRow(qPrintable(row.section(';', 0, 0)))
                << row.section(';', 1, 1) << row.section(';', 2);
    }
    void grouping()
    {
        QFETCH(QString, order);
        QFETCH(QString, expected);
        Tables t(order);
        YmTablePlanModel &model = t.model;
        model.setPlanList(fourRows());
        QCOMPARE(tableText(model, &model), expected);
        // The quantity headers stay even when no grouping results.
        QCOMPARE(model.columnCount(), (expected.isEmpty() ? 0 : order.size()) + 3);
        QCOMPARE(model.headerData(model.columnCount() - 1, Qt::Horizontal).toString(),
                 QStringLiteral("完成率"));
    }

    void headersAndRoles()
    {
        YmTablePlanModel model;
        // New titles come with a reset, which makes a view read them again.
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        model.setColumnOrder(criteria(QStringLiteral("CA")));
        QCOMPARE(model.columnCount(), 0); // no rebuild before refresh
        model.refresh();
        QCOMPARE(resets.count(), 1);
        QStringList labels;
        for (int c = 0; c < model.columnCount(); ++c)
            labels << model.headerData(c, Qt::Horizontal).toString();
        QCOMPARE(labels.join(QLatin1Char(',')),
                 QStringLiteral("设备,订单计划,订单数,完成量,完成率"));
        QVERIFY(!model.headerData(5, Qt::Horizontal).isValid());
        QCOMPARE(model.headerData(6, Qt::Vertical).toString(), QStringLiteral("7"));
    }

    void sorting_data()
    {
        QTest::addColumn<int>("sortColumn");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("expected"); // column 0 after the sort
        // plans b/300/0, B/5/5, a/40/40, 10/20/5, 9/100/100
        QTest::newRow("text ascending, code unit order")
            << 0 << int(Qt::AscendingOrder) << QStringList{"10", "9", "B", "a", "b"};
        QTest::newRow("text descending")
            << 0 << int(Qt::DescendingOrder) << QStringList{"b", "a", "B", "9", "10"};
        QTest::newRow("planned as numbers")
            << 1 << int(Qt::AscendingOrder) << QStringList{"B", "10", "a", "9", "b"};
        QTest::newRow("rate descending")
            << 3 << int(Qt::DescendingOrder) << QStringList{"B", "a", "9", "10", "b"};
        QTest::newRow("column out of range")
            << 4 << int(Qt::AscendingOrder) << QStringList{"b", "B", "a", "10", "9"};
    }
    void sorting()
    {
        QFETCH(int, sortColumn);
        QFETCH(int, order);
        QFETCH(QStringList, expected);
        Tables t(QStringLiteral("A"));
        YmTablePlanModel &model = t.model;
        YmTableSortProxyModel &proxy = t.proxy;
        model.setPlanList(records({orderRow("b", "k", "F", 300, 0), orderRow("B", "k", "F", 5, 5),
                                   orderRow("a", "k", "F", 40, 40), orderRow("10", "k", "F", 20, 5),
                                   orderRow("9", "k", "F", 100, 90)}));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        // Through the proxy, as a header click reaches it.
        proxy.sort(sortColumn, Qt::SortOrder(order));
        QCOMPARE(columnText(model, 0), expected);
        QCOMPARE(columnText(proxy, 0), expected);
        QCOMPARE(reset.count(), 0);
        const bool sorts = sortColumn >= 0 && sortColumn < 4;
        QCOMPARE(changed.count(), sorts ? 1 : 0);
        if (sorts) {
            QCOMPARE(changed.at(0).at(0).value<QModelIndex>(), model.index(0, 0));
            QCOMPARE(changed.at(0).at(1).value<QModelIndex>(), model.index(4, 3));
        }
        // A rebuild brings back the order of first appearance.
        model.refresh();
        QCOMPARE(columnText(model, 0), (QStringList{"b", "B", "a", "10", "9"}));
    }

    // The board's rows after a report: only the listed rows are taken; a window
    // nobody looks at regroups when asked, a shown one at once.
    void updateRows_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::newRow("shown") << true;
        QTest::newRow("hidden") << false;
    }
    void updateRows()
    {
        QFETCH(bool, shown);
        Tables t(QStringLiteral("CA"));
        YmTablePlanModel &model = t.model;
        model.setPlanList(fourRows());
        const QString before = tableText(model);
        QVector<YmOrderRecord> board = fourRows();
        board[2].completed = 70;
        board[0].completed = 99; // changed, but not listed
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.updateRows(board, {2}, shown);
        QCOMPARE(model.isStale(), !shown);
        QString expected = before;
        if (shown)
            expected.replace("M2|P1|100|100|100.00%", "M2|P1|100|70|70.00%");
        QCOMPARE(tableText(model), expected);
        model.rebuildIfStale();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(tableText(t.proxy),
                 "M1|P1|100|50|50.00% M1|P2|200|0|0.00% M2|P1|100|70|70.00% M2|P2|0|30|0.00%");
        // A board list of another length replaces the plans whole.
        model.updateRows(records({orderRow("P9", "k1", "F1", 10, 1)}), {0}, true);
        QCOMPARE(tableText(model), "M1|P9|10|1|10.00%");
    }

    void emptyAndMalformedPlans()
    {
        Tables t(QStringLiteral("AB"));
        YmTablePlanModel &model = t.model;
        model.setPlanList(fourRows());
        model.setPlanList({});
        QCOMPARE(model.rowCount(), 0);
        model.setPlanList(records({QVariant(7), QVariant(QVariantList{QStringLiteral("P")})}));
        // A value that is no order row reads as empty texts and zeros.
        QCOMPARE(tableText(model), QStringLiteral("||0|0|0.00% P||0|0|0.00%"));
    }

    void rowIdentity()
    {
        YmTablePlanModel model;
        model.setColumnOrder(criteria(QStringLiteral("BCA")));
        model.refresh();
        QVector<YmOrderRecord> rows = fourRows();
        rows << rows.at(2); // a second F1/M2/P1 row
        model.setPlanList(rows);
        QCOMPARE(model.rowKey(4), (QStringList{"F1", "M2", "P1"}));
        QCOMPARE(model.keyOccurrence(4), 1);
        QCOMPARE(model.findRow({"F1", "M2", "P1"}, 1), 4);
        QCOMPARE(model.findRow({"F1", "M2", "P1"}), 2);
        QCOMPARE(model.findRow({"F1", "M2", "P1"}, 2), -1);
        QCOMPARE(model.findRow({"F1", "M2"}), -1);
    }

    void filter_data()
    {
        QTest::addColumn<int>("filterColumn");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("syntax");
        QTest::addColumn<QStringList>("accepted");
        const int fixed = QRegExp::FixedString;
        const int regexp = QRegExp::RegExp;
        QTest::newRow("fixed string equals") << 0 << "A01" << fixed << QStringList{"A01"};
        QTest::newRow("fuzzy contains")
            << 0 << "A0" << regexp << QStringList{"A01", "A01-2", "XA0"};
        QTest::newRow("fuzzy is no regular expression") << 0 << "A.1" << regexp << QStringList{};
        QTest::newRow("fuzzy is case-sensitive") << 0 << "a0" << regexp << QStringList{"a01"};
        QTest::newRow("wildcard is plain text too")
            << 0 << "A*" << int(QRegExp::Wildcard) << QStringList{};
        QTest::newRow("empty pattern, no column")
            << -1 << "" << fixed << QStringList{"A01", "a01", "A01-2", "XA0", "B"};
        QTest::newRow("pattern, no column") << -1 << "A01" << regexp << QStringList{};
        QTest::newRow("numeric column") << 1 << "40" << fixed << QStringList{"a01"};
        QTest::newRow("rate column with its percent sign")
            << 3 << "50.00%" << fixed << QStringList{"A01-2"};
    }
    void filter()
    {
        QFETCH(int, filterColumn);
        QFETCH(QString, pattern);
        QFETCH(int, syntax);
        QFETCH(QStringList, accepted);
        YmTablePlanModel model;
        YmTableSortProxyModel proxy;
        proxy.setSourceModel(&model);
        QCOMPARE(proxy.filterColumn(), -1);
        model.setColumnOrder(criteria(QStringLiteral("A")));
        model.refresh();
        model.setPlanList(records({orderRow("A01", "k", "F", 10), orderRow("a01", "k", "F", 40),
                                   orderRow("A01-2", "k", "F", 10, 5),
                                   orderRow("XA0", "k", "F", 10), orderRow("B", "k", "F", 10)}));
        proxy.setFilter(filterColumn,
                        QRegExp(pattern, Qt::CaseInsensitive, QRegExp::PatternSyntax(syntax)));
        QCOMPARE(proxy.filterColumn(), filterColumn);
        // Exactly the accepted rows, numbered from 1.
        QCOMPARE(columnText(proxy, 0), accepted);
        if (!accepted.isEmpty())
            QCOMPARE(proxy.headerData(accepted.size() - 1, Qt::Vertical).toString(),
                     QString::number(accepted.size()));
        QCOMPARE(proxy.columnCount(), 4);
    }

    void tooltip()
    {
        YmTableTooltipWidget tip(QStringLiteral("至少选择一项作为查询依据!"));
        QCOMPARE(tip.size(), QSize(200, 50));

        QImage image(200, 50, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        tip.draw(&painter, QRect(0, 0, 200, 50));
        painter.end();
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::lightGray));
        QCOMPARE(image.pixelColor(198, 48), QColor(Qt::lightGray));
        int ink = 0; // the dark text
        for (int x = 0; x < 200; ++x)
            ink += qGray(image.pixel(x, 25)) < 100;
        QVERIFY(ink > 5);
    }
};

QTEST_MAIN(TstPlanModel)
#include "tst_planmodel.moc"
