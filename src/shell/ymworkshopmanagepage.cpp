#include "ymworkshopmanagepage.h"

#include "ymstatictextcache.h"

#include "ymclock.h"
#include "ymworkshopmanagemainpage.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QTimerEvent>

namespace {
constexpr double kDefaultBandHeight = 98.0;
constexpr int kTallWindow = 979; // above this the band takes a tenth of the height
constexpr int kClockMargin = 20;
constexpr int kTitleRaise = 10;
} // namespace

YmWorkshopManagePage::YmWorkshopManagePage(QWidget *parent)
    : QWidget(parent)
    , m_banner(QStringLiteral(":/image/top.png"))
{
    m_currentDate = YmClock::today().toString(m_dateFormat);
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
    return windowHeight > kTallWindow ? double(windowHeight / 10) : kDefaultBandHeight;
}

QRect YmWorkshopManagePage::clockRect(const QFontMetricsF &metrics, const QString &text) const
{
    const double advance = metrics.horizontalAdvance(text);
    const int cw = int(advance);
    const int ch = int(metrics.height());
    if (m_clockPos < 0)
        return QRect(kClockMargin, kClockMargin, cw, ch);
    return QRect(int(width() - kClockMargin - advance), kClockMargin, cw, ch);
}

void YmWorkshopManagePage::drawBackdrop(QPainter *painter) const
{
    const double w = width();
    const double b = m_bandHeight;
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->fillRect(rect(), m_background);

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
    painter->fillRect(rect(), gradient);

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
    const QTransform &t = painter->transform();
    QPaintDevice *device = painter->paintEngine() ? painter->paintEngine()->paintDevice() : nullptr;
    if (!YmStaticTextCache::isEnabled() || m_background.alpha() != 255
        || m_gradientMiddle.alpha() != 255 || t.type() > QTransform::TxTranslate
        || t.dx() != qRound(t.dx()) || t.dy() != qRound(t.dy()) || !device
        || device->devType() != QInternal::Image || device->devicePixelRatioF() != 1.0
        || painter->opacity() != 1.0
        || painter->compositionMode() != QPainter::CompositionMode_SourceOver) {
        return false;
    }
    const QImage::Format format = static_cast<QImage *>(device)->format();
    const QString key = QStringLiteral("%1x%2 %3 %4 %5 %6 %7 %8 %9")
                            .arg(width())
                            .arg(height())
                            .arg(m_bandHeight)
                            .arg(m_background.rgba())
                            .arg(m_gradientMiddle.rgba())
                            .arg(m_banner.cacheKey())
                            .arg(painter->font().toString())
                            .arg(int(format))
                            .arg(logicalDpiY());
    if (key != m_backdropKey || m_backdrop.isNull()) {
        m_backdrop = QImage(size(), format);
        // Point sizes become the same pixel sizes as on the page itself.
        m_backdrop.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        m_backdrop.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
        QPainter cache(&m_backdrop);
        cache.setFont(painter->font());
        cache.setRenderHints(painter->renderHints());
        drawBackdrop(&cache);
        m_backdropKey = key;
    }
    painter->drawImage(QPoint(0, 0), m_backdrop);
    painter->setRenderHint(QPainter::Antialiasing, true);
    return true;
}

void YmWorkshopManagePage::drawBand(QPainter *painter, const QDateTime &now) const
{
    const QFont base = painter->font();
    if (!drawCachedBackdrop(painter))
        drawBackdrop(painter);

    QFont font = base;
    painter->setPen(Qt::white);
    const QString clock = now.toString(m_clockFormat);
    font.setPointSizeF(m_clockFontSize);
    painter->setFont(font);
    painter->drawText(clockRect(QFontMetricsF(font), clock), Qt::AlignCenter, clock);
}

void YmWorkshopManagePage::tick(const QDate &today)
{
    update();
    const QString date = today.toString(m_dateFormat);
    if (date != m_currentDate) {
        m_currentDate = date;
        emit sUpdateDateInit();
    }
    if (m_mainPage)
        m_mainPage->recountMachineStates();
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
        tick(YmClock::today());
    else
        QWidget::timerEvent(event);
}

void YmWorkshopManagePage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawBand(&painter, YmClock::now());
}

void YmWorkshopManagePage::resizeEvent(QResizeEvent *event)
{
    m_bandHeight = bandHeightFor(event->size().height());
    if (layout())
        layout()->setContentsMargins(0, int(m_bandHeight), 0, 0);
    QWidget::resizeEvent(event);
}

void YmWorkshopManagePage::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_mainPage)
        m_mainPage->openContextMenu(event);
}
