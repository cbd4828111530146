// A one-file host built against the installed board only: it creates the board,
// pushes a day, registers a callback and makes the board fire it. Exits 0 when
// the callback arrived with the host's context and the date the user picked.
#include <ymworkshopmanage.h>

#include <QApplication>
#include <QDateEdit>
#include <QDebug>

namespace {

struct Host
{
    QStringList queried;
};

QVariant orderRow(const QString &plan, const QString &mac, int planned, int completed)
{
    return QVariantList{
        plan,    QVariant(), mac, mac,       QStringLiteral("G1"), plan + QStringLiteral(".nc"),
        planned, completed,  0,   QVariant()};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Host host;
    YmWorkshopManage board;
    board.setData(&host);
    board.setQueryDatePlanCB(
        [](void *data, const QString &date) { static_cast<Host *>(data)->queried << date; });

    const QVariantList rows{orderRow(QStringLiteral("P1"), QStringLiteral("M1"), 100, 40),
                            orderRow(QStringLiteral("P2"), QStringLiteral("M2"), 50, 50)};
    const QVariantList macs{QVariantList{QStringLiteral("M1"), QStringLiteral("M1"), 1},
                            QVariantList{QStringLiteral("M2"), QStringLiteral("M2"), 2}};
    board.initDatas(QVariantList{rows, 0, 0, 0}, macs, {}, QStringLiteral("08:00:00"),
                    QStringLiteral("17:00:00"), 540);
    board.show();
    QCoreApplication::processEvents();

    // The plan window's date field is the user's way to ask for another day.
    QDateEdit *dateEdit = nullptr;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (!dateEdit)
            dateEdit = w->findChild<QDateEdit *>(QStringLiteral("dateEdit"));
    }
    if (!dateEdit) {
        qCritical("the plan window has no date field");
        return 1;
    }
    dateEdit->setDate(QDate(2024, 3, 5));
    if (host.queried != QStringList{QStringLiteral("2024-03-05")}) {
        qCritical() << "the host was asked for" << host.queried;
        return 1;
    }
    board.hide();
    return 0;
}
