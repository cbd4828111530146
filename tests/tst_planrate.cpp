#include "ymharness.h"
#include "ymtestsupport.h"
#include "ymworkshopplanratechart.h"
#include "ymworkshopplanratelabel.h"
#include "ymworkshopplanratepage.h"

#include <QtMath>
#include <QtTest>

#include <climits>

const QRgb kArc = qRgb(0, 228, 255), kInnerDisc = qRgb(19, 45, 122), kOuterDisc = qRgb(15, 35, 96);

class TstPlanrate : public QObject
{
    Q_OBJECT
    // Pixel of a 200 x 200 gauge at Qt arc angle `deg` on the arc's middle
    // radius.
    static QRgb arcPixel(const QImage &img, double deg)
    {
        const double a = qDegreesToRadians(deg);
        return img.pixel(qRound(100 + 61 * qCos(a)), qRound(100 - 61 * qSin(a)));
    }

private slots:
    void initTestCase() { YmHarness::start(); }
    // Arc degrees and percentage; the arc starts at -138 degrees and runs
    // clockwise for positive rates. It is probed inside and beyond (NaN: no
    // probe).
    void gauge_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("completed");
        QTest::addColumn<int>("span");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("inside");
        QTest::addColumn<double>("beyond");
        const double none = qQNaN();
        const auto row = [](const char *name, int t, int c, int span, const char *text, double in,
                            double out) {
            QTest::newRow(name) << t << c << span << QString::fromLatin1(text) << in << out;
        };
        row("200/50", 200, 50, 67, "25.00", -196, -206);
        row("3/1 rounds the text", 3, 1, 90, "33.33", -219, -229);
        row("200/51 truncates the span", 200, 51, 68, "25.50", -199.5, -206);
        row("100/1", 100, 1, 2, "1.00", -136, -128);
        row("100/100 stops before the last tick", 100, 100, 270, "100.00", -38, -50);
        row("150% runs round", 100, 150, 405, "150.00", -50, none);
        row("total 0", 0, 0, 0, "0.00", none, -135);
        row("total 0, some done", 0, 25, 0, "0.00", none, -135);
        row("negative runs anticlockwise", 100, -50, -135, "-50.00", -20, -168);
        row("huge", 1, INT_MAX, INT_MAX, "214748364700.00", -168, none);
    }
    void gauge()
    {
        QFETCH(int, total);
        QFETCH(int, completed);
        QFETCH(QString, text);
        QFETCH(double, inside);
        QFETCH(double, beyond);
        YmWorkshopPlanRateChart chart;
        chart.setTotal(total);
        chart.setCompleted(completed);
        QTEST(chart.span(), "span");
        QCOMPARE(chart.percentText(), text + QLatin1Char('%'));
        const QImage img = renderAt(chart, QSize(200, 200));
        if (!qIsNaN(inside))
            QCOMPARE(arcPixel(img, inside), kArc);
        if (!qIsNaN(beyond))
            QCOMPARE(arcPixel(img, beyond), kInnerDisc);
    }

    void gaugeFitsSmallerSide()
    {
        YmWorkshopPlanRateChart chart;
        const QImage img = renderAt(chart, QSize(400, 300));
        // Centred at (200, 150); the outer disc's 90 units are 135 pixels.
        QCOMPARE(img.pixel(200 - 132, 150), kOuterDisc);
        QVERIFY(img.pixel(200 - 138, 150) != kOuterDisc);
        QCOMPARE(img.pixel(200, 150 + 132), kOuterDisc);
        QVERIFY(img.pixel(200, 150 - 138) != kOuterDisc);
    }

    void pageValues()
    {
        YmWorkshopPlanRatePage page;
        page.setCompletion(200, 50);
        QCOMPARE(page.completedLabel()->value(), 50);
        QCOMPARE(page.outstandingLabel()->value(), 150);
        QCOMPARE(page.chart()->totalText(), QStringLiteral("今日总单: 200 "));
        page.setCompletion(100, 150);
        QCOMPARE(page.outstandingLabel()->value(), -50);
        QCOMPARE(page.chart()->percentText(), QStringLiteral("150.00%"));
        page.setCompletion(12345678, 1);
        QCOMPARE(page.chart()->totalText(), QStringLiteral("今日总单: 12345678 "));
    }

    void labelBrackets()
    {
        YmWorkshopPlanRateLabel label;
        const QImage img = renderAt(label, QSize(160, 120));
        const QRgb blue = qRgb(1, 195, 255);
        // Brackets in the four corners, not along the edges.
        for (const QPoint p : {QPoint(1, 1), QPoint(158, 1), QPoint(158, 118), QPoint(1, 118)})
            QCOMPARE(img.pixel(p), blue);
        QVERIFY(img.pixel(1, 40) != blue && img.pixel(40, 1) != blue);
        // The middle line at y = 59 fades from opaque to half towards its ends (red
        // is the window's grey showing through) and is one pixel thin.
        const int mid = qRed(img.pixel(80, 59)), end = qRed(img.pixel(16, 59));
        QVERIFY(mid < 5 && end > 100 && end < 140 && qRed(img.pixel(80, 61)) > 200);
    }
};

QTEST_MAIN(TstPlanrate)
#include "tst_planrate.moc"
