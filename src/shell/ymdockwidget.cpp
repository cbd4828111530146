#include "ymdockwidget.h"

#include "ymdocktitlebar.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kCornerDiameter = 80;
constexpr int kCornerRadius = 40;
} // namespace

YmDockWidget::YmDockWidget(QWidget *parent)
    : QDockWidget(parent)
{
    setWindowFlag(Qt::FramelessWindowHint, true);
    setAttribute(Qt::WA_TranslucentBackground, true);
    setWindowFlag(Qt::NoDropShadowWindowHint, true);

    m_titleBar = qobject_cast<YmDockTitleBar *>(titleBarWidget());
    if (!m_titleBar) {
        m_titleBar = new YmDockTitleBar();
        setTitleBarWidget(m_titleBar);
    }
}

YmDockWidget::~YmDockWidget() = default;

void YmDockWidget::setTitle(const QString &title)
{
    if (m_titleBar)
        m_titleBar->setTitle(title);
    setWindowTitle(title);
}

void YmDockWidget::draw(QPainter *painter) const
{
    if (!m_titleBar)
        return;
    const int w = width();
    const int h = height();
    const int t = m_titleBar->height();
    const int m = m_titleBar->frameInset();

    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->fillRect(QRect(QPoint(0, t), rect().bottomRight()), m_fillColor);
    painter->setPen(YmDockTitleBar::framePen());

    QPainterPath path;
    path.moveTo(m, t);
    path.lineTo(m, int(h - m - kCornerRadius));
    path.arcTo(QRectF(m, int(h - m - kCornerDiameter), kCornerDiameter, kCornerDiameter), 180, 90);
    path.lineTo(int(w - m - kCornerRadius), h - m);
    path.arcTo(QRectF(int(w - m - kCornerDiameter), int(h - m - kCornerDiameter), kCornerDiameter,
                      kCornerDiameter),
               -90, 90);
    path.lineTo(w - m, t);
    painter->drawPath(path);
}

void YmDockWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    draw(&painter);
}

// The main window's event filter opens the board menu first; nothing else to do.
void YmDockWidget::contextMenuEvent(QContextMenuEvent *)
{}
