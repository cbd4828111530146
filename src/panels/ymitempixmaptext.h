#ifndef YMITEMPIXMAPTEXT_H
#define YMITEMPIXMAPTEXT_H

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QPainter;

// A picture with a one-line caption below it (state counters, rank medals).
// Paints no background of its own.
class YmItemPixmapText : public QWidget
{
    Q_OBJECT

public:
    explicit YmItemPixmapText(QWidget *parent = nullptr);

    void setText(const QString &text);
    void setPixmap(const QPixmap &pixmap);
    void setTextColor(const QColor &color);
    void setTextSize(double size);

    QString text() const { return m_text; }
    QColor textColor() const { return m_textColor; }
    double textSize() const { return m_textSize; }
    QPixmap pixmap() const { return m_pixmap; }

    // Paints the item into the rectangle r as if the widget had r's size.
    void draw(QPainter *p, const QRect &r) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QColor m_textColor = QColor(255, 255, 255);
    double m_textSize = 14.0;
    QPixmap m_pixmap;
};

#endif // YMITEMPIXMAPTEXT_H
