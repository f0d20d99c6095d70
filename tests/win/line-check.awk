# Judges a line log of the pseudo-terminal library ("<ms> DTR=<0|1> RTS=<0|1>" at each change,
# "<ms> TX <n>" at each write) against the power sequence of the meter's exchanges:
#   want_states  the DTR/RTS states of the changes in order ("1/0 0/0 1/0")
#   want_bytes   the bytes of each exchange in order ("33 65 33")
# Every exchange starts 1600 ms or more after the power-up before it, every restart keeps
# the meter unpowered 500 ms or more, no power-up lasts less than 300 ms, and the
# calibration signal (RTS) stays off.
# Prints "ok" or the first fault.
BEGIN { jitter = 5; dtr = 0; exchanges = 0; fault = "" }
function note(text) { if (fault == "") fault = text }
$2 ~ /^DTR=/ {
    split($2, d, "="); split($3, r, "=")
    states = states (states == "" ? "" : " ") d[2] "/" r[2]
    if (r[2] == 1) note("RTS (the calibration signal) switched on at " $1)
    if (d[2] == 1 && dtr == 0) {
        if (offAt != "" && $1 - offAt < 500 - jitter)
            note(sprintf("unpowered only %.0f ms before the restart at %s", $1 - offAt, $1))
        onAt = $1; bytes = 0
    }
    if (d[2] == 0 && dtr == 1) {
        if (onAt != "" && $1 - onAt < 300 - jitter)
            note(sprintf("powered for only %.0f ms at %s", $1 - onAt, onAt))
        if (bytes > 0) counts = counts (counts == "" ? "" : " ") bytes
        bytes = 0; offAt = $1; onAt = ""
    }
    dtr = d[2]
    next
}
$2 == "TX" {
    if (dtr != 1) { note("a byte sent while the meter is unpowered at " $1); next }
    if (bytes == 0 && $1 - onAt < 1600 - jitter)
        note(sprintf("the exchange began %.0f ms after the power-up, not 1600", $1 - onAt))
    bytes += $3
}
END {
    if (bytes > 0) counts = counts (counts == "" ? "" : " ") bytes
    if (states != want_states) note("line changes \"" states "\", expected \"" want_states "\"")
    if (counts != want_bytes) note("bytes per exchange \"" counts "\", expected \"" want_bytes "\"")
    print (fault == "" ? "ok" : fault)
}
