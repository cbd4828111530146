#ifndef YMORDERROW_H
#define YMORDERROW_H

#include "ymmetatypes.h"

#include <QVariant>
#include <QVariantList>

// Positional access to the records the host pushes in (order rows, machine
// entries, process entries). Every reader is bounds-checked: an element that is
// missing, or that does not convert, reads as 0 / empty, like a failed
// QVariant conversion would.
class YmOrderRow
{
public:
    enum Field {
        PlanName = 0,
        Carried = 1,
        MacKey = 2,
        MacName = 3,
        GroupName = 4,
        FileName = 5,
        Planned = 6,
        Completed = 7,
        NotifyNum = 8,
        Pieces = 9,
        FieldCount = 10
    };

    static QString stringAt(const QVariantList &list, int index);
    static int intAt(const QVariantList &list, int index);
    // Falls back to QVariant::convert when the held type is not the piece map
    // itself (a host may send a QVariantMap); anything else reads as empty.
    static YmPieceMap pieceMapAt(const QVariantList &list, int index);

    // The list held by value without copying it when it is a QVariantList;
    // any other record type is converted into storage, and a value that is no
    // record reads as an empty list. Valid while value and storage are.
    static const QVariantList &listRef(const QVariant &value, QVariantList &storage);
    // True for values the model treats as records and may write back to.
    static bool isRecord(const QVariant &value);
    // Sets list[index], first padding the list with invalid values up to
    // FieldCount (or index + 1) elements, so that a short row becomes a full
    // one and reads the same as before apart from the written field.
    static void setAt(QVariantList &list, int index, const QVariant &value);
};

#endif // YMORDERROW_H
