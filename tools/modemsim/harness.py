#!/usr/bin/python3
"""Starting and stopping the simulated modem from tests.

From Python:

    from harness import ModemSim
    with ModemSim(faults=['split'], reboot_time=0.5) as modem:
        sock = socket.create_connection(('127.0.0.1', modem.ports['zing']))
        ...
        assert modem.wait_journal('ZING version')

From any other language, run modemsim.py directly with --zing-port 0 (and so
on) and read the READY line, or prepare a file system with this module's
command line:

    harness.py make-root DIR [--version 5.2.0.12] [--dns A] [--dns2 B]
    harness.py make-image FILE --version 5.2.0.13 [--size BYTES]
"""

import argparse
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import modemroot  # noqa: E402

MODEMSIM = os.path.join(HERE, 'modemsim.py')
# Debian's interpreter carries pyftpdlib; another python3 on PATH may not.
PYTHON = '/usr/bin/python3' if os.path.exists('/usr/bin/python3') else sys.executable
READY_RE = re.compile(r'^READY zing=(\d+) ftp=(\d+) telnet=(\d+) at=(\d+)$')


def parse_ready(line):
    """{'zing': port, 'ftp': ..., 'telnet': ..., 'at': ...} or None."""
    m = READY_RE.match(line.strip())
    if not m:
        return None
    return dict(zip(('zing', 'ftp', 'telnet', 'at'), map(int, m.groups())))


class ModemSim:
    """The simulator as a child process on free loopback ports with a
    temporary file system (or `root`).  Stopped and cleaned up by stop() or
    at the end of a with block."""

    def __init__(self, version='5.2.0.12', faults=(), reboot_time=0.5, reflash_time=0.3,
                 root=None, init=True, extra=(), start_timeout=15.0):
        self.version = version
        self.faults = list(faults)
        self.reboot_time = reboot_time
        self.reflash_time = reflash_time
        self.init = init
        self.extra = list(extra)
        self.start_timeout = start_timeout
        self.dir = tempfile.mkdtemp(prefix='modemsim-')
        self.root = root or os.path.join(self.dir, 'modem')
        self.journal_path = os.path.join(self.dir, 'journal.log')
        self.stderr_path = os.path.join(self.dir, 'stderr.log')
        self.proc = None
        self.ports = None
        self.ready_line = None
        self.dead = None  # after start: True when the boot loader refused the image
        self._stdout = b''

    def command(self):
        cmd = [PYTHON, MODEMSIM, '--host', '127.0.0.1', '--root', self.root,
               '--zing-port', '0', '--ftp-port', '0', '--telnet-port', '0', '--at-port', '0',
               '--reboot-time', str(self.reboot_time), '--reflash-time', str(self.reflash_time),
               '--journal', self.journal_path]
        if self.init:
            cmd.append('--init')
        if self.version:
            cmd += ['--version', self.version]
        for fault in self.faults:
            cmd += ['--fault', fault]
        return cmd + self.extra

    def start(self):
        with open(self.stderr_path, 'wb') as err:
            self.proc = subprocess.Popen(self.command(), stdin=subprocess.DEVNULL,
                                         stdout=subprocess.PIPE, stderr=err)
        try:
            self.ready_line = self._read_line(self.start_timeout)
            self.ports = parse_ready(self.ready_line or '')
            if self.ports is None:
                raise RuntimeError('the simulated modem did not report READY (got %r): %s'
                                   % (self.ready_line, self.stderr()))
            # "DEAD" comes with READY in one write, or not at all.
            self.dead = self._stdout.startswith(b'DEAD\n')
        except BaseException:
            self.stop()
            raise
        return self

    def _read_line(self, timeout):
        fd = self.proc.stdout.fileno()
        data = self._stdout
        deadline = time.monotonic() + timeout
        while b'\n' not in data:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            readable, _, _ = select.select([fd], [], [], left)
            if readable:
                chunk = os.read(fd, 4096)
                if not chunk:
                    break
                data += chunk
        line, _, self._stdout = data.partition(b'\n')
        return line.decode('ascii', 'replace') if data else None

    def stderr(self):
        try:
            with open(self.stderr_path, encoding='utf-8', errors='replace') as f:
                return f.read()
        except OSError:
            return ''

    def journal(self):
        try:
            with open(self.journal_path, encoding='ascii', errors='replace') as f:
                return f.read().splitlines()
        except OSError:
            return []

    def wait_journal(self, line, timeout=5.0):
        """True once `line` (a string, or a predicate on a line) is in the journal."""
        match = line if callable(line) else (lambda l: l == line)
        deadline = time.monotonic() + timeout
        while True:
            if any(match(l) for l in self.journal()):
                return True
            if time.monotonic() >= deadline:
                return False
            time.sleep(0.02)

    def path(self, remote):
        """The local file behind a remote path like /bin/kova.bin."""
        return os.path.join(self.root, remote.lstrip('/'))

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def stop(self, timeout=5.0):
        """SIGTERM, then SIGKILL after `timeout`; returns the exit code."""
        if self.proc is None:
            return None
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        if self.proc.stdout is not None:
            self.proc.stdout.close()
        return self.proc.returncode

    def cleanup(self):
        self.stop()
        shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        if self.proc is None:
            self.start()
        return self

    def __exit__(self, *exc):
        self.cleanup()


def main(argv=None):
    p = argparse.ArgumentParser(prog='harness.py', description='Simulated modem helpers.')
    sub = p.add_subparsers(dest='command', required=True)
    root = sub.add_parser('make-root', help="create a modem's default file system")
    root.add_argument('dir')
    root.add_argument('--version', default=modemroot.DEFAULT_VERSION)
    root.add_argument('--dns', default=modemroot.DEFAULT_DNS)
    root.add_argument('--dns2', default=modemroot.DEFAULT_DNS2)
    image = sub.add_parser('make-image', help='write a firmware image naming its version')
    image.add_argument('file')
    image.add_argument('--version', required=True)
    image.add_argument('--size', type=int, default=modemroot.DEFAULT_IMAGE_SIZE)
    opts = p.parse_args(argv)
    try:
        if opts.command == 'make-root':
            modemroot.make_root(opts.dir, opts.version, opts.dns, opts.dns2)
        else:
            if opts.size < 0:
                raise ValueError('--size must not be negative')
            modemroot.write_atomic(opts.file, modemroot.image_bytes(opts.version, opts.size))
    except (OSError, ValueError) as err:
        print('harness: %s' % err, file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
