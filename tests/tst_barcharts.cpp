#include "ymchartscale.h"
#include "ymmetatypes.h"
#include "ymresources.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopverticalbarchart.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <limits>

using namespace YmChartScale;

namespace {
const QRgb kHPlanned = qRgb(22, 92, 154);
const QRgb kHCompleted = qRgb(45, 198, 255);
const QRgb kVCompleted = qRgb(134, 117, 231);

QVariantList bar(const QString &name, int planned, int completed)
{
    return QVariantList{name, planned, completed};
}

template<class Chart>
QImage render(const Chart &chart, const QSize &size)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    QPainter p(&img);
    chart.draw(&p, QRect(QPoint(0, 0), size));
    return img;
}

bool near(QRgb a, QRgb b, int tolerance = 3)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
           && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}
} // namespace

class TstBarcharts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void scaleRounding_data();
    void scaleRounding();
    void tickAndLabelValues();
    void readBarEntries_data();
    void readBarEntries();
    void referenceValues();
    void horizontalLayoutGeometry();
    void duplicateNamesCountOnce();
    void horizontalBarEnds();
    void verticalBarTops();
    void malformedListsPaint_data();
    void malformedListsPaint();
};

void TstBarcharts::initTestCase()
{
    ymRegisterResources();
    ymRegisterMetaTypes();
}

void TstBarcharts::scaleRounding_data()
{
    QTest::addColumn<qint64>("reference");
    QTest::addColumn<bool>("hasBars");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("7") << qint64(7) << true << qint64(8);
    QTest::newRow("10") << qint64(10) << true << qint64(11);
    QTest::newRow("11") << qint64(11) << true << qint64(21);
    QTest::newRow("80") << qint64(80) << true << qint64(90);
    QTest::newRow("100") << qint64(100) << true << qint64(110);
    QTest::newRow("101") << qint64(101) << true << qint64(201);
    QTest::newRow("950") << qint64(950) << true << qint64(1050);
    QTest::newRow("zero") << qint64(0) << true << qint64(1);
    QTest::newRow("empty list") << qint64(500) << false << qint64(1);
    QTest::newRow("minus one") << qint64(-1) << true << qint64(1);
    QTest::newRow("very negative") << qint64(-5000) << true << qint64(1);
    QTest::newRow("INT_MAX") << qint64(std::numeric_limits<int>::max()) << true
                             << qint64(3147483647LL);
    QTest::newRow("sum of many INT_MAX")
        << qint64(300) * std::numeric_limits<int>::max() << true
        << qint64(300) * std::numeric_limits<int>::max() + 100000000000LL;
    QTest::newRow("INT64_MAX") << std::numeric_limits<qint64>::max() << true
                               << std::numeric_limits<qint64>::max();
}

void TstBarcharts::scaleRounding()
{
    QFETCH(qint64, reference);
    QFETCH(bool, hasBars);
    QFETCH(qint64, expected);
    QCOMPARE(scaleMax(reference, hasBars), expected);
}

void TstBarcharts::tickAndLabelValues()
{
    QList<qint64> ticks;
    for (int k = 1; k <= 10; ++k)
        ticks << tickValue(90, k);
    QCOMPARE(ticks, (QList<qint64>{9, 18, 27, 36, 45, 54, 63, 72, 81, 90}));
    for (int k = 1; k <= 10; ++k)
        QCOMPARE(tickValue(1, k), qint64(0));

    QList<qint64> labels;
    for (int i = 0; i <= 5; ++i)
        labels << valueLabel(220, i);
    QCOMPARE(labels, (QList<qint64>{220, 184, 148, 112, 76, 40}));
    for (int i = 0; i <= 5; ++i)
        QCOMPARE(valueLabel(1, i), qint64(1));
}

void TstBarcharts::readBarEntries_data()
{
    QTest::addColumn<QVariant>("entry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("planned");
    QTest::addColumn<int>("completed");
    QTest::newRow("full") << QVariant(bar(QStringLiteral("A"), 50, 20)) << QStringLiteral("A") << 50
                          << 20;
    QTest::newRow("numbers as text")
        << QVariant(QVariantList{QStringLiteral("B"), QStringLiteral("30"), QStringLiteral("x")})
        << QStringLiteral("B") << 30 << 0;
    QTest::newRow("name only") << QVariant(QVariantList{QStringLiteral("C")}) << QStringLiteral("C")
                               << 0 << 0;
    QTest::newRow("two fields") << QVariant(QVariantList{QStringLiteral("D"), 7})
                                << QStringLiteral("D") << 7 << 0;
    QTest::newRow("empty list") << QVariant(QVariantList()) << QString() << 0 << 0;
    QTest::newRow("string") << QVariant(QStringLiteral("plain")) << QString() << 0 << 0;
    QTest::newRow("map") << QVariant(QVariantMap{{QStringLiteral("k"), 5}}) << QString() << 0 << 0;
    QTest::newRow("invalid") << QVariant() << QString() << 0 << 0;
    QTest::newRow("extra fields") << QVariant(QVariantList{QStringLiteral("E"), 1, 2, 3, 4})
                                  << QStringLiteral("E") << 1 << 2;
}

void TstBarcharts::readBarEntries()
{
    QFETCH(QVariant, entry);
    const BarEntry read = readBar(entry);
    QTEST(read.name, "name");
    QTEST(read.planned, "planned");
    QTEST(read.completed, "completed");
}

void TstBarcharts::referenceValues()
{
    const QVector<BarEntry> bars
        = readBars({bar(QStringLiteral("A"), 50, 20), bar(QStringLiteral("B"), 30, 30),
                    bar(QStringLiteral("C"), -10, 0)});
    QCOMPARE(plannedSum(bars), qint64(70));
    QCOMPARE(plannedMax(bars), qint64(50));
    QCOMPARE(plannedMax(readBars({bar(QStringLiteral("N"), -3, 1)})), qint64(0));
    const int big = std::numeric_limits<int>::max();
    QCOMPARE(
        plannedSum(readBars({bar(QStringLiteral("X"), big, 0), bar(QStringLiteral("Y"), big, 0)})),
        2 * qint64(big));
}

void TstBarcharts::horizontalLayoutGeometry()
{
    const HorizontalLayout none = horizontalLayout(560, 430, 17, 24, -1, 0, 1);
    QCOMPARE(none.nameRight, 20.0);
    QCOMPARE(none.left, 25.0);
    QCOMPARE(none.topY, 37);
    QCOMPARE(none.baseY, 430 - 24 - 5.0);

    const HorizontalLayout two = horizontalLayout(560, 430, 17, 24, 60, 2, 90);
    QCOMPARE(two.left, 85.0);
    QCOMPARE(two.right, 530.0);
    QVERIFY(qFuzzyCompare(two.fullLength, 10 * two.tickStep));
    QVERIFY(qFuzzyCompare(two.left + 10.5 * two.tickStep, two.right));
    // The bars and the gaps between them share the axis height in 2n+1 bands.
    QVERIFY(qFuzzyCompare(horizontalBarTop(two, 1), two.baseY - 2 * two.band));
    QVERIFY(qFuzzyCompare(horizontalBarTop(two, 2) - two.band, double(two.topY)));
    QCOMPARE(barLength(two.fullLength, 90, 90), two.fullLength);
    QCOMPARE(barLength(two.fullLength, 45, 90), two.fullLength / 2);
    // Huge quantities stay finite and convertible.
    const double huge = barLength(two.fullLength, std::numeric_limits<int>::max(), 1);
    QVERIFY(qIsFinite(huge));
    QVERIFY(truncPixels(huge) > 0);
    QCOMPARE(truncPixels(std::numeric_limits<double>::quiet_NaN()), 0);
    QCOMPARE(truncPixels(-3.9), -3);
}

void TstBarcharts::duplicateNamesCountOnce()
{
    YmWorkshopHorizontalBarChart once;
    // A braced single list would be copied, not nested: wrap the entry.
    once.setBarData({QVariant(bar(QStringLiteral("Plan-Long-Name"), 5, 1))});
    YmWorkshopHorizontalBarChart twice;
    twice.setBarData({bar(QStringLiteral("Plan-Long-Name"), 5, 1),
                      bar(QStringLiteral("Plan-Long-Name"), 5, 1), bar(QStringLiteral("x"), 5, 1)});
    const QSize size(560, 430);
    QCOMPARE(twice.layoutFor(size).nameRight, once.layoutFor(size).nameRight);
    QVERIFY(once.layoutFor(size).nameRight > 40);
}

void TstBarcharts::horizontalBarEnds()
{
    YmWorkshopHorizontalBarChart chart;
    chart.setBarData({bar(QStringLiteral("A"), 50, 20), bar(QStringLiteral("B"), 30, 30)});
    const QSize size(560, 430);
    const HorizontalLayout l = chart.layoutFor(size);
    QCOMPARE(l.scaleMax, qint64(90));
    const QImage img = render(chart, size);
    const int x0 = truncPixels(l.left);

    // A: the lower bar; completed part, then planned part up to trunc(lenP).
    const int yA = truncPixels(horizontalBarTop(l, 1)) + 1;
    const int endPA = x0 + truncPixels(barLength(l.fullLength, 50, 90));
    const int endCA = x0 + truncPixels(barLength(l.fullLength, 20, 90));
    QCOMPARE(img.pixel(endCA - 1, yA), kHCompleted);
    QCOMPARE(img.pixel(endCA + 1, yA), kHPlanned);
    QCOMPARE(img.pixel(endPA - 1, yA), kHPlanned);
    QVERIFY(img.pixel(endPA, yA) != kHPlanned);
    QVERIFY(img.pixel(endPA + 2, yA) != kHPlanned);

    // B: one band above A's gap; completed covers planned completely.
    const int yB = truncPixels(horizontalBarTop(l, 2)) + 1;
    const int endB = x0 + truncPixels(barLength(l.fullLength, 30, 90));
    QCOMPARE(img.pixel(endB - 1, yB), kHCompleted);
    QVERIFY(img.pixel(endB, yB) != kHPlanned);
    // Nothing of a bar in the gap between A and B.
    QVERIFY(img.pixel(x0 + 5, truncPixels(horizontalBarTop(l, 1) - l.band / 2)) != kHPlanned);
}

void TstBarcharts::verticalBarTops()
{
    YmWorkshopVerticalBarchart chart;
    chart.setBarData({bar(QStringLiteral("G1"), 40, 10), bar(QStringLiteral("G2"), 120, 130)});
    const QSize size(900, 330);
    const VerticalLayout l = chart.layoutFor(size);
    QCOMPARE(l.scaleMax, qint64(220));
    const QImage img = render(chart, size);

    // G1 planned: translucent over black.
    const QRgb plannedOnBlack = qRgb(134 * 127 / 255, 117 * 127 / 255, 231 * 127 / 255);
    const double x1 = verticalPlannedX(l, 0);
    const double top1 = l.axisY - barLength(l.stepY * 6, 40, 220);
    QVERIFY(near(img.pixel(int(x1) + 3, int(top1) + 2), plannedOnBlack));
    QVERIFY(!near(img.pixel(int(x1) + 3, int(top1) - 2), plannedOnBlack));
    // G1 completed stands beside it, lower.
    const double top1c = l.axisY - barLength(l.stepY * 6, 10, 220);
    QCOMPARE(img.pixel(int(x1 + l.barW) + 3, int(top1c) + 2), kVCompleted);
    QVERIFY(img.pixel(int(x1 + l.barW) + 3, int(top1c) - 3) != kVCompleted);

    // G2: the completed bar is taller than the planned one.
    const double x2c = verticalPlannedX(l, 1) + l.barW;
    const double top2p = l.axisY - barLength(l.stepY * 6, 120, 220);
    const double top2c = l.axisY - barLength(l.stepY * 6, 130, 220);
    QVERIFY(top2c < top2p - 4);
    QCOMPARE(img.pixel(int(x2c) + 3, int(top2p) - 2), kVCompleted);
    QVERIFY(img.pixel(int(x2c) + 3, int(top2c) - 3) != kVCompleted);
}

void TstBarcharts::malformedListsPaint_data()
{
    QTest::addColumn<QVariantList>("bars");
    const int big = std::numeric_limits<int>::max();
    QTest::newRow("empty") << QVariantList();
    QTest::newRow("rows of one") << QVariantList{QVariantList{QStringLiteral("a")},
                                                 QVariantList{QStringLiteral("b")}};
    QTest::newRow("strings") << QVariantList{QStringLiteral("x"), QStringLiteral("y")};
    QTest::newRow("map") << QVariantList{QVariantMap{{QStringLiteral("a"), 1}}};
    QTest::newRow("invalid") << QVariantList{QVariant()};
    QTest::newRow("negative") << QVariantList{QVariant(bar(QStringLiteral("n"), -1, -7))};
    QTest::newRow("huge") << QVariantList{
        bar(QStringLiteral("h"), big, big),
        bar(QStringLiteral("i"), big, std::numeric_limits<int>::min())};
    QVariantList many;
    for (int i = 0; i < 300; ++i)
        many << QVariant(bar(QString::number(i), i, i / 2));
    QTest::newRow("300 bars") << many;
}

void TstBarcharts::malformedListsPaint()
{
    QFETCH(QVariantList, bars);
    const QSize size(560, 430);
    YmWorkshopHorizontalBarChart h;
    h.setBarData(bars);
    const QImage hi = render(h, size);
    const HorizontalLayout hl = h.layoutFor(size);
    QVERIFY(hl.scaleMax >= 1);
    // The value axis is drawn whatever the data.
    const QRgb axis = hi.pixel(qRound(hl.left), (hl.topY + truncPixels(hl.baseY)) / 2);
    QVERIFY2(qBlue(axis) > 150 && qRed(axis) < 120, "horizontal axis missing");

    YmWorkshopVerticalBarchart v;
    v.setBarData(bars);
    const QImage vi = render(v, size);
    const VerticalLayout vl = v.layoutFor(size);
    QVERIFY(vl.scaleMax >= 1);
    const QRgb vaxis = vi.pixel(size.width() / 2, vl.axisY);
    QVERIFY2(qBlue(vaxis) > 150 && qRed(vaxis) < 120, "vertical axis missing");
}

QTEST_MAIN(TstBarcharts)
#include "tst_barcharts.moc"
