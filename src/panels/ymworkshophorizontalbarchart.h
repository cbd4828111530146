#ifndef YMWORKSHOPHORIZONTALBARCHART_H
#define YMWORKSHOPHORIZONTALBARCHART_H

#include "ymchartscale.h"
#include "ymstatictextcache.h"

#include <QVariantList>
#include <QWidget>

class QPainter;

// Order progress: one horizontal pair of bars (planned, completed) per plan,
// the first plan lowest.
class YmWorkshopHorizontalBarChart : public QWidget
{
    Q_OBJECT

public:
    explicit YmWorkshopHorizontalBarChart(QWidget *parent = nullptr);

    // Entries are {name, planned, completed}; malformed ones read as empty / 0.
    void setBarData(const QVariantList &bars);
    QVariantList barData() const { return bars; }

    // Geometry for a widget of the given size with the current bars and font.
    YmChartScale::HorizontalLayout layoutFor(const QSize &size) const;

    void draw(QPainter *p, const QRect &r) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVariantList bars;
    // Shaped texts and their advances in the widget's font and in the 15-point
    // one: names, numbers and tick labels repeat from paint to paint.
    YmStaticTextCache m_texts;
    YmStaticTextCache m_texts15;
};

#endif // YMWORKSHOPHORIZONTALBARCHART_H
