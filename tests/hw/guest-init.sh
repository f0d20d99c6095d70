#!/bin/sh
# The real-driver guest's init: loads the drivers, waits for the two serial devices, runs
# the command-line tool's cases and powers off. Each case is marked on the console with
# "@@hw begin NAME" and "@@hw end NAME EXIT" for the host's bridge, which records the
# modem lines and bytes of the case between the two.
/bin/busybox --install -s /bin
export PATH=/bin:/usr/bin HOME=/root LANG=C.UTF-8 LC_ALL=C.UTF-8
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
for module in $(cat /etc/modules.order); do insmod "/lib/modules/$module"; done

wait_for() {
    tries=0
    while [ ! -e "$1" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
}
wait_for /dev/hvc0
exec >/dev/hvc0 2>&1 </dev/null

fail_boot() {
    echo "@@hw boot-failed $*"
    poweroff -f
}
wait_for /dev/ttyUSB0
[ -e /dev/ttyUSB0 ] || fail_boot "no /dev/ttyUSB0 (ftdi_sio)"
grep -q '^1: uart:16550A' /proc/tty/driver/serial || fail_boot "no 16550 at ttyS1 (8250)"
echo "@@hw booted $(uname -r)"
cd /root

# run NAME COMMAND...: the case's output between its marks.
run() {
    name=$1
    shift
    echo "@@hw begin $name"
    "$@"
    echo "@@hw end $name $?"
}

calibrate_with_readings() {
    printf '0\n2000\n' | zmt4824-cli calibrate --port /dev/ttyUSB0 worked-example.dig
}

run ftdi-read-json zmt4824-cli read --json --port /dev/ttyUSB0
run ftdi-write-verify zmt4824-cli write --json --verify --port /dev/ttyUSB0 worked-example.dig
run ftdi-calibrate calibrate_with_readings
run ftdi-find zmt4824-cli find --yes
run ftdi-ports zmt4824-cli ports
run uart-read zmt4824-cli read --json --port /dev/ttyS1
run uart-write-verify zmt4824-cli write --json --verify --port /dev/ttyS1 worked-example.dig
# The bridge pulls the adapter when the guest has sent 20 bytes of the frame.
echo "@@hw unplug-after 20"
run ftdi-unplug-mid-read zmt4824-cli read --port /dev/ttyUSB0
sleep 1
run ftdi-read-vanished zmt4824-cli read --port /dev/ttyUSB0
echo "@@hw done"
poweroff -f
