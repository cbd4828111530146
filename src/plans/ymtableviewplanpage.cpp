#include "ymtableviewplanpage.h"
#include "ui_ymtableviewplanpage.h"

#include "ymclock.h"
#include "ymplandatadlg.h"
#include "ymtablecsvwriter.h"

#include <QCalendarWidget>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>

namespace {

const char kComboStyle[]
    = "QComboBox{border-radius:10px;border:1px solid black;padding-left:5px;padding-right:5px;"
      "padding-top:5px;padding-bottom:5px;background-color:transparent;}"
      "QComboBox QAbstractItemView{background-color:rgb(198,221,238);}"
      "QComboBox::drop-down {subcontrol-origin: padding;subcontrol-position: top "
      "right;width: 20px;border-left-width:1px;border-left-color:darkgray;border-left-style:"
      "solid;border-top-right-radius:3px;border-bottom-right-radius: 3px;}"
      "QComboBox::down-arrow {image:url(:/image/down-arrow);}";

// The model gives header sections a transparent background, meant to show the
// header's own face through; styles that paint the section from that colour
// (Fusion makes it opaque black) would hide the titles, so the face is drawn here.
const char kHeaderStyle[]
    = "QHeaderView::section{background-color:rgb(232,238,244);color:black;border:none;"
      "border-right:1px solid rgb(196,206,216);border-bottom:1px solid rgb(196,206,216);"
      "padding:4px;}";

constexpr int kWarningMs = 3000;
// The calendar pop-up button beside the date, with a little air.
constexpr int kCalendarButtonWidth = 32;
// Around a grouping box's text: the style sheet's padding and border and its
// drop-down button, which the box's own size hint leaves out.
constexpr int kComboChrome = 5 + 5 + 2 + 20 + 4;

QFont pointFont(int size)
{
    QFont font;
    font.setPointSize(size);
    return font;
}

} // namespace

namespace {

using Criterion = YmTablePlanModel::Criterion;
using ColumnOrder = YmTablePlanModel::ColumnOrder;

const Criterion kCriteria[3] = {YmTablePlanModel::PlanCriterion, YmTablePlanModel::FileCriterion,
                                YmTablePlanModel::MachineCriterion};

ColumnOrder comboCriteria(const QComboBox *combo)
{
    ColumnOrder criteria;
    for (int i = 0; i < combo->count(); ++i)
        criteria << Criterion(combo->itemData(i).toInt());
    return criteria;
}

// The criteria a combo box offers, with their titles for the eye and their
// numbers as item data: the page compares criteria, never titles. Refilling
// measures every item again, so a combo that offers these criteria already
// only goes back to its first, as a refilled one would.
void fillCombo(QComboBox *combo, const ColumnOrder &criteria)
{
    if (comboCriteria(combo) == criteria) {
        combo->setCurrentIndex(criteria.isEmpty() ? -1 : 0);
        return;
    }
    combo->clear();
    for (Criterion criterion : criteria)
        combo->addItem(YmTablePlanModel::criterionTitle(criterion), int(criterion));
}

int criterionOf(const QComboBox *combo)
{
    const QVariant data = combo->currentData();
    return data.isValid() ? data.toInt() : -1;
}

// Takes the combo box's current criterion out of criteria; a combo box with
// no current entry (index -1) has none to take.
void removeCriterionOf(const QComboBox *combo, YmTablePlanModel::ColumnOrder *criteria)
{
    const int criterion = criterionOf(combo);
    if (criterion >= 0)
        criteria->removeOne(YmTablePlanModel::Criterion(criterion));
}

} // namespace

YmTableViewPlanPage::YmTableViewPlanPage(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::YmTableViewPlanPage)
    , tooltipWidget(tr("至少选择一项作为查询依据!"))
    , dateFormat(QStringLiteral("yyyy-MM-dd"))
{
    ui->setupUi(this);
    // Connected by hand: a renamed widget in the form then fails to compile
    // instead of silently losing its slot.
    connect(ui->btnQuery, &QPushButton::clicked, this, &YmTableViewPlanPage::queryClicked);
    connect(ui->btnExport, &QPushButton::clicked, this, &YmTableViewPlanPage::exportClicked);
    connect(ui->btnAdd, &QPushButton::clicked, this, &YmTableViewPlanPage::addClicked);
    connect(ui->btnEdit, &QPushButton::clicked, this, &YmTableViewPlanPage::editClicked);
    connect(ui->btnDel, &QPushButton::clicked, this, &YmTableViewPlanPage::deleteClicked);
    connect(ui->pushButton, &QPushButton::clicked, this, &YmTableViewPlanPage::todayClicked);
    connect(ui->pushButton_prev, &QPushButton::clicked, this,
            &YmTableViewPlanPage::previousDayClicked);
    connect(ui->pushButton_next, &QPushButton::clicked, this, &YmTableViewPlanPage::nextDayClicked);
    connect(ui->comboBox_idx1, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &YmTableViewPlanPage::firstCriterionChanged);
    connect(ui->comboBox_idx2, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &YmTableViewPlanPage::secondCriterionChanged);
    setWindowTitle(tr("计划订单数据"));

    ui->tableView->setSortingEnabled(true);
    ui->tableView->horizontalHeader()->setSectionsClickable(true);
    proxyModel.setSourceModel(&planModel);
    ui->tableView->setModel(&proxyModel);

    for (QComboBox *combo :
         {ui->comboBox_idx1, ui->comboBox_idx2, ui->comboBox_idx3, ui->comboBox_filterType}) {
        combo->setStyleSheet(QString::fromLatin1(kComboStyle));
        combo->setView(new QListView());
    }
    for (QWidget *widget :
         {static_cast<QWidget *>(ui->comboBox_filterType),
          static_cast<QWidget *>(ui->comboBox_idx1), static_cast<QWidget *>(ui->comboBox_idx2),
          static_cast<QWidget *>(ui->comboBox_idx3),
          static_cast<QWidget *>(ui->tableView->horizontalHeader())})
        widget->setFont(pointFont(16));
    fitCombosToTitles();
    ui->tableView->horizontalHeader()->setStyleSheet(QString::fromLatin1(kHeaderStyle));
    ui->tableView->verticalHeader()->setStyleSheet(QString::fromLatin1(kHeaderStyle));

    // The boxes carry criteria as item data from the start; the page compares
    // criteria, never titles.
    for (QComboBox *combo :
         {ui->comboBox_idx1, ui->comboBox_idx2, ui->comboBox_idx3, ui->comboBox_filterType}) {
        const QSignalBlocker blocker(combo);
        fillCombo(combo, {kCriteria[0], kCriteria[1], kCriteria[2]});
    }

    for (QCheckBox *box : {ui->checkBox_plan, ui->checkBox_file, ui->checkBox_mac})
        connect(box, &QCheckBox::clicked, this, &YmTableViewPlanPage::updateTableColumnHeader);

    followedToday = YmClock::today(this);
    ui->dateEdit->setDate(followedToday);
    applyBoardLocale();
    // The date edit's own size hint leaves out its calendar button, so a
    // narrow window would cut the date; it keeps room for both.
    const int dateWidth = QFontMetrics(ui->dateEdit->font())
                              .horizontalAdvance(QDate(2088, 12, 28).toString(dateFormat));
    ui->dateEdit->setMinimumWidth(
        qMax(ui->dateEdit->minimumWidth(), dateWidth + kCalendarButtonWidth));
    connect(ui->dateEdit, &QDateEdit::dateChanged, this, &YmTableViewPlanPage::sQueryDatePlan);

    // Only a click on the header is the reader's own sort.
    QHeaderView *header = ui->tableView->horizontalHeader();
    connect(header, &QHeaderView::sectionClicked, this, [this, header] {
        userSortColumn = header->sortIndicatorSection();
        userSortOrder = header->sortIndicatorOrder();
    });
}

YmTableViewPlanPage::~YmTableViewPlanPage()
{
    // The view outlives the member models; let it forget them first.
    ui->tableView->setModel(nullptr);
    delete ui;
}

void YmTableViewPlanPage::showToday()
{
    const QSignalBlocker blocker(ui->dateEdit);
    followedToday = YmClock::today(this);
    ui->dateEdit->setDate(followedToday);
}

void YmTableViewPlanPage::followDay(const QDate &today)
{
    const QDate before = followedToday;
    followedToday = today;
    // A plan added after midnight must land on the new day.
    if (today.isValid() && today != before && shownDate() == before)
        ui->dateEdit->setDate(today);
}

void YmTableViewPlanPage::applyBoardLocale()
{
    // The board's language decides the month and weekday names of the
    // calendar and its first day of the week, not the system's.
    const QLocale locale(tr("zh_CN", "locale of the date edit and its calendar"));
    ui->dateEdit->setLocale(locale);
    if (QCalendarWidget *calendar = ui->dateEdit->calendarWidget())
        calendar->setLocale(locale);
}

QDate YmTableViewPlanPage::shownDate() const
{
    return ui->dateEdit->date();
}

QString YmTableViewPlanPage::shownDateText() const
{
    return shownDate().toString(dateFormat);
}

QCheckBox *YmTableViewPlanPage::criterionBox(int criterion) const
{
    switch (criterion) {
    case YmTablePlanModel::PlanCriterion:
        return ui->checkBox_plan;
    case YmTablePlanModel::FileCriterion:
        return ui->checkBox_file;
    default:
        return ui->checkBox_mac;
    }
}

QComboBox *YmTableViewPlanPage::orderCombo(int i) const
{
    switch (i) {
    case 1:
        return ui->comboBox_idx1;
    case 2:
        return ui->comboBox_idx2;
    case 3:
        return ui->comboBox_idx3;
    default:
        return nullptr;
    }
}

YmTablePlanModel::ColumnOrder YmTableViewPlanPage::columnsInUse() const
{
    ColumnOrder order;
    for (int i = 1; i <= 3; ++i) {
        QComboBox *combo = orderCombo(i);
        if (inUse(combo) && criterionOf(combo) >= 0)
            order << Criterion(criterionOf(combo));
    }
    return order;
}

int YmTableViewPlanPage::selectedModelRow() const
{
    const QModelIndexList selected = ui->tableView->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return -1;
    const QModelIndex source = proxyModel.mapToSource(selected.first());
    return source.isValid() ? source.row() : -1;
}

QString YmTableViewPlanPage::checkOrderDigits(int checkOrder)
{
    if (checkOrder == 0)
        return QStringLiteral("123");
    if (checkOrder < 0 || checkOrder > 999)
        return QString();
    QString digits = QString::number(checkOrder);
    for (int i = 0; i < digits.size(); ++i) {
        const QChar d = digits.at(i);
        if (d < QLatin1Char('1') || d > QLatin1Char('3') || digits.indexOf(d) != i)
            return QString();
    }
    return digits;
}

void YmTableViewPlanPage::initDatas(const QVector<YmMachineEntry> &macs,
                                    const QVector<YmOrderRecord> &plans, bool filterCheck,
                                    int checkOrder, int filter)
{
    macList.clear();
    mapMacName.clear();
    for (const YmMachineEntry &mac : macs) {
        if (!mapMacName.contains(mac.key))
            macList << mac.key;
        mapMacName.insert(mac.key, mac.name);
    }

    restoreCheckOrder(checkOrder);
    // A fresh page given an order it cannot read would have no criterion at
    // all; it starts from the default grouping instead.
    if (!ui->checkBox_plan->isChecked() && !ui->checkBox_file->isChecked()
        && !ui->checkBox_mac->isChecked())
        restoreCheckOrder(0);
    ui->checkBox_fuzzyMatch->setChecked(filterCheck);
    restoreFilter(filter);
    // One regrouping, by the header update below (which always rebuilds).
    planModel.takePlanList(plans);
    updateTableColumnHeader();
    // A hidden window lays its rows out when it is shown.
    if (isVisible())
        ui->tableView->doItemsLayout();
}

void YmTableViewPlanPage::queryDatePlan(const QString &date, const QVector<YmOrderRecord> &plans)
{
    if (date != shownDateText())
        return;
    const ViewAnchor anchor = captureAnchor();
    planModel.setPlanList(plans);
    reapplyUserSort();
    ui->tableView->doItemsLayout();
    restoreAnchor(anchor);
}

void YmTableViewPlanPage::updateRows(const QVector<YmOrderRecord> &rows,
                                     const QVector<int> &changed)
{
    if (shownDate() != YmClock::today(this) || changed.isEmpty())
        return;
    // A hidden window keeps the counts and regroups once, when it is shown:
    // on a wall board the window is hidden nearly all day, and a regrouping
    // of a large day costs more than everything else in the call.
    if (!isVisible()) {
        planModel.updateRows(rows, changed, false);
        return;
    }
    const ViewAnchor anchor = captureAnchor();
    planModel.updateRows(rows, changed, true);
    reapplyUserSort();
    ui->tableView->doItemsLayout();
    restoreAnchor(anchor);
}

void YmTableViewPlanPage::reapplyUserSort()
{
    if (userSortColumn >= 0 && userSortColumn < planModel.columnCount()) {
        proxyModel.sort(userSortColumn, userSortOrder);
        return;
    }
    // The rows are in the grouping's order: no column may claim to sort them.
    QHeaderView *header = ui->tableView->horizontalHeader();
    if (header->sortIndicatorSection() != -1)
        header->setSortIndicator(-1, Qt::AscendingOrder);
}

void YmTableViewPlanPage::showEvent(QShowEvent *event)
{
    if (planModel.isStale()) {
        const ViewAnchor anchor = captureAnchor();
        planModel.rebuildIfStale();
        reapplyUserSort();
        ui->tableView->doItemsLayout();
        restoreAnchor(anchor);
    }
    updateColumnWidths();
    QWidget::showEvent(event);
}

void YmTableViewPlanPage::updateMacName(const QString &macKey, const QString &name)
{
    mapMacName.insert(macKey, name);
}

YmTableViewPlanPage::ViewAnchor YmTableViewPlanPage::captureAnchor() const
{
    ViewAnchor anchor;
    anchor.scrollValue = ui->tableView->verticalScrollBar()->value();
    const int selected = selectedModelRow();
    if (selected >= 0) {
        anchor.selectedKey = planModel.rowKey(selected);
        anchor.selectedOccurrence = planModel.keyOccurrence(selected);
    }
    const QModelIndex top = proxyModel.mapToSource(ui->tableView->indexAt(QPoint(0, 0)));
    if (top.isValid()) {
        anchor.topKey = planModel.rowKey(top.row());
        anchor.topOccurrence = planModel.keyOccurrence(top.row());
    }
    return anchor;
}

void YmTableViewPlanPage::restoreAnchor(const ViewAnchor &anchor)
{
    QTableView *view = ui->tableView;
    const int selected = planModel.findRow(anchor.selectedKey, anchor.selectedOccurrence);
    const QModelIndex selectedIndex = proxyModel.mapFromSource(planModel.index(selected, 0));
    if (selectedIndex.isValid())
        view->selectionModel()->setCurrentIndex(selectedIndex, QItemSelectionModel::ClearAndSelect
                                                                   | QItemSelectionModel::Rows);

    const int top = planModel.findRow(anchor.topKey, anchor.topOccurrence);
    const QModelIndex topIndex = proxyModel.mapFromSource(planModel.index(top, 0));
    if (topIndex.isValid())
        view->scrollTo(topIndex, QAbstractItemView::PositionAtTop);
    else
        view->verticalScrollBar()->setValue(anchor.scrollValue);
}

void YmTableViewPlanPage::restoreCheckOrder(int checkOrder)
{
    const QString digits = checkOrderDigits(checkOrder);
    if (digits.isEmpty())
        return;
    ColumnOrder order;
    for (const QChar d : digits) {
        const int criterion = d.digitValue() - 1;
        QCheckBox *box = criterionBox(criterion);
        const QSignalBlocker blocker(box);
        box->setChecked(true);
        order << kCriteria[criterion];
    }
    for (int i = 1; i <= 3; ++i) {
        QComboBox *combo = orderCombo(i);
        if (!combo)
            continue;
        const bool used = i <= order.size();
        combo->setVisible(used);
        mapComboVisible.insert(combo, used);
        if (!used)
            continue;
        const QSignalBlocker blocker(combo);
        fillCombo(combo, order.mid(i - 1));
        combo->setCurrentIndex(0);
    }
}

void YmTableViewPlanPage::restoreFilter(int filter)
{
    if (filter < 1 || filter > 3)
        return;
    const QSignalBlocker blocker(ui->comboBox_filterType);
    const int index = ui->comboBox_filterType->findData(filter - 1);
    if (index >= 0)
        ui->comboBox_filterType->setCurrentIndex(index);
}

void YmTableViewPlanPage::updateTableColumnHeader()
{
    ColumnOrder remaining;
    for (Criterion criterion : kCriteria) {
        if (criterionBox(criterion)->isChecked())
            remaining << criterion;
    }
    const int n = remaining.size();

    if (n == 0) {
        auto *clicked = qobject_cast<QCheckBox *>(sender());
        if (clicked) {
            clicked->setChecked(true);
            const QPoint cursor = QCursor::pos();
            tooltipWidget.move(cursor.x() - 100, cursor.y() - 50 - clicked->height() / 2);
            tooltipWidget.show();
            QTimer::singleShot(kWarningMs, this, [this] { tooltipWidget.hide(); });
        } else {
            // Not a click: nothing to put back, so start from the default grouping.
            restoreCheckOrder(0);
        }
        updateTableColumnHeader();
        return;
    }
    if (n != 1)
        tooltipWidget.hide();

    ui->btnEdit->setEnabled(n == 3);
    ui->btnDel->setEnabled(ui->checkBox_plan->isChecked());

    {
        QComboBox *filterType = ui->comboBox_filterType;
        const QSignalBlocker blocker(filterType);
        const int current = criterionOf(filterType);
        fillCombo(filterType, remaining);
        if (current >= 0 && remaining.contains(Criterion(current)))
            filterType->setCurrentIndex(filterType->findData(current));
    }

    for (QComboBox *combo : {ui->comboBox_idx1, ui->comboBox_idx2, ui->comboBox_idx3}) {
        combo->hide();
        mapComboVisible.insert(combo, false);
    }
    for (int i = 1; i <= n; ++i) {
        QComboBox *combo = orderCombo(i);
        if (!combo)
            continue;
        const QSignalBlocker blocker(combo);
        const int current = criterionOf(combo);
        combo->show();
        mapComboVisible.insert(combo, true);
        fillCombo(combo, remaining);
        if (current >= 0 && remaining.contains(Criterion(current))) {
            combo->setCurrentIndex(combo->findData(current));
            remaining.removeOne(Criterion(current));
        } else if (!remaining.isEmpty()) {
            remaining.removeFirst();
        }
    }

    const ColumnOrder order = columnsInUse();
    // A new grouping gives the columns new meanings.
    if (order != planModel.columnOrder())
        userSortColumn = -1;
    refreshTable(order);
    reapplyUserSort();
    emitSettings();
}

void YmTableViewPlanPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateTexts();
    QWidget::changeEvent(event);
}

void YmTableViewPlanPage::retranslateTexts()
{
    // The grouping and filter boxes carry the criteria as item data: each
    // entry keeps its place and only takes the new words, and the table keeps
    // its grouping under the new titles.
    ui->retranslateUi(this);
    setWindowTitle(tr("计划订单数据"));
    applyBoardLocale();
    tooltipWidget.setText(tr("至少选择一项作为查询依据!"));
    if (openDialog && openDialogTitle)
        openDialog->setWindowTitle(openDialogTitle->text());
    for (QComboBox *combo :
         {ui->comboBox_idx1, ui->comboBox_idx2, ui->comboBox_idx3, ui->comboBox_filterType}) {
        const QSignalBlocker blocker(combo);
        for (int i = 0; i < combo->count(); ++i)
            combo->setItemText(
                i, YmTablePlanModel::criterionTitle(Criterion(combo->itemData(i).toInt())));
    }
    fitCombosToTitles();
    const ViewAnchor anchor = captureAnchor();
    refreshTable(columnsInUse());
    reapplyUserSort();
    restoreAnchor(anchor);
}

void YmTableViewPlanPage::fitCombosToTitles()
{
    // The grouping and filter boxes show criterion titles, which are longer in
    // some languages than in others.
    for (QComboBox *combo :
         {ui->comboBox_idx1, ui->comboBox_idx2, ui->comboBox_idx3, ui->comboBox_filterType}) {
        const QFontMetrics metrics(combo->font());
        int widest = 0;
        for (Criterion criterion : kCriteria)
            widest = qMax(widest,
                          metrics.horizontalAdvance(YmTablePlanModel::criterionTitle(criterion)));
        combo->setMinimumWidth(widest + kComboChrome);
    }
}

void YmTableViewPlanPage::trackDialog(YmPlanDataDlg *dialog, const QAbstractButton *titleFrom)
{
    dialog->setWindowTitle(titleFrom->text());
    openDialog = dialog;
    openDialogTitle = titleFrom;
}

void YmTableViewPlanPage::refreshTable(const YmTablePlanModel::ColumnOrder &order)
{
    planModel.setColumnOrder(order);
    planModel.refresh();
    // A hidden window sizes its columns when it is shown (showEvent): asking
    // the style for the scroll bar's width costs more than the regrouping of
    // a small day, and the host pushes the day to a hidden window all day.
    if (isVisible())
        updateColumnWidths();
}

void YmTableViewPlanPage::emitSettings()
{
    QString digits;
    const YmTablePlanModel::ColumnOrder columns = columnsInUse();
    for (Criterion criterion : columns)
        digits += QString::number(int(criterion) + 1);
    emit sSaveKeyAttr(QStringLiteral("PlanFilterCheck"), ui->checkBox_fuzzyMatch->isChecked()
                                                             ? QStringLiteral("1")
                                                             : QStringLiteral("0"));
    emit sSaveKeyAttr(QStringLiteral("PlanCheckOrder"), digits);
    emit sSaveKeyAttr(QStringLiteral("PlanFilter"),
                      QString::number(criterionOf(ui->comboBox_filterType) + 1));
}

void YmTableViewPlanPage::updateColumnWidths()
{
    const int n = planModel.columnCount();
    if (n == 0)
        return;
    QTableView *view = ui->tableView;
    const int available = view->width() - view->verticalHeader()->width()
                          - view->verticalScrollBar()->sizeHint().width();
    // Rounded towards minus infinity, also for a window narrower than its headers.
    const int w = available >= 0 ? available / n : -((-available + n - 1) / n);
    for (int column = 0; column < n; ++column)
        view->setColumnWidth(column, w - 1);
}

void YmTableViewPlanPage::resizeEvent(QResizeEvent *event)
{
    updateColumnWidths();
    QWidget::resizeEvent(event);
}

void YmTableViewPlanPage::queryClicked()
{
    const QString text = ui->lineEdit_filter->text();
    const int filterCriterion = criterionOf(ui->comboBox_filterType);
    const int column
        = filterCriterion < 0 ? -1 : columnsInUse().indexOf(Criterion(filterCriterion));
    const QRegExp rx(text, Qt::CaseInsensitive,
                     ui->checkBox_fuzzyMatch->isChecked() ? QRegExp::RegExp : QRegExp::FixedString);
    proxyModel.setFilter(column, rx);
    if (text.isEmpty())
        updateTableColumnHeader();
    // The first match may sit below the part of the table that was in sight.
    if (proxyModel.rowCount() > 0)
        ui->tableView->scrollTo(proxyModel.index(0, 0), QAbstractItemView::PositionAtTop);
}

void YmTableViewPlanPage::exportClicked()
{
    const QString dir = exportDir.isEmpty()
                            ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                            : exportDir;
    const QString suggested = QDir(dir).filePath(tr("计划订单_%1.csv").arg(shownDateText()));
    QString fileName = exportFileName(suggested);
    if (fileName.isEmpty())
        return;
    // A name typed without an extension would not open in a spreadsheet.
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".csv");

    // The proxy in the view's column order: the rows, their order and the
    // columns exactly as the reader sees them.
    YmTableCsvWriter writer(&proxyModel,
                            YmTableCsvWriter::visibleColumns(ui->tableView->horizontalHeader()));
    if (!writer.write(fileName)) {
        messageBoxAndResult(tr("提示"), writer.errorString(), tr("确定"));
        return;
    }
    exportDir = QFileInfo(fileName).absolutePath();
}

QString YmTableViewPlanPage::exportFileName(const QString &suggested)
{
    return QFileDialog::getSaveFileName(this, tr("导出"), suggested, tr("CSV 文件 (*.csv)"));
}

QString YmTableViewPlanPage::selectedValue(YmTablePlanModel::Criterion criterion) const
{
    const int row = selectedModelRow();
    if (row < 0 || row >= planModel.rows().size())
        return QString();
    for (int column = 0; column < planModel.groupColumnCount(); ++column) {
        if (planModel.columnCriterion(column) == int(criterion))
            return planModel.rows().at(row).groups[column];
    }
    return QString();
}

int YmTableViewPlanPage::currentNotifyNum(const QString &planName, const QString &fileName) const
{
    // Every order row of a plan carries its notify percent; they agree, so the
    // first one is as good as any.
    for (const YmOrderRecord &r : planModel.planList()) {
        if (r.planName == planName && r.fileName == fileName)
            return r.notifyNum;
    }
    return 0;
}

void YmTableViewPlanPage::firstCriterionChanged(int)
{
    ColumnOrder criteria = comboCriteria(ui->comboBox_idx1);
    removeCriterionOf(ui->comboBox_idx1, &criteria);
    {
        const QSignalBlocker blocker(ui->comboBox_idx2);
        fillCombo(ui->comboBox_idx2, criteria);
    }
    removeCriterionOf(ui->comboBox_idx2, &criteria);
    {
        const QSignalBlocker blocker(ui->comboBox_idx3);
        fillCombo(ui->comboBox_idx3, criteria);
    }
    updateTableColumnHeader();
}

void YmTableViewPlanPage::secondCriterionChanged(int)
{
    ColumnOrder criteria = comboCriteria(ui->comboBox_idx2);
    removeCriterionOf(ui->comboBox_idx2, &criteria);
    {
        const QSignalBlocker blocker(ui->comboBox_idx3);
        fillCombo(ui->comboBox_idx3, criteria);
    }
    updateTableColumnHeader();
}

void YmTableViewPlanPage::addClicked()
{
    YmPlanDataDlg dlg;
    trackDialog(&dlg, ui->btnAdd);
    dlg.setMacList(macList, mapMacName);
    if (!dlg.exec())
        return;
    QString planName;
    QString fileName;
    QMap<QString, int> mapMacCount;
    int notifyNum = 0;
    dlg.getPlanData(planName, fileName, mapMacCount, notifyNum);
    // The day shown now: the user may have moved it while the dialog was open.
    emit sAddDatePlan(shownDateText(), planName, fileName, mapMacCount, notifyNum);
}

void YmTableViewPlanPage::editClicked()
{
    if (!ui->tableView->selectionModel()->hasSelection()) {
        messageBoxAndResult(tr("提示"), tr("请选择要编辑的订单"), tr("确定"));
        return;
    }
    const QString planName = selectedValue(YmTablePlanModel::PlanCriterion);
    const QString fileName = selectedValue(YmTablePlanModel::FileCriterion);
    const int notifyNum = currentNotifyNum(planName, fileName);

    // The machine cell of the row does not matter: the dialog gets every
    // machine of the plan on that file.
    QMap<QString, int> mapMacCount;
    for (const YmOrderRecord &r : planModel.planList()) {
        if (r.planName == planName && r.fileName == fileName)
            mapMacCount.insert(r.macKey, r.planned);
    }

    YmPlanDataDlg dlg;
    trackDialog(&dlg, ui->btnEdit);
    dlg.setMacList(macList, mapMacName);
    dlg.setPlanData(planName, fileName, mapMacCount, notifyNum);
    if (!dlg.exec())
        return;
    QString newPlanName;
    QString newFileName;
    QMap<QString, int> newMap;
    int newNotify = 0;
    dlg.getPlanData(newPlanName, newFileName, newMap, newNotify);

    if (newPlanName == planName && newFileName == fileName && newMap == mapMacCount
        && newNotify == notifyNum) {
        messageBoxAndResult(tr("提示"), tr("未修改"), tr("确定"));
        return;
    }
    emit sEditDatePlan(shownDateText(), planName, newPlanName, fileName, newFileName, newMap,
                       newNotify);
}

bool YmTableViewPlanPage::messageBoxAndResult(const QString &title, const QString &content,
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

bool YmTableViewPlanPage::messageBoxAndResult(const QString &title, const QString &content,
                                              const QString &btn1)
{
    return messageBoxAndResult(title, content, btn1, QString());
}

void YmTableViewPlanPage::todayClicked()
{
    const QDate today = YmClock::today(this);
    followedToday = today;
    if (ui->dateEdit->date() != today)
        ui->dateEdit->setDate(today);
}

void YmTableViewPlanPage::deleteClicked()
{
    if (!ui->tableView->selectionModel()->hasSelection()) {
        messageBoxAndResult(tr("提示"), tr("请选择要删除的订单"), tr("确定"));
        return;
    }
    const QString planName = selectedValue(YmTablePlanModel::PlanCriterion);
    if (!messageBoxAndResult(tr("提示"), tr("是否要删除 %1 该计划订单?").arg(planName), tr("确定"),
                             tr("取消")))
        return;
    emit sDelDatePlan(shownDateText(), planName);
}

void YmTableViewPlanPage::previousDayClicked()
{
    ui->dateEdit->setDate(ui->dateEdit->date().addDays(-1));
}

void YmTableViewPlanPage::nextDayClicked()
{
    ui->dateEdit->setDate(ui->dateEdit->date().addDays(1));
}
