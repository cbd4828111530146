#ifndef YMPAGETIMER_H
#define YMPAGETIMER_H

#include <QTimer>

// Turns the pages of the wall's long lists: one period for every paged panel,
// so that the board pages at one rhythm. A panel connects timeout() to its
// page turn and says whether it pages at all; a list the user is reading
// (a click, a scroll) stays put for a minute before it turns again.
class YmPageTimer : public QTimer
{
    Q_OBJECT

public:
    // How long one page stays on the wall.
    static constexpr int kPageInterval = 10 * 1000;
    // How long a page stays after the user clicked or scrolled in the list.
    static constexpr int kUserPause = 60 * 1000;

    explicit YmPageTimer(QObject *parent = nullptr);

    // Runs while there is more than one page, without restarting a running
    // period (data arrive every few seconds and must not hold the page).
    void setPaging(bool paging);
    // The user is reading: the next turn comes a pause from now.
    void holdForUser();
};

#endif // YMPAGETIMER_H
