#ifndef YMTABLEVIEWDELEGATE_H
#define YMTABLEVIEWDELEGATE_H

#include <QFont>
#include <QHash>
#include <QSet>
#include <QStaticText>
#include <QStyledItemDelegate>

// Paints a cell as one line of text on the view's background (the selection
// colour when selected), without the focus frame around the current cell.
class YmTableViewDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit YmTableViewDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

    // Machines (keys, the name column's decoration) whose name cell gets an
    // amber mark: they carry a plan projected to miss its day.
    void setMarkedKeys(const QSet<QString> &keys) { m_marked = keys; }
    const QSet<QString> &markedKeys() const { return m_marked; }

private:
    QFont cellFont(const QStyleOptionViewItem &option, const QModelIndex &index) const;
    const QStaticText &laidOut(const QString &text, const QFont &font) const;

    // The board repaints the same few hundred texts in one font every second;
    // laying each out once keeps the table's paint cheap.
    mutable QFont m_requestedFont;
    mutable QFont m_baseFont;
    mutable QFont m_resolvedFont;
    mutable QFont m_layoutFont;
    mutable QHash<QString, QStaticText> m_layouts;
    QSet<QString> m_marked;
};

#endif // YMTABLEVIEWDELEGATE_H
