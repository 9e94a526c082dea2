"""The line's records in a database: the report over 10,000 of them read from
PostgreSQL, and a station's units per hour with records on against off.

The database is a scratch server of Debian's package that the bench starts
itself on a Unix socket in a folder of its own (as nobody when run as root:
the server refuses root), and stops and removes at the end. A Unix socket
reaches into the station's network namespace, which has no other way out.
"""
import os
import re
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

import stationline

UNITS = 10000


def log(text):
    print(text, file=sys.stderr, flush=True)


class ScratchPostgres:
    def __init__(self):
        self.bin = next((b for b in ("/usr/lib/postgresql/%s/bin/" % v
                                     for v in ("17", "16", "15", "14", "13"))
                         if os.path.exists(b + "initdb") and os.path.exists(b + "pg_ctl")), None)
        if not self.bin:
            raise RuntimeError("PostgreSQL's initdb and pg_ctl are missing (scripts/setup)")
        # Short: a socket's path has room for about 100 characters.
        self.dir = tempfile.mkdtemp(prefix="kova-pg-", dir="/tmp")
        self.started = False
        self.as_user = []
        try:
            if os.geteuid() == 0:
                shutil.chown(self.dir, "nobody", "nogroup")
                self.as_user = ["runuser", "-u", "nobody", "--"]
            self._run("initdb", "-D", self.dir + "/data", "-U", "kova", "-A", "trust",
                      "--no-sync", "-E", "UTF8", "--locale=C")
            # No TCP port, no sync to disk: a scratch server.
            self._run("pg_ctl", "-D", self.dir + "/data", "-l", self.dir + "/log", "-w", "-o",
                      "-k %s -c listen_addresses= -F" % self.dir, "start")
            self.started = True
        except Exception:
            self.close()
            raise

    def _run(self, program, *args):
        p = subprocess.run(self.as_user + [self.bin + program] + list(args),
                           capture_output=True, text=True)
        if p.returncode != 0:
            raise RuntimeError("%s failed: %s" % (program, (p.stdout + p.stderr).strip()))

    @property
    def url(self):
        return "postgresql://kova@/postgres?host=" + self.dir

    def sql(self, text):
        return subprocess.run([self.bin + "psql", "-X", "-q", "-At", "-v", "ON_ERROR_STOP=1",
                               "-d", self.url, "-c", text],
                              check=True, capture_output=True, text=True).stdout.strip()

    def close(self):
        if self.started:
            subprocess.run(self.as_user + [self.bin + "pg_ctl", "-D", self.dir + "/data",
                                           "-m", "fast", "-w", "stop"], capture_output=True)
            self.started = False
        shutil.rmtree(self.dir, ignore_errors=True)


# The line of the file-based report's bench (bench/reportbench.cpp), one row
# per attempt as the database keeps it: 4 stations of 2 interfaces each, a
# unit every 30 s, one in 12 failed, one in 50 skipped, one in 40 a modem
# seen before.
FILL = """
INSERT INTO kova_records (attempt, time, modem, mac, interface, station, operation,
  version_before, version_after, image_name, image_size, image_sha256, outcome, duration_s,
  reason_code)
SELECT 'bench-' || i, timestamptz '2025-12-08T06:00:00Z' + make_interval(secs => i * 30 / 8),
  '192.168.128.100',
  '02:00:' || regexp_replace(lpad(to_hex(CASE WHEN i %% 40 = 39 THEN i - 7 ELSE i END), 8, '0'),
                             '(..)(..)(..)(..)', '\\1:\\2:\\3:\\4'),
  'eth' || (i %% 8 / 4), 'station-' || (i %% 4), 'upgrade', '5.2.0.12',
  CASE WHEN i %% 50 = 7 OR i %% 12 = 5 THEN '5.2.0.12' ELSE '5.2.0.13' END,
  CASE WHEN i %% 50 = 7 THEN NULL ELSE 'kova_5_2_0_13.bin' END,
  CASE WHEN i %% 50 = 7 THEN NULL ELSE 8388608 END,
  CASE WHEN i %% 50 = 7 THEN NULL ELSE repeat('a', 64) END,
  CASE WHEN i %% 50 = 7 THEN 'skipped' WHEN i %% 12 = 5 THEN 'failed' ELSE 'done' END,
  CASE WHEN i %% 50 = 7 THEN 0 ELSE 90 + i %% 17 END,
  CASE WHEN i %% 50 = 7 OR i %% 12 <> 5 THEN NULL ELSE 'ftp-timeout' END
FROM generate_series(0, %d) AS i
"""


def tool_env():
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", KOVA_MODEM_ADDRESS="127.0.0.1")
    env.pop("DISPLAY", None)
    return env


def report_from_database(binary, db, tmp, repeat):
    """Median seconds of --batch report --records over UNITS units, from the
    start of the program to its exit, and of the program's CPU time (the
    server's not counted); the text, CSV and JSON forms in turn."""
    home = tempfile.mkdtemp(prefix="records-", dir=tmp)

    def report(*form):
        p = subprocess.run([binary, "--batch", "report", "--home", home, "--records", db.url]
                           + list(form), capture_output=True, text=True, env=tool_env())
        if p.returncode != 0:
            raise RuntimeError("--batch report --records failed: " + (p.stdout + p.stderr).strip())
        return p.stdout
    report()  # makes the tables
    db.sql(FILL % (UNITS - 1))
    if db.sql("SELECT count(*) FROM kova_records") != str(UNITS):
        raise RuntimeError("the records database does not hold %d rows" % UNITS)
    forms = [(), ("--csv",), ("--json",)]
    seconds, cpu = [], []
    for rep in range(-1, repeat):
        form = forms[rep % len(forms)]
        used = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.monotonic()
        out = report(*form)
        if rep >= 0:
            seconds.append(time.monotonic() - start)
            now = resource.getrusage(resource.RUSAGE_CHILDREN)
            cpu.append(now.ru_utime + now.ru_stime - used.ru_utime - used.ru_stime)
        counts = re.search(r"(\d+) done, (\d+) failed, (\d+) skipped", out)
        if not form and (not counts or sum(map(int, counts.groups())) != UNITS):
            raise RuntimeError("the report does not count %d units: %s" % (UNITS, out[:200]))
    shutil.rmtree(home, ignore_errors=True)
    db.sql("TRUNCATE kova_records")
    return statistics.median(seconds), statistics.median(cpu)


def station_records(binary, db, tmp, pairs, units_each):
    """(result, target, ok) of one station's units per hour with --records
    against without, interleaved pairs whose order alternates; ok None when
    the line cannot be built here."""
    why = stationline.permitted()
    if why:
        return ("skipped: " + why, "within 2 %", None)
    ratios, on_rates, off_rates = [], [], []
    unit_seconds = {False: [], True: []}
    for rep in range(pairs):
        runs = {}
        for records in ((False, True) if rep % 2 == 0 else (True, False)):
            extra = ["--records", db.url] if records else []
            rate, _, seconds = stationline.units_per_hour(binary, 1, units_each, tmp, extra)
            runs[records] = rate
            unit_seconds[records] += seconds
        off_rates.append(runs[False])
        on_rates.append(runs[True])
        ratios.append(runs[True] / runs[False])
        log("records: off %.0f units/h, on %.0f units/h (%.3f)"
            % (runs[False], runs[True], ratios[-1]))
    # Every unit of the runs with records on is in the database, once.
    rows = db.sql("SELECT count(*) FILTER (WHERE outcome = 'done'), count(*) FROM kova_records")
    if rows != "%d|%d" % (pairs * units_each, pairs * units_each):
        raise RuntimeError("the records database holds %s rows (done|all) after %d units"
                           % (rows, pairs * units_each))
    ratio = statistics.median(ratios)
    # A unit's own time apart from the swaps around it, whose moment against
    # the station's looks at the link scatters by seconds.
    return ("%.0f vs %.0f units/h = %.3f (pairs %s); a unit itself %.1f vs %.1f s"
            % (statistics.median(on_rates), statistics.median(off_rates), ratio,
               " ".join("%.3f" % r for r in ratios), statistics.median(unit_seconds[True]),
               statistics.median(unit_seconds[False])),
            "within 2 %", abs(ratio - 1) <= 0.02)


def rows(binary, tmp, repeat, line=True, pairs=5, units_each=3):
    """The two rows: (measurement, result, target, ok or None when skipped)."""
    db = ScratchPostgres()
    try:
        report_s, report_cpu = report_from_database(binary, db, tmp, repeat)
        log("report over %d records from the database: %.3f s (program's CPU %.3f s)"
            % (UNITS, report_s, report_cpu))
        station = (station_records(binary, db, tmp, pairs, units_each) if line
                   else ("left out (BENCH_NO_LINE)", "within 2 %", None))
    finally:
        db.close()
    return [("line report over 10,000 records read from PostgreSQL (program start to exit)",
             "%.3f s (program's CPU %.3f s)" % (report_s, report_cpu), "< 2 s", report_s < 2),
            ("one station's units per hour, records on (PostgreSQL) / off, interleaved",
             station[0], station[1], station[2])]
