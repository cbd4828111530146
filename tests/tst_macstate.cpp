#include "ymharness.h"
#include "ymitempixmaptext.h"
#include "ymmacstatepage.h"
#include "ymtestsupport.h"

#include <QGridLayout>
#include <QtTest>

class TstMacstate : public QObject
{
    Q_OBJECT
    // The captions in the grid's first two rows of four cells, '.' for an empty cell.
    static QString grid(const YmMacStatePage &page)
    {
        auto *grid = qobject_cast<QGridLayout *>(page.layout());
        QStringList cells;
        for (int cell = 0; cell < 8; ++cell) {
            QLayoutItem *it = grid ? grid->itemAtPosition(cell / 4, cell % 4) : nullptr;
            auto *item = it ? qobject_cast<YmItemPixmapText *>(it->widget()) : nullptr;
            cells << (item ? item->text() : QStringLiteral("."));
        }
        return cells.join(QLatin1Char('|'));
    }

private slots:
    void initTestCase() { YmHarness::start(); }
    // Caption colours: online #0CCAF4, working #31E79C, abnormal #DF4A5F, offline
    // #C8C8C8, as stored and as painted (the most covered caption pixel on black).
    // A counter without a picture paints nothing but its caption, in the bottom
    // quarter.
    void captionColours_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("online") << 0 << QColor(12, 202, 244);
        QTest::newRow("working") << 1 << QColor(49, 231, 156);
        QTest::newRow("abnormal") << 2 << QColor(223, 74, 95);
        QTest::newRow("offline") << 3 << QColor(200, 200, 200);
    }
    void captionColours()
    {
        QFETCH(int, cell);
        QFETCH(QColor, colour);
        YmMacStatePage page;
        page.resize(800, 200);
        auto *grid = qobject_cast<QGridLayout *>(page.layout());
        auto *item = qobject_cast<YmItemPixmapText *>(grid->itemAtPosition(0, cell)->widget());
        QCOMPARE(item->textColor(), colour);
        item->setPixmap(QPixmap()); // the caption alone
        item->resize(200, 160);
        QImage img(item->size(), QImage::Format_RGB32);
        img.fill(Qt::black);
        item->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
        const auto lit = [](QRgb c) {
            return c != qRgb(0, 0, 0);
        };
        QCOMPARE(countPixels(img, QRect(0, 0, 200, 120), lit), 0);
        QVERIFY(countPixels(img, QRect(0, 120, 200, 40), lit) > 20);
        QRgb strongest = qRgb(0, 0, 0);
        for (int y = 120; y < 160; ++y)
            for (int x = 0; x < 200; ++x)
                if (qGray(img.pixel(x, y)) > qGray(strongest))
                    strongest = img.pixel(x, y);
        QVERIFY2(near(strongest, colour.rgb(), 12), qPrintable(QColor(strongest).name()));
    }

    void rearrangeAt300()
    {
        const QString one = QStringLiteral("在线 0|工作 0|异常 0|离线 0|.|.|.|.");
        const QString two = QStringLiteral("在线 0|工作 0|.|.|异常 0|离线 0|.|.");
        YmMacStatePage page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const std::pair<int, QString> steps[] = {{250, one}, {300, two}, {400, two}, {299, one}};
        for (const auto &[height, expected] : steps) {
            page.resize(900, height);
            QCOMPARE(grid(page), expected);
        }
    }
};

QTEST_MAIN(TstMacstate)
#include "tst_macstate.moc"
