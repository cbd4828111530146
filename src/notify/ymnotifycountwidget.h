#ifndef YMNOTIFYCOUNTWIDGET_H
#define YMNOTIFYCOUNTWIDGET_H

#include "ymarrangedwidget.h"

class QLabel;
class QPropertyAnimation;

namespace Ui {
class YmNotifyCountWidget;
}

// The counter above a full stack of popups: logo and a caption saying how many
// plans wait to be shown, blinking while it is shown. A click asks for the
// notification history.
class YmNotifyCountWidget : public YmArrangedWidget
{
    Q_OBJECT

public:
    static constexpr int BlinkDuration = 2000; // ms, one blink

    explicit YmNotifyCountWidget(YmNotifyManager *manager, QWidget *parent = nullptr);
    ~YmNotifyCountWidget() override;

    void setCount(int count);
    int count() const { return m_count; }
    QString countText() const;
    QPropertyAnimation *blinkAnimation() const { return m_blinkAnimation; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Ui::YmNotifyCountWidget *ui;
    int m_count = 0;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_countLabel = nullptr;
    QPropertyAnimation *m_blinkAnimation = nullptr;
};

#endif // YMNOTIFYCOUNTWIDGET_H
