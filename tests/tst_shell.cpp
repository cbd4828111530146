// The dashboard page, the main window's docks and menu, and the dock chrome.
#include "ymdocktitlebar.h"
#include "ymdockwidget.h"
#include "ymmetatypes.h"
#include "ymresources.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QtTest>

namespace {

QStringList actionTexts(QMenu *menu)
{
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << a->text();
    return texts;
}

QRect dockRect(YmWorkshopManageMainPage *main, const char *name)
{
    auto *dock = main->findChild<YmDockWidget *>(QString::fromLatin1(name));
    return dock ? dock->geometry() : QRect();
}

bool isFrameBlue(QRgb c)
{
    return qAbs(qRed(c) - 0) < 40 && qAbs(qGreen(c) - 105) < 40 && qAbs(qBlue(c) - 179) < 40
           && qAlpha(c) > 150;
}

bool hasWhiteText(const QImage &img, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (qRed(c) > 230 && qGreen(c) > 230 && qBlue(c) > 230)
                return true;
        }
    return false;
}

} // namespace

class TstShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        ymRegisterResources();
        ymRegisterMetaTypes();
    }

    void contextMenu()
    {
        YmWorkshopManageMainPage main;
        QMenu *menu = main.createContextMenu(&main);
        QCOMPARE(actionTexts(menu),
                 (QStringList{QStringLiteral("计划订单数据"), QStringLiteral("计划停机项设置"),
                              QStringLiteral("计划上下班时间设置"), QStringLiteral("全屏")}));

        QSignalSpy stop(&main, &YmWorkshopManageMainPage::sPlanStopSettingShow);
        QSignalSpy work(&main, &YmWorkshopManageMainPage::sPlanWorkTimeSettingShow);
        QSignalSpy full(&main, &YmWorkshopManageMainPage::sCheckFullScreen);
        const int windows = QApplication::topLevelWidgets().size();
        menu->actions().at(0)->trigger(); // no plan window before the first initDatas
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        menu->actions().at(1)->trigger();
        menu->actions().at(2)->trigger();
        menu->actions().at(3)->trigger();
        QCOMPARE(stop.count(), 1);
        QCOMPARE(work.count(), 1);
        QCOMPARE(full.count(), 1);
        delete menu;

        main.setFullScreenFlag(true);
        menu = main.createContextMenu(&main);
        QCOMPARE(menu->actions().at(3)->text(), QStringLiteral("取消全屏"));
        delete menu;
    }

    // Right-clicking a dock, or the page's title band, opens the same menu.
    void rightClickOpensBoardMenu_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("dock") << QStringLiteral("dockWidget_planState");
        QTest::newRow("dock title bar") << QStringLiteral("dockWidget_table");
        QTest::newRow("title band") << QString();
    }
    void rightClickOpensBoardMenu()
    {
        QFETCH(QString, target);
        YmWorkshopManagePage page;
        page.resize(1280, 800);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));

        QWidget *receiver = &page;
        QPoint local(200, 40);
        if (!target.isEmpty()) {
            auto *dock = page.findChild<YmDockWidget *>(target);
            QVERIFY(dock);
            receiver = target == QStringLiteral("dock") ? static_cast<QWidget *>(dock) : dock;
            local = QPoint(dock->width() / 2, 30);
        }
        QStringList seen;
        QTimer::singleShot(0, this, [&seen] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                seen = actionTexts(menu);
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, local, receiver->mapToGlobal(local));
        QApplication::sendEvent(receiver, &event);
        QCOMPARE(seen.size(), 4);
        QCOMPARE(seen.first(), QStringLiteral("计划订单数据"));
    }

    void bandHeight_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("band");
        QTest::newRow("979 keeps 98") << 979 << 98;
        QTest::newRow("980 gives 98") << 980 << 98;
        QTest::newRow("1080 gives 108") << 1080 << 108;
        QTest::newRow("1200 gives 120") << 1200 << 120;
    }
    void bandHeight()
    {
        QFETCH(int, height);
        QFETCH(int, band);
        QCOMPARE(YmWorkshopManagePage::bandHeightFor(height), double(band));
        QCOMPARE(YmWorkshopManagePage::bandHeightFor(height - 400), 98.0);

        YmWorkshopManagePage page;
        page.setGeometry(0, 0, 1000, height);
        page.show();
        QTRY_COMPARE(page.height(), height);
        QCOMPARE(page.bandHeight(), double(band));
        QCOMPARE(page.layout()->contentsMargins(), QMargins(0, band, 0, 0));
        // The main window starts right below the band.
        QTRY_COMPARE(page.mainPage()->geometry().top(), band);
    }

    void clockPosition_data()
    {
        QTest::addColumn<QList<int>>("calls");
        QTest::addColumn<int>("expected");
        QTest::newRow("initially top left") << QList<int>{} << -1;
        QTest::newRow("zero changes nothing") << QList<int>{0} << -1;
        QTest::newRow("positive is top right") << QList<int>{7} << 1;
        QTest::newRow("zero keeps top right") << QList<int>{1, 0} << 1;
        QTest::newRow("negative back to left") << QList<int>{1, -9} << -1;
    }
    void clockPosition()
    {
        QFETCH(QList<int>, calls);
        QFETCH(int, expected);
        YmWorkshopManagePage page;
        page.resize(1000, 700);
        for (int pos : calls)
            emit page.mainPage()->sChangedDateTimeLocPos(pos);
        QCOMPARE(page.dateTimeLocPos(), expected);

        const QFontMetricsF fm(page.font());
        const QString text = QStringLiteral("2024-03-05 12:34:56");
        const QRect r = page.clockRect(fm, text);
        QCOMPARE(r.top(), 20);
        if (expected < 0)
            QCOMPARE(r.left(), 20);
        else
            QCOMPARE(r.left(), int(1000 - 20 - fm.horizontalAdvance(text)));
    }

    void dayChangeEmitsOnce()
    {
        YmWorkshopManagePage page;
        QSignalSpy spy(&page, &YmWorkshopManagePage::sUpdateDateInit);
        const QDate today = QDate::currentDate();
        page.tick(today);
        QCOMPARE(spy.count(), 0);
        page.tick(today.addDays(1));
        QCOMPARE(spy.count(), 1);
        page.tick(today.addDays(1));
        page.tick(today.addDays(1));
        QCOMPARE(spy.count(), 1);
        page.tick(today.addDays(2));
        QCOMPARE(spy.count(), 2);
    }

    void fullScreenToggleReturns()
    {
        YmWorkshopManagePage page;
        page.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const Qt::WindowFlags flags = page.windowFlags();
        emit page.mainPage()->sCheckFullScreen();
        QTRY_VERIFY(page.isFullScreen());
        QVERIFY(page.mainPage()->isFullScreenFlag());
        emit page.mainPage()->sCheckFullScreen();
        QTRY_VERIFY(!page.isFullScreen());
        QVERIFY(!page.mainPage()->isFullScreenFlag());
        QCOMPARE(page.windowFlags(), flags);
        QVERIFY(page.windowState() & Qt::WindowMaximized);
    }

    void dockArrangement()
    {
        YmWorkshopManagePage page;
        page.setGeometry(0, 0, 1920, 1080);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        YmWorkshopManageMainPage *main = page.mainPage();
        QTRY_VERIFY(dockRect(main, "dockWidget_planState").height() > 0);

        const QRect table = dockRect(main, "dockWidget_table");
        const QRect rate = dockRect(main, "dockWidget_planRate");
        const QRect orders = dockRect(main, "dockWidget_datePlanTotalProgress");
        const QRect states = dockRect(main, "dockWidget_macState");
        const QRect today = dockRect(main, "dockWidget_datePlanProgress");
        const QRect groups = dockRect(main, "dockWidget_planState");

        // Left: the table beside a column of completion rate over order progress.
        QVERIFY(table.right() < rate.left());
        QCOMPARE(rate.left(), orders.left());
        QVERIFY(rate.bottom() < orders.top());
        // Right: machine states over today's progress over production status.
        QVERIFY(rate.right() < states.left());
        QCOMPARE(states.left(), today.left());
        QCOMPARE(today.left(), groups.left());
        QVERIFY(states.bottom() < today.top());
        QVERIFY(today.bottom() < groups.top());
        // The panels' bounds hold in the board.
        QVERIFY(states.height() <= 250 + 150);
        QVERIFY(table.width() >= 520);
        QVERIFY(rate.height() >= 419);
        QVERIFY(orders.height() >= 360);

        for (YmDockWidget *dock : main->docks()) {
            QCOMPARE(dock->features(),
                     QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
            QVERIFY(!dock->isFloating());
            QVERIFY(dock->isVisible());
        }
    }

    void dockTitles()
    {
        YmWorkshopManageMainPage main;
        const QList<QPair<const char *, QString>> expected{
            {"dockWidget_table", QStringLiteral("机器订单生产统计")},
            {"dockWidget_planRate", QString()},
            {"dockWidget_datePlanProgress", QStringLiteral("今日订单完成进度")},
            {"dockWidget_macState", QString()},
            {"dockWidget_datePlanTotalProgress", QStringLiteral("订单进度")},
            {"dockWidget_planState", QStringLiteral("车间生产状况")}};
        for (const auto &e : expected) {
            auto *dock = main.findChild<YmDockWidget *>(QString::fromLatin1(e.first));
            QVERIFY2(dock, e.first);
            QCOMPARE(dock->windowTitle(), e.second);
            QCOMPARE(dock->titleBar()->title(), e.second);
            QVERIFY(dock->widget());
            QCOMPARE(dock->titleBar()->minimumHeight(), 150);
        }
        QVERIFY(!main.centralWidget());
    }

    // The dock and its title bar together draw one rounded frame inset by 10.
    void dockFrame_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("titled") << QStringLiteral("订单进度");
        QTest::newRow("empty title") << QString();
    }
    void dockFrame()
    {
        QFETCH(QString, title);
        YmDockWidget dock;
        dock.setTitle(title);
        dock.setWidget(new QWidget);
        dock.resize(400, 400);
        dock.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dock));
        YmDockTitleBar *bar = dock.titleBar();
        QTRY_VERIFY(bar->height() >= 150);

        QImage top(bar->size(), QImage::Format_ARGB32_Premultiplied);
        top.fill(Qt::black);
        {
            QPainter p(&top);
            bar->draw(&p);
        }
        QImage bottom(dock.size(), QImage::Format_ARGB32_Premultiplied);
        bottom.fill(Qt::black);
        {
            QPainter p(&bottom);
            dock.draw(&p);
        }
        const int h = bar->height();
        // Left and right edges of the upper part, the top edge between the corners.
        QVERIFY(isFrameBlue(top.pixel(10, h - 5)));
        QVERIFY(isFrameBlue(top.pixel(389, h - 5)));
        QVERIFY(isFrameBlue(top.pixel(200, 10)));
        QVERIFY(!isFrameBlue(top.pixel(200, 30)));
        // A corner of radius 40 leaves the very corner empty.
        QVERIFY(!isFrameBlue(top.pixel(12, 12)));
        // Lower part: bottom edge and sides below the title bar.
        QVERIFY(isFrameBlue(bottom.pixel(200, 389)));
        QVERIFY(isFrameBlue(bottom.pixel(10, h + 50)));
        QVERIFY(!isFrameBlue(bottom.pixel(12, 387)));
        QVERIFY(!isFrameBlue(bottom.pixel(200, h - 20)));

        QCOMPARE(hasWhiteText(top, QRect(150, 22, 100, 30)), !title.isEmpty());
    }

    void bandPainting()
    {
        YmWorkshopManagePage page;
        page.setGeometry(0, 0, 1920, 1080);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTRY_COMPARE(page.bandHeight(), 108.0);
        QImage img(page.size(), QImage::Format_ARGB32_Premultiplied);
        {
            QPainter p(&img);
            p.setFont(page.font());
            page.drawBand(&p, QDateTime(QDate(2024, 3, 5), QTime(12, 0)));
        }
        // The gradient is brightest in the middle of the band, background at the ends.
        const QRgb corner = img.pixel(1919, 107);
        QVERIFY(qBlue(img.pixel(960, 100)) > qBlue(corner) + 40 || qBlue(img.pixel(960, 54)) > 120);
        // The gradient runs along the band's diagonal, so far below the band it
        // is back to the background colour.
        QCOMPARE(img.pixel(1919, 1079), qRgb(0, 7, 62));
        // Title in the middle of the band, clock at the top left.
        QVERIFY(hasWhiteText(img, QRect(860, 10, 200, 70)));
        QVERIFY(hasWhiteText(img, QRect(20, 20, 120, 25)));
        QVERIFY(!hasWhiteText(img, QRect(1700, 20, 200, 25)));
    }
};

QTEST_MAIN(TstShell)
#include "tst_shell.moc"
