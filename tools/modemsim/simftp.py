"""The modem's FTP server: pyftpdlib on its own IO loop in a thread of its own,
with the hooks the fault switches need.

pyftpdlib is not thread-safe, so everything that touches the server happens on
that thread; the asyncio side only starts it with a listening socket and asks
it to stop.

Run on its own (python3 simftp.py --root DIR --journal FILE [--wrong-password]
[--stall [PATH] | --drop [PATH] | --endless [PATH]] [--hold SECONDS]) it serves
the FTP channel alone on 127.0.0.1, for the tests of the tool's FTP client: it
prints "PORT <n>" once it listens and stops when its standard input closes.
"""

import argparse
import errno
import hashlib
import logging
import os
import posixpath
import socket
import struct
import sys
import threading
import traceback
import warnings

import modemroot

with warnings.catch_warnings():
    warnings.simplefilter('ignore', DeprecationWarning)  # asynchat, inside pyftpdlib
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.filesystems import AbstractedFS
    from pyftpdlib.handlers import FileProducer, FTPHandler, PassiveDTP, ThrottledDTPHandler
    from pyftpdlib.ioloop import IOLoop
    from pyftpdlib.servers import FTPServer

FTP_USER = 'kovauser'
FTP_PASSWORD = 'moonstone'
# What the server expects under the wrong-password fault.
OTHER_PASSWORD = 'moonstone-2'
UPLOAD_SUFFIX = '.upload'
# How long a dropped transfer hangs before both connections go.
DROP_DELAY = 0.2
POLL_INTERVAL = 0.05
# What SIZE announces for a file under the endless fault: 100 GB.
ENDLESS_SIZE = 100 * 10**9
# The commands the cut-command fault counts.
FILE_COMMANDS = ('RETR', 'STOR', 'DELE', 'QUIT')
IMAGE_REMOTE = '/' + modemroot.IMAGE_PATH

_log = logging.getLogger('pyftpdlib')
if not _log.handlers:
    # pyftpdlib logs every command at INFO to stderr unless told otherwise.
    _handler = logging.StreamHandler(sys.stderr)
    _handler.setFormatter(logging.Formatter('modemsim ftp: %(message)s'))
    _log.addHandler(_handler)
    _log.setLevel(logging.WARNING)
    _log.propagate = False


def _reset_on_close(sock):
    """Makes the next close() send RST instead of FIN."""
    try:
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack('ii', 1, 0))
    except (OSError, AttributeError):
        pass


class FtpFaults:
    """Which failures the FTP server shows.  stall, drop and endless are None
    (off), True (every file) or a set of remote paths.  hold is None or the
    seconds the final reply (226) of a complete transfer is kept back, as a
    modem does while it writes the image to flash.

    The rest lasts for the whole run of the modem, across its restarts, so
    one object serves every FtpService of a run: cut is None or (remote
    path, bytes), fired by the first upload of that path that gets so far;
    cut_command is None or the count of file commands whose last is not
    carried out; flash_error and flash_error_once are sets of remote paths
    stored with one byte changed; keep_whole records each image upload that
    arrived whole in the boot loader's record."""

    def __init__(self, wrong_password=False, stall=None, drop=None, hold=None, endless=None,
                 no_size=False, cut=None, cut_command=None, gone_after_cut=False,
                 flash_error=(), flash_error_once=(), keep_whole=False):
        self.wrong_password = wrong_password
        self.no_size = no_size
        self.stall = stall
        self.drop = drop
        self.hold = hold
        self.endless = endless
        self.cut = cut
        self.cut_command = cut_command
        self.gone_after_cut = gone_after_cut
        self.flash_error = set(flash_error)
        self.flash_error_once = set(flash_error_once)
        self.keep_whole = keep_whole
        self.file_commands = 0
        self.gone = False  # the FTP port refuses for the rest of the run

    def cut_at(self, remote_path):
        """Bytes after which an upload of that path is cut, or None."""
        if self.cut is not None and self.cut[0] == remote_path:
            return self.cut[1]
        return None

    def count_command(self):
        """True for the file command that the cut-command fault takes."""
        self.file_commands += 1
        return self.file_commands == self.cut_command

    def take_flash_error(self, remote_path):
        if remote_path in self.flash_error:
            return True
        if remote_path in self.flash_error_once:
            self.flash_error_once.discard(remote_path)
            return True
        return False

    @staticmethod
    def hits(rule, remote_path):
        return rule is True or bool(rule and remote_path in rule)

    def transfer(self, remote_path):
        for name, rule in (('drop', self.drop), ('stall', self.stall)):
            if self.hits(rule, remote_path):
                return name
        return None

    def is_endless(self, remote_path):
        return self.hits(self.endless, remote_path)


class _Upload:
    """The file an upload writes to, counting and hashing the bytes received."""

    def __init__(self, file):
        self.file = file
        self.name = file.name
        self.written = 0
        self.received = hashlib.sha256()

    def write(self, data):
        self.file.write(data)
        self.received.update(data)
        self.written += len(data)

    def __getattr__(self, attr):
        return getattr(self.file, attr)


class _ModemFS(AbstractedFS):
    def _boot_dir(self):
        return os.path.join(self.realpath(self.root), modemroot.BOOT_DIR)

    def validpath(self, path):
        # The boot loader's record is out of reach: 550 for any path in it.
        if not super().validpath(path):
            return False
        real, hidden = self.realpath(path), self._boot_dir()
        return real != hidden and not real.startswith(hidden + os.sep)

    def listdir(self, path):
        names = super().listdir(path)
        if self.realpath(path) == self.realpath(self.root):
            names = [n for n in names if n != modemroot.BOOT_DIR]
        return names

    listdirinfo = listdir

    def open(self, filename, mode):
        if 'w' in mode and '+' not in mode:
            # An upload goes to a temporary beside its target and replaces
            # the target only when the whole file has arrived.
            if os.path.isdir(filename):
                raise IsADirectoryError(errno.EISDIR, 'Is a directory', filename)
            fd, tmp = modemroot.new_temp(filename, UPLOAD_SUFFIX)
            os.close(fd)
            f = _Upload(open(tmp, mode))
            self.cmd_channel.uploads[tmp] = filename
            return f
        return super().open(filename, mode)


class _CappedProducer:
    """Hands out at most `cap` bytes of a file, for a transfer that halts."""

    def __init__(self, inner, cap):
        self.inner = inner
        self.file = inner.file
        self.left = cap

    def more(self):
        if self.left <= 0:
            return b''
        saved = self.inner.buffer_size
        self.inner.buffer_size = min(saved, self.left)
        try:
            data = self.inner.more()
        finally:
            self.inner.buffer_size = saved
        self.left -= len(data)
        return data


class _EndlessProducer:
    """Bytes without end, for a download that only the client can stop."""

    def __init__(self, inner):
        self.file = inner.file

    def more(self):
        return b'k' * 65536


class _SlowPassiveDTP(PassiveDTP):
    """A slow modem's small receive window, set on the listener so that the
    data connection starts with it: what the modem has not taken stays with
    the sender."""

    def listen(self, num):
        self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 65536)
        return super().listen(num)


class _ModemDTP(ThrottledDTPHandler):
    def __init__(self, sock, cmd_channel):
        self._halt_rule = None
        self._halt_at = 0
        self._halted = False
        self._cut_at = None
        self._remote = None
        super().__init__(sock, cmd_channel)

    def _arm(self):
        self._remote = self.cmd_channel.remote_path(self.file_obj.name)
        self._halt_rule = self.cmd_channel.sim.faults.transfer(self._remote)

    def push_with_producer(self, producer):
        if self.file_obj is not None and isinstance(producer, FileProducer):
            self._arm()
            if self.cmd_channel.sim.faults.is_endless(self._remote):
                self.cmd_channel.sim.journal('FTP endless %s' % self._remote)
                self._halt_rule = None
                producer = _EndlessProducer(producer)
            elif self._halt_rule:
                size = os.fstat(self.file_obj.fileno()).st_size
                self._halt_at = min(size // 2, 32768)
                producer = _CappedProducer(producer, self._halt_at)
        super().push_with_producer(producer)

    def initiate_send(self):
        if self._halted:
            return
        if self._halt_rule and self.tot_bytes_sent >= self._halt_at:
            self._halt()
            return
        super().initiate_send()

    def enable_receiving(self, type, cmd):
        super().enable_receiving(type, cmd)
        if self.file_obj is not None:
            self._arm()
            if self._halt_rule:
                self.ac_in_buffer_size = 16384
            elif isinstance(self.file_obj, _Upload):
                self._cut_at = self.cmd_channel.sim.faults.cut_at(self._remote)

    def handle_read(self):
        if self._halted:
            return
        if self._halt_rule and self.tot_bytes_received > 0:
            self._halt()
            return
        if self._cut_at is None:
            super().handle_read()
            return
        left = self._cut_at - self.file_obj.written
        if left > 0:
            # Read no further than the cut, so that exactly its bytes land.
            saved = self.ac_in_buffer_size
            self.ac_in_buffer_size = min(saved, left)
            try:
                super().handle_read()
            finally:
                self.ac_in_buffer_size = saved
            if self._closed or self.transfer_finished or self.file_obj.written < self._cut_at:
                return  # an upload that ends short of the cut is not cut
        self._cut()

    handle_read_event = handle_read

    def _cut(self):
        # What arrived so far replaces the target itself, as on a flash
        # written in place; then both connections go with RST.
        self._halted = True
        channel, upload = self.cmd_channel, self.file_obj
        faults = channel.sim.faults
        faults.cut = None
        upload.file.close()
        target = channel.uploads.pop(upload.name)
        try:
            os.replace(upload.name, target)
            upload.name = target
        except OSError as err:
            channel.sim.journal('FTP store failed %s: %s' % (self._remote, err.strerror))
            channel.uploads[upload.name] = target
        channel.sim.journal('FTP cut %s at %d' % (self._remote, upload.written))
        channel.cut_done()
        channel.drop()

    def _halt(self):
        # Out of the loop: no byte moves any more, the socket stays open.
        self._halted = True
        self.del_channel()
        sim = self.cmd_channel.sim
        sim.journal('FTP %s %s' % (self._halt_rule, self._remote))
        if self._halt_rule == 'drop':
            self.ioloop.call_later(DROP_DELAY, self.cmd_channel.drop,
                                   _errback=self.cmd_channel.handle_error)

    def close(self):
        if not self._closed and self.receive and self.file_obj is not None:
            if not self.file_obj.closed:
                self.file_obj.close()
            if self.transfer_finished and not self.cmd_channel.commit_upload(self.file_obj):
                self.transfer_finished = False
                self._resp = ('550 Cannot store the file.', logging.getLogger('pyftpdlib').warning)
        if not self._closed and self._resp and self._resp[0].startswith('226'):
            self._hold_reply()
        super().close()

    def _hold_reply(self):
        seconds = self.cmd_channel.sim.faults.hold
        if seconds is None:
            return
        resp, channel, remote = self._resp, self.cmd_channel, self._remote
        self._resp = ()
        channel.sim.journal('FTP hold %s' % remote)

        def release():
            channel.sim.journal('FTP release %s' % remote)
            if channel.connected:
                channel.respond(resp[0], logfun=resp[1])
        self.ioloop.call_later(seconds, release, _errback=channel.handle_error)


class _ModemHandler(FTPHandler):
    sim = None  # the FtpService, set on a subclass per server
    banner = 'KOVA modem FTP server ready.'
    auth_failed_timeout = 0.5
    use_sendfile = False
    max_login_attempts = 3

    def __init__(self, conn, server, ioloop=None):
        self.uploads = {}  # temporary path -> target path
        super().__init__(conn, server, ioloop=ioloop)

    def remote_path(self, path):
        target = self.uploads.get(path, path)
        rel = os.path.relpath(os.path.realpath(target), self.sim.root)
        return '/' + ('' if rel == '.' else rel.replace(os.sep, '/'))

    def pre_process_command(self, line, cmd, arg):
        if cmd == 'PASS':
            self.sim.journal('FTP PASS ***')
        else:
            self.sim.journal('FTP %s %s' % (cmd, arg) if arg else 'FTP ' + cmd)
        faults = self.sim.faults
        if cmd in FILE_COMMANDS and faults.count_command():
            what = cmd if cmd == 'QUIT' or not arg else '%s %s' % (cmd, self.command_path(arg))
            self.sim.journal('FTP cut command %d %s' % (faults.file_commands, what))
            self.cut_done()
            self.drop()
            return None
        return super().pre_process_command(line, cmd, arg)

    def command_path(self, arg):
        """A command's path as the journal writes paths, before login too."""
        if self.fs is not None:
            return self.remote_path(self.fs.ftp2fs(arg))
        return posixpath.normpath('/' + arg).replace('//', '/')

    def cut_done(self):
        faults = self.sim.faults
        if faults.gone_after_cut and not faults.gone:
            faults.gone = True
            self.sim.journal('FTP gone')
            self.server.close()  # the listener only: connects are refused

    def respond(self, resp, *args, **kwargs):
        if self.sim.trace is not None:
            self.sim.trace('FTP reply %s' % resp)
        return super().respond(resp, *args, **kwargs)

    def ftp_SIZE(self, path):
        if self.sim.faults.no_size:
            self.respond('502 SIZE not implemented.')
            return
        remote = self.remote_path(path)
        if self.sim.faults.is_endless(remote) and self.fs.isfile(path):
            self.sim.journal('FTP endless %s' % remote)
            self.respond('213 %d' % ENDLESS_SIZE)
            return
        super().ftp_SIZE(path)

    def on_connect(self):
        self.sim.journal('FTP connect')

    def on_login(self, username):
        self.sim.journal('FTP login %s' % username)

    def on_login_failed(self, username, password):
        self.sim.journal('FTP login refused %s' % username)

    def on_file_sent(self, file):
        self.sim.journal('FTP sent %s' % self.remote_path(file))

    def on_incomplete_file_sent(self, file):
        self.sim.journal('FTP incomplete %s' % self.remote_path(file))

    def commit_upload(self, upload):
        tmp = upload.name
        target = self.uploads.get(tmp)
        if target is None:
            return True
        remote = self.remote_path(tmp)
        try:
            # An empty file has no byte to change, and leaves a once-only fault armed.
            if os.path.getsize(tmp) and self.sim.faults.take_flash_error(remote):
                _flip_middle_byte(tmp)
                self.sim.journal('FTP flash error %s' % remote)
            os.replace(tmp, target)
        except OSError as err:
            self.sim.journal('FTP store failed %s: %s' % (remote, err.strerror))
            return False
        if self.sim.faults.keep_whole and remote == IMAGE_REMOTE:
            self.sim.keep_if_whole(target, upload.received.hexdigest())
        return True

    def on_file_received(self, file):
        remote = self.remote_path(file)
        self.uploads.pop(file, None)
        self.sim.journal('FTP received %s' % remote)

    def on_incomplete_file_received(self, file):
        remote = self.remote_path(file)
        if self.uploads.pop(file, None) is not None:
            _remove(file)
        self.sim.journal('FTP incomplete %s' % remote)

    def drop(self):
        if self.data_channel is not None and self.data_channel.socket is not None:
            _reset_on_close(self.data_channel.socket)
        if self.socket is not None:
            _reset_on_close(self.socket)
        self.close()

    def close(self):
        try:
            super().close()
        finally:
            for tmp in list(self.uploads):
                _remove(tmp)
            self.uploads.clear()


def _flip_middle_byte(path):
    """Changes one bit of the byte in the middle of a non-empty file."""
    with open(path, 'r+b') as f:
        middle = f.seek(0, os.SEEK_END) // 2
        f.seek(middle)
        byte = f.read(1)[0]
        f.seek(middle)
        f.write(bytes([byte ^ 0x01]))


def _remove(path):
    try:
        os.unlink(path)
    except OSError:
        pass


class FtpService:
    """One run of the FTP server, from start(sock) to stop()."""

    def __init__(self, root, journal, faults, trace=None, rate=0):
        self.root = os.path.realpath(root)
        self.rate = rate  # bytes a second each data connection moves at most; 0: no bound
        self.journal = journal
        self.trace = trace  # sees the replies too, when set
        self.faults = faults
        self._server = None
        self._thread = None
        self._stop = threading.Event()
        self._abort = False
        self._keep = None

    def keep_if_whole(self, path, received):
        """Puts an image on the boot loader's record when the flash holds
        exactly the bytes that arrived."""
        if modemroot.file_digest(path) != received:
            return
        try:
            modemroot.add_whole(self.root, received)
        except OSError as err:
            print('modemsim: cannot write %s: %s' % (modemroot.WHOLE_RECORD, err.strerror),
                  file=sys.stderr)

    def start(self, sock):
        authorizer = DummyAuthorizer()
        password = OTHER_PASSWORD if self.faults.wrong_password else FTP_PASSWORD
        authorizer.add_user(FTP_USER, password, self.root, perm='elradfmwMT')
        handler = type('ModemFTPHandler', (_ModemHandler,),
                       {'sim': self, 'authorizer': authorizer,
                        'dtp_handler': type('ModemDTP', (_ModemDTP,),
                                            {'read_limit': self.rate, 'write_limit': self.rate}),
                        'abstracted_fs': _ModemFS,
                        'passive_dtp': _SlowPassiveDTP if self.rate else PassiveDTP})
        self._server = FTPServer(sock, handler, ioloop=IOLoop(), backlog=64)
        self._server.max_cons = 64
        self._stop.clear()
        self._thread = threading.Thread(target=self._run, name='modemsim-ftp', daemon=True)
        self._thread.start()

    def _run(self):
        server = self._server
        try:
            while not self._stop.is_set():
                if not server.ioloop.socket_map:
                    # Nothing to poll (the listener gone): the loop would spin.
                    self._stop.wait(POLL_INTERVAL)
                try:
                    # serve_forever() itself, without its start line, which
                    # needs the listener.
                    server.ioloop.loop(POLL_INTERVAL, blocking=False)
                except Exception:
                    traceback.print_exc(file=sys.stderr)
        finally:
            try:
                if self._keep is not None:
                    self._keep.extend(self._duplicate_all(server))
                if self._abort:
                    self._reset_all(server)
                server.close_all()
            except Exception:
                traceback.print_exc(file=sys.stderr)

    @staticmethod
    def _reset_all(server):
        for inst in list(server.ioloop.socket_map.values()):
            if getattr(inst, 'socket', None) is not None:
                _reset_on_close(inst.socket)
            data = getattr(inst, 'data_channel', None)
            if data is not None and getattr(data, 'socket', None) is not None:
                _reset_on_close(data.socket)

    @staticmethod
    def _duplicate_all(server):
        # A second descriptor keeps a connection alive past the close of the
        # first, so that its peer sees nothing at all.
        fds = []
        for inst in list(server.ioloop.socket_map.values()):
            if isinstance(inst, FTPServer) or getattr(inst, 'accepting', False):
                continue  # listeners go down with the modem
            for sock in (getattr(inst, 'socket', None),
                         getattr(getattr(inst, 'data_channel', None), 'socket', None)):
                if sock is not None:
                    try:
                        fds.append(os.dup(sock.fileno()))
                    except OSError:
                        pass
        return fds

    def stop(self, abort=True, keep=None):
        """Closes the listener and every session; abort resets the peers.
        With a list for `keep`, each connection's descriptor is duplicated
        into it first: the connections stay open and their peers learn
        nothing, as with a modem that loses power, until the holder of the
        duplicates ends them."""
        if self._thread is None:
            return
        self._abort = abort
        self._keep = keep
        self._stop.set()
        self._thread.join(5)
        self._thread = None
        self._server = None


def main(argv=None):
    p = argparse.ArgumentParser(description='The modem\'s FTP server alone, on 127.0.0.1.')
    p.add_argument('--root', required=True, help='the modem\'s file system')
    p.add_argument('--port', type=int, default=0, help='0 picks a free port (default)')
    p.add_argument('--journal', required=True, help='one line per request received')
    p.add_argument('--wrong-password', action='store_true', help='refuse every login')
    fault = p.add_mutually_exclusive_group()
    for name in ('stall', 'drop', 'endless'):
        fault.add_argument('--' + name, nargs='?', const=True, metavar='PATH',
                           help='as ftp-%s[:PATH] of the modem' % name)
    p.add_argument('--hold', type=float, metavar='SECONDS',
                   help='keep the final reply of each transfer back that long')
    p.add_argument('--no-size', action='store_true',
                   help='answer no SIZE command: a download comes unannounced')
    p.add_argument('--rate', type=int, default=0, metavar='BYTES',
                   help='bytes a second each data connection moves at most')
    opts = p.parse_args(argv)

    def only(rule):  # a PATH: the fault hits that file only
        return {rule} if isinstance(rule, str) else rule

    with open(opts.journal, 'a') as log:
        def journal(line):
            log.write(line + '\n')
            log.flush()

        faults = FtpFaults(opts.wrong_password, only(opts.stall), only(opts.drop), opts.hold,
                           only(opts.endless), opts.no_size)
        service = FtpService(opts.root, journal, faults, rate=opts.rate)
        sock = socket.create_server(('127.0.0.1', opts.port), backlog=64)
        sock.setblocking(False)
        service.start(sock)
        print('PORT %d' % sock.getsockname()[1], flush=True)
        # The program that started us holds our standard input: when it
        # ends, so do we.
        while sys.stdin.buffer.read(4096):
            pass
        service.stop()


if __name__ == '__main__':
    main()
