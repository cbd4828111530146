#include "ymtableviewwidget.h"
#include "ui_ymtableviewwidget.h"

#include "ymtableheaderview.h"
#include "ymtableviewdelegate.h"

#include <QAbstractButton>
#include <QFontMetrics>

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
    view->setItemDelegate(new YmTableViewDelegate(this));
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
}

YmTableViewWidget::~YmTableViewWidget()
{
    // The view lets go of the model before the model goes.
    ui->tableView->setModel(nullptr);
    delete ui;
}

QTableView *YmTableViewWidget::tableView() const
{
    return ui->tableView;
}

void YmTableViewWidget::setMachineCounts(const QVector<YmOrderModel::MachineCounts> &machines)
{
    m_model.setMachineCounts(machines);
    ui->tableView->doItemsLayout();
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
