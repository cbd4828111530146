#include "ymharness.h"
#include "ymitempixmaptext.h"
#include "ymmetatypes.h"
#include "ympayload.h"
#include "ymtableheaderview.h"
#include "ymtablemodel.h"
#include "ymtableviewdelegate.h"
#include "ymtableviewwidget.h"
#include "ymworkshopplantable.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using Machines = QVector<YmOrderModel::MachineCounts>;
Q_DECLARE_METATYPE(YmOrderModel::MachineCounts)

namespace {

QString operator""_s(const char *s, size_t n)
{
    return QString::fromUtf8(s, int(n));
}

} // namespace

class TstStatsTable : public QObject
{
    Q_OBJECT

    // "key name planned completed; ..." -> machine counts (name "-" is empty).
    static Machines counts(const QString &spec)
    {
        Machines machines;
        for (const QString &m : spec.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QStringList f = m.simplified().split(QLatin1Char(' '));
            const QString name = f.value(1) == "-"_s ? QString() : f.value(1);
            machines.append({f.value(0), name, f.value(2).toLongLong(), f.value(3).toLongLong()});
        }
        return machines;
    }
    static YmOrderModel::MachineCounts hundred(const QString &key, int completed)
    {
        return {key, QString(), 100, completed};
    }
    // The statistics of order rows, as the board computes them.
    static Machines fromRows(const QVariantList &rows)
    {
        YmOrderModel model;
        model.setRows(YmPayload::orderRecords(rows));
        return model.machineCounts();
    }
    static QVariant orderRow(const QString &macKey, const QString &macName, const QString &file,
                             int planned, int completed)
    {
        QVariantList row{QStringLiteral("P"), 0, macKey, macName, QString(), file};
        return row << planned << completed << 0 << QVariant::fromValue(YmPieceMap());
    }
    // A day of machines m00, m01, ... each planned 100, machine i having
    // completed first + i.
    static Machines day(int machines, int first)
    {
        QVariantList rows;
        for (int i = 0; i < machines; ++i)
            rows << orderRow("m%1"_s.arg(i, 2, 10, QLatin1Char('0')), "M%1"_s.arg(i), "f"_s, 100,
                             first + i);
        return fromRows(rows);
    }
    // The model's rows as machine counts: what a fresh full load must rank the same.
    static Machines rowsOf(const YmTableModel &model)
    {
        Machines machines;
        for (int r = 0; r < model.rowCount(); ++r)
            machines.append({model.rowKey(r), model.index(r, 0).data().toString(),
                             model.rowCounts(r).first, model.rowCounts(r).second});
        return machines;
    }
    // Every row as "name planned completed rate", rows joined by '|'.
    static QString rowsText(const QAbstractItemModel &model)
    {
        QStringList rows;
        for (int r = 0; r < model.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model.columnCount(); ++c)
                cells << model.index(r, c).data().toString();
            rows << cells.join(QLatin1Char(' '));
        }
        return rows.join(QLatin1Char('|'));
    }
    static QString keysText(const YmTableModel &model)
    {
        QStringList keys;
        for (int r = 0; r < model.rowCount(); ++r)
            keys << model.index(r, 0).data(Qt::DecorationRole).toString();
        return keys.join(QLatin1Char(' '));
    }
    static QString captions(const YmWorkshopPlanTable &panel)
    {
        QStringList texts;
        for (int rank = 0; rank < 3; ++rank)
            texts << panel.medal(rank)->text();
        return texts.join(QLatin1Char('|'));
    }

private slots:
    void initTestCase() { YmHarness::start(); }

    void ranking_data()
    {
        QTest::addColumn<Machines>("machines");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("keys");

        // Equal rates stand in key order, whatever their names.
        QTest::newRow("ties by key") << counts("m2 a 2 1; m1 z 4 2; m0 q 100 60"_s)
                                     << "z 4 2 50.00%|a 2 1 50.00%|q 100 60 60.00%"_s
                                     << "m1 m2 m0"_s;
        QTest::newRow("planned 0 ranks at 0")
            << counts("a A 0 7; b B 100 1; c C 0 0"_s) << "A 0 7 0.00%|C 0 0 0.00%|B 100 1 1.00%"_s
            << "a c b"_s;
        QTest::newRow("above 100 percent")
            << counts("x X 100 150; y Y 100 149; z Z 2 3; w W 100 100"_s)
            << "W 100 100 100.00%|Y 100 149 149.00%|X 100 150 150.00%|Z 2 3 150.00%"_s
            << "w y x z"_s;
        QTest::newRow("two decimals")
            << counts("k K 30 5; t T 3 2"_s) << "K 30 5 16.67%|T 3 2 66.67%"_s
            << "k t"_s;
        // Sums beyond an int stand at its bounds; the rate still comes from the sums.
        QTest::newRow("huge sums") << counts("h H 4294967296 2147483648; s - 0 0"_s)
                                   << " 0 0 0.00%|H 2147483647 2147483647 50.00%"_s
                                   << "s h"_s;
        // The full load from order rows: a machine's counts are the sums over
        // all its rows, whatever their files; its name is its first row's. Bad
        // payloads read as empty and 0, numeric strings convert, and a value
        // that is no row belongs to no machine.
        QTest::newRow("rows: empty") << fromRows({}) << ""_s
                                     << ""_s;
        QTest::newRow("rows: same file twice") << fromRows(
            {orderRow("m1"_s, "M1"_s, "f"_s, 10, 3), orderRow("m1"_s, "other"_s, "f"_s, 5, 4)})
                                               << "M1 15 7 46.67%"_s
                                               << "m1"_s;
        QTest::newRow("rows: two machines") << fromRows({orderRow("m2"_s, "M2"_s, "f"_s, 10, 9),
                                                         orderRow("m1"_s, "M1"_s, "f"_s, 4, 1),
                                                         orderRow("m2"_s, "M2"_s, "g"_s, 10, 9)})
                                            << "M1 4 1 25.00%|M2 20 18 90.00%"_s
                                            << "m1 m2"_s;
        QTest::newRow("rows: strings for numbers") << fromRows(
            {QVariant(QVariantList{"P"_s, 0, "m1"_s, "M1"_s, ""_s, "f"_s, "12"_s, "x"_s, 0})})
                                                   << "M1 12 0 0.00%"_s
                                                   << "m1"_s;
        QTest::newRow("rows: short rows")
            << fromRows({QVariant(QVariantList{"P"_s, 0, "m1"_s}),
                         QVariant(QVariantList{"P"_s, 0, "m2"_s, "M2"_s, ""_s, "f"_s, 8})})
            << " 0 0 0.00%|M2 8 0 0.00%"_s
            << "m1 m2"_s;
        QTest::newRow("rows: not a list") << fromRows({QVariant(5)}) << ""_s
                                          << ""_s;
    }
    void ranking()
    {
        QFETCH(Machines, machines);
        QFETCH(QString, expected);
        QFETCH(QString, keys);
        YmTableModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setHeaderLabels();
        model.setMachineCounts(machines);
        QCOMPARE(rowsText(model), expected);
        QCOMPARE(keysText(model), keys);
    }

    // Every update moves only the changed machine, as one row, to the place a
    // full ranking gives it; hand-worked from rates a10 b20 c30 d40 e50.
    void reranking_data()
    {
        QTest::addColumn<QStringList>("updates"); // "key completed"_s per update
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("moves");

        QTest::newRow("none") << QStringList() << "a b c d e"_s << 0;
        QTest::newRow("up two") << QStringList{"c 45"_s} << "a b d c e"_s << 1;
        QTest::newRow("to the front") << QStringList{"e 0"_s} << "e a b c d"_s << 1;
        QTest::newRow("same rate, stays") << QStringList{"b 20"_s} << "a b c d e"_s << 0;
        QTest::newRow("into a tie, key order")
            << QStringList{"e 20"_s, "a 20"_s} << "a b e c d"_s << 1;
        QTest::newRow("tie behind smaller key") << QStringList{"a 40"_s} << "b c a d e"_s << 1;
        QTest::newRow("neighbour swap") << QStringList{"b 31"_s} << "a c b d e"_s << 1;
        QTest::newRow("unknown machine") << QStringList{"x 99"_s} << "a b c d e"_s << 0;
    }
    void reranking()
    {
        QFETCH(QStringList, updates);
        QFETCH(QString, keys);
        QFETCH(int, moves);
        YmTableModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setHeaderLabels();
        model.setMachineCounts(
            counts("a A 100 10; b B 100 20; c C 100 30; d D 100 40; e E 100 50"_s));

        QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        for (const QString &update : updates) {
            const QStringList parts = update.split(QLatin1Char(' '));
            model.updateMachineCounts(hundred(parts.at(0), parts.at(1).toInt()));
        }
        QCOMPARE(keysText(model), keys);
        QCOMPARE(moved.count(), moves);
        QCOMPARE(reset.count(), 0);

        // The rows equal a full ranking of the same machines.
        YmTableModel fresh;
        fresh.setHeaderLabels();
        fresh.setMachineCounts(rowsOf(model));
        QCOMPARE(rowsText(model), rowsText(fresh));
    }

    // A reload tells the view about every row it changed: rows that stay
    // change their data, the others come or go. And a table reloaded while
    // hidden looks and scrolls, once shown again, as one reloaded on screen.
    void reload_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("same machines") << 5 << 5;
        QTest::newRow("more rows than fit") << 2 << 40;
        QTest::newRow("fewer") << 40 << 3;
        QTest::newRow("to none") << 2 << 0;
    }
    void reload()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        YmTableModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setHeaderLabels();
        model.setMachineCounts(day(before, 1));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        model.setMachineCounts(day(after, 2));
        const int kept = qMin(before, after);
        QCOMPARE(changed.count(), kept > 0 ? 1 : 0);
        if (kept > 0) {
            QCOMPARE(qvariant_cast<QModelIndex>(changed.first().at(0)).row(), 0);
            QCOMPARE(qvariant_cast<QModelIndex>(changed.first().at(1)).row(), kept - 1);
        }
        QCOMPARE(inserted.count(), after > before ? 1 : 0);
        QCOMPARE(removed.count(), after < before ? 1 : 0);
        QCOMPARE(model.rowCount(), after);

        YmTableViewWidget hidden;
        YmTableViewWidget shown;
        for (YmTableViewWidget *w : {&hidden, &shown}) {
            w->resize(360, 240);
            w->setMachineCounts(day(before, 1));
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
        }
        hidden.hide();
        hidden.setMachineCounts(day(after, 2));
        shown.setMachineCounts(day(after, 2));
        hidden.show();
        QVERIFY(QTest::qWaitForWindowExposed(&hidden));
        QCOMPARE(hidden.tableView()->verticalScrollBar()->maximum(),
                 shown.tableView()->verticalScrollBar()->maximum());
        QCOMPARE(hidden.tableView()->rowViewportPosition(after - 1),
                 shown.tableView()->rowViewportPosition(after - 1));
        QCOMPARE(hidden.grab().toImage(), shown.grab().toImage());
    }

    void topThree()
    {
        YmTableModel model;
        model.setHeaderLabels();
        QVERIFY(!model.updateTopThree());
        model.setMachineCounts(counts("a A 100 10; b B 100 20"_s));
        QVERIFY(model.updateTopThree());
        QVERIFY(!model.updateTopThree());

        model.setMachineCounts(counts("a A 100 10; b B 100 20; c C 100 30; d D 100 40"_s));
        QVERIFY(model.updateTopThree()); // a third row appeared
        model.updateMachineCounts(hundred("d"_s, 90));
        QVERIFY(!model.updateTopThree()); // only the fourth changed
        model.updateMachineCounts(hundred("b"_s, 25));
        QVERIFY(model.updateTopThree()); // same order, new count
        model.updateMacName(QStringLiteral("c"), QStringLiteral("C2"));
        QVERIFY(model.updateTopThree());
        model.updateMachineCounts(hundred("a"_s, 10));
        QVERIFY(!model.updateTopThree());

        // Shrinking to one machine compares only the first rank.
        model.setMachineCounts(counts("a A 100 10"_s));
        QVERIFY(!model.updateTopThree());
    }

    void medals()
    {
        YmWorkshopPlanTable panel;
        QCOMPARE(captions(panel), QStringLiteral("||"));
        // Second, first, third from left to right.
        panel.resize(600, 600);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QVERIFY(panel.medal(1)->x() < panel.medal(0)->x());
        QVERIFY(panel.medal(0)->x() < panel.medal(2)->x());

        panel.setTableData(counts("m1 M1 100 60; m2 M2 100 30"_s));
        QCOMPARE(captions(panel), QStringLiteral("M2\n30|M1\n60|"));

        panel.setTableData(counts("m1 M1 100 60; m2 M2 100 30; m3 M3 100 90"_s));
        QCOMPARE(captions(panel), QStringLiteral("M2\n30|M1\n60|M3\n90"));

        // m2 overtakes m1 and m3: the podium follows the ranking.
        panel.updateTableMachine(hundred("m2"_s, 95));
        QCOMPARE(captions(panel), QStringLiteral("M1\n60|M3\n90|M2\n95"));
        panel.updateTableName(QStringLiteral("m3"), QStringLiteral("三号"));
        QCOMPARE(captions(panel), QStringLiteral("M1\n60|三号\n90|M2\n95"));

        // Two machines left: the third medal keeps its caption.
        panel.setTableData(counts("m4 M4 100 10; m5 M5 100 20"_s));
        QCOMPARE(captions(panel), QStringLiteral("M4\n10|M5\n20|M2\n95"));

        // A nameless machine in first place never gets a caption.
        panel.setTableData(counts("m6 - 100 5; m5 M5 100 20"_s));
        QCOMPARE(captions(panel), QStringLiteral("M4\n10|M5\n20|M2\n95"));
    }

    // A viewer's selection stays on its machine and the view does not scroll
    // when machines change rank.
    void selectionAndScrollStable()
    {
        YmTableViewWidget widget;
        Machines machines;
        for (int m = 0; m < 40; ++m)
            machines.append({QStringLiteral("m%1").arg(m, 2, 10, QLatin1Char('0')),
                             QStringLiteral("M%1").arg(m), 100, m});
        widget.setMachineCounts(machines);
        widget.resize(400, 300);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTableView *view = widget.tableView();
        QVERIFY(!view->verticalScrollBar()->isVisible());
        QVERIFY(view->verticalScrollBar()->maximum() > 10);
        view->selectRow(20); // m20
        view->verticalScrollBar()->setValue(10);

        widget.updateMachineCounts(hundred("m20"_s, 99));
        widget.updateMachineCounts(hundred("m05"_s, 50));
        QCoreApplication::processEvents();
        const QModelIndexList selected = view->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().row(), 39);
        QCOMPARE(selected.first().data().toString(), QStringLiteral("M20"));
        QCOMPARE(view->verticalScrollBar()->value(), 10);
    }

    // Header tiles in dark blue with a 5-pixel dark strip on each side.
    void headerTiles()
    {
        YmTableViewWidget widget;
        widget.resize(440, 200);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QHeaderView *header = widget.tableView()->horizontalHeader();
        const QImage img = header->grab().toImage();
        const QColor tile(11, 70, 130), gap(2, 20, 100);
        const int y = 3; // above the text
        for (int section = 0; section < 4; ++section) {
            const int left = header->sectionViewportPosition(section);
            const int right = left + header->sectionSize(section) - 1;
            QCOMPARE(img.pixelColor(left, y), gap);
            QCOMPARE(img.pixelColor(left + 4, y), gap);
            QCOMPARE(img.pixelColor(left + 5, y), tile);
            QCOMPARE(img.pixelColor(right - 5, y), tile);
            QCOMPARE(img.pixelColor(right - 4, y), gap);
            QCOMPARE(img.pixelColor(right, img.height() - 1), gap);
        }
    }

    // The current cell paints exactly like any other: no focus frame.
    void noFocusFrame()
    {
        YmTableModel model;
        model.setHeaderLabels();
        model.setMachineCounts(counts("a A 100 10"_s));
        const auto paint = [&](const QStyledItemDelegate &delegate, QStyle::State state) {
            QImage img(120, 30, QImage::Format_ARGB32);
            img.fill(Qt::black);
            QPainter p(&img);
            QStyleOptionViewItem option;
            option.rect = img.rect();
            option.state = QStyle::State_Enabled | state;
            delegate.paint(&p, option, model.index(0, 1));
            return img;
        };
        const QStyle::State focus = QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        QVERIFY(paint(QStyledItemDelegate(), {}) != paint(QStyledItemDelegate(), focus));
        QCOMPARE(paint(YmTableViewDelegate(), focus), paint(YmTableViewDelegate(), {}));
    }
};

QTEST_MAIN(TstStatsTable)
#include "tst_statstable.moc"
