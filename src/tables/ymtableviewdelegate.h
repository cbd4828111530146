#ifndef YMTABLEVIEWDELEGATE_H
#define YMTABLEVIEWDELEGATE_H

#include <QStyledItemDelegate>

// The standard delegate without the focus frame around the current cell.
class YmTableViewDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit YmTableViewDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

#endif // YMTABLEVIEWDELEGATE_H
