#include "ymworkshophorizontalbarchart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QSet>

using namespace YmChartScale;

namespace {
const QColor kAxisBlue(53, 194, 255);
const QColor kTickText(163, 163, 163);
const QColor kPlanned(22, 92, 154);
const QColor kCompleted(45, 198, 255);

QFont font15(const QFont &base)
{
    QFont f = base;
    f.setPointSize(15);
    return f;
}

// Widest name, each distinct name measured once; negative without names.
double widestName(const QVector<BarEntry> &entries, const YmStaticTextCache &texts15,
                  const QFont &f15)
{
    if (entries.isEmpty())
        return -1.0;
    QSet<QString> seen;
    double widest = 0.0;
    for (const BarEntry &bar : entries) {
        if (seen.contains(bar.name))
            continue;
        seen.insert(bar.name);
        widest = qMax(widest, texts15.advance(bar.name, f15));
    }
    return widest;
}

HorizontalLayout layoutOf(const QVector<BarEntry> &entries, const QSize &size, const QFont &font,
                          const YmStaticTextCache &texts15)
{
    const QFontMetricsF fm0(font);
    const QFont f15 = font15(font);
    const QFontMetricsF fm15(f15);
    const qint64 top = scaleMax(plannedSum(entries), !entries.isEmpty());
    return horizontalLayout(size.width(), size.height(), fm0.height(), fm15.height(),
                            widestName(entries, texts15, f15), entries.size(), top);
}
} // namespace

YmWorkshopHorizontalBarChart::YmWorkshopHorizontalBarChart(QWidget *parent)
    : QWidget(parent)
{}

void YmWorkshopHorizontalBarChart::setBarData(const QVariantList &bars)
{
    this->bars = bars;
    update();
}

HorizontalLayout YmWorkshopHorizontalBarChart::layoutFor(const QSize &size) const
{
    return layoutOf(readBars(bars), size, font(), m_texts15);
}

void YmWorkshopHorizontalBarChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    draw(&p, rect());
}

void YmWorkshopHorizontalBarChart::draw(QPainter *p, const QRect &r) const
{
    const int w = r.width();
    const QFont font0 = font();
    const QFont f15 = font15(font0);
    const QFontMetricsF fm0(font0);
    const QFontMetricsF fm15(f15);
    const QVector<BarEntry> entries = readBars(bars);
    const HorizontalLayout l = layoutOf(entries, r.size(), font0, m_texts15);

    p->save();
    p->translate(r.topLeft());
    p->setRenderHint(QPainter::Antialiasing);
    p->setFont(font0);

    // Unit caption in the top right corner.
    const QString unit = tr("单位：件");
    const double unitW = m_texts.advance(unit, font0);
    p->setPen(Qt::white);
    m_texts.draw(
        p, QRect(truncPixels(w - 30 - unitW), 10, truncPixels(unitW), truncPixels(fm0.height())),
        Qt::AlignHCenter | Qt::AlignVCenter, unit);

    // Ten ticks along the x axis; measured in the 15-point font, drawn in the
    // widget's own.
    const QPen tickTextPen(QBrush(kTickText), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen tickPen(kAxisBlue, 1);
    for (int k = 1; k <= 10; ++k) {
        const QString text = QString::number(tickValue(l.scaleMax, k));
        const double x = l.left + k * l.tickStep;
        const int tw = truncPixels(m_texts15.advance(text, f15));
        p->setPen(tickTextPen);
        m_texts.draw(p, QRectF(x - tw / 2.0, l.baseY, tw, fm15.height()),
                     Qt::AlignHCenter | Qt::AlignVCenter, text);
        p->setPen(tickPen);
        p->drawLine(QPointF(x, l.baseY - 5), QPointF(x, l.baseY));
    }

    p->setPen(QPen(kAxisBlue, 2));
    p->drawLine(QPointF(l.left, l.topY), QPointF(l.left, l.baseY));
    p->drawLine(QPointF(l.left, l.baseY), QPointF(l.right, l.baseY));

    // Bars and gaps alternate upwards from the axis; numbers sit right of the
    // bar ends, the planned one on the bar, the completed one in the gap below.
    p->save();
    p->setFont(f15);
    p->setPen(Qt::white);
    p->setBrush(Qt::NoBrush);
    const int bandH = truncPixels(l.band);
    for (int c = 1; c <= entries.size(); ++c) {
        const BarEntry &bar = entries.at(c - 1);
        const double yTop = horizontalBarTop(l, c);
        const double nw = m_texts15.advance(bar.name, f15);
        m_texts15.draw(p, QRectF(l.nameRight - nw, yTop, nw, l.band),
                       Qt::AlignHCenter | Qt::AlignVCenter, bar.name);

        const double lenP = barLength(l.fullLength, bar.planned, l.scaleMax);
        const double lenC = barLength(l.fullLength, bar.completed, l.scaleMax);
        p->fillRect(QRect(truncPixels(l.left), truncPixels(yTop), truncPixels(lenP), bandH),
                    kPlanned);
        p->fillRect(QRect(truncPixels(l.left), truncPixels(yTop), truncPixels(lenC), bandH),
                    kCompleted);

        const QString planned = QString::number(bar.planned);
        m_texts15.draw(
            p,
            QRectF(l.left + lenP, yTop, truncPixels(m_texts15.advance(planned, f15)), l.band - 5),
            Qt::AlignHCenter | Qt::AlignVCenter, planned);
        const QString completed = QString::number(bar.completed);
        m_texts15.draw(p,
                       QRectF(l.left + lenC, yTop + l.band,
                              truncPixels(m_texts15.advance(completed, f15)), l.band - 5),
                       Qt::AlignHCenter | Qt::AlignVCenter, completed);
    }
    p->restore();
    p->restore();
}
