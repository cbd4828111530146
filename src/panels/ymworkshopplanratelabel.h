#ifndef YMWORKSHOPPLANRATELABEL_H
#define YMWORKSHOPPLANRATELABEL_H

#include <QString>
#include <QWidget>

class QPainter;

// A title above a number inside four painted corner brackets.
class YmWorkshopPlanRateLabel : public QWidget
{
    Q_OBJECT

public:
    explicit YmWorkshopPlanRateLabel(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    void setValue(int value);
    void setTextSize(int size);

    QString title() const { return m_title; }
    int value() const { return m_value; }
    int textSize() const { return m_textSize; }

    void draw(QPainter *p, const QRect &r) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_textSize = 25;
    QString m_title;
    int m_value = 0;
};

#endif // YMWORKSHOPPLANRATELABEL_H
