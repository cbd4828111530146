#pragma once

// Helpers the widget tests share: finding children by name, answering modal
// windows from a timer, and writing maps and tables as one comparable text.
// The payload builders and workshops they share with the benchmarks and the
// fuzzers are in the support library (support/).

#include "ympayloadrows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVariant>

#include <functional>

using Counts = QMap<QString, int>;
using Step = std::function<void(QWidget *)>;

// An order row of `plan` on machine `mac`, named by its key, in `group`; its
// file is the plan's name with ".nc".
inline QVariant planRow(const QString &plan, const QString &mac, const QString &group, int planned,
                        int completed = 0, int notify = 0)
{
    QVariantList row
        = orderRow(plan, mac, plan + QStringLiteral(".nc"), planned, completed, notify).toList();
    row[3] = mac;
    row[4] = group;
    return row;
}

inline QVariant planRow(const char *plan, const char *mac, const char *group, int planned,
                        int completed = 0, int notify = 0)
{
    return planRow(QString::fromUtf8(plan), QString::fromUtf8(mac), QString::fromUtf8(group),
                   planned, completed, notify);
}

// Plain literals (UTF-8) as a string list.
inline QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list << QString::fromUtf8(text);
    return list;
}

// A named child that must exist; a missing one stops the test run at once.
template<typename T = QLineEdit>
T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}
template<typename T = QLineEdit>
T *child(const QObject &parent, const QString &name)
{
    return child<T>(&parent, name);
}

// The plan dialog's parts as a user finds them: a check box per machine and,
// for each checked one, a row of a label and a quantity field; the machine
// key is the tool tip of the box and of the label.
namespace PlanDialog {

using Row = QPair<QLabel *, QLineEdit *>;

inline QList<QCheckBox *> boxes(const QWidget &dlg)
{
    QList<QCheckBox *> list;
    QLayout *layout
        = child<QWidget>(dlg, QStringLiteral("scrollAreaWidgetContents_left"))->layout();
    for (int i = 0; i < layout->count(); ++i)
        list << qobject_cast<QCheckBox *>(layout->itemAt(i)->widget());
    return list;
}

inline QCheckBox *box(const QWidget &dlg, const QString &key)
{
    for (QCheckBox *b : boxes(dlg)) {
        if (b->toolTip() == key)
            return b;
    }
    qFatal("no check box %s", qPrintable(key));
}

inline QList<Row> rows(const QWidget &dlg)
{
    QList<Row> list;
    QLayout *layout
        = child<QWidget>(dlg, QStringLiteral("scrollAreaWidgetContents_right"))->layout();
    for (int i = 0; i < layout->count(); ++i) {
        QLayout *row = layout->itemAt(i)->layout();
        list << Row(qobject_cast<QLabel *>(row->itemAt(0)->widget()),
                    qobject_cast<QLineEdit *>(row->itemAt(1)->widget()));
    }
    return list;
}

// "key=text;..." of the quantity rows.
inline QString rowsText(const QWidget &dlg)
{
    QStringList parts;
    for (const Row &row : rows(dlg))
        parts << row.first->toolTip() + QLatin1Char('=') + row.second->text();
    return parts.join(QLatin1Char(';'));
}

inline QLineEdit *field(const QWidget &dlg, const QString &key)
{
    for (const Row &row : rows(dlg)) {
        if (row.first->toolTip() == key)
            return row.second;
    }
    qFatal("no quantity row %s", qPrintable(key));
}

// "current/total colour"; the three labels must share one style.
inline QString counter(const QWidget &dlg)
{
    const QString style = child<QLabel>(dlg, QStringLiteral("label_currentSet"))->styleSheet();
    if (child<QLabel>(dlg, QStringLiteral("label_slash"))->styleSheet() != style
        || child<QLabel>(dlg, QStringLiteral("label_total"))->styleSheet() != style)
        return QStringLiteral("mixed colours");
    // The style is "color:%1;".
    const QString colour = style.isEmpty() ? QStringLiteral("none") : style.mid(6).chopped(1);
    return child<QLabel>(dlg, QStringLiteral("label_currentSet"))->text() + QLatin1Char('/')
           + child<QLabel>(dlg, QStringLiteral("label_total"))->text() + QLatin1Char(' ') + colour;
}

} // namespace PlanDialog

// "key=value;key=value" in key order.
inline QString mapText(const Counts &map, QChar separator = QLatin1Char(';'))
{
    QStringList parts;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        parts << it.key() + QLatin1Char('=') + QString::number(it.value());
    return parts.join(separator);
}

// Handles the modal widgets that show up, one step each, in the order they
// appear, and records what each was: "title|text|button/button" of a message
// box, "dialog:title" of a dialog. A modal beyond the last step gets
// `fallback` (closed by default), so that no test waits for a person.
class ModalScript
{
public:
    explicit ModalScript(QList<Step> steps = {}, Step fallback = {})
        : m_steps(std::move(steps))
        , m_fallback(std::move(fallback))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }
    QStringList seen;

private:
    void poll()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || w == m_current)
            return;
        m_current = w;
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            QStringList buttons;
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            seen << box->windowTitle() + QLatin1Char('|') + box->text() + QLatin1Char('|')
                        + buttons.join(QLatin1Char('/'));
        } else {
            seen << QStringLiteral("dialog:") + w->windowTitle();
        }
        Step step = !m_steps.isEmpty() ? m_steps.takeFirst()
                    : m_fallback       ? m_fallback
                                 : Step([](QWidget *m) { qobject_cast<QDialog *>(m)->reject(); });
        // Later, outside this timer: a step may open the next modal.
        QTimer::singleShot(0, w, [step, w] { step(w); });
    }

    QList<Step> m_steps;
    Step m_fallback;
    QTimer m_timer;
    QPointer<QWidget> m_current;
};

// Clicks the button with this text, or closes the modal when it has none.
inline Step press(const QString &text = QString())
{
    return [text](QWidget *modal) {
        for (QAbstractButton *button : modal->findChildren<QAbstractButton *>()) {
            if (text.isEmpty() || button->text() == text) {
                button->click();
                return;
            }
        }
        qobject_cast<QDialog *>(modal)->reject();
    };
}

// The table as shown: one "cell,cell,..." per row.
inline QStringList tableText(const QAbstractItemModel *model)
{
    QStringList lines;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        lines << cells.join(QLatin1Char(','));
    }
    return lines;
}
inline QStringList tableText(const QTableView *view)
{
    return tableText(view->model());
}

// The cells of one column, top to bottom.
inline QStringList columnText(const QAbstractItemModel &model, int column)
{
    QStringList cells;
    for (int r = 0; r < model.rowCount(); ++r)
        cells << model.index(r, column).data().toString();
    return cells;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// The widget painted at this size.
inline QImage renderAt(QWidget &w, QSize size)
{
    w.resize(size);
    return w.grab().toImage();
}

// With YM_SHOT_DIR set, saves what the user sees to that folder as name.png:
// the widget, and a modal on top of it (centred) when one is given. Pictures
// for a reviewer's eye; nothing is saved otherwise.
inline void saveShot(QWidget *widget, const QString &name, QWidget *modal = nullptr)
{
    const QString dir = qEnvironmentVariable("YM_SHOT_DIR");
    if (dir.isEmpty() || !widget)
        return;
    QImage image = widget->grab().toImage();
    if (modal) {
        const QImage top = modal->grab().toImage();
        QPainter painter(&image);
        const QRect box(
            QPoint((image.width() - top.width()) / 2, (image.height() - top.height()) / 2),
            top.size());
        painter.drawImage(box.topLeft(), top);
        painter.setPen(QPen(Qt::darkGray, 2));
        painter.drawRect(box.adjusted(-1, -1, 0, 0));
    }
    image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// A signal's arguments as "a|b|k=1;k=2|c".
inline QString argsText(const QVariantList &args)
{
    QStringList texts;
    for (const QVariant &arg : args)
        texts << (arg.userType() == qMetaTypeId<Counts>() ? mapText(arg.value<Counts>())
                                                          : arg.toString());
    return texts.join(QLatin1Char('|'));
}

// The top-level widgets of this class.
template<typename T>
QList<T *> topLevels()
{
    QList<T *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *t = qobject_cast<T *>(w))
            found << t;
    }
    return found;
}

// Counts the paint events a widget receives from the moment it is made.
struct PaintCounter : QObject
{
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *e) override
    {
        paints += e->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int paints = 0;
};

// Whether every channel of `a` is within `tolerance` of `b`'s.
inline bool near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
           && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The pixels of `area` (clipped to the image) that pass `test`.
template<typename Test>
int countPixels(const QImage &image, const QRect &area, Test test)
{
    int count = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

inline bool isWhite(QRgb c)
{
    return qRed(c) > 230 && qGreen(c) > 230 && qBlue(c) > 230;
}

// The blue of the docks' frames.
inline bool isFrameBlue(QRgb c)
{
    return qGreen(c) > 70 && qGreen(c) < 140 && qBlue(c) > 140 && qRed(c) < 40;
}

// The widget shown as a window of this size, once the window has it.
inline void showAt(QWidget &w, const QSize &size)
{
    w.setGeometry(QRect(QPoint(0, 0), size));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(w.size(), size);
}
