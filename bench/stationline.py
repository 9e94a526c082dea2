"""A production line in network namespaces of the bench's own: units per hour
with several stations at once against one.

Each interface of a station namespace leads over a veth pair to a modem
namespace holding the simulated modem at 192.168.128.100, which restarts in a
second. When a unit is done, the operator of that interface swaps it half a
second later: the link goes down, a fresh modem (its old version, another MAC) comes up, and
the link returns once the station has taken the unit for gone, 1.5 s after
it went at the soonest. The station namespace is checked to have no way out;
everything is removed at the end.
"""
import json
import os
import queue
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MODEMSIM = os.path.join(REPO, "tools", "modemsim", "modemsim.py")
PYTHON = "/usr/bin/python3"
SWAP_REACH_S = 0.5


def sh(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def permitted():
    """Why the line cannot be built here, or None."""
    if os.geteuid() != 0:
        return "needs root for network namespaces"
    if shutil.which("ip") is None:
        return "no ip (iproute2)"
    probe = "kova-probe-%d" % os.getpid()
    if subprocess.run(["ip", "netns", "add", probe], capture_output=True).returncode != 0:
        return "cannot create network namespaces here"
    subprocess.run(["ip", "netns", "del", probe], capture_output=True)
    return None


class Line:
    def __init__(self, count, tmp):
        tag = "kb%d" % os.getpid()
        self.station = tag + "s"
        self.modems = ["%sm%d" % (tag, i) for i in range(1, count + 1)]
        self.tmp = tmp
        self.sims = [None] * count
        self.units = [0] * count
        self.unplugged = [None] * count
        self.made = []
        try:
            self._build()
        except Exception:
            self.close()
            raise

    def _build(self):
        s = self.station
        sh("ip", "netns", "add", s)
        self.made.append(s)
        sh("ip", "-n", s, "link", "set", "lo", "up")
        sh("ip", "netns", "exec", s, "sysctl", "-qw", "net.ipv4.conf.all.rp_filter=2")
        for i, m in enumerate(self.modems, 1):
            sh("ip", "netns", "add", m)
            self.made.append(m)
            sh("ip", "-n", m, "link", "set", "lo", "up")
            sh("ip", "-n", s, "link", "add", "v%d" % i, "type", "veth", "peer", "name", "m%d" % i,
               "netns", m)
            sh("ip", "-n", m, "addr", "add", "192.168.128.100/24", "dev", "m%d" % i)
            sh("ip", "-n", s, "addr", "add", "192.168.128.%d/24" % (10 + i), "dev", "v%d" % i)
            sh("ip", "netns", "exec", s, "sysctl", "-qw", "net.ipv4.conf.v%d.rp_filter=2" % i)
            sh("ip", "-n", s, "link", "set", "v%d" % i, "up")
        links = subprocess.run(["ip", "-n", s, "-o", "link", "show"], capture_output=True,
                               text=True, check=True).stdout
        names = sorted(l.split()[1].split("@")[0].rstrip(":") for l in links.splitlines())
        routes = subprocess.run(["ip", "-n", s, "route", "show", "default"], capture_output=True,
                                text=True, check=True).stdout
        if names != sorted(["lo"] + ["v%d" % i for i in range(1, len(self.modems) + 1)]) or routes:
            raise RuntimeError("the station namespace is not closed: %s %s" % (names, routes))
        for i in range(len(self.modems)):
            self.unplug(i)
            self.replug(i)

    def unplug(self, i):
        """Takes the unit on interface i away and readies a fresh one: old
        version, a MAC of its own."""
        m, peer = self.modems[i], "m%d" % (i + 1)
        subprocess.run(["ip", "-n", m, "link", "set", peer, "down"], check=True)
        self.unplugged[i] = time.monotonic()
        if self.sims[i]:
            self.sims[i].terminate()
            self.sims[i].wait()
        root = os.path.join(self.tmp, "modem%d" % i)
        shutil.rmtree(root, ignore_errors=True)
        self.units[i] += 1
        sh("ip", "-n", m, "link", "set", peer, "address",
           "02:00:5e:%02x:%02x:%02x" % (i + 1, self.units[i] // 256, self.units[i] % 256))
        p = subprocess.Popen(
            ["ip", "netns", "exec", m, PYTHON, MODEMSIM, "--init", "--own-namespace", "--host",
             "192.168.128.100", "--root", root, "--version", "5.2.0.12", "--reboot-time", "1",
             "--reflash-time", "1", "--zing-port", "1827", "--ftp-port", "21",
             "--telnet-port", "23", "--at-port", "1829"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        if "READY" not in p.stdout.readline():
            raise RuntimeError("a simulated modem did not start")
        self.sims[i] = p

    def replug(self, i):
        """Connects the fresh unit, at least as long after the last one went as
        an operator takes to swap it."""
        time.sleep(max(0.0, 1.5 - (time.monotonic() - self.unplugged[i])))
        sh("ip", "-n", self.modems[i], "link", "set", "m%d" % (i + 1), "up")
        self.unplugged[i] = None

    def close(self):
        for p in self.sims:
            if p:
                p.terminate()
                p.wait()
        for ns in self.made:
            subprocess.run(["ip", "netns", "del", ns], capture_output=True)


def units_per_hour(binary, count, units_each, tmp, extra=()):
    """Runs count stations until each has done units_each units; extra: more
    options of the tool. Units per hour, seconds a round, each unit's seconds."""
    home = tempfile.mkdtemp(prefix="home%d-" % count, dir=tmp)
    with open(os.path.join(home, "kova_5_2_0_13.bin"), "wb") as f:
        f.write(b"KOVA-IMAGE 5.2.0.13\n" + os.urandom(1 << 20))
    with open(os.path.join(home, "chk_5_2_0_13.txt"), "w") as f:
        f.write("5.2.0.13\r\n")
    line = Line(count, os.path.join(home, "line"))
    try:
        names = ["v%d" % i for i in range(1, count + 1)]
        env = dict(os.environ, KOVA_MODEM_ADDRESS="192.168.128.100",  # inside the namespace
                   XDG_CONFIG_HOME=os.path.join(home, "config"))  # the tool's journal: ours
        for k in ("KOVA_PORT_ZING", "KOVA_PORT_FTP", "KOVA_PORT_TELNET", "KOVA_PORT_AT",
                  "DISPLAY"):
            env.pop(k, None)
        start = time.monotonic()
        errors = open(os.path.join(home, "stderr.txt"), "w")
        tool = subprocess.Popen(
            ["ip", "netns", "exec", line.station, binary, "--batch", "--json", "--station",
             "--interface", ",".join(names)] + list(extra) + ["upgrade"],
            cwd=home, env=env, stdout=subprocess.PIPE, stderr=errors, text=True)
        done = [0] * count
        failed = 0
        seconds = []  # each unit's own, without the swaps
        # A line that stops moving is ended, not waited for.
        watchdog = threading.Timer(120 * units_each + 60, tool.kill)
        watchdog.start()
        events = open(os.path.join(home, "events.jsonl"), "w")
        # Read by a thread, so that a swap falls due while the tool is quiet.
        lines = queue.Queue()

        def read():
            for text in tool.stdout:
                lines.put(text)
            lines.put(None)
        threading.Thread(target=read, daemon=True).start()
        due = {}  # interface -> when its operator takes the unit away
        while True:
            wait = max(0.0, min(due.values()) - time.monotonic()) if due else None
            try:
                text = lines.get(timeout=wait)
            except queue.Empty:
                text = ""
            # Swapped from here, not from a thread: a modem started by a
            # thread would die with it.
            for i in [i for i, when in due.items() if when <= time.monotonic()]:
                del due[i]
                line.unplug(i)
            if text is None:
                break
            if not text:
                continue
            events.write("%.3f %s" % (time.monotonic() - start, text))
            event = json.loads(text)
            i = names.index(event["interface"]) if event.get("interface") in names else None
            # The link comes back once the station took the unit for gone: a
            # swap shorter than the station's look at the link (one in a
            # second, between version reads that may be waiting for the
            # departed modem) would go unseen, and the fresh unit taken for
            # the old one.
            if (i is not None and line.unplugged[i] is not None and event.get("event") == "note"
                    and event.get("text", "").startswith("Waiting for a modem")):
                line.replug(i)
            if event.get("event") != "result":
                continue
            if event["exit_code"] != 0:
                failed += 1
            seconds.append(event.get("duration_s", 0))
            done[i] += 1
            if sum(done) >= count * units_each:
                break
            # Pulled between the station's looks at the departing modem (one
            # a second, from the result on, each a few milliseconds), not in
            # one: a look at a modem whose link went down meanwhile waits out
            # its time-outs, some 8 s, and whether the cable goes in the first
            # milliseconds after the result would be left to chance.
            if done[i] < units_each:
                due[i] = time.monotonic() + SWAP_REACH_S
        elapsed = time.monotonic() - start
        watchdog.cancel()
        tool.send_signal(signal.SIGINT)
        try:
            tool.wait(60)
        except subprocess.TimeoutExpired:
            tool.kill()
            tool.wait()
        units = sum(done)
        errors.close()
        events.close()
        if units < count * units_each or failed:
            with open(os.path.join(home, "stderr.txt")) as f:
                said = f.read().strip().splitlines()[-5:]
            raise RuntimeError("the line of %d did %d units, %d failed; the tool said: %s"
                               % (count, units, failed, " | ".join(said)))
        return units / (elapsed / 3600.0), elapsed / units_each, seconds
    finally:
        line.close()


def row(binary, tmp, units_each=3):
    """(result text, target, ok) of the line row; ok None when skipped."""
    why = permitted()
    if why:
        return ("skipped: " + why, ">= 3.5x", None)
    one, one_unit, _ = units_per_hour(binary, 1, units_each, tmp)
    four, four_unit, _ = units_per_hour(binary, 4, units_each, tmp)
    print("line: 1 station %.0f units/h (%.1f s a unit), 4 stations %.0f units/h "
          "(%.1f s a round)" % (one, one_unit, four, four_unit), file=sys.stderr, flush=True)
    ratio = four / one
    return ("%.0f vs %.0f units/h = %.2fx" % (four, one, ratio), ">= 3.5x", ratio >= 3.5)
