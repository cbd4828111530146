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
const QColor kAtRisk(255, 176, 32); // amber: a plan heading below its target

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

HorizontalLayout layoutOf(const QVector<BarEntry> &entries, const QSize &size, double h0,
                          double h15, const QFont &f15, const YmStaticTextCache &texts15)
{
    const qint64 top = scaleMax(plannedSum(entries), !entries.isEmpty());
    return horizontalLayout(size.width(), size.height(), h0, h15, widestName(entries, texts15, f15),
                            entries.size(), top);
}
} // namespace

YmWorkshopHorizontalBarChart::YmWorkshopHorizontalBarChart(QWidget *parent)
    : QWidget(parent)
{}

void YmWorkshopHorizontalBarChart::setPlansAtRisk(const QSet<QString> &plans)
{
    if (plans == m_atRisk)
        return;
    m_atRisk = plans;
    update();
}

void YmWorkshopHorizontalBarChart::setBarData(const QVariantList &bars)
{
    this->bars = bars;
    m_entries = readBars(bars);
    m_numbers.clear();
    m_numbers.reserve(m_entries.size());
    for (const BarEntry &bar : qAsConst(m_entries))
        m_numbers.append({QString::number(bar.planned), QString::number(bar.completed)});
    m_layoutSize = QSize();
    update();
}

const YmWorkshopHorizontalBarChart::Fonts &YmWorkshopHorizontalBarChart::fonts() const
{
    const QFont current = font();
    if (!m_fonts.valid || current != m_fonts.font0) {
        m_fonts.valid = true;
        m_fonts.font0 = current;
        m_fonts.f15 = font15(current);
        m_fonts.h0 = QFontMetricsF(current).height();
        m_fonts.h15 = QFontMetricsF(m_fonts.f15).height();
        m_fonts.key = current.toString();
        m_layoutSize = QSize();
        // The key names a font by its description; two fonts alike in that
        // but drawn differently must not share pixels.
        m_axes.clear();
    }
    return m_fonts;
}

HorizontalLayout YmWorkshopHorizontalBarChart::layoutFor(const QSize &size) const
{
    const Fonts &f = fonts();
    if (size != m_layoutSize) {
        m_layout = layoutOf(m_entries, size, f.h0, f.h15, f.f15, m_texts15);
        m_layoutSize = size;
        updateAxes();
    }
    return m_layout;
}

// The tick labels and everything the axes' pixels depend on, for the memo.
void YmWorkshopHorizontalBarChart::updateAxes() const
{
    const HorizontalLayout &l = m_layout;
    const Fonts &f = m_fonts;
    Axes &axes = m_axesCache;
    QRectF tickBox;
    for (int k = 1; k <= 10; ++k) {
        axes.ticks[k - 1] = QString::number(tickValue(l.scaleMax, k));
        const double x = l.left + k * l.tickStep;
        const int tw = truncPixels(m_texts15.advance(axes.ticks[k - 1], f.f15));
        tickBox |= QRectF(x - tw / 2.0, l.baseY - 5, tw, f.h15 + 5);
    }
    axes.tickArea = YmPixelMemo::pixelArea(tickBox, 4);
    const double numbers[] = {l.left, l.right, double(l.topY), l.baseY, l.tickStep, f.h15};
    axes.key = QByteArray(reinterpret_cast<const char *>(numbers), int(sizeof numbers));
    axes.key.append(reinterpret_cast<const char *>(f.key.utf16()), f.key.size() * 2);
    for (const QString &tick : axes.ticks)
        axes.key.append(reinterpret_cast<const char *>(tick.utf16()), tick.size() * 2).append('\0');
}

void YmWorkshopHorizontalBarChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    draw(&p, rect());
}

void YmWorkshopHorizontalBarChart::draw(QPainter *p, const QRect &r) const
{
    const int w = r.width();
    const Fonts &fonts = this->fonts();
    const QFont &font0 = fonts.font0;
    const QFont &f15 = fonts.f15;
    const double h0 = fonts.h0;
    const double h15 = fonts.h15;
    const QVector<BarEntry> &entries = m_entries;
    const HorizontalLayout l = layoutFor(r.size());

    p->save();
    p->translate(r.topLeft());
    p->setRenderHint(QPainter::Antialiasing);
    p->setFont(font0);

    // Unit caption in the top right corner.
    const QString unit = tr("单位：件");
    const double unitW = m_texts.advance(unit, font0);
    p->setPen(Qt::white);
    m_texts.draw(p, QRect(truncPixels(w - 30 - unitW), 10, truncPixels(unitW), truncPixels(h0)),
                 Qt::AlignHCenter | Qt::AlignVCenter, unit);

    // Ten ticks along the x axis; measured in the 15-point font, drawn in the
    // widget's own. The axes change only with the scale and the size, so their
    // pixels are remembered (the key names all they depend on).
    const QPen tickTextPen(QBrush(kTickText), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen tickPen(kAxisBlue, 1);
    const Axes &axes = m_axesCache;
    m_axes.paint(p, axes.tickArea, axes.key + 't', [&] {
        for (int k = 1; k <= 10; ++k) {
            const double x = l.left + k * l.tickStep;
            const QString &text = axes.ticks[k - 1];
            const int tw = truncPixels(m_texts15.advance(text, f15));
            p->setPen(tickTextPen);
            m_texts.draw(p, QRectF(x - tw / 2.0, l.baseY, tw, h15),
                         Qt::AlignHCenter | Qt::AlignVCenter, text);
            p->setPen(tickPen);
            p->drawLine(QPointF(x, l.baseY - 5), QPointF(x, l.baseY));
        }
    });

    p->setPen(QPen(kAxisBlue, 2));
    const QPointF corner(l.left, l.baseY);
    m_axes.paint(p, YmPixelMemo::pixelArea(QRectF(QPointF(l.left, l.topY), corner), 3),
                 axes.key + 'y', [&] { p->drawLine(QPointF(l.left, l.topY), corner); });
    m_axes.paint(p, YmPixelMemo::pixelArea(QRectF(corner, QPointF(l.right, l.baseY)), 3),
                 axes.key + 'x', [&] { p->drawLine(corner, QPointF(l.right, l.baseY)); });

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
        const int x = truncPixels(l.left);
        const int y = truncPixels(yTop);
        const int wP = truncPixels(lenP);
        const int wC = truncPixels(lenC);
        // Both colours are opaque: the planned bar is filled only where the
        // completed one will not cover it.
        // Whole-pixel rectangles come out the same without antialiasing, on
        // the rasteriser's fast path.
        p->setRenderHint(QPainter::Antialiasing, false);
        if (wC >= 0 && wC <= wP && bandH > 0) {
            p->fillRect(QRect(x + wC, y, wP - wC, bandH), kPlanned);
        } else {
            p->fillRect(QRect(x, y, wP, bandH), kPlanned);
        }
        p->fillRect(QRect(x, y, wC, bandH), kCompleted);
        if (!m_atRisk.isEmpty() && m_atRisk.contains(bar.name)) {
            p->setPen(QPen(kAtRisk, 2));
            p->drawRect(QRect(x, y, qMax(qMax(wP, wC), 2), qMax(bandH, 2)).adjusted(-1, -1, 1, 1));
            p->setPen(Qt::white);
        }
        p->setRenderHint(QPainter::Antialiasing);

        const QString &planned = m_numbers.at(c - 1).first;
        m_texts15.draw(
            p,
            QRectF(l.left + lenP, yTop, truncPixels(m_texts15.advance(planned, f15)), l.band - 5),
            Qt::AlignHCenter | Qt::AlignVCenter, planned);
        const QString &completed = m_numbers.at(c - 1).second;
        m_texts15.draw(p,
                       QRectF(l.left + lenC, yTop + l.band,
                              truncPixels(m_texts15.advance(completed, f15)), l.band - 5),
                       Qt::AlignHCenter | Qt::AlignVCenter, completed);
    }
    p->restore();
    p->restore();
}
