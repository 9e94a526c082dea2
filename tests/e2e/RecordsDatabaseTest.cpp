// A production line's records in a real PostgreSQL: a scratch server of
// Debian's package, run as an unprivileged user on a Unix socket in a
// temporary folder, stopped and removed at the end (also on failure).
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QThread>
#include <cstdio>
#include <iostream>
#include <set>

#include "app/Records.h"
#include "e2e/E2e.h"
#include "sim/SigningKey.h"
#ifdef KOVA_RECORDS
#include "platform/qt/PqRecordsDatabase.h"
#endif

namespace {

class PgServer {
 public:
  PgServer() {
    for (const auto& version : {"17", "16", "15", "14", "13"}) {
      const std::string bin = std::string("/usr/lib/postgresql/") + version + "/bin/";
      if (std::filesystem::exists(bin + "initdb") && std::filesystem::exists(bin + "pg_ctl")) {
        bin_ = bin;
        break;
      }
    }
    if (bin_.empty()) return;
    char dir[] = "/tmp/kova-pg-XXXXXX";
    if (!::mkdtemp(dir)) return;
    dir_ = dir;
    // The server refuses to run as root.
    if (::geteuid() == 0) {
      const passwd* nobody = ::getpwnam("nobody");
      if (!nobody || ::chown(dir, nobody->pw_uid, nobody->pw_gid) != 0) return;
      as_ = "runuser -u nobody -- ";
    }
    const auto [code, out] = Shell(as_ + bin_ + "initdb -D " + dir_ + "/data -U kova -A trust " +
                                   "--no-sync -E UTF8 --locale=C");
    if (code != 0) {
      error = out;
      return;
    }
    start();
  }
  ~PgServer() {
    if (started_) stop();
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }
  bool missing() const { return bin_.empty(); }
  bool ready() const { return started_; }
  // On its socket only, no TCP port; no sync to disk (a scratch server).
  bool start() {
    const auto [code, out] =
        Shell(as_ + bin_ + "pg_ctl -D " + dir_ + "/data -l " + dir_ + "/log -w -o " +
              Quoted("-k " + dir_ + " -c listen_addresses= -F") + " start");
    if (code != 0) error = out + Shell("cat " + dir_ + "/log").second;
    return started_ = code == 0;
  }
  // As a power cut: no shutdown checkpoint, the connections cut.
  void stop() {
    Shell(as_ + bin_ + "pg_ctl -D " + dir_ + "/data -m immediate stop");
    started_ = false;
  }
  std::string url(const std::string& database = "postgres",
                  const std::string& password = "") const {
    return "postgresql://kova" + (password.empty() ? "" : ":" + password) + "@/" + database +
           "?host=" + dir_;
  }
  // Runs sql; its rows, fields split by '|'.
  std::string sql(const std::string& text, const std::string& database = "postgres") const {
    std::ofstream(dir_ + "/query.sql", std::ios::trunc) << text;
    return Shell(bin_ + "psql -X -q -At -v ON_ERROR_STOP=1 -d " + Quoted(url(database)) + " -f " +
                 dir_ + "/query.sql")
        .second;
  }
  std::string error;

 private:
  std::string bin_, dir_, as_;
  bool started_ = false;
};

Lines QueueFiles(const TempDir& home) {
  Lines queues;
  for (const auto& name : FilesUnder(home.path() / "Backup"))
    if (name.starts_with("records-queue")) queues.push_back(name);
  return queues;
}

#define NEED_SERVER(server)                                                             \
  if ((server).missing()) GTEST_SKIP() << "PostgreSQL's initdb and pg_ctl are missing"; \
  ASSERT_TRUE((server).ready()) << (server).error

}  // namespace

#ifdef KOVA_RECORDS

// One attempt's "began" line and its final one, every field set, left in
// the queue of a run that ended; a later run sends them, once, into a
// database that is empty or at the previous schema version, and history
// reads back what was written, also over a span of time. A URL of another
// kind is a usage error.
TEST(RecordsDatabase, MigratesFromEmptyAndFromThePreviousSchemaAndReadsItBack) {
  PgServer server;
  NEED_SERVER(server);
  HistoryEntry done{.time = "2026-12-08T06:01:33Z", .modemAddress = "127.0.0.1",
                    .modemMac = "00:a0:bc:01:02:03", .interfaceName = "eth1",
                    .operation = "upgrade", .versionBefore = "5.2.0.12",
                    .versionAfter = "5.2.0.13", .imageName = "kova_5_2_0_13.bin",
                    .imageSize = 300012, .imageSha256 = std::string(64, 'a'), .outcome = "done",
                    .durationSeconds = 31.5, .attempt = "6f1c2b1e-0d51-4f8e-9a57-1c6c1c1d0e01",
                    .holds = "new-image", .verifiedSha256 = std::string(64, 'a'),
                    .backupName = "kova_5_2_0_12.bin", .backupSize = 300011,
                    .backupSha256 = std::string(64, 'b'),
                    .backupChecksumSha256 = std::string(64, 'c'), .signedBy = "line key",
                    .station = "station-7"};
  HistoryEntry began = done;
  began.outcome = "began";
  began.versionAfter = began.holds = began.verifiedSha256 = began.backupName = "";
  began.backupSize = -1;
  began.backupSha256 = began.backupChecksumSha256 = "";
  began.backupImage = "kova_5_2_0_12.bin";
  began.time = "2026-12-08T06:01:40Z";
  HistoryEntry failed{.time = "2026-12-08T07:00:00Z", .modemAddress = "127.0.0.1",
                      .modemMac = "00:a0:bc:01:02:04", .interfaceName = "", .operation = "dns",
                      .versionBefore = "5.2.0.13", .versionAfter = "5.2.0.13", .imageName = "",
                      .imageSha256 = "", .outcome = "failed", .durationSeconds = 4,
                      .attempt = "attempt-2", .reasonCode = "disk-full", .dnsPrimary = "10.0.0.1",
                      .dnsSecondary = "10.0.0.2", .station = "station-7"};
  // What the database holds: the began line's backup with the final line.
  HistoryEntry row = done;
  row.backupImage = began.backupImage;

  server.sql("CREATE DATABASE old");
  const auto& migrations = PqRecordsDatabase::Migrations();
  ASSERT_EQ(migrations.size(), 2u);
  server.sql(
      "CREATE TABLE kova_schema (version integer PRIMARY KEY, applied timestamptz NOT "
      "NULL DEFAULT now()); " +
          migrations[0] +
          "; INSERT INTO kova_schema VALUES (1); "
          "INSERT INTO kova_records (attempt, time, modem, operation, outcome, duration_s) "
          "VALUES ('earlier', '2026-12-01T00:00:00Z', '127.0.0.1', 'reset', 'done', 2)",
      "old");
  for (const std::string database : {"postgres", "old"}) {
    SCOPED_TRACE(database);
    Rig rig;
    ASSERT_TRUE(rig.modem.ready());
    // A run of this tool that ended (no process has that id) left them; the lines come twice, as
    // after a write that the database took but whose answer was lost.
    struct stat pidNamespace {};
    ASSERT_EQ(::stat("/proc/self/ns/pid", &pidNamespace), 0);
    const std::string queue = rig.home.str() + "/Backup/records-queue-4194305-1-" +
                              std::to_string(pidNamespace.st_ino) + ".jsonl";
    std::filesystem::create_directories(rig.home.path() / "Backup");
    Text error;
    std::string readError;
    for (const auto* entry : {&began, &began, &done, &failed, &done, &began})
      ASSERT_TRUE(AppendHistory(queue, *entry, error)) << error;
    const auto run =
        RunBatch(rig.modem, rig.home,
                 {"--batch", "version", "--records", QString::fromStdString(server.url(database))});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(QueueFiles(rig.home), Lines{});
    EXPECT_EQ(server.sql("SELECT string_agg(version::text, ',' ORDER BY version) FROM kova_schema",
                         database),
              "1,2\n");
    const auto read = RunBatch(rig.modem, rig.home,
                               {"--batch", "history", "--json", "--records",
                                QString::fromStdString(server.url(database))});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    std::vector<HistoryEntry> entries;
    std::istringstream lines(read.out);
    for (std::string line; std::getline(lines, line);)
      if (auto entry = HistoryEntryFromLine(line)) entries.push_back(*entry);
    std::vector<HistoryEntry> expected{row, failed};
    if (database == "old")
      expected.insert(expected.begin(),
                      HistoryEntry{"2026-12-01T00:00:00Z", "127.0.0.1", "", "", "reset", "", "", "",
                                   -1, "", "done", 2, "earlier"});
    EXPECT_EQ(entries, expected) << read.out;
    // The line's report asks for a span of time: since is in it, until is not.
    QtPlatform platform;
    const auto span = ReadRecords(platform, server.url(database), "2026-12-08T07:00:00Z",
                                  "2026-12-08T07:00:01Z", readError);
    ASSERT_TRUE(span) << readError;
    EXPECT_EQ(*span, std::vector<HistoryEntry>{failed});
    EXPECT_EQ(
        ReadRecords(platform, server.url(database), "", "2026-12-08T07:00:00Z", readError)->size(),
        expected.size() - 1);
    if (database == "old") {
      const auto refused =
          RunBatch(rig.modem, rig.home,
                   {"--batch", "version", "--json", "--records", "mysql://u:sekrit-pw@h/d"});
      EXPECT_EQ(refused.exitCode, 2);
      ASSERT_EQ(Events(refused.out).size(), 1u) << refused.out;
      EXPECT_EQ(Field(Events(refused.out)[0], "reason_code"), "bad-argument");
      EXPECT_FALSE(Has(refused.out + refused.err, "sekrit")) << refused.err;
    }
  }
}

// Two stations upgrade at once; the server dies as soon as an upload is on
// record and comes back: every attempt arrives once, complete, within the
// same runs, and each run told of the wait at most once. Meanwhile a third
// run resets its modem with a database that never answers: its row waits in
// the queue (one line says so) and the next run there sends it. The URL's
// password shows nowhere.
TEST(RecordsDatabase, StationsWriteAtOnceThroughAServerKilledAndAQueueALaterRunSends) {
  PgServer server;
  NEED_SERVER(server);
  const QString url = QString::fromStdString(server.url("postgres", "sekrit-pw"));
  Rigs rigs;
  for (int i = 0; i < 3; ++i) {
    rigs.push_back(std::make_unique<Rig>(Lines{}, Lines{"--reboot-time", "3"}));
    ASSERT_TRUE(rigs.back()->modem.ready());
  }
  for (int i = 0; i < 2; ++i)
    rigs[i]->process = StartBatch(rigs[i]->modem, rigs[i]->home,
                                  {"--batch", "upgrade", "--json", "--records", url});
  Rig& away = *rigs[2];
  away.process =
      StartBatch(away.modem, away.home, {"--batch", "reset", "--json", "--records", url + "-away"});
  QElapsedTimer clock;
  clock.start();
  for (std::string began; clock.elapsed() < 60000; QThread::msleep(50)) {
    began = server.sql("SELECT count(*) FROM kova_records WHERE outcome = 'began'");
    if (began == "1\n" || began == "2\n") break;
  }
  server.stop();
  QThread::msleep(300);
  ASSERT_TRUE(server.start()) << server.error;
  FinishAll(rigs, 170000);

  Lines told;
  for (const auto& event : Events(away.run.out))
    if (Field(event, "event") == "warning") told.push_back(Field(event, "kind"));
  EXPECT_EQ(told, Lines{"records-waiting"}) << away.run.out;
  ASSERT_EQ(QueueFiles(away.home).size(), 1u);
  const std::string queued = away.home.read("Backup/" + QueueFiles(away.home)[0]);
  const auto later = RunBatch(away.modem, away.home, {"--batch", "version", "--records", url});
  EXPECT_EQ(later.exitCode, 0) << later.err;

  std::set<std::string> attempts;
  for (auto& r : rigs) {
    EXPECT_EQ(r->run.exitCode, 0) << r->run.err;
    EXPECT_EQ(QueueFiles(r->home), Lines{}) << r->run.out;
    int waits = 0;
    for (const auto& event : Events(r->run.out)) waits += Field(event, "kind") == "records-waiting";
    EXPECT_LE(waits, 1) << r->run.out;
    for (const auto& e : HistoryOperations(HistoryIn(r->home)))
      attempts.insert(e.attempt + "|" + e.operation + "|" + e.outcome + "|" + e.imageSha256);
    for (const std::string& text : {r->run.out, r->run.err, r->home.read("Backup/history.jsonl"),
                                    queued, later.out, later.err})
      EXPECT_FALSE(Has(text, "sekrit")) << text;
  }
  EXPECT_EQ(attempts.size(), 3u);
  std::set<std::string> rows;
  std::istringstream lines(
      server.sql("SELECT attempt || '|' || operation || '|' || outcome || "
                 "'|' || COALESCE(image_sha256, '') FROM kova_records"));
  for (std::string line; std::getline(lines, line);) rows.insert(line);
  EXPECT_EQ(rows, attempts);
  // The line's report, read from the database: the two units upgraded.
  const auto report = RunBatch(away.modem, away.home, {"--batch", "report", "--records", url});
  EXPECT_EQ(report.exitCode, 0) << report.err;
  EXPECT_TRUE(Has(report.out, ": 2 done, 0 failed, 0 skipped; yield 100.0 %")) << report.out;
  std::cout << report.out;
}

#endif  // KOVA_RECORDS
