// The board on wall screens of different sizes: scaled down as one picture below
// the design size, unchanged at it, and drawn at twice the pixels where Qt
// scales a 4K screen.
#include "ymboardview.h"
#include "ymdockwidget.h"
#include "ymharness.h"
#include "ymitempixmaptext.h"
#include "ymmacstatepage.h"
#include "ymtestsupport.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"
#include "ymworkshopplanratelabel.h"
#include "ymworkshopplanratepage.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsView>
#include <QMenu>
#include <QPainter>
#include <QTableView>
#include <QtTest>

namespace {

void fill(YmWorkshopManagePage &page)
{
    const QVariantList rows{planRow("A", "M1", "G1", 100, 30), planRow("A", "M2", "G1", 100, 60),
                            planRow("B", "M3", "G1", 200, 50), planRow("B", "M4", "G1", 200, 150)};
    const QVariantList macs{QVariantList{QStringLiteral("M1"), QStringLiteral("M1"), 2},
                            QVariantList{QStringLiteral("M2"), QStringLiteral("M2"), 1}};
    page.initDatas(QVariantList{rows, 1, 0, 0}, macs, {}, QStringLiteral("08:00:00"),
                   QStringLiteral("20:00:00"), 600);
}

// Where a widget of the main window lands on the page, by the page's own
// arrangement: directly below the band, or through the view's transform.
QRectF onPage(const YmWorkshopManagePage &page, const QWidget *w)
{
    const QRectF local(w->mapTo(page.mainPage(), QPoint(0, 0)), w->size());
    if (QGraphicsView *view = page.boardView())
        return view->viewportTransform().mapRect(local).translated(view->pos());
    return local.translated(page.mainPage()->pos());
}

// The board's menu, shown inside the scaled view: its texts and where it
// opened in the view's coordinates; then closed.
QString closeMenu(QGraphicsView *view, QStringList *texts, QPoint *at)
{
    for (QWidget *w : QApplication::allWidgets()) {
        auto *menu = qobject_cast<QMenu *>(w);
        if (!menu || !menu->isVisible())
            continue;
        for (QAction *a : menu->actions())
            texts->append(a->text());
        if (menu->graphicsProxyWidget())
            *at = view->mapFromScene(menu->graphicsProxyWidget()->scenePos());
        menu->close();
        return QString();
    }
    return QStringLiteral("no menu");
}

} // namespace

class TstScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void scaleForWindow_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("scale");
        QTest::newRow("1280x720") << QSize(1280, 720) << 2.0 / 3.0;
        QTest::newRow("1366x768: height decides") << QSize(1366, 768) << 768.0 / 1080.0;
        QTest::newRow("1280x1024: width decides") << QSize(1280, 1024) << 2.0 / 3.0;
        QTest::newRow("design size") << QSize(1920, 1080) << 1.0;
        QTest::newRow("maximized beside a task bar") << QSize(1920, 1040) << 1.0;
        QTest::newRow("lowest unscaled") << QSize(1920, 972) << 1.0;
        QTest::newRow("one row lower") << QSize(1920, 971) << 971.0 / 1080.0;
        QTest::newRow("a little narrow") << QSize(1900, 1080) << 1900.0 / 1920.0;
        QTest::newRow("4K stays 1, Qt scales it") << QSize(3840, 2160) << 1.0;
        QTest::newRow("empty") << QSize(0, 0) << 1.0;
        QTest::newRow("negative") << QSize(-5, 700) << 1.0;
    }

    void scaleForWindow()
    {
        QFETCH(QSize, size);
        QFETCH(double, scale);
        QVERIFY(qAbs(YmWorkshopManagePage::boardScaleFor(size) - scale) < 1e-9);
    }

    // The four wall screens. "ratio" 2 stands for a 4K screen that the host has
    // Qt scale by two: the page is 1920x1080 in Qt's pixels, drawn at twice that.
    void boardFitsScreen_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<int>("ratio");
        QTest::addColumn<double>("scale"); // device pixels per design pixel
        QTest::newRow("1280x720") << QSize(1280, 720) << 1 << 2.0 / 3.0;
        QTest::newRow("1366x768") << QSize(1366, 768) << 1 << 768.0 / 1080.0;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << 1 << 1.0;
        QTest::newRow("3840x2160") << QSize(1920, 1080) << 2 << 2.0;
    }

    void boardFitsScreen()
    {
        QFETCH(QSize, window);
        QFETCH(int, ratio);
        QFETCH(double, scale);
        YmWorkshopManagePage page;
        fill(page);
        showAt(page, window);
        QCOMPARE(page.boardView() != nullptr, scale < 1.0);

        // Every dock lies inside the window, and together they reach its right
        // and bottom edges: the board fills the screen.
        const QList<YmDockWidget *> docks = page.mainPage()->findChildren<YmDockWidget *>();
        QCOMPARE(docks.size(), 6);
        const QRectF screen(QPointF(0, 0), QSizeF(window));
        QRectF all;
        for (const YmDockWidget *dock : docks) {
            const QRectF r = onPage(page, dock);
            QVERIFY2(dock->isVisible() && !r.isEmpty(), qPrintable(dock->objectName()));
            QVERIFY2(screen.adjusted(-0.5, -0.5, 0.5, 0.5).contains(r),
                     qPrintable(dock->objectName()
                                + QStringLiteral(" %1,%2 %3x%4")
                                      .arg(r.x())
                                      .arg(r.y())
                                      .arg(r.width())
                                      .arg(r.height())));
            all |= r;
        }
        const double band = 108 * qMin(scale, 1.0); // a tenth of the design height
        QVERIFY(qAbs(all.top() - band) < 1.0);
        QVERIFY(all.right() > window.width() - 2);
        QVERIFY(all.bottom() > window.height() - 2);

        // The gauge's captions fit between its corner brackets (5 pixels wide).
        auto *rate = page.mainPage()->findChild<YmWorkshopPlanRatePage *>();
        QVERIFY(rate);
        for (const YmWorkshopPlanRateLabel *label :
             {rate->completedLabel(), rate->outstandingLabel()}) {
            QFont font = label->font();
            font.setPointSize(25);
            const double tw = QFontMetricsF(font).horizontalAdvance(label->title());
            QVERIFY2(tw + 2 * 5 <= label->width(), qPrintable(QStringLiteral("%1 needs %2 of %3")
                                                                  .arg(label->title())
                                                                  .arg(tw)
                                                                  .arg(label->width())));
        }
        // The state pictures (discs 112 pixels across) keep room between them.
        auto *states = page.mainPage()->findChild<YmMacStatePage *>();
        QVERIFY(states);
        for (const YmItemPixmapText *item : states->findChildren<YmItemPixmapText *>())
            QVERIFY(item->width() >= 112 + 20);

        // Pixels: the frames of the right column end 10 design pixels inside the
        // right and bottom edges, and the title sits white in the band's middle.
        QImage img(window * ratio, QImage::Format_ARGB32_Premultiplied);
        img.setDevicePixelRatio(ratio);
        img.fill(Qt::black);
        page.render(&img);
        const int w = img.width();
        const int h = img.height();
        const int inset = qRound(10 * scale);
        const int slack = qRound(3 * scale);
        const auto blue = [&img](const QRect &area) {
            return countPixels(img, area, isFrameBlue);
        };
        QVERIFY(blue(QRect(w - inset - slack, h * 3 / 4, 2 * slack + 1, 1)) > 0);
        QVERIFY(blue(QRect(w * 3 / 4, h - inset - slack, 1, 2 * slack + 1)) > 0);
        QVERIFY(blue(QRect(inset - slack, h / 2, 2 * slack + 1, 1)) > 0);
        QCOMPARE(blue(QRect(w - inset + 2 * slack, h / 2, 1, 1)), 0);
        const QRect title(w / 2 - int(60 * scale), int(20 * scale), int(120 * scale),
                          int(50 * scale));
        QVERIFY(countPixels(img, title, isWhite) > 0);
    }

    // A window of an extreme shape scales the board down by its short side;
    // the long side of the board in design pixels stays bounded (four design
    // sizes), so that the embedded main window never gets a backing store of
    // gigabytes, and the page still paints.
    void extremeWindowShapes_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("board"); // the main window's size, in design pixels
        // Below the band: 1728 / 0.5625 and 129 / 0.125 design pixels high.
        QTest::newRow("portrait") << QSize(1080, 1920) << QSize(1920, 3072);
        QTest::newRow("flat but within bounds") << QSize(960, 135) << QSize(7680, 968);
        QTest::newRow("one pixel wide") << QSize(1, 1400) << QSize(1920, 4320);
        QTest::newRow("one pixel high") << QSize(2000, 1) << QSize(7680, 1080);
    }
    void extremeWindowShapes()
    {
        QFETCH(QSize, window);
        QFETCH(QSize, board);
        YmWorkshopManagePage page;
        fill(page);
        showAt(page, window);
        QVERIFY(page.boardView());
        QTRY_COMPARE(page.mainPage()->size(), board);
        QVERIFY(page.boardView()->sceneRect().width() <= 4 * 1920);
        QVERIFY(page.boardView()->sceneRect().height() <= 4 * 1080);
        const QImage shot = page.grab().toImage();
        QCOMPARE(shot.size(), window);
    }

    // A double-size picture covers the same logical area as the plain one.
    void itemDrawsDoubleSizePictureAtItsLogicalSize()
    {
        QPixmap picture(400, 400);
        picture.fill(Qt::red);
        picture.setDevicePixelRatio(2.0);
        YmItemPixmapText item;
        item.setPixmap(picture);
        item.resize(300, 300);
        QImage img(300, 300, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::black);
        item.render(&img);
        // 200x200 centred at (150, 112.5): x 50..250, y 12.5..212.5.
        auto red = [&img](int x, int y) {
            return img.pixel(x, y) == qRgb(255, 0, 0);
        };
        QVERIFY(red(52, 112) && red(247, 112) && red(150, 15) && red(150, 210));
        QVERIFY(!red(47, 112) && !red(253, 112) && !red(150, 10) && !red(150, 215));
    }

    void contextMenuInScaledBoard()
    {
        YmWorkshopManagePage page;
        showAt(page, QSize(1280, 720));
        QGraphicsView *view = page.boardView();
        QVERIFY(view);
        auto *dock = page.mainPage()->findChild<YmDockWidget *>(
            QStringLiteral("dockWidget_datePlanProgress"));
        QVERIFY(dock);
        const QPoint at = onPage(page, dock).center().toPoint() - view->pos();
        QStringList texts;
        QString problem = QStringLiteral("not run");
        QPoint opened;
        QTimer::singleShot(200, [&] { problem = closeMenu(view, &texts, &opened); });
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
        QCOMPARE(problem, QString());
        // It opens where the right-click was, in the scaled picture.
        QVERIFY2((opened - at).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(opened.x()).arg(opened.y())));
        QCOMPARE(texts,
                 (QStringList{QStringLiteral("计划订单数据"), QStringLiteral("计划停机项设置"),
                              QStringLiteral("计划上下班时间设置"), QStringLiteral("全屏"),
                              QStringLiteral("通知记录")}));
    }

    void tableClickInScaledBoard()
    {
        YmWorkshopManagePage page;
        fill(page);
        showAt(page, QSize(1366, 768));
        QGraphicsView *view = page.boardView();
        QVERIFY(view);
        auto *table = page.mainPage()->findChild<QTableView *>();
        QVERIFY(table);
        QTRY_VERIFY(table->model() && table->model()->rowCount() == 4);
        // The third row, clicked where the scaled picture shows it.
        const QRect cell = table->visualRect(table->model()->index(2, 1));
        QVERIFY(cell.isValid());
        const QPointF inMain = table->viewport()->mapTo(page.mainPage(), cell.center());
        const QPoint at = view->mapFromScene(inMain);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(table->currentIndex().row(), 2);
    }

    void backToDesignSize()
    {
        YmWorkshopManagePage page;
        showAt(page, QSize(1280, 720));
        QVERIFY(page.boardView());
        page.resize(1920, 1080);
        QTRY_COMPARE(page.size(), QSize(1920, 1080));
        QCOMPARE(page.boardView(), nullptr);
        QCOMPARE(page.mainPage()->parentWidget(), &page);
        QVERIFY(page.mainPage()->isVisible());
        QTRY_COMPARE(page.mainPage()->geometry(), QRect(0, 108, 1920, 972));
    }
};

QTEST_MAIN(TstScreens)
#include "tst_screens.moc"
