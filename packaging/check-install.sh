#!/bin/sh
# Installs the package that `make package` built into a fresh minimal Debian 12 root as a user
# would (apt-get install ./package.deb, without recommended packages, so its declared
# dependencies must be complete), runs the programs there, purges it and checks that nothing
# of it is left. Runs as root; the root lives in memory and is gone afterwards.
# Usage: check-install.sh BUILD_DIR
# Leaves in BUILD_DIR/install-check: the demo's screenshot (demo.png), the logs, and the
# downloaded Debian packages (apt-cache/) that a second run takes instead of downloading.
# The root, about 700 MB with the dependencies and the cached packages, is built in
# /dev/shm, or in the folder ZMT_ROOT_TMPDIR names.
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }

# The worked example of a 20 mA meter: 0 -> 0, 20 -> 2000, contact 2000/2000, "+", "gwnorm",
# decimal point code 0, test input 10 mA; the program's 20 lines with CR LF.
write_worked_example() {
    printf '%s\r\n' 4824-1 V6.0 COM1 0 1 '    0' '    0' '   20' ' 2000' '   10' 'device on' \
        'signal on' ' 2000' ' 2000' gwnorm + 0 '' '' '' >"$1"
}

# Waits up to ten seconds for a line in a file.
wait_for_line() {
    for _ in $(seq 100); do
        grep -q -- "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# The steps inside the fresh root, from its folder /tmp/zmt-check.
in_root() {
    cd /tmp/zmt-check
    export DEBIAN_FRONTEND=noninteractive
    pids=
    trap 'for pid in $pids; do kill "$pid" 2>/dev/null || true; done; wait' EXIT

    step "apt-get install ./$(ls zmt4824_*.deb)"
    apt-get install -y -q --no-install-recommends ./zmt4824_*.deb >install.log ||
        fail "the package does not install (install.log)"
    dpkg-query -L zmt4824 >installed.list

    step "zmt4824-cli --version"
    zmt4824-cli --version >version.txt || fail "--version failed: $(cat version.txt)"
    cat version.txt
    grep -q '^zmt4824-cli [0-9]' version.txt || fail "no version line"

    step "zmt4824-cli show (the worked example)"
    write_worked_example example.dig
    zmt4824-cli --lang en show example.dig >show.txt || fail "show failed: $(cat show.txt)"
    cat show.txt
    grep -q '^display at full scale: 2000$' show.txt || fail "show: wrong full-scale display"

    step "zmt4824-cli write --verify against zmt4824-meter-sim"
    mkdir bench
    zmt4824-meter-sim --dir bench --port 1 >sim.log 2>&1 &
    sim=$!
    pids="$sim"
    wait_for_line sim.log ' ready$' || fail "the simulator did not get ready: $(cat sim.log)"
    (cd bench && zmt4824-cli --lang en write --port COM1 ../example.dig --verify) ||
        fail "write --verify failed"
    kill -TERM "$sim"
    wait "$sim" || fail "the simulator ended with an error: $(cat sim.log)"
    pids=
    cat sim.log
    [ ! -e bench/com1 ] && [ ! -L bench/com1 ] || fail "the simulator left bench/com1 behind"

    step "zmt4824-demo under Xvfb (the X server and screenshot tools are not the package's)"
    apt-get install -y -q --no-install-recommends xvfb netpbm >tools.log ||
        fail "the X server does not install (tools.log)"
    mkdir framebuffer demo
    Xvfb -displayfd 3 -screen 0 1280x800x24 -fbdir framebuffer -nolisten tcp 3>display \
        2>xvfb.log &
    pids="$!"
    wait_for_line display '[0-9]' || fail "Xvfb did not start: $(cat xvfb.log)"
    mkdir -m 700 runtime
    (cd demo && exec env DISPLAY=":$(cat ../display)" XDG_RUNTIME_DIR=/tmp/zmt-check/runtime \
        zmt4824-demo) >demo.log 2>&1 &
    demo=$!
    pids="$demo $pids"
    sleep 5
    kill -0 "$demo" 2>/dev/null || fail "the demo ended within 5 s: $(cat demo.log)"
    xwdtopnm framebuffer/Xvfb_screen0 2>/dev/null | pnmtopng >demo.png ||
        fail "no screenshot"
    kill -TERM "$demo"
    wait "$demo" 2>/dev/null || true # ended by the signal
    cat demo.log
    # An X screen without windows is one colour; the demo's windows show dozens.
    colours=$(pngtopnm demo.png | ppmhist -noheader | wc -l)
    [ "$colours" -ge 16 ] || fail "the screenshot shows no windows ($colours colours)"

    step "apt-get purge zmt4824"
    apt-get purge -y -q zmt4824 >purge.log || fail "the package does not purge (purge.log)"
    dpkg-query -W -f='${db:Status-Status}\n' zmt4824 2>/dev/null | grep -qv '^not-installed$' &&
        fail "dpkg still knows zmt4824"
    left=0
    while read -r path; do
        [ -e "$path" ] || [ -L "$path" ] || continue
        # A folder that another package also owns (/usr/bin) stays.
        [ -d "$path" ] && dpkg-query -S "$path" >/dev/null 2>&1 && continue
        echo "left behind: $path"
        left=1
    done <installed.list
    [ "$left" = 0 ] || fail "the purge left files of the package"
    echo "purged: none of the $(wc -l <installed.list) paths left"
}

# The host's Debian mirrors for Debian 12 (the programs were built against their packages).
debian_sources() {
    apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Identifier: Packages' |
        awk '$2 ~ /^bookworm(-updates|-security)?$/ { print "deb " $1 " " $2 " main" }' | sort -u
}

on_host() {
    build=$(cd "$1" && pwd)
    here=$(cd "$(dirname "$0")" && pwd)
    deb=$(ls "$build"/deb/zmt4824_*.deb 2>/dev/null | tail -n 1)
    [ -n "$deb" ] || fail "no package in $build/deb"
    [ "$(id -u)" = 0 ] || fail "the fresh root needs root (run through sudo)"
    out=$build/install-check
    rm -rf "$out/log" "$out/demo.png"
    mkdir -p "$out/apt-cache" "$out/log"
    sources=$(debian_sources)
    [ -n "$sources" ] || fail "the host has no Debian 12 mirror in its apt sources"
    set --
    while read -r line; do set -- "$@" "$line"; done <<EOF
$sources
EOF
    # A proxy that the machine's apt goes through serves the root's apt as well.
    proxy=$(apt-config dump --format '%v' Acquire::http::Proxy)
    proxy=${proxy:+"Acquire::http::Proxy \"$proxy\";"}
    echo "installing $(basename "$deb") into a fresh Debian 12 root from: $sources" |
        tr '\n' ' '
    echo
    # In memory: unpacking onto the disk took three times as long.
    TMPDIR=${ZMT_ROOT_TMPDIR:-/dev/shm} mmdebstrap --variant=apt --mode=root --quiet \
        --skip=essential/unlink \
        --setup-hook='mkdir -p "$1/var/cache/apt/archives"' \
        --setup-hook="sync-in $out/apt-cache /var/cache/apt/archives/" \
        --customize-hook="mkdir -p \"\$1/tmp/zmt-check\"" \
        --customize-hook="copy-in $deb $here/check-install.sh /tmp/zmt-check" \
        --customize-hook='chroot "$1" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
            LC_ALL=C.UTF-8 sh /tmp/zmt-check/check-install.sh --in-root; status=$?; \
            cp "$1"/tmp/zmt-check/*.log "$1"/tmp/zmt-check/*.txt "$1"/tmp/zmt-check/*.list \
            '"$out"'/log/ 2>/dev/null; \
            cp "$1"/tmp/zmt-check/demo.png '"$out"'/ 2>/dev/null; \
            cp "$1"/var/cache/apt/archives/*.deb '"$out"'/apt-cache/; exit $status' \
        ${proxy:+--aptopt="$proxy"} bookworm /dev/null "$@" ||
        fail "the installation check failed (logs in $out/log)"
    [ -s "$out/demo.png" ] || fail "no screenshot of the demo"
    echo "installed, run and purged in a fresh Debian 12: screenshot $out/demo.png"
}

if [ "${1:-}" = "--in-root" ]; then
    in_root
else
    on_host "$@"
fi
