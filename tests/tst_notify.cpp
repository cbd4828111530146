#include "ymarrangedwidget.h"
#include "ymmetatypes.h"
#include "ymnotifycountwidget.h"
#include "ymnotifymanager.h"
#include "ymnotifywidget.h"
#include "ymresources.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <climits>
#include <cstdio>

namespace {

const QChar Ellipsis(0x2026);
bool s_keepManagerForTeardown = false;

QList<YmArrangedWidget *> liveArrangedWidgets()
{
    QList<YmArrangedWidget *> result;
    const QWidgetList all = QApplication::allWidgets();
    for (QWidget *widget : all) {
        if (auto *arranged = qobject_cast<YmArrangedWidget *>(widget))
            result.append(arranged);
    }
    return result;
}

QtMessageHandler s_previousHandler = nullptr;

// The offscreen platform warns on every opacity step and raise of a popup.
void quietPlatformWarnings(QtMsgType type, const QMessageLogContext &context, const QString &msg)
{
    if (type == QtWarningMsg && msg.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (s_previousHandler)
        s_previousHandler(type, context, msg);
}

// Registered before the manager's own post routine, so it runs after it.
void reportLeftoverPopups()
{
    std::printf("leftover popups: %d\n", int(liveArrangedWidgets().size()));
    std::fflush(stdout);
}

QRect available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Where slot n must be: 10 pixels inside the available bottom-right corner,
// 300 x 81 popups, 5 pixels apart.
QPoint expectedSlot(int n)
{
    const QRect a = available();
    return QPoint(a.right() - 10 - 300, a.bottom() - 10 - 81 - (n - 1) * 86);
}

YmNotifyManager *managerWith(int count, const QString &prefix = QStringLiteral("plan "))
{
    YmNotifyManager *manager = YmNotifyManager::instance();
    for (int i = 1; i <= count; ++i)
        manager->notify(QStringLiteral("title %1").arg(i), prefix + QString::number(i));
    return manager;
}

void closePopup(YmNotifyWidget *widget)
{
    widget->findChild<QPushButton *>(QStringLiteral("btn_close"))->click();
}

} // namespace

class TstNotify : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void elidedText_data();
    void elidedText();
    void wrappedFit_data();
    void wrappedFit();
    void anchorFor_data();
    void anchorFor();
    void anchorsToCursorScreenOrPrimary();

    void sevenNotificationsFillFiveSlotsAndCounter();
    void closingSlidesDownAndShowsNextWaiting();
    void lastWaitingShownFadesCounterOut();
    void counterCalledBackWhileFadingOutStays();
    void longTextEndsWithEllipsisAndFits();
    void identicalNotificationsQueueEach();
    void renderedStack();
    void applicationTeardownDeletesPopups();
};

void TstNotify::initTestCase()
{
    ymRegisterResources();
    ymRegisterMetaTypes();
    s_previousHandler = qInstallMessageHandler(quietPlatformWarnings);
    QVERIFY(QGuiApplication::primaryScreen());
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().center());
}

void TstNotify::cleanup()
{
    if (s_keepManagerForTeardown)
        return;
    YmNotifyManager::destroyInstance();
    // Popups that were closed but not yet deleted go as well.
    QCOMPARE(liveArrangedWidgets().size(), 0);
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().center());
}

void TstNotify::elidedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("textWidth");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<QString>("expected");

    const QString ten = QStringLiteral("abcdefghij");
    const QString thirty = ten + ten + ten;
    QTest::newRow("fits") << ten << 200 << 40 << 100 << 20 << ten;
    QTest::newRow("capacity equals length")
        << ten << 100 << 20 << 100 << 20 << QString(ten.left(9) + Ellipsis);
    QTest::newRow("two lines") << thirty << 50 << 45 << 150 << 20
                               << QString(thirty.left(19) + Ellipsis);
    QTest::newRow("chars per line floored")
        << QStringLiteral("abcdefg") << 10 << 20 << 20 << 20 << QStringLiteral("ab") + Ellipsis;
    QTest::newRow("capacity one") << ten << 10 << 20 << 100 << 20 << QString(Ellipsis);
    QTest::newRow("lower than a line") << ten << 100 << 10 << 100 << 20 << QString(Ellipsis);
    QTest::newRow("zero width") << ten << 0 << 20 << 100 << 20 << QString(Ellipsis);
    QTest::newRow("negative size") << ten << -5 << -5 << 100 << 20 << QString(Ellipsis);
    QTest::newRow("zero text width") << ten << 100 << 20 << 0 << 20 << ten;
    QTest::newRow("zero text height") << ten << 100 << 20 << 100 << 0 << ten;
    QTest::newRow("empty text") << QString() << 100 << 20 << 0 << 20 << QString();
    QTest::newRow("huge label") << QString(1000, QLatin1Char('x')) << INT_MAX << INT_MAX << 1 << 1
                                << QString(1000, QLatin1Char('x'));
    QTest::newRow("huge text narrow label")
        << QString(100000, QLatin1Char('x')) << 1 << INT_MAX << INT_MAX << 1 << QString(Ellipsis);
}

void TstNotify::elidedText()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, textWidth);
    QFETCH(int, textHeight);
    QFETCH(QString, expected);
    QCOMPARE(YmNotifyWidget::elidedText(text, width, height, textWidth, textHeight), expected);
}

void TstNotify::wrappedFit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("unchanged");

    const QString latin = QStringLiteral("Order A-1024(350/400)87.50% passed its threshold ");
    QTest::newRow("short fits") << QStringLiteral("计划订单：A(3/3)100.00%") << QSize(231, 42)
                                << true;
    QTest::newRow("words need an extra line") << latin.repeated(2) << QSize(231, 36) << false;
    QTest::newRow("estimate already cut") << latin.left(40) + Ellipsis << QSize(100, 18) << false;
    QTest::newRow("nothing fits") << latin << QSize(231, 3) << false;
    QTest::newRow("empty size") << latin << QSize(0, 0) << true;
    QTest::newRow("empty text") << QString() << QSize(231, 42) << true;
}

void TstNotify::wrappedFit()
{
    QFETCH(QString, text);
    QFETCH(QSize, size);
    QFETCH(bool, unchanged);
    QFont font;
    font.setPixelSize(12);
    const QFontMetrics fm(font);
    const QString fitted = YmNotifyWidget::wrappedFit(text, fm, size);
    if (unchanged) {
        QCOMPARE(fitted, text);
        return;
    }
    QVERIFY(fitted.endsWith(Ellipsis));
    const QString body = text.endsWith(Ellipsis) ? text.left(text.size() - 1) : text;
    QVERIFY(fitted.size() <= body.size());
    QVERIFY(body.startsWith(fitted.left(fitted.size() - 1)));
    if (fitted.size() > 1) {
        const QRect needed
            = fm.boundingRect(QRect(0, 0, size.width(), 10000),
                              Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, fitted);
        QVERIFY(needed.height() <= size.height());
    }
}

void TstNotify::anchorFor_data()
{
    using Screens = QVector<QPair<QRect, QRect>>;
    QTest::addColumn<Screens>("screens");
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<QRect>("fallback");
    QTest::addColumn<QPoint>("expected");

    const QPair<QRect, QRect> left(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040));
    const QPair<QRect, QRect> right(QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 984));
    const QPair<QRect, QRect> mirror(QRect(0, 0, 1920, 1080), QRect(0, 0, 1900, 1080));
    QTest::newRow("first screen") << Screens{left, right} << QPoint(100, 100) << left.second
                                  << QPoint(1909, 1029);
    QTest::newRow("second screen")
        << Screens{left, right} << QPoint(2000, 100) << left.second << QPoint(3189, 973);
    QTest::newRow("cursor nowhere uses primary")
        << Screens{left, right} << QPoint(-50, 5000) << right.second << QPoint(3189, 973);
    QTest::newRow("mirrored screens take the first")
        << Screens{mirror, left} << QPoint(10, 10) << left.second << QPoint(1889, 1069);
    QTest::newRow("no screens, primary known")
        << Screens{} << QPoint(10, 10) << left.second << QPoint(1909, 1029);
    QTest::newRow("no screen at all") << Screens{} << QPoint(10, 10) << QRect() << QPoint(0, 0);
}

void TstNotify::anchorFor()
{
    using Screens = QVector<QPair<QRect, QRect>>;
    QFETCH(Screens, screens);
    QFETCH(QPoint, cursor);
    QFETCH(QRect, fallback);
    QFETCH(QPoint, expected);
    QCOMPARE(YmNotifyManager::anchorFor(screens, cursor, fallback), expected);
}

void TstNotify::anchorsToCursorScreenOrPrimary()
{
    const QRect a = available();
    YmNotifyManager *manager = YmNotifyManager::instance();
    QCOMPARE(manager->anchorRight(), a.right() - 10);
    QCOMPARE(manager->anchorBottom(), a.bottom() - 10);

    YmNotifyManager::destroyInstance();
    QCursor::setPos(-100000, -100000);
    manager = YmNotifyManager::instance();
    QCOMPARE(manager->anchorRight(), a.right() - 10);
    QCOMPARE(manager->anchorBottom(), a.bottom() - 10);
}

void TstNotify::sevenNotificationsFillFiveSlotsAndCounter()
{
    YmNotifyManager *manager = managerWith(7);
    const QList<YmNotifyWidget *> shown = manager->visibleWidgets();
    QCOMPARE(shown.size(), 5);
    QCOMPARE(manager->queueSize(), 2);
    for (int i = 0; i < shown.size(); ++i) {
        YmNotifyWidget *widget = shown.at(i);
        QCOMPARE(widget->slotIndex(), i + 1);
        QCOMPARE(widget->pos(), expectedSlot(i + 1));
        QCOMPARE(widget->size(), QSize(300, 81));
        QVERIFY(widget->isVisible());
        QVERIFY(widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(widget->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(widget->title(), QStringLiteral("title %1").arg(i + 1));
        QCOMPARE(widget->findChild<QLabel *>(QStringLiteral("label_title"))->text(),
                 widget->title());
        QTRY_COMPARE(widget->windowOpacity(), 1.0);
    }

    YmNotifyCountWidget *counter = manager->counterWidget();
    QVERIFY(counter->isVisible());
    QCOMPARE(counter->slotIndex(), 6);
    QCOMPARE(counter->pos(), expectedSlot(6));
    QCOMPARE(counter->countText(), QStringLiteral("2"));
    QVERIFY(counter->testAttribute(Qt::WA_TransparentForMouseEvents));
    // Blinking: after the fade-in the blink runs and dips well below full opacity.
    QTRY_COMPARE(counter->blinkAnimation()->state(), QAbstractAnimation::Running);
    QTRY_VERIFY(counter->windowOpacity() < 0.5);
}

void TstNotify::closingSlidesDownAndShowsNextWaiting()
{
    YmNotifyManager *manager = managerWith(7);
    const QList<YmNotifyWidget *> before = manager->visibleWidgets();
    QPointer<YmNotifyWidget> closed = before.at(1);
    closePopup(closed);
    QTRY_VERIFY(closed.isNull());

    const QList<YmNotifyWidget *> after = manager->visibleWidgets();
    QCOMPARE(after.size(), 5);
    QCOMPARE(after.at(0), before.at(0));
    QCOMPARE(after.at(1), before.at(2));
    QCOMPARE(after.at(2), before.at(3));
    QCOMPARE(after.at(3), before.at(4));
    QCOMPARE(after.at(4)->title(), QStringLiteral("title 6"));
    QCOMPARE(after.at(4)->pos(), expectedSlot(5));
    QCOMPARE(manager->queueSize(), 1);
    QCOMPARE(manager->counterWidget()->countText(), QStringLiteral("1"));
    QCOMPARE(after.at(0)->pos(), expectedSlot(1));
    for (int i = 1; i < 4; ++i) {
        QCOMPARE(after.at(i)->slotIndex(), i + 1);
        QTRY_COMPARE(after.at(i)->pos(), expectedSlot(i + 1));
    }
}

void TstNotify::lastWaitingShownFadesCounterOut()
{
    YmNotifyManager *manager = managerWith(6);
    YmNotifyCountWidget *counter = manager->counterWidget();
    QCOMPARE(counter->countText(), QStringLiteral("1"));
    QTRY_COMPARE(counter->blinkAnimation()->state(), QAbstractAnimation::Running);

    QSignalSpy spy(counter, &YmArrangedWidget::visibleChanged);
    QPointer<YmNotifyWidget> closed = manager->visibleWidgets().at(0);
    closePopup(closed);
    QTRY_VERIFY(closed.isNull());
    QCOMPARE(manager->queueSize(), 0);
    QCOMPARE(manager->visibleWidgets().size(), 5);
    QCOMPARE(counter->slotIndex(), 0);
    QTRY_VERIFY(!counter->isVisible());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QCOMPARE(counter->blinkAnimation()->state(), QAbstractAnimation::Stopped);
}

void TstNotify::counterCalledBackWhileFadingOutStays()
{
    YmNotifyManager *manager = managerWith(6);
    YmNotifyCountWidget *counter = manager->counterWidget();
    QTRY_COMPARE(counter->blinkAnimation()->state(), QAbstractAnimation::Running);

    QPointer<YmNotifyWidget> closed = manager->visibleWidgets().at(0);
    closePopup(closed);
    QTRY_VERIFY(closed.isNull());
    QCOMPARE(counter->slotIndex(), 0);
    QVERIFY(counter->isVisible()); // still fading out

    QSignalSpy spy(counter, &YmArrangedWidget::visibleChanged);
    manager->notify(QStringLiteral("title 7"), QStringLiteral("plan 7"));
    QCOMPARE(counter->slotIndex(), 6);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QVERIFY(counter->isVisible());
    QCOMPARE(counter->countText(), QStringLiteral("1"));
    QCOMPARE(counter->blinkAnimation()->state(), QAbstractAnimation::Running);
}

void TstNotify::longTextEndsWithEllipsisAndFits()
{
    const QString sentence = QStringLiteral("计划订单：冲压件A-1024(350/400)87.50%，");
    const QString longText = sentence.repeated(6);
    YmNotifyManager *manager = YmNotifyManager::instance();
    manager->notify(QStringLiteral("2024-05-01"), longText);
    manager->notify(QStringLiteral("2024-05-01"), sentence);
    YmNotifyWidget *widget = manager->visibleWidgets().at(0);
    QCOMPARE(widget->text(), longText);
    auto *label = widget->findChild<QLabel *>(QStringLiteral("label_content"));
    const QString shown = label->text();
    QVERIFY(shown.endsWith(Ellipsis));
    QVERIFY(longText.startsWith(shown.left(shown.size() - 1)));
    QVERIFY(shown.size() < longText.size());

    // Measured on the laid-out label: the cut text still fits once the layout settles,
    // and it uses more than one line of the label.
    QTRY_COMPARE(widget->windowOpacity(), 1.0);
    const QFontMetrics fm(label->font());
    QVERIFY(label->width() > 150);
    const QRect needed = fm.boundingRect(QRect(0, 0, label->width(), 10000),
                                         Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, shown);
    QVERIFY2(needed.height() <= label->height(),
             qPrintable(QStringLiteral("%1 > %2").arg(needed.height()).arg(label->height())));
    QVERIFY(fm.horizontalAdvance(shown) > label->width());

    auto *shortLabel
        = manager->visibleWidgets().at(1)->findChild<QLabel *>(QStringLiteral("label_content"));
    QCOMPARE(shortLabel->text(), sentence);
}

void TstNotify::identicalNotificationsQueueEach()
{
    YmNotifyManager *manager = YmNotifyManager::instance();
    for (int i = 0; i < 7; ++i)
        manager->notify(QStringLiteral("2024-05-01"), QStringLiteral("same"));
    QCOMPARE(manager->visibleWidgets().size(), 5);
    QCOMPARE(manager->queueSize(), 2);
    QCOMPARE(manager->counterWidget()->countText(), QStringLiteral("2"));
    manager->notify(QStringLiteral("2024-05-01"), QStringLiteral("same"));
    QCOMPARE(manager->queueSize(), 3);
    QCOMPARE(manager->counterWidget()->countText(), QStringLiteral("3"));
}

void TstNotify::renderedStack()
{
    YmNotifyManager *manager = managerWith(
        7, QStringLiteral("计划订单：冲压件支架总成-左侧加强板-批次20240501-A线(350/400)87.50% #"));
    for (YmNotifyWidget *widget : manager->visibleWidgets())
        QTRY_COMPARE(widget->windowOpacity(), 1.0);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QColor background(18, 32, 74);
    QImage image(screen.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    QList<YmArrangedWidget *> widgets;
    for (YmNotifyWidget *widget : manager->visibleWidgets())
        widgets.append(widget);
    widgets.append(manager->counterWidget());
    for (YmArrangedWidget *widget : widgets)
        painter.drawPixmap(widget->pos() - screen.topLeft(), widget->grab());
    painter.end();
    const QString path = qEnvironmentVariable("YM_NOTIFY_PNG");
    if (!path.isEmpty())
        image.save(path);

    const QPoint origin = expectedSlot(1) - screen.topLeft();
    // Inside the card, bottom right, away from the text: white.
    QCOMPARE(image.pixelColor(origin + QPoint(285, 68)), QColor(Qt::white));
    // The outer margin below the card shows the screen (or a faint shadow), not white.
    QVERIFY(qGray(image.pixel(origin + QPoint(150, 80))) < 90);
    // Logo at the left: the placeholder art is blue.
    const QColor logo = image.pixelColor(origin + QPoint(33, 33));
    QVERIFY(logo.blue() > logo.red() + 50);
    // Close button at the top right of the card.
    const QColor close = image.pixelColor(origin + QPoint(283, 18));
    QVERIFY(close != QColor(Qt::white));
    // The counter is drawn straight on the screen: its number is white on dark.
    const QPoint counterOrigin = expectedSlot(6) - screen.topLeft();
    bool whiteDigit = false;
    for (int x = 60; x < 120 && !whiteDigit; ++x) {
        for (int y = 20; y < 60 && !whiteDigit; ++y)
            whiteDigit = qGray(image.pixel(counterOrigin + QPoint(x, y))) > 200;
    }
    QVERIFY(whiteDigit);
}

void TstNotify::applicationTeardownDeletesPopups()
{
    if (qEnvironmentVariableIsSet("YM_NOTIFY_TEARDOWN_CHILD")) {
        // Leave shown popups, the blinking counter and a closed popup whose deferred
        // delete never runs for ~QApplication.
        qAddPostRoutine(reportLeftoverPopups);
        YmNotifyManager *manager = managerWith(7);
        QTRY_COMPARE(manager->counterWidget()->blinkAnimation()->state(),
                     QAbstractAnimation::Running);
        closePopup(manager->visibleWidgets().at(2));
        s_keepManagerForTeardown = true;
        return;
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("YM_NOTIFY_TEARDOWN_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("applicationTeardownDeletesPopups")});
    QVERIFY(child.waitForFinished(120000));
    const QByteArray out = child.readAllStandardOutput();
    const QByteArray err = child.readAllStandardError();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit, err.constData());
    QVERIFY2(child.exitCode() == 0, QByteArray(out + err).constData());
    QVERIFY2(out.contains("leftover popups: 0"), out.constData());
}

QTEST_MAIN(TstNotify)
#include "tst_notify.moc"
