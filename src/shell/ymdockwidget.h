#ifndef YMDOCKWIDGET_H
#define YMDOCKWIDGET_H

#include <QColor>
#include <QDockWidget>

class YmDockTitleBar;

// A frameless, translucent dock that draws the lower half of the blue rounded
// frame; its title bar draws the upper half and the title.
class YmDockWidget : public QDockWidget
{
    Q_OBJECT

public:
    explicit YmDockWidget(QWidget *parent = nullptr);
    ~YmDockWidget() override;

    void setTitle(const QString &title);
    YmDockTitleBar *titleBar() const { return m_titleBar; }

    void draw(QPainter *painter) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QColor m_fillColor = QColor(Qt::transparent);
    YmDockTitleBar *m_titleBar = nullptr;
};

#endif // YMDOCKWIDGET_H
