#ifndef YMWORKSHOPHORIZONTALBARCHART_H
#define YMWORKSHOPHORIZONTALBARCHART_H

#include "ymchartscale.h"
#include "ympagetimer.h"
#include "ymstatictextcache.h"

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QPair>
#include <QSet>
#include <QVariantList>
#include <QVector>
#include <QWidget>

class QPainter;

// Order progress: one horizontal pair of bars (planned, completed) per plan,
// the first plan lowest. Bars that do not fit at a readable height are shown
// a page at a time, the pages turning by themselves.
class YmWorkshopHorizontalBarChart : public QWidget
{
    Q_OBJECT

public:
    explicit YmWorkshopHorizontalBarChart(QWidget *parent = nullptr);
    // Off: every text and piece is painted afresh (YmPaintCaches).
    void setPaintCachesEnabled(bool enabled)
    {
        m_texts.setEnabled(enabled);
        m_texts15.setEnabled(enabled);
        m_axes.setEnabled(enabled);
    }

    // Entries are {name, planned, completed}; malformed ones read as empty / 0.
    // The page shown stays (or becomes the last one when there are fewer).
    void setBarData(const QVariantList &bars);
    QVariantList barData() const { return bars; }
    // Plans whose bars get an amber outline: their day is projected to miss.
    void setPlansAtRisk(const QSet<QString> &plans);
    const QSet<QString> &plansAtRisk() const { return m_atRisk; }

    // Geometry and the page shown for a widget of the given size with the
    // current bars and font.
    YmChartScale::HorizontalLayout layoutFor(const QSize &size) const;
    // A name as drawn: elided when wider than the layout's name column.
    QString shownName(const QString &name, double width) const;
    // The rectangles of the tick labels drawn (some are left out where they
    // would touch), for the layout of that size.
    QVector<QRectF> tickLabelRects(const QSize &size) const;

    int page() const { return m_page; }
    void showNextPage();
    const YmPageTimer &pageTimer() const { return m_pageTimer; }

    void draw(QPainter *p, const QRect &r) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    // The widget font, its 15-point copy and what is measured of them, kept
    // until the font changes.
    struct Fonts
    {
        bool valid = false;
        QFont font0;
        QFont f15;
        double h0 = 0;
        double h15 = 0;
        QString key; // names the font in the axes' memo key
    };
    const Fonts &fonts() const;
    struct Axes
    {
        QString ticks[10];
        double widths[10] = {};
        int labelStep = 1; // every how many ticks a label is drawn
        QRect tickArea;    // the tick marks and their labels
        QByteArray key;
    };
    void updateAxes() const;
    double widestName() const;
    double widestNumber() const;
    void updatePaging();

    void drawCaptions(QPainter *p, int width, const YmChartScale::HorizontalLayout &l) const;
    void drawAxes(QPainter *p, const YmChartScale::HorizontalLayout &l) const;
    // Bar c of the page (1 = lowest) showing entry `index`: name, bars and
    // numbers.
    void drawBar(QPainter *p, const YmChartScale::HorizontalLayout &l, int c, int index) const;

    QVariantList bars;
    QSet<QString> m_atRisk;
    QVector<YmChartScale::BarEntry> m_entries;  // bars, read once per change
    QVector<QPair<QString, QString>> m_numbers; // planned and completed, as shown
    int m_page = 0;
    bool m_pagingStale = false; // the bars changed since the paging was settled
    YmPageTimer m_pageTimer;
    mutable Fonts m_fonts;
    mutable YmChartScale::HorizontalLayout m_layout;
    mutable QSize m_layoutSize; // invalid: m_layout must be computed
    mutable int m_layoutPage = 0;
    mutable double m_widestName = -2;   // < -1: to be measured
    mutable double m_widestNumber = -1; // < 0: to be measured
    mutable Axes m_axesCache;           // follows m_layout
    mutable QHash<QString, QString> m_elided;
    mutable double m_elidedWidth = -1;
    // Shaped texts and their advances in the widget's font and in the 15-point
    // one: names, numbers and tick labels repeat from paint to paint.
    YmStaticTextCache m_texts;
    YmStaticTextCache m_texts15;
    // The axes' pixels: ticks with their labels, and the two axis lines.
    YmPixelMemo m_axes{1 << 20};
};

#endif // YMWORKSHOPHORIZONTALBARCHART_H
