// The painted panels keep shaped texts between paints; these tests render each
// such panel with its caches and with plain drawText, and across data changes
// that replace what the caches hold, and compare the images pixel for pixel.
#include "ymclock.h"
#include "ymplatformmessagefilter.h"
#include "ymstatictextcache.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopmanagepage.h"
#include "ymworkshopverticalbarchart.h"

#include <QtTest>

namespace {

QVariantList bars(int count, int seed)
{
    QVariantList out;
    for (int i = 0; i < count; ++i) {
        const int planned = 50 + (i * 37 + seed * 11) % 450;
        out << QVariant(
            QVariantList{QStringLiteral("订单PO20240305-%1").arg(i + 1, 4, 10, QLatin1Char('0')),
                         planned, planned * ((i + seed) % 10) / 9});
    }
    return out;
}

QImage render(QWidget &w)
{
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0, 7, 62));
    w.render(&image);
    return image;
}

QImage plain(QWidget &w)
{
    YmStaticTextCache::setEnabled(false);
    const QImage image = render(w);
    YmStaticTextCache::setEnabled(true);
    return image;
}

// First differing pixel, for the failure message.
QString firstDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return QStringLiteral("sizes differ");
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("(%1, %2): %3 vs %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y), 8, 16)
                    .arg(b.pixel(x, y), 8, 16);
    return QString();
}

} // namespace

class TstPaintCache : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmPlatformMessageFilter::install(); }
    void cleanup() { YmStaticTextCache::setEnabled(true); }

    void horizontalChart_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QSize>("size");
        QTest::newRow("empty") << 0 << QSize(516, 439);
        QTest::newRow("sample day, 4 plans") << 4 << QSize(516, 439);
        QTest::newRow("large workshop, 300 plans") << 300 << QSize(516, 439);
        QTest::newRow("odd size, 7 plans") << 7 << QSize(613, 287);
    }
    void horizontalChart()
    {
        QFETCH(int, count);
        QFETCH(QSize, size);
        YmWorkshopHorizontalBarChart chart;
        chart.resize(size);
        chart.setBarData(bars(count, 1));
        const QImage uncachedA = plain(chart);
        const QImage firstA = render(chart); // fills the caches
        const QImage cachedA = render(chart);
        QVERIFY2(cachedA == uncachedA, qPrintable(firstDifference(cachedA, uncachedA)));
        QVERIFY2(firstA == uncachedA, qPrintable(firstDifference(firstA, uncachedA)));

        // New numbers (and for a non-empty chart a new axis): the cache must not
        // show the old ones.
        chart.setBarData(bars(count, 2));
        const QImage cachedB = render(chart);
        const QImage uncachedB = plain(chart);
        QVERIFY2(cachedB == uncachedB, qPrintable(firstDifference(cachedB, uncachedB)));
        if (count > 0)
            QVERIFY(cachedB != cachedA);
        chart.setBarData(bars(count, 1));
        QVERIFY(render(chart) == uncachedA);

        // A font change reshapes every text.
        QFont bigger = chart.font();
        bigger.setPointSize(bigger.pointSize() + 3);
        chart.setFont(bigger);
        const QImage cachedFont = render(chart);
        QVERIFY2(cachedFont == plain(chart), qPrintable(firstDifference(cachedFont, plain(chart))));
    }

    void verticalChart_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << 0;
        QTest::newRow("sample day, 3 groups") << 3;
        QTest::newRow("large workshop, 40 groups") << 40;
    }
    void verticalChart()
    {
        QFETCH(int, count);
        YmWorkshopVerticalBarchart chart;
        chart.resize(839, 326);
        chart.setBarData(bars(count, 1));
        const QImage uncachedA = plain(chart);
        render(chart);
        const QImage cachedA = render(chart);
        QVERIFY2(cachedA == uncachedA, qPrintable(firstDifference(cachedA, uncachedA)));
        chart.setBarData(bars(count, 2));
        const QImage cachedB = render(chart);
        const QImage uncachedB = plain(chart);
        QVERIFY2(cachedB == uncachedB, qPrintable(firstDifference(cachedB, uncachedB)));
        if (count > 0)
            QVERIFY(cachedB != cachedA);
        chart.setBarData(bars(count, 1));
        QVERIFY(render(chart) == uncachedA);
    }

    // The board page keeps its backdrop (background, gradient, title, banner);
    // the clock is drawn over it on every paint.
    void pageBackdrop()
    {
        YmWorkshopManagePage page;
        page.resize(1920, 1080);
        YmClock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(14, 0, 0)));
        page.show();
        QCoreApplication::processEvents(); // layouts settle
        const QImage uncached = plain(page);
        const QImage uncached2 = plain(page);
        QVERIFY2(uncached2 == uncached, qPrintable(firstDifference(uncached2, uncached)));
        render(page);
        QImage cached = render(page);
        QVERIFY2(cached == uncached, qPrintable(firstDifference(cached, uncached)));

        // A new second: only the clock changes, and it is not the cached one.
        YmClock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(14, 0, 1)));
        cached = render(page);
        QVERIFY2(cached == plain(page), qPrintable(firstDifference(cached, plain(page))));
        QVERIFY(cached != uncached);

        // A new size paints a new backdrop (the band height follows the height).
        page.resize(1366, 768);
        QCoreApplication::processEvents();
        cached = render(page);
        QVERIFY2(cached == plain(page), qPrintable(firstDifference(cached, plain(page))));
        YmClock::setFixed(QDateTime());
    }
};

QTEST_MAIN(TstPaintCache)
#include "tst_paintcache.moc"
