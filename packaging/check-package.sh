#!/bin/sh
# Checks the Debian package that `make package` built: its control fields, that it holds
# exactly what the install rules install (so a new install rule joins it by itself), that
# the programs unpack in place, find their libraries and were built hardened, that every
# program has its manual page, that the desktop files validate, and that lintian reports
# neither an error nor a warning (the package's overrides name their reasons).
# Usage: check-package.sh BUILD_DIR
set -eu
build=$1
fail() { echo "FAIL: $*"; exit 1; }

deb=$(ls "$build"/deb/zmt4824_*.deb 2>/dev/null | tail -n 1)
[ -n "$deb" ] || fail "no package in $build/deb"
echo "checking $deb"

for field in Package Version Architecture Maintainer Section Priority Homepage Depends \
    Description; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "the control field $field is empty"
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6widgets6 libcanberra0; do
    case "$depends" in
    *"$library "* | *"$library,"* | *"$library") ;;
    *) fail "Depends lacks $library: $depends" ;;
    esac
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The package holds what the install rules put into a fresh prefix, no more, no less.
cmake --install "$build" --prefix "$work/installed/usr" >/dev/null
(cd "$work/installed" && find . -mindepth 1 ! -type d | sort) >"$work/installed.list"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sort >"$work/package.list"
diff -u "$work/installed.list" "$work/package.list" ||
    fail "the package differs from what the install rules install"

dpkg -x "$deb" "$work/root"
for program in zmt4824 zmt4824-demo zmt4824-meter-sim zmt4824-start; do
    [ -x "$work/root/usr/bin/$program" ] || fail "/usr/bin/$program is not a program"
done
for file in share/applications/com.example.zmt4824.desktop \
    share/metainfo/com.example.zmt4824.metainfo.xml \
    share/icons/hicolor/scalable/apps/com.example.zmt4824.svg \
    share/doc/zmt4824/copyright share/doc/zmt4824/changelog.gz; do
    [ -s "$work/root/usr/$file" ] || fail "/usr/$file is missing"
done
for program in "$work"/root/usr/bin/*; do
    name=$(basename "$program")
    [ -s "$work/root/usr/share/man/man1/$name.1.gz" ] || fail "$name has no manual page"
    file -b "$program" | grep -q '^ELF' || continue
    if ldd "$program" | grep -q 'not found'; then
        fail "/usr/bin/$name misses a library"
    fi
    # The distribution's hardening: position-independent, relocations read-only and bound
    # at start, the stack protector linked in.
    readelf -d "$program" | grep -q 'FLAGS_1.*PIE' || fail "$name is not position-independent"
    readelf -d "$program" | grep -q 'BIND_NOW' || fail "$name is not linked with -z now"
    readelf -lW "$program" | grep -q 'GNU_RELRO' || fail "$name is not linked with -z relro"
    readelf --dyn-syms -W "$program" | grep -q '__stack_chk_fail' ||
        fail "$name has no stack protector"
done
"$work/root/usr/bin/zmt4824-meter-sim" --help >/dev/null 2>&1 || fail "the unpacked simulator does not run"
# Fortify shows in a program only where a call needs a check at run time, so it is
# checked where it is given: every compile command of the build.
if grep '"command"' "$build/compile_commands.json" | grep -qv -- '-D_FORTIFY_SOURCE=[23]'; then
    fail "not every source was compiled with -D_FORTIFY_SOURCE"
fi

desktop-file-validate "$work/root/usr/share/applications/com.example.zmt4824.desktop" ||
    fail "the desktop entry does not validate"
appstreamcli validate --no-net --pedantic \
    "$work/root/usr/share/metainfo/com.example.zmt4824.metainfo.xml" ||
    fail "the metainfo does not validate"

# Errors and warnings fail the stage; notes are shown.
lintian --fail-on error,warning --display-info "$deb" || fail "lintian reports errors or warnings"
echo "package checked: $(basename "$deb")"
