#ifndef YMWORKSHOPDATEPLANPROGRESS_H
#define YMWORKSHOPDATEPLANPROGRESS_H

#include "ymdateplanprogressdata.h"
#include "ympixelmemo.h"
#include "ymstatictextcache.h"

#include <QWidget>

class QPainter;

// Today's production progress as a line chart over the working day: per axis
// label the quantity done against the quantity planned by then, green from
// 100 percent on and red below, broken across stop periods.
class YmWorkshopDatePlanProgress : public QWidget
{
    Q_OBJECT

public:
    explicit YmWorkshopDatePlanProgress(QWidget *parent = nullptr);
    // Off: every text and piece is painted afresh (YmPaintCaches).
    void setPaintCachesEnabled(bool enabled)
    {
        m_texts.setEnabled(enabled);
        m_memo.setEnabled(enabled);
    }

    void setDayData(const QVector<YmOrderRecord> &orderRows, const QVector<YmStopEntry> &stopList,
                    const QString &startTime, const QString &endTime, double workMinutes);
    void setWorkTime(const QString &startTime, const QString &endTime, int workMinutes);
    // Pieces the order rows took from a report (key, quantity).
    void addPieces(const QVector<QPair<QString, int>> &pieces);

    const YmDatePlanProgressData &dayData() const { return m_day; }

    // Paints the chart into r at the current time of the board's clock.
    // The text at the forecast line's end: the projected completion, or the
    // time the planned total is reached before the work end; empty without one.
    static QString forecastText(const YmDayForecast::Result &forecast);

    void draw(QPainter *p, const QRect &r) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    template<typename SlotX, typename PercentY>
    void drawForecast(QPainter *p, const QMap<QString, double> &values, SlotX slotX, PercentY yFor,
                      double w) const;

    YmDatePlanProgressData m_day;
    // Widths of the texts, and the pixels of lines, texts and dots: the grid
    // and most points are the same from one paint to the next.
    YmStaticTextCache m_texts;
    YmPixelMemo m_memo;
};

#endif // YMWORKSHOPDATEPLANPROGRESS_H
