#include "ymtableviewwidget.h"
#include "ui_ymtableviewwidget.h"

#include "ymtableheaderview.h"
#include "ymtableviewdelegate.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QScrollBar>

namespace {

const QString kHeaderStyle
    = QStringLiteral("QHeaderView{background-color:transparent;} "
                     "QHeaderView::section{background-color: transparent; border: 0px;}");

} // namespace

YmTableViewWidget::YmTableViewWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::YmTableViewWidget)
{
    ui->setupUi(this);
    QTableView *view = ui->tableView;
    view->setFrameStyle(0);

    if (!m_header) {
        m_header = new YmTableHeaderView(Qt::Horizontal, view);
        m_header->setStyleSheet(kHeaderStyle);
        view->setHorizontalHeader(m_header);
    }

    QPalette palette = view->palette();
    palette.setBrush(QPalette::All, QPalette::Base, QBrush(Qt::transparent));
    view->setPalette(palette);

    m_header->setSectionResizeMode(QHeaderView::Stretch);
    QFont headerFont;
    headerFont.setPointSize(int(m_header->fontSize()));
    m_header->setMinimumHeight(QFontMetrics(headerFont).height() + 20);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    view->setModel(&m_model);
    m_delegate = new YmTableViewDelegate(this);
    view->setItemDelegate(m_delegate);
    m_model.setHeaderLabels();

    view->verticalHeader()->setStyleSheet(kHeaderStyle);
    view->setStyleSheet(QStringLiteral(
        "background-color:transparent; selection-background-color:rgb(11,70,130); "));
    setStyleSheet(
        QStringLiteral("QTableView QTableCornerButton::section {background-color:transparent;}"));
    // Without a border of its own the corner keeps the platform style's look,
    // and Fusion turns a transparent button colour into an opaque black tile.
    if (auto *corner = view->findChild<QAbstractButton *>())
        corner->setStyleSheet(
            QStringLiteral("::section{background-color:transparent; border: 0px;}"));

    // Paging: the view scrolls a page of whole rows at a time.
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_bottomMargin = ui->verticalLayout->contentsMargins().bottom();
    connect(&m_pageTimer, &QTimer::timeout, this, &YmTableViewWidget::showNextPage);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &YmTableViewWidget::layoutPages);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &YmTableViewWidget::layoutPages);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &YmTableViewWidget::layoutPages);
    // The view lets its top row go no further than a full view from the end,
    // and at the end of the range it shows the last rows, whatever the value;
    // the last page starts later when it is not full, so the range is widened
    // past it. rangeChanged comes before the slider bounds its value, so the
    // value is never cut back.
    connect(view->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            [this](int, int max) { widenScrollRange(max); });
    // Someone reading the table (clicking, scrolling, keys) keeps the page.
    const QList<QWidget *> widgets = watchedForUser();
    for (QWidget *watched : widgets)
        watched->installEventFilter(this);
}

void YmTableViewWidget::changeEvent(QEvent *event)
{
    // The model is no widget and hears of the new language from its view.
    if (event->type() == QEvent::LanguageChange)
        m_model.setHeaderLabels();
    QWidget::changeEvent(event);
}

YmTableViewWidget::~YmTableViewWidget()
{
    // The view and its headers outlive the form: nothing of theirs may call
    // back into this half-destroyed widget.
    QTableView *view = ui->tableView;
    disconnect(view->verticalScrollBar(), nullptr, this, nullptr);
    const QList<QWidget *> widgets = watchedForUser();
    for (QWidget *watched : widgets)
        watched->removeEventFilter(this);
    // The view lets go of the model before the model goes.
    view->setModel(nullptr);
    delete ui;
}

QList<QWidget *> YmTableViewWidget::watchedForUser() const
{
    QTableView *view = ui->tableView;
    return {view, view->viewport(), view->verticalHeader()->viewport(),
            view->horizontalHeader()->viewport()};
}

QTableView *YmTableViewWidget::tableView() const
{
    return ui->tableView;
}

void YmTableViewWidget::setMachineCounts(const QVector<YmOrderModel::MachineCounts> &machines)
{
    // No layout here: a change of the row count makes the view schedule one,
    // which runs before its next paint or when it is shown; a reload of the
    // same machines only repaints. Laying out at once measured the headers
    // again on every push of the host.
    m_model.setMachineCounts(machines);
}

YmPager YmTableViewWidget::pagesFor(int rowsHeight, int rowHeight, int rowCount, int page,
                                    int *spare)
{
    YmPager pages;
    pages.setLayout(rowCount, YmPager::fit(rowsHeight, rowHeight));
    pages.setPage(page);
    if (spare)
        *spare = pages.isPaging() ? qMax(0, rowsHeight - pages.perPage() * rowHeight) : 0;
    return pages;
}

// Rows per page from the room the rows have: the view's viewport plus what
// paging added under it. The pixels under the last whole row become margin,
// so that no sliver of the next page's first row shows.
void YmTableViewWidget::layoutPages()
{
    QTableView *view = ui->tableView;
    const QMargins margins = ui->verticalLayout->contentsMargins();
    const int rowsHeight = view->viewport()->height() + margins.bottom() - m_bottomMargin;
    int spare = 0;
    const int wasFirst = m_pages.first();
    m_pages = pagesFor(rowsHeight, view->verticalHeader()->defaultSectionSize(), m_model.rowCount(),
                       m_pages.page(), &spare);
    if (margins.bottom() != m_bottomMargin + spare) {
        QMargins paged = margins;
        paged.setBottom(m_bottomMargin + spare);
        ui->verticalLayout->setContentsMargins(paged);
        // At once, not at the next layout pass: a page shown meanwhile would
        // be cut or show a sliver (this comes back here with the new viewport).
        ui->verticalLayout->activate();
    }
    m_pageTimer.setPaging(m_pages.isPaging());
    if (m_pages.first() != wasFirst || view->verticalScrollBar()->value() != m_pages.first())
        scrollToPage();
}

void YmTableViewWidget::widenScrollRange(int max)
{
    const int beyondLast = m_pages.firstOf(m_pages.pageCount() - 1) + 1;
    if (m_pages.isPaging() && max < beyondLast)
        ui->tableView->verticalScrollBar()->setMaximum(beyondLast);
}

void YmTableViewWidget::scrollToPage()
{
    QScrollBar *bar = ui->tableView->verticalScrollBar();
    widenScrollRange(bar->maximum());
    bar->setValue(m_pages.first());
}

void YmTableViewWidget::showNextPage()
{
    // Onwards from what the view shows: the user may have scrolled.
    m_pages.setPage(m_pages.pageOf(ui->tableView->verticalScrollBar()->value()));
    m_pages.next();
    scrollToPage();
}

bool YmTableViewWidget::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == ui->tableView->viewport())
            layoutPages();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        m_pageTimer.holdForUser();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void YmTableViewWidget::updateMachineCounts(const YmOrderModel::MachineCounts &machine)
{
    m_model.updateMachineCounts(machine);
}

void YmTableViewWidget::updateMacName(const QString &key, const QString &name)
{
    m_model.updateMacName(key, name);
}

void YmTableViewWidget::getRowInfo(int row, QString &name, int &completed) const
{
    m_model.getRowInfo(row, name, completed);
}

bool YmTableViewWidget::updateTopThree()
{
    return m_model.updateTopThree();
}

void YmTableViewWidget::setMachinesAtRisk(const QSet<QString> &keys)
{
    if (keys == m_delegate->markedKeys())
        return;
    m_delegate->setMarkedKeys(keys);
    tableView()->viewport()->update();
}

QSet<QString> YmTableViewWidget::machinesAtRisk() const
{
    return m_delegate->markedKeys();
}
