#include "ymworkshopplanratelabel.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kLabelBlue(1, 195, 255);
}

YmWorkshopPlanRateLabel::YmWorkshopPlanRateLabel(QWidget *parent)
    : QWidget(parent)
{}

void YmWorkshopPlanRateLabel::setTitle(const QString &title)
{
    m_title = title;
    update();
}

void YmWorkshopPlanRateLabel::setValue(int value)
{
    m_value = value;
    update();
}

void YmWorkshopPlanRateLabel::setTextSize(int size)
{
    m_textSize = size;
    update();
}

void YmWorkshopPlanRateLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    draw(&p, rect());
}

void YmWorkshopPlanRateLabel::draw(QPainter *p, const QRect &r) const
{
    const int w = r.width();
    const int h = r.height();
    const int W = w - 1;
    const int H = h - 1;
    p->save();
    p->translate(r.topLeft());
    p->setFont(font());
    p->fillRect(QRect(0, 0, w, h), Qt::transparent);

    // Corner brackets; the outer half of the 5-pixel pen is cut by the edges.
    p->setPen(QPen(QBrush(kLabelBlue), 5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    p->setBrush(Qt::NoBrush);
    QPainterPath corners;
    corners.moveTo(0, 15);
    corners.lineTo(0, 0);
    corners.lineTo(15, 0);
    corners.moveTo(W - 14, 0);
    corners.lineTo(w, 0);
    corners.lineTo(w, 15);
    corners.moveTo(w, H - 14);
    corners.lineTo(w, h);
    corners.lineTo(W - 14, h);
    corners.moveTo(15, h);
    corners.lineTo(0, h);
    corners.lineTo(0, H - 14);
    p->drawPath(corners);

    // Middle line fading out towards both ends.
    const int y = int(h * 0.5 - 0.5);
    QColor faint = kLabelBlue;
    faint.setAlpha(127);
    QLinearGradient gradient(QPointF(15, y), QPointF(W - 15, y));
    gradient.setColorAt(0, faint);
    gradient.setColorAt(0.5, kLabelBlue);
    gradient.setColorAt(1, faint);
    p->setPen(Qt::NoPen);
    p->fillRect(QRect(QPoint(15, y), QPoint(W - 15, y)), gradient);

    // Title just above the middle, value just below; neither is elided.
    p->setPen(QPen(QBrush(kLabelBlue), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    QFont f = p->font();
    if (m_textSize > 0)
        f.setPointSize(m_textSize);
    p->setFont(f);
    const QFontMetricsF fm(f);
    const qreal fh = fm.height();
    const qreal tw = fm.horizontalAdvance(m_title);
    p->drawText(QRectF((w - tw) / 2, h / 2.0 - fh - 5, tw, fh), Qt::AlignHCenter | Qt::AlignVCenter,
                m_title);
    const QString value = QString::number(m_value);
    const qreal vw = fm.horizontalAdvance(value);
    p->drawText(QRectF((w - vw) / 2, h / 2.0 + 5, vw, fh), Qt::AlignHCenter | Qt::AlignVCenter,
                value);
    p->restore();
}
