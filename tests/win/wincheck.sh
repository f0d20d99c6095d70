#!/bin/bash
# The Windows stage: the programs cross-built for 64-bit Windows, run under Wine.
#  1. The test programs, headless (Qt's minimal platform).
#  2. The command-line tool through COM1, which the registry maps to a pseudo-terminal that
#     the simulator serves; a preloaded library gives the pseudo-terminals modem lines and
#     logs DTR, RTS and every write, and the log is checked against the power sequence of
#     an exchange. COM2 is held by another program, COM3 and COM4 lead nowhere, COM5 does
#     not exist. The user's name (and so the journal's folder) and the working folder have
#     non-ASCII names. Then Ctrl-C during a read, and a read whose port vanishes.
#  3. The demo and the program under Xvfb with the windows platform: a screenshot each, and
#     each closes on WM_CLOSE with exit status 0.
# Everything under Wine runs without the capabilities that let root ignore a file's mode or
# a terminal's exclusive mode, so that a busy port and a read-only folder refuse as they
# would refuse a user.
#   wincheck.sh WIN_BUILD LINUX_BUILD
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
win=$(cd "$1" && pwd)
linux=$(cd "$2" && pwd)
obj=$win/obj
qt=$win/toolchain/qt6-mingw64
run=$win/run
sim=$linux/sim/zmt4824-meter-sim
example=$here/../hw/data/worked-example.dig
# Each run of the tool is bounded: a hang fails the case instead of the stage.
TOOL_LIMIT_S=${TOOL_LIMIT_S:-90}

fail() {
    echo "wincheck: $*" >&2
    exit 1
}
command -v wine >/dev/null || fail "Wine is missing (Debian packages wine and wine64)"
command -v x86_64-w64-mingw32-g++-posix >/dev/null ||
    fail "MinGW-w64 is missing (Debian package g++-mingw-w64-x86-64-posix)"
command -v Xvfb >/dev/null || fail "Xvfb is missing (Debian package xvfb)"
command -v xwd >/dev/null && command -v xwininfo >/dev/null && command -v convert >/dev/null ||
    fail "xwd, xwininfo or convert is missing (Debian packages x11-apps, x11-utils, imagemagick)"
[ -x "$sim" ] || fail "the simulator $sim is not built"
for program in src/cli/zmt4824-cli src/app/zmt4824 src/app/zmt4824-demo tests/win_tests; do
    [ -f "$obj/$program.exe" ] || fail "$obj/$program.exe is not built"
done

started=$(date +%s)
rm -rf "$run"
mkdir -p "$run"
gcc -O2 -Wall -shared -fPIC -o "$run/pty-lines.so" "$here/pty-lines.c" -ldl
gcc -O2 -Wall -o "$run/pty-hold" "$here/pty-hold.c"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPREFIX=$run/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d;winemenubuilder.exe=d"
export WINEPATH="$(winpath "$qt/bin");$(winpath "$gcc_runtime");$(winpath /usr/x86_64-w64-mingw32/lib)"
# The profile's name, and with it %LOCALAPPDATA%, is the Unix user's.
export USER=Prüfer LOGNAME=Prüfer
drop=-sys_admin,-dac_override,-dac_read_search,-fowner
cat >"$run/wine-run" <<EOF
#!/bin/sh
# wine or wineserver (\$1) with the shim and without the capabilities named above
tool=\$1
shift
LD_PRELOAD=$run/pty-lines.so exec setpriv --inh-caps=$drop --bounding-set=$drop "\$tool" "\$@"
EOF
chmod +x "$run/wine-run"
w() { "$run/wine-run" wine "$@"; }
wineserver_of_run() { "$run/wine-run" wineserver "$@"; }

children=()
cleanup() {
    wineserver_of_run -k 2>/dev/null || true
    for pid in "${children[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

# ---- the ports: COM1 the simulated interface and meter, COM2 held, COM3 and COM4 idle ----
mkdir -p "$run/sim"
"$sim" --dir "$run/sim" --port 1 >"$run/sim.out" 2>&1 &
sim_pid=$!
children+=("$sim_pid")
pty_of() { # the pseudo-terminal a holder printed, once it has
    for _ in $(seq 50); do [ -s "$1" ] && break; sleep 0.05; done
    cat "$1"
}
"$run/pty-hold" --exclusive >"$run/com2.pty" & children+=("$!")
"$run/pty-hold" >"$run/com3.pty" & children+=("$!")
"$run/pty-hold" >"$run/com4.pty" & children+=("$!")
for _ in $(seq 100); do grep -q ready "$run/sim.out" 2>/dev/null && break; sleep 0.05; done
grep -q ready "$run/sim.out" || fail "the simulator did not start: $(cat "$run/sim.out")"
com1=$(readlink "$run/sim/com1")

# The display first: Wine's desktop process keeps the one the session starts with.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$run/xvfb.out" 2>&1 &
children+=("$!")
for _ in $(seq 100); do xwininfo -display "$display" -root >/dev/null 2>&1 && break; sleep 0.05; done
xwininfo -display "$display" -root >/dev/null 2>&1 || fail "Xvfb did not start: $(cat "$run/xvfb.out")"
export DISPLAY=$display

w wineboot -i >"$run/wineboot.out" 2>&1 || fail "wineboot failed: $(tail -3 "$run/wineboot.out")"
cat >"$run/ports.reg" <<EOF
REGEDIT4

[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]
"COM1"="$com1"
"COM2"="$(pty_of "$run/com2.pty")"
"COM3"="$(pty_of "$run/com3.pty")"
"COM4"="$(pty_of "$run/com4.pty")"
EOF
w regedit /S "$(winpath "$run/ports.reg")"
# The mount manager maps the ports when Wine starts.
wineserver_of_run -w
echo "wincheck: Wine prefix ready after $(($(date +%s) - started)) s"

# ---- 1. the test programs ----
tests_run=0
for program in language_tests device_tests win_tests; do
    out=$run/$program.out
    status=0
    (cd "$obj/tests" && WINEQT_QPA_PLATFORM=minimal timeout 300 \
        "$run/wine-run" wine "$program.exe" --gtest_brief=1 </dev/null >"$out" 2>&1) || status=$?
    count=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from.*ran.*/\1/p' "$out")
    [ "$status" = 0 ] && grep -q '^\[  PASSED  \]' "$out" || {
        cat "$out" >&2
        fail "$program failed under Wine (exit $status)"
    }
    echo "wincheck: $program: ${count:-?} tests passed"
    tests_run=$((tests_run + ${count:-0}))
done

# ---- 2. the tool ----
bench="$run/Prüfstand Ω"
mkdir -p "$bench"
cp "$example" "$bench/Zähler.dig"
cli=$obj/src/cli/zmt4824-cli.exe
journal="$WINEPREFIX/drive_c/users/$USER/AppData/Local/zmt4824"
lines=$run/lines.log
case_failures=0

# tool NAME EXPECTED_EXIT ARGS...: runs the tool in the bench folder; output in $run/NAME.*
tool() {
    local name=$1 expected=$2 status=0
    shift 2
    rm -f "$lines"
    (cd "$bench" && ZMT_PTY_LINE_LOG=$lines timeout "$TOOL_LIMIT_S" \
        "$run/wine-run" wine "$cli" "$@" --lang en </dev/null >"$run/$name.out" 2>"$run/$name.err") ||
        status=$?
    cp "$lines" "$run/$name.lines" 2>/dev/null || : >"$run/$name.lines"
    if [ "$status" != "$expected" ]; then
        echo "wincheck: FAIL $name: exit $status, expected $expected" >&2
        sed 's/^/    /' "$run/$name.out" "$run/$name.err" >&2
        case_failures=$((case_failures + 1))
        return 1
    fi
}
expect_text() { # NAME FILE TEXT
    grep -qF -- "$3" "$run/$1.$2" && return 0
    echo "wincheck: FAIL $1: \"$3\" missing in its standard ${2/err/error}" >&2
    sed 's/^/    /' "$run/$1.$2" >&2
    case_failures=$((case_failures + 1))
}
# The lines against the exchange's power sequence: the DTR/RTS states in order, the meter
# powered 1600 ms before each exchange's first byte, at least 500 ms unpowered before each
# restart, the signal never on; and the bytes of each exchange (33 a read, 65 a write).
expect_lines() { # NAME "STATES" "BYTES PER EXCHANGE"
    local verdict
    verdict=$(awk -v want_states="$2" -v want_bytes="$3" -f "$here/line-check.awk" "$run/$1.lines")
    [ "$verdict" = ok ] && return 0
    echo "wincheck: FAIL $1: $verdict" >&2
    sed 's/^/    /' "$run/$1.lines" | grep -v TX >&2
    case_failures=$((case_failures + 1))
}

# A journal folder that cannot be written: the write goes on and says so.
mkdir -p "$journal"
chmod 555 "$journal"
tool journal-refused 0 write --port COM1 Zähler.dig &&
    expect_text journal-refused err "Warning: the journal"
chmod 755 "$journal"

# Each exchange powers the meter (1/0) and ends it (0/0); a write's restart before the read-back
# is a power-up of its own, and the command's last restart is left out: the meter stays off.
read_states="1/0 0/0"
if tool read 0 read --port COM1 --output Zähler-gelesen.dig; then
    expect_text read out "device type: 20 mA"
    expect_lines read "$read_states" "33"
    [ -s "$bench/Zähler-gelesen.dig" ] || { echo "wincheck: FAIL read: no Zähler-gelesen.dig" >&2; case_failures=$((case_failures + 1)); }
fi
if tool write-verify 0 write --port COM1 Zähler.dig --verify; then
    expect_text write-verify out "meter and configuration match"
    expect_lines write-verify "1/0 0/0 1/0 0/0 1/0 0/0 1/0 0/0" "33 65 33"
fi
records=$(grep -c '"operation"' "$journal/journal.jsonl" 2>/dev/null || echo 0)
[ "$records" -ge 2 ] || { echo "wincheck: FAIL journal: $records records in $journal/journal.jsonl" >&2; case_failures=$((case_failures + 1)); }
tool journal 0 journal && expect_text journal out "Zähler.dig"
tool find 0 find --yes COM1 COM3 && expect_text find out "COM1: interface found" &&
    expect_text find out "COM3: no interface"
tool ports 0 ports && expect_text ports out "COM4 -> COM4"
tool busy 3 read --port COM2 && expect_text busy err "COM2"
tool no-com5 2 read --port COM5 && expect_text no-com5 err "COM5"

# ---- 3. the windows under Xvfb ----
window_case() { # NAME EXE
    local name=$1 exe=$2 status=0 shown=
    (cd "$bench" && DISPLAY=$display timeout "$TOOL_LIMIT_S" \
        "$run/wine-run" wine "$obj/src/app/$exe" </dev/null >"$run/$name.out" 2>&1) &
    local pid=$!
    for _ in $(seq 600); do
        if xwininfo -display "$display" -root -tree 2>/dev/null | grep -q 'ZMT\|zmt4824'; then shown=1; break; fi
        sleep 0.05
    done
    if [ -z "$shown" ]; then
        echo "wincheck: FAIL $name: no window" >&2
        case_failures=$((case_failures + 1))
        kill "$pid" 2>/dev/null || true
        return
    fi
    # The first paint follows the mapping: the screenshot is taken once two in a row agree.
    local previous=
    for _ in $(seq 100); do
        xwd -display "$display" -root -silent >"$run/$name.xwd"
        local now
        now=$(md5sum <"$run/$name.xwd")
        [ "$now" = "$previous" ] && break
        previous=$now
        sleep 0.3
    done
    convert "xwd:$run/$name.xwd" "$run/$name.png"
    w taskkill /IM "$exe" >/dev/null 2>&1 || true
    wait "$pid" || status=$?
    if [ "$status" != 0 ]; then
        echo "wincheck: FAIL $name: exit $status after WM_CLOSE" >&2
        case_failures=$((case_failures + 1))
    fi
}
# The settings of an earlier run: the program starts without the first-start question.
cp "$example" "$bench/initdig.txt"
window_case demo zmt4824-demo.exe
window_case program zmt4824.exe

# ---- 4. Ctrl-C during an exchange: Wine hands SIGINT to the console's control handler ----
rm -f "$lines"
(cd "$bench" && ZMT_PTY_LINE_LOG=$lines exec "$run/wine-run" wine "$cli" read --port COM1 \
    --lang en </dev/null >"$run/ctrl-c.out" 2>"$run/ctrl-c.err") &
interrupted=$!
(sleep "$TOOL_LIMIT_S" && kill -KILL "$interrupted" 2>/dev/null) &
watchdog=$!
for _ in $(seq 200); do grep -q TX "$lines" 2>/dev/null && break; sleep 0.05; done
kill -INT "$interrupted"
interrupt_status=0
wait "$interrupted" || interrupt_status=$?
kill "$watchdog" 2>/dev/null || true
if [ "$interrupt_status" != 130 ]; then
    echo "wincheck: FAIL ctrl-c: exit $interrupt_status, expected 130" >&2
    sed 's/^/    /' "$run/ctrl-c.err" >&2
    case_failures=$((case_failures + 1))
fi

# ---- 5. the port vanishes during an exchange: the simulator ends, its pseudo-terminal closes ----
rm -f "$lines"
(cd "$bench" && ZMT_PTY_LINE_LOG=$lines timeout "$TOOL_LIMIT_S" \
    "$run/wine-run" wine "$cli" read --port COM1 --lang en </dev/null >"$run/vanish.out" \
    2>"$run/vanish.err") &
vanish=$!
for _ in $(seq 200); do grep -q TX "$lines" 2>/dev/null && break; sleep 0.05; done
kill "$sim_pid"
vanish_status=0
wait "$vanish" || vanish_status=$?
echo "wincheck: the read whose port vanished ended with exit $vanish_status: $(tail -n 1 "$run/vanish.out")"
if [ "$vanish_status" = 0 ] || [ "$vanish_status" = 124 ]; then
    echo "wincheck: FAIL vanish: exit $vanish_status after the port went away" >&2
    case_failures=$((case_failures + 1))
fi


elapsed=$(($(date +%s) - started))
[ "$case_failures" = 0 ] || fail "$case_failures case(s) failed under Wine (see $run)"
echo "wincheck: $tests_run tests and the tool's and windows' cases passed under Wine in ${elapsed} s"
echo "wincheck: screenshots $run/demo.png $run/program.png"
