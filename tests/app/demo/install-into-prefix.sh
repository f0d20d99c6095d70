#!/bin/sh
# Installs the build into a fresh prefix, checks that every file is in its place, and
# runs the installed launcher against stand-ins for the programs to see where they start.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }

for file in bin/zmt4824 bin/zmt4824-demo bin/zmt4824-meter-sim bin/zmt4824-start; do
    [ -x "$prefix/$file" ] || fail "$file is not an installed program"
done
for file in share/applications/com.example.zmt4824.desktop \
    share/metainfo/com.example.zmt4824.metainfo.xml \
    share/icons/hicolor/scalable/apps/com.example.zmt4824.svg; do
    [ -s "$prefix/$file" ] || fail "$file is missing"
done

# Every command the desktop entry names is an installed program.
grep -E '^(Exec|TryExec)=' "$prefix/share/applications/com.example.zmt4824.desktop" |
    sed -E 's/^[A-Za-z]+=([^ ]+).*/\1/' | sort -u | while read -r command; do
    [ -x "$prefix/bin/$command" ] || fail "the desktop entry starts $command, not installed"
done

# Stand-ins report the directory they were started in and their arguments.
for program in zmt4824 zmt4824-demo; do
    printf '#!/bin/sh\necho "%s $(pwd) [$*]" > "%s/started"\n' "$program" "$prefix" \
        >"$prefix/bin/$program"
done

home=$prefix/home
mkdir -p "$home" "$prefix/elsewhere"
# how the launcher is called | XDG_DATA_HOME | what must start where
while IFS='|' read -r call xdg expected; do
    rm -f "$prefix/started"
    (
        cd "$prefix/elsewhere"
        unset XDG_DATA_HOME
        export HOME="$home"
        [ -z "$xdg" ] || export XDG_DATA_HOME="$xdg"
        sh -c "$call"
    ) || fail "launcher failed: $call"
    [ -f "$prefix/started" ] || fail "nothing started: $call"
    started=$(cat "$prefix/started")
    [ "$started" = "$expected" ] || fail "$call: started '$started', expected '$expected'"
done <<CASES
$prefix/bin/zmt4824-start||zmt4824 $home/.local/share/zmt4824 []
$prefix/bin/zmt4824-start --demo||zmt4824-demo $home/.local/share/zmt4824/demo []
../bin/zmt4824-start||zmt4824 $home/.local/share/zmt4824 []
$prefix/bin/zmt4824-start|$prefix/xdg data|zmt4824 $prefix/xdg data/zmt4824 []
$prefix/bin/zmt4824-start --demo -x|$prefix/xdg|zmt4824-demo $prefix/xdg/zmt4824/demo [-x]
CASES
echo "installed and started as expected"
