// The dashboard page, the main window's docks and menu, and the dock chrome.
#include "ymdocktitlebar.h"
#include "ymdockwidget.h"
#include "ymharness.h"
#include "ymnotifyhistorywindow.h"
#include "ymnotifymanager.h"
#include "ymtestsupport.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"

#include <QApplication>
#include <QContextMenuEvent>
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

} // namespace

class TstShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void contextMenu()
    {
        YmWorkshopManageMainPage main;
        std::unique_ptr<QMenu> menu(main.createContextMenu(&main));
        QCOMPARE(actionTexts(menu.get()),
                 (QStringList{QStringLiteral("计划订单数据"), QStringLiteral("计划停机项设置"),
                              QStringLiteral("计划上下班时间设置"), QStringLiteral("全屏"),
                              QStringLiteral("通知记录")}));
        QSignalSpy stop(&main, &YmWorkshopManageMainPage::sPlanStopSettingShow);
        QSignalSpy work(&main, &YmWorkshopManageMainPage::sPlanWorkTimeSettingShow);
        QSignalSpy full(&main, &YmWorkshopManageMainPage::sCheckFullScreen);
        const int windows = QApplication::topLevelWidgets().size();
        for (QAction *action : menu->actions().mid(0, 4))
            action->trigger();
        QCOMPARE(QApplication::topLevelWidgets().size(), windows); // no plan window yet
        QCOMPARE(stop.count() + work.count() + full.count(), 3);
        menu->actions().at(4)->trigger();
        QVERIFY(YmNotifyManager::instance()->historyWindow()->isVisible());
        YmNotifyManager::destroyInstance();

        main.setFullScreenFlag(true);
        menu.reset(main.createContextMenu(&main));
        QCOMPARE(menu->actions().at(3)->text(), QStringLiteral("取消全屏"));
    }

    // Right-clicking a dock, its title bar or the page's title band opens the menu.
    void rightClickOpensBoardMenu_data()
    {
        QTest::addColumn<QString>("dock");
        QTest::addColumn<bool>("onTitleBar");
        QTest::newRow("dock") << QStringLiteral("dockWidget_planState") << false;
        QTest::newRow("title bar") << QStringLiteral("dockWidget_table") << true;
        QTest::newRow("title band") << QString() << false;
    }
    void rightClickOpensBoardMenu()
    {
        QFETCH(QString, dock);
        QFETCH(bool, onTitleBar);
        YmWorkshopManagePage page;
        showAt(page, QSize(1920, 1000));
        QWidget *receiver = &page;
        if (auto *d = page.findChild<YmDockWidget *>(dock))
            receiver = onTitleBar ? static_cast<QWidget *>(d->titleBar()) : d;
        QStringList seen;
        QTimer::singleShot(0, this, [&seen] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                seen = actionTexts(menu);
                menu->close();
            }
        });
        const QPoint at(receiver->width() / 2, 30);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, receiver->mapToGlobal(at));
        QApplication::sendEvent(receiver, &event);
        QCOMPARE(seen.size(), 5);
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
        QCOMPARE(YmWorkshopManagePage::bandHeightFor(height - 300), 98.0);
        YmWorkshopManagePage page;
        showAt(page, QSize(1920, height));
        QCOMPARE(page.bandHeight(), double(band));
        QTRY_COMPARE(page.mainPage()->geometry().top(), band); // right below the band
        QImage img(page.size(), QImage::Format_ARGB32_Premultiplied);
        {
            QPainter p(&img);
            p.setFont(page.font());
            page.drawBand(&p, QDateTime(QDate(2024, 3, 5), QTime(12, 0)));
        }
        // The gradient brightens the middle of the band; past its diagonal end it
        // is the background colour again. The title stands white in the middle.
        QVERIFY(qBlue(img.pixel(960, band - 8)) > 120);
        QCOMPARE(img.pixel(1919, height - 1), qRgb(0, 7, 62));
        QVERIFY(countPixels(img, QRect(860, 10, 200, 70), isWhite) > 0);
    }

    void clockPosition_data()
    {
        QTest::addColumn<QList<int>>("calls");
        QTest::addColumn<int>("expected");
        QTest::newRow("initially top left") << QList<int>{} << -1;
        QTest::newRow("zero changes nothing") << QList<int>{0} << -1;
        QTest::newRow("positive is top right") << QList<int>{7, 0} << 1;
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
        // The clock's text starts 20 pixels from the left edge or ends 20 pixels
        // from the right one (x 980), 20 pixels below the top.
        QImage img(page.size(), QImage::Format_ARGB32_Premultiplied);
        {
            QPainter p(&img);
            p.setFont(page.font());
            page.drawBand(&p, QDateTime(QDate(2024, 3, 5), QTime(12, 34, 56)));
        }
        QCOMPARE(countPixels(img, QRect(20, 22, 60, 16), isWhite) > 0, expected < 0);
        QCOMPARE(countPixels(img, QRect(0, 22, 18, 16), isWhite), 0);
        QCOMPARE(countPixels(img, QRect(920, 22, 58, 16), isWhite) > 0, expected > 0);
        QCOMPARE(countPixels(img, QRect(982, 22, 18, 16), isWhite), 0);
    }

    // Ticks of the one-second clock, as days after today; the host reloads on each
    // emission, so it must come on the first tick of a new day and on no other.
    void dayChange_data()
    {
        QTest::addColumn<QList<int>>("days");
        QTest::addColumn<QList<int>>("emittedAt"); // tick indices
        QTest::newRow("a day without midnight") << QList<int>{0, 0, 0} << QList<int>{};
        QTest::newRow("one midnight") << QList<int>{0, 0, 1, 1, 1} << QList<int>{2};
        QTest::newRow("two midnights") << QList<int>{0, 1, 1, 2, 2} << QList<int>{1, 3};
        QTest::newRow("clock set back a day") << QList<int>{0, -1, -1} << QList<int>{1};
    }
    void dayChange()
    {
        QFETCH(QList<int>, days);
        YmWorkshopManagePage page;
        QSignalSpy spy(&page, &YmWorkshopManagePage::sUpdateDateInit);
        QList<int> emittedAt;
        for (int i = 0; i < days.size(); ++i) {
            const int before = spy.count();
            page.tick(QDate::currentDate().addDays(days.at(i)));
            if (spy.count() != before)
                emittedAt << i;
        }
        QTEST(emittedAt, "emittedAt");
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
        showAt(page, QSize(1920, 1080));
        QMap<QString, QRect> r;
        for (YmDockWidget *dock : page.mainPage()->docks()) {
            QCOMPARE(dock->features(),
                     QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
            QVERIFY(dock->isVisible() && !dock->isFloating());
            r.insert(dock->objectName().mid(11), dock->geometry());
        }
        const auto at = [&r](const char *name) {
            return r.value(QLatin1String(name));
        };
        // Left: the table beside completion rate over order progress.
        QVERIFY(at("table").right() < at("planRate").left());
        QCOMPARE(at("planRate").left(), at("datePlanTotalProgress").left());
        QVERIFY(at("planRate").bottom() < at("datePlanTotalProgress").top());
        // Right: machine states over today's progress over production status.
        QVERIFY(at("planRate").right() < at("macState").left());
        QVERIFY(at("macState").bottom() < at("datePlanProgress").top());
        QVERIFY(at("datePlanProgress").bottom() < at("planState").top());
        QCOMPARE(at("macState").left(), at("planState").left());
        // The gauge column is not left at its minimum on a full-HD board.
        QVERIFY(at("planRate").width() > 450);
    }

    // Dock and title bar together draw one rounded frame inset by 10 pixels.
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
        QImage top(bar->size(), QImage::Format_ARGB32_Premultiplied);
        QImage bottom(dock.size(), QImage::Format_ARGB32_Premultiplied);
        top.fill(Qt::black);
        bottom.fill(Qt::black);
        {
            QPainter p(&top);
            bar->draw(&p);
            QPainter q(&bottom);
            dock.draw(&q);
        }
        const int h = bar->height();
        QVERIFY(isFrameBlue(top.pixel(10, h - 5)) && isFrameBlue(top.pixel(389, h - 5)));
        QVERIFY(isFrameBlue(top.pixel(200, 10)) && !isFrameBlue(top.pixel(200, 30)));
        QVERIFY(!isFrameBlue(top.pixel(12, 12))); // rounded corner
        QVERIFY(isFrameBlue(bottom.pixel(200, 389)) && isFrameBlue(bottom.pixel(10, h + 50)));
        QVERIFY(!isFrameBlue(bottom.pixel(12, 387)));
        QCOMPARE(countPixels(top, QRect(150, 22, 100, 30), isWhite) > 0, !title.isEmpty());
        QCOMPARE(dock.windowTitle(), title);
    }
};

QTEST_MAIN(TstShell)
#include "tst_shell.moc"
