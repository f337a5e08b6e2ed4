#!/usr/bin/env python3
"""A relay between two ttys for the file transfer tests: copies every byte both
ways, but corrupts one byte of every Nth block the sender side sends and drops
one ACK the receiver side answers, so both ends must recover.

xfer_fault_relay.py SENDER_TTY RECEIVER_TTY EVERY_NTH_BLOCK DROP_ACK_NUMBER
Runs until either tty closes; prints what it changed on stderr.
"""
import os
import select
import sys
import termios
import tty

SOH, STX, ACK = 0x01, 0x02, 0x06
BLOCK_LENGTH = {SOH: 3 + 128 + 2, STX: 3 + 1024 + 2}


def open_raw(path):
    fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(fd, termios.TCSANOW)
    return fd


def write_all(fd, data):
    while data:
        data = data[os.write(fd, data):]


def main():
    sender, receiver = open_raw(sys.argv[1]), open_raw(sys.argv[2])
    every, drop_at = int(sys.argv[3]), int(sys.argv[4])
    blocks = acks = 0
    left = pos = 0  # bytes of the block under way still to pass, and passed
    spoil = False
    while True:
        ready, _, _ = select.select([sender, receiver], [], [])
        for fd in ready:
            try:
                data = bytearray(os.read(fd, 65536))
            except OSError:
                return
            if not data:
                return
            if fd == sender:
                for i, b in enumerate(data):
                    if left == 0 and b in BLOCK_LENGTH:
                        blocks += 1
                        left, pos = BLOCK_LENGTH[b], 0
                        spoil = blocks % every == 0
                    if left > 0:
                        if spoil and pos == 40:
                            data[i] ^= 0x55
                            print("relay: spoiled block %d" % blocks, file=sys.stderr)
                        pos += 1
                        left -= 1
                write_all(receiver, bytes(data))
            else:
                out = bytearray()
                for b in data:
                    if b == ACK:
                        acks += 1
                        if acks == drop_at:
                            print("relay: dropped ACK %d" % acks, file=sys.stderr)
                            continue
                    out.append(b)
                write_all(sender, bytes(out))


if __name__ == "__main__":
    main()
