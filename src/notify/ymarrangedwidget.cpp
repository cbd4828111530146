#include "ymarrangedwidget.h"

#include "ymnotifymanager.h"

#include <QPropertyAnimation>

YmArrangedWidget::YmArrangedWidget(YmNotifyManager *manager, QWidget *parent)
    : QWidget(parent)
    , m_manager(manager)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    if (m_manager) {
        setFixedSize(m_manager->popupWidth(), m_manager->popupHeight());
        connect(m_manager, &QObject::destroyed, this, &QObject::deleteLater);
    } else {
        setFixedSize(300, 81);
    }
}

void YmArrangedWidget::setSlotIndex(int index)
{
    if (index == m_slotIndex)
        return;
    m_slotIndex = index;

    if (index < 1) {
        if (isVisible())
            fadeTo(0.0);
        return;
    }

    const QPoint target = m_manager ? m_manager->slotPosition(index) : pos();
    if (isVisible()) {
        if (m_slide)
            m_slide->stop();
        m_slide = animate("pos", target);
        // Called back while fading out: fade in again instead of vanishing.
        if (m_fade && m_fade->endValue().toReal() < 1.0)
            fadeTo(1.0);
        return;
    }
    show();
    move(target);
    setWindowOpacity(0.0);
    fadeTo(1.0);
}

QPropertyAnimation *YmArrangedWidget::animate(const QByteArray &name, const QVariant &target)
{
    auto *animation = new QPropertyAnimation(this, name, this);
    animation->setStartValue(property(name.constData()));
    animation->setEndValue(target);
    animation->setDuration(AnimationDuration);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

void YmArrangedWidget::fadeTo(qreal opacity)
{
    if (m_fade) {
        disconnect(m_fade, nullptr, this, nullptr);
        m_fade->stop();
    }
    m_fade = animate("windowOpacity", opacity);
    const bool shown = opacity > 0.0;
    connect(m_fade, &QAbstractAnimation::finished, this, [this, shown]() {
        if (shown) {
            emit visibleChanged(true);
        } else if (m_slotIndex < 1) {
            hide();
            emit visibleChanged(false);
        }
    });
}
