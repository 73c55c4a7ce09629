#!/usr/bin/env python3
"""Soak client: plays the programming software on the host side of a pty, or
over the network port as a pyserial client, and sends a long mix of frames
(status reads, monitor reads of every area, mode changes, download and
upload of a 60-word program), checking every reply.

Usage: soak.py LINE PID [FRAMES]
LINE is the host side of a pty, or a pyserial URL (rfc2217://HOST:PORT,
socket://HOST:PORT) opened at the controller's 9600 7E2. PID is the
simulator's process, whose resident memory is read after the first 1,000
frames and at the end. Exit status 0 when every reply came and was right
and the memory stayed within 5 %.
"""
import os
import select
import sys
import termios
import time
import tty

ACK = "@00MB000400004B*\r"
STATUS = {
    "PROGRAM": "@00MB00110000010E01000000000000000000003A*\r",
    "MONITOR": "@00MB00110000020E010000000000000000000039*\r",
    "RUN": "@00MB00110000040E01000000000000000000003F*\r",
}
MODE_CODE = {"PROGRAM": "0001", "MONITOR": "0002", "RUN": "0004"}
# The PROGRAM entry is answered with the RUN status frame, as the controller
# does; the other entries with the plain acknowledgement.
MODE_REPLY = {"PROGRAM": STATUS["RUN"], "MONITOR": ACK, "RUN": ACK}


def fcs(text):
    x = 0
    for c in text:
        x ^= ord(c)
    return "%02X" % x


def final(text):
    return text + fcs(text) + "*\r"


def middle(text):
    return text + fcs(text) + "\r"


# Inputs 00-07 copied to outputs 010.00-07; eleven rungs on the always-on
# bit drive work bits of IR 020; a load and an and; END. 60 words.
PROGRAM = []
for n in range(8):
    PROGRAM += ["80%02X" % (8 + n), "20A%X" % (8 + n), "8000"]
for n in range(11):
    PROGRAM += ["8FD5", "214%X" % (8 + n % 8), "8000"]
PROGRAM += ["8008", "C009", "1801"]
assert len(PROGRAM) == 60


def download_frames(words):
    frames = []
    text = "@00MB1286%02X0000000" % min(255, 2 * len(words)) + "".join(words[:23])
    i = 23
    while i < len(words):
        frames.append(middle(text))
        text = "".join(words[i:i + 31])
        i += 31
    frames.append(final(text))
    return frames


# Items of every area: IR, SR, HR, AR, LR, timers/counters (present value
# and flag), DM. Items whose value follows the inputs, the scan or the clock
# are only checked for shape.
ALL_ITEMS = ["0100", "0114", "0128", "02F4", "02FA", "02FE", "0000", "0302",
             "0406", "0408", "0806", "0CC8", "0C00", "13D0", "13FE", "0D00"]
VARYING = {"0100", "0114", "0128", "02FA", "02FC", "02FE"}
MONITOR_REQUESTS = [ALL_ITEMS] + [[item] for item in ALL_ITEMS] + [ALL_ITEMS[:5], ALL_ITEMS[8:]]


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError("no VmRSS")


class PtyLine:
    """The host side of a pty, raw."""

    def __init__(self, path):
        self.fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
        tty.setraw(self.fd)
        attrs = termios.tcgetattr(self.fd)
        attrs[3] &= ~termios.ECHO
        termios.tcsetattr(self.fd, termios.TCSANOW, attrs)

    def write(self, data):
        while data:
            n = os.write(self.fd, data)
            data = data[n:]

    def read(self, timeout):
        ready, _, _ = select.select([self.fd], [], [], timeout)
        return os.read(self.fd, 4096) if ready else b""


class UrlLine:
    """A pyserial client of the network port, at the controller's line."""

    def __init__(self, url, **line):
        import serial
        settings = dict(baudrate=9600, bytesize=7, parity="E", stopbits=2)
        settings.update(line)
        self.port = serial.serial_for_url(url, timeout=0, **settings)

    def write(self, data):
        self.port.write(data)

    def read(self, timeout):
        self.port.timeout = timeout
        return self.port.read(max(1, self.port.in_waiting))

    def close(self):
        self.port.close()


def open_line(name, **line):
    return UrlLine(name, **line) if "://" in name else PtyLine(name)


class Client:
    def __init__(self, path, **line):
        self.line = open_line(path, **line)
        self.pending = b""
        self.frames = 0
        self.missing = 0
        self.wrong = 0
        self.errors = []

    def ask(self, frame):
        """Sends one frame and returns the reply up to its CR, or None."""
        self.frames += 1
        self.line.write(frame.encode("ascii"))
        deadline = time.monotonic() + 5.0
        while b"\r" not in self.pending:
            left = deadline - time.monotonic()
            if left <= 0:
                break
            self.pending += self.line.read(left)
        if b"\r" not in self.pending:
            self.missing += 1
            self.note(f"frame {self.frames}: no reply to {frame!r}")
            self.pending = b""
            return None
        reply, _, self.pending = self.pending.partition(b"\r")
        return reply.decode("ascii", "replace") + "\r"

    def note(self, text):
        if len(self.errors) < 20:
            self.errors.append(text)

    def expect(self, frame, expected):
        reply = self.ask(frame)
        if reply is not None and reply != expected:
            self.wrong += 1
            self.note(f"frame {self.frames}: {frame!r} answered {reply!r}, expected {expected!r}")
        return reply


def check_fcs(reply):
    """A frame with an FCS: text, two hex digits, then '*\\r' or '\\r'."""
    body = reply[:-2] if reply.endswith("*\r") else reply[:-1]
    return len(body) > 2 and fcs(body[:-2]) == body[-2:]


def main():
    path, pid = sys.argv[1], int(sys.argv[2])
    total = int(sys.argv[3]) if len(sys.argv) > 3 else 100_000
    c = Client(path)
    mode = None
    reference_upload = None
    reference_monitor = {}
    rss_first = None
    # Memory is compared from after a warm-up, shorter on short runs. The
    # link monitor keeps its last 10,000 rows, two for each frame answered:
    # until 5,000 frames have passed it is still filling, which is growth by
    # design, not a leak.
    warm_up = min(5000, total // 2)
    inputs_seen = set()
    start = time.monotonic()
    step = 0
    dl = download_frames(PROGRAM)

    def set_mode(m):
        nonlocal mode
        c.expect(final("@00MB0404" + MODE_CODE[m]), MODE_REPLY[m])
        mode = m

    set_mode("PROGRAM")
    while c.frames < total:
        if rss_first is None and c.frames >= warm_up:
            rss_first = rss_kib(pid)
        kind = step % 10
        step += 1
        if kind in (0, 5):
            c.expect(final("@00MB1A03"), STATUS[mode])
        elif kind in (1, 3, 6, 8):
            items = MONITOR_REQUESTS[(step // 10 + kind) % len(MONITOR_REQUESTS)]
            frame = final("@00MB3084%02X000" % (2 * len(items)) + "".join(items))
            reply = c.ask(frame)
            if reply is None:
                continue
            head = "@00MB0084%02X00," % (2 * len(items))
            body = reply[len(head):-4]
            ok = (reply.startswith(head) and reply.endswith("*\r") and check_fcs(reply)
                  and len(body) == 8 * len(items)
                  and all(ch in "0123456789ABCDEF" for ch in body))
            if ok:
                for i, item in enumerate(items):
                    if item == "0100":
                        inputs_seen.add(body[8 * i:8 * i + 4])
                    if item in VARYING:
                        continue
                    value = body[8 * i:8 * i + 8]
                    known = reference_monitor.setdefault((item, mode), value)
                    if value != known:
                        ok = False
            if not ok:
                c.wrong += 1
                c.note(f"frame {c.frames}: monitor {frame!r} answered {reply!r}")
        elif kind == 2:
            set_mode(["PROGRAM", "MONITOR", "RUN"][(step // 10) % 3])
        elif kind == 4:
            # A download is taken in PROGRAM mode, as the software does it.
            if mode != "PROGRAM":
                set_mode("PROGRAM")
            for i, frame in enumerate(dl):
                c.expect(frame, "\r" if i + 1 < len(dl) else ACK)
        elif kind == 7 and (step // 10) % 3 == 0:
            frames = []
            reply = c.ask(final("@00MB1107"))
            while reply is not None and not reply.endswith("*\r") and len(frames) < 100:
                frames.append(reply)
                reply = c.ask("\r")
            if reply is not None:
                frames.append(reply)
            if reference_upload is None and reply is not None:
                text = "".join(f[:-4] if f.endswith("*\r") else f[:-3] for f in frames)
                words = "".join(PROGRAM[:20])
                if words not in text or not all(check_fcs(f) for f in frames):
                    c.wrong += 1
                    c.note(f"upload does not carry the program: {frames[:2]!r}")
                reference_upload = frames
            elif frames != reference_upload:
                c.wrong += 1
                c.note(f"frame {c.frames}: upload differs from the first")
        else:
            c.expect(final("@00MB1A03"), STATUS[mode])
        if step % 5000 == 0:
            print(f"  {c.frames} frames, {time.monotonic() - start:.0f} s, "
                  f"{c.missing} missing, {c.wrong} wrong, RSS {rss_kib(pid)} KiB", flush=True)
    rss_end = rss_kib(pid)
    took = time.monotonic() - start
    growth = 100.0 * (rss_end - rss_first) / rss_first
    print(f"frames {c.frames}, time {took:.1f} s, missing {c.missing}, wrong {c.wrong}, "
          f"RSS after {warm_up} frames {rss_first} KiB, at the end {rss_end} KiB ({growth:+.2f} %), "
          f"{len(inputs_seen)} states of IR 000 seen")
    for e in c.errors:
        print("  " + e)
    return 0 if c.missing == 0 and c.wrong == 0 and abs(growth) <= 5.0 else 1


if __name__ == "__main__":
    sys.exit(main())
