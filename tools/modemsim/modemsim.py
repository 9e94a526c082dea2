#!/usr/bin/python3
"""A simulated satellite IP modem on loopback.

It serves the four channels the upgrader talks to (the ZING request port, an
FTP server, the telnet console and the AT command port) and can show the
failures a field user meets.  README.md in this folder describes the
behaviour, the journal lines and the image format.

Only loopback addresses are accepted.  Prints one line,
"READY zing=PORT ftp=PORT telnet=PORT at=PORT", once everything listens;
SIGTERM, SIGINT or SIGHUP stop it.
"""

import argparse
import asyncio
import ctypes
import ipaddress
import os
import signal
import socket
import struct
import sys
import threading
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import modemroot  # noqa: E402
from modemroot import valid_ipv4, valid_version  # noqa: E402

CHANNELS = ('zing', 'ftp', 'telnet', 'at')
DEFAULT_PORTS = {'zing': 11827, 'ftp': 10021, 'telnet': 10023, 'at': 11829}

FAULTS = {
    'zing-closed': 'ZING port not listening',
    'zing-silent': 'ZING port accepts and never answers',
    'ftp-closed': 'FTP port not listening',
    'ftp-silent': 'FTP port accepts and never greets',
    'wrong-password': 'the FTP server expects another password (530)',
    'ftp-stall': 'transfers start, then no byte moves (optionally ftp-stall:<path>)',
    'ftp-drop': 'control and data connections dropped mid-transfer '
                '(optionally ftp-drop:<path>)',
    'ftp-endless': 'SIZE announces 100 GB and a download never ends '
                   '(optionally ftp-endless:<path>)',
    'ftp-cut:<N>[:<path>]': 'the first upload of that file (default /bin/kova.bin) stops '
                            'after N bytes, which replace the file; both connections reset',
    'ftp-cut-command:<K>': 'the K-th RETR, STOR, DELE or QUIT is not carried out; both '
                           'connections reset',
    'ftp-gone-after-cut': 'after a cut the FTP port refuses until the process ends',
    'flash-error': 'every upload of /bin/kova.bin (or flash-error:<path>) is stored with '
                   'one byte changed',
    'flash-error-once': 'as flash-error, for the first such upload only',
    'boot-check': 'a restart into an image that did not arrive whole leaves the modem dead',
    'missing:<path>': 'that remote file is absent (e.g. missing:/checksum.txt)',
    'telnet-closed': 'telnet port not listening',
    'telnet-silent': 'telnet port accepts and never sends anything',
    'telnet-busy': 'every telnet connection gets "Sorry" and is closed',
    'at-closed': 'AT port not listening',
    'at-silent': 'AT port accepts and never answers',
    'at-error': 'every AT command is answered ERROR',
    'split': 'ZING, telnet and AT replies go out in pieces of --chunk bytes',
}
# At most one of each group: they are different states of the same port.
EXCLUSIVE = (
    ('zing-closed', 'zing-silent'),
    ('ftp-closed', 'ftp-silent'),
    ('telnet-closed', 'telnet-silent', 'telnet-busy'),
    ('at-closed', 'at-silent', 'at-error'),
)

ZING_VERSION = 4
ZING_RESET = 13
ZING_VERSION_REPLY = 4100
ZING_MAX_UNKNOWN = 16
BUILD_TAIL = ',build 7'

MAX_LINE = 1024
MAX_SESSIONS = 32  # per port
AT_REBOOT_DELAY = 0.2  # lets "OK" reach the peer before the connections go
DAEMON_DELAY = 0.2  # from a command's echo to its start under --telnet-mode daemon
IMAGE_REMOTE = '/' + modemroot.IMAGE_PATH
JOURNAL_WIDTH = 200

PROMPT = b'->'
BANNER = b'\r\nKOVA Satellite IP Modem console\r\n'
SORRY_IN_USE = b'Sorry, the console is in use by another session.\r\n'
SORRY_BUSY = b'Sorry, the console is busy.\r\n'
TELNET_HELP = (b'commands: mmi_prepare_for_download, pic_driver_reflash 1, version, '
               b'help, exit\r\n')


class StartupError(Exception):
    pass


# ---------------------------------------------------------------- journal

def printable(text, width=JOURNAL_WIDTH):
    """One journal-safe line: control and non-ASCII characters escaped."""
    out = []
    for ch in text:
        code = ord(ch)
        if 0x20 <= code < 0x7f:
            out.append(ch)
        elif code <= 0xff:
            out.append('\\x%02x' % code)
        else:
            out.append('\\u%04x' % code)
    line = ''.join(out)
    return line if len(line) <= width else line[:width] + '...'


class Journal:
    """One line per request, flushed at once; shared by the FTP thread."""

    def __init__(self, path=None, echo=False):
        self._lock = threading.Lock()
        self._file = open(path, 'w', encoding='ascii', newline='\n') if path else None
        self._echo = echo
        self._failed = False

    def __call__(self, text):
        line = printable(text)
        self._write(line, True)

    def trace(self, text):
        """A line for stderr only (with --verbose), not for the journal."""
        self._write(printable(text), False)

    def _write(self, line, to_file):
        with self._lock:
            if to_file and self._file is not None:
                try:
                    self._file.write(line + '\n')
                    self._file.flush()
                except OSError as err:
                    if not self._failed:
                        print('modemsim: cannot write the journal: %s' % err, file=sys.stderr)
                        self._failed = True
            if self._echo:
                print('modemsim: ' + line, file=sys.stderr, flush=True)

    def close(self):
        with self._lock:
            if self._file is not None:
                try:
                    self._file.close()
                except OSError:
                    pass
                self._file = None


# ---------------------------------------------------------------- line input

OVERLONG = object()


class TelnetFilter:
    """Strips telnet commands (IAC ...) from the byte stream; no negotiation
    is answered."""

    IAC, SB, SE = 255, 250, 240
    OPTION_CMDS = (251, 252, 253, 254)  # WILL WONT DO DONT

    def __init__(self):
        self.state = 'data'

    def __call__(self, data):
        out = bytearray()
        for b in data:
            s = self.state
            if s == 'data':
                if b == self.IAC:
                    self.state = 'iac'
                else:
                    out.append(b)
            elif s == 'iac':
                if b == self.IAC:
                    out.append(b)
                    self.state = 'data'
                elif b in self.OPTION_CMDS:
                    self.state = 'option'
                elif b == self.SB:
                    self.state = 'sb'
                else:
                    self.state = 'data'
            elif s == 'option':
                self.state = 'data'
            elif s == 'sb':
                if b == self.IAC:
                    self.state = 'sb-iac'
            elif s == 'sb-iac':
                self.state = 'data' if b == self.SE else 'sb'
        return bytes(out)


class LineReader:
    """Lines ended by LF (CR and NUL dropped).  A line longer than the limit
    comes back once as OVERLONG and the rest of it is discarded."""

    def __init__(self, reader, limit=MAX_LINE, filter=None):
        self.reader = reader
        self.limit = limit
        self.filter = filter
        self.buf = b''
        self.discarding = False

    async def readline(self):
        while True:
            end = self.buf.find(b'\n')
            if end >= 0:
                line, self.buf = self.buf[:end], self.buf[end + 1:]
                if self.discarding:
                    self.discarding = False
                    continue
                if len(line) > self.limit:
                    return OVERLONG
                return line.replace(b'\r', b'').replace(b'\0', b'')
            if len(self.buf) > self.limit:
                self.buf = b''
                if not self.discarding:
                    self.discarding = True
                    return OVERLONG
            data = await self.reader.read(4096)
            if not data:
                return None
            self._add(data)

    def _add(self, data):
        if self.filter is not None:
            data = self.filter(data)
        self.buf += data

    async def closes_within(self, seconds):
        """True when the peer ends the stream (FIN or RST) within `seconds`.
        What it sends meanwhile is kept for readline."""
        loop = asyncio.get_running_loop()
        deadline = loop.time() + seconds
        while (left := deadline - loop.time()) > 0:
            if len(self.buf) > 4 * self.limit:
                await asyncio.sleep(left)
                return self.reader.at_eof()
            try:
                data = await asyncio.wait_for(self.reader.read(4096), left)
            except asyncio.TimeoutError:
                return False
            except (ConnectionError, OSError):
                return True
            if not data:
                return True
            self._add(data)
        return False


# ---------------------------------------------------------------- the modem

async def forever():
    await asyncio.get_running_loop().create_future()


def reset(transport):
    """Drops a connection with RST, as a modem that goes down does."""
    sock = transport.get_extra_info('socket')
    if sock is not None:
        try:
            sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack('ii', 1, 0))
        except OSError:
            pass
    transport.abort()


class Ghosts:
    """Connections of a modem that went down, silently or after a FIN of its
    own.  Bytes the peer sends are lost while the modem is down; once it is up
    again they are answered with RST, as a modem that has forgotten the
    connection does.  A peer that closes is let go."""

    def __init__(self, modem):
        self.modem = modem
        self.socks = set()

    def add(self, fd, fin=False):
        sock = socket.socket(fileno=fd)
        sock.setblocking(False)
        if fin:
            try:
                sock.shutdown(socket.SHUT_WR)
            except OSError:
                pass
        self.socks.add(sock)
        asyncio.get_running_loop().add_reader(sock, self._readable, sock)

    def _readable(self, sock):
        try:
            data = sock.recv(65536)
        except BlockingIOError:
            return
        except OSError:
            data = b''
        if data and self.modem.rebooting:
            return
        if data:
            self.modem.journal('GHOST data, reset')
        self._drop(sock, rst=bool(data))

    def _drop(self, sock, rst):
        asyncio.get_running_loop().remove_reader(sock)
        self.socks.discard(sock)
        if rst:
            try:
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack('ii', 1, 0))
            except OSError:
                pass
        sock.close()

    def close_all(self):
        for sock in list(self.socks):
            self._drop(sock, rst=True)


class Modem:
    def __init__(self, opts, journal):
        self.opts = opts
        self.journal = journal
        self.trace = journal.trace
        self.host = opts.host
        self.root = os.path.realpath(opts.root)
        self.faults = set(opts.fault_names)
        self.missing = opts.missing
        self.version = opts.running_version
        self.dns, self.dns2 = opts.dns_values
        self.split = 'split' in self.faults
        self.placeholders = {}
        self.ports = {}
        self.servers = {}
        self.ftp = None
        self.sessions = {ch: set() for ch in CHANNELS}
        self.console = None  # the telnet session that holds the console
        self.reboot_task = None
        self.rebooting = False
        self.dead = False  # refused by its boot loader: every port refuses
        self.ftp_faults = None  # one for the whole run: some faults fire once
        self.stop_event = None
        self.exit_code = 0
        self.ghosts = Ghosts(self)

    # -- ports and listeners

    def mode(self, channel):
        if channel == 'ftp' and self.ftp_faults is not None and self.ftp_faults.gone:
            return 'closed'
        for kind in ('closed', 'silent'):
            if '%s-%s' % (channel, kind) in self.faults:
                return kind
        return 'normal'

    def reserve_ports(self):
        # A bound socket that never listens holds each port for the whole
        # run, so a port stays ours while its listener is down and connects
        # to it are refused.
        for ch in CHANNELS:
            s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            port = getattr(self.opts, ch + '_port')
            try:
                s.bind((self.host, port))
            except OSError as err:
                s.close()
                raise StartupError('cannot use %s:%d for %s: %s (0 picks a free port)'
                                   % (self.host, port, ch, err.strerror))
            self.placeholders[ch] = s
            self.ports[ch] = s.getsockname()[1]

    def listener(self, channel):
        s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        try:
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            s.bind((self.host, self.ports[channel]))
            s.listen(64)
            s.setblocking(False)
        except OSError as err:
            s.close()
            raise StartupError('cannot listen on %s:%d for %s: %s'
                               % (self.host, self.ports[channel], channel, err.strerror))
        return s

    async def start_services(self):
        try:
            for ch in CHANNELS:
                mode = self.mode(ch)
                if mode == 'closed':
                    continue
                sock = self.listener(ch)
                if ch == 'ftp' and mode == 'normal':
                    import simftp
                    if self.ftp_faults is None:
                        opts = self.opts
                        self.ftp_faults = simftp.FtpFaults(
                            wrong_password='wrong-password' in self.faults,
                            stall=opts.ftp_stall, drop=opts.ftp_drop, endless=opts.ftp_endless,
                            cut=opts.ftp_cut, cut_command=opts.ftp_cut_command,
                            gone_after_cut='ftp-gone-after-cut' in self.faults,
                            flash_error=opts.flash_error,
                            flash_error_once=opts.flash_error_once, keep_whole=True)
                    trace = self.trace if self.opts.verbose else None
                    self.ftp = simftp.FtpService(self.root, self.journal, self.ftp_faults,
                                                 trace, self.opts.ftp_rate)
                    self.ftp.start(sock)
                    continue
                handler = self.silent(ch) if mode == 'silent' else getattr(self, ch)
                self.servers[ch] = await asyncio.start_server(
                    self.session(ch, handler), sock=sock, limit=65536)
        except BaseException:
            await self.stop_services()
            raise

    async def stop_services(self, manner='reset'):
        """Takes every port down.  What open connections see: 'reset' RST,
        'vanish' nothing at all (no FIN, no RST), 'close' FIN."""
        for server in self.servers.values():
            server.close()
        self.servers.clear()
        tasks = []
        kept = []
        keep = manner in ('vanish', 'close')
        for sessions in self.sessions.values():
            for task, transport in list(sessions):
                if keep:
                    sock = transport.get_extra_info('socket')
                    if sock is not None:
                        try:
                            kept.append(os.dup(sock.fileno()))
                        except OSError:
                            pass
                if manner == 'close':
                    transport.abort()  # the duplicate holds the connection for its FIN
                else:
                    reset(transport)
                task.cancel()
                tasks.append(task)
        if self.ftp is not None:
            self.ftp.stop(abort=manner != 'close', keep=kept if keep else None)
            self.ftp = None
        for fd in kept:
            self.ghosts.add(fd, fin=manner == 'close')
        if tasks:
            await asyncio.wait(tasks, timeout=1)
        self.console = None

    def session(self, channel, handler):
        sessions = self.sessions[channel]

        async def run(reader, writer):
            transport = writer.transport
            if len(sessions) >= MAX_SESSIONS or self.rebooting:
                reset(transport)
                return
            entry = (asyncio.current_task(), transport)
            sessions.add(entry)
            try:
                await handler(reader, writer)
            except asyncio.CancelledError:
                reset(transport)
            except (ConnectionError, OSError):
                reset(transport)
            except Exception:
                traceback.print_exc(file=sys.stderr)
                reset(transport)
            finally:
                sessions.discard(entry)
                if not transport.is_closing():
                    transport.close()
        return run

    async def send(self, writer, data):
        if self.split:
            chunk, gap = self.opts.chunk, self.opts.gap
            for i in range(0, len(data), chunk):
                if i:
                    await asyncio.sleep(gap)
                writer.write(data[i:i + chunk])
                await writer.drain()
        else:
            writer.write(data)
            await writer.drain()

    # -- reboot

    def request_reboot(self):
        if not self.rebooting:
            self.rebooting = True
            self.reboot_task = asyncio.create_task(self.reboot())

    def boot(self):
        """The boot loader: False when it refuses the image on the flash."""
        image = os.path.join(self.root, modemroot.IMAGE_PATH)
        version = modemroot.image_version(image)
        if version:
            self.version = version
        if 'boot-check' not in self.faults:
            return True
        try:
            whole = modemroot.read_whole(self.root) or set()
        except OSError:
            whole = set()
        if modemroot.file_digest(image) not in whole:
            self.journal('BOOT refused image')
            self.dead = True
            return False
        self.journal('BOOT ok version=%s' % self.version)
        return True

    async def reboot(self):
        try:
            await self.stop_services(self.opts.on_reboot)
            self.journal('REBOOT begin')  # down: nothing answers from here on
            await asyncio.sleep(self.opts.reboot_time)
            if not self.boot():
                self.ghosts.close_all()
                return
            self.rebooting = False
            await self.start_services()
            self.journal('REBOOT end version=%s' % self.version)
        except asyncio.CancelledError:
            pass
        except StartupError as err:
            print('modemsim: after reboot: %s' % err, file=sys.stderr)
            self.exit_code = 1
            self.stop_event.set()
        finally:
            self.rebooting = False

    # -- ZING

    def version_reply(self):
        text = (self.version + BUILD_TAIL).encode('ascii')
        return struct.pack('>II', ZING_VERSION_REPLY, 0) + text + b'\0'

    async def zing(self, reader, writer):
        buf = b''
        unknown = 0
        while True:
            data = await reader.read(4096)
            if not data:
                return
            buf += data
            while len(buf) >= 4:
                request, buf = buf[:4], buf[4:]
                code = int.from_bytes(request, 'big')
                if code == ZING_VERSION:
                    self.journal('ZING version')
                    await self.send(writer, self.version_reply())
                elif code == ZING_RESET:
                    # No answer: the modem just goes down.
                    self.journal('ZING reset')
                    self.request_reboot()
                    await forever()
                else:
                    self.journal('ZING unknown %s' % request.hex())
                    unknown += 1
                    if unknown >= ZING_MAX_UNKNOWN:
                        self.journal('ZING garbage, closed')
                        return

    # -- telnet

    async def telnet(self, reader, writer):
        if 'telnet-busy' in self.faults or self.console is not None:
            self.journal('TELNET sorry')
            await self.send(writer, SORRY_BUSY if 'telnet-busy' in self.faults else SORRY_IN_USE)
            return
        me = asyncio.current_task()
        self.console = me
        try:
            await self.send(writer, BANNER + PROMPT)
            lines = LineReader(reader, filter=TelnetFilter())
            while True:
                line = await lines.readline()
                if line is None:
                    return
                if line is OVERLONG:
                    self.journal('TELNET overlong line')
                    await self.send(writer, b'\r\nError: line too long.\r\n' + PROMPT)
                    continue
                command = line.decode('latin-1').strip()
                if not command:
                    await self.send(writer, PROMPT)
                    continue
                if self.opts.telnet_mode == 'daemon':
                    # The daemon echoes at once and starts the job a little
                    # later; a session closed by then takes the job with it.
                    await self.send(writer, command.encode('latin-1') + b'\r\n')
                    if await lines.closes_within(DAEMON_DELAY):
                        self.journal('TELNET dropped ' + command)
                        return
                    self.journal('TELNET ' + command)
                else:
                    self.journal('TELNET ' + command)
                    await self.send(writer, command.encode('latin-1') + b'\r\n')
                if not await self.console_command(command, writer):
                    return
        finally:
            if self.console is me:
                self.console = None

    async def console_command(self, command, writer):
        """Runs one console command after its echo; False ends the session."""
        words = command.split()
        if command == 'mmi_prepare_for_download':
            await self.send(writer, b'Prepared for software download.\r\n' + PROMPT)
        elif words and words[0] == 'pic_driver_reflash':
            if words[1:] != ['1']:
                await self.send(writer, b'usage: pic_driver_reflash 1\r\n' + PROMPT)
            elif not os.path.isfile(os.path.join(self.root, 'pic.hex')):
                self.journal('TELNET reflash failed, no /pic.hex')
                await self.send(writer, b'Error: /pic.hex not found.\r\n' + PROMPT)
            else:
                await asyncio.sleep(self.opts.reflash_time)
                self.journal('TELNET reflash completed')
                await self.send(writer, b'Completed\r\n' + PROMPT)
        elif command == 'version':
            await self.send(writer, (self.version + BUILD_TAIL).encode('ascii')
                            + b'\r\n' + PROMPT)
        elif command == 'help':
            await self.send(writer, TELNET_HELP + PROMPT)
        elif command in ('exit', 'logout', 'quit'):
            await self.send(writer, b'Bye.\r\n')
            return False
        else:
            await self.send(writer, words[0].encode('latin-1')[:64]
                            + b': command not found\r\n' + PROMPT)
        return True

    # -- AT

    async def at(self, reader, writer):
        lines = LineReader(reader)
        while True:
            line = await lines.readline()
            if line is None:
                return
            if line is OVERLONG:
                self.journal('AT overlong line')
                await self.send(writer, b'ERROR\r\n')
                continue
            command = line.decode('latin-1').strip()
            if not command:
                continue
            self.journal('AT ' + command)
            if 'at-error' in self.faults:
                await self.send(writer, b'ERROR\r\n')
                continue
            reply, reboot = self.at_command(command)
            await self.send(writer, reply)
            if reboot:
                await asyncio.sleep(AT_REBOOT_DELAY)
                self.request_reboot()
                await forever()

    def at_command(self, command):
        """(reply bytes, reboot afterwards)"""
        if command == 'AT':
            return b'OK\r\n', False
        if command == 'AT_IHIP?':
            return ('DNS: %s\r\nDNS2: %s\r\nOK\r\n' % (self.dns, self.dns2)).encode('ascii'), False
        if command == 'AT+CFUN=1,1':
            return b'OK\r\n', True
        prefix = 'AT_IHIP="'
        if command.startswith(prefix) and command.endswith('"'):
            label, sep, address = command[len(prefix):-1].partition('","')
            if sep and label in ('DNS', 'DNS2') and valid_ipv4(address):
                if label == 'DNS':
                    self.dns = address
                else:
                    self.dns2 = address
                try:
                    modemroot.write_dns(self.root, self.dns, self.dns2)
                except OSError as err:
                    print('modemsim: cannot write %s: %s' % (modemroot.DNS_FILE, err),
                          file=sys.stderr)
                return b'OK\r\n', False
        return b'ERROR\r\n', False

    # -- silent ports

    def silent(self, channel):
        name = channel.upper()

        async def handler(reader, writer):
            self.journal('%s connect (silent)' % name)
            while await reader.read(4096):
                pass
        return handler

    # -- run

    async def run(self):
        loop = asyncio.get_running_loop()
        self.stop_event = asyncio.Event()
        for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            loop.add_signal_handler(signum, self.stop_event.set)
        try:
            self.reserve_ports()
            alive = self.boot()
            if alive:
                await self.start_services()
            p = self.ports
            # A dead modem still holds its ports (they refuse), so a test
            # tells it from one that did not start.
            sys.stdout.write('READY zing=%d ftp=%d telnet=%d at=%d\n%s'
                             % (p['zing'], p['ftp'], p['telnet'], p['at'],
                                '' if alive else 'DEAD\n'))
            sys.stdout.flush()
            await self.stop_event.wait()
        finally:
            if self.reboot_task is not None and not self.reboot_task.done():
                self.reboot_task.cancel()
                await asyncio.wait([self.reboot_task], timeout=1)
            await self.stop_services()
            self.ghosts.close_all()
            for s in self.placeholders.values():
                s.close()
            self.placeholders.clear()
        return self.exit_code


# ---------------------------------------------------------------- command line

def _port(text):
    try:
        value = int(text)
    except ValueError:
        raise argparse.ArgumentTypeError('not a port number: %r' % text)
    if not 0 <= value <= 65535:
        raise argparse.ArgumentTypeError('port out of range 0..65535: %d' % value)
    return value


def _seconds(text):
    try:
        value = float(text)
    except ValueError:
        raise argparse.ArgumentTypeError('not a number of seconds: %r' % text)
    if not 0 <= value <= 3600:
        raise argparse.ArgumentTypeError('seconds out of range 0..3600: %s' % text)
    return value


def _chunk(text):
    try:
        value = int(text)
    except ValueError:
        raise argparse.ArgumentTypeError('not a byte count: %r' % text)
    if not 1 <= value <= 65536:
        raise argparse.ArgumentTypeError('chunk out of range 1..65536: %d' % value)
    return value


def _rate(text):
    try:
        value = int(text)
    except ValueError:
        raise argparse.ArgumentTypeError('not a number of bytes: %r' % text)
    if not 0 <= value <= 10**10:
        raise argparse.ArgumentTypeError('rate out of range 0..10000000000: %d' % value)
    return value


def _version(text):
    if not valid_version(text):
        raise argparse.ArgumentTypeError('not a version in display form (like 5.2.0.12): %r'
                                         % text)
    return text


def in_own_namespace():
    """True in a network namespace other than the machine's own, as `ip netns
    exec` gives a test: not the one of process 1 (where that can be read),
    and with no default route, so nothing beyond its own links is reached."""
    try:
        if os.stat('/proc/self/ns/net').st_ino == os.stat('/proc/1/ns/net').st_ino:
            return False
    except OSError:
        pass  # another user's process 1: the routes decide
    try:
        with open('/proc/net/route') as routes:
            next(routes, None)
            for line in routes:
                fields = line.split()
                if len(fields) > 7 and fields[1] == '00000000' and fields[7] == '00000000':
                    return False
        with open('/proc/net/ipv6_route') as routes:
            for line in routes:
                fields = line.split()
                if fields and fields[0] == '0' * 32 and fields[1] == '00' and \
                        fields[-1] != 'lo':
                    return False
    except OSError:
        return False
    return True


def _count(text, least):
    try:
        value = int(text)
    except ValueError:
        raise ValueError('not a count: %r' % text)
    if not least <= value <= 10**12:
        raise ValueError('count out of range %d..%d: %d' % (least, 10**12, value))
    return value


def _address(text):
    if not valid_ipv4(text):
        raise argparse.ArgumentTypeError('not an IPv4 address: %r' % text)
    return text


def _remote_path(text):
    if not text.startswith('/') or '\0' in text:
        raise ValueError('a remote path starts with "/": %r' % text)
    parts = [p for p in text.split('/') if p]
    if not parts or any(p in ('.', '..') for p in parts):
        raise ValueError('not a file path inside the modem: %r' % text)
    return '/' + '/'.join(parts)


def build_parser():
    p = argparse.ArgumentParser(
        prog='modemsim.py',
        description='Simulated satellite IP modem (ZING, FTP, telnet, AT) on loopback.',
        epilog='faults: ' + '; '.join('%s: %s' % kv for kv in FAULTS.items()))
    p.add_argument('--host', default='127.0.0.1',
                   help='loopback address to listen on (127.0.0.0/8 only, unless '
                        '--own-namespace)')
    p.add_argument('--own-namespace', action='store_true',
                   help='allow any --host, such as the factory address 192.168.128.100: only '
                        "in a network namespace other than the machine's own, with no default "
                        "route (a test's)")
    for ch in CHANNELS:
        p.add_argument('--%s-port' % ch, type=_port, default=DEFAULT_PORTS[ch],
                       metavar='PORT', help='default %d; 0 picks a free port'
                       % DEFAULT_PORTS[ch])
    p.add_argument('--root', required=True, metavar='DIR', help="the modem's file system")
    p.add_argument('--init', action='store_true',
                   help='(re)create the default tree in --root first')
    p.add_argument('--version', type=_version, metavar='V',
                   help='running version (display form) when bin/kova.bin names none; '
                        'with --init, the version of the image written')
    p.add_argument('--dns', type=_address, help='primary DNS server (default 10.0.0.1)')
    p.add_argument('--dns2', type=_address, help='secondary DNS server (default 10.0.0.2)')
    p.add_argument('--reboot-time', type=_seconds, default=3.0, metavar='SECONDS')
    p.add_argument('--reflash-time', type=_seconds, default=2.0, metavar='SECONDS')
    p.add_argument('--telnet-mode', choices=('direct', 'daemon'), default='direct',
                   help='daemon: each command is echoed at once and runs %d ms later, '
                        'unless the session has closed by then' % (DAEMON_DELAY * 1000))
    p.add_argument('--on-reboot', choices=('vanish', 'reset', 'close'), default='vanish',
                   help='what open connections see when the modem restarts: nothing, as '
                        'with a modem losing power (default), an immediate RST, or a FIN')
    p.add_argument('--journal', metavar='FILE', help='one line per request received')
    p.add_argument('--fault', action='append', default=[], metavar='NAME',
                   help='repeatable; see the list below')
    p.add_argument('--ftp-rate', type=_rate, default=0, metavar='BYTES',
                   help='bytes a second an FTP transfer moves at most (default: no bound)')
    p.add_argument('--chunk', type=_chunk, default=4, metavar='N',
                   help='piece size for the split fault (default 4)')
    p.add_argument('--gap', type=_seconds, default=0.05, metavar='SECONDS',
                   help='pause between pieces for the split fault (default 0.05)')
    p.add_argument('--verbose', action='store_true',
                   help='journal lines, and every FTP command and reply, also to stderr')
    p.add_argument('--no-exit-with-parent', dest='exit_with_parent', action='store_false',
                   help='keep running when the parent process ends')
    return p


def parse_args(argv=None):
    parser = build_parser()
    opts = parser.parse_args(argv)
    try:
        address = ipaddress.ip_address(opts.host)
    except ValueError:
        parser.error('--host must be a numeric loopback address, e.g. 127.0.0.1: %r'
                     % opts.host)
    if address.version != 4:
        parser.error('--host must be an IPv4 address: %s' % opts.host)
    if address not in ipaddress.ip_network('127.0.0.0/8'):
        if not opts.own_namespace:
            parser.error('--host must lie in 127.0.0.0/8: %s' % opts.host)
        if not in_own_namespace():
            parser.error("--own-namespace: this process runs in the machine's own network "
                         'namespace, or in one with a default route')

    names, missing = set(), set()
    cut = cut_command = None
    flash = {'flash-error': set(), 'flash-error-once': set()}
    # None (off), True (every file) or the paths named.
    rules = dict.fromkeys(('ftp-stall', 'ftp-drop', 'ftp-endless'))
    for fault in opts.fault:
        name, colon, arg = fault.partition(':')
        try:
            if name == 'missing' and colon:
                missing.add(_remote_path(arg))
                continue
            if name in rules and colon:
                rule = rules[name]
                rules[name] = rule if rule is True else (rule or set()) | {_remote_path(arg)}
                continue
            if name == 'ftp-cut' and colon:
                if cut is not None:
                    raise ValueError('only one ftp-cut a run')
                count, colon, path = arg.partition(':')
                cut = (_remote_path(path) if colon else IMAGE_REMOTE, _count(count, 0))
                continue
            if name == 'ftp-cut-command' and colon:
                if cut_command is not None:
                    raise ValueError('only one ftp-cut-command a run')
                cut_command = _count(arg, 1)
                continue
            if name in flash:
                flash[name].add(_remote_path(arg) if colon else IMAGE_REMOTE)
                continue
        except ValueError as err:
            parser.error('--fault %s: %s' % (fault, err))
        if colon or name not in FAULTS or name == 'missing:<path>':
            parser.error('unknown fault %r; known: %s' % (fault, ', '.join(FAULTS)))
        names.add(name)
        if name in rules:
            rules[name] = True
    for group in EXCLUSIVE:
        chosen = [g for g in group if g in names]
        if len(chosen) > 1:
            parser.error('faults %s exclude each other' % ' and '.join(chosen))
    opts.fault_names = names
    opts.missing = missing
    opts.ftp_stall, opts.ftp_drop, opts.ftp_endless = rules.values()
    opts.ftp_cut, opts.ftp_cut_command = cut, cut_command
    opts.flash_error, opts.flash_error_once = flash.values()
    return opts


def prepare_root(opts):
    """Sets up --root and fills in the running version and DNS values."""
    root = opts.root
    try:
        if opts.init:
            modemroot.make_root(root, opts.version or modemroot.DEFAULT_VERSION,
                                opts.dns or modemroot.DEFAULT_DNS,
                                opts.dns2 or modemroot.DEFAULT_DNS2)
        elif not os.path.isdir(root):
            raise StartupError('no modem file system at %s (use --init to create one)' % root)
        elif modemroot.read_whole(root) is None:
            modemroot.record_present_image(root)
        for path in sorted(opts.missing):
            full = os.path.join(root, path.lstrip('/'))
            if os.path.isdir(full) and not os.path.islink(full):
                raise StartupError('missing:%s names a directory' % path)
            if os.path.lexists(full):
                os.unlink(full)
        stored = modemroot.read_dns(root) or (modemroot.DEFAULT_DNS, modemroot.DEFAULT_DNS2)
        opts.dns_values = (opts.dns or stored[0], opts.dns2 or stored[1])
        modemroot.write_dns(root, *opts.dns_values)
    except (OSError, ValueError) as err:
        raise StartupError('cannot prepare %s: %s' % (root, err))
    opts.running_version = (modemroot.image_version(os.path.join(root, modemroot.IMAGE_PATH))
                            or opts.version or modemroot.DEFAULT_VERSION)


def exit_with_parent():
    """Asks the kernel for SIGTERM when the parent goes, so that a crashed
    test run leaves no modem behind (Linux only; elsewhere a no-op)."""
    parent = os.getppid()
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(1, signal.SIGTERM, 0, 0, 0)  # PR_SET_PDEATHSIG
    except (OSError, AttributeError):
        return
    if os.getppid() != parent:
        os.kill(os.getpid(), signal.SIGTERM)


def main(argv=None):
    opts = parse_args(argv)
    if opts.exit_with_parent:
        exit_with_parent()
    journal = None
    try:
        prepare_root(opts)
        try:
            journal = Journal(opts.journal, echo=opts.verbose)
        except OSError as err:
            raise StartupError('cannot open the journal %s: %s' % (opts.journal, err.strerror))
        return asyncio.run(Modem(opts, journal).run())
    except StartupError as err:
        print('modemsim: %s' % err, file=sys.stderr)
        return 1
    except KeyboardInterrupt:
        return 0
    finally:
        if journal is not None:
            journal.close()


if __name__ == '__main__':
    sys.exit(main())
