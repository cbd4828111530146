#include "ymdashboardfigures.h"
#include "ymmetatypes.h"
#include "ymresources.h"

#include <QVariantMap>
#include <QtTest>

#include <limits>

namespace {

QVariant orderRow(const QString &plan, const QString &group, int planned, int completed,
                  int notifyNum, const QString &mac = QStringLiteral("M1"))
{
    return QVariantList{plan,      QVariant(),
                        mac,       mac,
                        group,     QStringLiteral("f"),
                        planned,   completed,
                        notifyNum, QVariant::fromValue(YmPieceMap())};
}

QVariant bar(const QString &name, int planned, int completed)
{
    return QVariantList{name, planned, completed};
}

} // namespace

class TstDashboardFigures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void noRows();
    void notifications_data();
    void notifications();
    void barsKeepFirstSeenOrder();
    void hugeNumbersSaturate();
    void percentOf_data();
    void percentOf();
    void malformedRows();
};

void TstDashboardFigures::initTestCase()
{
    ymRegisterResources();
    ymRegisterMetaTypes();
}

void TstDashboardFigures::noRows()
{
    const YmDashboardFigures figures = YmDashboardFigures::compute(QVariantList());
    QVERIFY(figures.planBars.isEmpty());
    QVERIFY(figures.groupBars.isEmpty());
    QCOMPARE(figures.totalPlanned, 0);
    QCOMPARE(figures.totalCompleted, 0);
    QVERIFY(figures.notifications.isEmpty());
}

void TstDashboardFigures::notifications_data()
{
    QTest::addColumn<QVariantList>("rows");
    QTest::addColumn<QStringList>("expected");

    const QString a = QStringLiteral("A"), g = QStringLiteral("G");
    QTest::newRow("threshold of the last row wins (50 then 80)")
        << QVariantList{orderRow(a, g, 10, 6, 50), orderRow(a, g, 10, 6, 80)} << QStringList();
    QTest::newRow("threshold of the last row wins (80 then 50)")
        << QVariantList{orderRow(a, g, 10, 6, 80), orderRow(a, g, 10, 6, 50)}
        << QStringList{QStringLiteral("计划订单：A(12/20)60.00%")};
    QTest::newRow("equal to the threshold is not above it")
        << QVariantList{orderRow(a, g, 3, 2, 66)} << QStringList();
    QTest::newRow("complete") << QVariantList{orderRow(a, g, 3, 3, 66)}
                              << QStringList{QStringLiteral("计划订单：A(3/3)100.00%")};
    QTest::newRow("45 of 50") << QVariantList{orderRow(a, g, 50, 45, 80)}
                              << QStringList{QStringLiteral("计划订单：A(45/50)90.00%")};
    QTest::newRow("percent over all rows of the plan")
        << QVariantList{orderRow(a, g, 10, 10, 60, QStringLiteral("M1")),
                        orderRow(a, g, 10, 0, 60, QStringLiteral("M2"))}
        << QStringList();
    QTest::newRow("threshold 0 never notifies")
        << QVariantList{orderRow(a, g, 10, 10, 0)} << QStringList();
    QTest::newRow("planned 0 never notifies")
        << QVariantList{orderRow(a, g, 0, 10, 5)} << QStringList();
    QTest::newRow("overshoot") << QVariantList{orderRow(a, g, 4, 9, 100)}
                               << QStringList{QStringLiteral("计划订单：A(9/4)225.00%")};
    QTest::newRow("one per plan in first-seen order")
        << QVariantList{orderRow(QStringLiteral("Z"), g, 2, 2, 10),
                        orderRow(QStringLiteral("B"), g, 2, 0, 10),
                        orderRow(QStringLiteral("M"), g, 3, 2, 10),
                        orderRow(QStringLiteral("B"), g, 2, 2, 10)}
        << QStringList{QStringLiteral("计划订单：Z(2/2)100.00%"),
                       QStringLiteral("计划订单：B(2/4)50.00%"),
                       QStringLiteral("计划订单：M(2/3)66.00%")};
    QTest::newRow("plan name with placeholders stays as typed")
        << QVariantList{orderRow(QStringLiteral("%2-%1"), g, 1, 1, 1)}
        << QStringList{QStringLiteral("计划订单：%2-%1(1/1)100.00%")};
    QTest::newRow("plan names compare case-sensitively")
        << QVariantList{orderRow(QStringLiteral("a"), g, 2, 2, 90), orderRow(a, g, 2, 0, 90)}
        << QStringList{QStringLiteral("计划订单：a(2/2)100.00%")};
}

void TstDashboardFigures::notifications()
{
    QFETCH(QVariantList, rows);
    QFETCH(QStringList, expected);
    QCOMPARE(YmDashboardFigures::compute(rows).notifications, expected);
}

void TstDashboardFigures::barsKeepFirstSeenOrder()
{
    const QVariantList rows{orderRow(QStringLiteral("P2"), QStringLiteral("G9"), 5, 1, 0),
                            orderRow(QStringLiteral("P1"), QStringLiteral("G1"), 7, 2, 0),
                            orderRow(QStringLiteral("P2"), QStringLiteral("G1"), 3, 3, 0),
                            orderRow(QStringLiteral("P3"), QStringLiteral("G9"), 1, 0, 0)};
    const YmDashboardFigures figures = YmDashboardFigures::compute(rows);
    QCOMPARE(figures.planBars,
             (QVariantList{bar(QStringLiteral("P2"), 8, 4), bar(QStringLiteral("P1"), 7, 2),
                           bar(QStringLiteral("P3"), 1, 0)}));
    QCOMPARE(figures.groupBars,
             (QVariantList{bar(QStringLiteral("G9"), 6, 1), bar(QStringLiteral("G1"), 10, 5)}));
    QCOMPARE(figures.totalPlanned, 16);
    QCOMPARE(figures.totalCompleted, 6);
    // The bar entries carry plain ints, as the charts read them.
    QCOMPARE(figures.planBars.at(0).toList().at(1).userType(), int(QMetaType::Int));
}

void TstDashboardFigures::hugeNumbersSaturate()
{
    const int max = std::numeric_limits<int>::max();
    const QVariantList rows{orderRow(QStringLiteral("A"), QStringLiteral("G"), max, max, 50),
                            orderRow(QStringLiteral("A"), QStringLiteral("G"), max, max, 50),
                            orderRow(QStringLiteral("B"), QStringLiteral("H"), -5, 1, 0)};
    const YmDashboardFigures figures = YmDashboardFigures::compute(rows);
    QCOMPARE(figures.totalPlanned, max);
    QCOMPARE(figures.totalCompleted, max);
    QCOMPARE(figures.planBars.at(0), bar(QStringLiteral("A"), max, max));
    QCOMPARE(figures.groupBars.at(1), bar(QStringLiteral("H"), -5, 1));
    QCOMPARE(figures.notifications,
             QStringList{QStringLiteral("计划订单：A(4294967294/4294967294)100.00%")});
}

void TstDashboardFigures::percentOf_data()
{
    QTest::addColumn<qint64>("completed");
    QTest::addColumn<qint64>("planned");
    QTest::addColumn<qint64>("percent");

    const qint64 big = std::numeric_limits<qint64>::max();
    QTest::newRow("truncates") << qint64(2) << qint64(3) << qint64(66);
    QTest::newRow("toward zero") << qint64(-2) << qint64(3) << qint64(-66);
    QTest::newRow("planned 0") << qint64(5) << qint64(0) << qint64(0);
    QTest::newRow("int sums") << qint64(4294967294LL) << qint64(4294967294LL) << qint64(100);
    QTest::newRow("product beyond 64 bits") << big << big << qint64(100);
    QTest::newRow("result beyond 64 bits") << big << qint64(1) << big;
}

void TstDashboardFigures::percentOf()
{
    QFETCH(qint64, completed);
    QFETCH(qint64, planned);
    QFETCH(qint64, percent);
    QCOMPARE(YmDashboardFigures::percentOf(completed, planned), percent);
}

void TstDashboardFigures::malformedRows()
{
    const QVariantList rows{QVariant(QVariantMap{{QStringLiteral("0"), QStringLiteral("A")}}),
                            QVariantList{QStringLiteral("A")},
                            QVariantList{QStringLiteral("A"), 1, QStringLiteral("M")},
                            QVariantList{QStringLiteral("A"), 1, QStringLiteral("M"),
                                         QStringLiteral("n"), QStringLiteral("G"),
                                         QStringLiteral("f"), QStringLiteral("ten"),
                                         QStringLiteral("4"), QStringLiteral("x")},
                            QVariant(QStringLiteral("row")),
                            QVariant(),
                            orderRow(QStringLiteral("A"), QStringLiteral("G"), 4, 1, 10)};
    const YmDashboardFigures figures = YmDashboardFigures::compute(rows);
    // Rows that are no list read as empty: plan "" and group "" with zeros.
    QCOMPARE(figures.planBars,
             (QVariantList{bar(QString(), 0, 0), bar(QStringLiteral("A"), 4, 5)}));
    QCOMPARE(figures.groupBars,
             (QVariantList{bar(QString(), 0, 0), bar(QStringLiteral("G"), 4, 5)}));
    QCOMPARE(figures.totalPlanned, 4);
    QCOMPARE(figures.totalCompleted, 5);
    QCOMPARE(figures.notifications, QStringList{QStringLiteral("计划订单：A(5/4)125.00%")});
}

QTEST_MAIN(TstDashboardFigures)
#include "tst_dashboardfigures.moc"
