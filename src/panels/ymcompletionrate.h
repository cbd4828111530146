#ifndef YMCOMPLETIONRATE_H
#define YMCOMPLETIONRATE_H

#include <QPainterPath>
#include <QString>

// Numbers of the completion gauge, kept apart from the painting.
namespace YmCompletionRate {

// completed * 100 / total; 0 when total is 0 or the result is not finite.
double percent(double total, double completed);

// Degrees of the value arc for a scale of `scaleDegrees`, truncated towards
// zero (never rounded); bounded to int, not to the scale, so a rate above 100
// percent runs past the last tick.
int span(double percent, int scaleDegrees);

// The percentage as shown in the middle: always two decimals, without the sign.
QString percentText(double percent);

// The value arc's band between the radii `inner` and `outer`, from `startDeg`
// over `sweepDeg` (Qt arc angles: anticlockwise from three o'clock, negative
// sweeps run clockwise). The shape of a pie of radius `outer` minus the disc
// of radius `inner`, built directly: clipping one path by another costs more
// than the whole rest of the gauge. A sweep of a full turn or more is the ring.
QPainterPath arcBand(double startDeg, double sweepDeg, double inner, double outer);

} // namespace YmCompletionRate

#endif // YMCOMPLETIONRATE_H
