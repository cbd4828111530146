#include "ymplandatadlg.h"
#include "ui_ymplandatadlg.h"

#include <QCheckBox>
#include <QCompleter>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSet>

namespace {

constexpr int kMachineFontPixels = 20;
constexpr int kQuantityRowHeight = 30;
constexpr int kNotifyPercentMax = 100;

// Digits only, empty allowed. Numbers beyond the maximum are refused on OK with
// their own message, never cut.
const QString kCountPattern = QStringLiteral("^[0-9]*$");
const QString kMarkedStyle = QStringLiteral("background-color: red;");

QFont machineFont(QFont font)
{
    font.setPixelSize(kMachineFontPixels);
    return font;
}

qint64 countOf(const QLabel *label)
{
    return label->text().toLongLong();
}

// A whole number from 1 to the maximum, or 0 when the text is none.
int quantityOf(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    return ok && value >= 1 && value <= YmPlanDataDlg::kMaxQuantity ? int(value) : 0;
}

} // namespace

YmPlanDataDlg::YmPlanDataDlg(QWidget *parent)
    : QDialog(parent, Qt::WindowCloseButtonHint)
    , ui(new Ui::YmPlanDataDlg)
{
    ui->setupUi(this);
    const QRegularExpression countPattern(kCountPattern);
    ui->lineEdit_planCount->setValidator(new QRegularExpressionValidator(countPattern, this));
    // Digits only: a percent above 100 is typed as it is and refused on OK
    // with its reason, rather than losing a digit without a word.
    ui->lineEdit_notifyNum->setValidator(new QRegularExpressionValidator(countPattern, this));
    // Few machines would otherwise be spread over the whole height of the lists.
    ui->vLayout_selectMac->setAlignment(Qt::AlignTop);
    ui->vLayout_setCount->setAlignment(Qt::AlignTop);
}

YmPlanDataDlg::~YmPlanDataDlg()
{
    delete ui;
}

void YmPlanDataDlg::changeEvent(QEvent *event)
{
    // The form's texts only; the machines and quantities are the user's.
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}

void YmPlanDataDlg::setMacList(const QStringList &macKeys, const QMap<QString, QString> &macNames)
{
    if (completer) {
        completer->deleteLater();
        completer = nullptr;
    }

    // A second list replaces the first: its check boxes and quantity rows go.
    const bool hadRows = ui->vLayout_setCount->count() > 0;
    while (ui->vLayout_setCount->count() > 0)
        removeQuantityRow(0);
    while (QLayoutItem *item = ui->vLayout_selectMac->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (hadRows)
        recount();

    disconnect(ui->lineEdit_macSearch, &QLineEdit::textChanged, nullptr, nullptr);
    connect(ui->lineEdit_macSearch, &QLineEdit::textChanged, this, &YmPlanDataDlg::markSearchText);

    // Names first (in key order), then the keys, so either finds a machine.
    QStringList entries = macNames.values();
    QSet<QString> offered(entries.cbegin(), entries.cend());
    for (const QString &key : macKeys) {
        if (!offered.contains(key)) {
            offered.insert(key);
            entries.append(key);
        }
    }
    completer = new QCompleter(entries, this);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    ui->lineEdit_macSearch->setCompleter(completer);

    const QFont font = machineFont(ui->scrollAreaWidgetContents_left->font());
    for (const QString &key : macKeys) {
        const QString name = macNames.value(key, key);
        auto *box = new QCheckBox(name, ui->scrollAreaWidgetContents_left);
        box->setToolTip(key);
        box->setFont(font);
        ui->vLayout_selectMac->addWidget(box, 0, Qt::AlignLeft);
        connect(box, &QCheckBox::clicked, this,
                [this, box](bool checked) { onMachineClicked(box, checked); });
    }
    ui->scrollAreaWidgetContents_left->adjustSize();
}

void YmPlanDataDlg::setPlanData(const QString &planName, const QString &fileName,
                                const QMap<QString, int> &mapMacCount, int notifyNum)
{
    ui->lineEdit_planName->setText(planName);
    ui->lineEdit_fileName->setText(fileName);
    // A percent the field could not take reads as "never notify".
    const bool notifyValid = notifyNum >= 0 && notifyNum <= kNotifyPercentMax;
    ui->lineEdit_notifyNum->setText(QString::number(notifyValid ? notifyNum : 0));

    QList<QCheckBox *> planned;
    for (int i = 0; i < ui->vLayout_selectMac->count(); ++i) {
        auto *box = qobject_cast<QCheckBox *>(ui->vLayout_selectMac->itemAt(i)->widget());
        if (box && mapMacCount.contains(box->toolTip())) {
            box->setChecked(true); // emits no clicked(): the rows are made below
            planned.append(box);
        }
    }

    qint64 sum = 0;
    for (QCheckBox *box : qAsConst(planned)) {
        const QString key = box->toolTip();
        const int count = qMax(0, mapMacCount.value(key));
        box->setFont(machineFont(box->font()));
        const int existing = quantityRowOf(box->text(), key);
        if (existing >= 0) {
            quantityField(existing)->setText(QString::number(count));
        } else {
            QLineEdit *field = appendQuantityRow(box->text(), key);
            field->setText(QString::number(count));
            connect(field, &QLineEdit::textChanged, this, &YmPlanDataDlg::recount);
        }
        sum += count;
    }

    const QString total = QString::number(sum);
    ui->lineEdit_planCount->setText(total);
    ui->label_currentSet->setText(total);
    ui->label_total->setText(total);
    setCountWarning(false);
    ui->scrollAreaWidgetContents_left->adjustSize();
}

void YmPlanDataDlg::getPlanData(QString &planName, QString &fileName,
                                QMap<QString, int> &mapMacCount, int &notifyNum)
{
    planName = ui->lineEdit_planName->text();
    fileName = ui->lineEdit_fileName->text();
    notifyNum = ui->lineEdit_notifyNum->text().toInt();
    for (int row = 0; row < ui->vLayout_setCount->count(); ++row) {
        const QLabel *label = quantityLabel(row);
        const QLineEdit *field = quantityField(row);
        if (!label || !field)
            continue;
        const int count = field->text().toInt();
        if (count != 0)
            mapMacCount.insert(label->toolTip(), count);
    }
}

void YmPlanDataDlg::on_btn_ok_clicked()
{
    QWidget *field = nullptr;
    const QString reason = refusal(&field);
    if (reason.isEmpty()) {
        accept();
        return;
    }
    // The dialog stays open with the offending field ready for a correction.
    messageBoxAndResult(tr("提示"), reason, tr("确定"));
    if (field)
        field->setFocus();
}

QString YmPlanDataDlg::refusal(QWidget **field) const
{
    // In the order of the fields, so the first complaint is the topmost one.
    const QString max = QString::number(kMaxQuantity);
    *field = ui->lineEdit_planName;
    if (ui->lineEdit_planName->text().trimmed().isEmpty())
        return tr("订单计划不能为空");
    *field = ui->lineEdit_fileName;
    if (ui->lineEdit_fileName->text().trimmed().isEmpty())
        return tr("文件不能为空");
    *field = ui->lineEdit_planCount;
    const int total = quantityOf(ui->lineEdit_planCount->text());
    if (total == 0)
        return tr("计划数必须是 1 到 %1 之间的整数").arg(max);
    *field = ui->lineEdit_notifyNum;
    const QString notify = ui->lineEdit_notifyNum->text();
    bool ok = true;
    const int percent = notify.isEmpty() ? 0 : notify.toInt(&ok);
    if (!ok || percent < 0 || percent > kNotifyPercentMax)
        return tr("提示百分比必须是 0 到 100 之间的整数");
    *field = ui->scrollArea_left;
    if (ui->vLayout_setCount->count() == 0)
        return tr("请至少选择一台设备");
    qint64 sum = 0;
    for (int row = 0; row < ui->vLayout_setCount->count(); ++row) {
        const QLabel *label = quantityLabel(row);
        QLineEdit *quantity = quantityField(row);
        if (!label || !quantity)
            continue;
        *field = quantity;
        const int count = quantityOf(quantity->text());
        if (count == 0)
            return tr("设备 %1 的数量必须是 1 到 %2 之间的整数").arg(label->text(), max);
        sum += count;
    }
    *field = ui->lineEdit_planCount;
    if (sum != total)
        return tr("计划数量不匹配，请全部设置，并等于计划总数");
    return QString();
}

void YmPlanDataDlg::on_btn_cancel_clicked()
{
    reject();
}

void YmPlanDataDlg::on_lineEdit_planCount_textChanged(const QString &arg1)
{
    const qint64 total = arg1.toLongLong();
    ui->label_total->setText(QString::number(total));
    setCountWarning(countOf(ui->label_currentSet) > total);
}

bool YmPlanDataDlg::messageBoxAndResult(const QString &title, const QString &content,
                                        const QString &btn1, const QString &btn2)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(content);
    QPushButton *first = box.addButton(btn1, QMessageBox::ActionRole);
    if (!btn2.isEmpty())
        box.addButton(btn2, QMessageBox::ActionRole);
    box.exec();
    return box.clickedButton() == first;
}

bool YmPlanDataDlg::messageBoxAndResult(const QString &title, const QString &content,
                                        const QString &btn1)
{
    return messageBoxAndResult(title, content, btn1, QString());
}

void YmPlanDataDlg::setCountWarning(bool over)
{
    const QString style
        = QStringLiteral("color:%1;").arg(over ? QStringLiteral("red") : QStringLiteral("green"));
    ui->label_currentSet->setStyleSheet(style);
    ui->label_slash->setStyleSheet(style);
    ui->label_total->setStyleSheet(style);
}

void YmPlanDataDlg::markSearchText(const QString &text)
{
    // A whole display name marks its machine; failing that, a whole key does.
    const auto mark = [&text](QWidget *byName, QWidget *byKey, QScrollArea *area) {
        QWidget *hit = byName ? byName : byKey;
        if (!hit || text.isEmpty())
            return;
        hit->setStyleSheet(kMarkedStyle);
        area->ensureWidgetVisible(hit);
    };

    QWidget *boxByName = nullptr;
    QWidget *boxByKey = nullptr;
    for (int i = 0; i < ui->vLayout_selectMac->count(); ++i) {
        auto *box = qobject_cast<QCheckBox *>(ui->vLayout_selectMac->itemAt(i)->widget());
        if (!box)
            continue;
        if (!box->styleSheet().isEmpty())
            box->setStyleSheet(QString());
        if (!boxByName && box->text() == text)
            boxByName = box;
        if (!boxByKey && box->toolTip() == text)
            boxByKey = box;
    }
    mark(boxByName, boxByKey, ui->scrollArea_left);

    QWidget *labelByName = nullptr;
    QWidget *labelByKey = nullptr;
    for (int row = 0; row < ui->vLayout_setCount->count(); ++row) {
        QLabel *label = quantityLabel(row);
        if (!label)
            continue;
        if (!label->styleSheet().isEmpty())
            label->setStyleSheet(QString());
        if (!labelByName && label->text() == text)
            labelByName = label;
        if (!labelByKey && label->toolTip() == text)
            labelByKey = label;
    }
    mark(labelByName, labelByKey, ui->scrollArea_right);
}

void YmPlanDataDlg::onMachineClicked(QCheckBox *box, bool checked)
{
    const QString name = box->text();
    const QString key = box->toolTip();
    if (checked) {
        QLineEdit *field = appendQuantityRow(name, key);
        connect(field, &QLineEdit::textChanged, this, &YmPlanDataDlg::recount);
        return;
    }
    const int row = quantityRowOf(name, key);
    if (row < 0)
        return;
    // The field goes without a textChanged, so its share leaves the counter here;
    // the colour waits for the next recount or total change.
    if (const QLineEdit *field = quantityField(row); field && !field->text().isEmpty()) {
        const qint64 left = countOf(ui->label_currentSet) - field->text().toLongLong();
        ui->label_currentSet->setText(QString::number(left));
    }
    removeQuantityRow(row);
}

QLineEdit *YmPlanDataDlg::appendQuantityRow(const QString &name, const QString &key)
{
    QWidget *contents = ui->scrollAreaWidgetContents_right;
    const QFont font = machineFont(contents->font());

    auto *label = new QLabel(name, contents);
    label->setToolTip(key);
    label->setFont(font);
    label->setMaximumHeight(kQuantityRowHeight);

    auto *field = new QLineEdit(contents);
    field->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    field->setMaximumHeight(kQuantityRowHeight);
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(kCountPattern), field));
    field->setFont(font);

    auto *row = new QHBoxLayout;
    row->addWidget(label, 0, Qt::AlignCenter);
    row->addWidget(field, 1, Qt::AlignCenter);
    ui->vLayout_setCount->addLayout(row);
    return field;
}

void YmPlanDataDlg::removeQuantityRow(int row)
{
    QLayoutItem *item = ui->vLayout_setCount->takeAt(row);
    if (!item)
        return;
    if (QLayout *rowLayout = item->layout()) {
        while (QLayoutItem *part = rowLayout->takeAt(0)) {
            if (QWidget *widget = part->widget()) {
                // Hidden at once: deleting later keeps a widget on screen until then.
                widget->hide();
                widget->deleteLater();
            }
            delete part;
        }
    }
    delete item;
}

int YmPlanDataDlg::quantityRowOf(const QString &name, const QString &key) const
{
    // The key decides between machines that share a display name.
    for (int row = 0; row < ui->vLayout_setCount->count(); ++row) {
        const QLabel *label = quantityLabel(row);
        if (label && label->text() == name && label->toolTip() == key)
            return row;
    }
    return -1;
}

QLabel *YmPlanDataDlg::quantityLabel(int row) const
{
    QLayoutItem *item = ui->vLayout_setCount->itemAt(row);
    const QLayout *rowLayout = item ? item->layout() : nullptr;
    if (!rowLayout || rowLayout->count() < 1)
        return nullptr;
    return qobject_cast<QLabel *>(rowLayout->itemAt(0)->widget());
}

QLineEdit *YmPlanDataDlg::quantityField(int row) const
{
    QLayoutItem *item = ui->vLayout_setCount->itemAt(row);
    const QLayout *rowLayout = item ? item->layout() : nullptr;
    if (!rowLayout || rowLayout->count() < 2)
        return nullptr;
    return qobject_cast<QLineEdit *>(rowLayout->itemAt(1)->widget());
}

void YmPlanDataDlg::recount()
{
    qint64 sum = 0;
    for (int row = 0; row < ui->vLayout_setCount->count(); ++row) {
        const QLineEdit *field = quantityField(row);
        if (field && !field->text().isEmpty())
            sum += field->text().toLongLong();
    }
    ui->label_currentSet->setText(QString::number(sum));
    setCountWarning(sum > countOf(ui->label_total));
}
