#!/bin/bash
# The Windows package from the cross build: the programs with Qt's libraries, the windows
# platform plugin, the style and the MinGW runtime in one folder, a zip of it, and the
# installer (NSIS). Everything goes to WIN_BUILD/package.
#   windows-package.sh WIN_BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
win=$(cd "$1" && pwd)
obj=$win/obj
qt=$win/toolchain/qt6-mingw64
command -v makensis >/dev/null || { echo "windows: makensis is missing (Debian package nsis)" >&2; exit 1; }
command -v zip >/dev/null || { echo "windows: zip is missing (Debian package zip)" >&2; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$obj/CMakeCache.txt")
name=zmt4824-$version-win64
out=$win/package
folder=$out/$name
rm -rf "$out"
mkdir -p "$folder/platforms" "$folder/styles"

cp "$obj/src/app/zmt4824.exe" "$obj/src/app/zmt4824-demo.exe" "$obj/src/cli/zmt4824-cli.exe" \
    "$obj/packaging/windows/zmt4824-start.exe" "$folder/"
for library in Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport; do cp "$qt/bin/$library.dll" "$folder/"; done
cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
cp "$runtime/libstdc++-6.dll" "$runtime/libgcc_s_seh-1.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll \
    "$folder/"
x86_64-w64-mingw32-strip "$folder"/*.exe
x86_64-w64-mingw32-strip --strip-unneeded "$folder"/*.dll "$folder"/platforms/*.dll "$folder"/styles/*.dll
sed 's/$/\r/' "$top/packaging/copyright" >"$folder/copyright.txt"

(cd "$out" && zip -qr9 "$name.zip" "$name")
makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DOUTFILE="$out/$name-setup.exe" \
    "$here/zmt4824.nsi"
for file in "$out/$name.zip" "$out/$name-setup.exe"; do
    echo "windows: $file ($(($(stat -c %s "$file") / 1024)) KiB)"
done
