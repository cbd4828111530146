#ifndef YMNOTIFYWIDGET_H
#define YMNOTIFYWIDGET_H

#include "ymarrangedwidget.h"

#include <QPair>
#include <QString>

class QFontMetrics;

namespace Ui {
class YmNotifyWidget;
}

// One notification popup: logo, bold title, grey text cut to what fits, and a
// close button. It stays until the user closes it; closing deletes it.
class YmNotifyWidget : public YmArrangedWidget
{
    Q_OBJECT

public:
    explicit YmNotifyWidget(YmNotifyManager *manager, QWidget *parent = nullptr);
    ~YmNotifyWidget() override;

    // (title, text)
    void setContent(const QPair<QString, QString> &content);
    QString title() const { return m_title; }
    QString text() const { return m_text; }

    // What a label of width x height shows of text whose single-line size in the
    // label's font is textWidth x textHeight: as many characters as the estimated
    // capacity (lines times characters per line) allows, ending with an ellipsis.
    static QString elidedText(const QString &text, int width, int height, int textWidth,
                              int textHeight);
    // The estimate above assumes characters wrap anywhere; a label wraps at word
    // boundaries and may need another line. Shortens text (keeping the ellipsis)
    // until it fits size when word-wrapped in metrics' font.
    static QString wrappedFit(const QString &text, const QFontMetrics &metrics, const QSize &size);

private:
    Ui::YmNotifyWidget *ui;
    QString m_title;
    QString m_text;
};

#endif // YMNOTIFYWIDGET_H
