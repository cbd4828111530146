#ifndef YMPLANDATADLG_H
#define YMPLANDATADLG_H

#include <QDialog>
#include <QMap>
#include <QString>
#include <QStringList>

class QCheckBox;
class QCompleter;
class QHBoxLayout;
class QLabel;
class QLineEdit;

namespace Ui {
class YmPlanDataDlg;
}

// The modal dialog that enters or edits one order plan: name, file, total,
// notify percent and the share of the total on each checked machine. It keeps
// nothing; the caller reads the values back with getPlanData() once accepted.
//
//   YmPlanDataDlg dlg;
//   dlg.setWindowTitle(title);
//   dlg.setMacList(macKeys, macNames);
//   dlg.setPlanData(planName, fileName, mapMacCount, notifyNum); // edits only
//   if (dlg.exec())
//       dlg.getPlanData(planName, fileName, mapMacCount, notifyNum);
class YmPlanDataDlg : public QDialog
{
    Q_OBJECT

public:
    // The largest plan total and machine quantity the dialog takes; larger
    // numbers are refused on OK, never cut.
    static constexpr int kMaxQuantity = 10000000;

    explicit YmPlanDataDlg(QWidget *parent = nullptr);
    ~YmPlanDataDlg() override;

    // One check box per key, labelled with its name (the key when it has none).
    // Calling it again replaces the machines and drops every quantity row.
    void setMacList(const QStringList &macKeys, const QMap<QString, QString> &macNames);
    // Pre-fills an edit: checks the machines of mapMacCount (keys without a
    // check box are ignored) and sets the total to the sum of their counts.
    void setPlanData(const QString &planName, const QString &fileName,
                     const QMap<QString, int> &mapMacCount, int notifyNum);
    // Adds key -> count for every quantity row with a non-zero count to
    // mapMacCount, which is not cleared first.
    void getPlanData(QString &planName, QString &fileName, QMap<QString, int> &mapMacCount,
                     int &notifyNum);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();
    void on_lineEdit_planCount_textChanged(const QString &arg1);

private:
    Q_INVOKABLE bool messageBoxAndResult(const QString &title, const QString &content,
                                         const QString &btn1, const QString &btn2);
    Q_INVOKABLE bool messageBoxAndResult(const QString &title, const QString &content,
                                         const QString &btn1);

    // Why OK cannot close the dialog, naming the field, or empty when it
    // can; field is set to the widget the reason is about.
    QString refusal(QWidget **field) const;
    void setCountWarning(bool over);
    void markSearchText(const QString &text);
    void onMachineClicked(QCheckBox *box, bool checked);
    QLineEdit *appendQuantityRow(const QString &name, const QString &key);
    void removeQuantityRow(int row);
    int quantityRowOf(const QString &name, const QString &key) const;
    QLabel *quantityLabel(int row) const;
    QLineEdit *quantityField(int row) const;
    void recount();

    Ui::YmPlanDataDlg *ui;
    QCompleter *completer = nullptr;
};

#endif // YMPLANDATADLG_H
