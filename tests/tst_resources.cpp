#include "ymresources.h"

#include <QImage>
#include <QPixmap>
#include <QtTest>

// The board and the pop-ups load their pictures from the two bundles by fixed
// paths and place them by pixel size, so both are checked here, together with
// the transparency the drawing code relies on.
class TstResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void imageLoadsAtItsSize_data();
    void imageLoadsAtItsSize();
    void cornersAreTransparent_data();
    void cornersAreTransparent();
    void bannerKeepsTitleAndClockReadable();
    void discsHaveDistinctColours();
    void closeButtonStatesDiffer();
    void arrowFoundWithoutSuffix();
};

void TstResources::initTestCase()
{
    ymRegisterResources();
}

void TstResources::imageLoadsAtItsSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("top") << QStringLiteral(":/image/top.png") << 1920 << 98;
    QTest::newRow("blue") << QStringLiteral(":/image/blue.png") << 200 << 200;
    QTest::newRow("green") << QStringLiteral(":/image/green.png") << 200 << 200;
    QTest::newRow("red") << QStringLiteral(":/image/red.png") << 200 << 200;
    QTest::newRow("gray") << QStringLiteral(":/image/gray.png") << 200 << 200;
    QTest::newRow("first") << QStringLiteral(":/image/first.png") << 200 << 200;
    QTest::newRow("second") << QStringLiteral(":/image/second.png") << 200 << 200;
    QTest::newRow("third") << QStringLiteral(":/image/third.png") << 200 << 200;
    QTest::newRow("down-arrow") << QStringLiteral(":/image/down-arrow.png") << 12 << 12;
    QTest::newRow("logo 500") << QStringLiteral(":/image/logo_500_500.png") << 500 << 500;
    QTest::newRow("logo 128") << QStringLiteral(":/image/logo_128_128.png") << 128 << 128;
    QTest::newRow("close normal") << QStringLiteral(":/image/btn_delete_nor.png") << 20 << 30;
    QTest::newRow("close hover") << QStringLiteral(":/image/btn_delete_hov.png") << 20 << 30;
    QTest::newRow("close pressed") << QStringLiteral(":/image/btn_delete_pre.png") << 20 << 30;
}

void TstResources::imageLoadsAtItsSize()
{
    QFETCH(QString, path);
    QFETCH(int, width);
    QFETCH(int, height);

    const QPixmap pixmap(path);
    QVERIFY2(!pixmap.isNull(), qPrintable(path));
    QCOMPARE(pixmap.width(), width);
    QCOMPARE(pixmap.height(), height);
}

void TstResources::cornersAreTransparent_data()
{
    QTest::addColumn<QString>("path");
    const char *const names[]
        = {"blue",           "green",          "red",           "gray",         "first",
           "second",         "third",          "down-arrow",    "logo_500_500", "logo_128_128",
           "btn_delete_nor", "btn_delete_hov", "btn_delete_pre"};
    for (const char *name : names)
        QTest::newRow(name) << QStringLiteral(":/image/%1.png").arg(QLatin1String(name));
}

void TstResources::cornersAreTransparent()
{
    QFETCH(QString, path);
    const QImage img = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!img.isNull());
    QVERIFY(img.hasAlphaChannel());
    const int r = img.width() - 1, b = img.height() - 1;
    QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(img.pixel(r, 0)), 0);
    QCOMPARE(qAlpha(img.pixel(0, b)), 0);
    QCOMPARE(qAlpha(img.pixel(r, b)), 0);
    // ... and something is drawn in the middle.
    QVERIFY(qAlpha(img.pixel(img.width() / 2, img.height() / 2)) > 0);
}

static int maxAlpha(const QImage &img, const QRect &area)
{
    int most = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            most = qMax(most, qAlpha(img.pixel(x, y)));
    return most;
}

void TstResources::bannerKeepsTitleAndClockReadable()
{
    // The banner is painted over the title and the clock; where they sit it may
    // only tint the band, while its frame lines below must be clearly visible.
    const QImage img
        = QImage(QStringLiteral(":/image/top.png")).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!img.isNull());
    QVERIFY(maxAlpha(img, QRect(800, 10, 320, 55)) < 64);  // title glyphs
    QVERIFY(maxAlpha(img, QRect(20, 20, 280, 30)) < 32);   // clock, top left
    QVERIFY(maxAlpha(img, QRect(1620, 20, 280, 30)) < 32); // clock, top right
    QVERIFY(maxAlpha(img, QRect(0, 60, 1920, 38)) > 200);  // frame and accents
}

void TstResources::discsHaveDistinctColours()
{
    // The four states must be told apart by the hue of the glass.
    const char *const names[] = {"blue", "green", "red", "gray"};
    QList<QColor> colours;
    for (const char *name : names) {
        const QImage img(QStringLiteral(":/image/%1.png").arg(QLatin1String(name)));
        QVERIFY(!img.isNull());
        colours.append(img.pixelColor(70, 105)); // left of the symbol, inside the glass
    }
    QVERIFY(colours.at(0).blue() > colours.at(0).red() + 80);
    QVERIFY(colours.at(1).green() > colours.at(1).red() + 80);
    QVERIFY(colours.at(2).red() > colours.at(2).green() + 80);
    QVERIFY(qAbs(colours.at(3).red() - colours.at(3).blue()) < 20);
    QVERIFY(colours.at(3).saturation() < 40);
}

void TstResources::closeButtonStatesDiffer()
{
    const QImage nor(QStringLiteral(":/image/btn_delete_nor.png"));
    const QImage hov(QStringLiteral(":/image/btn_delete_hov.png"));
    const QImage pre(QStringLiteral(":/image/btn_delete_pre.png"));
    QVERIFY(!nor.isNull() && !hov.isNull() && !pre.isNull());
    QVERIFY(nor != hov);
    QVERIFY(hov != pre);
    QVERIFY(nor != pre);
}

void TstResources::arrowFoundWithoutSuffix()
{
    // The combo box style sheet names the arrow without its ".png" suffix.
    const QPixmap arrow(QStringLiteral(":/image/down-arrow"));
    QVERIFY(!arrow.isNull());
    QCOMPARE(arrow.size(), QSize(12, 12));
}

QTEST_MAIN(TstResources)
#include "tst_resources.moc"
