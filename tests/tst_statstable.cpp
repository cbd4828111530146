#include "ymitempixmaptext.h"
#include "ymmetatypes.h"
#include "ymresources.h"
#include "ymtableheaderview.h"
#include "ymtablemodel.h"
#include "ymtableviewdelegate.h"
#include "ymtableviewwidget.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopplantable.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

using Machines = QMap<QString, QVariantList>;

namespace {

QString operator""_s(const char *s, size_t n)
{
    return QString::fromUtf8(s, int(n));
}

} // namespace

class TstStatsTable : public QObject
{
    Q_OBJECT

    // {name, {file -> (planned, completed)}}
    static QVariantList record(const QString &name, const YmMachineCountMap &files)
    {
        return {name, QVariant::fromValue(files)};
    }
    // One machine with a single file "f" of 100 planned pieces.
    static QVariantList hundred(const QString &name, int completed)
    {
        return record(name, {{QStringLiteral("f"), {100, completed}}});
    }
    static QVariant orderRow(const QString &macKey, const QString &macName, const QString &file,
                             int planned, int completed)
    {
        QVariantList row{QStringLiteral("P"), 0, macKey, macName, QString(), file};
        return row << planned << completed << 0 << QVariant::fromValue(YmPieceMap());
    }
    static QVariant entry(const QString &file, const QVariant &completed)
    {
        return QVariantList{file, QVariant::fromValue(YmPieceMap()), completed};
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
    void initTestCase()
    {
        ymRegisterMetaTypes();
        ymRegisterResources();
    }

    void ranking_data()
    {
        QTest::addColumn<Machines>("machines");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("keys");

        // Equal rates stand in key order, whatever their names.
        QTest::newRow("ties by key") << Machines{{"m2"_s, record("a"_s, {{"f"_s, {2, 1}}})},
                                                 {"m1"_s, record("z"_s, {{"f"_s, {4, 2}}})},
                                                 {"m0"_s, hundred("q"_s, 60)}}
                                     << "z 4 2 50.00%|a 2 1 50.00%|q 100 60 60.00%"_s
                                     << "m1 m2 m0"_s;
        QTest::newRow("planned 0 ranks at 0") << Machines{{"a"_s, record("A"_s, {{"f"_s, {0, 7}}})},
                                                          {"b"_s, hundred("B"_s, 1)},
                                                          {"c"_s, record("C"_s, {})}}
                                              << "A 0 7 0.00%|C 0 0 0.00%|B 100 1 1.00%"_s
                                              << "a c b"_s;
        QTest::newRow("above 100 percent")
            << Machines{{"x"_s, hundred("X"_s, 150)},
                        {"y"_s, hundred("Y"_s, 149)},
                        {"z"_s, record("Z"_s, {{"f"_s, {2, 3}}})},
                        {"w"_s, hundred("W"_s, 100)}}
            << "W 100 100 100.00%|Y 100 149 149.00%|X 100 150 150.00%|Z 2 3 150.00%"_s
            << "w y x z"_s;
        QTest::newRow("files summed, two decimals")
            << Machines{{"k"_s, record("K"_s, {{"f1"_s, {10, 5}}, {"f2"_s, {20, 0}}})},
                        {"t"_s, record("T"_s, {{"f"_s, {3, 2}}})}}
            << "K 30 5 16.67%|T 3 2 66.67%"_s
            << "k t"_s;
        // A file map of another type counts as empty; a record without one too.
        QTest::newRow("unreadable file maps")
            << Machines{{"s"_s, {QStringLiteral("S"), QStringLiteral("10")}},
                        {"o"_s, {QStringLiteral("O")}},
                        {"n"_s, {}}}
            << " 0 0 0.00%|O 0 0 0.00%|S 0 0 0.00%"_s
            << "n o s"_s;
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
        model.setMachineData(machines);
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
        Machines machines;
        for (const char *key : {"a", "b", "c", "d", "e"})
            machines.insert(QString::fromLatin1(key),
                            hundred(QString::fromLatin1(key).toUpper(), 10 * (key[0] - 'a' + 1)));
        model.setMachineData(machines);

        QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        for (const QString &update : updates) {
            const QStringList parts = update.split(QLatin1Char(' '));
            model.updateMacProcess(parts.at(0), {entry(QStringLiteral("f"), parts.at(1).toInt())});
        }
        QCOMPARE(keysText(model), keys);
        QCOMPARE(moved.count(), moves);
        QCOMPARE(reset.count(), 0);

        // The rows equal a full ranking of the same machines.
        YmTableModel fresh;
        fresh.setHeaderLabels();
        fresh.setMachineData(model.machines());
        QCOMPARE(rowsText(model), rowsText(fresh));
    }

    // Process entries replace the completed quantity of known files only; bad
    // entries read as empty file and 0.
    void processEntries_data()
    {
        QTest::addColumn<QVariantList>("items");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("changes"); // dataChanged signals: the row repaints

        const auto f1 = QStringLiteral("f1");
        QTest::newRow("known file") << QVariantList{entry(f1, 7)} << "K 30 7 23.33%" << 1;
        QTest::newRow("unknown file skipped")
            << QVariantList{entry(QStringLiteral("zz"), 9)} << "K 30 5 16.67%" << 0;
        QTest::newRow("string quantity")
            << QVariantList{entry(f1, QStringLiteral("12"))} << "K 30 12 40.00%" << 1;
        QTest::newRow("unparsable quantity")
            << QVariantList{entry(f1, QStringLiteral("lots"))} << "K 30 0 0.00%" << 1;
        QTest::newRow("short entry")
            << QVariantList{QVariant(QVariantList{f1})} << "K 30 0 0.00%" << 1;
        QTest::newRow("not a list")
            << QVariantList{QVariant(42), QVariant()} << "K 30 5 16.67%" << 0;
    }
    void processEntries()
    {
        QFETCH(QVariantList, items);
        QFETCH(QString, expected);
        QFETCH(int, changes);
        YmTableModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setHeaderLabels();
        model.setMachineData({{"k"_s, record("K"_s, {{"f1"_s, {10, 5}}, {"f2"_s, {20, 0}}})},
                              {"z"_s, hundred("Z"_s, 100)}});
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.updateMacProcess(QStringLiteral("k"), items);
        QCOMPARE(rowsText(model), expected + "|Z 100 100 100.00%"_s);
        QCOMPARE(changed.count(), changes);
        if (changes)
            QCOMPARE(changed.first().at(0).toModelIndex(), model.index(0, 0));
    }

    // The full load from order rows: planned summed per file, a machine's name
    // and a file's completed quantity from their first row.
    void fullLoad_data()
    {
        QTest::addColumn<QVariantList>("rows");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty") << QVariantList() << ""_s;
        QTest::newRow("same file twice") << QVariantList{orderRow("m1"_s, "M1"_s, "f"_s, 10, 3),
                                                         orderRow("m1"_s, "other"_s, "f"_s, 5, 4)}
                                         << "M1 15 3 20.00%"_s;
        QTest::newRow("two machines") << QVariantList{orderRow("m2"_s, "M2"_s, "f"_s, 10, 9),
                                                      orderRow("m1"_s, "M1"_s, "f"_s, 4, 1),
                                                      orderRow("m2"_s, "M2"_s, "g"_s, 10, 9)}
                                      << "M1 4 1 25.00%|M2 20 9 45.00%"_s;
        // Bad payloads read as empty and 0; numeric strings convert.
        QTest::newRow("strings for numbers") << QVariantList{QVariant(
            QVariantList{"P"_s, 0, "m1"_s, "M1"_s, ""_s, "f"_s, "12"_s, "x"_s, 0})}
                                             << "M1 12 0 0.00%"_s;
        QTest::newRow("short rows")
            << QVariantList{QVariant(QVariantList{"P"_s, 0, "m1"_s}),
                            QVariant(QVariantList{"P"_s, 0, "m2"_s, "M2"_s, ""_s, "f"_s, 8})}
            << " 0 0 0.00%|M2 8 0 0.00%"_s;
        QTest::newRow("not a list") << QVariantList{QVariant(5)} << " 0 0 0.00%"_s;
    }
    void fullLoad()
    {
        QFETCH(QVariantList, rows);
        QFETCH(QString, expected);
        YmTableViewWidget widget;
        QAbstractItemModelTester tester(widget.tableView()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        widget.setOrderRows(rows);
        QCOMPARE(rowsText(widget.model()), expected);
    }

    // The second file's completed quantity arrives with the machine's process.
    void loadThenProcess()
    {
        YmTableViewWidget widget;
        widget.setOrderRows(
            {orderRow("m1"_s, "M1"_s, "f"_s, 10, 3), orderRow("m1"_s, "M1"_s, "g"_s, 30, 9)});
        widget.updateMacProcess(QStringLiteral("m1"), {entry(QStringLiteral("g"), 9)});
        QCOMPARE(rowsText(widget.model()), QStringLiteral("M1 40 12 30.00%"));
        widget.updateMacName(QStringLiteral("m1"), QStringLiteral("一号"));
        widget.updateMacName(QStringLiteral("nope"), QStringLiteral("X"));
        QCOMPARE(rowsText(widget.model()), QStringLiteral("一号 40 12 30.00%"));
    }

    void topThree()
    {
        YmTableModel model;
        model.setHeaderLabels();
        QVERIFY(!model.updateTopThree());
        model.setMachineData({{"a"_s, hundred("A"_s, 10)}, {"b"_s, hundred("B"_s, 20)}});
        QVERIFY(model.updateTopThree());
        QVERIFY(!model.updateTopThree());

        model.setMachineData({{"a"_s, hundred("A"_s, 10)},
                              {"b"_s, hundred("B"_s, 20)},
                              {"c"_s, hundred("C"_s, 30)},
                              {"d"_s, hundred("D"_s, 40)}});
        QVERIFY(model.updateTopThree()); // a third row appeared
        model.updateMacProcess(QStringLiteral("d"), {entry(QStringLiteral("f"), 90)});
        QVERIFY(!model.updateTopThree()); // only the fourth changed
        model.updateMacProcess(QStringLiteral("b"), {entry(QStringLiteral("f"), 25)});
        QVERIFY(model.updateTopThree()); // same order, new count
        model.updateMacName(QStringLiteral("c"), QStringLiteral("C2"));
        QVERIFY(model.updateTopThree());
        model.updateMacProcess(QStringLiteral("a"), {entry(QStringLiteral("f"), 10)});
        QVERIFY(!model.updateTopThree());

        // Shrinking to one machine compares only the first rank.
        model.setMachineData({{"a"_s, hundred("A"_s, 10)}});
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

        panel.setTableData(
            {orderRow("m1"_s, "M1"_s, "f"_s, 100, 60), orderRow("m2"_s, "M2"_s, "f"_s, 100, 30)});
        QCOMPARE(captions(panel), QStringLiteral("M2\n30|M1\n60|"));

        panel.setTableData({orderRow("m1"_s, "M1"_s, "f"_s, 100, 60),
                            orderRow("m2"_s, "M2"_s, "f"_s, 100, 30),
                            orderRow("m3"_s, "M3"_s, "f"_s, 100, 90)});
        QCOMPARE(captions(panel), QStringLiteral("M2\n30|M1\n60|M3\n90"));

        // m2 overtakes m1 and m3: the podium follows the ranking.
        panel.updateTableProcess(QStringLiteral("m2"), {entry(QStringLiteral("f"), 95)});
        QCOMPARE(captions(panel), QStringLiteral("M1\n60|M3\n90|M2\n95"));
        panel.updateTableName(QStringLiteral("m3"), QStringLiteral("三号"));
        QCOMPARE(captions(panel), QStringLiteral("M1\n60|三号\n90|M2\n95"));

        // Two machines left: the third medal keeps its caption.
        panel.setTableData(
            {orderRow("m4"_s, "M4"_s, "f"_s, 100, 10), orderRow("m5"_s, "M5"_s, "f"_s, 100, 20)});
        QCOMPARE(captions(panel), QStringLiteral("M4\n10|M5\n20|M2\n95"));

        // A nameless machine in first place never gets a caption.
        panel.setTableData(
            {orderRow("m6"_s, ""_s, "f"_s, 100, 5), orderRow("m5"_s, "M5"_s, "f"_s, 100, 20)});
        QCOMPARE(captions(panel), QStringLiteral("M4\n10|M5\n20|M2\n95"));
    }

    // The main window hands the full load, process reports and renames on.
    void mainWindowWiring()
    {
        YmWorkshopManageMainPage main;
        auto *panel
            = main.findChild<YmWorkshopPlanTable *>(QStringLiteral("dockWidgetContents_table"));
        QVERIFY(panel);
        QCOMPARE(panel->minimumWidth(), 520);
        main.initDatas({QVariantList{orderRow("m1"_s, "M1"_s, "f"_s, 100, 60),
                                     orderRow("m2"_s, "M2"_s, "f"_s, 100, 30)},
                        0, 0, 0},
                       {}, {}, QString(), QString(), 0);
        const YmTableModel &model = panel->tableWidget()->model();
        QCOMPARE(rowsText(model), QStringLiteral("M2 100 30 30.00%|M1 100 60 60.00%"));
        main.updateMacProcess(QStringLiteral("m2"), {entry(QStringLiteral("f"), 70)});
        QCOMPARE(rowsText(model), QStringLiteral("M1 100 60 60.00%|M2 100 70 70.00%"));
        main.updateMacState(QStringLiteral("m1"), 2, QStringLiteral("一号机"));
        QCOMPARE(captions(*panel), QStringLiteral("一号机\n60|M2\n70|"));
    }

    // A viewer's selection stays on its machine and the view does not scroll
    // when machines change rank.
    void selectionAndScrollStable()
    {
        YmTableViewWidget widget;
        QVariantList rows;
        for (int m = 0; m < 40; ++m)
            rows << orderRow(QStringLiteral("m%1").arg(m, 2, 10, QLatin1Char('0')),
                             QStringLiteral("M%1").arg(m), QStringLiteral("f"), 100, m);
        widget.setOrderRows(rows);
        widget.resize(400, 300);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTableView *view = widget.tableView();
        QVERIFY(!view->verticalScrollBar()->isVisible());
        QVERIFY(view->verticalScrollBar()->maximum() > 10);
        view->selectRow(20); // m20
        view->verticalScrollBar()->setValue(10);

        widget.updateMacProcess(QStringLiteral("m20"), {entry(QStringLiteral("f"), 99)});
        widget.updateMacProcess(QStringLiteral("m05"), {entry(QStringLiteral("f"), 50)});
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
        model.setMachineData({{"a"_s, hundred("A"_s, 10)}});
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
