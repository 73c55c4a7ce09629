#!/usr/bin/env python3
"""The programming software over the network port, as pyserial: the real
client of raw TCP and of RFC 2217. Run under the virtual X server beside the
program switched on in PROGRAM, with COM 1 mapped to URL; it switches the
simulator off and on itself with the window's Alt+W.

Usage: siec_klient.py URL WINDOW
Exit status 0 when every check held; the first failure is printed.
"""
import os
import signal
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tools", "soak"))
import serial  # noqa: E402
import soak  # noqa: E402

URL, WINDOW = sys.argv[1], sys.argv[2]
RFC2217 = URL.startswith("rfc2217://")
HOST, PORT = URL.split("://")[1].rsplit(":", 1)
STATUS = soak.final("@00MB1A03")


def fail(text):
    print(f"{URL}: {text}")
    sys.exit(1)


def check(condition, text):
    if not condition:
        fail(text)


def switch():
    """The panel's switch, pressed as the user does; then a moment to act."""
    subprocess.run(["xdotool", "windowfocus", "--sync", WINDOW, "key", "--clearmodifiers",
                    "alt+w"], check=True)
    time.sleep(0.5)


def expect(client, frame, reply, what):
    got = client.ask(frame)
    check(got == reply, f"{what}: {frame!r} answered {got!r}, expected {reply!r}")


def monitor_read(client):
    items = soak.ALL_ITEMS
    reply = client.ask(soak.final("@00MB3084%02X000" % (2 * len(items)) + "".join(items)))
    head = "@00MB0084%02X00," % (2 * len(items))
    check(reply is not None and reply.startswith(head) and soak.check_fcs(reply)
          and len(reply) == len(head) + 8 * len(items) + 4,
          f"the 16-item monitor read answered {reply!r}")


def download_and_upload(client):
    frames = soak.download_frames(soak.PROGRAM)
    for i, frame in enumerate(frames):
        expect(client, frame, "\r" if i + 1 < len(frames) else soak.ACK, "download")
    upload = []
    reply = client.ask(soak.final("@00MB1107"))
    while reply is not None and not reply.endswith("*\r") and len(upload) < 100:
        upload.append(reply)
        reply = client.ask("\r")
    check(reply is not None, "the upload stopped half way")
    upload.append(reply)
    check(all(soak.check_fcs(f) for f in upload), "an upload frame has a wrong FCS")
    # The controller gives 25 words and half of the 26th, then fill frames.
    first = "".join(soak.PROGRAM[:25]) + soak.PROGRAM[25][:2]
    check(first in upload[0], f"the upload does not give the words back: {upload[0]!r}")
    check(all(set(f[:-1]) == {"0"} for f in upload[1:-1]) and upload[-1] == "0" * 40 + "*\r",
          f"the upload's further frames: {upload[1:]!r}")


def raw_connection():
    return socket.create_connection((HOST.strip("[]"), int(PORT)), timeout=5)


def refused_while_busy(client):
    """A second connection while one is live is closed at once."""
    second = raw_connection()
    second.settimeout(2)
    try:
        second.sendall(STATUS.encode())
        check(second.recv(100) == b"", "a second client was answered")
    except (ConnectionResetError, BrokenPipeError):
        pass
    finally:
        second.close()
    expect(client, STATUS, soak.STATUS["RUN"], "the first client after the second")


def killed_mid_frame():
    """A client killed with half a frame sent; the next one is answered."""
    killed = subprocess.Popen([sys.executable, "-c", f"""
import os, signal, sys, time
sys.path.insert(0, {os.path.dirname(soak.__file__)!r})
import soak
line = soak.open_line({URL!r})
line.write(b"@00MB1A")
time.sleep(0.2)
os.kill(os.getpid(), signal.SIGKILL)
"""])
    killed.wait()
    check(killed.returncode == -signal.SIGKILL, f"the client to kill ended with {killed.returncode}")
    time.sleep(0.3)
    client = soak.Client(URL)
    expect(client, STATUS, soak.STATUS["RUN"], "the client after a killed one")
    return client


def silent_while_off(client):
    """Bytes sent while off get no reply after switch-on."""
    switch()
    if RFC2217:
        port = client.line.port
        check(not (port.dsr or port.cts or port.cd), "the modem lines stay on while off")
    client.line.write(STATUS.encode())
    check(client.line.read(0.5) == b"", "a frame was answered while off")
    switch()
    if RFC2217:
        port = client.line.port
        check(port.dsr and port.cts and port.cd, "the modem lines stay off after switch-on")
    check(client.line.read(0.5) == b"", "a frame sent while off was answered after switch-on")
    # Switched on again: the start mode, PROGRAM.
    expect(client, STATUS, soak.STATUS["PROGRAM"], "after switch-on")


def main():
    client = soak.Client(URL)
    if RFC2217:
        port = client.line.port
        check(port.dsr and port.cts and port.cd, "DSR, CTS and DCD are not on while on")
    expect(client, STATUS, soak.STATUS["PROGRAM"], "status")
    identity = client.ask(soak.final("@00MB2D04"))
    check(identity is not None and identity.startswith("@00MB008F") and soak.check_fcs(identity),
          f"the identity answered {identity!r}")
    download_and_upload(client)
    expect(client, soak.final("@00MB04040004"), soak.ACK, "RUN")
    expect(client, STATUS, soak.STATUS["RUN"], "status in RUN")
    monitor_read(client)
    refused_while_busy(client)
    client.line.close()

    client = killed_mid_frame()
    silent_while_off(client)
    client.line.close()

    # A client on another line than the controller's is answered all the same.
    other = soak.Client(URL, bytesize=8, parity="N", stopbits=1)
    expect(other, STATUS, soak.STATUS["PROGRAM"], "an 8N1 client")
    other.line.close()
    print(f"{URL}: status, identity, download and upload, mode change, monitor read, "
          "a refused second client, a killed client, silence while off"
          + (", the modem lines" if RFC2217 else "") + " and an 8N1 client: all as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
