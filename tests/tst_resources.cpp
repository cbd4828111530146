#include "ymharness.h"
#include "ymplatformmessagefilter.h"

#include <QImage>
#include <QtTest>

// The board and the pop-ups load their pictures from the two bundles by fixed paths
// and place them by pixel size; the drawing code relies on their clear corners.
class TstResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void imageLoadsAtItsSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("clearCorners");
        QTest::newRow(":/image/top.png") << QSize(1920, 98) << false;
        QTest::newRow(":/image/blue.png") << QSize(200, 200) << true;
        QTest::newRow(":/image/green.png") << QSize(200, 200) << true;
        QTest::newRow(":/image/red.png") << QSize(200, 200) << true;
        QTest::newRow(":/image/gray.png") << QSize(200, 200) << true;
        QTest::newRow(":/image/first.png") << QSize(200, 200) << true;
        QTest::newRow(":/image/second.png") << QSize(200, 200) << true;
        QTest::newRow(":/image/third.png") << QSize(200, 200) << true;
        QTest::newRow(":/image/down-arrow.png") << QSize(12, 12) << true;
        QTest::newRow(":/image/down-arrow") << QSize(12, 12) << true; // named without its suffix
        QTest::newRow(":/image/logo_500_500.png") << QSize(500, 500) << true;
        QTest::newRow(":/image/logo_128_128.png") << QSize(128, 128) << true;
        QTest::newRow(":/image/btn_delete_nor.png") << QSize(20, 30) << true;
        QTest::newRow(":/image/btn_delete_hov.png") << QSize(20, 30) << true;
        QTest::newRow(":/image/btn_delete_pre.png") << QSize(20, 30) << true;
        // The pictures at twice the pixels, for screens Qt scales by two.
        QTest::newRow(":/image/top@2x.png") << QSize(3840, 196) << false;
        for (const char *name : {"blue", "green", "red", "gray", "first", "second", "third"})
            QTest::addRow(":/image/%s@2x.png", name) << QSize(400, 400) << true;
    }

    void imageLoadsAtItsSize()
    {
        QFETCH(QSize, size);
        QFETCH(bool, clearCorners);
        const QImage image{QString::fromLatin1(QTest::currentDataTag())};
        QCOMPARE(image.size(), size);
        const int r = size.width() - 1, b = size.height() - 1;
        for (const QPoint &corner : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)})
            QVERIFY(!clearCorners || qAlpha(image.pixel(corner)) == 0);
        // ... and something is drawn in the middle.
        QVERIFY(qAlpha(image.pixel(size.width() / 2, size.height() / 2)) > 0);
    }

    // Only the offscreen window's "not supported" warnings are dropped; everything
    // else, the same texts as other message types included, reaches the handler.
    void platformMessageFilter_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("dropped");
        const QString opacity
            = QStringLiteral("This plugin does not support setting window opacity");
        QTest::newRow("opacity") << int(QtWarningMsg) << opacity << true;
        QTest::newRow("raise") << int(QtWarningMsg)
                               << QStringLiteral("This plugin does not support raise()") << true;
        QTest::newRow("size hints")
            << int(QtWarningMsg)
            << QStringLiteral("This plugin does not support propagateSizeHints()") << true;
        QTest::newRow("as a debug message") << int(QtDebugMsg) << opacity << false;
        QTest::newRow("longer text")
            << int(QtWarningMsg) << QString(opacity + QLatin1Char('!')) << false;
        QTest::newRow("OpenGL") << int(QtWarningMsg)
                                << QStringLiteral(
                                       "This plugin does not support createPlatformOpenGLContext!")
                                << false;
        QTest::newRow("other warning")
            << int(QtWarningMsg)
            << QStringLiteral("QPainter::begin: Paint device returned engine == 0") << false;
    }
    void platformMessageFilter()
    {
        QFETCH(int, type);
        QFETCH(QString, message);
        QTEST(YmPlatformMessageFilter::isFiltered(QtMsgType(type), message), "dropped");
        if (type != QtWarningMsg || YmPlatformMessageFilter::isFiltered(QtWarningMsg, message))
            return;
        // Installed in initTestCase in front of Qt Test's handler: the message gets there.
        QTest::ignoreMessage(QtWarningMsg, qPrintable(message));
        qWarning("%s", qPrintable(message));
    }
};

QTEST_MAIN(TstResources)
#include "tst_resources.moc"
