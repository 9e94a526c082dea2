// The binary in batch mode against modems that fail it in many ways, killed
// half-way through a backup, two verifies sharing a home, and a history that
// is no regular file. What counts is what the user and the modem see: the
// exit code and the message, nothing sent to the modem, and a Backup folder
// holding whole pairs under their names and nothing else.
#include <csignal>
#include <sys/stat.h>

#include "e2e/E2e.h"

namespace {
// What Backup/ holds besides the history.
Lines BackupFiles(const TempDir& home) {
  Lines names = FilesUnder(home.path() / "Backup");
  std::erase(names, "history.jsonl");
  return names;
}
}  // namespace

// Each failure ends the run with its message, sends no image and is recorded
// as failed: files that cannot give a backup or be restored, and a modem that
// refuses the login, drops a transfer, keeps its console busy or refuses an
// AT command.
TEST(IntegrityEndToEnd, FailuresSendNothingAndLeaveOnlyWholePairs) {
  struct Row {
    std::string name;
    Lines faults;
    std::function<void(Rig&)> prepare;
    QStringList args;
    Lines box;          // parts of the message on standard error
    Lines backupAfter;  // besides the history
    Lines writes = {};  // on the modem
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
       {"chk_5_2_0_11.txt", "kova_5_2_0_11.bin"}},
      {"login refused", {"wrong-password"}, [](Rig&) {}, {"--batch", "upgrade"},
       {"Incorrect Username or Password!"}, {}},
      {"transfer dropped", {"ftp-drop"}, [](Rig&) {}, {"--batch", "upgrade"},
       {"FTP connection was suddenly closed."}, {}},
      {"console busy", {"telnet-busy"}, [](Rig&) {}, {"--batch", "pic"},
       {"Telnet did not respond."}, {}, {"FTP STOR /pic.hex"}},
      {"AT command refused", {"at-error"}, [](Rig&) {}, {"--batch", "dns", "10.9.9.1", "10.9.9.2"},
       {"Can't verify DNS address."}, {}}};
  Rigs rigs;
  for (auto& row : rows) {
    Rig& r = *rigs.emplace_back(std::make_unique<Rig>(row.faults, Lines{}, true));
    ASSERT_TRUE(r.modem.ready()) << row.name;
    row.prepare(r);
    r.process = StartBatch(r.modem, r.home, row.args);
  }
  FinishAll(rigs, 90000);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].name);
    const Rig& r = *rigs[i];
    EXPECT_EQ(r.run.exitCode, 1) << r.run.out << r.run.err;
    for (auto& part : rows[i].box) EXPECT_TRUE(Has(r.run.err, part)) << r.run.err;
    EXPECT_EQ(Writes(r.modem.journal()), rows[i].writes);
    EXPECT_EQ(BackupFiles(r.home), rows[i].backupAfter);
    Lines home = FilesUnder(r.home.path());
    std::erase_if(home, [](const std::string& name) { return name.starts_with("Backup/"); });
    EXPECT_EQ(home, (Lines{"chk_5_2_0_13.txt", "kova_5_2_0_13.bin", "pic.hex"}));
    auto history = HistoryIn(r.home);
    EXPECT_TRUE(history.empty() || history.back().outcome == "failed");
  }
}

// The checksum's backup stalls; the run is ended from outside. A backup that
// stood under its name without its checksum would be taken for a whole one
// by the next upgrade, which would then not back up the modem again.
TEST(IntegrityEndToEnd, AnUpgradeEndedDuringTheBackupLeavesNoHalfBackup) {
  const std::vector<std::pair<int, std::string>> endings{
      {SIGKILL, "SIGKILL"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};
  Rigs rigs;
  for (std::size_t i = 0; i < endings.size(); ++i) {
    Rig& r = *rigs.emplace_back(std::make_unique<Rig>(Lines{"ftp-stall:/checksum.txt"}));
    ASSERT_TRUE(r.modem.ready());
    r.process = StartBatch(r.modem, r.home, {"--batch", "upgrade"});
  }
  std::vector<long long> pids;
  for (std::size_t i = 0; i < endings.size(); ++i) {
    ASSERT_TRUE(rigs[i]->modem.waitJournal("FTP stall /checksum.txt", 60000))
        << ::testing::PrintToString(rigs[i]->modem.journal());
    pids.push_back(rigs[i]->process->processId());
    ::kill(static_cast<pid_t>(pids.back()), endings[i].first);
  }
  FinishAll(rigs, 30000);
  for (std::size_t i = 0; i < endings.size(); ++i) {
    SCOPED_TRACE(endings[i].second);
    Rig& r = *rigs[i];
    EXPECT_EQ(Writes(r.modem.journal()), Lines{});
    if (endings[i].first != SIGKILL) {
      EXPECT_EQ(r.run.exitCode, 130) << r.run.out << r.run.err;  // abandoned
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
  Rigs rigs;
  for (int i = 0; i < 2; ++i)
    ASSERT_TRUE(rigs.emplace_back(std::make_unique<Rig>())->modem.ready());
  const TempDir& home = rigs[0]->home;
  std::filesystem::copy_file(home.path() / "kova_5_2_0_13.bin",
                             rigs[0]->modem.root() + "/bin/kova.bin",
                             std::filesystem::copy_options::overwrite_existing);
  for (auto& r : rigs) r->process = StartBatch(r->modem, home, {"--batch", "--json", "verify"});
  FinishAll(rigs, 60000);
  const std::pair<int, std::string> verdicts[2]{{0, "match"}, {1, "differs"}};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(verdicts[i].second);
    const BatchRun& run = rigs[i]->run;
    EXPECT_EQ(run.exitCode, verdicts[i].first) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "\"text\":\"" + verdicts[i].second + "\"")) << run.out;
    EXPECT_TRUE(InOrder(rigs[i]->modem.journal(), {"FTP RETR /bin/kova.bin"}));
  }
  EXPECT_EQ(BackupFiles(home), Lines{});
}

// A FIFO in place of the history: the reset (which appends to it) and the
// history (which reads it) both end, with a warning. Each has a FIFO of its
// own: one run reading would let the other's write in.
TEST(IntegrityEndToEnd, AHistoryThatIsNoRegularFileNeverBlocks) {
  Rigs rigs;
  const QStringList operations[2]{{"--batch", "reset"}, {"--batch", "history"}};
  for (auto& args : operations) {
    Rig& r = *rigs.emplace_back(std::make_unique<Rig>(Lines{}, Lines{"--on-reboot", "close"}));
    ASSERT_TRUE(r.modem.ready());
    std::filesystem::create_directories(r.home.path() / "Backup");
    ASSERT_EQ(::mkfifo((r.home.str() + "/Backup/history.jsonl").c_str(), 0644), 0);
    r.process = StartBatch(r.modem, r.home, args);
  }
  FinishAll(rigs, 60000);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(operations[i].join(' ').toStdString());
    EXPECT_EQ(rigs[i]->run.exitCode, 0) << rigs[i]->run.out << rigs[i]->run.err;
    EXPECT_TRUE(Has(rigs[i]->run.err, "history.jsonl: it is not a regular file"))
        << rigs[i]->run.err;
  }
  EXPECT_TRUE(InOrder(rigs[0]->modem.journal(), {"ZING reset", "REBOOT end version=5.2.0.12"}));
}
