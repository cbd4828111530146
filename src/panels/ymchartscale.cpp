#include "ymchartscale.h"

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
    BarEntry bar;
    const QVariantList fields = entry.toList();
    if (fields.size() > 0)
        bar.name = fields.at(0).toString();
    if (fields.size() > 1)
        bar.planned = fields.at(1).toInt();
    if (fields.size() > 2)
        bar.completed = fields.at(2).toInt();
    return bar;
}

QVector<BarEntry> readBars(const QVariantList &bars)
{
    QVector<BarEntry> out;
    out.reserve(bars.size());
    for (const QVariant &entry : bars)
        out.append(readBar(entry));
    return out;
}

qint64 plannedSum(const QVector<BarEntry> &bars)
{
    qint64 sum = 0;
    for (const BarEntry &bar : bars)
        sum += bar.planned;
    return sum;
}

qint64 plannedMax(const QVector<BarEntry> &bars)
{
    qint64 largest = 0;
    for (const BarEntry &bar : bars)
        largest = qMax<qint64>(largest, bar.planned);
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

qint64 tickValue(qint64 scaleMax, int k)
{
    return qint64(k) * (scaleMax / 10);
}

qint64 valueLabel(qint64 scaleMax, int i)
{
    return scaleMax - qint64(i) * (scaleMax / 6);
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

HorizontalLayout horizontalLayout(int width, int height, double fm0Height, double fm15Height,
                                  double widestName, int barCount, qint64 scaleMax)
{
    HorizontalLayout l;
    l.scaleMax = scaleMax;
    l.topY = truncPixels(fm0Height + 20);
    if (widestName < 0) {
        l.nameRight = 20;
        l.left = 25;
    } else {
        l.nameRight = widestName + 20;
        l.left = l.nameRight + 5;
    }
    l.baseY = height - fm15Height - 5;
    l.right = width - 30;
    const double plotW = l.right - l.left;
    l.tickStep = plotW / 10.5;
    l.fullLength = plotW - l.tickStep / 2;
    if (barCount > 0)
        l.band = (l.baseY - l.topY) / (2.0 * barCount + 1.0);
    return l;
}

double horizontalBarTop(const HorizontalLayout &l, int c)
{
    return l.baseY - 2.0 * c * l.band;
}

VerticalLayout verticalLayout(int width, int height, double fm0Height, double fm15Height,
                              double labelAdvance, int barCount, qint64 scaleMax)
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
    if (barCount > 0)
        l.slotW = (width - 1 - 19 - l.labelW - 30) / barCount;
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
