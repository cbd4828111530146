#ifndef YMTABLEVIEWWIDGET_H
#define YMTABLEVIEWWIDGET_H

#include "ymtablemodel.h"

#include <QString>
#include <QVariantList>
#include <QWidget>

class QTableView;
class YmTableHeaderView;

namespace Ui {
class YmTableViewWidget;
}

// The machine statistics table in the board's look: transparent, white
// centred text, dark-blue header tiles, no grid, no scroll bars.
class YmTableViewWidget : public QWidget
{
    Q_OBJECT

public:
    explicit YmTableViewWidget(QWidget *parent = nullptr);
    ~YmTableViewWidget() override;

    // The full load: one line per machine, the sums over its order rows.
    void setMachineCounts(const QVector<YmOrderModel::MachineCounts> &machines);
    void updateMachineCounts(const YmOrderModel::MachineCounts &machine);
    void updateMacName(const QString &key, const QString &name);
    void getRowInfo(int row, QString &name, int &completed) const;
    bool updateTopThree();

    const YmTableModel &model() const { return m_model; }
    QTableView *tableView() const;

private:
    Ui::YmTableViewWidget *ui;
    YmTableModel m_model;
    YmTableHeaderView *m_header = nullptr;
};

#endif // YMTABLEVIEWWIDGET_H
