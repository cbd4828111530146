#include "ymworkhoursdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTimeEdit>

YmWorkHoursDialog::YmWorkHoursDialog(const QTime &start, const QTime &end, QWidget *parent)
    : QDialog(parent)
    , m_start(new QTimeEdit(start, this))
    , m_end(new QTimeEdit(end, this))
{
    setWindowTitle(tr("计划上下班时间设置"));
    setObjectName(QStringLiteral("YmWorkHoursDialog"));
    m_start->setObjectName(QStringLiteral("timeEdit_start"));
    m_end->setObjectName(QStringLiteral("timeEdit_end"));
    m_start->setDisplayFormat(QStringLiteral("HH:mm"));
    m_end->setDisplayFormat(QStringLiteral("HH:mm"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &YmWorkHoursDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &YmWorkHoursDialog::reject);

    auto *form = new QFormLayout(this);
    form->addRow(tr("上班时间"), m_start);
    form->addRow(tr("下班时间"), m_end);
    form->addRow(buttons);
}

QTime YmWorkHoursDialog::startTime() const
{
    const QTime t = m_start->time();
    return QTime(t.hour(), t.minute());
}

QTime YmWorkHoursDialog::endTime() const
{
    const QTime t = m_end->time();
    return QTime(t.hour(), t.minute());
}

void YmWorkHoursDialog::accept()
{
    if (startTime() >= endTime()) {
        QMessageBox::information(this, tr("提示"), tr("下班时间必须晚于上班时间"), tr("确定"));
        return;
    }
    QDialog::accept();
}
