#include "ymworkshopmanagepage.h"
#include "ympaintcaches.h"

#include "ymboardview.h"
#include "ymclock.h"
#include "ymresources.h"
#include "ymstatictextcache.h"
#include "ymworkshopmanagemainpage.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QTimerEvent>
#include <QtMath>

namespace {
constexpr double kDefaultBandHeight = 98.0;
constexpr int kTallWindow = 979; // above this the band takes a tenth of the height
constexpr int kClockMargin = 20;
constexpr int kTitleRaise = 10;
constexpr double kDesignWidth = 1920.0;
constexpr double kDesignHeight = 1080.0;
constexpr double kDirectMinHeight = 972.0;
// A window of an extreme shape would give the scaled board millions of design
// pixels on its long side (2.7 million for a window of 1 x 1400), and the
// embedded main window a backing store of gigabytes. The board stays within
// four design sizes each way, which leaves room for a portrait screen; the
// rest of such a window stays empty.
const QSizeF kLargestBoard(4 * kDesignWidth, 4 * kDesignHeight);
} // namespace

YmWorkshopManagePage::YmWorkshopManagePage(QWidget *parent)
    : QWidget(parent)
    , m_banner(ymBoardPixmap(QStringLiteral(":/image/top.png")))
{
    m_currentDate = YmClock::today(this).toString(m_dateFormat);
    m_savedFlags = windowFlags();

    setWindowTitle(tr("车间管理看板"));

    m_mainPage = new YmWorkshopManageMainPage();
    connect(m_mainPage, &YmWorkshopManageMainPage::sQueryDatePlan, this,
            &YmWorkshopManagePage::sQueryDatePlan);
    connect(m_mainPage, &YmWorkshopManageMainPage::sAddDatePlan, this,
            &YmWorkshopManagePage::sAddDatePlan);
    connect(m_mainPage, &YmWorkshopManageMainPage::sEditDatePlan, this,
            &YmWorkshopManagePage::sEditDatePlan);
    connect(m_mainPage, &YmWorkshopManageMainPage::sDelDatePlan, this,
            &YmWorkshopManagePage::sDelDatePlan);
    connect(m_mainPage, &YmWorkshopManageMainPage::sPlanStopSettingShow, this,
            &YmWorkshopManagePage::sPlanStopSettingShow);
    connect(m_mainPage, &YmWorkshopManageMainPage::sPlanWorkTimeSettingShow, this,
            &YmWorkshopManagePage::sPlanWorkTimeSettingShow);
    connect(m_mainPage, &YmWorkshopManageMainPage::sSaveKeyAttr, this,
            &YmWorkshopManagePage::sSaveKeyAttr);
    // The title and clock sizes are fixed on the board; the signals stay part of
    // the main window's interface.
    connect(m_mainPage, &YmWorkshopManageMainPage::sChangedTitleFontSize, this,
            [](const QString &) {});
    connect(m_mainPage, &YmWorkshopManageMainPage::sChangedDateTimeFontSize, this,
            [](const QString &) {});
    connect(m_mainPage, &YmWorkshopManageMainPage::sChangedDateTimeLocPos, this,
            &YmWorkshopManagePage::setDateTimeLocPos);
    connect(m_mainPage, &YmWorkshopManageMainPage::sCheckFullScreen, this,
            &YmWorkshopManagePage::toggleFullScreen);

    auto *layout = new QHBoxLayout();
    layout->setContentsMargins(0, int(m_bandHeight), 0, 0);
    layout->addWidget(m_mainPage);
    // A window smaller than the main window's minimum shows the board scaled
    // down instead of growing past the screen.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    setLayout(layout);

    // Start at the size of the screen: the board is shown maximized, and
    // where no window manager maximizes it, it still fills the screen.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size());

    m_timerId = startTimer(1000, Qt::CoarseTimer);
}

YmWorkshopManagePage::~YmWorkshopManagePage() = default;

void YmWorkshopManagePage::initDatas(const QList<QVariant> &planData,
                                     const QList<QVariant> &macList,
                                     const QList<QVariant> &stopList, const QString &startTime,
                                     const QString &endTime, double workMinutes)
{
    if (m_mainPage)
        m_mainPage->initDatas(planData, macList, stopList, startTime, endTime, workMinutes);
}

void YmWorkshopManagePage::updateMacState(const QString &macKey, int state, const QString &macName)
{
    if (m_mainPage)
        m_mainPage->updateMacState(macKey, state, macName);
}

void YmWorkshopManagePage::updateMacProcess(const QString &macKey, const QList<QVariant> &process)
{
    if (m_mainPage)
        m_mainPage->updateMacProcess(macKey, process);
}

void YmWorkshopManagePage::updateLv1Name(const QString &oldName, const QString &newName)
{
    if (m_mainPage)
        m_mainPage->updateLv1Name(oldName, newName);
}

void YmWorkshopManagePage::updateWorkTimeData(const QString &startTime, const QString &endTime,
                                              int workMinutes)
{
    if (m_mainPage)
        m_mainPage->updateWorkTimeData(startTime, endTime, workMinutes);
}

void YmWorkshopManagePage::queryDatePlan(const QString &date, const QList<QVariant> &plans)
{
    if (m_mainPage)
        m_mainPage->queryDatePlan(date, plans);
}

void YmWorkshopManagePage::retranslateUi(int language)
{
    Q_UNUSED(language)
}

void YmWorkshopManagePage::setDateTimeLocPos(int pos)
{
    if (pos == 0)
        return;
    m_clockPos = pos < 0 ? -1 : 1;
    update();
}

double YmWorkshopManagePage::bandHeightFor(int windowHeight)
{
    // A whole tenth: the band's height stays a whole number of pixels.
    const int tenth = windowHeight / 10;
    return windowHeight > kTallWindow ? tenth : kDefaultBandHeight;
}

void YmWorkshopManagePage::setPaintCachesEnabled(bool enabled)
{
    m_paintCaches = enabled;
    YmPaintCaches::setEnabled(this, enabled);
}

double YmWorkshopManagePage::boardScaleFor(const QSize &windowSize)
{
    if (windowSize.width() <= 0 || windowSize.height() <= 0)
        return 1.0;
    // At the full design width a somewhat lower window (maximized beside a task
    // bar, say) still holds every panel and stays sharper unscaled. A narrower
    // one does not: the gauge's captions need the design width.
    if (windowSize.width() >= kDesignWidth && windowSize.height() >= kDirectMinHeight)
        return 1.0;
    const double s = qMin(windowSize.width() / kDesignWidth, windowSize.height() / kDesignHeight);
    return qMin(s, 1.0);
}

QRect YmWorkshopManagePage::clockRect(const QFontMetricsF &metrics, const QString &text) const
{
    const double advance = metrics.horizontalAdvance(text);
    const int cw = int(advance);
    const int ch = int(metrics.height());
    if (m_clockPos < 0)
        return QRect(kClockMargin, kClockMargin, cw, ch);
    return QRect(int(width() / m_boardScale - kClockMargin - advance), kClockMargin, cw, ch);
}

void YmWorkshopManagePage::drawBackdrop(QPainter *painter) const
{
    // Below the design size the band is drawn in design units under the board
    // scale, like the main window in its view.
    const double scale = m_boardScale;
    const double w = width() / scale;
    const double b = m_bandHeight;
    QRect area = rect();
    if (scale != 1.0) {
        painter->scale(scale, scale);
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        area = QRect(0, 0, qCeil(w), qCeil(height() / scale));
    }
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->fillRect(area, m_background);

    QFont font = painter->font();
    font.setPointSizeF(m_titleFontSize);
    painter->setFont(font);
    painter->setPen(Qt::white);
    const QString title = tr("车间管理看板");
    const QFontMetricsF titleMetrics(font);
    const double tw = titleMetrics.horizontalAdvance(title);
    const double th = titleMetrics.height();

    QLinearGradient gradient(0, 0, w, b);
    gradient.setColorAt(0.0, m_background);
    gradient.setColorAt(0.5, m_gradientMiddle);
    gradient.setColorAt(1.0, m_background);
    painter->fillRect(area, gradient);

    painter->drawText(QRectF(w * 0.5 - 0.5 * tw, b * 0.5 - 0.5 * th - kTitleRaise, tw, th),
                      Qt::AlignCenter, title);
    painter->drawPixmap(QRect(0, 0, int(w), int(b)), m_banner);
}

bool YmWorkshopManagePage::drawCachedBackdrop(QPainter *painter) const
{
    // The gradient over the whole page costs more than all six panels; it only
    // changes with the size, so every clock tick blits the same image. Only an
    // opaque backdrop on a plain (translated) raster target is kept: copying
    // its pixels is then exactly what painting it would give.
    const QTransform t = painter->deviceTransform();
    QPaintDevice *device = painter->paintEngine() ? painter->paintEngine()->paintDevice() : nullptr;
    // A board scaled down for a small screen is painted directly.
    if (!m_paintCaches || m_boardScale != 1.0 || m_background.alpha() != 255
        || m_gradientMiddle.alpha() != 255 || t.type() > QTransform::TxTranslate
        || t.dx() != qRound(t.dx()) || t.dy() != qRound(t.dy()) || !device
        || device->devType() != QInternal::Image || device->devicePixelRatioF() != 1.0
        || painter->opacity() != 1.0
        || painter->compositionMode() != QPainter::CompositionMode_SourceOver) {
        return false;
    }
    const QImage::Format format = static_cast<QImage *>(device)->format();
    const QString key = QStringLiteral("%1x%2 %3 %4 %5 %6 %7 %8")
                            .arg(width())
                            .arg(height())
                            .arg(m_bandHeight)
                            .arg(m_background.rgba())
                            .arg(m_gradientMiddle.rgba())
                            .arg(m_banner.cacheKey())
                            .arg(painter->font().toString())
                            .arg(logicalDpiY());
    if (key != m_backdropKey) {
        m_backdrops.clear();
        m_backdropKey = key;
    }
    // One image per target format: the window's backing store and a render
    // into an image (a screenshot) may differ, and must not evict each other.
    QImage &backdrop = m_backdrops[int(format)];
    if (backdrop.isNull()) {
        backdrop = QImage(size(), format);
        // Point sizes become the same pixel sizes as on the page itself.
        backdrop.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        backdrop.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
        QPainter cache(&backdrop);
        cache.setFont(painter->font());
        cache.setRenderHints(painter->renderHints());
        drawBackdrop(&cache);
    }
    painter->drawImage(QPoint(0, 0), backdrop);
    return true;
}

void YmWorkshopManagePage::drawBand(QPainter *painter, const QDateTime &now) const
{
    if (!drawCachedBackdrop(painter)) {
        painter->save();
        drawBackdrop(painter);
        painter->restore();
    }

    // The clock stands in the band's design units, like the backdrop.
    painter->save();
    if (m_boardScale != 1.0)
        painter->scale(m_boardScale, m_boardScale);
    painter->setRenderHint(QPainter::Antialiasing, true);
    QFont font = painter->font();
    painter->setPen(Qt::white);
    const QString clock = now.toString(m_clockFormat);
    font.setPointSizeF(m_clockFontSize);
    painter->setFont(font);
    painter->drawText(clockRect(QFontMetricsF(font), clock), Qt::AlignCenter, clock);
    painter->restore();
}

void YmWorkshopManagePage::tick(const QDate &today)
{
    update();
    const QString date = today.toString(m_dateFormat);
    if (date != m_currentDate) {
        m_currentDate = date;
        emit sUpdateDateInit();
        if (m_mainPage)
            m_mainPage->followDay(today);
    }
    if (m_mainPage)
        m_mainPage->recountMachineStates();
}

void YmWorkshopManagePage::syncDay()
{
    m_currentDate = YmClock::today(this).toString(m_dateFormat);
    update();
}

void YmWorkshopManagePage::toggleFullScreen()
{
    if (isFullScreen()) {
        setWindowFlags(m_savedFlags);
        showMaximized();
    } else {
        setWindowFlags(Qt::Window);
        showFullScreen();
    }
    if (m_mainPage)
        m_mainPage->setFullScreenFlag(isFullScreen());
}

void YmWorkshopManagePage::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId)
        tick(YmClock::today(this));
    else
        QWidget::timerEvent(event);
}

void YmWorkshopManagePage::changeEvent(QEvent *event)
{
    // The band paints its title through tr() and follows on the next repaint.
    if (event->type() == QEvent::LanguageChange)
        setWindowTitle(tr("车间管理看板"));
    QWidget::changeEvent(event);
}

void YmWorkshopManagePage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawBand(&painter, YmClock::now(this));
}

void YmWorkshopManagePage::resizeEvent(QResizeEvent *event)
{
    const QSize size = event->size();
    m_boardScale = boardScaleFor(size);
    if (m_boardScale < 1.0) {
        m_bandHeight
            = bandHeightFor(qRound(qMin(size.height() / m_boardScale, kLargestBoard.height())));
        showScaledBoard(size);
    } else {
        showDirectBoard();
        m_bandHeight = bandHeightFor(size.height());
        if (layout())
            layout()->setContentsMargins(0, int(m_bandHeight), 0, 0);
    }
    QWidget::resizeEvent(event);
}

void YmWorkshopManagePage::showScaledBoard(const QSize &windowSize)
{
    if (!m_mainPage)
        return;
    if (!m_view) {
        // The main window keeps its design size inside the view's scene; every
        // event (right-click, table clicks, dock separators) is mapped back.
        layout()->removeWidget(m_mainPage);
        m_mainPage->setParent(nullptr);
        m_view = new YmBoardView(m_mainPage, this);
        m_view->show();
    }
    const int top = qMin(qRound(m_bandHeight * m_boardScale), windowSize.height());
    m_view->setGeometry(0, top, windowSize.width(), windowSize.height() - top);
    m_view->setBoardScale(m_boardScale, kLargestBoard);
}

void YmWorkshopManagePage::showDirectBoard()
{
    if (!m_view || !m_mainPage)
        return;
    m_view->releaseBoard();
    delete m_view;
    m_view = nullptr;
    layout()->addWidget(m_mainPage);
    m_mainPage->show();
}

void YmWorkshopManagePage::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_mainPage)
        m_mainPage->openContextMenu(event);
}
