// The board in English: a translator installed or removed while the windows are
// shown switches every caption, and the English captions fit where they are
// drawn, on the full-size board and on a small screen.
#include "ymdocktitlebar.h"
#include "ymharness.h"
#include "ymitempixmaptext.h"
#include "ymplandatadlg.h"
#include "ymtableheaderview.h"
#include "ymtableviewplanpage.h"
#include "ymtestsupport.h"
#include "ymworkshopmanage.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagepage.h"
#include "ymworkshopplanratechart.h"
#include "ymworkshopplanratelabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTranslator>
#include <QtTest>

namespace {

// The host's one call, as the documentation shows it.
bool loadEnglish(QTranslator &translator)
{
    return translator.load(QLocale(QLocale::English), QStringLiteral("ymworkshopmanage"),
                           QStringLiteral("_"), QStringLiteral(":/i18n"));
}

// LanguageChange is posted to each window; deliver it as the event loop would.
void deliverLanguageChange()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCoreApplication::processEvents();
}

void addTexts(QStringList &texts, const QAbstractItemModel *model)
{
    for (int c = 0; c < model->columnCount(); ++c)
        texts << model->headerData(c, Qt::Horizontal).toString();
}

// Every caption a reader sees in the window: titles, labels, buttons, boxes,
// table headers and the captions of the painted panels.
QStringList captions(const QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<const QLabel *>(w))
            texts << label->text();
        else if (auto *button = qobject_cast<const QAbstractButton *>(w))
            texts << button->text() << button->toolTip();
        else if (auto *edit = qobject_cast<const QLineEdit *>(w))
            texts << edit->placeholderText();
        else if (auto *combo = qobject_cast<const QComboBox *>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        } else if (auto *view = qobject_cast<const QTableView *>(w))
            addTexts(texts, view->model());
        else if (auto *bar = qobject_cast<const YmDockTitleBar *>(w))
            texts << bar->title();
        else if (auto *item = qobject_cast<const YmItemPixmapText *>(w))
            texts << item->text();
        else if (auto *rate = qobject_cast<const YmWorkshopPlanRateLabel *>(w))
            texts << rate->title();
        else if (auto *chart = qobject_cast<const YmWorkshopPlanRateChart *>(w))
            texts << chart->totalText();
    }
    texts.removeAll(QString());
    return texts;
}

bool hasChinese(const QStringList &texts)
{
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return texts.join(QLatin1Char('\n')).contains(han);
}

// A board with a day of plans, its windows shown, names in ASCII so that any
// Chinese left is a caption of the module's own.
struct ShownBoard
{
    ShownBoard(const QSize &size = QSize(1920, 1080))
    {
        const QVariantList rows{planRow("PO-1001", "M1", "G1", 400, 120, 80),
                                planRow("PO-1001", "M2", "G1", 300, 300, 80),
                                planRow("PO-1002", "M3", "G1", 500, 90, 80)};
        const QVariantList macs{QVariantList{QStringLiteral("M1"), QStringLiteral("M1"), 2},
                                QVariantList{QStringLiteral("M2"), QStringLiteral("M2"), 1},
                                QVariantList{QStringLiteral("M3"), QStringLiteral("M3"), 3}};
        board.initDatas(QVariantList{rows, 0, 0, 0}, macs, {}, QStringLiteral("08:00:00"),
                        QStringLiteral("17:00:00"), 540);
        page()->setGeometry(QRect(QPoint(0, 0), size));
        page()->show();
        plans()->show();
        QVERIFY(QTest::qWaitForWindowExposed(page()));
        QVERIFY(QTest::qWaitForWindowExposed(plans()));
    }
    YmWorkshopManagePage *page() { return YmWorkshopManagePrivate::get(&board)->page; }
    YmTableViewPlanPage *plans() { return topLevels<YmTableViewPlanPage>().value(0); }

    YmWorkshopManage board;
};

using Captured = QList<QStringList>;

// Captions of the window under test: before, in English, after the removal.
using Probe = std::function<Captured(ShownBoard &)>;

Captured switchAround(const QWidget *window)
{
    Captured seen{captions(window)};
    QTranslator english;
    if (!loadEnglish(english))
        return seen;
    QCoreApplication::installTranslator(&english);
    deliverLanguageChange();
    seen << captions(window);
    QCoreApplication::removeTranslator(&english);
    deliverLanguageChange();
    seen << captions(window);
    return seen;
}

// Where a caption cannot be seen whole: its text is wider than the room it has.
QStringList cutTexts(const QWidget *window)
{
    QStringList cut;
    const auto check = [&cut](const QWidget *w, const QString &text, double needed, double room) {
        if (!text.isEmpty() && w->isVisible() && needed > room + 0.5)
            cut << QStringLiteral("%1 \"%2\" needs %3 px, has %4")
                       .arg(w->objectName().isEmpty() ? QLatin1String(w->metaObject()->className())
                                                      : w->objectName(),
                            text)
                       .arg(needed)
                       .arg(room);
    };
    const auto advance = [](const QFont &font, int points, const QString &text) {
        QFont f = font;
        if (points > 0)
            f.setPointSize(points);
        return QFontMetricsF(f).horizontalAdvance(text);
    };
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<const QLabel *>(w)) {
            if (!label->wordWrap() && label->pixmap(Qt::ReturnByValue).isNull())
                check(w, label->text(), label->sizeHint().width(), label->width());
        } else if (auto *button = qobject_cast<const QAbstractButton *>(w)) {
            // A push button's size hint has a minimum width; the text needs less:
            // the style's margin and frame around it, as the hint counts them.
            const QStyle *style = button->style();
            const double needed
                = qobject_cast<const QPushButton *>(w)
                      ? QFontMetrics(button->font()).horizontalAdvance(button->text())
                            + style->pixelMetric(QStyle::PM_ButtonMargin)
                            + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth)
                      : button->sizeHint().width();
            check(w, button->text(), needed, button->width());
        } else if (auto *edit = qobject_cast<const QLineEdit *>(w)) {
            check(w, edit->placeholderText(),
                  QFontMetricsF(edit->font()).horizontalAdvance(edit->placeholderText()) + 8,
                  edit->width());
        } else if (auto *combo = qobject_cast<const QComboBox *>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            check(w, combo->currentText(), advance(combo->font(), 0, combo->currentText()),
                  field.width());
        } else if (auto *header = qobject_cast<const QHeaderView *>(w)) {
            if (header->orientation() != Qt::Horizontal || !header->model())
                continue;
            // The board's header paints in its own size; the plan window's in its font.
            auto *own = dynamic_cast<const YmTableHeaderView *>(w);
            const int points = own ? int(own->fontSize()) : 0;
            const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin);
            for (int c = 0; c < header->count(); ++c) {
                const QString text = header->model()->headerData(c, Qt::Horizontal).toString();
                if (!header->isSectionHidden(c))
                    check(w, text, advance(header->font(), points, text) + margin,
                          header->sectionSize(c));
            }
        } else if (auto *bar = qobject_cast<const YmDockTitleBar *>(w)) {
            check(w, bar->title(), advance(bar->font(), bar->titleFontSize(), bar->title()),
                  bar->width() - 2 * bar->frameInset());
        } else if (auto *item = qobject_cast<const YmItemPixmapText *>(w)) {
            check(w, item->text(), advance(item->font(), int(item->textSize()), item->text()),
                  item->width());
        } else if (auto *rate = qobject_cast<const YmWorkshopPlanRateLabel *>(w)) {
            check(w, rate->title(), advance(rate->font(), rate->textSize(), rate->title()),
                  rate->width());
        }
    }
    return cut;
}

} // namespace

Q_DECLARE_METATYPE(Probe)

class TstTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        YmHarness::start();
        QTranslator english;
        QVERIFY(loadEnglish(english));
    }

    void switchWhileShown_data()
    {
        QTest::addColumn<Probe>("probe");
        QTest::addColumn<QStringList>("english");
        QTest::newRow("board") << Probe([](ShownBoard &b) { return switchAround(b.page()); })
                               << QStringList{QStringLiteral("Workshop Management Board"),
                                              QStringLiteral("Output per machine"),
                                              QStringLiteral("Production status"),
                                              QStringLiteral("Working 1"),
                                              QStringLiteral("Alarm 1"),
                                              QStringLiteral("To do"),
                                              QStringLiteral("Today's plan")};
        QTest::newRow("plan window")
            << Probe([](ShownBoard &b) { return switchAround(b.plans()); })
            << QStringList{QStringLiteral("Order plans"), QStringLiteral("New order"),
                           QStringLiteral("Order plan"), QStringLiteral("Planned")};
        // The dialog is modal: the switch happens while it waits for the user.
        QTest::newRow("open plan dialog")
            << Probe([](ShownBoard &b) {
                   Captured seen;
                   ModalScript script({[&seen](QWidget *dialog) {
                       seen = switchAround(dialog);
                       qobject_cast<QDialog *>(dialog)->reject();
                   }});
                   child<QPushButton>(b.plans(), QStringLiteral("btnAdd"))->click();
                   return seen;
               })
            << QStringList{QStringLiteral("New order"), QStringLiteral("Planned qty:"),
                           QStringLiteral("Find machine"), QStringLiteral("OK")};
    }
    void switchWhileShown()
    {
        QFETCH(Probe, probe);
        QFETCH(QStringList, english);
        ShownBoard board;
        const Captured seen = probe(board);
        QCOMPARE(seen.size(), 3);
        QVERIFY2(hasChinese(seen.at(0)), qPrintable(seen.at(0).join(QLatin1Char('|'))));
        QVERIFY2(!hasChinese(seen.at(1)), qPrintable(seen.at(1).join(QLatin1Char('|'))));
        for (const QString &caption : english)
            QVERIFY2(seen.at(1).contains(caption), qPrintable(caption));
        QCOMPARE(seen.at(2), seen.at(0));
    }

    // The plan window keeps its grouping through a switch: the same columns in
    // the same order, under the new titles.
    void planGroupingSurvivesSwitch()
    {
        ShownBoard board;
        YmTableViewPlanPage *plans = board.plans();
        const QStringList before = tableText(&plans->proxy());
        QTranslator english;
        QVERIFY(loadEnglish(english));
        QCoreApplication::installTranslator(&english);
        deliverLanguageChange();
        const YmTablePlanModel::ColumnOrder grouping = plans->columnsInUse();
        const auto titles = [plans] {
            QStringList shown;
            for (const char *name : {"comboBox_idx1", "comboBox_idx2", "comboBox_idx3"})
                shown << plans->findChild<QComboBox *>(QLatin1String(name))->currentText();
            return shown;
        };
        QCOMPARE(titles(), (QStringList{QStringLiteral("Order plan"), QStringLiteral("Program"),
                                        QStringLiteral("Machine")}));
        QCOMPARE(plans->columnsInUse(), grouping);
        QCOMPARE(tableText(&plans->proxy()), before);
        QCoreApplication::removeTranslator(&english);
        deliverLanguageChange();
        QCOMPARE(titles(), (QStringList{QStringLiteral("订单计划"), QStringLiteral("文件"),
                                        QStringLiteral("设备")}));
        QCOMPARE(tableText(&plans->proxy()), before);
    }

    void englishFits_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("english");
        for (const QSize &size : {QSize(1920, 1080), QSize(1366, 768)}) {
            const QByteArray name
                = QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height());
            QTest::newRow(QByteArray(name + " English").constData()) << size << true;
            QTest::newRow(QByteArray(name + " Chinese").constData()) << size << false;
        }
    }
    void englishFits()
    {
        QFETCH(QSize, size);
        QFETCH(bool, english);
        QTranslator translator;
        QVERIFY(loadEnglish(translator));
        if (english)
            QCoreApplication::installTranslator(&translator);
        ShownBoard board(size);
        QStringList cut = cutTexts(board.page()) + cutTexts(board.plans());
        ModalScript script({[&cut](QWidget *dialog) {
            cut += cutTexts(dialog);
            qobject_cast<QDialog *>(dialog)->reject();
        }});
        child<QPushButton>(board.plans(), QStringLiteral("btnAdd"))->click();
        QCoreApplication::removeTranslator(&translator);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TstTranslation)
#include "tst_translation.moc"
