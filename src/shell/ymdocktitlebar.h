#ifndef YMDOCKTITLEBAR_H
#define YMDOCKTITLEBAR_H

#include "ymstatictextcache.h"

#include <QPen>
#include <QWidget>

namespace Ui {
class YmDockTitleBar;
}

// Upper half of a dock's rounded frame (side edges, top corners, top edge) with
// the dock's title in white; no buttons, so docks cannot be floated or closed
// from the bar.
class YmDockTitleBar : public QWidget
{
    Q_OBJECT

public:
    explicit YmDockTitleBar(QWidget *parent = nullptr);
    ~YmDockTitleBar() override;

    void setTitle(const QString &title);
    QString title() const { return m_title; }
    void setTitleFontSize(int pointSize);
    int titleFontSize() const { return m_titleFontSize; }
    int frameInset() const { return m_inset; }

    // The frame pen shared with the dock's lower half.
    static QPen framePen();

    // exposed: the part to paint (all of the bar when null).
    void draw(QPainter *painter, const QRect &exposed = QRect()) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Ui::YmDockTitleBar *ui;
    int m_inset = 10;
    double m_cornerDiameter = 80.0;
    QString m_title;
    int m_titleFontSize = 20;
    // The title shaped once per text and font: a Chinese title is shaped
    // anew for every measure and every drawText, and every dock repaint does both.
    YmStaticTextCache m_texts;
};

#endif // YMDOCKTITLEBAR_H
