#ifndef YMWORKSHOPHORIZONTALBARCHART_H
#define YMWORKSHOPHORIZONTALBARCHART_H

#include "ymchartscale.h"
#include "ymstatictextcache.h"

#include <QByteArray>
#include <QFont>
#include <QPair>
#include <QSet>
#include <QVariantList>
#include <QVector>
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
    // Plans whose bars get an amber outline: their day is projected to miss.
    void setPlansAtRisk(const QSet<QString> &plans);
    const QSet<QString> &plansAtRisk() const { return m_atRisk; }

    // Geometry for a widget of the given size with the current bars and font.
    YmChartScale::HorizontalLayout layoutFor(const QSize &size) const;

    void draw(QPainter *p, const QRect &r) const;

protected:
    void paintEvent(QPaintEvent *event) override;

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
        QRect tickArea; // the tick marks and their labels
        QByteArray key;
    };
    void updateAxes() const;

    QVariantList bars;
    QSet<QString> m_atRisk;
    QVector<YmChartScale::BarEntry> m_entries;  // bars, read once per change
    QVector<QPair<QString, QString>> m_numbers; // planned and completed, as shown
    mutable Fonts m_fonts;
    mutable YmChartScale::HorizontalLayout m_layout;
    mutable QSize m_layoutSize; // invalid: m_layout must be computed
    mutable Axes m_axesCache;   // follows m_layout
    // Shaped texts and their advances in the widget's font and in the 15-point
    // one: names, numbers and tick labels repeat from paint to paint.
    YmStaticTextCache m_texts;
    YmStaticTextCache m_texts15;
    // The axes' pixels: ticks with their labels, and the two axis lines.
    YmPixelMemo m_axes{1 << 20};
};

#endif // YMWORKSHOPHORIZONTALBARCHART_H
