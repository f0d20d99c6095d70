#!/bin/bash
# The command-line tool against the kernel's real serial drivers: a QEMU guest (plain
# emulation, no KVM) with Debian's kernel, an emulated FTDI adapter (ftdi_sio,
# /dev/ttyUSB0) and an emulated 16550 (8250, /dev/ttyS1). Their far ends are sockets of
# the host's bridge, where the simulated interface and meter answer; QEMU's trace tells
# the bridge the modem lines. The guest runs the cases, the bridge records them, the
# bridge's check judges them.
#   hwcheck.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$build/hw
run=$work/run
bridge=$build/sim/zmt4824-hw-bridge
# The whole guest run, boot included; a hang ends here with the cases so far.
GUEST_LIMIT_S=${GUEST_LIMIT_S:-210}

fail() {
    echo "hwcheck: $*" >&2
    exit 1
}

command -v qemu-system-x86_64 >/dev/null ||
    fail "qemu-system-x86_64 is missing (Debian package qemu-system-x86)"
[ -x "$bridge" ] || fail "the bridge $bridge is not built"
"$here/make-guest.sh" "$work" "$build/src/cli/zmt4824-cli"

rm -rf "$run"
mkdir -p "$run"
started=$(date +%s)

"$bridge" serve "$run" >"$run/bridge.out" 2>&1 &
bridge_pid=$!
stop_bridge() {
    kill "$bridge_pid" 2>/dev/null || true
    wait "$bridge_pid" 2>/dev/null || true
}
trap stop_bridge EXIT
for _ in $(seq 50); do grep -q ready "$run/bridge.out" 2>/dev/null && break; sleep 0.1; done
grep -q ready "$run/bridge.out" || fail "the bridge did not start: $(cat "$run/bridge.out")"

# The console is a virtio console, so that the only 16550 in the guest is the meter's
# (the trace of its register writes does not say which UART it is).
qemu_status=0
timeout --kill-after=5 "$GUEST_LIMIT_S" qemu-system-x86_64 \
    -machine pc,accel=tcg -m 768 -nodefaults -display none -no-reboot \
    -kernel "$work/vmlinuz" -initrd "$work/initramfs.gz" \
    -append "console=hvc0 panic=-1 quiet" \
    -device virtio-serial-pci \
    -chardev socket,id=console,path="$run/console.sock" -device virtconsole,chardev=console \
    -chardev socket,id=ftdi,path="$run/ftdi.sock" -usb -device usb-serial,chardev=ftdi \
    -chardev socket,id=uart,path="$run/uart.sock" -device isa-serial,chardev=uart,index=1 \
    -D "$run/trace.fifo" -trace usb_serial_handle_control -trace serial_write \
    >"$run/qemu.out" 2>&1 || qemu_status=$?
stop_bridge
trap - EXIT
elapsed=$(($(date +%s) - started))

if [ "$qemu_status" = 124 ] || [ "$qemu_status" = 137 ]; then
    echo "hwcheck: the guest did not finish within ${GUEST_LIMIT_S} s; its console:" >&2
    tail -n 30 "$run/console.log" >&2
elif [ "$qemu_status" != 0 ]; then
    fail "QEMU failed (exit $qemu_status): $(tail -n 5 "$run/qemu.out")"
fi
if grep -q '^@@hw boot-failed' "$run/console.log"; then
    fail "the guest could not start: $(grep '^@@hw boot-failed' "$run/console.log")"
fi
grep -q '^@@hw booted' "$run/console.log" ||
    fail "the guest did not boot; its console: $(tail -n 20 "$run/console.log")"

echo "hwcheck: guest ran ${elapsed} s; cases on ftdi_sio (/dev/ttyUSB0) and 8250 (/dev/ttyS1):"
"$bridge" check "$run"
