#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_receive_path (layout: see ReceivePathFuzzer.cpp)."""
import os
import struct
import sys

START, TIMER, ARRIVE, NOTIFY, ECHO, PORT, END = 0, 1, 2, 3, 4, 5, 0xFF
VERYFIRST, FIRST, INIT, INIT1, INIT2, WRITE, TIMEOUT = range(7)
READ_FRAME, WRITE_FRAME, INTERFACE_CHECK, FREE_FRAME = range(4)
# The meter's image as it answers a read: the configuration of a first start.
IMAGE = bytes.fromhex("0000000000000108000000 00cf0fcf0f00001027e02e1027e02ee02ee02e0100".replace(" ", ""))


def start_up():
    return [START] + [b for t in (VERYFIRST, FIRST, INIT, INIT1, INIT2) for b in (TIMER, t)]


def answered(answers):
    """Every byte sent is echoed and answered, one notification each."""
    steps = []
    for answer in answers:
        steps += [TIMER, WRITE, ECHO, answer, NOTIFY, 0]
    return steps


def ended(steps, count=None):
    tail = [END, 0] if count is None else [END, 1] + list(struct.pack("<i", count))
    return steps + [TIMER, TIMEOUT] + tail


def seeds():
    read = start_up() + answered([0xA6] + list(IMAGE))
    write = start_up() + answered([0xA6] + list(IMAGE) + [0] * 32)
    yield "clean_read", [READ_FRAME] + ended(read)
    yield "clean_write", [WRITE_FRAME] + ended(write)
    yield "read_with_extra_byte", [READ_FRAME] + ended(read + [ARRIVE, 1, 0xFF, NOTIFY, 0])
    yield "interface_check", [INTERFACE_CHECK] + ended(start_up() + answered([0xA6]))
    yield "echo_only", [READ_FRAME] + ended(start_up() + [TIMER, WRITE, ARRIVE, 1, 0xA6, NOTIFY, 0])
    yield "no_interface", [READ_FRAME] + ended(start_up() + [TIMER, WRITE])
    yield "wrong_answer", [READ_FRAME] + ended(start_up() + answered([0x5A]))
    yield "garbage", [READ_FRAME] + ended(
        start_up() + [TIMER, WRITE, ARRIVE, 15] + list(b"\x13\x37\xa6\x00\xff\x80\x7f\x01\xfe\x55\xaa\xa6\xa6\x00\x10")
        + [NOTIFY, 3, NOTIFY, 0, NOTIFY, 255, ARRIVE, 3, 1, 2, 3, NOTIFY, 0])
    yield "bytes_during_power_up", [READ_FRAME] + ended(
        [START, ARRIVE, 2, 0xA6, 0xA6, NOTIFY, 0, TIMER, VERYFIRST, ARRIVE, 1, 9, NOTIFY, 0,
         TIMER, FIRST, TIMER, INIT, TIMER, INIT1, ARRIVE, 2, 7, 7, NOTIFY, 1, TIMER, INIT2]
        + answered([0xA6] + list(IMAGE[:6])))
    yield "notified_without_bytes", [READ_FRAME] + ended(
        start_up() + [NOTIFY, 0, NOTIFY, 5, TIMER, WRITE, NOTIFY, 0] + answered([0xA6]))
    yield "unplugged_mid_read", [READ_FRAME] + ended(read[:len(start_up()) + 6 * 10] + [PORT, 2] + answered([1, 2]))
    yield "reads_fail", [READ_FRAME] + ended(start_up() + [PORT, 1] + answered([0xA6, 1]) + [PORT, 0, NOTIFY, 0])
    yield "closed_by_hand_then_restarted", [READ_FRAME] + ended(
        start_up() + answered([0xA6, 1, 2]) + [PORT, 3, TIMER, TIMEOUT] + read)
    yield "count_beyond_int", [READ_FRAME] + ended(read, 0x7FFFFFFF)
    yield "count_negative", [READ_FRAME] + ended(read, -1)
    yield "free_frame_huge_expected", [FREE_FRAME] + list(struct.pack("<i", 0x7FFFFFFF)) + [0, 0xA6] + ended(
        start_up() + answered([0xA6] * 140))
    yield "free_frame_negative_expected", [FREE_FRAME] + list(struct.pack("<i", -2)) + [0, 0xA6] + ended(
        start_up() + answered([0xA6, 0xA6]))


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus", "receive_path")
    os.makedirs(target, exist_ok=True)
    for name, content in seeds():
        with open(os.path.join(target, name), "wb") as seed:
            seed.write(bytes(content))


if __name__ == "__main__":
    main()
