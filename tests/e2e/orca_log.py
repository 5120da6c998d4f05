#!/usr/bin/python3
"""Runs Orca with its debug log written line by line, for a test to wait on.

    orca_log.py SPEECH LOG ORCA [ARGS...]

Orca writes its debug file through a buffer of 8 KB, so what it just said
may sit there until it says much more. A file that is a terminal is written
line by line instead: Orca gets the far end of a pseudo-terminal as its
debug file, and every line that comes out goes to LOG, and the lines of what
it said (SPEECH OUTPUT) to SPEECH as well, each at once. Ends when Orca ends,
with its status; a TERM or INT is passed on to it.
"""
import os
import pty
import select
import signal
import subprocess
import sys
import tty


def main():
    speech_path, log_path, command = sys.argv[1], sys.argv[2], sys.argv[3:]
    master, slave = pty.openpty()
    tty.setraw(slave)  # no line-end translation, no echo
    orca = subprocess.Popen(command + ["--debug-file=" + os.ttyname(slave)])
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda number, frame: orca.send_signal(number))
    with open(speech_path, "a", encoding="utf-8") as speech, \
            open(log_path, "a", encoding="utf-8") as log:
        pending = b""
        while True:
            ended = orca.poll() is not None
            ready, _, _ = select.select([master], [], [], 0 if ended else 0.2)
            if not ready:
                if ended:
                    break
                continue
            pending += os.read(master, 65536)
            *lines, pending = pending.split(b"\n")
            for raw in lines:
                line = raw.decode("utf-8", "replace")
                log.write(line + "\n")
                if "SPEECH OUTPUT:" in line:
                    speech.write(line + "\n")
                    speech.flush()
            log.flush()
    return orca.wait()


if __name__ == "__main__":
    sys.exit(main())
