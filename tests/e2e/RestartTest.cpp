// The binary in batch mode against a modem that restarts after the tool's
// order and ends the open connections in one of its manners: silently, with
// RST, with FIN, or after a boot longer than the tool's usual wait. Whatever
// the manner, the tool must read the version again once the modem is back.
// The manners of one operation run at once, each against its own modem,
// the tool started in another folder than its home (--home), the modem's
// console behind a telnet daemon that drops a command whose session closed
// too early.
#include "e2e/E2e.h"

namespace {
struct Manner {
  std::string name;
  Lines modemOptions;
  QStringList toolOptions;
};
const std::vector<Manner> kManners{
    {"vanish", {"--on-reboot", "vanish"}, {}},
    {"reset", {"--on-reboot", "reset"}, {}},
    {"close", {"--on-reboot", "close"}, {}},
    // Back only after the tool's first query: it asks again with --wait-back.
    {"slow boot", {"--on-reboot", "vanish", "--reboot-time", "40"}, {"--wait-back", "120"}}};

// Runs args against a modem of each manner (slow boot left out unless
// slowBoot); the modems come back with newImage, if given. Each run must end
// done with no box but box, printing said, and the modem see journal in order;
// its history line holds recorded; nothing is written where the tool started.
void ExpectBackInEachManner(const QStringList& args, bool slowBoot, const std::string& newImage,
                            const Lines& said, const Lines& journal, const std::string& box = "",
                            const std::string& recorded = "\"outcome\":\"done\"") {
  Rigs rigs;
  TempDir elsewhere;
  const std::size_t count = kManners.size() - (slowBoot ? 0 : 1);
  for (std::size_t i = 0; i < count; ++i) {
    Lines options = kManners[i].modemOptions;
    options.insert(options.end(), {"--telnet-mode", "daemon"});
    Rig& r = *rigs.emplace_back(std::make_unique<Rig>(Lines{}, options, true));
    ASSERT_TRUE(r.modem.ready()) << kManners[i].name;
    if (!newImage.empty()) WriteImage(r.modem.root() + "/bin/kova.bin", newImage);
    r.process = StartBatch(r.modem, r.home,
                           QStringList{"--home", QString::fromStdString(r.home.str())} + args +
                               kManners[i].toolOptions,
                           elsewhere.str());
  }
  FinishAll(rigs, 240000);
  // The boxes a run showed (batch mode prints them on standard error), unstamped.
  static const QRegularExpression stamp("^\\[[0-9:]+\\] ", QRegularExpression::MultilineOption);
  for (std::size_t i = 0; i < count; ++i) {
    SCOPED_TRACE("manner " + kManners[i].name);
    const Rig& r = *rigs[i];
    EXPECT_EQ(r.run.exitCode, 0) << r.run.out << r.run.err;
    EXPECT_EQ(QString::fromStdString(r.run.err).remove(stamp).toStdString(), box);
    for (auto& line : said) EXPECT_TRUE(Has(r.run.out, "] " + line + "\n")) << r.run.out;
    EXPECT_TRUE(InOrder(r.modem.journal(), journal));
    EXPECT_TRUE(Has(r.home.read("Backup/history.jsonl"), recorded));
    for (auto& line : r.modem.journal()) EXPECT_FALSE(line.starts_with("TELNET dropped")) << line;
  }
  EXPECT_EQ(FilesUnder(elsewhere.path()), Lines{});
}
}  // namespace

TEST(RestartEndToEnd, ResetReadsTheNewVersion) {
  ExpectBackInEachManner({"--batch", "reset"}, true, "5.2.0.19",
                         {"Modem software version: 5.2.0.19"},
                         {"ZING reset", "REBOOT begin", "REBOOT end version=5.2.0.19",
                          "ZING version"});
}

TEST(RestartEndToEnd, UpgradeWithAutomaticPic) {
  ExpectBackInEachManner(
      {"--batch", "upgrade"}, true, "", {"Modem software version: 5.2.0.13"},
      {"TELNET mmi_prepare_for_download", "FTP STOR /bin/kova.bin", "FTP STOR /pic.hex",
       "ZING reset", "REBOOT begin", "REBOOT end version=5.2.0.13", "ZING version",
       "TELNET pic_driver_reflash 1", "TELNET reflash completed", "ZING version"},
      // Without a trusted key an upgrade says once that its release is not checked;
      // the window's "Click OK" after the reflash is no warning here.
      "warning: kova_5_2_0_13.bin is not signed: no trusted key is set up, so the release is not "
      "checked.\n");
}

// The AT port restarts the modem; the tool has no --wait-back for it.
TEST(RestartEndToEnd, DnsChange) {
  ExpectBackInEachManner({"--batch", "dns", "10.9.9.1", "10.9.9.2"}, false, "5.2.0.19",
                         {"DNS servers: 10.9.9.1 10.9.9.2", "Modem software version: 5.2.0.19"},
                         {"AT AT_IHIP=\"DNS\",\"10.9.9.1\"", "AT AT_IHIP=\"DNS2\",\"10.9.9.2\"",
                          "AT AT+CFUN=1,1", "REBOOT begin", "REBOOT end version=5.2.0.19",
                          "ZING version"},
                         "", R"("dns":{"primary":"10.9.9.1","secondary":"10.9.9.2"})");
}
