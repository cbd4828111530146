#ifndef YMTABLEVIEWWIDGET_H
#define YMTABLEVIEWWIDGET_H

#include "ympager.h"
#include "ympagetimer.h"
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
// centred text, dark-blue header tiles, no grid, no scroll bars. When the
// machines do not all fit, the view pages through the ranking by itself (the
// rank numbers continue from page to page) and holds a page the user clicked
// or scrolled in for a while.
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

    // Marks the machines that carry a plan at risk.
    void setMachinesAtRisk(const QSet<QString> &keys);
    QSet<QString> machinesAtRisk() const;

    const YmTableModel &model() const { return m_model; }
    QTableView *tableView() const;

    // Whole rows of `rowHeight` in `rowsHeight` pixels, cut into pages; the
    // pixels left under the last whole row are `spare`.
    static YmPager pagesFor(int rowsHeight, int rowHeight, int rowCount, int page, int *spare);
    // The page shown: its first row is the top row of the view.
    const YmPager &pages() const { return m_pages; }
    void showNextPage();
    const YmPageTimer &pageTimer() const { return m_pageTimer; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void layoutPages();
    void scrollToPage();
    void widenScrollRange(int max);
    // The view and its headers: a click, a scroll or a key there holds the page.
    QList<QWidget *> watchedForUser() const;

    Ui::YmTableViewWidget *ui;
    YmTableModel m_model;
    YmTableHeaderView *m_header = nullptr;
    YmPager m_pages;
    YmPageTimer m_pageTimer;
    int m_bottomMargin = 0; // the form's, before paging adds to it
    YmTableViewDelegate *m_delegate = nullptr;
};

#endif // YMTABLEVIEWWIDGET_H
