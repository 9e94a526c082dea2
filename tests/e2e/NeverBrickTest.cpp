// The binary against a modem whose boot loader refuses an image that did not
// arrive whole (a dead modem answers nothing), broken at every FTP command,
// cut part-way through each upload, writing the flash wrong, and killed at
// every phase. After every row the modem is power-cycled: it must boot a
// whole image, byte-exact, and the one the tool's result named.
#include <csignal>

#include "e2e/E2e.h"

namespace {

const QString kModemSim = QString(KOVA_SOURCE_DIR) + "/tools/modemsim/modemsim.py";

// Switches the modem on again on what its flash holds: false when its boot
// loader refuses the image (it then answers nothing).
bool Boots(const std::string& root) {
  QProcess p;
  p.start(KOVA_PYTHON, {kModemSim, "--host", "127.0.0.1", "--root", QString::fromStdString(root),
                        "--fault", "boot-check", "--zing-port", "0", "--ftp-port", "0",
                        "--telnet-port", "0", "--at-port", "0"});
  QByteArray out;
  while (!out.contains("READY") && p.waitForReadyRead(20000)) out += p.readAllStandardOutput();
  // A dead modem says so in the same write as its ports.
  const bool boots = out.contains("READY") && !out.contains("DEAD");
  p.terminate();
  p.waitForFinished(5000);
  return boots;
}

// One run of the binary against a modem of its own, then the power cycle.
struct Row : Rig {
  Row(std::string what, bool restore, Lines faults, std::string killAt = "")
      : Rig(WithBootCheck(std::move(faults), killAt), ModemOptions(restore, killAt)),
        what(std::move(what)), restore(restore), killAt(std::move(killAt)) {
    running = modem.file("/bin/kova.bin");
    sent = home.read("kova_5_2_0_13.bin");
    if (restore) {
      // The running version's pair, as an earlier upgrade kept it, and the one restored.
      home.write("Backup/kova_5_2_0_13.bin", running);
      home.write("Backup/chk_5_2_0_13.txt", modem.file("/checksum.txt"));
      WriteImage(home.path() / "Backup" / "kova_5_2_0_12.bin", "5.2.0.12");
      home.write("Backup/chk_5_2_0_12.txt", "checksum of 5.2.0.12\n");
      sent = home.read("Backup/kova_5_2_0_12.bin");
    }
  }
  // A version reply in pieces 0.2 s apart: a PC killed in the re-query dies
  // before the reply is whole, however late the kill lands.
  static Lines WithBootCheck(Lines faults, const std::string& killAt) {
    faults.push_back("boot-check");
    if (killAt == "requery") faults.push_back("split");
    return faults;
  }
  static Lines ModemOptions(bool restore, const std::string& killAt) {
    Lines options{"--version", restore ? "5.2.0.13" : "5.2.0.12"};
    if (killAt == "requery") options.insert(options.end(), {"--gap", "0.2"});
    return options;
  }
  QStringList args() const {
    return restore ? QStringList{"--batch", "restore", "5.2.0.12", "--json"}
                   : QStringList{"--batch", "upgrade", "--json"};
  }

  std::string what;
  bool restore;
  std::string killAt;  // the phase the PC dies in; a second run follows
  std::string running, sent;  // the image on the modem before, and the one sent
  bool killed = false;
};
using Rows = std::vector<std::unique_ptr<Row>>;

// Runs every row at once; a row with killAt is killed at that phase's
// event and run again.
void RunAll(Rows& rows) {
  for (auto& r : rows) {
    ASSERT_TRUE(r->modem.ready()) << r->what;
    r->process = StartBatch(r->modem, r->home, r->args());
  }
  QElapsedTimer clock;
  clock.start();
  std::map<Row*, std::string> seen;
  for (bool waiting = true; waiting && clock.elapsed() < 250000;) {
    waiting = false;
    for (auto& r : rows) {
      if (r->killAt.empty() || r->killed || r->process->state() == QProcess::NotRunning) continue;
      waiting = true;
      r->process->waitForReadyRead(20);
      seen[r.get()] += r->process->readAllStandardOutput().toStdString();
      if (Has(seen[r.get()], "\"event\":\"phase\"") &&
          Has(seen[r.get()], "\"name\":\"" + r->killAt + "\"")) {
        ::kill(static_cast<pid_t>(r->process->processId()), SIGKILL);
        r->process->waitForFinished(5000);
        r->killed = true;
        r->process = StartBatch(r->modem, r->home, r->args());
      }
    }
  }
  for (auto& r : rows)
    r->run = FinishBatch(*r->process, static_cast<int>(std::max(1LL, 250000 - clock.elapsed())));
}

// What every row must show: a whole image on the flash after a power cycle,
// the one the result names, and no advice to cut the power unless the image
// was never touched. An incomplete image (expected by exit code 1 rows that
// say so) is never restarted, and the user is told not to power off.
void ExpectWhole(Row& r, int exitCode, bool incomplete = false) {
  SCOPED_TRACE(r.what);
  const BatchRun& last = r.run;  // of the second run after a kill
  EXPECT_EQ(last.exitCode, exitCode) << last.out << last.err;
  std::optional<JsonValue> result;
  for (auto& e : Events(last.out))
    if (Field(e, "event") == "result") result = e;
  ASSERT_TRUE(result) << last.out << last.err;
  const std::string holds = Field(*result, "modem_holds");
  const bool untouched = holds.empty() || holds == "untouched";
  if (r.killed && r.killAt != "prepare" && r.killAt != "backup") {
    EXPECT_TRUE(Has(last.out, "never ended: this ")) << last.out;
  }
  if (!untouched) {
    EXPECT_FALSE(Has(last.err, "Remove power")) << last.err;
  }
  if (incomplete) {
    EXPECT_EQ(holds, "incomplete");
    EXPECT_TRUE(Has(last.err, "Do not switch the modem off.")) << last.err;
    for (const auto& line : r.modem.journal()) EXPECT_NE(line, "ZING reset");
    return;
  }
  const std::string flash = r.modem.file("/bin/kova.bin");
  r.modem.stop();
  EXPECT_TRUE(Boots(r.modem.root())) << "the modem does not start again";
  if (holds == "new-image") EXPECT_TRUE(flash == r.sent) << "not the image sent";
  else if (holds == "old-image" || untouched)
    EXPECT_TRUE(flash == r.running) << holds << ": not the image it ran";
  else
    ADD_FAILURE() << "the modem holds " << holds;
}

}  // namespace

// The connection reset at each file command (RETR, STOR, DELE, QUIT) of both
// chains, the read-backs included.
TEST(NeverBrickEndToEnd, CutAtEachFtpCommand) {
  Rows rows;
  for (int k = 1; k <= 7; ++k)
    for (bool restore : {false, true})
      rows.push_back(std::make_unique<Row>(
          std::string(restore ? "restore" : "upgrade") + " cut at command " + std::to_string(k),
          restore, Lines{"ftp-cut-command:" + std::to_string(k)}));
  ASSERT_NO_FATAL_FAILURE(RunAll(rows));
  // Cut during the backup (the first two commands of an upgrade) the upgrade
  // fails with the image untouched; once the image is on its way it is sent
  // again and ends done.
  for (std::size_t i = 0; i < rows.size(); ++i)
    ExpectWhole(*rows[i], !rows[i]->restore && i / 2 < 2 ? 1 : 0);
}

// Each upload cut after its first byte, half-way and one byte short; the
// part stays on the flash.
TEST(NeverBrickEndToEnd, CutPartWayThroughEachUpload) {
  Rows rows;
  for (bool restore : {false, true})
    for (const std::string remote : {"/bin/kova.bin", "/checksum.txt"}) {
      const long size = remote == "/bin/kova.bin" ? 300020 : 20;
      for (long at : {1L, size / 2, size - 1})
        rows.push_back(std::make_unique<Row>(
            std::string(restore ? "restore" : "upgrade") + " cut in " + remote + " at " +
                std::to_string(at),
            restore, Lines{"ftp-cut:" + std::to_string(at) + ":" + remote}));
    }
  ASSERT_NO_FATAL_FAILURE(RunAll(rows));
  // Cut once, each ends upgraded or restored.
  for (auto& r : rows) ExpectWhole(*r, 0);
}

// A flash that writes every image wrong takes the old one wrong too; a
// server gone after the cut takes nothing: the modem is left incomplete.
TEST(NeverBrickEndToEnd, FlashWriteErrorsAndAServerGoneAfterTheCut) {
  const std::tuple<const char*, bool, Lines, bool> specs[] = {
      {"image written wrong once", false, {"flash-error-once"}, false},
      {"checksum file written wrong once", false, {"flash-error-once:/checksum.txt"}, false},
      {"image written wrong every time", false, {"flash-error"}, true},
      {"restore written wrong once", true, {"flash-error-once"}, false},
      {"restore written wrong every time", true, {"flash-error"}, true},
      {"FTP server gone after the cut", false, {"ftp-cut:150000", "ftp-gone-after-cut"}, true}};
  Rows rows;
  for (auto& [what, restore, faults, incomplete] : specs)
    rows.push_back(std::make_unique<Row>(what, restore, faults));
  ASSERT_NO_FATAL_FAILURE(RunAll(rows));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const bool incomplete = std::get<3>(specs[i]);
    ExpectWhole(*rows[i], incomplete ? 1 : 0, incomplete);
  }
}

// The PC dies in each phase; the next run names the unfinished upload and
// completes it.
TEST(NeverBrickEndToEnd, KilledInEachPhaseThenRunAgain) {
  Rows rows;
  for (const char* phase : {"prepare", "backup", "upload", "verify", "restart", "requery"})
    rows.push_back(std::make_unique<Row>(std::string("killed in ") + phase, false, Lines{}, phase));
  ASSERT_NO_FATAL_FAILURE(RunAll(rows));
  for (auto& r : rows) {
    EXPECT_TRUE(r->killed) << r->what;
    ExpectWhole(*r, 0);
  }
}

// A second process on the modem another one works on is refused, naming it,
// though it runs in another session (a cron job, sudo: another runtime folder).
TEST(NeverBrickEndToEnd, ASecondProcessOnTheModemIsRefused) {
  Rig rig({}, {"--ftp-rate", "100000"});
  const ModemSim& modem = rig.modem;
  ASSERT_TRUE(modem.ready());
  TempDir other, firstSession, secondSession;
  PrepareHome(other, false);
  rig.modem.environment["XDG_RUNTIME_DIR"] = firstSession.str();
  auto first = StartBatch(modem, rig.home, {"--batch", "upgrade"});
  ASSERT_TRUE(modem.waitJournal("FTP RETR /bin/kova.bin", 30000));
  rig.modem.environment["XDG_RUNTIME_DIR"] = secondSession.str();
  auto second = FinishBatch(*StartBatch(modem, other, {"--batch", "upgrade"}), 60000);
  EXPECT_NE(second.exitCode, 0);
  EXPECT_TRUE(Has(second.err, "Another process of this tool is working on the Satellite IP Modem "
                              "at 127.0.0.1: process " +
                                  std::to_string(first->processId()) + " ("))
      << second.err;
  EXPECT_TRUE(FilesUnder(other.path() / "Backup").size() <= 1) << "nothing but a history";
  auto done = FinishBatch(*first, 170000);
  EXPECT_EQ(done.exitCode, 0) << done.err;
}
