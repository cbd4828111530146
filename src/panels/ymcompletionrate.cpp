#include "ymcompletionrate.h"

#include <QtGlobal>

#include <cmath>
#include <limits>

namespace YmCompletionRate {

double percent(double total, double completed)
{
    if (total == 0.0)
        return 0.0;
    const double p = completed * 100.0 / total;
    return std::isfinite(p) ? p : 0.0;
}

int span(double percent, int scaleDegrees)
{
    const double degrees = std::trunc(double(scaleDegrees) * percent / 100.0);
    if (!std::isfinite(degrees))
        return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return int(qBound(lo, degrees, hi));
}

QString percentText(double percent)
{
    return QString::number(percent, 'f', 2);
}

QPainterPath arcBand(double startDeg, double sweepDeg, double inner, double outer)
{
    const QRectF outerRect(-outer, -outer, 2 * outer, 2 * outer);
    const QRectF innerRect(-inner, -inner, 2 * inner, 2 * inner);
    QPainterPath band;
    if (std::isnan(sweepDeg) || sweepDeg == 0.0)
        return band;
    if (qAbs(sweepDeg) >= 360.0) {
        band.addEllipse(outerRect);
        band.addEllipse(innerRect);
        return band;
    }
    band.arcMoveTo(outerRect, startDeg);
    band.arcTo(outerRect, startDeg, sweepDeg);
    band.arcTo(innerRect, startDeg + sweepDeg, -sweepDeg);
    band.closeSubpath();
    return band;
}

} // namespace YmCompletionRate
