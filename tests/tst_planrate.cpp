#include "ymcompletionrate.h"
#include "ymmetatypes.h"
#include "ymresources.h"
#include "ymworkshopplanratechart.h"
#include "ymworkshopplanratelabel.h"
#include "ymworkshopplanratepage.h"

#include <QBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <QtTest>

#include <limits>

namespace {
const QRgb kArc = qRgb(0, 228, 255);
const QRgb kInnerDisc = qRgb(19, 45, 122);
const QRgb kOuterDisc = qRgb(15, 35, 96);

template<class W>
QImage render(const W &widget, const QSize &size)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    QPainter p(&img);
    widget.draw(&p, QRect(QPoint(0, 0), size));
    return img;
}

// Pixel at Qt arc angle `degrees` (anticlockwise from three o'clock) and
// `radius` units of a gauge drawn at 200 x 200 (one unit per pixel).
QRgb gaugePixel(const QImage &img, double degrees, double radius)
{
    const double a = qDegreesToRadians(degrees);
    return img.pixel(qRound(100 + radius * qCos(a)), qRound(100 - radius * qSin(a)));
}
} // namespace

class TstPlanrate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rateNumbers_data();
    void rateNumbers();
    void pageForm();
    void setCompletionValues_data();
    void setCompletionValues();
    void arcPixels_data();
    void arcPixels();
    void gaugeScalesWithSmallerSide();
    void arcBandMatchesPieMinusDisc_data();
    void arcBandMatchesPieMinusDisc();
    void labelPainting();
};

void TstPlanrate::initTestCase()
{
    ymRegisterResources();
    ymRegisterMetaTypes();
}

void TstPlanrate::rateNumbers_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("completed");
    QTest::addColumn<int>("span");
    QTest::addColumn<QString>("text");
    const int big = std::numeric_limits<int>::max();
    QTest::newRow("200/50") << 200 << 50 << 67 << QStringLiteral("25.00");
    QTest::newRow("3/1 rounds") << 3 << 1 << 90 << QStringLiteral("33.33");
    QTest::newRow("200/51 truncates") << 200 << 51 << 68 << QStringLiteral("25.50");
    QTest::newRow("100/1") << 100 << 1 << 2 << QStringLiteral("1.00");
    QTest::newRow("over 100%") << 100 << 150 << 405 << QStringLiteral("150.00");
    QTest::newRow("total 0") << 0 << 0 << 0 << QStringLiteral("0.00");
    QTest::newRow("total 0, some done") << 0 << 25 << 0 << QStringLiteral("0.00");
    QTest::newRow("negative done") << 100 << -50 << -135 << QStringLiteral("-50.00");
    QTest::newRow("huge rate") << 1 << big << big << QStringLiteral("214748364700.00");
}

void TstPlanrate::rateNumbers()
{
    QFETCH(int, total);
    QFETCH(int, completed);
    YmWorkshopPlanRateChart chart;
    chart.setTotal(total);
    chart.setCompleted(completed);
    QCOMPARE(chart.scaleDegrees(), 270);
    QTEST(chart.span(), "span");
    QFETCH(QString, text);
    QCOMPARE(YmCompletionRate::percentText(chart.percent()), text);
    QCOMPARE(chart.percentText(), text + QLatin1Char('%'));
}

void TstPlanrate::pageForm()
{
    YmWorkshopPlanRatePage page;
    QCOMPARE(page.objectName(), QStringLiteral("YmWorkshopPlanRatePage"));
    QCOMPARE(page.size(), QSize(592, 534));
    QCOMPARE(page.windowTitle(), QStringLiteral("Form"));

    auto *vbox = page.findChild<QVBoxLayout *>(QStringLiteral("verticalLayout"));
    QVERIFY(vbox);
    QCOMPARE(page.layout(), vbox);
    QCOMPARE(vbox->contentsMargins().bottom(), 27);
    QCOMPARE(vbox->stretch(0), 3);
    QCOMPARE(vbox->stretch(1), 1);
    auto *chart = page.findChild<YmWorkshopPlanRateChart *>(QStringLiteral("widget"));
    QVERIFY(chart);
    QCOMPARE(vbox->itemAt(0)->widget(), chart);
    QCOMPARE(page.chart(), chart);

    auto *hbox = page.findChild<QHBoxLayout *>(QStringLiteral("horizontalLayout"));
    QVERIFY(hbox);
    QCOMPARE(vbox->itemAt(1)->layout(), hbox);
    QCOMPARE(hbox->spacing(), 50);
    QCOMPARE(hbox->contentsMargins().left(), 50);
    QCOMPARE(hbox->contentsMargins().right(), 50);
    auto *done = page.findChild<YmWorkshopPlanRateLabel *>(QStringLiteral("widget_completed"));
    auto *last = page.findChild<YmWorkshopPlanRateLabel *>(QStringLiteral("widget_last"));
    QVERIFY(done && last);
    QCOMPARE(hbox->itemAt(0)->widget(), done);
    QCOMPARE(hbox->itemAt(1)->widget(), last);
    QCOMPARE(done->title(), QStringLiteral("已完成量"));
    QCOMPARE(last->title(), QStringLiteral("未完成量"));
    QCOMPARE(done->value(), 0);
    QCOMPARE(last->value(), 0);
    QCOMPARE(done->textSize(), 25);
    QCOMPARE(chart->totalText(), QStringLiteral("今日总单: 0 "));
    QCOMPARE(chart->percentText(), QStringLiteral("0.00%"));
}

void TstPlanrate::setCompletionValues_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("completed");
    QTest::addColumn<int>("outstanding");
    QTest::addColumn<QString>("totalText");
    QTest::newRow("200/50") << 200 << 50 << 150 << QStringLiteral("今日总单: 200 ");
    QTest::newRow("over") << 100 << 150 << -50 << QStringLiteral("今日总单: 100 ");
    QTest::newRow("zero") << 0 << 0 << 0 << QStringLiteral("今日总单: 0 ");
    QTest::newRow("large total, g format")
        << 12345678 << 1 << 12345677 << QStringLiteral("今日总单: 1.23457e+07 ");
}

void TstPlanrate::setCompletionValues()
{
    QFETCH(int, total);
    QFETCH(int, completed);
    YmWorkshopPlanRatePage page;
    page.setCompletion(total, completed);
    QCOMPARE(page.completedLabel()->value(), completed);
    QTEST(page.outstandingLabel()->value(), "outstanding");
    QCOMPARE(page.chart()->total(), double(total));
    QCOMPARE(page.chart()->completed(), double(completed));
    QTEST(page.chart()->totalText(), "totalText");
}

void TstPlanrate::arcPixels_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("completed");
    QTest::addColumn<double>("angle");
    QTest::addColumn<bool>("arc");
    // The arc starts at -138 degrees and runs clockwise (decreasing angles).
    QTest::newRow("total 0: no arc") << 0 << 0 << -141.0 << false;
    QTest::newRow("25%: inside") << 200 << 50 << -168.0 << true;
    QTest::newRow("25%: near the end") << 200 << 50 << -196.0 << true;
    QTest::newRow("25%: beyond the end") << 200 << 50 << -206.0 << false;
    QTest::newRow("25%: far beyond") << 200 << 50 << -218.0 << false;
    QTest::newRow("25%: before the start") << 200 << 50 << -128.0 << false;
    QTest::newRow("25.5%: end moves by one degree") << 200 << 51 << -199.5 << true;
    QTest::newRow("1%: short band backwards") << 100 << 1 << -136.0 << true;
    // -50 degrees lies past the last tick (-45 = -405); a full scale stops 3 degrees short of it.
    QTest::newRow("100%: stops before the last tick") << 100 << 100 << -50.0 << false;
    QTest::newRow("110%: runs past the last tick") << 100 << 110 << -50.0 << true;
    QTest::newRow("150%: runs past the last tick") << 100 << 150 << -50.0 << true;
    QTest::newRow("100%: near its end") << 100 << 100 << -38.0 << true;
}

void TstPlanrate::arcPixels()
{
    QFETCH(int, total);
    QFETCH(int, completed);
    QFETCH(double, angle);
    QFETCH(bool, arc);
    YmWorkshopPlanRateChart chart;
    chart.setTotal(total);
    chart.setCompleted(completed);
    const QImage img = render(chart, QSize(200, 200));
    const QRgb px = gaugePixel(img, angle, 61);
    if (arc)
        QCOMPARE(px, kArc);
    else
        QCOMPARE(px, kInnerDisc);
}

void TstPlanrate::gaugeScalesWithSmallerSide()
{
    YmWorkshopPlanRateChart chart;
    const QImage img = render(chart, QSize(400, 300));
    // 300 across, centred at (200, 150): outer disc radius 90 units = 135 pixels.
    QCOMPARE(img.pixel(200 - 132, 150), kOuterDisc);
    QCOMPARE(img.pixel(200 - 138, 150), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(200 + 132, 150), kOuterDisc);
    QCOMPARE(img.pixel(200, 150 - 138), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(200, 150 + 132), kOuterDisc);
    // Inner disc ends at 80 units = 120 pixels.
    QCOMPARE(img.pixel(200 - 95, 150 - 10), kInnerDisc);
    QCOMPARE(img.pixel(200 - 125, 150 - 10), kOuterDisc);
}

void TstPlanrate::arcBandMatchesPieMinusDisc_data()
{
    QTest::addColumn<double>("sweep");
    QTest::newRow("25%") << -61.0;
    QTest::newRow("short, anticlockwise") << 4.0;
    QTest::newRow("full scale") << -264.0;
    QTest::newRow("almost a turn") << -359.0;
    QTest::newRow("more than a turn") << -399.0;
    QTest::newRow("negative rate") << 141.0;
}

void TstPlanrate::arcBandMatchesPieMinusDisc()
{
    QFETCH(double, sweep);
    const double start = -138.0;
    QPainterPath pie;
    pie.moveTo(0, 0);
    pie.arcTo(QRectF(-63, -63, 126, 126), start, sweep);
    QPainterPath disc;
    disc.addEllipse(QRectF(-59, -59, 118, 118));
    const QPainterPath paths[]
        = {pie.subtracted(disc), YmCompletionRate::arcBand(start, sweep, 59, 63)};
    QImage images[2];
    for (int i = 0; i < 2; ++i) {
        images[i] = QImage(200, 200, QImage::Format_ARGB32_Premultiplied);
        images[i].fill(Qt::black);
        QPainter p(&images[i]);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(100, 100);
        p.setPen(QColor(kArc));
        p.setBrush(QColor(kArc));
        p.drawPath(paths[i]);
    }
    int lit = 0;
    int differing = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QRgb a = images[0].pixel(x, y);
            const QRgb b = images[1].pixel(x, y);
            lit += qGreen(a) > 150;
            differing += qAbs(qGreen(a) - qGreen(b)) > 60;
        }
    }
    QVERIFY(lit > 10);
    // Only a few antialiased pixels at the band's square ends may differ.
    QVERIFY2(differing < 16, qPrintable(QString::number(differing)));
}

void TstPlanrate::labelPainting()
{
    YmWorkshopPlanRateLabel label;
    label.setTitle(QStringLiteral("T"));
    label.setValue(7);
    const QSize size(160, 120);
    const QImage img = render(label, size);
    const QRgb blue = qRgb(1, 195, 255);
    // Brackets in all four corners, nothing along the middle of the edges.
    QCOMPARE(img.pixel(1, 1), blue);
    QCOMPARE(img.pixel(158, 1), blue);
    QCOMPARE(img.pixel(158, 118), blue);
    QCOMPARE(img.pixel(1, 118), blue);
    QCOMPARE(img.pixel(1, 40), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(40, 1), qRgb(0, 0, 0));
    // Middle line at y = 59: opaque in the middle, fading to half towards the ends.
    const QRgb mid = img.pixel(80, 59);
    QVERIFY(qAbs(qGreen(mid) - 195) <= 3 && qAbs(qBlue(mid) - 255) <= 3);
    QVERIFY(qBlue(img.pixel(16, 59)) < 140 && qBlue(img.pixel(16, 59)) > 110);
    QCOMPARE(img.pixel(80, 61), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(10, 59), qRgb(0, 0, 0));
}

QTEST_MAIN(TstPlanrate)
#include "tst_planrate.moc"
