"""What of the simulated modem tests/e2e does not drive (the closed, silent and
split switches are only aids for demos)."""

import ftplib
import io
import socket
import subprocess
import tempfile
import unittest
from pathlib import Path

import modemroot
from harness import MODEMSIM, PYTHON, ModemSim

IMAGE = modemroot.image_bytes('5.2.0.13', 200000)


def connect(port, timeout=5):
    return socket.create_connection(('127.0.0.1', port), timeout=timeout)


def recv_until(sock, mark):
    data = b''
    while mark not in data and (chunk := sock.recv(4096)):
        data += chunk
    return data


def ftp_login(port):
    ftp = ftplib.FTP(timeout=1)
    ftp.connect('127.0.0.1', port)
    ftp.login('kovauser', 'moonstone')
    return ftp


def upload(port, path, data=IMAGE):
    """None, or the error the client met."""
    try:
        with ftp_login(port) as ftp:
            ftp.storbinary('STOR ' + path, io.BytesIO(data))
    except (EOFError, ftplib.Error, OSError) as err:
        return err
    return None


class Modem(unittest.TestCase):
    def start(self, *faults, **kw):
        modem = ModemSim(faults=list(faults), **kw).start()
        self.addCleanup(modem.cleanup)
        self.addCleanup(lambda: self.assertNotIn('Traceback', modem.stderr()))
        return modem

    def assertSilent(self, sock, seconds=0.4):
        sock.settimeout(seconds)
        self.assertRaises(socket.timeout, sock.recv, 1)
        sock.settimeout(5)

    def test_hostile_input_on_each_channel_is_refused_not_fatal(self):
        m = self.start()
        with connect(m.ports['zing']) as s:
            s.sendall(b'\0\0\0\x07' * 16)
            self.assertEqual(recv_until(s, b'\0'), b'')  # closed after 16 unknown codes
        with ftp_login(m.ports['ftp']) as ftp:
            self.assertRaises(ftplib.error_perm, ftp.retrbinary, 'RETR /../../etc/passwd', print)
        with connect(m.ports['telnet']) as s:
            recv_until(s, b'->')
            s.sendall(b'x' * 5000 + b'\r\n\xff\xfd\x01version\r\n')  # with a negotiation
            self.assertRegex(recv_until(s, b'build 7'), b'line too long(.|\n)*5.2.0.12,build 7')
        with connect(m.ports['at']) as s:
            for bad in (b'A' * 5000, b'AT_IHIP="DNS","10.0.0.300"', b'AT_IHIP="DNS3","1.2.3.4"'):
                s.sendall(bad + b'\r\n')
                self.assertEqual(recv_until(s, b'\r\n'), b'ERROR\r\n', bad[:30])

    def test_a_restart_goes_silent_and_resets_forgotten_connections_later(self):
        m = self.start(reboot_time=1.5)
        telnet = connect(m.ports['telnet'])
        self.addCleanup(telnet.close)
        recv_until(telnet, b'->')
        with connect(m.ports['zing']) as zing:
            zing.sendall(b'\0\0\0\x0d')
            self.assertTrue(m.wait_journal('REBOOT begin'))
            for port in m.ports.values():
                self.assertRaises(ConnectionRefusedError, connect, port)
            # As a modem losing power: no answer, no FIN, no RST.
            self.assertSilent(zing, 0.2)
            self.assertSilent(telnet, 0.2)
        self.assertTrue(m.wait_journal('REBOOT end version=5.2.0.12'))
        telnet.sendall(b'version\r\n')
        self.assertRaises(ConnectionResetError, recv_until, telnet, b'->')
        # --on-reboot reset drops them at once instead; close ends them with FIN.
        m = self.start(extra=['--on-reboot', 'reset'])
        with connect(m.ports['zing']) as zing:
            zing.sendall(b'\0\0\0\x0d')
            self.assertRaises(ConnectionResetError, zing.recv, 1)
        m = self.start(extra=['--on-reboot', 'close'])
        with connect(m.ports['zing']) as zing, ftp_login(m.ports['ftp']) as ftp:
            zing.sendall(b'\0\0\0\x0d')
            self.assertEqual((zing.recv(1), ftp.sock.recv(1)), (b'', b''))

    def test_an_upload_that_stalls_or_drops_never_replaces_the_file(self):
        # (Downloads that stall or drop: the FTP client's tests.)
        m = self.start('ftp-stall:/bin/kova.bin', 'ftp-drop:/pic.hex')
        for path in ('/bin/kova.bin', '/pic.hex'):
            before = Path(m.path(path)).read_bytes()
            ftp = ftp_login(m.ports['ftp'])
            with self.assertRaises((EOFError, ftplib.Error, OSError)):
                ftp.storbinary('STOR ' + path, io.BytesIO(b'n' * 4000000))
                ftp.voidcmd('NOOP')
            ftp.close()
            self.assertEqual(Path(m.path(path)).read_bytes(), before, path)

    def test_command_line_refuses_what_it_cannot_run(self):
        with tempfile.TemporaryDirectory() as root:
            for extra, message in ((['--host', '192.168.128.100'], '127.0.0.0/8'),
                                   (['--host', '192.168.128.100', '--own-namespace'],
                                    "the machine's own network namespace"),
                                   (['--fault', 'missing:/../etc/passwd'], 'not a file path')):
                proc = subprocess.run([PYTHON, MODEMSIM, '--root', root] + extra,
                                      capture_output=True, text=True, timeout=20)
                self.assertEqual(proc.returncode, 2, extra)
                self.assertIn(message, proc.stderr, extra)

    def test_a_cut_leaves_what_arrived_or_nothing_once_a_run(self):
        for fault, path, kept, line in (
                ('ftp-cut:1000', '/bin/kova.bin', IMAGE[:1000], 'FTP cut /bin/kova.bin at 1000'),
                ('ftp-cut:0:/pic.hex', '/pic.hex', b'', 'FTP cut /pic.hex at 0'),
                ('ftp-cut-command:2', '/bin/kova.bin', None, 'FTP cut command 2 STOR /bin/kova.bin')):
            m = self.start(fault)
            before = Path(m.path(path)).read_bytes()
            with ftp_login(m.ports['ftp']) as ftp:
                ftp.retrbinary('RETR /checksum.txt', len)  # file command 1
                with self.assertRaises(OSError, msg=fault):  # RST on the control connection
                    ftp.storbinary('STOR ' + path, io.BytesIO(IMAGE))
            self.assertTrue(m.wait_journal(line), fault)
            self.assertEqual(Path(m.path(path)).read_bytes(), before if kept is None else kept)
            self.assertIsNone(upload(m.ports['ftp'], path), fault)
            self.assertEqual(Path(m.path(path)).read_bytes(), IMAGE, fault)

    def test_a_flash_error_changes_one_byte_and_still_answers_226(self):
        bad = bytearray(IMAGE)
        bad[len(IMAGE) // 2] ^= 1
        for fault, path, stored in (('flash-error', '/bin/kova.bin', (bad, bad)),
                                    ('flash-error-once', '/bin/kova.bin', (bad, IMAGE)),
                                    ('flash-error:/pic.hex', '/pic.hex', (bad, bad)),
                                    ('flash-error:/pic.hex', '/bin/kova.bin', (IMAGE, IMAGE))):
            m = self.start(fault)
            for expected in stored:
                self.assertIsNone(upload(m.ports['ftp'], path), fault)
                self.assertEqual(Path(m.path(path)).read_bytes(), expected, fault)
            self.assertEqual(m.journal().count('FTP flash error ' + path), stored.count(bad))

    def test_the_boot_loader_starts_only_an_image_that_arrived_whole(self):
        at_restart = b'AT+CFUN=1,1\r\n'
        for fault, restart, booted in (
                (None, b'\0\0\0\x0d', 'BOOT ok version=5.2.0.13'),
                ('ftp-cut-command:1', b'\0\0\0\x0d', 'BOOT ok version=5.2.0.12'),
                ('ftp-cut:1000', at_restart, 'BOOT refused image'),
                ('flash-error', b'\0\0\0\x0d', 'BOOT refused image')):
            m = self.start('boot-check', *[fault] if fault else [])
            upload(m.ports['ftp'], '/bin/kova.bin')
            with connect(m.ports['at' if restart == at_restart else 'zing']) as s:
                s.sendall(restart)
                self.assertTrue(m.wait_journal(booted), fault)
            dead = booted == 'BOOT refused image'
            if dead:
                for port in m.ports.values():
                    self.assertRaises(ConnectionRefusedError, connect, port)
            # A power cycle boots from what the flash holds.
            m.stop()
            again = ModemSim(root=m.root, init=False, faults=['boot-check']).start()
            self.addCleanup(again.cleanup)
            self.assertEqual(again.journal(), [booted])
            self.assertEqual(again.dead, dead)
            if not dead:
                with connect(again.ports['zing']) as zing:
                    zing.sendall(b'\0\0\0\x04')
                    self.assertIn(booted[-8:].encode() + b',build 7', recv_until(zing, b'\0'))
        # Without a record, what the flash holds at power-on counts as whole.
        again.stop()
        Path(m.root, '.boot/whole').unlink()
        third = ModemSim(root=m.root, init=False, faults=['boot-check']).start()
        self.addCleanup(third.cleanup)
        self.assertFalse(third.dead)
        with ftp_login(third.ports['ftp']) as ftp:
            self.assertNotIn('.boot', ' '.join(ftp.nlst('/')))
            for command in ('RETR /.boot/whole', 'STOR /.boot/whole', 'DELE /.boot/whole',
                            'CWD /bin/../.boot'):
                self.assertRaisesRegex(ftplib.error_perm, '^550', ftp.sendcmd, command)

    def test_a_telnet_daemon_echoes_at_once_and_drops_the_job_of_a_closed_session(self):
        m = self.start(extra=['--telnet-mode', 'daemon'])
        with connect(m.ports['telnet']) as s:
            recv_until(s, b'->')
            s.sendall(b'mmi_prepare_for_download\r\n')
            self.assertEqual(s.recv(4096), b'mmi_prepare_for_download\r\n')  # alone
            self.assertEqual(recv_until(s, b'->'), b'Prepared for software download.\r\n->')
            s.sendall(b'exit\r\n')
            self.assertEqual(recv_until(s, b'Bye.\r\n'), b'exit\r\nBye.\r\n')
        with connect(m.ports['telnet']) as s:
            recv_until(s, b'->')
            s.sendall(b'mmi_prepare_for_download\r\n')
            recv_until(s, b'\r\n')
        self.assertTrue(m.wait_journal('TELNET dropped mmi_prepare_for_download'))
        self.assertEqual(m.journal().count('TELNET mmi_prepare_for_download'), 1)
