#ifndef YMHOSTOPTIONS_H
#define YMHOSTOPTIONS_H

#include <QDate>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTime>

// The demo host's command line.
struct YmHostOptions
{
    QString dbPath;     // empty: the user's data folder; or a postgresql:// URL
    QString workshop;   // empty: the database's default workshop
    double speed = 1.0; // simulated seconds per real second
    QTime start;        // where the workshop clock begins (invalid: now)
    QTime at;           // simulate up to this time first (for pictures)
    QDate date;         // the day to run (invalid: today)
    bool seedSet = false;
    quint64 seed = 0;
    int machines = 24; // machines seeded into a new database
    QString replayFile;
    QString screenshot;
    QSize size{1920, 1080};
    double scale = 0.0; // Qt's scale factor forced by --scale (applied before the application)
    QString language;   // "en" or "zh"; empty: from the system locale

    // Parses argv; false with a message (or the help text, helpRequested set)
    // when the program should stop.
    bool parse(const QStringList &arguments, QString *message, bool *helpRequested);
    // The path used when --db is not given.
    static QString defaultDatabasePath();
};

#endif // YMHOSTOPTIONS_H
