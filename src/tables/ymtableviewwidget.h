#ifndef YMTABLEVIEWWIDGET_H
#define YMTABLEVIEWWIDGET_H

#include "ymtablemodel.h"

#include <QSet>
#include <QString>
#include <QVariantList>
#include <QWidget>

class QTableView;
class YmTableHeaderView;
class YmTableViewDelegate;

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

    // The full load from the day's order rows.
    void setOrderRows(const QVariantList &rows);
    void updateMacProcess(const QString &key, const QVariantList &items);
    void updateMacName(const QString &key, const QString &name);
    void getRowInfo(int row, QString &name, int &completed) const;
    bool updateTopThree();

    // Folds order rows into machine records: one per machine key, its file map
    // summing the planned quantities per file; a machine's name and a file's
    // completed quantity are those of their first row.
    static QMap<QString, QVariantList> machinesFromOrderRows(const QVariantList &rows);

    // Marks the machines that carry a plan at risk.
    void setMachinesAtRisk(const QSet<QString> &keys);
    QSet<QString> machinesAtRisk() const;

    const YmTableModel &model() const { return m_model; }
    QTableView *tableView() const;

private:
    Ui::YmTableViewWidget *ui;
    YmTableModel m_model;
    YmTableHeaderView *m_header = nullptr;
    YmTableViewDelegate *m_delegate = nullptr;
};

#endif // YMTABLEVIEWWIDGET_H
