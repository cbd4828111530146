#include "ymtableheaderview.h"

#include <QPainter>

namespace {

constexpr int kGap = 5; // each side of a tile; neighbours show twice this
const QColor kGapColor(2, 20, 100);

} // namespace

YmTableHeaderView::YmTableHeaderView(Qt::Orientation orientation, QWidget *parent)
    : QHeaderView(orientation, parent)
{}

void YmTableHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QFont font = painter->font();
    font.setPointSize(int(m_fontSize));
    painter->setFont(font);
    painter->setPen(Qt::white);

    const QString text
        = model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString()
                  : QString();
    const QRect tile = rect.adjusted(kGap, 0, -kGap, 0);
    painter->fillRect(tile, m_background);
    painter->drawText(tile, Qt::AlignCenter, text);

    painter->fillRect(QRect(rect.left(), rect.top(), kGap, rect.height()), kGapColor);
    painter->fillRect(QRect(rect.right() - (kGap - 1), rect.top(), kGap, rect.height()), kGapColor);
    painter->restore();
}
