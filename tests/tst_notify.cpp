#include "ymclock.h"
#include "ymharness.h"
#include "ymnotifycountwidget.h"
#include "ymnotifyhistory.h"
#include "ymnotifyhistorywindow.h"
#include "ymnotifymanager.h"
#include "ymnotifywidget.h"
#include "ymtestsupport.h"

#include <QtTest>
#include <QtWidgets>

#include <climits>

using Args = QVector<int>;
using Screens = QVector<QPair<QRect, QRect>>;
const QString E(QChar(0x2026)); // ellipsis

// Clicks the close button of the popup in slot n; true once that popup is deleted.
static bool closeSlot(YmNotifyManager *manager, int n)
{
    QPointer<YmNotifyWidget> widget = manager->visibleWidgets().at(n - 1);
    widget->findChild<QPushButton *>(QStringLiteral("btn_close"))->click();
    return QTest::qWaitFor([&] { return widget.isNull(); });
}

class TstNotify : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        YmHarness::start();
        // Added before any manager's own routine, so it runs after it in ~QApplication.
        qAddPostRoutine([] {
            if (!QApplication::allWidgets().isEmpty())
                qFatal("popups outlive the application");
        });
    }

    void init() { YmNotifyManager::destroyInstance(); }
    void cleanup() { YmClock::setFixed(QDateTime()); }

    void elidedText_data() // args: label width, height; single-line text width, height
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Args>("args");
        QTest::addColumn<QString>("expected");
        const QString t = QStringLiteral("abcdefghij"), t3 = t.repeated(3), x = t.repeated(100);
        QTest::newRow("fits") << t << Args{200, 40, 100, 20} << t;
        QTest::newRow("capacity = length") << t << Args{100, 20, 100, 20} << QString(t.left(9) + E);
        QTest::newRow("two lines") << t3 << Args{50, 45, 150, 20} << QString(t3.left(19) + E);
        QTest::newRow("floored") << t.left(7) << Args{10, 20, 20, 20} << QString(t.left(2) + E);
        QTest::newRow("lower than a line") << t << Args{100, 10, 100, 20} << E;
        QTest::newRow("negative size") << t << Args{-5, -5, 100, 20} << E;
        QTest::newRow("zero text width") << t << Args{100, 20, 0, 20} << t;
        QTest::newRow("zero text height") << t << Args{100, 20, 100, 0} << t;
        QTest::newRow("empty text") << QString() << Args{100, 20, 0, 20} << QString();
        QTest::newRow("huge label") << x << Args{INT_MAX, INT_MAX, 1, 1} << x;
        QTest::newRow("huge text") << x.repeated(100) << Args{1, INT_MAX, INT_MAX, 1} << E;
    }

    void elidedText()
    {
        QFETCH(QString, text);
        QFETCH(Args, args);
        QFETCH(QString, expected);
        QCOMPARE(YmNotifyWidget::elidedText(text, args[0], args[1], args[2], args[3]), expected);
    }

    void anchorFor_data()
    {
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QRect>("primary");
        QTest::addColumn<QPoint>("expected");
        const QPair<QRect, QRect> l(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040));
        const QPair<QRect, QRect> r(QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 984));
        const QPoint c(9, 9), lAnchor(1909, 1029), rAnchor(3189, 973);
        QTest::newRow("first") << Screens{l, r} << c << r.second << lAnchor;
        QTest::newRow("second") << Screens{l, r} << QPoint(2000, 9) << l.second << rAnchor;
        QTest::newRow("none under cursor") << Screens{l, r} << QPoint(-5, 9) << r.second << rAnchor;
        QTest::newRow("first match") << Screens{{l.first, r.second}, l} << c << l.second << rAnchor;
        QTest::newRow("nothing at all") << Screens{} << c << QRect() << QPoint(0, 0);
    }

    void anchorFor()
    {
        QFETCH(Screens, screens);
        QFETCH(QPoint, cursor);
        QFETCH(QRect, primary);
        QFETCH(QPoint, expected);
        QCOMPARE(YmNotifyManager::anchorFor(screens, cursor, primary), expected);
    }

    void stackOfSevenCloseAndCounter()
    {
        // Slot n: 10 px inside the available bottom-right corner, 300 x 81 popups 5 px apart.
        const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().bottomRight();
        const auto slot = [corner](int n) {
            return corner - QPoint(310, 5 + n * 86);
        };
        YmNotifyManager *manager = YmNotifyManager::instance();
        for (int i = 1; i <= 7; ++i) // the seventh is identical to the sixth, and queued too
            manager->notify(QStringLiteral("title %1").arg(qMin(i, 6)), QStringLiteral("plan"));
        YmNotifyCountWidget *counter = manager->counterWidget();
        QList<YmNotifyWidget *> shown = manager->visibleWidgets();
        QCOMPARE(shown.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(shown.at(i)->title(), QStringLiteral("title %1").arg(i + 1));
            QCOMPARE(shown.at(i)->geometry(), QRect(slot(i + 1), QSize(300, 81)));
            QVERIFY(shown.at(i)->isVisible());
        }
        QCOMPARE(counter->pos(), slot(6));
        QCOMPARE(counter->countText(), QStringLiteral("还有 2 个计划待提醒"));
        // Once faded in, the counter blinks: its opacity dips well below full.
        QTRY_COMPARE(counter->blinkAnimation()->state(), QAbstractAnimation::Running);
        QTRY_VERIFY(counter->windowOpacity() < 0.5);

        // Closing slot 2 slides 3..5 down and shows the next waiting one in slot 5.
        QVERIFY(closeSlot(manager, 2));
        QCOMPARE(manager->visibleWidgets().mid(0, 4), shown.mid(0, 1) + shown.mid(2));
        QCOMPARE(manager->visibleWidgets().at(4)->title(), QStringLiteral("title 6"));
        QCOMPARE(counter->count(), 1);
        for (int i = 0; i < 5; ++i)
            QTRY_COMPARE(manager->visibleWidgets().at(i)->pos(), slot(i + 1));

        // Called back while it fades out, the counter stays (this used to hide it).
        QSignalSpy spy(counter, &YmArrangedWidget::visibleChanged);
        QVERIFY(closeSlot(manager, 1));
        QVERIFY(counter->slotIndex() == 0 && counter->isVisible());
        manager->notify(QStringLiteral("title 6"), QStringLiteral("plan"));
        QTRY_COMPARE(spy.count(), 1);
        QVERIFY(spy.at(0).at(0).toBool() && counter->isVisible());

        // Showing the last waiting one fades the counter out and stops its blink.
        QVERIFY(closeSlot(manager, 1));
        QTRY_VERIFY(!counter->isVisible());
        QCOMPARE(QList<QVariantList>(spy), (QList<QVariantList>{{true}, {false}}));
        QCOMPARE(counter->blinkAnimation()->state(), QAbstractAnimation::Stopped);
    }

    // Five popups S1..S5 on screen: a keyed notification whose (title, key) is on
    // screen rewrites that popup, one still waiting is rewritten in place; another
    // day or no key queues one more.
    void keyedNotificationRewritten_data()
    {
        QTest::addColumn<QStringList>("sent"); // title|key|text, or "close" (slot 1)
        QTest::addColumn<QStringList>("waiting");
        QTest::addColumn<QString>("shown"); // the five popups' texts, bottom first
        const QString five = QStringLiteral("s s s s s");
        QTest::newRow("same plan, keeps its place")
            << strings({"d1|A|a1", "d1|B|b1", "d1|A|a2", "d1|A|a3"}) << strings({"d1 a3", "d1 b1"})
            << five;
        QTest::newRow("next day starts anew")
            << strings({"d1|A|a1", "d2|A|a2", "d2|A|a3"}) << strings({"d1 a1", "d2 a3"}) << five;
        QTest::newRow("no key queues every one")
            << strings({"d1||a1", "d1||a2"}) << strings({"d1 a1", "d1 a2"}) << five;
        QTest::newRow("on screen, in place")
            << strings({"d1|S3|x", "d1|S5|y"}) << QStringList() << "s s x s y";
        QTest::newRow("after a popup closed")
            << strings({"d1|A|a1", "d1|B|b1", "close", "d1|B|b2", "d1|A|a2"}) << strings({"d1 b2"})
            << "s s s s a2";
    }
    void keyedNotificationRewritten()
    {
        QFETCH(QStringList, sent);
        YmNotifyManager *manager = YmNotifyManager::instance();
        for (int i = 1; i <= 5; ++i)
            manager->notify(QStringLiteral("d1"), QStringLiteral("s"),
                            QStringLiteral("S%1").arg(i));
        for (const QString &s : qAsConst(sent)) {
            const QStringList f = s.split(QLatin1Char('|'));
            if (f.size() < 3)
                QVERIFY(closeSlot(manager, 1)); // a1 moves up from the queue to slot 5
            else
                manager->notify(f.at(0), f.at(2), f.at(1));
        }
        QStringList waiting, shown;
        for (const auto &n : manager->queue())
            waiting << n.first + QLatin1Char(' ') + n.second;
        for (const YmNotifyWidget *widget : manager->visibleWidgets())
            shown << widget->text();
        QTEST(waiting, "waiting");
        QTEST(shown.join(QLatin1Char(' ')), "shown");
        // No counter at all while nothing has waited.
        const YmNotifyCountWidget *counter = manager->counterWidget();
        QCOMPARE(counter ? counter->count() : 0, waiting.size());
    }

    // Refreshes as the board sends them (the plans above their thresholds), and
    // what the user does: "ack P" in the history, "close P" with the popup's
    // button, "day" for the next morning. The history newest first ("+" for
    // acknowledged), and the plans with a popup on screen.
    void acknowledging_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("onScreen");
        QTest::newRow("acknowledged stays quiet") << strings({"A", "A", "ack A", "A", "A"}) << "A+"
                                                  << "";
        QTest::newRow("a new crossing brings it back") << strings({"A", "ack A", "", "A"}) << "A A+"
                                                       << "A";
        QTest::newRow("still above, still quiet") << strings({"A", "ack A", "A B", "A"}) << "B A+"
                                                  << "B";
        QTest::newRow("closing the popup acknowledges")
            << strings({"A B", "close A", "A B"}) << "B A+"
            << "B";
        QTest::newRow("unacknowledged comes back after closing by itself")
            << strings({"A", "expire A", "A"}) << "A"
            << "A";
        QTest::newRow("a new day starts empty") << strings({"A B", "ack A", "day", "A"}) << "A"
                                                << "B A";
    }
    void acknowledging()
    {
        QFETCH(QStringList, steps);
        QDateTime now(QDate(2024, 3, 5), QTime(9, 0));
        YmNotifyManager *manager = YmNotifyManager::instance();
        const auto popupOf = [&](const QString &plan) -> YmNotifyWidget * {
            for (YmNotifyWidget *widget : manager->visibleWidgets())
                if (widget->key() == plan)
                    return widget;
            return nullptr;
        };
        for (const QString &step : qAsConst(steps)) {
            now = now.addSecs(60);
            YmClock::setFixed(now);
            const QString plan = step.section(QLatin1Char(' '), 1);
            if (step == QLatin1String("day")) {
                now = now.addDays(1);
            } else if (step.startsWith(QLatin1String("ack "))) {
                manager->acknowledgePlan(plan);
            } else if (step.startsWith(QLatin1String("close "))) {
                QPointer<YmNotifyWidget> widget = popupOf(plan);
                widget->findChild<QPushButton *>(QStringLiteral("btn_close"))->click();
                QTRY_VERIFY(widget.isNull());
            } else if (step.startsWith(QLatin1String("expire "))) {
                QPointer<YmNotifyWidget> widget = popupOf(plan);
                widget->autoCloseTimer()->start(0);
                QTRY_VERIFY(widget.isNull());
            } else {
                const QStringList plans = step.split(QLatin1Char(' '), Qt::SkipEmptyParts);
                QStringList texts;
                for (const QString &p : plans)
                    texts << p + QStringLiteral(" at ") + now.toString();
                manager->notifyPlans(now.date().toString(Qt::ISODate), plans, texts);
            }
            // Popups withdrawn by an acknowledgement go with the next pass of the loop.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QStringList history, onScreen;
        const YmNotifyHistory &entries = manager->history();
        for (int i = 0; i < entries.size(); ++i)
            history << entries.entry(i).plan
                           + QLatin1String(entries.entry(i).acknowledged ? "+" : "");
        for (const YmNotifyWidget *widget : manager->visibleWidgets())
            onScreen << widget->key();
        YmClock::setFixed(QDateTime());
        QTEST(history.join(QLatin1Char(' ')), "history");
        QTEST(onScreen.join(QLatin1Char(' ')), "onScreen");
    }

    // The history keeps the latest MaxEntries; the dropped ones can no longer be
    // acknowledged, a plan whose entry was dropped still can.
    void historyBound()
    {
        YmNotifyHistory history;
        const QDateTime at(QDate(2024, 3, 5), QTime(9, 0));
        const int n = YmNotifyHistory::MaxEntries + 7;
        for (int i = 0; i < n; ++i)
            QVERIFY(history.record(at.addSecs(i), QStringLiteral("d"), QString::number(i),
                                   QStringLiteral("t")));
        QCOMPARE(history.size(), int(YmNotifyHistory::MaxEntries));
        QCOMPARE(history.entry(0).plan, QString::number(n - 1));
        QCOMPARE(history.entry(history.size() - 1).plan, QString::number(7));
        QVERIFY(!history.acknowledge(history.entry(history.size() - 1).id - 1));
        QVERIFY(history.acknowledgePlan(QStringLiteral("0")));
        QVERIFY(!history.record(at.addSecs(n), QStringLiteral("d"), QStringLiteral("0"),
                                QStringLiteral("t")));
        QCOMPARE(history.size(), int(YmNotifyHistory::MaxEntries));
    }

    // The counter says what it counts; a click opens the history, where checking
    // an entry acknowledges its plan and takes its waiting notification away.
    void counterOpensHistory()
    {
        YmNotifyManager *manager = YmNotifyManager::instance();
        QStringList plans, texts;
        for (int i = 1; i <= 7; ++i) {
            plans << QStringLiteral("P%1").arg(i);
            texts << QStringLiteral("text %1").arg(i);
        }
        manager->notifyPlans(QStringLiteral("d"), plans, texts);
        YmNotifyCountWidget *counter = manager->counterWidget();
        QCOMPARE(counter->countText(), QStringLiteral("还有 2 个计划待提醒"));
        QTRY_VERIFY(counter->isVisible());
        QTest::mouseClick(counter, Qt::LeftButton);
        YmNotifyHistoryWindow *window = manager->historyWindow();
        QVERIFY(window && window->isVisible());
        QTableWidget *table = window->table();
        QTRY_COMPARE(table->rowCount(), 7);
        QCOMPARE(table->item(0, YmNotifyHistoryWindow::PlanColumn)->text(), QStringLiteral("P7"));
        table->item(0, YmNotifyHistoryWindow::AcknowledgedColumn)->setCheckState(Qt::Checked);
        QCOMPARE(manager->queue().size(), 1);
        QCOMPARE(counter->count(), 1);
        QTRY_VERIFY(window->summaryText().endsWith(QStringLiteral("今日通知 7 条，未确认 6 条")));
        QCOMPARE(table->item(0, YmNotifyHistoryWindow::AcknowledgedColumn)->flags()
                     & Qt::ItemIsUserCheckable,
                 Qt::ItemFlags());
    }

    // A popup closes by itself after 30 s, not while the pointer rests on it.
    void popupClosesByItself()
    {
        YmNotifyManager::instance()->notify(QStringLiteral("d"), QStringLiteral("t"));
        QPointer<YmNotifyWidget> widget = YmNotifyManager::instance()->visibleWidgets().at(0);
        QTimer *timer = widget->autoCloseTimer();
        QVERIFY(timer->isActive() && timer->interval() == 30000);
        QEvent enter(QEvent::Enter), leave(QEvent::Leave);
        QApplication::sendEvent(widget, &enter);
        QVERIFY(!timer->isActive());
        QApplication::sendEvent(widget, &leave);
        QVERIFY(timer->isActive());
        timer->start(0);
        QTRY_VERIFY(widget.isNull());
        QCOMPARE(YmNotifyManager::instance()->history().size(), 1);
    }

    void longTextEndsWithEllipsisAndFits()
    {
        const QString text = QStringLiteral("计划订单：冲压件A-1024(350/400)87.50%，").repeated(6);
        YmNotifyManager::instance()->notify(QStringLiteral("2024-05-01"), text);
        YmNotifyWidget *widget = YmNotifyManager::instance()->visibleWidgets().at(0);
        QTRY_COMPARE(widget->windowOpacity(), 1.0); // laid out
        const auto *label = widget->findChild<QLabel *>(QStringLiteral("label_content"));
        const QString shown = label->text();
        QVERIFY(shown.endsWith(E) && shown.size() <= text.size());
        QVERIFY(text.startsWith(shown.chopped(1)));
        const QFontMetrics fm(label->font());
        QVERIFY(label->rect().contains(fm.boundingRect(label->rect(), Qt::TextWordWrap, shown)));
        QVERIFY(fm.horizontalAdvance(shown) > label->width()); // more than one line
    }

    void applicationTeardownDeletesPopups()
    {
        // Shown popups, the blinking counter and a closed popup whose deferred delete never
        // runs are left to ~QApplication, where initTestCase's routine must find no widget.
        YmNotifyManager *manager = YmNotifyManager::instance();
        for (int i = 0; i < 7; ++i)
            manager->notify(QStringLiteral("title"), QStringLiteral("plan"));
        QTRY_COMPARE(manager->counterWidget()->blinkAnimation()->state(),
                     QAbstractAnimation::Running);
        manager->visibleWidgets().at(2)->deleteLater(); // what its close button does
        // Any run ends like this; a plain run also runs this case alone in a child process,
        // which must exit cleanly.
        if (QCoreApplication::arguments().size() > 1)
            return;
        const QStringList args{QLatin1String(__func__), QLatin1String("-silent")};
        QCOMPARE(QProcess::execute(qApp->applicationFilePath(), args), 0);
    }
};

QTEST_MAIN(TstNotify)
#include "tst_notify.moc"
