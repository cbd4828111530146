#ifndef YMWORKSHOPVERTICALBARCHART_H
#define YMWORKSHOPVERTICALBARCHART_H

#include "ymchartscale.h"
#include "ymstatictextcache.h"

#include <QVariantList>
#include <QWidget>

class QPainter;

// Production status: one vertical pair of bars (planned, completed) per group.
class YmWorkshopVerticalBarchart : public QWidget
{
    Q_OBJECT

public:
    explicit YmWorkshopVerticalBarchart(QWidget *parent = nullptr);

    // Entries are {name, planned, completed}; malformed ones read as empty / 0.
    void setBarData(const QVariantList &bars);
    QVariantList barData() const { return bars; }

    // Geometry for a widget of the given size with the current bars and font.
    YmChartScale::VerticalLayout layoutFor(const QSize &size) const;

    void draw(QPainter *p, const QRect &r) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVariantList bars;
    // Shaped texts in the widget's font and in the 15-point one.
    YmStaticTextCache m_texts;
    YmStaticTextCache m_texts15;
};

#endif // YMWORKSHOPVERTICALBARCHART_H
