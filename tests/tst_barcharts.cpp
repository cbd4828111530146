#include "ymchartscale.h"
#include "ymharness.h"
#include "ymtestsupport.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopverticalbarchart.h"

#include <QPainter>
#include <QtTest>

#include <climits>

using namespace YmChartScale;

const QRgb kHPlanned = qRgb(22, 92, 154), kVCompleted = qRgb(134, 117, 231);

class TstBarcharts : public QObject
{
    Q_OBJECT
    static QVariant bar(QVariant p, QVariant c) { return QVariantList{QStringLiteral("n"), p, c}; }

private slots:
    void initTestCase() { YmHarness::start(); }
    // The axis end and, where given, the ten horizontal ticks followed by the six
    // vertical labels.
    void scaleAndLabels_data()
    {
        QTest::addColumn<qint64>("reference");
        QTest::addColumn<bool>("hasBars");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<QString>("labels");
        const auto row = [](const char *name, qint64 r, bool bars, qint64 max, const char *l = "") {
            QTest::newRow(name) << r << bars << max << QString::fromLatin1(l);
        };
        row("7", 7, true, 8);
        row("10", 10, true, 11);
        row("11", 11, true, 21);
        row("80", 80, true, 90, "9 18 27 36 45 54 63 72 81 90 90 75 60 45 30 15");
        row("100", 100, true, 110);
        row("101", 101, true, 201);
        row("120", 120, true, 220, "22 44 66 88 110 132 154 176 198 220 220 184 148 112 76 40");
        row("950", 950, true, 1050);
        row("empty", 500, false, 1, "0 0 0 0 0 0 0 0 0 0 1 1 1 1 1 1");
        row("negative", -5000, true, 1);
        row("LLONG_MAX terminates", LLONG_MAX, true, LLONG_MAX);
    }
    void scaleAndLabels()
    {
        QFETCH(qint64, reference);
        QFETCH(bool, hasBars);
        QFETCH(QString, labels);
        const qint64 top = scaleMax(reference, hasBars);
        QTEST(top, "expected");
        QStringList got;
        for (int k = 1; k <= 10; ++k)
            got << QString::number(tickValue(top, k));
        for (int i = 0; i <= 5; ++i)
            got << QString::number(valueLabel(top, i));
        QCOMPARE(labels.isEmpty() ? labels : got.join(QLatin1Char(' ')), labels);
    }

    // The order chart's axis end: the longest bar nearly fills it, and its ten
    // ticks are whole numbers.
    void fillingScale_data()
    {
        QTest::addColumn<qint64>("reference");
        QTest::addColumn<bool>("hasBars");
        QTest::addColumn<qint64>("expected");
        const qint64 pairs[][2] = {{1270, 1300}, {2966, 3000}, {3500, 3600}, {950, 960},
                                   {999, 1000},  {1000, 1100}, {101, 110},   {80, 90},
                                   {7, 10},      {0, 10},      {-40, 10},    {INT_MAX, 2200000000}};
        for (const auto &pair : pairs)
            QTest::addRow("%lld", pair[0]) << pair[0] << true << pair[1];
        QTest::newRow("empty") << 500LL << false << 1LL;
        QTest::newRow("LLONG_MAX") << LLONG_MAX << true << LLONG_MAX;
    }
    void fillingScale()
    {
        QFETCH(qint64, reference);
        QFETCH(bool, hasBars);
        const qint64 top = fillingScaleMax(reference, hasBars);
        QTEST(top, "expected");
        if (hasBars && top < LLONG_MAX) {
            QCOMPARE(top % 10, 0);
            if (reference >= 100)
                QVERIFY(reference >= 0.9 * top);
        }
    }

    // Tick labels thin out to every second, fifth or tenth tick; texts are
    // placed where they keep apart, or left out.
    void tickLabels_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("tickStep");
        QTest::addColumn<int>("step");
        QTest::newRow("room for all") << 30.0 << 40.0 << 1;
        QTest::newRow("exactly the gap") << 32.0 << 40.0 << 1;
        QTest::newRow("every second") << 33.0 << 40.0 << 2;
        QTest::newRow("every fifth") << 50.0 << 20.0 << 5;
        QTest::newRow("the end only") << 120.0 << 20.0 << 10;
    }
    void tickLabels()
    {
        QFETCH(double, width);
        QFETCH(double, tickStep);
        QTEST(tickLabelStep(QVector<double>(10, width), tickStep, 8), "step");
    }
    void labelPlacement()
    {
        const QRectF axisLabel(0, 90, 100, 10);
        // The first takes its own side; the second, touching it there, the
        // other side; the third fits nowhere; the fourth is clear.
        const QVector<QVector<QRectF>> candidates{{QRectF(0, 0, 40, 20), QRectF(0, 40, 40, 20)},
                                                  {QRectF(30, 10, 40, 20), QRectF(30, 50, 40, 20)},
                                                  {QRectF(10, 15, 40, 20), QRectF(10, 85, 40, 20)},
                                                  {QRectF(200, 0, 40, 20)}};
        QCOMPARE(placeLabels(candidates, {axisLabel}, 2), (QVector<int>{0, 1, -1, 0}));
        QVERIFY(!apart(QRectF(0, 0, 10, 10), QRectF(11, 0, 10, 10), 2));
        QVERIFY(apart(QRectF(0, 0, 10, 10), QRectF(12.5, 0, 10, 10), 2));
    }
    void pager()
    {
        YmPager pages;
        pages.setLayout(40, 18);
        QCOMPARE(pages.pageCount(), 3);
        QCOMPARE(pages.caption(), QStringLiteral("1/3"));
        pages.next();
        pages.next();
        QCOMPARE(pages.first(), 36);
        QCOMPARE(pages.count(), 4);
        pages.setLayout(20, 18); // fewer rows: the last page there is
        QCOMPARE(pages.page(), 1);
        pages.next();
        QCOMPARE(pages.page(), 0);
        pages.setLayout(18, 18);
        QCOMPARE(pages.caption(), QString());
        QCOMPARE(YmPager::fit(99.9, 25), 3);
        QCOMPARE(YmPager::fit(10, 25), 1);
        QCOMPARE(YmPager::fit(100, 0), 1);
    }

    // The design's layout worked out for two sizes, from nothing but the font's
    // line heights and advances (Qt's metrics, not the chart's layout code). Bars
    // and probes are drawn on black.
    void barPixels()
    {
        const auto image = [](QSize size, auto draw) {
            QImage img(size, QImage::Format_ARGB32);
            img.fill(Qt::black);
            QPainter p(&img);
            draw(&p, img.rect());
            return img;
        };
        const QRgb black = qRgb(0, 0, 0), completedH = qRgb(45, 198, 255);

        // Horizontal, 561 x 430, (A, 50, 20) below (B, 30, 30): the longest bar,
        // 50, gives an axis end of 60. Axis from y = trunc(h0 + 20) to
        // 430 - h15 - 5, split into five equal bands: gap, B, gap, A, gap (from
        // the top).
        YmWorkshopHorizontalBarChart hc;
        hc.setBarData(
            {QVariantList{QStringLiteral("A"), 50, 20}, QVariantList{QStringLiteral("B"), 30, 30}});
        QFont f15 = hc.font();
        f15.setPointSize(15);
        const QFontMetricsF fm0(hc.font()), fm15(f15);
        const double topY = int(fm0.height() + 20), baseY = 430 - fm15.height() - 5;
        const double band = (baseY - topY) / 5;
        const double left = qMax(fm15.horizontalAdvance(QStringLiteral("A")),
                                 fm15.horizontalAdvance(QStringLiteral("B")))
                            + 25;
        const double full = (531 - left) / 10.5 * 10; // ten of 10.5 tick steps
        const int x0 = int(left), yA = int(baseY - 2 * band) + 1, yB = int(baseY - 4 * band) + 1;
        const QImage hi = image(QSize(561, 430), [&](QPainter *p, QRect r) { hc.draw(p, r); });
        QCOMPARE(hi.pixel(x0 + 1, yA), completedH);
        QCOMPARE(hi.pixel(x0 + int(full * 20 / 60) + 1, yA), kHPlanned);
        QCOMPARE(hi.pixel(x0 + int(full * 50 / 60) - 1, yA), kHPlanned);
        QVERIFY(hi.pixel(x0 + int(full * 50 / 60), yA) != kHPlanned);
        QCOMPARE(hi.pixel(x0 + int(full * 30 / 60) - 1, yB),
                 completedH); // covers B's plan
        QCOMPARE(hi.pixel(x0 + int(band), int(baseY - 4 * band) - 2), black);
        for (double gap : {0.5, 2.5, 4.5}) // bands without a bar, the top one included
            QCOMPARE(hi.pixel(x0 + 5, int(baseY - gap * band)), black);

        // Vertical, 900 x 330, (G1, 40, 10) and (G2, 120, 130): largest plan 120
        // gives 220, labels 220 184 148 112 76 40 down to the lowest grid line.
        YmWorkshopVerticalBarchart vc;
        vc.setBarData({QVariantList{QStringLiteral("G1"), 40, 10},
                       QVariantList{QStringLiteral("G2"), 120, 130}});
        const int axisY = 330 - int(fm15.height()) - 45;
        const double stepY = ((axisY - topY) - fm15.height() / 2) / 6;
        const double labelW = fm15.horizontalAdvance(QStringLiteral("220"));
        const double slotW = (900 - 1 - 19 - labelW - 30) / 2, barW = slotW / 3;
        const double unit = stepY * 6 / 220, x1 = labelW + 25 + slotW / 6;
        const QImage vi = image(QSize(900, 330), [&](QPainter *p, QRect r) { vc.draw(p, r); });
        // Planned bars are translucent (alpha 127), completed ones opaque beside
        // them.
        QVERIFY(near(vi.pixel(int(x1) + 3, int(axisY - 40 * unit) + 2), qRgb(67, 58, 115), 2));
        QCOMPARE(vi.pixel(int(x1) + 3, int(axisY - 40 * unit) - 2), black);
        // A sixth of the slot is left free on either side of the pair of bars.
        QCOMPARE(vi.pixel(int(x1) - 2, int(axisY - 5 * unit)), black);
        QCOMPARE(vi.pixel(int(x1 + 2 * barW) + 2, int(axisY - 5 * unit)), black);
        QCOMPARE(vi.pixel(int(x1 + barW) + 3, int(axisY - 10 * unit) + 2), kVCompleted);
        QCOMPARE(vi.pixel(int(x1 + slotW + barW) + 3, int(axisY - 120 * unit) - 2), kVCompleted);
        QCOMPARE(vi.pixel(int(x1 + slotW + barW) + 3, int(axisY - 130 * unit) - 3), black);
        // The lowest grid line (faint blue, alpha 60) and its label "40" in
        // #0396AF.
        const double y5 = topY + 5 * stepY;
        const auto near2 = [](QRgb want) {
            return [want](QRgb c) {
                return near(c, want, 2);
            };
        };
        QVERIFY(countPixels(vi, QRect(840, int(y5 + fm15.height() / 2) - 1, 1, 3),
                            near2(qRgb(12, 46, 60)))
                > 0);
        const int tw = int(fm15.horizontalAdvance(QStringLiteral("40")));
        const QRect labelArea(QPoint(int(labelW + 20 - tw), int(y5)),
                              QPoint(int(labelW + 20) - 1, int(y5 + fm15.height()) - 1));
        QVERIFY(countPixels(vi, labelArea, near2(qRgb(3, 150, 175))) > 0);
    }

    // New data repaints the chart by itself (not only when the board's clock
    // repaints everything).
    void setBarDataRepaints_data()
    {
        QTest::addColumn<bool>("horizontal");
        QTest::newRow("order progress") << true;
        QTest::newRow("production status") << false;
    }
    void setBarDataRepaints()
    {
        QFETCH(bool, horizontal);
        YmWorkshopHorizontalBarChart hc;
        YmWorkshopVerticalBarchart vc;
        QWidget &chart = horizontal ? static_cast<QWidget &>(hc) : vc;
        chart.resize(400, 300);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        QTest::qWait(50);
        PaintCounter counter(&chart);
        const QVariantList bars{bar(10, 5)};
        horizontal ? hc.setBarData(bars) : vc.setBarData(bars);
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, 1000);
    }

    // Malformed entries read as empty / 0 and both charts still paint their
    // axes; the horizontal scale follows the largest quantity, the vertical
    // one the largest plan.
    void malformedListsPaint_data()
    {
        QTest::addColumn<QVariantList>("bars");
        QTest::addColumn<qint64>("hMax");
        QTest::addColumn<qint64>("vMax");
        const QString x = QStringLiteral("x"), n30 = QStringLiteral("30");
        const QVariantList junk{QVariantList{x}, x, QVariantMap{{x, 5}}, {}, bar(-1, -7)};
        QTest::newRow("empty") << QVariantList() << 1LL << 1LL;
        QTest::newRow("junk, negative") << junk << 10LL << 1LL;
        QTest::newRow("text") << QVariantList{bar(x, x), bar(n30, 1)} << 40LL << 40LL;
        QTest::newRow("extra fields")
            << QVariantList{QVariant(QVariantList{x, 50, 1, 2})} << 60LL << 60LL;
        QTest::newRow("huge") << QVariantList{bar(INT_MAX, INT_MAX), bar(INT_MAX, INT_MIN)}
                              << 2200000000LL << 3147483647LL;
    }
    void malformedListsPaint()
    {
        QFETCH(QVariantList, bars);
        const QSize size(560, 430);
        YmWorkshopHorizontalBarChart hc;
        YmWorkshopVerticalBarchart vc;
        hc.setBarData(bars);
        vc.setBarData(bars);
        QTEST(hc.layoutFor(size).scaleMax, "hMax");
        QTEST(vc.layoutFor(size).scaleMax, "vMax");
        // Both axes in #35C2FF: at least the x axis' length of near-axis-blue
        // pixels.
        for (QWidget *chart : {static_cast<QWidget *>(&hc), static_cast<QWidget *>(&vc)}) {
            const QImage img = renderAt(*chart, size);
            const int axis = countPixels(img, img.rect(), [](QRgb c) {
                return qAbs(qRed(c) - 53) < 20 && qAbs(qGreen(c) - 194) < 20 && qBlue(c) > 235;
            });
            QVERIFY2(axis > 400, qPrintable(QString::number(axis)));
        }
    }
};

QTEST_MAIN(TstBarcharts)
#include "tst_barcharts.moc"
