#include "ymdashboardfigures.h"
#include "ymharness.h"
#include "ympayload.h"

#include <QtTest>

class TstDashboardFigures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }
    // "rows > notes > bars": rows "plan group planned completed threshold" joined by ";"
    // ("~" is a row that is no list, "max" the largest int); notes joined by "|", "@"
    // standing for the prefix "计划订单："; bars, checked when given, as "plan bars |
    // group bars totals".
    void compute_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("no rows") << " >  > | 0/0";
        QTest::newRow("last threshold 80") << "A G 10 6 50;A G 10 6 80 > ";
        QTest::newRow("last threshold 50") << "A G 10 6 80;A G 10 6 50 > @A(12/20)60.00%";
        QTest::newRow("equal is not above") << "A G 3 2 66 > ";
        QTest::newRow("above") << "A G 3 2 65;B G 3 3 66 > @A(2/3)66.00%|@B(3/3)100.00%";
        QTest::newRow("45 of 50") << "A G 50 45 80 > @A(45/50)90.00%";
        QTest::newRow("over all rows of a plan") << "A G 10 10 60;A G 10 0 60 > ";
        QTest::newRow("threshold 0") << "A G 10 10 0 > ";
        QTest::newRow("planned 0") << "A G 0 10 5 > ";
        QTest::newRow("first-seen order") << "Z G9 1 1 9;B G1 1 0 9;M G9 1 1 9;B G1 1 1 9 > "
                                             "@Z(1/1)100.00%|@B(1/2)50.00%|@M(1/1)100.00% > "
                                             "Z:1:1 B:2:1 M:1:1 | G9:2:2 G1:2:1 4/3";
        QTest::newRow("case-sensitive") << "a G 2 2 90;A G 2 0 90 > @a(2/2)100.00%";
        QTest::newRow("placeholders") << "%2-%1 G 1 1 1 > @%2-%1(1/1)100.00%";
        QTest::newRow("no list") << "~;A G 4 5 10 > @A(5/4)125.00% > :0:0 A:4:5 | :0:0 G:4:5 4/5";
        QTest::newRow("saturate")
            << "A G max max 50;A G max max 50;B H -5 1 0 > @A(4294967294/"
               "4294967294)100.00% > A:max:max B:-5:1 | G:max:max H:-5:1 max/max";
    }
    void compute()
    {
        QFETCH(QString, line);
        line.replace(u'@', QStringLiteral("计划订单："));
        line.replace(QStringLiteral("max"), QString::number(std::numeric_limits<int>::max()));
        const QString sep = QStringLiteral(" > ");
        QVariantList rows;
        for (const QString &row : line.section(sep, 0, 0).split(u';', Qt::SkipEmptyParts)) {
            const QStringList f = row.split(u' ');
            QVariantList r{f[0], {}, {}, {}, f.value(1), {}};
            for (int i = 2; i < f.size(); ++i)
                r << f[i].toInt();
            rows << (f.size() < 5 ? QVariant(row) : QVariant(r));
        }
        const YmDashboardFigures d = YmDashboardFigures::compute(YmPayload::orderRecords(rows));
        QString text = d.notifications.join(u'|') + sep;
        for (const QVariant &bar : d.planBars + QVariantList{QStringLiteral("|")} + d.groupBars)
            text += bar.toStringList().join(u':') + u' ';
        text += QStringLiteral("%1/%2").arg(d.totalPlanned).arg(d.totalCompleted);
        QCOMPARE(text.section(sep, 0, line.count(sep) - 1), line.section(sep, 1));
    }
    // "completed planned percent"
    void percentOf_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("truncates") << "2 3 66";
        QTest::newRow("toward zero") << "-2 3 -66";
        QTest::newRow("planned 0") << "5 0 0";
        QTest::newRow("int sums") << "4294967294 4294967294 100";
        QTest::newRow("product beyond 64 bits") << "9223372036854775807 9223372036854775807 100";
        QTest::newRow("just past the exact range") << "92233720368547759 1 9223372036854775807";
        QTest::newRow("negative beyond 64 bits") << "-9223372036854775807 1 -9223372036854775807";
    }
    void percentOf()
    {
        QFETCH(QString, line);
        const QStringList n = line.split(u' ');
        QCOMPARE(YmDashboardFigures::percentOf(n[0].toLongLong(), n[1].toLongLong()),
                 n[2].toLongLong());
    }
};

QTEST_MAIN(TstDashboardFigures)
#include "tst_dashboardfigures.moc"
