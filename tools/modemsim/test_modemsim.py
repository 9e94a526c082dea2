#!/usr/bin/python3
"""Self-test of the simulated modem: each channel and each fault switch,
seen from a client on loopback, as the upgrader sees them."""

import ftplib
import io
import os
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import modemroot  # noqa: E402
from harness import MODEMSIM, PYTHON, ModemSim, parse_ready  # noqa: E402

HOST = '127.0.0.1'
IO_TIMEOUT = 5.0


def connect(port, timeout=IO_TIMEOUT):
    return socket.create_connection((HOST, port), timeout=timeout)


def recv_until(sock, mark, timeout=IO_TIMEOUT):
    """Bytes received until `mark` is among them (or the peer closes)."""
    data = b''
    deadline = time.monotonic() + timeout
    while mark not in data:
        sock.settimeout(max(0.01, deadline - time.monotonic()))
        try:
            chunk = sock.recv(4096)
        except socket.timeout:
            break
        if not chunk:
            break
        data += chunk
    return data


def pieces(sock, total_timeout=8.0, quiet=0.8):
    """The separate reads of a reply, until the line has been quiet."""
    out = []
    deadline = time.monotonic() + total_timeout
    while time.monotonic() < deadline:
        sock.settimeout(quiet)
        try:
            chunk = sock.recv(4096)
        except socket.timeout:
            break
        if not chunk:
            break
        out.append(chunk)
    return out


def silent_for(sock, seconds):
    """True when nothing arrives (and the peer does not close) for `seconds`."""
    sock.settimeout(seconds)
    try:
        sock.recv(1)
    except socket.timeout:
        return True
    return False


def refused(port):
    try:
        connect(port, timeout=1).close()
    except ConnectionRefusedError:
        return True
    return False


def zing_version(port):
    with connect(port) as s:
        s.sendall(b'\0\0\0\x04')
        data = b''
        deadline = time.monotonic() + IO_TIMEOUT
        while (len(data) < 9 or data[8:].find(b'\0') < 0) and time.monotonic() < deadline:
            s.settimeout(deadline - time.monotonic())
            chunk = s.recv(4096)
            if not chunk:
                break
            data += chunk
    code, _ = struct.unpack('>II', data[:8])
    return code, data[8:]


def ftp_login(port, password='moonstone', timeout=IO_TIMEOUT):
    ftp = ftplib.FTP()
    ftp.connect(HOST, port, timeout=timeout)
    try:
        ftp.login('kovauser', password)
    except BaseException:
        ftp.close()
        raise
    return ftp


def get(ftp, path):
    buf = io.BytesIO()
    ftp.retrbinary('RETR ' + path, buf.write)
    return buf.getvalue()


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def leftovers(root):
    """Temporary upload files anywhere in the modem's file system."""
    found = []
    for folder, _, files in os.walk(root):
        found += [os.path.join(folder, f) for f in files if f.startswith('.')]
    return found


class NormalModem(unittest.TestCase):
    """One modem without faults for the plain exchanges."""

    @classmethod
    def setUpClass(cls):
        cls.modem = ModemSim(version='5.2.0.12', reboot_time=0.5, reflash_time=0.3).start()
        cls.ports = cls.modem.ports

    @classmethod
    def tearDownClass(cls):
        cls.modem.cleanup()

    def test_ready_line_names_four_distinct_ports(self):
        self.assertEqual(len(set(self.ports.values())), 4)
        self.assertEqual(parse_ready(self.modem.ready_line), self.ports)

    def test_version_reply_carries_code_text_build_tail_and_zero(self):
        code, rest = zing_version(self.ports['zing'])
        self.assertEqual(code, 4100)
        self.assertEqual(rest, b'5.2.0.12,build 7\0')
        self.assertTrue(self.modem.wait_journal('ZING version'))

    def test_several_requests_on_one_connection_and_unknown_codes(self):
        with connect(self.ports['zing']) as s:
            s.sendall(b'\0\0\0\x07' + b'\0\0\0\x04')
            data = recv_until(s, b'build 7\0')
        self.assertTrue(data.startswith(b'\0\0\x10\x04'))
        self.assertTrue(self.modem.wait_journal('ZING unknown 00000007'))

    def test_ftp_serves_the_modem_files(self):
        ftp = ftp_login(self.ports['ftp'])
        try:
            image = get(ftp, '/bin/kova.bin')
            self.assertTrue(image.startswith(b'KOVA-IMAGE 5.2.0.12\n'))
            self.assertEqual(image, read(self.modem.path('/bin/kova.bin')))
            for name in ('/checksum.txt', '/config.txt', '/pic.hex', '/ram0/syslog.log'):
                self.assertTrue(get(ftp, name), name)
        finally:
            ftp.quit()
        self.assertTrue(self.modem.wait_journal('FTP RETR /bin/kova.bin'))
        self.assertTrue(self.modem.wait_journal('FTP PASS ***'))

    def test_ftp_upload_replaces_the_file_whole_and_delete_removes(self):
        ftp = ftp_login(self.ports['ftp'])
        try:
            ftp.storbinary('STOR /pic.hex', io.BytesIO(b':00000001FF\n'))
            self.assertEqual(read(self.modem.path('/pic.hex')), b':00000001FF\n')
            ftp.storbinary('STOR /extra.txt', io.BytesIO(b'x'))
            ftp.delete('/extra.txt')
            self.assertFalse(os.path.exists(self.modem.path('/extra.txt')))
            with self.assertRaises(ftplib.error_perm) as err:
                ftp.delete('/extra.txt')
            self.assertTrue(str(err.exception).startswith('550'))
        finally:
            ftp.quit()
        self.assertEqual(leftovers(self.modem.root), [])

    def test_ftp_stays_inside_the_modem_root(self):
        ftp = ftp_login(self.ports['ftp'])
        try:
            with self.assertRaises(ftplib.error_perm):
                get(ftp, '/../../etc/passwd')
        finally:
            ftp.quit()

    def test_telnet_prompt_echo_prepare_and_reflash(self):
        with connect(self.ports['telnet']) as s:
            self.assertTrue(recv_until(s, b'->').endswith(b'->'))
            s.sendall(b'mmi_prepare_for_download\r\n')
            self.assertIn(b'mmi_prepare_for_download\r\n', recv_until(s, b'->'))
            start = time.monotonic()
            s.sendall(b'pic_driver_reflash 1\r\n')
            # The echo comes at once, "Completed" only after the reflash time,
            # so the two never share one read.
            echo = s.recv(4096)
            self.assertEqual(echo, b'pic_driver_reflash 1\r\n')
            rest = recv_until(s, b'Completed')
            self.assertIn(b'Completed', rest)
            self.assertGreaterEqual(time.monotonic() - start, 0.25)
            # Telnet negotiation is skipped, not taken for text.
            s.sendall(b'\xff\xfd\x01version\r\n')
            self.assertIn(b'5.2.0.12,build 7', recv_until(s, b'build 7'))
        self.assertTrue(self.modem.wait_journal('TELNET reflash completed'))
        self.assertTrue(self.modem.wait_journal('TELNET version'))

    def test_second_telnet_session_is_told_sorry(self):
        with connect(self.ports['telnet']) as first:
            recv_until(first, b'->')
            with connect(self.ports['telnet']) as second:
                reply = recv_until(second, b'\n')
                self.assertIn(b'Sorry', reply)
                self.assertEqual(second.recv(10), b'')  # closed after it
        # Once the first has gone the console is free again.
        deadline = time.monotonic() + IO_TIMEOUT
        while time.monotonic() < deadline:
            with connect(self.ports['telnet']) as third:
                if recv_until(third, b'->', timeout=1).endswith(b'->'):
                    break
            time.sleep(0.05)
        else:
            self.fail('the console stayed taken')

    def test_overlong_telnet_and_at_lines_are_refused_not_fatal(self):
        with connect(self.ports['telnet']) as s:
            recv_until(s, b'->')
            s.sendall(b'x' * 5000 + b'\r\nversion\r\n')
            data = recv_until(s, b'build 7')
            self.assertIn(b'line too long', data)
            self.assertIn(b'build 7', data)
        with connect(self.ports['at']) as s:
            s.sendall(b'A' * 5000 + b'\r\nAT\r\n')
            self.assertEqual(recv_until(s, b'OK\r\n'), b'ERROR\r\nOK\r\n')

    def test_at_reads_and_refuses(self):
        with connect(self.ports['at']) as s:
            s.sendall(b'AT_IHIP?\r\n')
            reply = recv_until(s, b'OK\r\n')
            self.assertRegex(reply, rb'^DNS: [0-9.]+\r\nDNS2: [0-9.]+\r\nOK\r\n$')
            for bad in (b'AT_IHIP="DNS","10.0.0.300"', b'AT_IHIP="DNS3","10.0.0.3"',
                        b'AT_IHIP=DNS,10.0.0.3', b'ATZ'):
                s.sendall(bad + b'\r\n')
                self.assertEqual(recv_until(s, b'\r\n'), b'ERROR\r\n', bad)

    def test_init_refuses_a_file_in_place_of_the_root(self):
        with tempfile.NamedTemporaryFile() as f:
            proc = subprocess.run([PYTHON, MODEMSIM, '--root', f.name, '--init',
                                   '--zing-port', '0', '--ftp-port', '0', '--telnet-port', '0',
                                   '--at-port', '0'], capture_output=True, text=True, timeout=20)
        self.assertEqual(proc.returncode, 1)
        self.assertIn('not a directory', proc.stderr)


class Reboots(unittest.TestCase):
    """The two restart orders and the image the modem comes back with."""

    def setUp(self):
        self.modem = ModemSim(version='5.2.0.12', reboot_time=1.5).start()
        self.ports = self.modem.ports

    def tearDown(self):
        self.modem.cleanup()

    def wait_up(self, timeout=IO_TIMEOUT):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not refused(self.ports['zing']):
                return True
            time.sleep(0.05)
        return False

    def test_zing_reset_silences_everything_and_boots_the_uploaded_image(self):
        telnet = connect(self.ports['telnet'])
        recv_until(telnet, b'->')
        ftp = ftp_login(self.ports['ftp'])
        ftp.storbinary('STOR /bin/kova.bin', io.BytesIO(modemroot.image_bytes('5.3.1.0', 1000)))
        self.assertTrue(self.modem.wait_journal('FTP received /bin/kova.bin'))
        zing = connect(self.ports['zing'])
        zing.sendall(b'\0\0\0\x0d')
        self.assertTrue(self.modem.wait_journal('REBOOT begin'))
        for ch in ('zing', 'ftp', 'telnet', 'at'):
            self.assertTrue(refused(self.ports[ch]), ch)
        # A modem that loses power says nothing: no answer, no FIN, no RST.
        for sock in (zing, telnet, ftp.sock):
            self.assertTrue(silent_for(sock, 0.2))
        self.assertTrue(self.wait_up())
        self.assertEqual(zing_version(self.ports['zing'])[1], b'5.3.1.0,build 7\0')
        # Back up, it answers a forgotten connection's bytes with RST, and
        # lets go of one its peer closes.
        telnet.sendall(b'version\r\n')
        with self.assertRaises(ConnectionResetError):
            telnet.settimeout(IO_TIMEOUT)
            while telnet.recv(10):
                pass
        telnet.close()
        zing.close()
        ftp.close()
        journal = self.modem.journal()
        self.assertEqual(journal[journal.index('ZING reset'):][:3],
                         ['ZING reset', 'REBOOT begin', 'REBOOT end version=5.3.1.0'])
        self.assertTrue(self.modem.wait_journal('GHOST data, reset'))

    def test_reset_style_drops_open_connections_at_once(self):
        modem = ModemSim(reboot_time=1.5, extra=['--on-reboot', 'reset']).start()
        self.addCleanup(modem.cleanup)
        telnet = connect(modem.ports['telnet'])
        recv_until(telnet, b'->')
        with connect(modem.ports['zing']) as s:
            s.sendall(b'\0\0\0\x0d')
            for sock in (s, telnet):
                sock.settimeout(IO_TIMEOUT)
                try:
                    self.assertEqual(sock.recv(10), b'')
                except ConnectionResetError:
                    pass
        telnet.close()

    def test_at_restart_answers_ok_then_reboots_and_keeps_written_dns(self):
        with connect(self.ports['at']) as s:
            s.sendall(b'AT_IHIP="DNS","10.9.9.1"\r\n')
            self.assertEqual(recv_until(s, b'\r\n'), b'OK\r\n')
            s.sendall(b'AT_IHIP="DNS2","10.9.9.2"\r\n')
            self.assertEqual(recv_until(s, b'\r\n'), b'OK\r\n')
            s.sendall(b'AT+CFUN=1,1\r\n')
            self.assertEqual(recv_until(s, b'\r\n'), b'OK\r\n')
        self.assertTrue(self.modem.wait_journal('REBOOT begin'))
        self.assertTrue(self.modem.wait_journal('REBOOT end version=5.2.0.12'))
        with connect(self.ports['at']) as s:
            s.sendall(b'AT_IHIP?\r\n')
            self.assertEqual(recv_until(s, b'OK\r\n'),
                             b'DNS: 10.9.9.1\r\nDNS2: 10.9.9.2\r\nOK\r\n')

    def test_an_image_without_a_version_line_keeps_the_running_version(self):
        with open(self.modem.path('/bin/kova.bin'), 'wb') as f:
            f.write(b'garbage' * 100)
        with connect(self.ports['zing']) as s:
            s.sendall(b'\0\0\0\x0d')
        self.assertTrue(self.modem.wait_journal('REBOOT end version=5.2.0.12'))
        self.assertTrue(self.wait_up())
        self.assertEqual(zing_version(self.ports['zing'])[1], b'5.2.0.12,build 7\0')


class Faults(unittest.TestCase):
    """Each switch shows its failure and leaves the other channels working."""

    def run_modem(self, *faults, **kw):
        modem = ModemSim(faults=list(faults), **kw).start()
        self.addCleanup(modem.cleanup)
        return modem

    def test_closed_ports_refuse_and_the_others_work(self):
        m = self.run_modem('zing-closed', 'ftp-closed', 'telnet-closed', 'at-closed')
        for ch in ('zing', 'ftp', 'telnet', 'at'):
            self.assertTrue(refused(m.ports[ch]), ch)
        m2 = self.run_modem('ftp-closed')
        self.assertEqual(zing_version(m2.ports['zing'])[0], 4100)

    def test_silent_ports_accept_and_say_nothing(self):
        m = self.run_modem('zing-silent', 'ftp-silent', 'telnet-silent', 'at-silent')
        with connect(m.ports['zing']) as z, connect(m.ports['ftp']) as f, \
                connect(m.ports['telnet']) as t, connect(m.ports['at']) as a:
            z.sendall(b'\0\0\0\x04')
            a.sendall(b'AT_IHIP?\r\n')
            t.sendall(b'pic_driver_reflash 1\r\n')
            for s in (z, f, t, a):
                self.assertTrue(silent_for(s, 0.4))
        for name in ('ZING', 'FTP', 'TELNET', 'AT'):
            self.assertTrue(m.wait_journal('%s connect (silent)' % name), name)

    def test_wrong_password_is_refused_with_530(self):
        m = self.run_modem('wrong-password')
        with self.assertRaises(ftplib.error_perm) as err:
            ftp_login(m.ports['ftp'])
        self.assertTrue(str(err.exception).startswith('530'))
        self.assertTrue(m.wait_journal('FTP login refused kovauser'))

    def test_missing_file_is_absent_and_answers_550(self):
        m = self.run_modem('missing:/checksum.txt', 'missing:/ram0/syslog.log')
        self.assertFalse(os.path.exists(m.path('/checksum.txt')))
        ftp = ftp_login(m.ports['ftp'])
        try:
            for path in ('/checksum.txt', '/ram0/syslog.log'):
                with self.assertRaises(ftplib.error_perm) as err:
                    get(ftp, path)
                self.assertTrue(str(err.exception).startswith('550'), path)
            self.assertTrue(get(ftp, '/config.txt'))
        finally:
            ftp.quit()

    def test_stalled_download_and_upload_move_no_more_bytes(self):
        m = self.run_modem('ftp-stall:/bin/kova.bin')
        size = os.path.getsize(m.path('/bin/kova.bin'))
        ftp = ftp_login(m.ports['ftp'], timeout=1.0)
        got = bytearray()
        with self.assertRaises((socket.timeout, TimeoutError)):
            ftp.retrbinary('RETR /bin/kova.bin', got.extend)
        self.assertGreater(len(got), 0)
        self.assertLess(len(got), size)
        self.assertTrue(m.wait_journal('FTP stall /bin/kova.bin'))
        ftp.close()
        # Other files are not touched by a rule that names one path.
        ftp = ftp_login(m.ports['ftp'])
        self.assertTrue(get(ftp, '/config.txt'))
        ftp.quit()
        # An upload that stalls never replaces the file.
        m2 = self.run_modem('ftp-stall')
        before = read(m2.path('/bin/kova.bin'))
        ftp = ftp_login(m2.ports['ftp'], timeout=1.0)
        with self.assertRaises((socket.timeout, TimeoutError, OSError)):
            ftp.storbinary('STOR /bin/kova.bin', io.BytesIO(b'n' * 4000000))
        ftp.close()
        self.assertEqual(read(m2.path('/bin/kova.bin')), before)

    def test_dropped_transfers_reset_both_connections_and_keep_no_part(self):
        m = self.run_modem('ftp-drop')
        size = os.path.getsize(m.path('/bin/kova.bin'))
        ftp = ftp_login(m.ports['ftp'])
        got = bytearray()
        with self.assertRaises((ConnectionError, EOFError, ftplib.Error, OSError)):
            ftp.retrbinary('RETR /bin/kova.bin', got.extend)
            ftp.voidcmd('NOOP')
        self.assertLess(len(got), size)
        self.assertTrue(m.wait_journal('FTP drop /bin/kova.bin'))
        ftp.close()
        before = read(m.path('/pic.hex'))
        ftp = ftp_login(m.ports['ftp'])
        with self.assertRaises((ConnectionError, EOFError, ftplib.Error, OSError)):
            ftp.storbinary('STOR /pic.hex', io.BytesIO(b'p' * 2000000))
            ftp.voidcmd('NOOP')
        ftp.close()
        self.assertTrue(m.wait_journal('FTP drop /pic.hex'))
        deadline = time.monotonic() + IO_TIMEOUT
        while leftovers(m.root) and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertEqual(leftovers(m.root), [])
        self.assertEqual(read(m.path('/pic.hex')), before)

    def test_telnet_busy_says_sorry_to_everyone(self):
        m = self.run_modem('telnet-busy')
        with connect(m.ports['telnet']) as s:
            reply = recv_until(s, b'\n')
        self.assertIn(b'Sorry', reply)
        self.assertNotIn(b'->', reply)
        self.assertTrue(m.wait_journal('TELNET sorry'))

    def test_at_error_answers_every_command_error(self):
        m = self.run_modem('at-error')
        with connect(m.ports['at']) as s:
            for command in (b'AT_IHIP?', b'AT+CFUN=1,1'):
                s.sendall(command + b'\r\n')
                self.assertEqual(recv_until(s, b'\r\n'), b'ERROR\r\n')
        self.assertFalse(m.wait_journal('REBOOT begin', timeout=0.5))

    def test_split_sends_replies_in_small_pieces(self):
        # Pauses long enough that a busy machine still reads them apart.
        m = self.run_modem('split', extra=['--chunk', '4', '--gap', '0.15'])
        whole = b'\0\0\x10\x04\0\0\0\0' + b'5.2.0.12,build 7\0'
        with connect(m.ports['zing']) as s:
            s.sendall(b'\0\0\0\x04')
            parts = pieces(s)
        self.assertEqual(b''.join(parts), whole)
        self.assertGreater(len(parts), 3)
        self.assertEqual(len(parts[0]), 4)
        with connect(m.ports['at']) as s:
            s.sendall(b'AT_IHIP?\r\n')
            parts = pieces(s)
        self.assertTrue(b''.join(parts).endswith(b'OK\r\n'))
        self.assertGreater(len(parts), 3)


class CommandLine(unittest.TestCase):
    def run_sim(self, *args):
        return subprocess.run([PYTHON, MODEMSIM] + list(args), capture_output=True, text=True,
                              timeout=20)

    def test_refuses_what_it_cannot_run(self):
        with tempfile.TemporaryDirectory() as root:
            cases = [
                (['--host', '192.168.128.100'], '127.0.0.0/8'),
                (['--host', '0.0.0.0'], '127.0.0.0/8'),
                (['--host', 'localhost'], 'numeric loopback'),
                (['--fault', 'zing-closed', '--fault', 'zing-silent'], 'exclude each other'),
                (['--fault', 'no-such-fault'], 'unknown fault'),
                (['--fault', 'missing:/../etc/passwd'], 'not a file path'),
                (['--fault', 'missing:checksum.txt'], 'starts with'),
                (['--zing-port', '70000'], 'out of range'),
                (['--version', '5.2.x'], 'display form'),
                (['--reboot-time', '-1'], 'out of range'),
            ]
            for extra, message in cases:
                proc = self.run_sim('--root', root, *extra)
                self.assertEqual(proc.returncode, 2, extra)
                self.assertIn(message, proc.stderr, extra)
            proc = self.run_sim('--root', os.path.join(root, 'absent'))
            self.assertEqual(proc.returncode, 1)
            self.assertIn('--init', proc.stderr)

    def test_a_port_in_use_is_reported(self):
        with socket.socket() as busy, tempfile.TemporaryDirectory() as root:
            busy.bind((HOST, 0))
            busy.listen(1)
            port = busy.getsockname()[1]
            proc = self.run_sim('--root', root, '--init', '--zing-port', str(port),
                                '--ftp-port', '0', '--telnet-port', '0', '--at-port', '0')
        self.assertEqual(proc.returncode, 1)
        self.assertIn('cannot use 127.0.0.1:%d for zing' % port, proc.stderr)

    def test_sigterm_ends_it_cleanly(self):
        m = ModemSim().start()
        try:
            self.assertEqual(m.stop(), 0)
        finally:
            m.cleanup()


class Root(unittest.TestCase):
    def test_image_names_its_version_and_bad_headers_name_none(self):
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, 'kova.bin')
            for data, version in ((modemroot.image_bytes('5.2.0.13', 10), '5.2.0.13'),
                                  (b'KOVA-IMAGE 5.2.0.13\r\nrest', '5.2.0.13'),
                                  (b'KOVA-IMAGE 5.2.x\n', None),
                                  (b'KOVA-IMAGE ' + b'1' * 200, None),
                                  (b'', None)):
                with open(path, 'wb') as f:
                    f.write(data)
                self.assertEqual(modemroot.image_version(path), version, data[:30])
            self.assertIsNone(modemroot.image_version(os.path.join(d, 'absent')))

    def test_make_root_writes_the_tree_and_a_matching_checksum(self):
        import hashlib
        with tempfile.TemporaryDirectory() as d:
            modemroot.make_root(d, '5.2.0.9')
            for name in ('bin/kova.bin', 'checksum.txt', 'config.txt', 'pic.hex',
                         'ram0/syslog.log', 'dns.txt'):
                self.assertTrue(os.path.isfile(os.path.join(d, name)), name)
            image = read(os.path.join(d, 'bin/kova.bin'))
            self.assertIn(hashlib.md5(image).hexdigest().encode(),
                          read(os.path.join(d, 'checksum.txt')))
            self.assertEqual(modemroot.read_dns(d), ('10.0.0.1', '10.0.0.2'))
            self.assertEqual(leftovers(d), [])


if __name__ == '__main__':
    unittest.main()
