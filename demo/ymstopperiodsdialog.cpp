#include "ymstopperiodsdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTime>
#include <QVBoxLayout>
#include <QVector>

#include <algorithm>

namespace {

QTime parseTime(const QString &text)
{
    for (const QString &format :
         {QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm"), QStringLiteral("H:mm")}) {
        const QTime t = QTime::fromString(text.trimmed(), format);
        if (t.isValid())
            return t;
    }
    return QTime();
}

} // namespace

YmStopPeriodsDialog::YmStopPeriodsDialog(const QList<YmStopPeriod> &periods, QWidget *parent)
    : QDialog(parent)
    , m_table(new QTableWidget(0, 3, this))
{
    setWindowTitle(tr("计划停机项设置"));
    setObjectName(QStringLiteral("YmStopPeriodsDialog"));
    m_table->setObjectName(QStringLiteral("tableWidget_stops"));
    m_table->setHorizontalHeaderLabels({tr("名称"), tr("开始时间"), tr("结束时间")});
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->verticalHeader()->hide();
    for (const YmStopPeriod &p : periods) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(row, 0, new QTableWidgetItem(p.name));
        m_table->setItem(row, 1, new QTableWidgetItem(p.start.left(5)));
        m_table->setItem(row, 2, new QTableWidgetItem(p.end.left(5)));
    }

    auto *add = new QPushButton(tr("添加"), this);
    auto *remove = new QPushButton(tr("删除"), this);
    add->setObjectName(QStringLiteral("btnAdd"));
    remove->setObjectName(QStringLiteral("btnDel"));
    connect(add, &QPushButton::clicked, this, &YmStopPeriodsDialog::addPeriod);
    connect(remove, &QPushButton::clicked, this, &YmStopPeriodsDialog::removePeriod);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &YmStopPeriodsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &YmStopPeriodsDialog::reject);

    auto *rowButtons = new QHBoxLayout;
    rowButtons->addWidget(add);
    rowButtons->addWidget(remove);
    rowButtons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(rowButtons);
    layout->addWidget(buttons);
    resize(420, 300);
}

void YmStopPeriodsDialog::addPeriod()
{
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    m_table->setItem(row, 0, new QTableWidgetItem(tr("停机")));
    m_table->setItem(row, 1, new QTableWidgetItem(QStringLiteral("15:00")));
    m_table->setItem(row, 2, new QTableWidgetItem(QStringLiteral("15:15")));
    m_table->setCurrentCell(row, 0);
}

void YmStopPeriodsDialog::removePeriod()
{
    const int row = m_table->currentRow();
    if (row >= 0)
        m_table->removeRow(row);
}

QString YmStopPeriodsDialog::rowProblem(int row, YmStopPeriod *period) const
{
    auto text = [&](int column) {
        const QTableWidgetItem *item = m_table->item(row, column);
        return item ? item->text().trimmed() : QString();
    };
    const QTime start = parseTime(text(1));
    const QTime end = parseTime(text(2));
    if (text(0).isEmpty())
        return tr("第%1行：名称不能为空").arg(row + 1);
    if (!start.isValid() || !end.isValid())
        return tr("第%1行：时间格式应为 HH:mm").arg(row + 1);
    if (start >= end)
        return tr("第%1行：结束时间必须晚于开始时间").arg(row + 1);
    period->name = text(0);
    period->start = start.toString(QStringLiteral("HH:mm:ss"));
    period->end = end.toString(QStringLiteral("HH:mm:ss"));
    return QString();
}

QList<YmStopPeriod> YmStopPeriodsDialog::periods() const
{
    QList<YmStopPeriod> result;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        YmStopPeriod period;
        if (rowProblem(row, &period).isEmpty())
            result.append(period);
    }
    std::stable_sort(
        result.begin(), result.end(),
        [](const YmStopPeriod &a, const YmStopPeriod &b) { return a.start < b.start; });
    return result;
}

QString YmStopPeriodsDialog::problem() const
{
    QVector<YmStopPeriod> valid;
    QVector<int> rows;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        YmStopPeriod period;
        QString problem = rowProblem(row, &period);
        if (!problem.isEmpty())
            return problem;
        valid.append(period);
        rows.append(row);
    }
    // A stop shared by two periods would be counted twice and draw the axis
    // out of order; touching ends are fine.
    for (int a = 0; a < valid.size(); ++a) {
        for (int b = a + 1; b < valid.size(); ++b) {
            if (valid[a].start < valid[b].end && valid[b].start < valid[a].end)
                return tr("第%1行与第%2行的停机时间重叠").arg(rows[a] + 1).arg(rows[b] + 1);
        }
    }
    return QString();
}

void YmStopPeriodsDialog::accept()
{
    const QString text = problem();
    if (!text.isEmpty()) {
        QMessageBox::information(this, tr("提示"), text, tr("确定"));
        return;
    }
    QDialog::accept();
}
