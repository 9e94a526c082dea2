"""FTP server for the tests of the real FTP client, with fault switches.

Serves --root on 127.0.0.1 (port 0 unless --port), prints "PORT <n>" on
stdout once it listens, appends every command it receives to --log (the
password masked) and exits when its standard input closes, so a test
program that dies takes its server along.

Faults (--fault, on the data connection of --fault-on, after --fault-after
bytes of the file have been moved):
  stall  stop sending / receiving, keep both connections open
  drop   close the data and the control connection without a reply
  hold   move the whole file, then keep its final reply (226) back for
         --hold-seconds, as a modem does while it writes flash; logs
         "HOLD 226" when it starts holding and "RELEASE 226" when the time
         is up (also when the client has gone meanwhile)
--mute CMD   swallow that command (e.g. QUIT, DELE) and never answer it.
"""

import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

ARGS = None
LOG = None


def log_line(text):
    LOG.write(text + "\n")
    LOG.flush()


class FaultDTP(DTPHandler):
    def _fault_here(self, faults=("stall", "drop")):
        if ARGS.fault not in faults:
            return False
        cmd = "STOR" if self.receive else "RETR"
        return ARGS.fault_on in ("any", cmd)

    def _trip(self):
        if getattr(self, "_tripped", False):
            return
        self._tripped = True
        log_line("FAULT %s after %d" % (ARGS.fault, self.get_transmitted_bytes()))
        if ARGS.fault == "stall":
            self.ioloop.modify(self._fileno, 0)
        else:
            self._resp = ()
            self.cmd_channel.close()

    def send(self, data):
        if self._fault_here():
            room = ARGS.fault_after - self.tot_bytes_sent
            if room <= 0:
                self._trip()
                return 0
            data = data[:room]
        return DTPHandler.send(self, data)

    def handle_read(self):
        if self._fault_here() and self.tot_bytes_received >= ARGS.fault_after:
            self._trip()
            return
        DTPHandler.handle_read(self)

    # The loop calls this alias, which the base class binds to its own method.
    handle_read_event = handle_read

    def close(self):
        resp = self._resp
        if (not self._closed and resp and resp[0].startswith("226")
                and self._fault_here(("hold",))):
            self._resp = ()
            channel = self.cmd_channel
            log_line("HOLD 226")

            def release():
                log_line("RELEASE 226")
                if channel.connected:
                    channel.respond(resp[0])
            channel.ioloop.call_later(ARGS.hold_seconds, release,
                                      _errback=channel.handle_error)
        DTPHandler.close(self)


class LoggingHandler(FTPHandler):
    dtp_handler = FaultDTP
    auth_failed_timeout = 0  # the tests need no brute-force brake

    def on_connect(self):
        log_line("CONNECT")

    def pre_process_command(self, line, cmd, arg):
        log_line("PASS ******" if cmd == "PASS" else line)
        if ARGS.mute and cmd == ARGS.mute:
            return
        FTPHandler.pre_process_command(self, line, cmd, arg)


def main():
    global ARGS, LOG
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--port", type=int, default=0)
    p.add_argument("--user", default="kovauser")
    p.add_argument("--password", default="moonstone")
    p.add_argument("--log", required=True)
    p.add_argument("--fault", choices=["stall", "drop", "hold"])
    p.add_argument("--fault-on", choices=["RETR", "STOR", "any"], default="any")
    p.add_argument("--fault-after", type=int, default=0)
    p.add_argument("--hold-seconds", type=float, default=3)
    p.add_argument("--mute")
    p.add_argument("--max-seconds", type=float, default=300)
    ARGS = p.parse_args()
    LOG = open(ARGS.log, "a")
    logging.basicConfig(level=logging.ERROR)

    authorizer = DummyAuthorizer()
    authorizer.add_user(ARGS.user, ARGS.password, ARGS.root, perm="elradfmwMT")
    LoggingHandler.authorizer = authorizer
    if ARGS.fault:
        LoggingHandler.use_sendfile = False  # faults count bytes in send()
    server = FTPServer(("127.0.0.1", ARGS.port), LoggingHandler)

    def watch_parent():
        try:
            while sys.stdin.buffer.read(4096):
                pass
        finally:
            os._exit(0)

    threading.Thread(target=watch_parent, daemon=True).start()
    deadline = threading.Timer(ARGS.max_seconds, lambda: os._exit(3))
    deadline.daemon = True
    deadline.start()

    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
