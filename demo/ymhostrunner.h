#ifndef YMHOSTRUNNER_H
#define YMHOSTRUNNER_H

#include <QStringList>

// The demo host's program: options, database, board, workshop, event loop.
// Returns the process exit code: 0 fine, 1 picture not written, 2 bad
// command line, 3 database folder missing, 4 database corrupt or foreign,
// 5 database read-only, 6 database of a newer host, 7 other database failure,
// 8 replay file unreadable, 9 database server unreachable (a missing database
// on the server counts as a missing folder, 3).
class YmHostRunner
{
public:
    // Needs a QApplication. Error lines go to stderr and, when given, to errors.
    static int run(const QStringList &arguments, QStringList *errors = nullptr);
};

#endif // YMHOSTRUNNER_H
