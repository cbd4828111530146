#include "ymtableviewwidget.h"
#include "ui_ymtableviewwidget.h"

#include "ymorderrow.h"
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

QMap<QString, QVariantList> YmTableViewWidget::machinesFromOrderRows(const QVariantList &rows)
{
    // Folded into plain maps first: a machine has several rows, and a file map
    // held in a QVariant would be copied out and back for each of them.
    struct Machine
    {
        QString name;
        YmMachineCountMap files;
    };
    QMap<QString, Machine> folded;
    QVariantList storage;
    for (const QVariant &value : rows) {
        const QVariantList &row = YmOrderRow::listRef(value, storage);
        const QString key = YmOrderRow::stringAt(row, YmOrderRow::MacKey);
        const QString file = YmOrderRow::stringAt(row, YmOrderRow::FileName);
        const int planned = YmOrderRow::intAt(row, YmOrderRow::Planned);

        auto machine = folded.find(key);
        if (machine == folded.end()) {
            machine = folded.insert(key, {YmOrderRow::stringAt(row, YmOrderRow::MacName), {}});
            machine->files.insert(
                file, qMakePair(planned, YmOrderRow::intAt(row, YmOrderRow::Completed)));
            continue;
        }
        const auto counts = machine->files.find(file);
        if (counts == machine->files.end()) {
            machine->files.insert(file, qMakePair(planned, 0));
            continue;
        }
        // Wraps like an int sum would, without an overflow's undefined behaviour.
        counts->first = int(quint32(counts->first) + quint32(planned));
    }

    QMap<QString, QVariantList> machines;
    for (auto it = folded.cbegin(); it != folded.cend(); ++it)
        machines.insert(machines.cend(), it.key(),
                        QVariantList{it->name, QVariant::fromValue(it->files)});
    return machines;
}

void YmTableViewWidget::setOrderRows(const QVariantList &rows)
{
    m_model.setMachineData(machinesFromOrderRows(rows));
    ui->tableView->doItemsLayout();
}

void YmTableViewWidget::updateMacProcess(const QString &key, const QVariantList &items)
{
    m_model.updateMacProcess(key, items);
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
