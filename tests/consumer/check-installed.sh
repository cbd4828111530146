#!/usr/bin/env bash
# Checks an installed board from outside the build: the public header compiles
# on its own with strict warnings, a one-file host builds with nothing but
# `pkg-config --cflags --libs` and runs, and the library exports only the facade.
# Usage: check-installed.sh PREFIX SCRATCH_DIR
set -euo pipefail
prefix=$1
scratch=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$scratch"
cxx=${CXX:-c++}

pcfile=$(find "$prefix" -name YmWorkshopManage.pc | head -n1)
[ -n "$pcfile" ] || { echo "FAIL: no YmWorkshopManage.pc under $prefix"; exit 1; }
export PKG_CONFIG_PATH=$(dirname "$pcfile")
libdir=$(pkg-config --variable=libdir YmWorkshopManage)

# Qt is built with -reduce-relocations, so every Qt host compiles with -fPIC.
echo '#include <ymworkshopmanage.h>' >"$scratch/header.cpp"
"$cxx" -std=c++17 -fPIC -Wall -Wextra -Werror -pedantic -fsyntax-only \
    $(pkg-config --cflags YmWorkshopManage) "$scratch/header.cpp"
echo "PASS: the installed header compiles alone with -Wall -Wextra -Werror -pedantic"

"$cxx" -std=c++17 -fPIC "$here/main.cpp" -o "$scratch/pkgconfig-host" \
    $(pkg-config --cflags --libs YmWorkshopManage)
LD_LIBRARY_PATH="$libdir" QT_QPA_PLATFORM=offscreen "$scratch/pkgconfig-host"
echo "PASS: a host built with pkg-config runs against $libdir"

lib=$(readlink -f "$libdir/libYmWorkshopManage.so")
# Beside the class's members and its type information only Qt's own inline
# functions and the linker's section markers may show.
others=$(nm -DC --defined-only "$lib" | awk '{ $1 = $2 = ""; print substr($0, 3) }' \
    | grep -vE '^YmWorkshopManage::|^(typeinfo|typeinfo name|vtable) for YmWorkshopManage$' \
    | grep -vE '^Q[A-Za-z0-9_]*(::|<)|^_' || true)
if [ -n "$others" ]; then
    echo "FAIL: the installed library exports more than the facade:"
    echo "$others"
    exit 1
fi
echo "PASS: the installed library exports only YmWorkshopManage"
