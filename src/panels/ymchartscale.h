#ifndef YMCHARTSCALE_H
#define YMCHARTSCALE_H

#include "ymbarentry.h"
#include "ympager.h"

#include <QRectF>
#include <QString>
#include <QVariantList>
#include <QVector>

// Numbers and geometry shared by the two bar charts. Everything here is plain
// arithmetic on already-measured font metrics so that it can be checked
// without a widget or a painter.
namespace YmChartScale {

// One bar as read from the host payload {name, planned, completed}; anything
// missing or not convertible reads as empty / 0.
using BarEntry = YmBarEntry;

BarEntry readBar(const QVariant &entry);
QVector<BarEntry> readBars(const QVariantList &bars);

// Largest planned quantity, 0 when every bar is 0 or less (or there is none).
qint64 plannedMax(const QVector<BarEntry> &bars);
// Largest planned or completed quantity of the `count` bars from `first`; 0
// when all are 0 or less.
qint64 quantityMax(const QVector<BarEntry> &bars, int first, int count);

// Rounds the reference value up to a "nice" axis end: r + 1 up to 10, else r
// plus a tenth of the next power of ten (11 -> 21, 100 -> 110, 101 -> 201).
// An empty chart and non-positive results give 1 so that bar lengths never
// divide by zero.
qint64 scaleMax(qint64 reference, bool hasBars);
// An axis end the longest bar nearly fills: the next multiple above the
// reference of a tenth of its leading power of ten, that multiple at least 10
// (1,270 -> 1,300, 3,500 -> 3,600, 950 -> 960, 80 -> 90, 7 -> 10). The bar
// worth the reference then takes over 90 % of the axis from 100 on, and the
// ten ticks (a tenth of the end each) are whole numbers. An empty chart
// gives 1, like scaleMax.
qint64 fillingScaleMax(qint64 reference, bool hasBars);

// Label of the k-th tick of the horizontal value axis (k = 1..10).
qint64 tickValue(qint64 scaleMax, int k);
// Label of the i-th grid line of the vertical chart, from the top (i = 0..5).
qint64 valueLabel(qint64 scaleMax, int i);

// Every how many ticks a label fits (1, 2, 5 or 10, always including the last
// tick): labels of widths[k - 1] centred on ticks k * tickStep keep at least
// `gap` pixels between neighbours.
int tickLabelStep(const QVector<double> &widths, double tickStep, double gap);
inline bool tickLabelled(int k, int step)
{
    return step > 0 && k % step == 0;
}

// True when the two rectangles keep at least `gap` pixels between them.
bool apart(const QRectF &a, const QRectF &b, double gap);
// Places texts one after another: each takes the first of its candidate
// rectangles that keeps `gap` pixels from the obstacles and from every text
// placed before it. The index of the candidate taken, -1 for a text left out.
QVector<int> placeLabels(const QVector<QVector<QRectF>> &candidates,
                         const QVector<QRectF> &obstacles, double gap);

// The list cut into pages of `fit` items when it does not all fit; `page`
// is the page to show (clamped).
YmPager pagesOf(int count, int fit, int page);

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
    double nameWidth = 0; // names wider than this are elided
    YmPager pages;        // the bars shown, lowest first
};

// A bar and a gap are each at least this tall: the 15-point name beside the
// bar and the completed number in the gap below it must not touch.
double horizontalMinBand(double fm15Height);
// fm0Height / fm15Height: line heights of the widget font and of its 15-point
// copy; widestName: the widest name advance, negative when there are no names;
// widestNumber: the widest planned or completed number in the 15-point font,
// kept clear of the right edge behind the longest bar. The bars that do not
// fit at the minimum band are paged; the scale follows the bars of `page`.
HorizontalLayout horizontalLayout(int width, int height, double fm0Height, double fm15Height,
                                  double widestName, double widestNumber,
                                  const QVector<BarEntry> &bars, int page);
// Top edge of the c-th bar of the page (c = 1 is the lowest, one band above
// the axis).
double horizontalBarTop(const HorizontalLayout &l, int c);
// The bar of the page (1 = lowest) whose band holds y, 0 for none.
int horizontalBarAt(const HorizontalLayout &l, double y);

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
    YmPager pages; // the groups shown, left to right
};

// The narrowest slot in which a group's 15-point name fits, and its two
// numbers (in the widget's font) fit side by side over their bars, each bar a
// third of the slot.
double verticalMinSlot(double widestName, double widestNumber);
// Room for the slots across a chart of this width, given the widest value
// label.
double verticalSlotRoom(int width, double labelAdvance);

// labelAdvance: the 15-point advance of the text of scaleMax; slotCount: the
// slots across the chart (the bars of a full page).
VerticalLayout verticalLayout(int width, int height, double fm0Height, double fm15Height,
                              double labelAdvance, int slotCount, qint64 scaleMax);
// Left edge of the planned bar of entry i (0-based); the completed bar follows it.
double verticalPlannedX(const VerticalLayout &l, int i);

} // namespace YmChartScale

#endif // YMCHARTSCALE_H
