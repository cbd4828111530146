#ifndef YMMETATYPES_H
#define YMMETATYPES_H

#include <QMap>
#include <QMetaType>
#include <QPair>
#include <QString>

// Qt declares QMap<K,V> and QPair<A,B> of known types as meta types already
// (with the associative-iterable conversion); these aliases name the two maps
// that travel inside QVariants and signal arguments.
using YmPieceMap = QMap<QString, int>;
using YmMachineCountMap = QMap<QString, QPair<int, int>>;

// Registers the maps under their spelled-out names (queued connections and
// string-based signal look-ups need them) and lets a QVariantMap convert into
// a piece map. Safe to call any number of times.
void ymRegisterMetaTypes();

#endif // YMMETATYPES_H
