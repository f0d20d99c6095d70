#!/bin/bash
# Puts Qt and GoogleTest cross-built for 64-bit Windows into DEST (qt6-mingw64/,
# gtest-mingw64/): unpacked from the archive in ARCHIVE_DIR when it is there and its
# checksum holds, else built once from Debian's source with build-qt-mingw.sh into a cache
# folder (about 19 minutes on 2 cores; it needs a deb-src entry).
#   qt-toolchain.sh DEST [ARCHIVE_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dest=$1
archive_dir=${2:-}
name=mingw64-qt6.4.2-gtest1.12.1.tar.xz
[ -f "$dest/.unpacked" ] && exit 0

if [ -n "$archive_dir" ] && [ -f "$archive_dir/$name" ]; then
    (cd "$archive_dir" && sha256sum --check --quiet "$name.sha256") ||
        { echo "qt-toolchain: $archive_dir/$name does not match its checksum" >&2; exit 1; }
    archive=$archive_dir/$name
else
    cache=${ZMT_QT_MINGW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zmt4824-qt-mingw}
    if [ ! -f "$cache/$name" ]; then
        echo "qt-toolchain: no prebuilt archive; building Qt for Windows from Debian's source in $cache"
        bash "$here/build-qt-mingw.sh" "$cache"
    fi
    archive=$cache/$name
fi
rm -rf "$dest"
mkdir -p "$dest"
tar -C "$dest" -xJf "$archive"
touch "$dest/.unpacked"
