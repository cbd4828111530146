// The test tables read better with plain literals than with QStringLiteral.
#undef QT_NO_CAST_FROM_ASCII

#include "ymplandatadlg.h"
#include "ymtablecsvwriter.h"

#include <QtTest>
#include <QtWidgets>

using Counts = QMap<QString, int>;

namespace {

const QStringList kKeys{QStringLiteral("M01"), QStringLiteral("M02"), QStringLiteral("M03")};
const QMap<QString, QString> kNames{{QStringLiteral("M01"), QStringLiteral("车床A1")},
                                    {QStringLiteral("M02"), QStringLiteral("铣床B2")},
                                    {QStringLiteral("M03"), QStringLiteral("磨床C3")}};
const QString kNotice = QStringLiteral("提示");
const QString kOk = QStringLiteral("确定");

// Answers every modal message box while it lives: records "title|text|buttons"
// and presses the button labelled `press` (the first button if none is).
class ModalDriver
{
public:
    explicit ModalDriver(const QString &press = kOk)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, press] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            QStringList texts;
            QAbstractButton *target = nullptr;
            const QList<QAbstractButton *> buttons = box->buttons();
            for (QAbstractButton *button : buttons) {
                texts << button->text();
                if (!target && button->text() == press)
                    target = button;
            }
            seen << QStringList{box->windowTitle(), box->text(), texts.join(QLatin1Char('/'))}.join(
                QLatin1Char('|'));
            if (!target && !buttons.isEmpty())
                target = buttons.first();
            if (target)
                target->click();
            else
                box->reject();
        });
        m_timer.start(5);
    }
    QStringList seen;

private:
    QTimer m_timer;
};

template<typename T>
T *child(const QWidget &dlg, const char *name)
{
    T *found = dlg.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

QList<QCheckBox *> boxes(const QWidget &dlg)
{
    QList<QCheckBox *> list;
    QLayout *layout = child<QWidget>(dlg, "scrollAreaWidgetContents_left")->layout();
    for (int i = 0; i < layout->count(); ++i)
        list << qobject_cast<QCheckBox *>(layout->itemAt(i)->widget());
    return list;
}

QCheckBox *box(const QWidget &dlg, const QString &key)
{
    const QList<QCheckBox *> list = boxes(dlg);
    for (QCheckBox *b : list) {
        if (b && b->toolTip() == key)
            return b;
    }
    qFatal("no check box %s", qPrintable(key));
}

// The quantity rows as (name label, field), found through the layout only.
QList<QPair<QLabel *, QLineEdit *>> rows(const QWidget &dlg)
{
    QList<QPair<QLabel *, QLineEdit *>> list;
    QLayout *layout = child<QWidget>(dlg, "scrollAreaWidgetContents_right")->layout();
    for (int i = 0; i < layout->count(); ++i) {
        QLayout *row = layout->itemAt(i)->layout();
        list << qMakePair(qobject_cast<QLabel *>(row->itemAt(0)->widget()),
                          qobject_cast<QLineEdit *>(row->itemAt(1)->widget()));
    }
    return list;
}

// "key=text;key=text" of the quantity rows, in layout order.
QString rowsText(const QWidget &dlg)
{
    QStringList parts;
    const auto list = rows(dlg);
    for (const auto &row : list)
        parts << row.first->toolTip() + QLatin1Char('=') + row.second->text();
    return parts.join(QLatin1Char(';'));
}

QLineEdit *field(const QWidget &dlg, const QString &key)
{
    const auto list = rows(dlg);
    for (const auto &row : list) {
        if (row.first->toolTip() == key)
            return row.second;
    }
    qFatal("no quantity row %s", qPrintable(key));
}

// "current/total colour"; the three labels must share one style.
QString counter(const QWidget &dlg)
{
    const QString style = child<QLabel>(dlg, "label_currentSet")->styleSheet();
    if (child<QLabel>(dlg, "label_slash")->styleSheet() != style
        || child<QLabel>(dlg, "label_total")->styleSheet() != style)
        return QStringLiteral("mixed colours");
    const QString colour
        = style.isEmpty() ? QStringLiteral("none") : style.mid(6, style.size() - 7); // "color:%1;"
    return child<QLabel>(dlg, "label_currentSet")->text() + QLatin1Char('/')
           + child<QLabel>(dlg, "label_total")->text() + QLatin1Char(' ') + colour;
}

QString mapText(const Counts &map)
{
    QStringList parts;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        parts << it.key() + QLatin1Char('=') + QString::number(it.value());
    return parts.join(QLatin1Char(';'));
}

// Checks the machines whose entry is not "x" and types their quantities.
void enterQuantities(const QWidget &dlg, const QStringList &quantities)
{
    for (int i = 0; i < quantities.size(); ++i) {
        if (quantities.at(i) == QLatin1String("x"))
            continue;
        box(dlg, kKeys.at(i))->click();
        QTest::keyClicks(field(dlg, kKeys.at(i)), quantities.at(i));
    }
}

QString marked(const QList<QWidget *> &widgets)
{
    QStringList keys;
    for (const QWidget *w : widgets) {
        if (!w->styleSheet().isEmpty()) {
            if (w->styleSheet() != QLatin1String("background-color: red;"))
                return QStringLiteral("wrong style");
            keys << w->toolTip();
        }
    }
    return keys.join(QLatin1Char(','));
}

QString markedBoxes(const QWidget &dlg)
{
    QList<QWidget *> list;
    const auto all = boxes(dlg);
    for (QCheckBox *b : all)
        list << b;
    return marked(list);
}

QString markedLabels(const QWidget &dlg)
{
    QList<QWidget *> list;
    const auto all = rows(dlg);
    for (const auto &row : all)
        list << row.first;
    return marked(list);
}

} // namespace

class TstPlanDataDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The offscreen platform warns whenever a dialog or popup is shown.
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &msg) {
                if (!msg.startsWith(QLatin1String("This plugin does not support")))
                    previous(type, context, msg);
            });
    }

    void okChecks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("planCount");      // typed; "\b" erases
        QTest::addColumn<QStringList>("quantities"); // per machine, "x" = unchecked
        QTest::addColumn<QString>("expectedCounter");
        QTest::addColumn<QString>("expectedNotice"); // empty: accepted
        const QString zero = QStringLiteral("计划总数不能设置为0");
        const QString mismatch = QStringLiteral("计划数量不匹配，请全部设置，并等于计划总数");
        const QString f = QStringLiteral("F1");
        QTest::newRow("plan count empty")
            << f << "7\b" << QStringList{"x", "x", "x"} << "0/0 green" << zero;
        QTest::newRow("plan count empty, quantities set")
            << f << "7\b" << QStringList{"60", "40", "x"} << "100/0 red" << zero;
        QTest::newRow("no file") << QString() << "100" << QStringList{"60", "40", "x"}
                                 << "100/100 green" << QStringLiteral("文件不能为空");
        QTest::newRow("sum equals plan")
            << f << "100" << QStringList{"60", "40", "x"} << "100/100 green" << QString();
        QTest::newRow("too many") << f << "100" << QStringList{"70", "40", "x"} << "110/100 red"
                                  << mismatch;
        QTest::newRow("too few") << f << "100" << QStringList{"30", "40", "x"} << "70/100 green"
                                 << mismatch;
        QTest::newRow("empty and 0 beside the full count")
            << f << "100" << QStringList{"", "0", "100"} << "100/100 green" << QString();
        QTest::newRow("leading zeros")
            << f << "0100" << QStringList{"x", "x", "100"} << "100/100 green" << QString();
    }

    void okChecks()
    {
        QFETCH(QString, file);
        QFETCH(QString, planCount);
        QFETCH(QStringList, quantities);
        QFETCH(QString, expectedCounter);
        QFETCH(QString, expectedNotice);

        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        dlg.show();
        QTest::keyClicks(child<QLineEdit>(dlg, "lineEdit_fileName"), file);
        QTest::keyClicks(child<QLineEdit>(dlg, "lineEdit_planCount"), planCount);
        enterQuantities(dlg, quantities);
        QCOMPARE(counter(dlg), expectedCounter);

        ModalDriver driver;
        QSignalSpy accepted(&dlg, &QDialog::accepted);
        child<QPushButton>(dlg, "btn_ok")->click();
        if (expectedNotice.isEmpty()) {
            QCOMPARE(driver.seen, QStringList());
            QCOMPARE(accepted.count(), 1);
            QVERIFY(!dlg.isVisible());
        } else {
            QCOMPARE(driver.seen, QStringList{kNotice + '|' + expectedNotice + '|' + kOk});
            QCOMPARE(accepted.count(), 0);
            QVERIFY(dlg.isVisible());
        }
    }

    void uncheckLowersCounter()
    {
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        QTest::keyClicks(child<QLineEdit>(dlg, "lineEdit_planCount"), QStringLiteral("100"));
        enterQuantities(dlg, {QStringLiteral("70"), QStringLiteral("x"), QStringLiteral("40")});
        QCOMPARE(counter(dlg), QStringLiteral("110/100 red"));

        box(dlg, QStringLiteral("M03"))->click(); // unchecks
        QCOMPARE(rowsText(dlg), QStringLiteral("M01=70"));
        QCOMPARE(counter(dlg), QStringLiteral("70/100 red")); // colour waits for a recount
        QString plan, file;
        Counts map;
        int notify = -1;
        dlg.getPlanData(plan, file, map, notify);
        QCOMPARE(mapText(map), QStringLiteral("M01=70"));

        QTest::keyClick(field(dlg, QStringLiteral("M01")), Qt::Key_Backspace);
        QCOMPARE(counter(dlg), QStringLiteral("7/100 green"));
        box(dlg, QStringLiteral("M01"))->click();
        box(dlg, QStringLiteral("M01"))->click(); // back with an empty field
        QCOMPARE(rowsText(dlg), QStringLiteral("M01="));
        QCOMPARE(counter(dlg), QStringLiteral("0/100 green"));
    }

    void getPlanData_data()
    {
        QTest::addColumn<QStringList>("quantities");
        QTest::addColumn<QString>("notify");
        QTest::addColumn<QString>("expectedMap");
        QTest::addColumn<int>("expectedNotify");
        QTest::newRow("empty and 0 left out") << QStringList{"", "0", "25"} << ""
                                              << "M03=25;OLD=1" << 0;
        QTest::newRow("all three") << QStringList{"5", "6", "007"} << "15"
                                   << "M01=5;M02=6;M03=7;OLD=1" << 15;
        QTest::newRow("unchecked not read") << QStringList{"x", "9", "x"} << "0"
                                            << "M02=9;OLD=1" << 0;
    }

    void getPlanData()
    {
        QFETCH(QStringList, quantities);
        QFETCH(QString, notify);
        QFETCH(QString, expectedMap);
        QFETCH(int, expectedNotify);

        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        QTest::keyClicks(child<QLineEdit>(dlg, "lineEdit_planName"), QStringLiteral("P-9"));
        QTest::keyClicks(child<QLineEdit>(dlg, "lineEdit_fileName"), QStringLiteral("a.nc"));
        QTest::keyClicks(child<QLineEdit>(dlg, "lineEdit_notifyNum"), notify);
        enterQuantities(dlg, quantities);

        QString plan, file;
        Counts map{{QStringLiteral("OLD"), 1}}; // not cleared by the dialog
        int notifyNum = -1;
        dlg.getPlanData(plan, file, map, notifyNum);
        QCOMPARE(plan, QStringLiteral("P-9"));
        QCOMPARE(file, QStringLiteral("a.nc"));
        QCOMPARE(mapText(map), expectedMap);
        QCOMPARE(notifyNum, expectedNotify);
    }

    void searchMarks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expectedBox");
        QTest::addColumn<QString>("expectedLabel");
        QTest::newRow("whole name") << "铣床B2"
                                    << "M02"
                                    << "M02";
        QTest::newRow("whole key") << "M01"
                                   << "M01"
                                   << "";
        QTest::newRow("name of an unchecked machine") << "磨床C3"
                                                      << "M03"
                                                      << "";
        QTest::newRow("part of a name") << "铣床"
                                        << ""
                                        << "";
        QTest::newRow("other case") << "m02"
                                    << ""
                                    << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }

    void searchMarks()
    {
        QFETCH(QString, text);
        QFETCH(QString, expectedBox);
        QFETCH(QString, expectedLabel);

        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        enterQuantities(dlg, {QStringLiteral("x"), QStringLiteral("5"), QStringLiteral("x")});
        auto *search = child<QLineEdit>(dlg, "lineEdit_macSearch");
        search->setText(QStringLiteral("M02")); // a previous mark must go
        QCOMPARE(markedBoxes(dlg), QStringLiteral("M02"));
        search->setText(text);
        QCOMPARE(markedBoxes(dlg), expectedBox);
        QCOMPARE(markedLabels(dlg), expectedLabel);
    }

    void completerOffersNamesAndKeys_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("inside a name, any case") << "b2" << QStringList{"铣床B2"};
        QTest::newRow("common part") << "床" << QStringList{"车床A1", "铣床B2", "磨床C3"};
        QTest::newRow("keys") << "m0" << QStringList{"M01", "M02", "M03"};
        QTest::newRow("nothing") << "zz" << QStringList{};
    }

    void completerOffersNamesAndKeys()
    {
        QFETCH(QString, prefix);
        QFETCH(QStringList, expected);
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        QCompleter *completer = child<QLineEdit>(dlg, "lineEdit_macSearch")->completer();
        QVERIFY(completer);
        completer->setCompletionPrefix(prefix);
        QStringList offered;
        for (int i = 0; completer->setCurrentRow(i); ++i)
            offered << completer->currentCompletion();
        QCOMPARE(offered, expected);
    }

    void pickingFromThePopupMarks()
    {
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        auto *search = child<QLineEdit>(dlg, "lineEdit_macSearch");
        search->setFocus();
        QTRY_VERIFY(search->hasFocus());
        QTest::keyClicks(search, QStringLiteral("c3"));
        QAbstractItemView *popup = search->completer()->popup();
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(popup->model()->rowCount(), 1);
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        QCOMPARE(search->text(), QStringLiteral("磨床C3"));
        QCOMPARE(markedBoxes(dlg), QStringLiteral("M03"));
    }

    void editPrefills_data()
    {
        QTest::addColumn<Counts>("plan");
        QTest::addColumn<int>("notify");
        QTest::addColumn<QString>("expectedChecked");
        QTest::addColumn<QString>("expectedRows");
        QTest::addColumn<QString>("expectedCounter");
        QTest::addColumn<QString>("expectedNotify");
        QTest::newRow("two machines, one unknown key")
            << Counts{{"M01", 10}, {"M03", 20}, {"GONE", 5}} << 15 << "M01,M03"
            << "M01=10;M03=20"
            << "30/30 green"
            << "15";
        QTest::newRow("three machines")
            << Counts{{"M03", 7}, {"M02", 2}, {"M01", 1}} << 0 << "M01,M02,M03"
            << "M01=1;M02=2;M03=7"
            << "10/10 green"
            << "0";
        QTest::newRow("percent out of range") << Counts{{"M02", 4}} << 150 << "M02"
                                              << "M02=4"
                                              << "4/4 green"
                                              << "0";
    }

    void editPrefills()
    {
        QFETCH(Counts, plan);
        QFETCH(int, notify);
        QFETCH(QString, expectedChecked);
        QFETCH(QString, expectedRows);
        QFETCH(QString, expectedCounter);
        QFETCH(QString, expectedNotify);

        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        dlg.setPlanData(QStringLiteral("P1"), QStringLiteral("F1"), plan, notify);
        QStringList checked;
        const auto all = boxes(dlg);
        for (const QCheckBox *b : all) {
            if (b->isChecked())
                checked << b->toolTip();
        }
        QCOMPARE(checked.join(QLatin1Char(',')), expectedChecked);
        QCOMPARE(rowsText(dlg), expectedRows);
        QCOMPARE(counter(dlg), expectedCounter);
        QCOMPARE(child<QLineEdit>(dlg, "lineEdit_notifyNum")->text(), expectedNotify);

        ModalDriver driver;
        child<QPushButton>(dlg, "btn_ok")->click();
        QCOMPARE(driver.seen, QStringList());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));

        // The pre-filled fields count like typed ones.
        QTest::keyClick(rows(dlg).first().second, Qt::Key_5);
        QCOMPARE(counter(dlg).endsWith(QLatin1String(" red")), true);
    }

    void validators_data()
    {
        QTest::addColumn<QString>("edit"); // object name, or "" for a quantity field
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plan count: letters") << "lineEdit_planCount"
                                             << "12ab3"
                                             << "123";
        QTest::newRow("plan count: sign") << "lineEdit_planCount"
                                          << "-5"
                                          << "5";
        QTest::newRow("plan count: huge") << "lineEdit_planCount"
                                          << "1234567890123"
                                          << "123456789";
        QTest::newRow("notify: above 99") << "lineEdit_notifyNum"
                                          << "150"
                                          << "15";
        QTest::newRow("notify: 99") << "lineEdit_notifyNum"
                                    << "99"
                                    << "99";
        QTest::newRow("notify: letters") << "lineEdit_notifyNum"
                                         << "abc"
                                         << "";
        QTest::newRow("notify: negative") << "lineEdit_notifyNum"
                                          << "-1"
                                          << "1";
        QTest::newRow("quantity: letters") << ""
                                           << "4x2"
                                           << "42";
        QTest::newRow("quantity: huge") << ""
                                        << "99999999999"
                                        << "999999999";
    }

    void validators()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        box(dlg, QStringLiteral("M02"))->click();
        QLineEdit *target
            = edit.isEmpty() ? field(dlg, QStringLiteral("M02")) : dlg.findChild<QLineEdit *>(edit);
        QVERIFY(target);
        QTest::keyClicks(target, typed);
        QCOMPARE(target->text(), expected);
    }

    void secondMachineListReplaces()
    {
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        QTest::keyClicks(child<QLineEdit>(dlg, "lineEdit_planCount"), QStringLiteral("50"));
        enterQuantities(dlg, {QStringLiteral("50"), QStringLiteral("x"), QStringLiteral("x")});
        QCOMPARE(counter(dlg), QStringLiteral("50/50 green"));

        dlg.setMacList({QStringLiteral("N1"), QStringLiteral("N2")},
                       {{QStringLiteral("N1"), QStringLiteral("新线1")}});
        QStringList texts;
        const auto all = boxes(dlg);
        for (const QCheckBox *b : all)
            texts << b->text() + QLatin1Char('@') + b->toolTip();
        QCOMPARE(texts, (QStringList{"新线1@N1", "N2@N2"}));
        QCOMPARE(rowsText(dlg), QString());
        QCOMPARE(counter(dlg), QStringLiteral("0/50 green"));
        child<QLineEdit>(dlg, "lineEdit_macSearch")->setText(QStringLiteral("新线1"));
        QCOMPARE(markedBoxes(dlg), QStringLiteral("N1"));
    }

    void fiveHundredMachinesScrollToTheFoundOne()
    {
        QStringList keys;
        QMap<QString, QString> names;
        for (int i = 1; i <= 500; ++i) {
            keys << QStringLiteral("K%1").arg(i, 3, 10, QLatin1Char('0'));
            names.insert(keys.last(), QStringLiteral("设备%1").arg(i));
        }
        YmPlanDataDlg dlg;
        dlg.setMacList(keys, names);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *area = child<QScrollArea>(dlg, "scrollArea_left");
        QVERIFY(area->verticalScrollBar()->maximum() > 0);
        QCOMPARE(area->verticalScrollBar()->value(), 0);

        child<QLineEdit>(dlg, "lineEdit_macSearch")->setText(QStringLiteral("K450"));
        QCheckBox *found = box(dlg, QStringLiteral("K450"));
        QCOMPARE(found->text(), QStringLiteral("设备450"));
        QCOMPARE(markedBoxes(dlg), QStringLiteral("K450"));
        const QRect inViewport(found->mapTo(area->viewport(), QPoint()), found->size());
        QVERIFY(area->viewport()->rect().contains(inViewport));
    }

    void tabOrder()
    {
        YmPlanDataDlg dlg;
        const QStringList order{
            "lineEdit_planName",  "lineEdit_fileName", "lineEdit_planCount", "lineEdit_notifyNum",
            "lineEdit_macSearch", "scrollArea_left",   "scrollArea_right",   "btn_ok",
            "btn_cancel"};
        QStringList seen;
        QWidget *w = child<QWidget>(dlg, "lineEdit_planName");
        for (int steps = 0; steps < 100 && seen.size() < order.size(); ++steps) {
            if (order.contains(w->objectName()) && !seen.contains(w->objectName()))
                seen << w->objectName();
            w = w->nextInFocusChain();
        }
        QCOMPARE(seen, order);
    }

    // CSV writer

    void csvField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "计划A"
                               << "计划A";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("spaces kept") << " a b "
                                     << " a b ";
        QTest::newRow("comma") << "a,b"
                               << "\"a,b\"";
        QTest::newRow("quotes doubled") << "say \"hi\""
                                        << "\"say \"\"hi\"\"\"";
        QTest::newRow("line feed") << "1\n2"
                                   << "\"1\n2\"";
        QTest::newRow("carriage return") << "1\r2"
                                         << "\"1\r2\"";
    }

    void csvField()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(YmTableCsvWriter::field(text), expected);
    }

    void csvWritesTheTableAsShown()
    {
        // Given a table sorted by count descending, one row filtered out, the
        // count column dragged to the front and the file column hidden.
        QStandardItemModel model(0, 3);
        model.setHorizontalHeaderLabels({"订单计划", "文件", "计划数"});
        const QList<QStringList> data{{"P1", "f1", "5"},
                                      {"P2, \"加急\"", "f2", "30"},
                                      {"hidden", "f3", "99"},
                                      {"P3\n备注", "f4", "12"}};
        for (const QStringList &cells : data) {
            QList<QStandardItem *> items;
            for (const QString &cell : cells)
                items << new QStandardItem(cell);
            items.last()->setData(cells.last().toInt(), Qt::DisplayRole);
            model.appendRow(items);
        }
        QSortFilterProxyModel proxy;
        proxy.setSourceModel(&model);
        proxy.setFilterKeyColumn(0);
        proxy.setFilterRegularExpression(QRegularExpression(QStringLiteral("^P")));
        proxy.sort(2, Qt::DescendingOrder);
        QTableView view;
        view.setModel(&proxy);
        view.horizontalHeader()->moveSection(2, 0);
        view.setColumnHidden(1, true);

        // When
        const QList<int> columns = YmTableCsvWriter::visibleColumns(view.horizontalHeader());
        QCOMPARE(columns, (QList<int>{2, 0}));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("计划.csv"));
        YmTableCsvWriter writer(&proxy, columns);
        QVERIFY(writer.write(path));
        QCOMPARE(writer.errorString(), QString());

        // Then
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray expected = QByteArray("\xEF\xBB\xBF")
                                    + QStringLiteral("计划数,订单计划\r\n"
                                                     "30,\"P2, \"\"加急\"\"\"\r\n"
                                                     "12,\"P3\n备注\"\r\n"
                                                     "5,P1\r\n")
                                          .toUtf8();
        QCOMPARE(file.readAll(), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void csvUnwritablePathChangesNothing_data()
    {
        QTest::addColumn<QString>("target"); // relative to a fresh directory
        QTest::addColumn<bool>("readOnlyDir");
        QTest::newRow("read-only directory") << "old.csv" << true;
        // Too long a name for the temporary file beside it.
        QTest::newRow("no room for the temporary name") << QString(250, 'a') + ".csv" << false;
        QTest::newRow("a directory") << "folder.csv" << false;
        QTest::newRow("missing directory") << "missing/new.csv" << false;
    }

    void csvUnwritablePathChangesNothing()
    {
        QFETCH(QString, target);
        QFETCH(bool, readOnlyDir);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("folder.csv"));
        const QString path = dir.filePath(target);
        const QByteArray old("old contents\n");
        if (!target.contains(QLatin1Char('/')) && !QFileInfo(path).isDir()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        if (readOnlyDir) {
            QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            QFile probe(dir.filePath(QStringLiteral("probe")));
            if (probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                      | QFileDevice::ExeOwner);
                QSKIP("permissions do not bind this user");
            }
        }

        QStandardItemModel model(1, 1);
        model.setItem(0, 0, new QStandardItem(QStringLiteral("x")));
        YmTableCsvWriter writer(&model);
        const bool written = writer.write(path);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner);
        QVERIFY(!written);
        QVERIFY(writer.errorString().contains(QDir::toNativeSeparators(path)));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            QCOMPARE(file.readAll(), old);
    }
};

QTEST_MAIN(TstPlanDataDlg)
#include "tst_plandatadlg.moc"
