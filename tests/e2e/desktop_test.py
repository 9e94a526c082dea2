#!/usr/bin/python3
"""The real window on a virtual X display with a window manager, against
the simulated modem on loopback: worked by keyboard alone, and read the way
a screen reader reads it (AT-SPI on a D-Bus session of its own).

    unshare --net desktop_test.sh   (KOVA_UPGRADER_BIN=...)

Run in a network namespace of its own, with only loopback: the window can
be pointed at any address, and no key pressed here may reach one.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(REPO, 'tools', 'modemsim'))
import modemroot  # noqa: E402
from harness import ModemSim  # noqa: E402

BINARY = os.environ.get('KOVA_UPGRADER_BIN', os.path.join(REPO, 'build', 'release', 'kova-upgrader'))
MAIN = 'KOVA Satellite IP Modem Upgrader'
CHOOSER = 'Restore Satellite IP Modem Software'
ADDRESS = 'Configure Modem Interface'


def xdotool(*args):
    return subprocess.run(['xdotool', *args], capture_output=True, text=True).stdout


def windows():
    """Visible top-level windows with a title: {title: id}."""
    found = {}
    for wid in xdotool('search', '--onlyvisible', '--name', '.').split():
        name = xdotool('getwindowname', wid).strip()
        if name and name != 'Openbox':
            found[name] = wid
    return found


def wait(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.2)
    raise AssertionError('waited %d s for %s; windows: %s' % (timeout, what, list(windows())))


def key(*keys):
    xdotool('key', '--clearmodifiers', *keys)
    time.sleep(0.3)


def no_route_out():
    routes = subprocess.run(['ip', '-o', 'route', 'show', 'table', 'all'], capture_output=True,
                            text=True).stdout.splitlines()
    return all(' lo ' in r or r.startswith(('local ', 'broadcast ')) for r in routes)


class Desktop:
    """A window manager, a modem and the tool in a home of its own."""

    def __enter__(self):
        assert no_route_out(), 'this namespace has a route out'
        self.tmp = tempfile.mkdtemp(prefix='kova-desktop-')
        self.home = os.path.join(self.tmp, 'home')
        backup = os.path.join(self.home, 'Backup')
        os.makedirs(backup)
        for folder, version in ((self.home, '5.2.0.13'), (backup, '5.2.0.11')):
            name = version.replace('.', '_')
            with open(os.path.join(folder, 'kova_%s.bin' % name), 'wb') as f:
                f.write(modemroot.image_bytes(version, 65536))
            with open(os.path.join(folder, 'chk_%s.txt' % name), 'w') as f:
                f.write('checksum of %s\n' % version)
        quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The accessibility bus first: a program joins it as it starts.
        self.helpers = [subprocess.Popen(['/usr/libexec/at-spi-bus-launcher',
                                          '--launch-immediately'], **quiet),
                        subprocess.Popen(['openbox'], **quiet)]
        time.sleep(1)
        self.modem = ModemSim(reboot_time=0.5).start()
        env = dict(os.environ, KOVA_MODEM_ADDRESS='127.0.0.1', HOME=self.tmp, QT_QPA_PLATFORM='xcb',
                   XDG_CONFIG_HOME=os.path.join(self.tmp, 'config'),
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', QT_ACCESSIBILITY='1')
        for name, port in self.modem.ports.items():
            env['KOVA_PORT_' + name.upper()] = str(port)
        self.tool = subprocess.Popen([BINARY, '--lang', 'en'], cwd=self.home, env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.main = wait(lambda: windows().get(MAIN), 20, 'the main window')
        wait(lambda: self.modem.wait_journal(lambda l: 'ZING version' in l, 0), 20, 'the start-up read')
        return self

    def __exit__(self, *exc):
        for p in [self.tool] + self.helpers:
            p.terminate()
            try:
                p.wait(10)
            except subprocess.TimeoutExpired:
                p.kill()
        self.modem.cleanup()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def focus_main(self):
        xdotool('windowactivate', '--sync', self.main)

    def history(self, operation, outcome):
        try:
            with open(os.path.join(self.home, 'Backup', 'history.jsonl')) as f:
                lines = [json.loads(line) for line in f if line.strip()]
        except OSError:
            return None
        return next((e for e in lines if e.get('operation') == operation and
                     e.get('outcome') == outcome), None)

    def answer_boxes_until(self, done, timeout, what):
        """Return on every message box until done() is true."""
        def step():
            for name, wid in windows().items():
                if name not in (MAIN, CHOOSER, ADDRESS):
                    xdotool('windowactivate', '--sync', wid)
                    key('Return')
            return done()
        return wait(step, timeout, what)


class KeyboardOnly(unittest.TestCase):
    def test_an_upgrade_and_a_restore_by_keyboard_alone(self):
        with Desktop() as d:
            d.answer_boxes_until(lambda: True, 5, 'the start-up boxes')
            # Escape closes a dialog, as does its button's key. (Its Return
            # would point the tool at the dialog's private address.)
            for close in ('Escape', 'alt+c'):
                d.focus_main()
                key('alt+t')
                key('c')
                wait(lambda: ADDRESS in windows(), 10, 'the address dialog')
                key(close)
                wait(lambda: ADDRESS not in windows(), 10, 'the address dialog to close on ' + close)

            d.focus_main()
            key('alt+u')
            d.answer_boxes_until(lambda: d.history('upgrade', 'done'), 120, 'the upgrade')
            self.assertEqual(modemroot.image_version(d.modem.path('/bin/kova.bin')), '5.2.0.13')

            # OK with nothing chosen restores nothing; the chooser opened
            # again still takes Return.
            d.focus_main()
            key('alt+r')
            wait(lambda: CHOOSER in windows(), 10, 'the restore chooser')
            key('Return')
            wait(lambda: CHOOSER not in windows(), 10, 'the chooser to close')
            self.assertIsNone(d.history('restore', 'began'))
            d.focus_main()
            key('alt+r')
            wait(lambda: CHOOSER in windows(), 10, 'the restore chooser again')
            key('Down')
            key('Return')
            restored = d.answer_boxes_until(lambda: d.history('restore', 'done'), 120, 'the restore')
            self.assertIn(restored['version_after'], ('5.2.0.11', '5.2.0.12'))
            self.assertEqual(modemroot.image_version(d.modem.path('/bin/kova.bin')),
                             restored['version_after'])


class ScreenReader(unittest.TestCase):
    def test_every_control_has_a_name_and_a_role(self):
        import pyatspi
        with Desktop():
            def app():
                desktop = pyatspi.Registry.getDesktop(0)
                return next((a for a in desktop if a and a.name == 'KOVA Upgrader'), None)
            found, nameless = set(), []

            def walk(node):
                for child in node:
                    if child is None:
                        continue
                    role = child.getRoleName()
                    found.add((child.name, role, child.description))
                    if not child.name and role in ('push button', 'text', 'check box',
                                                   'progress bar', 'list', 'menu item'):
                        nameless.append(role)
                    walk(child)

            def read():
                found.clear()
                nameless.clear()
                application = app()
                if application:
                    walk(application)
                return any(name == 'Status' for name, _, _ in found)
            wait(read, 30, 'the window on the accessibility bus')
            self.assertEqual(nameless, [])
            for name, role in (
                    ('IP Address:', 'text'), ('New software version:', 'text'),
                    ('Modem software version:', 'text'), ('Status', 'text'),
                    ('No PIC file to upgrade in this version.', 'check box'),
                    ('Upgrade', 'push button'), ('Restore', 'push button'),
                    ('PIC upgrade', 'push button'), ('Progress', 'progress bar'),
                    ('File', 'menu item'), ('Tools', 'menu item'), ('Help', 'menu item')):
                self.assertIn((name, role), {(n, r) for n, r, _ in found}, found)
            # The light in words: the start-up read found the modem.
            self.assertIn(('Connection to the Satellite IP Modem', 'frame', 'green'), found)


if __name__ == '__main__':
    unittest.main()
