#ifndef YMTABLEHEADERVIEW_H
#define YMTABLEHEADERVIEW_H

#include <QColor>
#include <QHeaderView>

// A header that paints every section as a dark-blue tile with white centred
// text, separated from its neighbours by a 10-pixel darker gap.
class YmTableHeaderView : public QHeaderView
{
    Q_OBJECT

public:
    explicit YmTableHeaderView(Qt::Orientation orientation, QWidget *parent = nullptr);

    double fontSize() const { return m_fontSize; }
    QColor background() const { return m_background; }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    double m_fontSize = 12.0;
    QColor m_background = QColor(11, 70, 130);
};

#endif // YMTABLEHEADERVIEW_H
