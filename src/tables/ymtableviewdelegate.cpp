#include "ymtableviewdelegate.h"

#include <QApplication>
#include <QStyle>

YmTableViewDelegate::YmTableViewDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{}

void YmTableViewDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    // What QStyledItemDelegate::paint does, minus the focus frame, and minus the
    // room for an icon: the name column's decoration is the machine key, data
    // for the delegate rather than a picture, and reserving icon room for it
    // would push the name off the centre of its column.
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    opt.state &= ~QStyle::State_HasFocus;
    if (opt.icon.isNull())
        opt.features &= ~QStyleOptionViewItem::HasDecoration;
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
}
