#include "ymnotifycountwidget.h"
#include "ymnotifymanager.h"
#include "ymnotifywidget.h"
#include "ymplatformmessagefilter.h"
#include "ymresources.h"

#include <QtTest>
#include <QtWidgets>

#include <climits>

using Args = QVector<int>;
static QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list << QString::fromUtf8(text);
    return list;
}
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
        YmPlatformMessageFilter::install();
        ymRegisterResources();
        // Added before any manager's own routine, so it runs after it in ~QApplication.
        qAddPostRoutine([] {
            if (!QApplication::allWidgets().isEmpty())
                qFatal("popups outlive the application");
        });
    }

    void init() { YmNotifyManager::destroyInstance(); }

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
        QCOMPARE(counter->countText(), QStringLiteral("2"));
        // Once faded in, the counter blinks: its opacity dips well below full.
        QTRY_COMPARE(counter->blinkAnimation()->state(), QAbstractAnimation::Running);
        QTRY_VERIFY(counter->windowOpacity() < 0.5);

        // Closing slot 2 slides 3..5 down and shows the next waiting one in slot 5.
        QVERIFY(closeSlot(manager, 2));
        QCOMPARE(manager->visibleWidgets().mid(0, 4), shown.mid(0, 1) + shown.mid(2));
        QCOMPARE(manager->visibleWidgets().at(4)->title(), QStringLiteral("title 6"));
        QCOMPARE(counter->countText(), QStringLiteral("1"));
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

    // With five popups on screen, a keyed notification whose (title, key) is still
    // waiting is rewritten in place; another day or no key queues one more.
    void waitingNotificationReplaced_data()
    {
        QTest::addColumn<QStringList>("sent"); // title|key|text, or "close" (slot 1)
        QTest::addColumn<QStringList>("waiting");
        QTest::newRow("same plan, keeps its place")
            << strings({"d1|A|a1", "d1|B|b1", "d1|A|a2", "d1|A|a3"}) << strings({"d1 a3", "d1 b1"});
        QTest::newRow("next day starts anew")
            << strings({"d1|A|a1", "d2|A|a2", "d2|A|a3"}) << strings({"d1 a1", "d2 a3"});
        QTest::newRow("no key queues every one")
            << strings({"d1||a1", "d1||a2"}) << strings({"d1 a1", "d1 a2"});
        QTest::newRow("after a popup closed")
            << strings({"d1|A|a1", "d1|B|b1", "close", "d1|B|b2", "d1|A|a2"})
            << strings({"d1 b2", "d1 a2"});
    }
    void waitingNotificationReplaced()
    {
        QFETCH(QStringList, sent);
        YmNotifyManager *manager = YmNotifyManager::instance();
        for (int i = 0; i < 5; ++i)
            manager->notify(QStringLiteral("d1"), QStringLiteral("shown"), QStringLiteral("A"));
        for (const QString &s : qAsConst(sent)) {
            const QStringList f = s.split(QLatin1Char('|'));
            if (f.size() < 3)
                QVERIFY(closeSlot(manager, 1)); // a1 moves up from the queue to slot 5
            else
                manager->notify(f.at(0), f.at(2), f.at(1));
        }
        QStringList waiting;
        for (const auto &n : manager->queue())
            waiting << n.first + QLatin1Char(' ') + n.second;
        QTEST(waiting, "waiting");
        QCOMPARE(manager->counterWidget()->countText(), QString::number(waiting.size()));
        const bool closed = sent.contains(QStringLiteral("close"));
        for (const YmNotifyWidget *shown : manager->visibleWidgets().mid(0, 4))
            QCOMPARE(shown->text(), QStringLiteral("shown"));
        QCOMPARE(manager->visibleWidgets().at(4)->text(),
                 closed ? QStringLiteral("a1") : QStringLiteral("shown"));
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
