#include "ymworkshopverticalbarchart.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

using namespace YmChartScale;

namespace {
const QColor kAxisBlue(53, 194, 255);
const QColor kGridBlue(53, 194, 255, 60);
const QColor kLabelText(3, 150, 175);
const QColor kPlanned(134, 117, 231, 127);
const QColor kCompleted(134, 117, 231);
// Between the unit caption and the page caption.
constexpr int kCaptionGap = 12;

QFont font15(const QFont &base)
{
    QFont f = base;
    f.setPointSize(15);
    return f;
}

// The groups are paged when a slot would be narrower than the widest name or
// than three times the widest number; the scale follows the page's groups.
VerticalLayout layoutOf(const QVector<BarEntry> &entries, const QSize &size, const QFont &font,
                        const YmStaticTextCache &texts, const YmStaticTextCache &texts15, int page)
{
    const QFontMetricsF fm0(font);
    const QFont f15 = font15(font);
    const QFontMetricsF fm15(f15);
    const bool any = !entries.isEmpty();
    double widestName = 0;
    double widestNumber = 0;
    for (const BarEntry &bar : entries) {
        widestName = qMax(widestName, texts15.advance(bar.name, f15));
        widestNumber
            = qMax(widestNumber, qMax(texts.advance(QString::number(bar.planned), font),
                                      texts.advance(QString::number(bar.completed), font)));
    }
    // The widest value label of any page: the same slots on every page.
    const double widestLabel
        = texts15.advance(QString::number(scaleMax(plannedMax(entries), any)), f15);
    const int fit = YmPager::fit(verticalSlotRoom(size.width(), widestLabel),
                                 verticalMinSlot(widestName, widestNumber));
    const YmPager pages = pagesOf(entries.size(), fit, page);
    const QVector<BarEntry> shown = entries.mid(pages.first(), pages.count());
    const qint64 top = scaleMax(plannedMax(shown), any);
    VerticalLayout l
        = verticalLayout(size.width(), size.height(), fm0.height(), fm15.height(),
                         texts15.advance(QString::number(top), f15), pages.perPage(), top);
    l.pages = pages;
    if (!any)
        l.slotW = 0;
    return l;
}
} // namespace

YmWorkshopVerticalBarchart::YmWorkshopVerticalBarchart(QWidget *parent)
    : QWidget(parent)
{
    connect(&m_pageTimer, &QTimer::timeout, this, &YmWorkshopVerticalBarchart::showNextPage);
}

void YmWorkshopVerticalBarchart::setBarData(const QVariantList &bars)
{
    this->bars = bars;
    m_entries = readBars(bars);
    // Whether the bars page is settled at the next paint: measuring every
    // name and number belongs there, not in the host's data call.
    m_pagingStale = true;
    update();
}

VerticalLayout YmWorkshopVerticalBarchart::layoutFor(const QSize &size) const
{
    return layoutOf(m_entries, size, font(), m_texts, m_texts15, m_page);
}

void YmWorkshopVerticalBarchart::updatePaging()
{
    m_pagingStale = false;
    const VerticalLayout l = layoutFor(size());
    m_page = l.pages.page();
    m_pageTimer.setPaging(l.pages.isPaging());
}

void YmWorkshopVerticalBarchart::showNextPage()
{
    YmPager pages = layoutFor(size()).pages;
    pages.next();
    m_page = pages.page();
    update();
}

void YmWorkshopVerticalBarchart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updatePaging();
}

void YmWorkshopVerticalBarchart::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updatePaging();
}

void YmWorkshopVerticalBarchart::paintEvent(QPaintEvent *)
{
    if (m_pagingStale)
        updatePaging();
    QPainter p(this);
    draw(&p, rect());
}

void YmWorkshopVerticalBarchart::draw(QPainter *p, const QRect &r) const
{
    const int h = r.height();
    const QFont font0 = font();
    const QFont f15 = font15(font0);
    const QFontMetricsF fm0(font0);
    const QFontMetricsF fm15(f15);
    const VerticalLayout l = layoutFor(r.size());
    const QVector<BarEntry> entries = m_entries.mid(l.pages.first(), l.pages.count());

    p->save();
    p->translate(r.topLeft());
    // Crisp bars and grid: this chart paints without antialiasing.
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setFont(font0);

    // Unit caption in the top left corner, the page ("2/7") just right of it.
    const QString unit = tr("单位：件");
    const int unitW = truncPixels(m_texts.advance(unit, font0));
    p->setPen(Qt::white);
    m_texts.draw(p, QRect(20, 10, unitW, truncPixels(fm0.height())),
                 Qt::AlignHCenter | Qt::AlignVCenter, unit);
    const QString page = l.pages.caption();
    if (!page.isEmpty()) {
        m_texts.draw(p,
                     QRect(20 + unitW + kCaptionGap, 10, truncPixels(m_texts.advance(page, font0)),
                           truncPixels(fm0.height())),
                     Qt::AlignHCenter | Qt::AlignVCenter, page);
    }

    // Six value labels from scaleMax down, each with a faint grid line; the
    // axis itself carries no label.
    const QPen labelPen(QBrush(kLabelText), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen gridPen(kGridBlue, 1);
    const double half15 = fm15.height() / 2;
    for (int i = 0; i <= 5; ++i) {
        const QString text = QString::number(valueLabel(l.scaleMax, i));
        const double y = l.topY + i * l.stepY;
        const int tw = truncPixels(m_texts15.advance(text, f15));
        p->setPen(labelPen);
        m_texts.draw(
            p,
            QRect(truncPixels(l.labelW + 20 - tw), truncPixels(y), tw, truncPixels(fm15.height())),
            Qt::AlignHCenter | Qt::AlignVCenter, text);
        p->setPen(gridPen);
        p->drawLine(QPointF(l.labelW + 25, y + half15), QPointF(l.right - 10, y + half15));
    }

    p->setPen(QPen(kAxisBlue, 2));
    p->drawLine(QPointF(l.left, l.topY + half15), QPointF(l.left, l.axisY));
    p->drawLine(QPointF(l.left, l.axisY), QPointF(l.right, l.axisY));

    // Group names 25 pixels below the axis.
    p->save();
    p->setFont(f15);
    p->setPen(Qt::white);
    p->setBrush(Qt::NoBrush);
    for (int i = 0; i < entries.size(); ++i)
        m_texts15.draw(p, QRectF(l.left + i * l.slotW, h - l.fh15 - 20, l.slotW, l.fh15),
                       Qt::AlignHCenter | Qt::AlignVCenter, entries.at(i).name);
    p->restore();

    // Each slot: a sixth of a gap, translucent planned bar, opaque completed
    // bar, numbers just above each bar in boxes at least 24 pixels wide.
    const double fh15 = fm15.height();
    for (int i = 0; i < entries.size(); ++i) {
        const BarEntry &bar = entries.at(i);
        const double hP = barLength(l.stepY * 6, bar.planned, l.scaleMax);
        const double hC = barLength(l.stepY * 6, bar.completed, l.scaleMax);
        const double xP = verticalPlannedX(l, i);
        const double xC = xP + l.barW;
        p->setPen(kPlanned);
        p->fillRect(QRectF(xP, l.axisY - hP, l.barW, hP), kPlanned);
        p->setPen(kCompleted);
        p->fillRect(QRectF(xC, l.axisY - hC, l.barW, hC), kCompleted);

        p->setPen(Qt::white);
        m_texts.draw(p, QRectF(xP, l.axisY - hP - fh15, l.boxW, fh15),
                     Qt::AlignHCenter | Qt::AlignVCenter, QString::number(bar.planned));
        m_texts.draw(p, QRectF(xC, l.axisY - hC - fh15, l.boxW, fh15),
                     Qt::AlignHCenter | Qt::AlignVCenter, QString::number(bar.completed));
    }
    p->restore();
}
