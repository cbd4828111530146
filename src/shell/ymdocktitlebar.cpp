#include "ymdocktitlebar.h"
#include "ui_ymdocktitlebar.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kMinimumHeight = 150;
constexpr double kEmptyTitleWidth = 50.0;
} // namespace

YmDockTitleBar::YmDockTitleBar(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::YmDockTitleBar)
{
    ui->setupUi(this);
    setMinimumHeight(kMinimumHeight);
}

YmDockTitleBar::~YmDockTitleBar()
{
    delete ui;
}

void YmDockTitleBar::setTitle(const QString &title)
{
    if (m_title == title)
        return;
    m_title = title;
    update();
}

void YmDockTitleBar::setTitleFontSize(int pointSize)
{
    m_titleFontSize = pointSize;
    update();
}

QPen YmDockTitleBar::framePen()
{
    return QPen(QBrush(QColor(0, 105, 179)), 4.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

void YmDockTitleBar::draw(QPainter *painter, const QRect &exposed) const
{
    const int w = width();
    const int h = height();
    const int m = m_inset;
    const double d = m_cornerDiameter;

    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->fillRect(rect(), Qt::transparent);
    painter->setPen(framePen());

    QPainterPath path;
    path.moveTo(m, h);
    path.lineTo(m, h - m);
    path.arcTo(QRectF(m, m, int(d), int(d)), 180, -90);
    path.lineTo(int(w - m - 0.5 * d), m);
    path.arcTo(QRectF(int(w - m - d), m, int(d), int(d)), 90, -90);
    path.lineTo(w - m, h);
    painter->drawPath(path);

    QFont font = painter->font();
    font.setPointSize(m_titleFontSize);
    painter->setFont(font);
    painter->setPen(Qt::white);
    const QFontMetricsF metrics(font);
    const double tw = m_title.isEmpty() ? kEmptyTitleWidth : m_texts.advance(m_title, font);
    const double th = metrics.height();
    const QRect titleRect(int((w - tw) * 0.5), 2 * m, int(tw), int(th));
    // A paint of a part of the bar leaves out a title it does not reach:
    // laying the text out costs more than the rest of the bar.
    if (exposed.isNull() || exposed.intersects(titleRect.adjusted(-m, -m, m, m)))
        m_texts.draw(painter, titleRect, Qt::AlignCenter, m_title);
}

void YmDockTitleBar::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    draw(&painter, event->rect());
}
