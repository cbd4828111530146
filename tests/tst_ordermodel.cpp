#include "ymharness.h"
#include "ymordermodel.h"
#include "ympayload.h"

#include <QtTest>

using L = QVariantList;
using P = YmPayload;

QString operator""_s(const char *s, size_t n)
{
    return QString::fromUtf8(s, int(n));
}

class TstOrderModel : public QObject
{
    Q_OBJECT

    // "a=4,b=4" -> {a: 4, b: 4}
    template<class Map = YmPieceMap>
    static Map pcs(const QString &pairs)
    {
        Map map;
        for (const QString &kv : pairs.split(u',', Qt::SkipEmptyParts))
            map.insert(kv.section(u'=', 0, 0), kv.section(u'=', 1).toInt());
        return map;
    }
    static QVariant vp(const QString &pairs) { return QVariant::fromValue(pcs(pairs)); }
    static QVariant row(const QString &plan, const QString &mac, const QString &file, int planned,
                        int done, const QString &held = {}, const QString &group = "G1"_s)
    {
        return L{plan, "c"_s, mac, QString(mac + "-n"_s), group, file, planned, done, 0, vp(held)};
    }
    // One record as a QVariant (L{L{...}} would copy the inner list instead of nesting it);
    // entry() is a process list of one entry.
    static QVariant rec(const L &items) { return QVariant(items); }
    static L entry(QVariant file, QVariant pieces, QVariant n) { return L{rec({file, pieces, n})}; }
    // Rows as "completed:held keys", e.g. "12:abc 0:".
    static QString st(const YmOrderModel &m)
    {
        QStringList out;
        for (const YmOrderRecord &r : m.rows())
            out << QString::number(r.completed) + u':'
                       + QStringList(r.pieces.keys()).join(QString());
        return out.join(u' ');
    }
    // The model fed as the board feeds it: payloads parsed once.
    static void load(YmOrderModel &m, const L &rows) { m.setRows(P::orderRecords(rows)); }
    static YmOrderModel::Change report(YmOrderModel &m, const QString &key, const L &process)
    {
        return m.applyProcess(key, P::processEntries(process));
    }
    static L asRows(const YmOrderModel &m)
    {
        L rows;
        for (const YmOrderRecord &r : m.rows())
            rows << QVariant(P::toList(r));
        return rows;
    }

private slots:
    void initTestCase() { YmHarness::start(); }
    // A value in every field of a row, a machine entry and a process entry:
    // "text|number|pieces" as read; a list one short of each field reads it as empty.
    void readers_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("string") << QVariant("A"_s) << "A|0|";
        QTest::newRow("int") << QVariant(12) << "12|12|";
        QTest::newRow("numeric string") << QVariant("34"_s) << "34|34|";
        QTest::newRow("piece map") << vp("k1=2,k2=3"_s) << "|0|k1=2,k2=3";
        QTest::newRow("map") << QVariant(QVariantMap{{"b"_s, 3}, {"a"_s, "2"_s}}) << "|0|a=2,b=3";
        QTest::newRow("nothing") << QVariant() << "|0|";
    }
    void readers()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        const QString text = expected.section(u'|', 0, 0);
        const int number = expected.section(u'|', 1, 1).toInt();
        const auto filled = [&value](int n) {
            L list;
            while (list.size() < n)
                list << value;
            return list;
        };
        const YmOrderRecord r = P::orderRecord(filled(10));
        QCOMPARE(QStringList({r.planName, r.macKey, r.macName, r.groupName, r.fileName}).join(u'|'),
                 QStringList({text, text, text, text, text}).join(u'|'));
        QCOMPARE(QVector<int>({r.planned, r.completed, r.notifyNum}), QVector<int>(3, number));
        QCOMPARE(r.pieces, pcs(expected.section(u'|', 2)));
        const YmProcessEntry e = P::processEntries({QVariant(filled(3))}).value(0);
        QCOMPARE(e.fileName + u'|' + QString::number(e.completed),
                 text + u'|' + QString::number(number));
        QCOMPARE(e.pieces, pcs(expected.section(u'|', 2)));
        const YmMachineEntry mac = P::machineEntries({QVariant(filled(3))}).value(0);
        QCOMPARE(mac.key + mac.name + QString::number(mac.state),
                 text + text + QString::number(number));
        // Short lists: every later field reads as 0 / empty.
        const YmOrderRecord shortRow = P::orderRecord(L{value});
        QVERIFY(shortRow.macKey.isNull() && shortRow.completed == 0 && shortRow.pieces.isEmpty());
        QVERIFY(P::processEntries({QVariant(L{value})}).value(0).pieces.isEmpty());
        QCOMPARE(P::toList(P::orderRecord(P::toList(r))), P::toList(r));
    }
    // "planned done held file2 | offer quantity | expected": the process of M1 for
    // file f meets row 0 of M1, a row of M2 on file f and a row of M1 (planned 10) on
    // file2 (default f); each offer is sent as a piece map and as a QVariantMap.
    void process_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("first takes all") << "10 0 | a=4,b=4,c=4 | 12:abc 0: 0:";
        QTest::newRow("key order") << "2 0 | c=1,b=1,a=1 | 2:ab 0: 1:c";
        QTest::newRow("full row passed over") << "5 5 | a=4,b=4,c=4 | 5: 0: 12:abc";
        QTest::newRow("held key passed on") << "10 4 a=4 | a=4,b=4 | 8:ab 0: 4:a";
        QTest::newRow("holds every key") << "10 0 a=1,b=1 | a=4,b=4 | 0:ab 0: 8:ab";
        QTest::newRow("no pieces") << "3 1 |  | 1: 0: 0:";
        // One row on the file: the report's count, and its unseen pieces recorded.
        QTest::newRow("single row, lower") << "10 8 x=1 g | y=5 3 | 3:xy 0: 0:";
        QTest::newRow("single row, higher") << "10 8 x=1 g | y=5 20 | 20:xy 0: 0:";
    }
    void process()
    {
        QFETCH(QString, line);
        const QStringList p = line.split(" | "_s), f = p.at(0).split(u' '), o = p.at(1).split(u' ');
        L rows{row("A"_s, "M1"_s, "f"_s, f.at(0).toInt(), f.at(1).toInt(), f.value(2)),
               row("B"_s, "M2"_s, "f"_s, 10, 0), row("C"_s, "M1"_s, f.value(3, "f"_s), 10, 0)};
        for (const QVariant &offer : {vp(o.at(0)), QVariant(pcs<QVariantMap>(o.at(0)))}) {
            YmOrderModel m;
            load(m, rows);
            const QString before = st(m);
            QVERIFY(report(m, "M9"_s, entry("f"_s, offer, 1)).isEmpty()); // unknown machine
            QCOMPARE(st(m), before);
            // No row has file z; the quantity of a shared file is not used.
            const YmOrderModel::Change c
                = report(m, "M1"_s, entry("f"_s, offer, o.value(1)) + entry("z"_s, offer, 7));
            QCOMPARE(st(m), p.at(2));
            // The change names exactly the rows that moved, and the pieces they took.
            QStringList moved;
            const QStringList b = before.split(u' '), a = st(m).split(u' ');
            for (int i = 0; i < a.size(); ++i)
                if (a.at(i) != b.at(i))
                    moved << QString::number(i);
            QStringList listed;
            for (int i : c.rows)
                listed << QString::number(i);
            QCOMPARE(listed, moved);
            int taken = 0;
            for (const auto &piece : c.pieces)
                taken += piece.second;
            int grown = 0;
            for (int i = 0; i < m.rows().size(); ++i)
                for (int q : m.rows().at(i).pieces)
                    grown += q;
            for (const QVariant &r : rows)
                for (int q : P::orderRecord(r).pieces)
                    grown -= q;
            QCOMPARE(taken, grown);
        }
    }
    // The host loads the day again with other machines: only the second load's rows
    // belong to a machine. Report "machine file quantity" -> rows of the second load.
    void reloadForgetsFirstLoad_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("machine moved to another row") << "M2 f 7 | 7: 0:";
        QTest::newRow("machine in both loads") << "M1 f 5 | 0: 5:";
        QTest::newRow("machine dropped") << "M3 g 5 | 0: 0:";
    }
    void reloadForgetsFirstLoad()
    {
        QFETCH(QString, line);
        const QStringList r = line.section(" | "_s, 0, 0).split(u' ');
        YmOrderModel m;
        load(m, {row("A"_s, "M1"_s, "f"_s, 10, 0), row("B"_s, "M2"_s, "f"_s, 10, 0),
                 row("C"_s, "M3"_s, "g"_s, 10, 0)});
        load(m, {row("B"_s, "M2"_s, "f"_s, 10, 0), row("D"_s, "M1"_s, "f"_s, 10, 0)});
        QCOMPARE(m.hasMachine(r.at(0)), r.at(0) != "M3"_s);
        report(m, r.at(0), entry(r.at(1), QVariant(), r.at(2).toInt()));
        QCOMPARE(st(m), line.section(" | "_s, 1));
    }
    void renames()
    {
        YmOrderModel m;
        const QVariant other = row("P"_s, "M2"_s, "f"_s, 1, 0, {}, "G2"_s);
        load(m, {row("P"_s, "M1"_s, "f"_s, 1, 0), other, row("Q"_s, "M1"_s, "g"_s, 1, 0),
                 row("R"_s, "M1"_s, "h"_s, 1, 0), QVariant(L{"P"_s, 1, "M3"_s})});
        QVERIFY(m.renameMachine("M1"_s, "一号机"_s));
        QVERIFY(!m.renameMachine("M1"_s, "一号机"_s));
        m.renameGroup("G1"_s, "一车间"_s);
        QCOMPARE(asRows(m).at(1), P::toList(P::orderRecord(other)));
        for (int i : {0, 2, 3})
            QCOMPARE(m.rows().at(i).macName + m.rows().at(i).groupName, "一号机一车间"_s);
        // A short row reads its file as empty. The machine index still holds after the writes.
        report(m, "M3"_s, entry(QString(), QVariant(), 5));
        QCOMPARE(asRows(m).at(4), (L{"P"_s, 1, "M3"_s, ""_s, ""_s, ""_s, 0, 5, 0,
                                     QVariant::fromValue(YmPieceMap())}));
    }
    // Machines as letter + state code: unknown codes count nowhere, a later entry wins.
    void stateCounts()
    {
        L macs;
        for (const QString &s : "a0 b1 c2 d3 e7 f-1 g1 g3"_s.split(u' '))
            macs << rec({s.left(1), s, s.mid(1).toInt()});
        YmOrderModel m;
        m.setMachineState("stale"_s, 1); // dropped by setMachines
        m.setMachines(P::machineEntries(macs));
        const YmStateCounts c = m.stateCounts();
        QCOMPARE(c.online * 1000 + c.working * 100 + c.abnormal * 10 + c.offline, 1121);
    }
    // Each payload is pushed as the rows, as the machine list and as process entries.
    void malformedPayloads_data()
    {
        QTest::addColumn<L>("payload");
        const QVariant map = QVariantMap{{"k"_s, 1}}, m1 = "M1"_s, f = "f"_s, x = "x"_s;
        const QVariant text = rec({"P"_s, 1, m1, x, x, f, "10"_s, x, x, x});
        QTest::newRow("text for numbers") << L{text, text, rec({f, map, 2}), rec({m1, x, x})};
        QTest::newRow("short") << L{rec({"P"_s, 1, m1}), rec({f, vp("k=3"_s)}), rec({f}), rec({})};
        QTest::newRow("no records") << L{map, 42, "row"_s, QVariant()};
    }
    void malformedPayloads()
    {
        QFETCH(L, payload);
        YmOrderModel m;
        m.setMachines(P::machineEntries(payload));
        load(m, payload);
        for (const QString &key : {"M1"_s, QString(), QString(), "M1"_s}) {
            report(m, key, payload);
            m.renameMachine(key, "renamed"_s);
            m.renameGroup(key, "G"_s);
        }
        m.dashboardFigures();
        QCOMPARE(m.rows().size(), payload.size());
        for (int i = 0; i < payload.size(); ++i) // rows that are no list belong to no machine
            QCOMPARE(m.rows().at(i).isRecord, payload.at(i).userType() == QMetaType::QVariantList);
        load(m, {row("P"_s, "M1"_s, "f"_s, 4, 0), row("P"_s, "M1"_s, "f"_s, 4, 0)});
        report(m, "M1"_s, entry("f"_s, vp("a=3,b=3"_s), 0));
        QCOMPARE(st(m), "6:ab 0:"_s);
    }
    // Only a plan above its notify percent notifies: A stands at its 50 %, B is past it.
    void notifiesAboveTheThreshold()
    {
        L a = row("A"_s, "M1"_s, "a.nc"_s, 10, 5).toList(),
          b = row("B"_s, "M2"_s, "b.nc"_s, 10, 6).toList();
        a[8] = 50;
        b[8] = 50;
        YmOrderModel m;
        load(m, {QVariant(a), QVariant(b)});
        QCOMPARE(m.dashboardFigures().notifyingPlans, QStringList{"B"_s});
    }
    // The numbers kept beside the rows match a fresh reading after a write. Step:
    // "old new" group rename, "- - mac" machine rename, "- - - mac file qty" process.
    void figuresFollowWrites_data()
    {
        QTest::addColumn<QString>("step"); // then "=", group bars, plan bars
        QTest::newRow("rename group") << "G1 G3 = G3:25:0 G2:5:0 A:15:0 B:15:0";
        QTest::newRow("merge groups") << "G2 G1 = G1:30:0 A:15:0 B:15:0";
        QTest::newRow("machine rename") << "- - M1 = G1:25:0 G2:5:0 A:15:0 B:15:0";
        QTest::newRow("one row") << "- - - M2 b.nc 9 = G1:25:9 G2:5:0 A:15:0 B:15:9";
        QTest::newRow("shared") << "- - - M1 a.nc 0 = G1:25:12 G2:5:0 A:15:12 B:15:0";
    }
    void figuresFollowWrites()
    {
        QFETCH(QString, step);
        YmOrderModel m;
        load(m, {row("A"_s, "M1"_s, "a.nc"_s, 10, 0), row("B"_s, "M2"_s, "b.nc"_s, 15, 0),
                 row("A"_s, "M1"_s, "a.nc"_s, 5, 0, {}, "G2"_s)});
        const QStringList w = step.section(u'=', 0, 0).split(u' ');
        m.renameGroup(w.value(0), w.value(1));
        m.renameMachine(w.value(2), "renamed"_s);
        report(m, w.value(3), entry(w.value(4), vp("a=4,b=4,c=4"_s), w.value(5).toInt()));
        for (const auto &d : {m.dashboardFigures(), YmDashboardFigures::compute(m.rows())}) {
            QStringList out;
            for (const QVariant &bar : d.groupBars + d.planBars)
                out << bar.toStringList().join(u':');
            QCOMPARE(out.join(u' '), step.section("= "_s, 1));
        }
    }
};

QTEST_MAIN(TstOrderModel)
#include "tst_ordermodel.moc"
