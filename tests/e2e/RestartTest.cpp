// The binary in batch mode against a modem that restarts after the tool's
// order and ends the open connections in one of its manners: silently, with
// RST, with FIN, or after a boot longer than the tool's usual wait. Whatever
// the manner, the tool must read the version again once the modem is back.
// The manners of one operation run at once, each against its own modem, so a
// test lasts as long as its slowest manner (about a minute for an upgrade).
#include "e2e/E2e.h"

namespace {
struct Manner {
  std::string name;
  Lines modemOptions;
  QStringList toolOptions;
};
const Manner kVanish{"vanish", {"--on-reboot", "vanish"}, {}};
const Manner kReset{"reset", {"--on-reboot", "reset"}, {}};
const Manner kClose{"close", {"--on-reboot", "close"}, {}};
// Back only after the tool's first query: it asks again with --wait-back.
const Manner kSlowBoot{"slow boot", {"--on-reboot", "vanish", "--reboot-time", "40"},
                       {"--wait-back", "120"}};

Lines Concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// One modem, home (with the new image and pic.hex) and binary per manner.
struct MannerRow {
  MannerRow(const Manner& m, const Lines& options)
      : manner(m), modem({}, Concat(options, m.modemOptions)) {
    PrepareHome(home, true);
  }
  const Manner manner;
  ModemSim modem;
  TempDir home;
  std::unique_ptr<QProcess> process;  // goes first: killed if still running
  BatchRun run;
};
using MannerRows = std::vector<std::unique_ptr<MannerRow>>;

MannerRows Start(const std::vector<Manner>& manners, const Lines& modemOptions = {}) {
  MannerRows rows;
  for (auto& m : manners) rows.push_back(std::make_unique<MannerRow>(m, modemOptions));
  return rows;
}

// Starts every row's binary with args at once, then waits for them all.
void RunAll(MannerRows& rows, const QStringList& args) {
  for (auto& r : rows) {
    ASSERT_TRUE(r->modem.ready()) << r->manner.name;
    r->process = StartBatch(r->modem, r->home, args + r->manner.toolOptions);
  }
  QElapsedTimer clock;
  clock.start();
  for (auto& r : rows)
    r->run = FinishBatch(*r->process, static_cast<int>(std::max(1LL, 240000 - clock.elapsed())));
}

// The boxes a run showed (batch mode prints them on standard error), unstamped.
std::string Boxes(const std::string& err) {
  static const QRegularExpression stamp("^\\[[0-9:]+\\] ", QRegularExpression::MultilineOption);
  return QString::fromStdString(err).remove(stamp).toStdString();
}
// Without a trusted key an upgrade says once that its release is not checked.
const std::string kNotSigned =
    "warning: kova_5_2_0_13.bin is not signed: no trusted key is set up, so the release is not "
    "checked.\n";
const char* const kUpgradeCompleted =
    "warning: Satellite IP Modem Upgrader\n    Upgrade Completed.\n"
    "    Click OK and wait until we get software version.\n";

// Done, no box but the operation's own, the version read again, and the
// modem saw journal in that order.
void ExpectBack(const MannerRow& r, const std::string& version, const Lines& journal,
                const std::string& box = "") {
  SCOPED_TRACE("manner " + r.manner.name);
  EXPECT_EQ(r.run.exitCode, 0) << r.run.out << r.run.err;
  EXPECT_EQ(Boxes(r.run.err), box);
  EXPECT_TRUE(Has(r.run.out, "] Modem software version: " + version + "\n")) << r.run.out;
  EXPECT_TRUE(InOrder(r.modem.journal(), journal));
}
}  // namespace

// The modem comes back with another image, so the version shown is a fresh one.
TEST(RestartEndToEnd, ResetReadsTheNewVersion) {
  MannerRows rows = Start({kVanish, kReset, kClose, kSlowBoot});
  for (auto& r : rows) WriteImage(r->modem.root() + "/bin/kova.bin", "5.2.0.19");
  ASSERT_NO_FATAL_FAILURE(RunAll(rows, {"--batch", "reset"}));
  for (auto& r : rows)
    ExpectBack(*r, "5.2.0.19",
               {"ZING reset", "REBOOT begin", "REBOOT end version=5.2.0.19", "ZING version"});
}

TEST(RestartEndToEnd, UpgradeWithAutomaticPic) {
  MannerRows rows = Start({kVanish, kReset, kClose, kSlowBoot});
  ASSERT_NO_FATAL_FAILURE(RunAll(rows, {"--batch", "upgrade"}));
  for (auto& r : rows)
    ExpectBack(*r, "5.2.0.13",
               {"FTP STOR /bin/kova.bin", "FTP STOR /pic.hex", "ZING reset", "REBOOT begin",
                "REBOOT end version=5.2.0.13", "ZING version", "TELNET pic_driver_reflash 1",
                "TELNET reflash completed", "ZING version"},
               kNotSigned + kUpgradeCompleted);
}

// From 5.2.0.13 back to the backup pair of 5.2.0.12.
TEST(RestartEndToEnd, RestoreTheBackup) {
  MannerRows rows = Start({kVanish, kReset, kClose, kSlowBoot}, {"--version", "5.2.0.13"});
  for (auto& r : rows) {
    r->home.write("Backup/chk_5_2_0_12.txt", "checksum of 5.2.0.12\n");
    WriteImage(r->home.path() / "Backup" / "kova_5_2_0_12.bin", "5.2.0.12");
  }
  ASSERT_NO_FATAL_FAILURE(RunAll(rows, {"--batch", "restore", "5.2.0.12"}));
  for (auto& r : rows)
    ExpectBack(*r, "5.2.0.12",
               {"FTP STOR /bin/kova.bin", "FTP STOR /checksum.txt", "ZING reset", "REBOOT begin",
                "REBOOT end version=5.2.0.12", "ZING version"});
}

// The AT port restarts the modem; the tool has no --wait-back for it.
TEST(RestartEndToEnd, DnsChange) {
  MannerRows rows = Start({kVanish, kReset, kClose});
  for (auto& r : rows) WriteImage(r->modem.root() + "/bin/kova.bin", "5.2.0.19");
  ASSERT_NO_FATAL_FAILURE(RunAll(rows, {"--batch", "dns", "10.9.9.1", "10.9.9.2"}));
  for (auto& r : rows) {
    ExpectBack(*r, "5.2.0.19",
               {"AT AT_IHIP=\"DNS\",\"10.9.9.1\"", "AT AT_IHIP=\"DNS2\",\"10.9.9.2\"",
                "AT AT+CFUN=1,1", "REBOOT begin", "REBOOT end version=5.2.0.19", "ZING version"});
    EXPECT_TRUE(Has(r->run.out, "] DNS servers: 10.9.9.1 10.9.9.2\n")) << r->run.out;
    EXPECT_EQ(r->modem.file("/dns.txt"), "DNS=10.9.9.1\nDNS2=10.9.9.2\n") << r->manner.name;
  }
}
