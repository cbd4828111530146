#ifndef YMTABLESORTPROXYMODEL_H
#define YMTABLESORTPROXYMODEL_H

#include <QRegExp>
#include <QSortFilterProxyModel>

// Between the plan model and its view: keeps the rows whose cell in one
// column matches the filter text, leaves sorting to the source model (which
// sorts its rows in place) and numbers the view's rows 1, 2, 3, ...
//
// The view shows exactly the accepted rows, in source order, numbered from 1;
// a filter that matches nothing leaves an empty table. The pattern is plain text, never a
// regular expression: a fixed-string pattern must equal the cell, any other
// syntax must occur in it, case-sensitively in both cases.
class YmTableSortProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit YmTableSortProxyModel(QObject *parent = nullptr);

    void setFilter(int column, const QRegExp &rx);
    int filterColumn() const { return m_filterColumn; }

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    int m_filterColumn = -1;
    QString m_pattern;          // the filter's text; empty keeps every row
    bool m_fixedString = false; // the text must equal the cell rather than occur in it
};

#endif // YMTABLESORTPROXYMODEL_H
