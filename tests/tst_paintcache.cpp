// The painted panels keep shaped texts and remembered pixels between paints;
// these tests render each such panel with its caches and with plain drawText,
// across data changes that replace what the caches hold and over other pixels,
// and compare the images pixel for pixel.
#include "ymclock.h"
#include "ymharness.h"
#include "ymmetatypes.h"
#include "ympixelmemo.h"
#include "ymstatictextcache.h"
#include "ymworkshopdateplanprogress.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopmanagepage.h"
#include "ymworkshopplanratechart.h"
#include "ymworkshopverticalbarchart.h"

#include "ympaintcaches.h"
#include "ympayload.h"
#include <QPainter>
#include <QRandomGenerator>

#include <QtTest>

#include <functional>
#include <limits>
#include <memory>

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

const QColor kBoard(0, 7, 62);

// A child in the board paints no window background: render as the board does.
QImage render(QWidget &w, const QColor &under = kBoard)
{
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(under);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The caches of one board or panel, as YmWorkshopManagePage switches its own.
void setCaches(QWidget &w, bool on)
{
    if (auto *page = qobject_cast<YmWorkshopManagePage *>(&w))
        page->setPaintCachesEnabled(on);
    else
        YmPaintCaches::setEnabled(&w, on);
}

QImage plain(QWidget &w, const QColor &under = kBoard)
{
    setCaches(w, false);
    const QImage image = render(w, under);
    setCaches(w, true);
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
    void initTestCase() { YmHarness::start(); }
    void cleanup() { YmClock::setFixed(QDateTime()); }

    // The memo copies a piece only where painting it again would give the
    // same pixels; every other case paints.
    void memoCopiesOnlyWhatPaintingGives_data()
    {
        QTest::addColumn<QByteArray>("change");
        QTest::addColumn<bool>("copied");
        QTest::newRow("nothing changed") << QByteArray("none") << true;
        QTest::newRow("other pixels under the piece") << QByteArray("under") << false;
        QTest::newRow("other key") << QByteArray("key") << false;
        QTest::newRow("whole-pixel offset") << QByteArray("offset") << false;
        QTest::newRow("half-pixel offset") << QByteArray("halfOffset") << false;
        QTest::newRow("scaled painter") << QByteArray("scale") << false;
        QTest::newRow("clipped painter") << QByteArray("clip") << false;
        QTest::newRow("half opacity") << QByteArray("opacity") << false;
        QTest::newRow("memo switched off") << QByteArray("off") << false;
    }
    void memoCopiesOnlyWhatPaintingGives()
    {
        QFETCH(QByteArray, change);
        QFETCH(bool, copied);
        YmPixelMemo memo;
        int painted = 0;
        // An antialiased line and a glyph run: both blend with what is under.
        const auto paint
            = [&](QImage &image, const QColor &under, const QByteArray &key, auto &&setUp) {
                  image.fill(under);
                  image.setPixel(20, 20, qRgb(200, 10, 10));
                  QPainter p(&image);
                  p.setRenderHint(QPainter::Antialiasing);
                  setUp(p);
                  memo.paint(&p, QRect(5, 5, 50, 40), key, [&] {
                      ++painted;
                      p.setPen(QPen(QColor(45, 198, 255), 2));
                      p.drawLine(QPointF(10.3, 12.6), QPointF(48.2, 39.1));
                      p.setPen(Qt::white);
                      p.drawText(QRectF(8, 8, 40, 20), Qt::AlignCenter, QStringLiteral("12件"));
                  });
              };
        const auto none = [](QPainter &) {
        };
        QImage first(80, 60, QImage::Format_ARGB32_Premultiplied);
        paint(first, kBoard, "a", none);
        QCOMPARE(painted, 1);
        QCOMPARE(memo.size(), 1);

        QColor under = kBoard;
        QByteArray key = "a";
        std::function<void(QPainter &)> setUp = none;
        if (change == "under")
            under = QColor(10, 80, 30);
        else if (change == "key")
            key = "b";
        else if (change == "offset")
            setUp = [](QPainter &p) {
                p.translate(3, 2);
            };
        else if (change == "halfOffset")
            setUp = [](QPainter &p) {
                p.translate(0.5, 0);
            };
        else if (change == "scale")
            setUp = [](QPainter &p) {
                p.scale(0.75, 0.75);
            };
        else if (change == "clip")
            setUp = [](QPainter &p) {
                p.setClipRect(0, 0, 30, 60);
            };
        else if (change == "opacity")
            setUp = [](QPainter &p) {
                p.setOpacity(0.5);
            };
        else if (change == "off")
            memo.setEnabled(false);
        QImage second(80, 60, QImage::Format_ARGB32_Premultiplied);
        paint(second, under, key, setUp);
        QCOMPARE(painted, copied ? 1 : 2);

        // Whatever the memo did, the pixels are the ones painting gives.
        memo.setEnabled(false);
        QImage expected(80, 60, QImage::Format_ARGB32_Premultiplied);
        paint(expected, under, key, setUp);
        QVERIFY2(second == expected, qPrintable(firstDifference(second, expected)));
    }

    // Remembered pixels stay within the memo's budget; a piece larger than
    // the whole budget is painted every time and never kept.
    void memoBudget()
    {
        YmPixelMemo memo(64 * 64 * 4 * 2 * 3); // three 64 x 64 pieces
        QImage image(400, 100, QImage::Format_ARGB32_Premultiplied);
        image.fill(kBoard);
        QPainter p(&image);
        int painted = 0;
        for (int i = 0; i < 4; ++i)
            memo.paint(&p, QRect(i * 70, 0, 64, 64), QByteArray::number(i), [&] { ++painted; });
        QCOMPARE(painted, 4);
        QVERIFY(memo.bytes() <= 64 * 64 * 4 * 2 * 3);
        QCOMPARE(memo.size(), 1); // the fourth started it over
        memo.paint(&p, QRect(0, 0, 400, 100), QByteArray("big"), [&] { ++painted; });
        memo.paint(&p, QRect(0, 0, 400, 100), QByteArray("big"), [&] { ++painted; });
        QCOMPARE(painted, 6);
        QCOMPARE(memo.size(), 1); // the big piece was not kept
    }

    // Bad data can place a piece anywhere: far out or not finite, it is
    // painted (an empty area), never turned into overflowing pixel maths.
    void pixelArea_data()
    {
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QRect>("expected");
        const qreal inf = std::numeric_limits<qreal>::infinity();
        const qreal nan = std::numeric_limits<qreal>::quiet_NaN();
        QTest::newRow("whole pixels") << QRectF(10, 20, 30, 5) << QRect(8, 18, 34, 9);
        QTest::newRow("fractions") << QRectF(10.5, 20.25, 0, 5) << QRect(8, 18, 5, 10);
        QTest::newRow("upside down") << QRectF(40, 25, -30, -5) << QRect(8, 18, 34, 9);
        QTest::newRow("beyond int") << QRectF(10, 3e9, 30, 5) << QRect();
        QTest::newRow("far left") << QRectF(-1e12, 0, 10, 10) << QRect();
        QTest::newRow("infinite") << QRectF(0, 0, inf, 10) << QRect();
        QTest::newRow("not a number") << QRectF(nan, 0, 10, 10) << QRect();
    }
    void pixelArea()
    {
        QFETCH(QRectF, rect);
        QFETCH(QRect, expected);
        QCOMPARE(YmPixelMemo::pixelArea(rect, 2), expected);
    }

    // Starting over for the budget must not let another font take the place
    // of a font that a remembered text was drawn in.
    void memoBudgetKeepsFontsApart()
    {
        const QRectF rect(4, 4, 72, 32);
        const QString text = QStringLiteral("1270");
        // Room for one text piece, not two.
        YmPixelMemo memo(100 * 60 * 4 * 2);
        QImage image(100, 60, QImage::Format_ARGB32_Premultiplied);
        const auto draw = [&](const QFont &font, const QString &t, qreal opacity) {
            image.fill(kBoard);
            QPainter p(&image);
            p.setPen(Qt::white);
            p.setFont(font);
            p.setOpacity(opacity);
            memo.drawText(&p, rect, Qt::AlignCenter, t);
        };
        QFont a;
        a.setPixelSize(12);
        QFont b = a;
        b.setPixelSize(22);
        QFont c = a;
        c.setPixelSize(15);
        QFont d = a;
        d.setBold(true);
        d.setPixelSize(18);
        draw(a, QStringLiteral("7"), 1);
        draw(b, text, 1);   // over the budget: starts over
        draw(c, text, 0.5); // painted, but its font is named
        draw(d, text, 1);
        const QImage cached = image;
        memo.setEnabled(false);
        draw(d, text, 1);
        QVERIFY2(cached == image, qPrintable(firstDifference(cached, image)));
    }

    // Texts of many scripts and sizes at fractional places: what the memo
    // copies back holds every pixel the glyphs touch. A moved painter puts
    // some of them left of or above its origin, where drawText cuts a text's
    // place to 64ths of a pixel towards zero before moving it.
    void textsAnywhere_data()
    {
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("decorated"); // underlined, struck out, letters spaced
        QTest::addColumn<QPointF>("moved");
        const QPointF still;
        QTest::newRow("11 px") << 11 << false << false << still;
        QTest::newRow("20 px") << 20 << false << false << still;
        QTest::newRow("20 px bold") << 20 << true << false << still;
        QTest::newRow("41 px") << 41 << false << false << still;
        QTest::newRow("4 px decorated") << 4 << false << true << still;
        QTest::newRow("20 px decorated") << 20 << true << true << still;
        QTest::newRow("12 px, moved by whole pixels") << 12 << false << false << QPointF(120, 90);
        QTest::newRow("12 px, moved by 64ths")
            << 12 << false << false << QPointF(119.9375, 90.015625);
        QTest::newRow("12 px, moved by less than a 64th")
            << 12 << false << false << QPointF(120.3, 89.71);
    }
    void textsAnywhere()
    {
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        QFETCH(bool, decorated);
        QFETCH(QPointF, moved);
        const QStringList pieces{
            QStringLiteral("订单"),       QStringLiteral("jgyp"),    QStringLiteral("ẪǺ̈̈"),
            QStringLiteral("ญี่ปุ่น"),        QStringLiteral("العربية"), QStringLiteral("fj/|"),
            QStringLiteral("1234567890"), QStringLiteral("Wİ̃ŷ"),     QStringLiteral("件：")};
        QFont font;
        font.setPixelSize(pixelSize);
        font.setBold(bold);
        font.setUnderline(decorated);
        font.setStrikeOut(decorated);
        font.setLetterSpacing(QFont::AbsoluteSpacing, decorated ? 1 : 0);
        YmStaticTextCache texts;
        QRandomGenerator random{quint32(pixelSize)};
        struct Item
        {
            QRectF rect;
            QString text;
        };
        QVector<Item> items;
        for (int i = 0; i < 120; ++i) {
            const QString text = pieces.at(random.bounded(pieces.size()))
                                 + pieces.at(random.bounded(pieces.size()));
            const double w = 20 + random.bounded(160.0);
            items.append(
                {QRectF(random.bounded(500.0) - moved.x(), random.bounded(380.0) - moved.y(), w,
                        pixelSize * (0.5 + random.bounded(1.5))),
                 text});
        }
        const auto paint = [&] {
            QImage image(640, 480, QImage::Format_ARGB32_Premultiplied);
            image.fill(kBoard);
            QPainter p(&image);
            p.translate(moved);
            p.setFont(font);
            for (int i = 0; i < items.size(); ++i) {
                p.setPen(i % 3 ? QColor(Qt::white) : QColor(45, 198, 255));
                texts.draw(&p, items.at(i).rect, Qt::AlignHCenter | Qt::AlignVCenter,
                           items.at(i).text);
            }
            return image;
        };
        paint();
        const QImage copied = paint();
        texts.setEnabled(false);
        const QImage expected = paint();
        texts.setEnabled(true);
        QVERIFY2(copied == expected, qPrintable(firstDifference(copied, expected)));
    }

    // Charts whose texts and axes were remembered over the board colour, then
    // painted over another, at an offset, clipped, scaled for a small screen,
    // in another font, and after new numbers (today's progress: a later
    // clock): every time the pixels a chart that never painted gives.
    void chartsOverOtherPixels_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QByteArray>("how");
        QTest::addColumn<int>("count"); // bars of a bar chart
        for (const char *kind : {"order chart", "group chart", "gauge", "progress chart"}) {
            for (const char *how :
                 {"plain", "other colour", "offset", "clipped", "scaled", "marks", "other font"}) {
                if (qstrcmp(kind, "progress chart") || qstrcmp(how, "marks"))
                    QTest::addRow("%s, %s", kind, how) << QByteArray(kind) << QByteArray(how) << 5;
            }
        }
        QTest::newRow("order chart, empty")
            << QByteArray("order chart") << QByteArray("plain") << 0;
        QTest::newRow("order chart, large workshop, 300 plans")
            << QByteArray("order chart") << QByteArray("plain") << 300;
        QTest::newRow("group chart, empty")
            << QByteArray("group chart") << QByteArray("plain") << 0;
        QTest::newRow("group chart, large workshop, 40 groups")
            << QByteArray("group chart") << QByteArray("plain") << 40;
    }
    void chartsOverOtherPixels()
    {
        QFETCH(QByteArray, kind);
        QFETCH(QByteArray, how);
        QFETCH(int, count);
        YmClock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(16, 30)));
        const auto barData = [&](bool later) {
            QVariantList data = bars(count, later ? 4 : 3);
            if (how == "marks") {
                // Marks above the line box, descenders, a fallback font.
                const QStringList names{QStringLiteral("ẪǺ̈̈j"), QStringLiteral("ญี่ปุ่น"),
                                        QStringLiteral("jgyp计划"), QStringLiteral("Å̊̊̊"),
                                        QStringLiteral("订单")};
                for (int i = 0; i < data.size(); ++i) {
                    QVariantList bar = data.at(i).toList();
                    bar[0] = names.at(i % names.size());
                    data[i] = QVariant(bar);
                }
            }
            return data;
        };
        const auto progressRow = [](const QString &mac, int planned, int hourlyStep) {
            YmPieceMap map;
            for (int hour = 8; hour < 18; ++hour)
                map.insert(QStringLiteral("2024-03-05 %1:20:00").arg(hour, 2, 10, QLatin1Char('0')),
                           hourlyStep * (1 + hour % 3));
            return QVariant(QVariantList{QStringLiteral("P"), QVariant(), mac, mac,
                                         QStringLiteral("G"), QStringLiteral("F"), planned, 0, 0,
                                         QVariant::fromValue(map)});
        };
        // The reference is a chart that never painted: no state kept between
        // paints can leak into it.
        const auto makeChart = [&](bool later) -> std::unique_ptr<QWidget> {
            std::unique_ptr<QWidget> made;
            if (kind == "order chart") {
                auto *c = new YmWorkshopHorizontalBarChart;
                c->setBarData(barData(later));
                made.reset(c);
            } else if (kind == "group chart") {
                auto *c = new YmWorkshopVerticalBarchart;
                c->setBarData(barData(later));
                made.reset(c);
            } else if (kind == "gauge") {
                auto *c = new YmWorkshopPlanRateChart;
                c->setTotal(how == "marks" ? 0 : 1234);
                c->setCompleted(later ? 1000 : 777);
                made.reset(c);
            } else {
                auto *c = new YmWorkshopDatePlanProgress;
                const QVariantList stops{
                    QVariant(QVariantList{QStringLiteral("午休"), QStringLiteral("12:00:00"),
                                          QStringLiteral("13:00:00")})};
                c->setDayData(YmPayload::orderRecords({progressRow(QStringLiteral("M1"), 600, 40),
                                                       progressRow(QStringLiteral("M2"), 300, 9)}),
                              YmPayload::stopPeriods(stops), QStringLiteral("08:00:00"),
                              QStringLiteral("18:00:00"), 540);
                made.reset(c);
            }
            made->resize(560, 420);
            return made;
        };
        const auto setLater = [&](QWidget &widget) {
            if (auto *c = qobject_cast<YmWorkshopHorizontalBarChart *>(&widget))
                c->setBarData(barData(true));
            else if (auto *c = qobject_cast<YmWorkshopVerticalBarchart *>(&widget))
                c->setBarData(barData(true));
            else if (auto *c = qobject_cast<YmWorkshopPlanRateChart *>(&widget))
                c->setCompleted(1000);
            else // the points of the last hours change
                YmClock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(17, 45)));
        };
        QFont otherFont = QWidget().font();
        otherFont.setBold(true);
        otherFont.setPointSize(otherFont.pointSize() + 2);

        const auto paint = [&](QWidget &widget, QImage &image, const QColor &under) {
            image.fill(under);
            QPainter p(&image);
            if (how == "scaled")
                p.scale(0.7, 0.7);
            widget.render(&p, how == "offset" ? QPoint(7, 3) : QPoint(),
                          how == "clipped" ? QRegion(0, 0, 300, 200) : QRegion(),
                          QWidget::DrawChildren);
        };
        const auto plainPaint = [&](bool later, const QColor &under, bool otherLook) {
            std::unique_ptr<QWidget> fresh = makeChart(later);
            setCaches(*fresh, false);
            if (otherLook && how == "other font")
                fresh->setFont(otherFont);
            QImage image(600, 450, QImage::Format_ARGB32_Premultiplied);
            if (otherLook)
                paint(*fresh, image, under);
            else
                image = render(*fresh);
            return image;
        };
        std::unique_ptr<QWidget> chart = makeChart(false);
        // The paint that fills the caches already gives the plain pixels.
        const QImage first = render(*chart);
        QImage expected = plainPaint(false, kBoard, false);
        QVERIFY2(first == expected, qPrintable(firstDifference(first, expected)));
        render(*chart); // remembered over the board colour
        if (how == "other font")
            chart->setFont(otherFont);

        const QColor under = how == "other colour" ? QColor(90, 20, 60) : kBoard;
        QImage cached(600, 450, QImage::Format_ARGB32_Premultiplied);
        paint(*chart, cached, under);
        paint(*chart, cached, under); // what the first of these remembered, if anything
        expected = plainPaint(false, under, true);
        QVERIFY2(cached == expected, qPrintable(firstDifference(cached, expected)));

        // New numbers: the remembered pixels are not the chart's any more. The
        // progress line is drawn from data taken when the day was set, so a
        // later clock is compared with the same chart painted plainly.
        const QImage before = cached;
        setLater(*chart);
        paint(*chart, cached, under);
        if (kind == "progress chart") {
            setCaches(*chart, false);
            paint(*chart, expected, under);
            setCaches(*chart, true);
        } else {
            expected = plainPaint(true, under, true);
        }
        QVERIFY2(cached == expected, qPrintable(firstDifference(cached, expected)));
        if (how == "plain" && count > 0) // the step changed what is shown
            QVERIFY(cached != before);
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
    }
};

QTEST_MAIN(TstPaintCache)
#include "tst_paintcache.moc"
