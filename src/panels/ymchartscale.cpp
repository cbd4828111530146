#include "ymchartscale.h"

#include "ympayload.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace YmChartScale {

namespace {
constexpr qint64 kMax = std::numeric_limits<qint64>::max();
// Far beyond any screen, yet QRect arithmetic (left + width) cannot overflow.
constexpr double kPixelLimit = 16777216.0;
} // namespace

BarEntry readBar(const QVariant &entry)
{
    return YmPayload::barEntry(entry);
}

QVector<BarEntry> readBars(const QVariantList &bars)
{
    QVector<BarEntry> out;
    out.reserve(bars.size());
    for (const QVariant &entry : bars)
        out.append(readBar(entry));
    return out;
}

qint64 plannedMax(const QVector<BarEntry> &bars)
{
    qint64 largest = 0;
    for (const BarEntry &bar : bars)
        largest = qMax<qint64>(largest, bar.planned);
    return largest;
}

qint64 quantityMax(const QVector<BarEntry> &bars, int first, int count)
{
    qint64 largest = 0;
    const int end = qMin(bars.size(), qMax(0, first) + qMax(0, count));
    for (int i = qMax(0, first); i < end; ++i)
        largest = qMax<qint64>(largest, qMax(bars.at(i).planned, bars.at(i).completed));
    return largest;
}

qint64 scaleMax(qint64 reference, bool hasBars)
{
    if (!hasBars)
        return 1;
    qint64 result = 0;
    if (reference <= 10) {
        result = reference + 1;
    } else {
        qint64 m = 10;
        while (m < reference && m <= kMax / 10)
            m *= 10;
        result = reference > kMax - m / 10 ? kMax : reference + m / 10;
    }
    // A non-positive axis end (negative plans) would make every bar a
    // division by zero.
    return qMax<qint64>(1, result);
}

qint64 fillingScaleMax(qint64 reference, bool hasBars)
{
    if (!hasBars)
        return 1;
    const qint64 r = qMax<qint64>(0, reference);
    qint64 power = 1;
    while (power <= r / 10)
        power *= 10;
    const qint64 unit = qMax<qint64>(10, power / 10);
    if (r > kMax - unit)
        return kMax;
    return (r / unit + 1) * unit;
}

qint64 tickValue(qint64 scaleMax, int k)
{
    return qint64(k) * (scaleMax / 10);
}

qint64 valueLabel(qint64 scaleMax, int i)
{
    return scaleMax - qint64(i) * (scaleMax / 6);
}

int tickLabelStep(const QVector<double> &widths, double tickStep, double gap)
{
    for (int step : {1, 2, 5}) {
        bool fits = true;
        for (int k = step; k + step <= widths.size() && fits; k += step)
            fits = step * tickStep - (widths.at(k - 1) + widths.at(k + step - 1)) / 2 >= gap;
        if (fits)
            return step;
    }
    return 10;
}

bool apart(const QRectF &a, const QRectF &b, double gap)
{
    return !a.adjusted(-gap, -gap, gap, gap).intersects(b);
}

QVector<int> placeLabels(const QVector<QVector<QRectF>> &candidates,
                         const QVector<QRectF> &obstacles, double gap)
{
    QVector<int> chosen;
    QVector<QRectF> taken = obstacles;
    for (const QVector<QRectF> &options : candidates) {
        int pick = -1;
        for (int i = 0; i < options.size() && pick < 0; ++i) {
            const QRectF &rect = options.at(i);
            if (std::all_of(taken.cbegin(), taken.cend(),
                            [&](const QRectF &other) { return apart(rect, other, gap); }))
                pick = i;
        }
        if (pick >= 0)
            taken.append(options.at(pick));
        chosen.append(pick);
    }
    return chosen;
}

YmPager pagesOf(int count, int fit, int page)
{
    YmPager pages;
    pages.setLayout(count, count <= fit ? count : fit);
    pages.setPage(page);
    return pages;
}

double barLength(double fullLength, qint64 quantity, qint64 scaleMax)
{
    if (scaleMax <= 0)
        return 0.0;
    const double len = fullLength * double(quantity) / double(scaleMax);
    if (std::isnan(len))
        return 0.0;
    return qBound(-kPixelLimit, len, kPixelLimit);
}

int truncPixels(double v)
{
    if (std::isnan(v))
        return 0;
    return int(std::trunc(qBound(-kPixelLimit, v, kPixelLimit)));
}

double horizontalMinBand(double fm15Height)
{
    return fm15Height;
}

HorizontalLayout horizontalLayout(int width, int height, double fm0Height, double fm15Height,
                                  double widestName, double widestNumber,
                                  const QVector<BarEntry> &bars, int page)
{
    HorizontalLayout l;
    l.topY = truncPixels(fm0Height + 20);
    l.baseY = height - fm15Height - 5;
    const double plotH = l.baseY - l.topY;
    // n bars and n + 1 gaps of one band each.
    const int fit = qMax(1, (YmPager::fit(plotH, horizontalMinBand(fm15Height)) - 1) / 2);
    l.pages = pagesOf(bars.size(), fit, page);
    const int slotCount = l.pages.perPage();
    if (!bars.isEmpty())
        l.band = plotH / (2.0 * slotCount + 1.0);
    l.scaleMax
        = fillingScaleMax(quantityMax(bars, l.pages.first(), l.pages.count()), !bars.isEmpty());

    // A name takes at most a third of the chart; longer ones are elided.
    l.nameWidth = qMax(0.0, width / 3.0);
    if (widestName < 0) {
        l.nameRight = 20;
        l.left = 25;
    } else {
        l.nameRight = qMin(widestName, l.nameWidth) + 20;
        l.left = l.nameRight + 5;
    }
    // The axis ends 30 pixels from the edge, or earlier where the number
    // behind a bar as long as the axis would not fit in the chart.
    constexpr double kEdge = 16; // clear of the dock's frame
    const double roomForBars = width - kEdge - qMax(0.0, widestNumber) - l.left;
    l.right = qMax(l.left, qMin(width - 30.0, l.left + roomForBars * 10.5 / 10));
    const double plotW = l.right - l.left;
    l.tickStep = plotW / 10.5;
    l.fullLength = plotW - l.tickStep / 2;
    return l;
}

double horizontalBarTop(const HorizontalLayout &l, int c)
{
    return l.baseY - 2.0 * c * l.band;
}

int horizontalBarAt(const HorizontalLayout &l, double y)
{
    if (!(l.band > 0))
        return 0;
    // Bar c covers d = (baseY - y) / band from 2c - 1 to 2c.
    const double d = (l.baseY - y) / l.band;
    if (!(d > 0) || d > 2.0 * l.pages.count())
        return 0;
    const int c = int(std::ceil(d / 2));
    return d >= 2.0 * c - 1 ? c : 0;
}

double verticalMinSlot(double widestName, double widestNumber)
{
    constexpr double kNameGap = 12;
    constexpr double kNumberGap = 6;
    return qMax(widestName + kNameGap, 3 * (widestNumber + kNumberGap));
}

double verticalSlotRoom(int width, double labelAdvance)
{
    return width - 1 - 19 - labelAdvance - 30;
}

VerticalLayout verticalLayout(int width, int height, double fm0Height, double fm15Height,
                              double labelAdvance, int slotCount, qint64 scaleMax)
{
    VerticalLayout l;
    l.scaleMax = scaleMax;
    l.topY = truncPixels(fm0Height + 20);
    l.fh15 = truncPixels(fm15Height);
    l.axisY = height - l.fh15 - 45;
    l.right = width - 30;
    l.stepY = ((l.axisY - l.topY) - fm15Height / 2) / 6;
    l.labelW = labelAdvance;
    l.left = l.labelW + 25;
    if (slotCount > 0)
        l.slotW = verticalSlotRoom(width, l.labelW) / slotCount;
    l.barW = l.slotW / 3;
    l.boxW = qMax(24.0, l.barW);
    if (scaleMax > 0)
        l.unit = l.stepY * 6 / double(scaleMax);
    return l;
}

double verticalPlannedX(const VerticalLayout &l, int i)
{
    return l.left + i * l.slotW + l.slotW / 6;
}

} // namespace YmChartScale
