#include "ymtableviewdelegate.h"

#include <QPainter>

namespace {

// The style's room between a cell's edge and its text.
constexpr int kTextMargin = 4;
// Beyond this many distinct texts the layouts are dropped and built afresh.
constexpr int kMaxLayouts = 4096;
constexpr int kMarkWidth = 4;
const QColor kMarkColor(255, 176, 32); // the order chart's amber for plans at risk

} // namespace

YmTableViewDelegate::YmTableViewDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{}

void YmTableViewDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    // Cells are one centred line on the view's own background, so they are
    // drawn here directly rather than by the style, which lays every text out
    // three times per paint (size, elision, drawing) and would spend most of the
    // board's paint time on it. Deliberately no focus frame, and no icon: the
    // name column's decoration is the machine key, data rather than a picture.
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Normal
                                                                               : QPalette::Inactive;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    if (selected) {
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    } else {
        const QVariant background = index.data(Qt::BackgroundRole);
        if (background.canConvert<QBrush>())
            painter->fillRect(option.rect, qvariant_cast<QBrush>(background));
    }

    if (!m_marked.isEmpty()) {
        const QVariant key = index.data(Qt::DecorationRole);
        if (key.type() == QVariant::String && m_marked.contains(key.toString())) {
            // A bar at the cell's left edge: the name stays readable.
            painter->fillRect(QRect(option.rect.left(), option.rect.top() + 2, kMarkWidth,
                                    option.rect.height() - 4),
                              kMarkColor);
        }
    }

    const QVariant display = index.data(Qt::DisplayRole);
    const QString text = display.isValid() ? displayText(display, option.locale) : QString();
    if (!text.isEmpty()) {
        const QFont font = cellFont(option, index);
        const QVariant foreground = index.data(Qt::ForegroundRole);
        QColor color = option.palette.color(group, QPalette::Text);
        if (selected)
            color = option.palette.color(group, QPalette::HighlightedText);
        else if (foreground.canConvert<QBrush>())
            color = qvariant_cast<QBrush>(foreground).color();
        const QVariant alignValue = index.data(Qt::TextAlignmentRole);
        const Qt::Alignment align
            = alignValue.isValid() ? Qt::Alignment(alignValue.toInt()) : option.displayAlignment;

        const QRect box = option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
        painter->setFont(font);
        painter->setPen(color);
        painter->setClipRect(option.rect, Qt::IntersectClip);
        const QStaticText &line = laidOut(text, font);
        const QSizeF size = line.size();
        if (size.width() > box.width()) {
            // Too wide: elided like the standard delegate does.
            const QString elided
                = QFontMetrics(font).elidedText(text, option.textElideMode, box.width());
            painter->drawText(box, int(align), elided);
        } else {
            qreal x = box.left();
            if (align & Qt::AlignHCenter)
                x += (box.width() - size.width()) / 2;
            else if (align & Qt::AlignRight)
                x += box.width() - size.width();
            qreal y = box.top();
            if (align & Qt::AlignVCenter)
                y += (box.height() - size.height()) / 2;
            else if (align & Qt::AlignBottom)
                y += box.height() - size.height();
            painter->drawStaticText(QPointF(x, y), line);
        }
    }
    painter->restore();
}

QFont YmTableViewDelegate::cellFont(const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    const QVariant value = index.data(Qt::FontRole);
    if (!value.isValid())
        return option.font;
    const QFont requested = qvariant_cast<QFont>(value);
    // Resolving makes a new font each time, which the text engine looks up
    // again; every cell asks for the same one.
    if (requested != m_requestedFont || option.font != m_baseFont
        || requested.resolve() != m_requestedFont.resolve()) {
        m_requestedFont = requested;
        m_baseFont = option.font;
        m_resolvedFont = requested.resolve(option.font);
    }
    return m_resolvedFont;
}

const QStaticText &YmTableViewDelegate::laidOut(const QString &text, const QFont &font) const
{
    if (font != m_layoutFont || m_layouts.size() >= kMaxLayouts) {
        m_layouts.clear();
        m_layoutFont = font;
    }
    auto found = m_layouts.find(text);
    if (found == m_layouts.end()) {
        QStaticText line(text);
        line.setTextFormat(Qt::PlainText);
        line.setPerformanceHint(QStaticText::AggressiveCaching);
        line.prepare(QTransform(), font);
        found = m_layouts.insert(text, line);
    }
    return found.value();
}
