#ifndef YMTABLETOOLTIPWIDGET_H
#define YMTABLETOOLTIPWIDGET_H

#include <QString>
#include <QWidget>

// A small frameless pop-up with one fixed line of text, centred on light gray.
class YmTableTooltipWidget : public QWidget
{
    Q_OBJECT

public:
    explicit YmTableTooltipWidget(const QString &text, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    void draw(QPainter *painter, const QRect &rect) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

#endif // YMTABLETOOLTIPWIDGET_H
