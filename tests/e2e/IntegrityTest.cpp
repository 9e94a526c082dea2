// The binary in batch mode against modems whose files cannot give a backup
// (empty, endless), killed half-way through one, two verifies sharing a home,
// and a history that is no regular file. What counts is what the user and
// the modem see: the exit code and the message, nothing sent to the modem,
// and a Backup folder holding whole pairs under their names and nothing else.
#include <csignal>
#include <sys/stat.h>

#include "e2e/E2e.h"

namespace {
// A modem and a home of its own (with the new image), for rows run at once.
struct Rig {
  explicit Rig(const Lines& faults = {}, const Lines& options = {}) : modem(faults, options) {
    PrepareHome(home, false);
  }
  ModemSim modem;
  TempDir home;
};
using Rigs = std::vector<std::unique_ptr<Rig>>;
using Processes = std::vector<std::unique_ptr<QProcess>>;

// What Backup/ holds besides the history.
Lines BackupFiles(const TempDir& home) {
  Lines names = FilesUnder(home.path() / "Backup");
  std::erase(names, "history.jsonl");
  return names;
}

// A file went up to the modem, or one was deleted there.
bool Sent(const ModemSim& modem) {
  for (auto& line : modem.journal())
    if (line.rfind("FTP STOR", 0) == 0 || line.rfind("FTP DELE", 0) == 0) return true;
  return false;
}
}  // namespace

TEST(IntegrityEndToEnd, NothingReachesTheModemWithoutAWholeImage) {
  struct Row {
    std::string name;
    Lines faults;
    std::function<void(Rig&)> prepare;
    QStringList args;
    Lines box;          // parts of the message on standard error
    Lines backupAfter;  // besides the history
  };
  const std::vector<Row> rows{
      {"empty backup", {},
       [](Rig& r) { std::ofstream(r.modem.root() + "/bin/kova.bin", std::ios::trunc); },
       {"--batch", "upgrade"},
       {"The modem's file /bin/kova.bin came back empty, so its software could not be backed up.",
        "The upgrade stopped before anything was sent to the modem."},
       {}},
      {"endless backup", {"ftp-endless:/bin/kova.bin"}, [](Rig&) {}, {"--batch", "upgrade"},
       {"An unexpected FTP error occurred",
        "The modem's file /bin/kova.bin is larger than 512 MiB, more than a modem image or log "
        "can be: it was not downloaded."},
       {}},
      {"empty image to restore", {},
       [](Rig& r) {
         r.home.write("Backup/kova_5_2_0_11.bin", "");
         r.home.write("Backup/chk_5_2_0_11.txt", "checksum of 5.2.0.11\n");
       },
       {"--batch", "restore", "5.2.0.11"},
       {"kova_5_2_0_11.bin is empty: it would leave the modem without software. Nothing was sent "
        "to the modem."},
       {"chk_5_2_0_11.txt", "kova_5_2_0_11.bin"}}};
  Rigs rigs;
  Processes processes;
  for (auto& row : rows) {
    rigs.push_back(std::make_unique<Rig>(row.faults));
    ASSERT_TRUE(rigs.back()->modem.ready()) << row.name;
    row.prepare(*rigs.back());
    processes.push_back(StartBatch(rigs.back()->modem, rigs.back()->home, row.args));
  }
  auto runs = FinishAll(processes, 90000);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(runs[i].exitCode, 1) << runs[i].out << runs[i].err;
    for (auto& part : rows[i].box) EXPECT_TRUE(Has(runs[i].err, part)) << runs[i].err;
    EXPECT_FALSE(Sent(rigs[i]->modem)) << ::testing::PrintToString(rigs[i]->modem.journal());
    EXPECT_EQ(BackupFiles(rigs[i]->home), rows[i].backupAfter);
  }
  EXPECT_TRUE(InOrder(rigs[1]->modem.journal(), {"FTP endless /bin/kova.bin"}));
}

// The checksum's backup stalls; the run is ended from outside. A backup that
// stood under its name without its checksum would be taken for a whole one
// by the next upgrade, which would then not back up the modem again.
TEST(IntegrityEndToEnd, AnUpgradeEndedDuringTheBackupLeavesNoHalfBackup) {
  const std::vector<std::pair<int, std::string>> endings{
      {SIGKILL, "SIGKILL"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};
  Rigs rigs;
  Processes processes;
  for (std::size_t i = 0; i < endings.size(); ++i) {
    rigs.push_back(std::make_unique<Rig>(Lines{"ftp-stall:/checksum.txt"}));
    ASSERT_TRUE(rigs.back()->modem.ready());
    processes.push_back(StartBatch(rigs.back()->modem, rigs.back()->home, {"--batch", "upgrade"}));
  }
  std::vector<long long> pids;
  for (std::size_t i = 0; i < endings.size(); ++i) {
    ASSERT_TRUE(rigs[i]->modem.waitJournal("FTP stall /checksum.txt", 60000))
        << ::testing::PrintToString(rigs[i]->modem.journal());
    pids.push_back(processes[i]->processId());
    ::kill(static_cast<pid_t>(pids.back()), endings[i].first);
  }
  auto runs = FinishAll(processes, 30000);
  for (std::size_t i = 0; i < endings.size(); ++i) {
    SCOPED_TRACE(endings[i].second);
    Rig& r = *rigs[i];
    EXPECT_FALSE(Sent(r.modem)) << ::testing::PrintToString(r.modem.journal());
    if (endings[i].first != SIGKILL) {
      EXPECT_EQ(runs[i].exitCode, 130) << runs[i].out << runs[i].err;  // abandoned
      EXPECT_EQ(BackupFiles(r.home), Lines{});
      continue;
    }
    // Only temporaries, named after the killed process: the next start of
    // the tool removes them.
    const Lines left = BackupFiles(r.home);
    EXPECT_EQ(left.size(), 2u) << ::testing::PrintToString(left);
    const QRegularExpression own("^\\..*\\.kova-" + QString::number(pids[i]) +
                                 "-\\d+-\\d+-\\d+\\.(pending|part)$");
    for (auto& name : left) EXPECT_TRUE(own.match(QString::fromStdString(name)).hasMatch()) << name;
    BatchRun next = RunBatch(r.modem, r.home, {"--batch", "version"});
    EXPECT_EQ(next.exitCode, 0) << next.out << next.err;
    EXPECT_EQ(BackupFiles(r.home), Lines{});
  }
}

// Two modems, one home: each run fetches into a copy of its own.
TEST(IntegrityEndToEnd, TwoVerifiesInOneHomeCompareTheirOwnCopies) {
  TempDir home;
  PrepareHome(home, false);
  ModemSim modems[2];
  ASSERT_TRUE(modems[0].ready() && modems[1].ready());
  std::filesystem::copy_file(home.path() / "kova_5_2_0_13.bin", modems[0].root() + "/bin/kova.bin",
                             std::filesystem::copy_options::overwrite_existing);
  Processes processes;
  for (auto& m : modems) processes.push_back(StartBatch(m, home, {"--batch", "--json", "verify"}));
  auto runs = FinishAll(processes, 60000);
  const std::pair<int, std::string> verdicts[2]{{0, "match"}, {1, "differs"}};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(verdicts[i].second);
    EXPECT_EQ(runs[i].exitCode, verdicts[i].first) << runs[i].out << runs[i].err;
    EXPECT_TRUE(Has(runs[i].out, "\"text\":\"" + verdicts[i].second + "\"")) << runs[i].out;
    EXPECT_TRUE(InOrder(modems[i].journal(), {"FTP RETR /bin/kova.bin"}));
  }
  EXPECT_EQ(BackupFiles(home), Lines{});
}

// A FIFO in place of the history: the reset (which appends to it) and the
// history (which reads it) both end, with a warning. Each has a FIFO of its
// own: one run reading would let the other's write in.
TEST(IntegrityEndToEnd, AHistoryThatIsNoRegularFileNeverBlocks) {
  ModemSim modem({}, {"--on-reboot", "close"});
  ASSERT_TRUE(modem.ready());
  TempDir homes[2];
  const QStringList operations[2]{{"--batch", "reset"}, {"--batch", "history"}};
  Processes processes;
  for (int i = 0; i < 2; ++i) {
    PrepareHome(homes[i], false);
    std::filesystem::create_directories(homes[i].path() / "Backup");
    ASSERT_EQ(::mkfifo((homes[i].str() + "/Backup/history.jsonl").c_str(), 0644), 0);
    processes.push_back(StartBatch(modem, homes[i], operations[i]));
  }
  auto runs = FinishAll(processes, 60000);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(operations[i].join(' ').toStdString());
    EXPECT_EQ(runs[i].exitCode, 0) << runs[i].out << runs[i].err;
    EXPECT_TRUE(Has(runs[i].err, "history.jsonl: it is not a regular file")) << runs[i].err;
  }
  EXPECT_TRUE(InOrder(modem.journal(), {"ZING reset", "REBOOT end version=5.2.0.12"}));
}
