#ifndef YMNOTIFYCOUNTWIDGET_H
#define YMNOTIFYCOUNTWIDGET_H

#include "ymarrangedwidget.h"

class QLabel;
class QPropertyAnimation;

namespace Ui {
class YmNotifyCountWidget;
}

// The counter above a full stack of popups: logo and the number of waiting
// notifications, blinking while it is shown. Clicks pass through it.
class YmNotifyCountWidget : public YmArrangedWidget
{
    Q_OBJECT

public:
    static constexpr int BlinkDuration = 2000; // ms, one blink

    explicit YmNotifyCountWidget(YmNotifyManager *manager, QWidget *parent = nullptr);
    ~YmNotifyCountWidget() override;

    void setCount(int count);
    QString countText() const;
    QPropertyAnimation *blinkAnimation() const { return m_blinkAnimation; }

private:
    Ui::YmNotifyCountWidget *ui;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_countLabel = nullptr;
    QPropertyAnimation *m_blinkAnimation = nullptr;
};

#endif // YMNOTIFYCOUNTWIDGET_H
