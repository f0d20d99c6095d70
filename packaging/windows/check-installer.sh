#!/bin/bash
# The installer under Wine, in a fresh prefix: a silent per-user installation, the start
# menu's entries, the installed tool running from its own folder (no other search path for
# its libraries), and the silent uninstallation leaving nothing of it behind.
#   check-installer.sh WIN_BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
win=$(cd "$1" && pwd)
setup=$(ls "$win"/package/zmt4824-*-setup.exe)
fail() {
    echo "windows: installer check: $*" >&2
    exit 1
}
command -v wine >/dev/null || fail "Wine is missing (Debian packages wine and wine64)"
work=$win/install-check
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d;winemenubuilder.exe=d"
export USER=Prüfer LOGNAME=Prüfer
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i >"$work/wineboot.out" 2>&1 || fail "wineboot failed"

profile=$WINEPREFIX/drive_c/users/$USER/AppData
installed=$profile/Local/Programs/zmt4824
menu="$profile/Roaming/Microsoft/Windows/Start Menu/Programs/ZMT 48x24"
timeout 120 wine start /wait /unix "$setup" /S /CurrentUser
wineserver -w
for file in zmt4824.exe zmt4824-demo.exe zmt4824-cli.exe zmt4824-start.exe uninstall.exe \
    Qt6Widgets.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll; do
    [ -f "$installed/$file" ] || fail "$file is not installed in $installed"
done
for link in "ZMT 48x24.lnk" "ZMT 48x24 Demo.lnk" "Uninstall.lnk"; do
    [ -f "$menu/$link" ] || fail "the start menu has no $link"
done
shown=$(timeout 60 wine "$installed/zmt4824-cli.exe" show "$(winepath -w "$here/../../tests/hw/data/worked-example.dig")" --lang en)
grep -q "device type: 20 mA" <<<"$shown" || fail "the installed tool does not run: $shown"

timeout 120 wine start /wait /unix "$installed/uninstall.exe" /S /CurrentUser
wineserver -w
[ ! -e "$installed" ] || fail "left behind: $(ls "$installed")"
[ ! -e "$menu" ] || fail "the start menu entries are left behind"
echo "windows: installer check passed (install, start menu, the installed tool, uninstall)"
