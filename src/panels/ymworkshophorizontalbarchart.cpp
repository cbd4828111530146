#include "ymworkshophorizontalbarchart.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QSet>
#include <QToolTip>

using namespace YmChartScale;

namespace {
const QColor kAxisBlue(53, 194, 255);
const QColor kTickText(163, 163, 163);
const QColor kPlanned(22, 92, 154);
const QColor kCompleted(45, 198, 255);
// Least room between two tick labels; closer ones are thinned out.
constexpr double kTickLabelGap = 6;
// Between the page caption and the unit caption.
constexpr int kCaptionGap = 12;
const QColor kAtRisk(255, 176, 32); // amber: a plan heading below its target

QFont font15(const QFont &base)
{
    QFont f = base;
    f.setPointSize(15);
    return f;
}
} // namespace

YmWorkshopHorizontalBarChart::YmWorkshopHorizontalBarChart(QWidget *parent)
    : QWidget(parent)
{
    connect(&m_pageTimer, &QTimer::timeout, this, &YmWorkshopHorizontalBarChart::showNextPage);
}

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
    m_widestName = -2;
    m_widestNumber = -1;
    // Whether the bars page is settled at the next paint: measuring every
    // name and number belongs there, not in the host's data call.
    m_pagingStale = true;
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
        m_widestName = -2;
        m_widestNumber = -1;
        m_elided.clear();
        // The key names a font by its description; two fonts alike in that
        // but drawn differently must not share pixels.
        m_axes.clear();
    }
    return m_fonts;
}

// Widest name over all bars (each distinct name measured once), so that the
// axis stays put from page to page; negative without names.
double YmWorkshopHorizontalBarChart::widestName() const
{
    if (m_widestName >= -1)
        return m_widestName;
    const Fonts &f = fonts();
    double widest = m_entries.isEmpty() ? -1.0 : 0.0;
    QSet<QString> seen;
    for (const BarEntry &bar : qAsConst(m_entries)) {
        if (seen.contains(bar.name))
            continue;
        seen.insert(bar.name);
        widest = qMax(widest, m_texts15.advance(bar.name, f.f15));
    }
    m_widestName = widest;
    return widest;
}

double YmWorkshopHorizontalBarChart::widestNumber() const
{
    if (m_widestNumber >= 0)
        return m_widestNumber;
    const Fonts &f = fonts();
    double widest = 0;
    for (const auto &numbers : qAsConst(m_numbers))
        widest = qMax(widest, qMax(m_texts15.advance(numbers.first, f.f15),
                                   m_texts15.advance(numbers.second, f.f15)));
    m_widestNumber = widest;
    return widest;
}

HorizontalLayout YmWorkshopHorizontalBarChart::layoutFor(const QSize &size) const
{
    const Fonts &f = fonts();
    if (size != m_layoutSize || m_page != m_layoutPage) {
        m_layout = horizontalLayout(size.width(), size.height(), f.h0, f.h15, widestName(),
                                    widestNumber(), m_entries, m_page);
        m_layoutSize = size;
        m_layoutPage = m_page;
        updateAxes();
    }
    return m_layout;
}

QString YmWorkshopHorizontalBarChart::shownName(const QString &name, double width) const
{
    const Fonts &f = fonts();
    if (width != m_elidedWidth) {
        m_elided.clear();
        m_elidedWidth = width;
    }
    auto it = m_elided.find(name);
    if (it == m_elided.end()) {
        // The middle goes: plan names often share a long prefix (a date, a
        // customer) and differ at the end.
        it = m_elided.insert(name,
                             m_texts15.advance(name, f.f15) <= width
                                 ? name
                                 : QFontMetricsF(f.f15).elidedText(name, Qt::ElideMiddle, width));
    }
    return *it;
}

// The tick labels and everything the axes' pixels depend on, for the memo.
// Labels are measured in the font they are drawn in, the widget's own.
void YmWorkshopHorizontalBarChart::updateAxes() const
{
    const HorizontalLayout &l = m_layout;
    const Fonts &f = m_fonts;
    Axes &axes = m_axesCache;
    QVector<double> widths;
    for (int k = 1; k <= 10; ++k) {
        axes.ticks[k - 1] = QString::number(tickValue(l.scaleMax, k));
        axes.widths[k - 1] = truncPixels(m_texts.advance(axes.ticks[k - 1], f.font0));
        widths.append(axes.widths[k - 1]);
    }
    axes.labelStep = tickLabelStep(widths, l.tickStep, kTickLabelGap);
    QRectF tickBox;
    for (int k = 1; k <= 10; ++k) {
        const double x = l.left + k * l.tickStep;
        const double tw = tickLabelled(k, axes.labelStep) ? axes.widths[k - 1] : 0;
        tickBox |= QRectF(x - tw / 2.0, l.baseY - 5, tw, f.h15 + 5);
    }
    axes.tickArea = YmPixelMemo::pixelArea(tickBox, 4);
    const double numbers[]
        = {l.left, l.right, double(l.topY), l.baseY, l.tickStep, f.h15, double(axes.labelStep)};
    axes.key = QByteArray(reinterpret_cast<const char *>(numbers), int(sizeof numbers));
    axes.key.append(reinterpret_cast<const char *>(f.key.utf16()), f.key.size() * 2);
    for (const QString &tick : axes.ticks)
        axes.key.append(reinterpret_cast<const char *>(tick.utf16()), tick.size() * 2).append('\0');
}

QVector<QRectF> YmWorkshopHorizontalBarChart::tickLabelRects(const QSize &size) const
{
    const HorizontalLayout l = layoutFor(size);
    QVector<QRectF> rects;
    for (int k = 1; k <= 10; ++k) {
        if (!tickLabelled(k, m_axesCache.labelStep))
            continue;
        const double tw = m_axesCache.widths[k - 1];
        rects.append(QRectF(l.left + k * l.tickStep - tw / 2.0, l.baseY, tw, m_fonts.h15));
    }
    return rects;
}

void YmWorkshopHorizontalBarChart::updatePaging()
{
    m_pagingStale = false;
    const HorizontalLayout l = layoutFor(size());
    m_page = l.pages.page();
    m_pageTimer.setPaging(l.pages.isPaging());
}

void YmWorkshopHorizontalBarChart::showNextPage()
{
    YmPager pages = layoutFor(size()).pages;
    pages.next();
    m_page = pages.page();
    update();
}

void YmWorkshopHorizontalBarChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updatePaging();
}

void YmWorkshopHorizontalBarChart::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updatePaging();
}

// A name shortened on the chart is shown whole in a tool tip.
bool YmWorkshopHorizontalBarChart::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const HorizontalLayout l = layoutFor(size());
    const int c = horizontalBarAt(l, help->pos().y());
    if (c > 0 && help->pos().x() <= l.nameRight) {
        const QString &name = m_entries.at(l.pages.first() + c - 1).name;
        if (shownName(name, l.nameWidth) != name) {
            QToolTip::showText(help->globalPos(), name, this);
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void YmWorkshopHorizontalBarChart::paintEvent(QPaintEvent *)
{
    if (m_pagingStale)
        updatePaging();
    QPainter p(this);
    draw(&p, rect());
}

void YmWorkshopHorizontalBarChart::draw(QPainter *p, const QRect &r) const
{
    const HorizontalLayout l = layoutFor(r.size());

    p->save();
    p->translate(r.topLeft());
    p->setRenderHint(QPainter::Antialiasing);
    p->setFont(m_fonts.font0);
    drawCaptions(p, r.width(), l);
    drawAxes(p, l);

    // Bars and gaps alternate upwards from the axis.
    p->save();
    p->setFont(m_fonts.f15);
    p->setPen(Qt::white);
    p->setBrush(Qt::NoBrush);
    for (int c = 1; c <= l.pages.count(); ++c)
        drawBar(p, l, c, l.pages.first() + c - 1);
    p->restore();
    p->restore();
}

// Unit caption in the top right corner, the page ("2/50") just left of it.
void YmWorkshopHorizontalBarChart::drawCaptions(QPainter *p, int width,
                                                const HorizontalLayout &l) const
{
    const QFont &font0 = m_fonts.font0;
    const int h0 = truncPixels(m_fonts.h0);
    const QString unit = tr("单位：件");
    const double unitW = m_texts.advance(unit, font0);
    const int unitX = truncPixels(width - 30 - unitW);
    p->setPen(Qt::white);
    m_texts.draw(p, QRect(unitX, 10, truncPixels(unitW), h0), Qt::AlignHCenter | Qt::AlignVCenter,
                 unit);
    const QString page = l.pages.caption();
    if (!page.isEmpty()) {
        const int pageW = truncPixels(m_texts.advance(page, font0));
        m_texts.draw(p, QRect(unitX - kCaptionGap - pageW, 10, pageW, h0),
                     Qt::AlignHCenter | Qt::AlignVCenter, page);
    }
}

// Ten ticks along the x axis, labelled where the labels keep apart. The axes
// change only with the scale and the size, so their pixels are remembered
// (the key names all they depend on).
void YmWorkshopHorizontalBarChart::drawAxes(QPainter *p, const HorizontalLayout &l) const
{
    const QPen tickTextPen(QBrush(kTickText), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen tickPen(kAxisBlue, 1);
    const Axes &axes = m_axesCache;
    const double h15 = m_fonts.h15;
    m_axes.paint(p, axes.tickArea, axes.key + 't', [&] {
        for (int k = 1; k <= 10; ++k) {
            const double x = l.left + k * l.tickStep;
            if (tickLabelled(k, axes.labelStep)) {
                const double tw = axes.widths[k - 1];
                p->setPen(tickTextPen);
                m_texts.draw(p, QRectF(x - tw / 2.0, l.baseY, tw, h15),
                             Qt::AlignHCenter | Qt::AlignVCenter, axes.ticks[k - 1]);
            }
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
}

// The name right-aligned before the axis; the planned bar with the completed
// one over it; the planned number just right of the planned bar's end, the
// completed one right of the completed bar's end in the gap below. Anything
// else marked on a bar belongs here, beside its rectangles.
void YmWorkshopHorizontalBarChart::drawBar(QPainter *p, const HorizontalLayout &l, int c,
                                           int index) const
{
    const BarEntry &bar = m_entries.at(index);
    const QFont &f15 = m_fonts.f15;
    const double yTop = horizontalBarTop(l, c);
    const QString name = shownName(bar.name, l.nameWidth);
    const double nw = m_texts15.advance(name, f15);
    m_texts15.draw(p, QRectF(l.nameRight - nw, yTop, nw, l.band),
                   Qt::AlignHCenter | Qt::AlignVCenter, name);

    const double lenP = barLength(l.fullLength, bar.planned, l.scaleMax);
    const double lenC = barLength(l.fullLength, bar.completed, l.scaleMax);
    const int x = truncPixels(l.left);
    const int y = truncPixels(yTop);
    const int bandH = truncPixels(l.band);
    const QRect planned(x, y, truncPixels(lenP), bandH);
    const QRect completed(x, y, truncPixels(lenC), bandH);
    // Both colours are opaque: the planned bar is filled only where the
    // completed one will not cover it. Whole-pixel rectangles come out the
    // same without antialiasing, on the rasteriser's fast path.
    p->setRenderHint(QPainter::Antialiasing, false);
    if (completed.width() >= 0 && completed.width() <= planned.width() && bandH > 0)
        p->fillRect(planned.adjusted(completed.width(), 0, 0, 0), kPlanned);
    else
        p->fillRect(planned, kPlanned);
    p->fillRect(completed, kCompleted);
    if (!m_atRisk.isEmpty() && m_atRisk.contains(bar.name)) {
        // Around the longer of the two bars, outside them: the bar's own
        // colours stay readable.
        const QPen pen = p->pen();
        p->setPen(QPen(kAtRisk, 2));
        p->setBrush(Qt::NoBrush);
        p->drawRect(QRect(x, y, qMax(qMax(planned.width(), completed.width()), 2), qMax(bandH, 2))
                        .adjusted(-1, -1, 1, 1));
        p->setPen(pen);
    }
    p->setRenderHint(QPainter::Antialiasing);

    const QString &plannedText = m_numbers.at(index).first;
    m_texts15.draw(
        p,
        QRectF(l.left + lenP, yTop, truncPixels(m_texts15.advance(plannedText, f15)), l.band - 5),
        Qt::AlignHCenter | Qt::AlignVCenter, plannedText);
    const QString &completedText = m_numbers.at(index).second;
    m_texts15.draw(p,
                   QRectF(l.left + lenC, yTop + l.band,
                          truncPixels(m_texts15.advance(completedText, f15)), l.band - 5),
                   Qt::AlignHCenter | Qt::AlignVCenter, completedText);
}
