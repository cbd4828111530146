#ifndef YMWORKHOURSDIALOG_H
#define YMWORKHOURSDIALOG_H

#include <QDialog>
#include <QTime>

class QTimeEdit;

// The host's work-hours editor, opened from the board's menu.
class YmWorkHoursDialog : public QDialog
{
    Q_OBJECT

public:
    YmWorkHoursDialog(const QTime &start, const QTime &end, QWidget *parent = nullptr);

    QTime startTime() const;
    QTime endTime() const;

public slots:
    void accept() override;

private:
    QTimeEdit *m_start;
    QTimeEdit *m_end;
};

#endif // YMWORKHOURSDIALOG_H
