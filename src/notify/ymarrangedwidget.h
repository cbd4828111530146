#ifndef YMARRANGEDWIDGET_H
#define YMARRANGEDWIDGET_H

#include <QPointer>
#include <QWidget>

class QPropertyAnimation;
class YmNotifyManager;

// A translucent, frameless, always-on-top popup that the notification manager
// places in numbered slots above the anchor corner. Moving between slots slides,
// appearing and disappearing fade.
class YmArrangedWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int AnimationDuration = 300; // ms, fades and slides

    explicit YmArrangedWidget(YmNotifyManager *manager, QWidget *parent = nullptr);

    YmNotifyManager *manager() const { return m_manager; }
    int slotIndex() const { return m_slotIndex; }
    // 0 (or less) hides the popup with a fade; 1 is the bottom slot.
    void setSlotIndex(int index);

signals:
    void visibleChanged(bool visible);

private:
    QPropertyAnimation *animate(const QByteArray &name, const QVariant &target);
    void fadeTo(qreal opacity);

    YmNotifyManager *m_manager = nullptr;
    int m_slotIndex = 0;
    // The running fade and slide: a new target replaces them instead of letting two
    // animations fight over the same property.
    QPointer<QPropertyAnimation> m_fade;
    QPointer<QPropertyAnimation> m_slide;
};

#endif // YMARRANGEDWIDGET_H
