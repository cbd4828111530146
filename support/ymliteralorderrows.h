#ifndef YMLITERALORDERROWS_H
#define YMLITERALORDERROWS_H

// The day's counts worked out the plain way, from the reports alone: every
// report folded into the rows with the one rule, each step written out as the
// rule reads (the next piece is searched from the first key every time), on
// plain maps. The tests hold every view of the board against it.

#include "ymmetatypes.h"

#include <QMap>
#include <QString>
#include <QVariantList>
#include <QVector>

struct YmLiteralOrderRows
{
    struct Row
    {
        QString plan;
        QString mac;
        QString file;
        qint64 planned = 0;
        qint64 completed = 0;
        YmPieceMap pieces;
    };
    QVector<Row> rows;

    void apply(const QString &mac, const QList<Row> &entries)
    {
        for (const Row &entry : entries) {
            QVector<int> matches;
            for (int i = 0; i < rows.size(); ++i)
                if (rows[i].mac == mac && rows[i].file == entry.file)
                    matches.append(i);
            if (matches.size() == 1) {
                Row &row = rows[matches[0]];
                row.completed = entry.completed;
                for (auto it = entry.pieces.cbegin(); it != entry.pieces.cend(); ++it)
                    if (!row.pieces.contains(it.key()))
                        row.pieces.insert(it.key(), it.value());
                continue;
            }
            YmPieceMap offered = entry.pieces;
            for (int index : matches) {
                Row &row = rows[index];
                while (row.completed < row.planned) {
                    QString next;
                    for (auto it = offered.cbegin(); it != offered.cend(); ++it) {
                        if (!row.pieces.contains(it.key())) {
                            next = it.key();
                            break;
                        }
                    }
                    if (next.isNull())
                        break;
                    row.pieces.insert(next, offered.value(next));
                    row.completed += offered.take(next);
                }
            }
        }
    }

    // Sums wider than an int stand at its bounds, as the board shows them.
    static qint64 clamp(qint64 v) { return qBound<qint64>(INT_MIN, v, INT_MAX); }

    QMap<QString, QPair<qint64, qint64>> byPlan() const { return sumsBy(&Row::plan); }
    QMap<QString, QPair<qint64, qint64>> byMachine() const { return sumsBy(&Row::mac); }
    // Planned and completed summed per plan or per machine.
    QMap<QString, QPair<qint64, qint64>> sumsBy(QString Row::*key) const
    {
        QMap<QString, QPair<qint64, qint64>> sums;
        for (const Row &row : rows) {
            sums[row.*key].first += row.planned;
            sums[row.*key].second += row.completed;
        }
        return sums;
    }
};

#endif // YMLITERALORDERROWS_H
