#ifndef YMNOTIFYWIDGET_H
#define YMNOTIFYWIDGET_H

#include "ymarrangedwidget.h"

#include <QDateTime>
#include <QPair>
#include <QString>

class QFontMetrics;
class QTimer;

namespace Ui {
class YmNotifyWidget;
}

// One notification popup: logo, bold title with the time of the notification,
// grey text cut to what fits, and a close button. It closes (is deleted) when
// the user closes it or by itself after AutoCloseInterval, which does not run
// while the pointer rests on it.
class YmNotifyWidget : public YmArrangedWidget
{
    Q_OBJECT

public:
    static constexpr int AutoCloseInterval = 30000; // ms

    explicit YmNotifyWidget(YmNotifyManager *manager, QWidget *parent = nullptr);
    ~YmNotifyWidget() override;

    // (title, text); a newer notification of the same key replaces both in place.
    void setContent(const QPair<QString, QString> &content);
    QString title() const { return m_title; }
    QString text() const { return m_text; }
    // When the notification shown was raised; shown after the title.
    void setRaisedAt(const QDateTime &at);
    QDateTime raisedAt() const { return m_raisedAt; }
    // What the notification is about (a plan); empty for one-off notifications.
    void setKey(const QString &key) { m_key = key; }
    QString key() const { return m_key; }
    QTimer *autoCloseTimer() const { return m_autoClose; }

    // What a label of width x height shows of text whose single-line size in the
    // label's font is textWidth x textHeight: as many characters as the estimated
    // capacity (lines times characters per line) allows, ending with an ellipsis.
    static QString elidedText(const QString &text, int width, int height, int textWidth,
                              int textHeight);
    // The estimate above assumes characters wrap anywhere; a label wraps at word
    // boundaries and may need another line. Shortens text (keeping the ellipsis)
    // until it fits size when word-wrapped in metrics' font.
    static QString wrappedFit(const QString &text, const QFontMetrics &metrics, const QSize &size);

signals:
    // The user closed the popup with its button (not the timer).
    void dismissed();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void showTitle();

    Ui::YmNotifyWidget *ui;
    QString m_title;
    QString m_text;
    QString m_key;
    QDateTime m_raisedAt;
    QTimer *m_autoClose = nullptr;
};

#endif // YMNOTIFYWIDGET_H
