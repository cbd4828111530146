#ifndef YMWORKSHOPPLANRATECHART_H
#define YMWORKSHOPPLANRATECHART_H

#include "ympixelmemo.h"

#include <QColor>
#include <QWidget>

class QPainter;

// Circular gauge of today's completion: a 270-degree tick scale open at the
// bottom, a value arc, today's total and the rate in percent. Everything is
// drawn in a 200-unit frame scaled to the smaller side of the widget.
class YmWorkshopPlanRateChart : public QWidget
{
    Q_OBJECT

public:
    explicit YmWorkshopPlanRateChart(QWidget *parent = nullptr);
    // Off: every text and piece is painted afresh (YmPaintCaches).
    void setPaintCachesEnabled(bool enabled) { m_memo.setEnabled(enabled); }

    void setCompleted(int completed);
    void setTotal(int total);

    double completed() const { return m_completed; }
    double total() const { return m_total; }
    // Completion in percent (0 without a total) and the arc length in degrees.
    double percent() const;
    int span() const;
    // Degrees covered by the tick scale.
    int scaleDegrees() const { return 360 - startAngle - endAngle; }
    // The texts under the scale and in the middle.
    QString totalText() const;
    QString percentText() const;

    void draw(QPainter *p, const QRect &r) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int startAngle = 45;
    int endAngle = 45;
    double m_completed = 0;
    double m_total = 0;
    int majorSteps = 10;
    int minorSteps = 10;
    QColor scaleColor = QColor(0, 250, 255);
    YmPixelMemo m_memo;
};

#endif // YMWORKSHOPPLANRATECHART_H
