#ifndef YMCHARTSCALE_H
#define YMCHARTSCALE_H

#include <QString>
#include <QVariantList>
#include <QVector>

// Numbers and geometry shared by the two bar charts. Everything here is plain
// arithmetic on already-measured font metrics so that it can be checked
// without a widget or a painter.
namespace YmChartScale {

// One bar as read from the host payload {name, planned, completed}; anything
// missing or not convertible reads as empty / 0.
struct BarEntry
{
    QString name;
    int planned = 0;
    int completed = 0;
};

BarEntry readBar(const QVariant &entry);
QVector<BarEntry> readBars(const QVariantList &bars);

// Sum of the planned quantities (64-bit: hundreds of plans near INT_MAX must
// not wrap).
qint64 plannedSum(const QVector<BarEntry> &bars);
// Largest planned quantity, 0 when every bar is 0 or less (or there is none).
qint64 plannedMax(const QVector<BarEntry> &bars);

// Rounds the reference value up to a "nice" axis end: r + 1 up to 10, else r
// plus a tenth of the next power of ten (11 -> 21, 100 -> 110, 101 -> 201).
// An empty chart and non-positive results give 1 so that bar lengths never
// divide by zero.
qint64 scaleMax(qint64 reference, bool hasBars);

// Label of the k-th tick of the horizontal value axis (k = 1..10).
qint64 tickValue(qint64 scaleMax, int k);
// Label of the i-th grid line of the vertical chart, from the top (i = 0..5).
qint64 valueLabel(qint64 scaleMax, int i);

// Length in pixels of a bar worth `quantity` on an axis where `scaleMax` takes
// `fullLength` pixels. Bounded to a range far outside any screen so that huge
// quantities stay finite and convertible to int.
double barLength(double fullLength, qint64 quantity, qint64 scaleMax);

// Truncation towards zero for pixel coordinates; NaN reads as 0 and values
// outside the drawable range are clamped instead of overflowing.
int truncPixels(double v);

// Geometry of the horizontal (per plan) chart, all in widget pixels.
struct HorizontalLayout
{
    int topY = 0;          // top of the value axis
    double nameRight = 0;  // right edge of the name column
    double left = 0;       // x of the value axis
    double baseY = 0;      // y of the x axis
    double right = 0;      // end of the x axis
    double tickStep = 0;   // distance between ticks
    double fullLength = 0; // length of a bar worth scaleMax
    double band = 0;       // height of a bar (and of a gap)
    qint64 scaleMax = 1;
};

// fm0Height / fm15Height: line heights of the widget font and of its 15-point
// copy; widestName: the widest name advance, negative when there are no names.
HorizontalLayout horizontalLayout(int width, int height, double fm0Height, double fm15Height,
                                  double widestName, int barCount, qint64 scaleMax);
// Top edge of the c-th bar (c = 1 is the lowest, one band above the axis).
double horizontalBarTop(const HorizontalLayout &l, int c);

// Geometry of the vertical (per group) chart.
struct VerticalLayout
{
    int topY = 0;      // top of the value axis area
    int axisY = 0;     // y of the x axis
    int fh15 = 0;      // line height of the 15-point font, truncated
    double right = 0;  // end of the x axis
    double stepY = 0;  // distance between grid lines
    double labelW = 0; // advance of the widest (top) value label
    double left = 0;   // x of the y axis
    double slotW = 0;  // width of one group's slot (0 without bars)
    double barW = 0;   // width of one bar
    double boxW = 0;   // width of the number box above a bar
    double unit = 0;   // pixels per piece
    qint64 scaleMax = 1;
};

// labelAdvance: the 15-point advance of the text of scaleMax.
VerticalLayout verticalLayout(int width, int height, double fm0Height, double fm15Height,
                              double labelAdvance, int barCount, qint64 scaleMax);
// Left edge of the planned bar of entry i (0-based); the completed bar follows it.
double verticalPlannedX(const VerticalLayout &l, int i);

} // namespace YmChartScale

#endif // YMCHARTSCALE_H
