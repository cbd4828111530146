#include "ymmetatypes.h"
#include "ymordermodel.h"
#include "ymorderrow.h"
#include "ymresources.h"

#include <QVariantMap>
#include <QtTest>

namespace {

QVariant orderRow(const QString &plan, const QString &mac, const QString &file, int planned,
                  int completed, const YmPieceMap &pieces = YmPieceMap(),
                  const QString &group = QStringLiteral("G1"))
{
    return QVariantList{plan,    QStringLiteral("carried"),
                        mac,     QString(mac + QStringLiteral("-name")),
                        group,   file,
                        planned, completed,
                        0,       QVariant::fromValue(pieces)};
}

QVariant processEntry(const QString &file, const QVariant &pieces, int completed)
{
    return QVariantList{file, pieces, completed};
}

YmPieceMap pieces(std::initializer_list<std::pair<QString, int>> list)
{
    YmPieceMap map;
    for (const auto &p : list)
        map.insert(p.first, p.second);
    return map;
}

// Bars as "name:planned/completed", joined by spaces.
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

QVariantList rowOf(const YmOrderModel &model, int index)
{
    return model.rows().value(index).toList();
}

} // namespace

class TstOrderModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readers_data();
    void readers();
    void pieceMapReader_data();
    void pieceMapReader();
    void unknownMachineChangesNothing();
    void distribution_data();
    void distribution();
    void singleRowTakesQuantity_data();
    void singleRowTakesQuantity();
    void unmatchedFileIsIgnored();
    void renameMachine();
    void renameGroup();
    void stateCounts_data();
    void stateCounts();
    void malformedPayloads_data();
    void malformedPayloads();
    void shortRowIsPaddedWhenWritten();
    void figuresFollowWrites_data();
    void figuresFollowWrites();
};

void TstOrderModel::initTestCase()
{
    ymRegisterResources();
    ymRegisterMetaTypes();
}

void TstOrderModel::readers_data()
{
    QTest::addColumn<QVariantList>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");

    const QVariantList list{QStringLiteral("A"), 12, QStringLiteral("34"), QStringLiteral("x")};
    QTest::newRow("string") << list << 0 << QStringLiteral("A") << 0;
    QTest::newRow("int") << list << 1 << QStringLiteral("12") << 12;
    QTest::newRow("numeric string") << list << 2 << QStringLiteral("34") << 34;
    QTest::newRow("non-numeric string") << list << 3 << QStringLiteral("x") << 0;
    QTest::newRow("past the end") << list << 4 << QString() << 0;
    QTest::newRow("far past the end") << list << 1000 << QString() << 0;
    QTest::newRow("negative") << list << -1 << QString() << 0;
    QTest::newRow("empty list") << QVariantList() << 0 << QString() << 0;
}

void TstOrderModel::readers()
{
    QFETCH(QVariantList, list);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(YmOrderRow::stringAt(list, index), text);
    QCOMPARE(YmOrderRow::intAt(list, index), number);
    QCOMPARE(YmOrderRow::at(list, index).isValid(), index >= 0 && index < list.size());
}

void TstOrderModel::pieceMapReader_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("sum");

    const YmPieceMap map = pieces({{QStringLiteral("k1"), 2}, {QStringLiteral("k2"), 3}});
    QVariantMap variantMap;
    variantMap.insert(QStringLiteral("k2"), 3);
    variantMap.insert(QStringLiteral("k1"), QStringLiteral("2"));
    QTest::newRow("piece map") << QVariant::fromValue(map) << QStringList(map.keys()) << 5;
    QTest::newRow("QVariantMap") << QVariant(variantMap) << QStringList(map.keys()) << 5;
    QTest::newRow("string") << QVariant(QStringLiteral("k1")) << QStringList() << 0;
    QTest::newRow("list") << QVariant(QVariantList{1, 2}) << QStringList() << 0;
    QTest::newRow("invalid") << QVariant() << QStringList() << 0;
}

void TstOrderModel::pieceMapReader()
{
    QFETCH(QVariant, value);
    QFETCH(QStringList, keys);
    QFETCH(int, sum);
    const YmPieceMap map = YmOrderRow::pieceMapAt(QVariantList{0, value}, 1);
    QCOMPARE(map.keys(), keys);
    int total = 0;
    for (int v : map)
        total += v;
    QCOMPARE(total, sum);
    QVERIFY(YmOrderRow::pieceMapAt(QVariantList{value}, 1).isEmpty());
}

void TstOrderModel::unknownMachineChangesNothing()
{
    YmOrderModel model;
    const QVariantList rows{
        orderRow(QStringLiteral("P"), QStringLiteral("M1"), QStringLiteral("f"), 10, 0)};
    model.setRows(rows);
    QVERIFY(model.hasMachine(QStringLiteral("M1")));
    QVERIFY(!model.hasMachine(QStringLiteral("M9")));
    model.applyProcess(QStringLiteral("M9"),
                       {processEntry(QStringLiteral("f"), QVariant::fromValue(YmPieceMap()), 7)});
    QCOMPARE(model.rows(), rows);
}

void TstOrderModel::distribution_data()
{
    QTest::addColumn<QVariantList>("rows");
    QTest::addColumn<QVariant>("offered");
    QTest::addColumn<int>("completed0");
    QTest::addColumn<QStringList>("keys0");
    QTest::addColumn<int>("completed1");
    QTest::addColumn<QStringList>("keys1");

    const QString m = QStringLiteral("M1");
    const QString f = QStringLiteral("f");
    const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c");
    const QVariant abc = QVariant::fromValue(pieces({{a, 4}, {b, 4}, {c, 4}}));

    QTest::newRow("first row takes until it reaches its plan")
        << QVariantList{orderRow(QStringLiteral("P1"), m, f, 10, 0),
                        orderRow(QStringLiteral("P2"), m, f, 5, 0)}
        << abc << 12 << QStringList{a, b, c} << 0 << QStringList();
    QTest::newRow("pieces go in key order")
        << QVariantList{orderRow(QStringLiteral("P1"), m, f, 2, 0),
                        orderRow(QStringLiteral("P2"), m, f, 5, 0)}
        << QVariant::fromValue(pieces({{c, 1}, {b, 1}, {a, 1}})) << 2 << QStringList{a, b} << 1
        << QStringList{c};
    QTest::newRow("full row is passed over")
        << QVariantList{orderRow(QStringLiteral("P1"), m, f, 5, 5),
                        orderRow(QStringLiteral("P2"), m, f, 5, 0)}
        << abc << 5 << QStringList() << 8 << QStringList{a, b};
    QTest::newRow("held key stays on offer for the next row")
        << QVariantList{orderRow(QStringLiteral("P1"), m, f, 10, 4, pieces({{a, 4}})),
                        orderRow(QStringLiteral("P2"), m, f, 10, 0)}
        << QVariant::fromValue(pieces({{a, 4}, {b, 4}})) << 8 << QStringList{a, b} << 4
        << QStringList{a};
    QTest::newRow("QVariantMap piece map")
        << QVariantList{orderRow(QStringLiteral("P1"), m, f, 3, 0),
                        orderRow(QStringLiteral("P2"), m, f, 5, 0)}
        << QVariant(QVariantMap{{a, 2}, {b, 3}, {c, 1}}) << 5 << QStringList{a, b} << 1
        << QStringList{c};
    QTest::newRow("no pieces") << QVariantList{orderRow(QStringLiteral("P1"), m, f, 3, 1),
                                               orderRow(QStringLiteral("P2"), m, f, 5, 2)}
                               << QVariant() << 1 << QStringList() << 2 << QStringList();
}

void TstOrderModel::distribution()
{
    QFETCH(QVariantList, rows);
    QFETCH(QVariant, offered);
    QFETCH(int, completed0);
    QFETCH(QStringList, keys0);
    QFETCH(int, completed1);
    QFETCH(QStringList, keys1);

    // A row of another machine with the same file sits between them and stays as it is.
    const QVariant foreign
        = orderRow(QStringLiteral("P3"), QStringLiteral("M2"), QStringLiteral("f"), 10, 0);
    rows.insert(1, foreign);
    YmOrderModel model;
    model.setRows(rows);
    // The entry's own quantity is irrelevant when several rows share the file.
    model.applyProcess(QStringLiteral("M1"), {processEntry(QStringLiteral("f"), offered, 999)});

    QCOMPARE(model.rows().size(), 3);
    QCOMPARE(model.rows().at(1), foreign);
    const QVariantList first = rowOf(model, 0);
    const QVariantList second = rowOf(model, 2);
    QCOMPARE(YmOrderRow::intAt(first, YmOrderRow::Completed), completed0);
    QCOMPARE(YmOrderRow::pieceMapAt(first, YmOrderRow::Pieces).keys(), keys0);
    QCOMPARE(YmOrderRow::intAt(second, YmOrderRow::Completed), completed1);
    QCOMPARE(YmOrderRow::pieceMapAt(second, YmOrderRow::Pieces).keys(), keys1);
    QCOMPARE(first.at(YmOrderRow::Pieces).userType(), qMetaTypeId<YmPieceMap>());
    QCOMPARE(YmOrderRow::stringAt(first, YmOrderRow::PlanName), QStringLiteral("P1"));
    QCOMPARE(YmOrderRow::stringAt(second, YmOrderRow::PlanName), QStringLiteral("P2"));
}

void TstOrderModel::singleRowTakesQuantity_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("reported");
    QTest::newRow("lower") << 8 << 3;
    QTest::newRow("higher") << 8 << 20;
    QTest::newRow("same") << 8 << 8;
    QTest::newRow("zero") << 8 << 0;
}

void TstOrderModel::singleRowTakesQuantity()
{
    QFETCH(int, before);
    QFETCH(int, reported);
    const YmPieceMap held = pieces({{QStringLiteral("x"), 1}});
    YmOrderModel model;
    model.setRows(
        {orderRow(QStringLiteral("P"), QStringLiteral("M1"), QStringLiteral("f"), 10, before, held),
         orderRow(QStringLiteral("P"), QStringLiteral("M1"), QStringLiteral("g"), 10, before,
                  held)});
    const QVariant offered = QVariant::fromValue(pieces({{QStringLiteral("y"), 5}}));
    model.applyProcess(QStringLiteral("M1"),
                       {processEntry(QStringLiteral("f"), offered, reported)});
    QCOMPARE(YmOrderRow::intAt(rowOf(model, 0), YmOrderRow::Completed), reported);
    QCOMPARE(YmOrderRow::pieceMapAt(rowOf(model, 0), YmOrderRow::Pieces), held);
    QCOMPARE(YmOrderRow::intAt(rowOf(model, 1), YmOrderRow::Completed), before);
}

void TstOrderModel::unmatchedFileIsIgnored()
{
    YmOrderModel model;
    const QVariantList rows{
        orderRow(QStringLiteral("P"), QStringLiteral("M1"), QStringLiteral("f"), 10, 2)};
    model.setRows(rows);
    model.applyProcess(QStringLiteral("M1"), {processEntry(QStringLiteral("other"), QVariant(), 7),
                                              processEntry(QStringLiteral("f"), QVariant(), 6)});
    QCOMPARE(model.rows().size(), 1);
    QCOMPARE(YmOrderRow::intAt(rowOf(model, 0), YmOrderRow::Completed), 6);
}

void TstOrderModel::renameMachine()
{
    YmOrderModel model;
    const QVariant other
        = orderRow(QStringLiteral("P"), QStringLiteral("M2"), QStringLiteral("f"), 1, 0);
    model.setRows({orderRow(QStringLiteral("P"), QStringLiteral("M1"), QStringLiteral("f"), 1, 0),
                   other,
                   orderRow(QStringLiteral("Q"), QStringLiteral("M1"), QStringLiteral("g"), 1, 0),
                   orderRow(QStringLiteral("R"), QStringLiteral("M1"), QStringLiteral("h"), 1, 0)});
    const QString name = QStringLiteral("一号机");
    QVERIFY(model.renameMachine(QStringLiteral("M1"), name));
    for (int i : {0, 2, 3})
        QCOMPARE(YmOrderRow::stringAt(rowOf(model, i), YmOrderRow::MacName), name);
    QCOMPARE(model.rows().at(1), other);
    QVERIFY(!model.renameMachine(QStringLiteral("M1"), name));
    QVERIFY(!model.renameMachine(QStringLiteral("M9"), name));
    QVERIFY(model.hasMachine(QStringLiteral("M1")));
}

void TstOrderModel::renameGroup()
{
    YmOrderModel model;
    const QString oldName = QStringLiteral("G1"), newName = QStringLiteral("一车间");
    model.setRows({orderRow(QStringLiteral("P"), QStringLiteral("M1"), QStringLiteral("f"), 1, 0,
                            {}, oldName),
                   orderRow(QStringLiteral("P"), QStringLiteral("M2"), QStringLiteral("f"), 1, 0,
                            {}, QStringLiteral("G2")),
                   orderRow(QStringLiteral("Q"), QStringLiteral("M3"), QStringLiteral("f"), 1, 0,
                            {}, oldName)});
    model.renameGroup(oldName, newName);
    QCOMPARE(YmOrderRow::stringAt(rowOf(model, 0), YmOrderRow::GroupName), newName);
    QCOMPARE(YmOrderRow::stringAt(rowOf(model, 1), YmOrderRow::GroupName), QStringLiteral("G2"));
    QCOMPARE(YmOrderRow::stringAt(rowOf(model, 2), YmOrderRow::GroupName), newName);
    // The machine index survives: rows of M3 are still found after the rewrite.
    model.applyProcess(QStringLiteral("M3"), {processEntry(QStringLiteral("f"), QVariant(), 1)});
    QCOMPARE(YmOrderRow::intAt(rowOf(model, 2), YmOrderRow::Completed), 1);
}

void TstOrderModel::stateCounts_data()
{
    QTest::addColumn<QVariantList>("macList");
    QTest::addColumn<int>("online");
    QTest::addColumn<int>("working");
    QTest::addColumn<int>("abnormal");
    QTest::addColumn<int>("offline");

    auto mac = [](const QString &key, int state) {
        return QVariant(QVariantList{key, QString(key + QStringLiteral("-name")), state});
    };
    QTest::newRow("empty") << QVariantList() << 0 << 0 << 0 << 0;
    QTest::newRow("one of each") << QVariantList{mac(QStringLiteral("a"), 0),
                                                 mac(QStringLiteral("b"), 1),
                                                 mac(QStringLiteral("c"), 2),
                                                 mac(QStringLiteral("d"), 3)}
                                 << 1 << 1 << 1 << 1;
    QTest::newRow("unknown codes count nowhere")
        << QVariantList{mac(QStringLiteral("a"), 7), mac(QStringLiteral("b"), -1),
                        mac(QStringLiteral("c"), 1)}
        << 1 << 0 << 0 << 0;
    QTest::newRow("later entry wins")
        << QVariantList{mac(QStringLiteral("a"), 1), mac(QStringLiteral("a"), 3)} << 0 << 0 << 1
        << 0;
}

void TstOrderModel::stateCounts()
{
    QFETCH(QVariantList, macList);
    QFETCH(int, online);
    QFETCH(int, working);
    QFETCH(int, abnormal);
    QFETCH(int, offline);

    YmOrderModel model;
    model.setMachineState(QStringLiteral("stale"), 1);
    model.setMachines(macList);
    QVERIFY(!model.machineStates().contains(QStringLiteral("stale")));
    const YmStateCounts counts = model.stateCounts();
    QCOMPARE(counts.online, online);
    QCOMPARE(counts.working, working);
    QCOMPARE(counts.abnormal, abnormal);
    QCOMPARE(counts.offline, offline);

    model.setMachineState(QStringLiteral("new"), 2);
    QCOMPARE(model.stateCounts().working, working + 1);
    model.setMachineState(QStringLiteral("new"), 0);
    QCOMPARE(model.stateCounts().working, working);
    QCOMPARE(model.stateCounts().offline, offline + 1);
}

void TstOrderModel::malformedPayloads_data()
{
    QTest::addColumn<QVariantList>("rows");
    QTest::addColumn<QVariantList>("macList");
    QTest::addColumn<QVariantList>("process");

    const QVariantMap map{{QStringLiteral("k"), 1}};
    QTest::newRow("empty lists") << QVariantList() << QVariantList() << QVariantList();
    // Nested braces are built through QVariant: a one-element QVariantList{QVariantList{...}}
    // would otherwise be the inner list copied.
    auto rec = [](const QVariantList &items) {
        return QVariant(items);
    };
    const QString m1 = QStringLiteral("M1");
    QTest::newRow("rows of three elements")
        << QVariantList{rec({QStringLiteral("P"), 1, m1}), rec({QStringLiteral("P"), 1, m1})}
        << QVariantList{rec({m1})}
        << QVariantList{
               rec({QString(), QVariant::fromValue(pieces({{QStringLiteral("k"), 3}})), 4})};
    QTest::newRow("strings where ints are expected")
        << QVariantList{rec({QStringLiteral("P"), 1, m1, QStringLiteral("n"), QStringLiteral("G"),
                             QStringLiteral("f"), QStringLiteral("ten"), QStringLiteral("x"),
                             QStringLiteral("y"), QStringLiteral("z")}),
                        rec({QStringLiteral("P"), 1, m1, QStringLiteral("n"), QStringLiteral("G"),
                             QStringLiteral("f"), QStringLiteral("10"), QStringLiteral("x"),
                             QStringLiteral("y"), QStringLiteral("z")})}
        << QVariantList{rec({m1, QStringLiteral("n"), QStringLiteral("x")})}
        << QVariantList{rec({QStringLiteral("f"), QStringLiteral("pieces"), QStringLiteral("q")}),
                        rec({QStringLiteral("f"), QVariant(map), 2})};
    QTest::newRow("maps where lists are expected")
        << QVariantList{QVariant(map), QVariant(map)} << QVariantList{QVariant(map)}
        << QVariantList{QVariant(map)};
    QTest::newRow("process entries of one element")
        << QVariantList{orderRow(QStringLiteral("P"), QStringLiteral("M1"), QStringLiteral("f"), 3,
                                 0),
                        orderRow(QStringLiteral("P"), QStringLiteral("M1"), QString(), 3, 0)}
        << QVariantList{rec({m1})}
        << QVariantList{rec({QStringLiteral("f")}), rec({}), rec({QString()})};
    QTest::newRow("scalars everywhere")
        << QVariantList{42, QStringLiteral("row"), QVariant()} << QVariantList{1, QVariant()}
        << QVariantList{QStringLiteral("entry"), 5};
}

void TstOrderModel::malformedPayloads()
{
    QFETCH(QVariantList, rows);
    QFETCH(QVariantList, macList);
    QFETCH(QVariantList, process);

    YmOrderModel model;
    model.setMachines(macList);
    model.stateCounts();
    model.setRows(rows);
    QCOMPARE(model.rows().size(), rows.size());
    for (const QString &key : {QStringLiteral("M1"), QString()}) {
        model.hasMachine(key);
        model.applyProcess(key, process);
        model.renameMachine(key, QStringLiteral("renamed"));
        model.applyProcess(key, process);
    }
    model.renameGroup(QString(), QStringLiteral("G"));
    model.renameGroup(QStringLiteral("G"), QStringLiteral("H"));
    model.setMachineState(QStringLiteral("M1"), 2);
    QCOMPARE(model.rows().size(), rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        // Rows that are no list are kept exactly as they came.
        if (!YmOrderRow::isRecord(rows.at(i)))
            QCOMPARE(model.rows().at(i), rows.at(i));
    }

    // Still a working model afterwards.
    model.setRows({orderRow(QStringLiteral("P"), QStringLiteral("M1"), QStringLiteral("f"), 4, 0),
                   orderRow(QStringLiteral("P"), QStringLiteral("M1"), QStringLiteral("f"), 4, 0)});
    model.applyProcess(
        QStringLiteral("M1"),
        {processEntry(
            QStringLiteral("f"),
            QVariant::fromValue(pieces({{QStringLiteral("a"), 3}, {QStringLiteral("b"), 3}})), 0)});
    QCOMPARE(YmOrderRow::intAt(rowOf(model, 0), YmOrderRow::Completed), 6);
    QCOMPARE(YmOrderRow::intAt(rowOf(model, 1), YmOrderRow::Completed), 0);
    QCOMPARE(model.stateCounts().working, 1);
}

void TstOrderModel::shortRowIsPaddedWhenWritten()
{
    YmOrderModel model;
    model.setRows(
        QVariantList{QVariant(QVariantList{QStringLiteral("P"), 1, QStringLiteral("M1")})});
    QVERIFY(model.hasMachine(QStringLiteral("M1")));
    // Its file reads as empty, so an entry for the empty file name matches it.
    model.applyProcess(QStringLiteral("M1"), {processEntry(QString(), QVariant(), 5)});
    const QVariantList row = rowOf(model, 0);
    QCOMPARE(row.size(), int(YmOrderRow::FieldCount));
    QCOMPARE(YmOrderRow::stringAt(row, YmOrderRow::PlanName), QStringLiteral("P"));
    QCOMPARE(YmOrderRow::stringAt(row, YmOrderRow::MacKey), QStringLiteral("M1"));
    QCOMPARE(YmOrderRow::intAt(row, YmOrderRow::Completed), 5);
    QVERIFY(model.renameMachine(QStringLiteral("M1"), QStringLiteral("n")));
    QCOMPARE(YmOrderRow::stringAt(rowOf(model, 0), YmOrderRow::MacName), QStringLiteral("n"));
}

// The board sums the numbers the model keeps beside its rows; after any
// sequence of writes they must match a fresh reading of the rows.
void TstOrderModel::figuresFollowWrites_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("groups");
    QTest::addColumn<QString>("plans");

    QTest::newRow("as pushed") << QString() << QStringLiteral("G1:25/0 G2:5/0")
                               << QStringLiteral("A:15/0 B:15/0");
    QTest::newRow("rename the first group to a new name")
        << QStringLiteral("rename G1 G3") << QStringLiteral("G3:25/0 G2:5/0")
        << QStringLiteral("A:15/0 B:15/0");
    QTest::newRow("merge a group into another")
        << QStringLiteral("rename G2 G1") << QStringLiteral("G1:30/0")
        << QStringLiteral("A:15/0 B:15/0");
    QTest::newRow("single row takes a quantity")
        << QStringLiteral("process M2 b.nc 9") << QStringLiteral("G1:25/9 G2:5/0")
        << QStringLiteral("A:15/0 B:15/9");
    QTest::newRow("pieces shared by two rows")
        << QStringLiteral("process M1 a.nc pieces") << QStringLiteral("G1:25/12 G2:5/0")
        << QStringLiteral("A:15/12 B:15/0");
    QTest::newRow("machine rename leaves the sums")
        << QStringLiteral("machine M1") << QStringLiteral("G1:25/0 G2:5/0")
        << QStringLiteral("A:15/0 B:15/0");
}

void TstOrderModel::figuresFollowWrites()
{
    QFETCH(QString, step);
    QFETCH(QString, groups);
    QFETCH(QString, plans);

    YmOrderModel model;
    model.setRows({orderRow(QStringLiteral("A"), QStringLiteral("M1"), QStringLiteral("a.nc"), 10,
                            0, YmPieceMap(), QStringLiteral("G1")),
                   orderRow(QStringLiteral("B"), QStringLiteral("M2"), QStringLiteral("b.nc"), 15,
                            0, YmPieceMap(), QStringLiteral("G1")),
                   orderRow(QStringLiteral("A"), QStringLiteral("M1"), QStringLiteral("a.nc"), 5, 0,
                            YmPieceMap(), QStringLiteral("G2"))});

    const QStringList words = step.split(QLatin1Char(' '));
    if (words.value(0) == QLatin1String("rename"))
        model.renameGroup(words.value(1), words.value(2));
    else if (words.value(0) == QLatin1String("machine"))
        model.renameMachine(words.value(1), QStringLiteral("renamed"));
    else if (words.value(0) == QLatin1String("process"))
        model.applyProcess(words.value(1),
                           {processEntry(words.value(2),
                                         QVariant::fromValue(pieces({{QStringLiteral("a"), 4},
                                                                     {QStringLiteral("b"), 4},
                                                                     {QStringLiteral("c"), 4}})),
                                         words.value(3).toInt())});

    const YmDashboardFigures kept = model.dashboardFigures();
    QCOMPARE(barsText(kept.groupBars), groups);
    QCOMPARE(barsText(kept.planBars), plans);

    const YmDashboardFigures fresh = YmDashboardFigures::compute(model.rows());
    QCOMPARE(kept.groupBars, fresh.groupBars);
    QCOMPARE(kept.planBars, fresh.planBars);
    QCOMPARE(kept.totalPlanned, fresh.totalPlanned);
    QCOMPARE(kept.totalCompleted, fresh.totalCompleted);
}

QTEST_MAIN(TstOrderModel)
#include "tst_ordermodel.moc"
