#ifndef YMTABLEVIEWPLANPAGE_H
#define YMTABLEVIEWPLANPAGE_H

#include "ymmachineentry.h"
#include "ymtableplanmodel.h"
#include "ymtablesortproxymodel.h"
#include "ymtabletooltipwidget.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class YmPlanDataDlg;
class QResizeEvent;

namespace Ui {
class YmTableViewPlanPage;
}

// The order plan window: the plans of one day, grouped by up to three
// criteria in the user's order, with date navigation, a filter row and the
// add, edit, delete and export buttons. It holds nothing but what the host
// last pushed; every change the user asks for leaves as a signal.
class YmTableViewPlanPage : public QWidget
{
    Q_OBJECT

public:
    explicit YmTableViewPlanPage(QWidget *parent = nullptr);
    ~YmTableViewPlanPage() override;

    // A full load: machines, the day's order rows and the saved grouping
    // settings ("PlanFilterCheck", "PlanCheckOrder", "PlanFilter").
    void initDatas(const QVector<YmMachineEntry> &macs, const QVector<YmOrderRecord> &plans,
                   bool filterCheck, int checkOrder, int filter);
    // The host's answer to sQueryDatePlan; dropped unless date is the one shown.
    void queryDatePlan(const QString &date, const QVector<YmOrderRecord> &plans);
    // The board's rows after a report changed those listed; only while today
    // is shown (the window then lists the board's own rows).
    void updateRows(const QVector<YmOrderRecord> &rows, const QVector<int> &changed);
    void updateMacName(const QString &macKey, const QString &name);

    // Shows the board's today without asking the host (nothing is loaded yet).
    void showToday();
    // The board's day changed to today: a window that showed the old today
    // moves on with it (and asks the host for the new day's plans); one that
    // shows another day stays there.
    void followDay(const QDate &today);
    // The day shown, and as the text every plan signal carries ("yyyy-MM-dd").
    QDate shownDate() const;
    QString shownDateText() const;
    const YmTablePlanModel &model() const { return planModel; }
    const YmTableSortProxyModel &proxy() const { return proxyModel; }
    // The criteria of the grouping columns, in column order.
    YmTablePlanModel::ColumnOrder columnsInUse() const;
    // The model row (index into model().rows()) of the selected table row, or -1.
    int selectedModelRow() const;
    const QStringList &macKeys() const { return macList; }
    const QMap<QString, QString> &macNames() const { return mapMacName; }

    // The criteria digits a saved "PlanCheckOrder" names, in column order
    // ("312"); 0 means the default "123"; empty when the number names none.
    static QString checkOrderDigits(int checkOrder);

signals:
    void sQueryDatePlan(QDate date);
    void sAddDatePlan(QString date, QString planName, QString fileName,
                      QMap<QString, int> mapMacCount, int notifyNum);
    void sEditDatePlan(QString date, QString oldPlanName, QString newPlanName, QString oldFileName,
                       QString newFileName, QMap<QString, int> mapMacCount, int notifyNum);
    void sDelDatePlan(QString date, QString planName);
    void sSaveKeyAttr(QString key, QString attr);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Asks the user where the export goes, starting at suggested; empty when
    // the user cancels. Tests override it to answer without a file dialog.
    virtual QString exportFileName(const QString &suggested);

private slots:
    void queryClicked();
    // Writes the table as shown to a CSV file the user picks.
    void exportClicked();
    void firstCriterionChanged(int index);
    void secondCriterionChanged(int index);
    void updateTableColumnHeader();
    // Add and edit go through the plan dialog; add, edit and delete each end
    // in one signal for the host, the table waits for the host's answer.
    void addClicked();
    void editClicked();
    bool messageBoxAndResult(const QString &title, const QString &content, const QString &btn1,
                             const QString &btn2);
    bool messageBoxAndResult(const QString &title, const QString &content, const QString &btn1);
    void todayClicked();
    void deleteClicked();
    void previousDayClicked();
    void nextDayClicked();

private:
    // The user's header sort again, after a rebuild put the rows back in order.
    void reapplyUserSort();
    // Where the reader was before a rebuild: the selected and the topmost
    // visible rows by their group values (and how many equal rows precede them).
    struct ViewAnchor
    {
        QStringList selectedKey;
        int selectedOccurrence = 0;
        QStringList topKey;
        int topOccurrence = 0;
        int scrollValue = 0;
    };

    QCheckBox *criterionBox(int criterion) const;
    // The selected row's cell under the criterion's grouping column; empty
    // when nothing is selected or no column in use shows the criterion.
    QString selectedValue(YmTablePlanModel::Criterion criterion) const;
    // The notify percent the host last sent for the plan on that file.
    int currentNotifyNum(const QString &planName, const QString &fileName) const;
    QComboBox *orderCombo(int i) const;
    bool inUse(QComboBox *combo) const { return combo && mapComboVisible.value(combo); }
    void restoreCheckOrder(int checkOrder);
    void restoreFilter(int filter);
    void refreshTable(const YmTablePlanModel::ColumnOrder &order);
    void retranslateTexts();
    void fitCombosToTitles();
    // The plan dialog while it is open, titled after the button that opened it.
    void trackDialog(YmPlanDataDlg *dialog, const QAbstractButton *titleFrom);
    void updateColumnWidths();
    void applyBoardLocale();
    void emitSettings();
    ViewAnchor captureAnchor() const;
    void restoreAnchor(const ViewAnchor &anchor);

    Ui::YmTableViewPlanPage *ui;
    // The day the window last took for today.
    QDate followedToday;
    YmTableSortProxyModel proxyModel;
    YmTablePlanModel planModel;
    QMap<QComboBox *, bool> mapComboVisible;
    YmTableTooltipWidget tooltipWidget;
    QPointer<YmPlanDataDlg> openDialog;
    const QAbstractButton *openDialogTitle = nullptr;
    QStringList macList;
    QMap<QString, QString> mapMacName;
    QString dateFormat;
    // The sort last chosen by a header click; -1 when none. Re-applied after
    // process updates so rows stay under the header's sort indicator.
    int userSortColumn = -1;
    Qt::SortOrder userSortOrder = Qt::AscendingOrder;
    // Where the last export went; the next one starts there.
    QString exportDir;
};

#endif // YMTABLEVIEWPLANPAGE_H
