#include "ymitempixmaptext.h"

#include <QFontMetricsF>
#include <QPainter>

YmItemPixmapText::YmItemPixmapText(QWidget *parent)
    : QWidget(parent)
{}

void YmItemPixmapText::setText(const QString &text)
{
    m_text = text;
    update();
}

void YmItemPixmapText::setPixmap(const QPixmap &pixmap)
{
    m_pixmap = pixmap;
    update();
}

void YmItemPixmapText::setTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void YmItemPixmapText::setTextSize(double size)
{
    m_textSize = size;
    update();
}

void YmItemPixmapText::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    draw(&p, rect());
}

void YmItemPixmapText::draw(QPainter *p, const QRect &r) const
{
    const int w = r.width();
    const int h = r.height();
    p->save();
    p->translate(r.topLeft());
    p->setRenderHint(QPainter::Antialiasing);
    p->setRenderHint(QPainter::TextAntialiasing);
    p->setFont(font());

    // Centred horizontally, and vertically on the upper three quarters; a
    // picture larger than the item is cut by its edges, never scaled.
    const int q = (3 * h) / 4;
    // Its own size in logical pixels: a double-size drawing for a scaled
    // screen covers the same area as the plain one.
    const qreal ratio = m_pixmap.devicePixelRatioF();
    const qreal pw = m_pixmap.width() / ratio;
    const qreal ph = m_pixmap.height() / ratio;
    if (!m_pixmap.isNull())
        p->drawPixmap(QRectF(w / 2.0 - pw / 2, q / 2.0 - ph / 2, pw, ph), m_pixmap,
                      QRectF(0, 0, m_pixmap.width(), m_pixmap.height()));

    QFont f = p->font();
    const int points = int(qBound(0.0, m_textSize, 1000.0));
    if (points > 0)
        f.setPointSize(points);
    p->setFont(f);
    const qreal tw = QFontMetricsF(f).horizontalAdvance(m_text);
    p->setPen(m_textColor);
    // Never elided or wrapped: a long caption stays centred and is cut on both sides.
    p->drawText(QRectF((w - tw) / 2, 0.75 * h, tw, 0.25 * h), Qt::AlignHCenter | Qt::AlignVCenter,
                m_text);
    p->restore();
}
