// The test tables read better with plain literals than with QStringLiteral.
#undef QT_NO_CAST_FROM_ASCII

#include "ymharness.h"
#include "ymplandatadlg.h"
#include "ymtablecsvwriter.h"
#include "ymtestsupport.h"

#include <QtTest>
#include <QtWidgets>

using namespace PlanDialog;

namespace {

const QStringList kKeys{"M01", "M02", "M03"};
const QMap<QString, QString> kNames{{"M01", "车床A1"}, {"M02", "铣床B2"}, {"M03", "磨床C3"}};

// Clicks the machines whose entry is not "x" and types their quantities.
void enterQuantities(const QWidget &dlg, const QStringList &quantities)
{
    for (int i = 0; i < quantities.size(); ++i) {
        if (quantities.at(i) != "x") {
            box(dlg, kKeys.at(i))->click();
            QTest::keyClicks(field(dlg, kKeys.at(i)), quantities.at(i));
        }
    }
}

// Keys of the red check boxes (labels false: of the red quantity labels).
QString marked(const QWidget &dlg, bool checkBoxes = true)
{
    QList<QWidget *> widgets;
    for (QCheckBox *b : boxes(dlg))
        widgets << b;
    if (!checkBoxes) {
        widgets.clear();
        for (const Row &row : rows(dlg))
            widgets << row.first;
    }
    QStringList keys;
    for (const QWidget *w : widgets) {
        if (w->styleSheet() == "background-color: red;")
            keys << w->toolTip();
        else if (!w->styleSheet().isEmpty())
            return "wrong style";
    }
    return keys.join(',');
}

} // namespace

class TstPlanDataDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void okChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("planCount");      // typed; "\b" erases
        QTest::addColumn<QString>("notify");         // typed
        QTest::addColumn<QStringList>("quantities"); // per machine, "x" = unchecked
        QTest::addColumn<QString>("expectedCounter");
        QTest::addColumn<QString>("expectedNotice"); // empty: accepted
        QTest::addColumn<QString>("expectedMap");    // getPlanData onto {OLD: 1}
        const QMap<QString, QString> notices{
            {"noname", "订单计划不能为空"},
            {"nofile", "文件不能为空"},
            {"count", "计划数必须是 1 到 10000000 之间的整数"},
            {"notify", "提示百分比必须是 0 到 100 之间的整数"},
            {"nomac", "请至少选择一台设备"},
            {"qtyA1", "设备 车床A1 的数量必须是 1 到 10000000 之间的整数"},
            {"qtyB2", "设备 铣床B2 的数量必须是 1 到 10000000 之间的整数"},
            {"mismatch", "计划数量不匹配，请全部设置，并等于计划总数"}};
        // name|file|plan count|notify|quantities|counter|notice|map. Several faults
        // at once are reported in the order of the fields; numbers are never cut.
        for (const char *row :
             {"P-9|F|100|15|60,40,x|100/100 green||M01=60;M02=40;OLD=1",
              "|F|100|15|60,40,x|100/100 green|noname|M01=60;M02=40;OLD=1",
              "  |||150|x,x,x|0/0 none|noname|OLD=1",
              "P-9||100|15|60,40,x|100/100 green|nofile|M01=60;M02=40;OLD=1",
              "P-9|F|7\b|15|x,x,x|0/0 green|count|OLD=1",
              "P-9|F|99999999999|15|60,40,x|100/99999999999 green|count|M01=60;M02=40;OLD=1",
              "P-9|F|10000001|15|x,x,x|0/10000001 green|count|OLD=1",
              "P-9|F|10000000|15|10000000,x,x|10000000/10000000 green||M01=10000000;OLD=1",
              "P-9|F|100|150abc|60,40,x|100/100 green|notify|M01=60;M02=40;OLD=1",
              "P-9|F|100|100|100,x,x|100/100 green||M01=100;OLD=1",
              "P-9|F|100|15|x,x,x|0/100 green|nomac|OLD=1",
              "P-9|F|100|15|,100,x|100/100 green|qtyA1|M02=100;OLD=1",
              "P-9|F|100|15|100,0,x|100/100 green|qtyB2|M01=100;OLD=1",
              "P-9|F|100|15|99999999999,40,x|100000000039/100 red|qtyA1|M02=40;OLD=1",
              "P-9|F|100|15|70,40,x|110/100 red|mismatch|M01=70;M02=40;OLD=1",
              "P-9|F|100|15|30,40,x|70/100 green|mismatch|M01=30;M02=40;OLD=1",
              "P-9|F|0100|15|x,x,00100|100/100 green||M03=100;OLD=1"}) {
            const QStringList f = QString::fromUtf8(row).split('|');
            QTest::newRow(row) << f[0] << f[1] << f[2] << f[3] << f[4].split(',') << f[5]
                               << notices.value(f[6]) << f[7];
        }
    }

    void okChecks()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QFETCH(QString, planCount);
        QFETCH(QString, notify);
        QFETCH(QStringList, quantities);
        QFETCH(QString, expectedCounter);
        QFETCH(QString, expectedNotice);
        QFETCH(QString, expectedMap);

        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        dlg.show();
        QTest::keyClicks(child(dlg, "lineEdit_planName"), name);
        QTest::keyClicks(child(dlg, "lineEdit_fileName"), file);
        QTest::keyClicks(child(dlg, "lineEdit_planCount"), planCount);
        QTest::keyClicks(child(dlg, "lineEdit_notifyNum"), notify);
        enterQuantities(dlg, quantities);
        QCOMPARE(counter(dlg), expectedCounter);

        static int shots = 0;
        const QString shot = QStringLiteral("dialog-refusal-%1").arg(++shots, 2, 10, QChar('0'));
        ModalScript driver({}, [&dlg, shot](QWidget *box) {
            saveShot(&dlg, shot, box);
            press()(box);
        });
        QSignalSpy accepted(&dlg, &QDialog::accepted);
        child<QPushButton>(dlg, "btn_ok")->click();
        const QStringList notices{"提示|" + expectedNotice + "|确定"};
        QCOMPARE(driver.seen, expectedNotice.isEmpty() ? QStringList() : notices);
        QCOMPARE(accepted.count(), expectedNotice.isEmpty() ? 1 : 0);
        QCOMPARE(dlg.isVisible(), !expectedNotice.isEmpty());

        QString plan, fileName;
        Counts map{{"OLD", 1}}; // not cleared by the dialog
        int notifyNum = -1;
        dlg.getPlanData(plan, fileName, map, notifyNum);
        QCOMPARE(plan + '|' + fileName, name + '|' + file);
        QCOMPARE(mapText(map), expectedMap);
    }

    // Pasted text the validators drop, or that the OK checks then refuse:
    // valid entries everywhere but in the pasted field.
    void pastedInput_data()
    {
        QTest::addColumn<QString>("into"); // a field's name, or a machine key
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept"); // the field's text afterwards
        QTest::addColumn<QString>("notice");
        const QString count = "计划数必须是 1 到 10000000 之间的整数";
        // name|field|pasted|kept
        for (const char *row :
             {"letters in the plan count|lineEdit_planCount|1O0|",
              "negative plan count|lineEdit_planCount|-100|",
              "full-width digits|lineEdit_planCount|１００|", "letters in a quantity|M02|4O|",
              "spaces in a quantity|M02| 40|", "notify above 100|lineEdit_notifyNum|150|150"}) {
            const QStringList f = QString::fromUtf8(row).split('|');
            QTest::newRow(qPrintable(f[0]))
                << f[1] << f[2] << f[3]
                << (f[1] == "M02" ? "设备 铣床B2 的数量必须是 1 到 10000000 之间的整数"
                    : f[1] == "lineEdit_notifyNum" ? "提示百分比必须是 0 到 100 之间的整数"
                                                   : count);
        }
    }
    void pastedInput()
    {
        QFETCH(QString, into);
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        QFETCH(QString, notice);
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        dlg.show();
        const QStringList valid{"lineEdit_planName=P9", "lineEdit_fileName=F9",
                                "lineEdit_planCount=100", "lineEdit_notifyNum=20"};
        for (const QString &entry : valid) {
            if (entry.section('=', 0, 0) != into)
                child(dlg, entry.section('=', 0, 0))->setText(entry.section('=', 1));
        }
        enterQuantities(dlg, {"60", into == "M02" ? "" : "40", "x"});
        QLineEdit *target = into == "M02" ? field(dlg, "M02") : child(dlg, into);
        QApplication::clipboard()->setText(pasted);
        target->selectAll();
        target->paste();
        QCOMPARE(target->text(), kept);
        ModalScript driver({}, press());
        QSignalSpy accepted(&dlg, &QDialog::accepted);
        child<QPushButton>(dlg, "btn_ok")->click();
        QCOMPARE(driver.seen, QStringList{"提示|" + notice + "|确定"});
        QCOMPARE(accepted.count(), 0);
        QVERIFY(dlg.isVisible());
    }

    void uncheckLowersCounter()
    {
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        QTest::keyClicks(child(dlg, "lineEdit_planCount"), "100");
        enterQuantities(dlg, {"70", "x", "40"});
        QCOMPARE(counter(dlg), "110/100 red");

        box(dlg, "M03")->click(); // unchecks
        QCOMPARE(rowsText(dlg), "M01=70");
        QCOMPARE(counter(dlg), "70/100 red"); // the colour waits for a recount

        QTest::keyClick(field(dlg, "M01"), Qt::Key_Backspace);
        QCOMPARE(counter(dlg), "7/100 green");
        box(dlg, "M01")->click();
        box(dlg, "M01")->click(); // back, with an empty field
        QCOMPARE(rowsText(dlg), "M01=");
        QCOMPARE(counter(dlg), "0/100 green");
    }

    void searchMarks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expectedBox");
        QTest::addColumn<QString>("expectedLabel");
        const QStringList rows{"whole name|铣床B2|M02|M02",
                               "whole key|M02|M02|M02",
                               "name of an unchecked machine|磨床C3|M03|",
                               "part of a name|铣床||",
                               "other case|m02||",
                               "empty|||"};
        for (const QString &row : rows)
            QTest::newRow(qPrintable(row.section('|', 0, 0)))
                << row.section('|', 1, 1) << row.section('|', 2, 2) << row.section('|', 3, 3);
    }

    void searchMarks()
    {
        QFETCH(QString, text);
        QFETCH(QString, expectedBox);
        QFETCH(QString, expectedLabel);
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        enterQuantities(dlg, {"x", "5", "x"});
        child(dlg, "lineEdit_macSearch")->setText("车床A1"); // this mark must go
        QCOMPARE(marked(dlg), "M01");
        child(dlg, "lineEdit_macSearch")->setText(text);
        QCOMPARE(marked(dlg), expectedBox);
        QCOMPARE(marked(dlg, false), expectedLabel);
    }

    void pickingFromThePopupMarks()
    {
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        QLineEdit *search = child(dlg, "lineEdit_macSearch");
        search->setFocus();
        QTRY_VERIFY(search->hasFocus());
        search->completer()->setCompletionPrefix("m0"); // keys are offered too
        QCOMPARE(search->completer()->completionCount(), 3);

        QTest::keyClicks(search, "c3"); // any case, anywhere in the name
        QAbstractItemView *popup = search->completer()->popup();
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(popup->model()->rowCount(), 1);
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        QCOMPARE(search->text(), "磨床C3");
        QCOMPARE(marked(dlg), "M03");
    }

    void editPrefills()
    {
        // An unknown key is left out; a percent beyond 100 reads as 0.
        const Counts plan{{"M01", 10}, {"M03", 20}, {"GONE", 5}};
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        dlg.setPlanData("P1", "F1", plan, 150);
        QStringList checked;
        for (const QCheckBox *b : boxes(dlg)) {
            if (b->isChecked())
                checked << b->toolTip();
        }
        QCOMPARE(checked.join(',') + '|' + rowsText(dlg) + '|' + counter(dlg) + '|'
                     + child(dlg, "lineEdit_notifyNum")->text(),
                 "M01,M03|M01=10;M03=20|30/30 green|0");

        ModalScript driver({}, press());
        child<QPushButton>(dlg, "btn_ok")->click();
        QCOMPARE(driver.seen, QStringList());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QTest::keyClick(rows(dlg).first().second,
                        Qt::Key_5); // pre-filled fields recount
        QVERIFY(counter(dlg).endsWith(" red"));
    }

    void secondMachineListReplaces()
    {
        YmPlanDataDlg dlg;
        dlg.setMacList(kKeys, kNames);
        QTest::keyClicks(child(dlg, "lineEdit_planCount"), "50");
        enterQuantities(dlg, {"50", "x", "x"});
        QCOMPARE(counter(dlg), "50/50 green");

        dlg.setMacList({"N1", "N2"}, {{"N1", "新线1"}});
        QStringList texts;
        for (const QCheckBox *b : boxes(dlg))
            texts << b->text() + '@' + b->toolTip();
        QCOMPARE(texts, (QStringList{"新线1@N1", "N2@N2"}));
        QCOMPARE(rowsText(dlg), "");
        QCOMPARE(counter(dlg), "0/50 green");
        child(dlg, "lineEdit_macSearch")->setText("新线1");
        QCOMPARE(marked(dlg), "N1");
    }

    void fiveHundredMachinesScrollToTheFoundOne()
    {
        QStringList keys;
        QMap<QString, QString> names;
        for (int i = 1; i <= 500; ++i) {
            keys << QString::asprintf("K%03d", i);
            names.insert(keys.last(), "设备" + QString::number(i));
        }
        YmPlanDataDlg dlg;
        dlg.setMacList(keys, names);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *area = child<QScrollArea>(dlg, "scrollArea_left");
        QVERIFY(area->verticalScrollBar()->maximum() > 0);
        QCOMPARE(area->verticalScrollBar()->value(), 0);

        child(dlg, "lineEdit_macSearch")->setText("K450");
        QCheckBox *found = box(dlg, "K450");
        QCOMPARE(found->text(), "设备450");
        QCOMPARE(marked(dlg), "K450");
        const QRect inViewport(found->mapTo(area->viewport(), QPoint()), found->size());
        QVERIFY(area->viewport()->rect().contains(inViewport));
    }

    // A spreadsheet reads a field back whole only when it is quoted exactly so.
    void csvField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "订单 A"
                               << "订单 A";
        QTest::newRow("comma") << "a,b"
                               << "\"a,b\"";
        QTest::newRow("quote doubled") << "5\" pipe"
                                       << "\"5\"\" pipe\"";
        QTest::newRow("line feed") << "a\nb"
                                   << "\"a\nb\"";
        QTest::newRow("carriage return") << "a\rb"
                                         << "\"a\rb\"";
    }
    void csvField()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(YmTableCsvWriter::field(text), field);
    }
};

QTEST_MAIN(TstPlanDataDlg)
#include "tst_plandatadlg.moc"
