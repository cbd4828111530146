#include "ymnotifyhistorywindow.h"

#include "ymnotifyhistory.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kIdRole = Qt::UserRole + 1;

QString timeText(const YmNotifyHistory::Entry &entry)
{
    QString raised = entry.raised.time().toString(QStringLiteral("HH:mm:ss"));
    if (entry.updated == entry.raised)
        return raised;
    // A plan that kept reporting: when it first crossed, and the text's time.
    return QCoreApplication::translate("YmNotifyHistoryWindow", "%1（更新 %2）")
        .arg(raised, entry.updated.time().toString(QStringLiteral("HH:mm:ss")));
}

} // namespace

YmNotifyHistoryWindow::YmNotifyHistoryWindow(const YmNotifyHistory *history, QWidget *parent)
    : QWidget(parent)
    , m_history(history)
{
    setWindowTitle(tr("通知记录"));
    setObjectName(QStringLiteral("YmNotifyHistoryWindow"));
    resize(720, 480);

    m_summary = new QLabel(this);
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setHorizontalHeaderLabels({tr("时间"), tr("计划"), tr("内容"), tr("已确认")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    QHeaderView *header = m_table->horizontalHeader();
    header->setSectionResizeMode(TimeColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(PlanColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(TextColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(AcknowledgedColumn, QHeaderView::ResizeToContents);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);

    connect(m_table, &QTableWidget::itemChanged, this, &YmNotifyHistoryWindow::itemChanged);
    rebuild();
}

void YmNotifyHistoryWindow::refresh()
{
    // A board refreshes every few seconds; a hidden window need not follow.
    // Several changes in one pass of the event loop rebuild once.
    m_stale = true;
    if (!isVisible() || m_rebuildPosted)
        return;
    m_rebuildPosted = true;
    QTimer::singleShot(0, this, [this] {
        m_rebuildPosted = false;
        if (m_stale && isVisible())
            rebuild();
    });
}

void YmNotifyHistoryWindow::showEvent(QShowEvent *event)
{
    if (m_stale)
        rebuild();
    QWidget::showEvent(event);
}

QString YmNotifyHistoryWindow::summaryText() const
{
    return m_summary->text();
}

void YmNotifyHistoryWindow::rebuild()
{
    m_stale = false;
    m_rebuilding = true;
    const int n = m_history ? m_history->size() : 0;
    int open = 0;
    m_table->setRowCount(n);
    for (int row = 0; row < n; ++row) {
        const YmNotifyHistory::Entry &entry = m_history->entry(row);
        const QString texts[] = {timeText(entry), entry.plan, entry.text};
        for (int column = TimeColumn; column <= TextColumn; ++column) {
            QTableWidgetItem *item = m_table->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                m_table->setItem(row, column, item);
            }
            item->setText(texts[column]);
            item->setToolTip(column == TextColumn ? entry.text : QString());
        }
        QTableWidgetItem *check = m_table->item(row, AcknowledgedColumn);
        if (!check) {
            check = new QTableWidgetItem;
            m_table->setItem(row, AcknowledgedColumn, check);
        }
        check->setData(kIdRole, QVariant::fromValue(entry.id));
        check->setCheckState(entry.acknowledged ? Qt::Checked : Qt::Unchecked);
        // Acknowledged is final for the day.
        check->setFlags(entry.acknowledged ? Qt::ItemIsEnabled
                                           : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        if (!entry.acknowledged)
            ++open;
    }
    m_summary->setText(
        tr("%1 今日通知 %2 条，未确认 %3 条")
            .arg(m_history ? m_history->day().toString(QStringLiteral("yyyy-MM-dd")) : QString())
            .arg(n)
            .arg(open));
    m_rebuilding = false;
}

void YmNotifyHistoryWindow::itemChanged(QTableWidgetItem *item)
{
    if (m_rebuilding || item->column() != AcknowledgedColumn || item->checkState() != Qt::Checked)
        return;
    emit acknowledgeRequested(item->data(kIdRole).value<quint64>());
}
