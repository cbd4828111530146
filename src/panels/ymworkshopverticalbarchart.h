#ifndef YMWORKSHOPVERTICALBARCHART_H
#define YMWORKSHOPVERTICALBARCHART_H

#include "ymchartscale.h"
#include "ympagetimer.h"
#include "ymstatictextcache.h"

#include <QVariantList>
#include <QWidget>

class QPainter;

// Production status: one vertical pair of bars (planned, completed) per group.
// Groups whose names or numbers would not fit side by side are shown a page
// at a time, the pages turning by themselves.
class YmWorkshopVerticalBarchart : public QWidget
{
    Q_OBJECT

public:
    explicit YmWorkshopVerticalBarchart(QWidget *parent = nullptr);
    // Off: every text and piece is painted afresh (YmPaintCaches).
    void setPaintCachesEnabled(bool enabled)
    {
        m_texts.setEnabled(enabled);
        m_texts15.setEnabled(enabled);
    }

    // Entries are {name, planned, completed}; malformed ones read as empty / 0.
    void setBarData(const QVariantList &bars);
    QVariantList barData() const { return bars; }

    // Geometry and the page shown for a widget of the given size with the
    // current bars and font.
    YmChartScale::VerticalLayout layoutFor(const QSize &size) const;

    int page() const { return m_page; }
    void showNextPage();
    const YmPageTimer &pageTimer() const { return m_pageTimer; }

    void draw(QPainter *p, const QRect &r) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updatePaging();

    QVariantList bars;
    QVector<YmChartScale::BarEntry> m_entries;
    int m_page = 0;
    bool m_pagingStale = false; // the bars changed since the paging was settled
    YmPageTimer m_pageTimer;
    // Shaped texts in the widget's font and in the 15-point one.
    YmStaticTextCache m_texts;
    YmStaticTextCache m_texts15;
};

#endif // YMWORKSHOPVERTICALBARCHART_H
