#include <gtest/gtest.h>

#include <filesystem>

#include "app/UpgradePrompt.h"
#include "firmware/ImageStore.h"
#include "sim/Harness.h"
#include "transfer/TelnetSession.h"

namespace fs = std::filesystem;

TEST(Startup, FixesHomeAndBackupDirectoriesAndShowsTheImageVersion) {
  Harness h;
  h.settings.workingDirectory = "  " + h.home.str() + "  ";
  auto& f = h.load();
  const Session& s = f.session();
  EXPECT_EQ(s.homeDir, h.home.str() + "/");
  EXPECT_EQ(s.backupDir, h.home.str() + "/Backup");
  EXPECT_TRUE(fs::is_directory(s.backupDir));
  EXPECT_EQ(s.newVersion, "5_2_0_13");
  EXPECT_EQ(f.txtNewSoftwareVersion.text(), "5.2.0.13");
  EXPECT_EQ(s.modemAddress, "127.0.0.1");
  EXPECT_FALSE(s.factoryMode);
  EXPECT_EQ(h.ui().shown, std::vector<std::string>{"frmMain"});
  EXPECT_TRUE(h.ui().boxes.empty());
  // The first version query is under way.
  EXPECT_TRUE(h.busy());
  EXPECT_EQ(h.platform.network.connectLog, std::vector<std::string>{"127.0.0.1:1827"});
}

TEST(Startup, TrailingSeparatorIsNotDoubledAndAnExistingBackupStays) {
  Harness h;
  h.home.write("Backup/kova_1_0.bin", "old");
  h.settings.workingDirectory = h.home.str() + "/";
  auto& f = h.load();
  EXPECT_EQ(f.session().homeDir, h.home.str() + "/");
  EXPECT_TRUE(h.home.exists("Backup/kova_1_0.bin"));
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(Startup, RefusesAnythingButExactlyOneImage) {
  struct Case {
    std::vector<std::string> extra;
    bool removeDefault;
  } cases[] = {
      {{"kova_2_0.bin"}, false},  // two images
      {{}, true},                 // none
      {{"KOVA_1_0.BIN"}, true},   // matches only through letter case
      {{"kova_1.bin.bin"}, true}, // the version would name another file
  };
  for (auto& c : cases) {
    Harness h;
    if (c.removeDefault) fs::remove(h.home.path() / "kova_5_2_0_13.bin");
    for (auto& e : c.extra) h.home.write(e, "x");
    auto& f = h.load();
    ASSERT_EQ(h.ui().boxes.size(), 1u);
    auto& box = h.ui().boxes[0];
    EXPECT_EQ(box.text, "Unable to find the binary file " + h.home.str() + "/kova_*.bin. \r\n" +
                            "Or there is more than one binary file in the application's home "
                            "directory.\r\nPlease make sure there is and there is only one "
                            "binary file in that directory.");
    EXPECT_EQ(box.style, 48);
    EXPECT_EQ(box.title, "KOVA Upgrader");
    EXPECT_TRUE(f.closed());
    // Nothing contacted, nothing created, no window shown.
    EXPECT_TRUE(h.platform.network.connectLog.empty());
    EXPECT_FALSE(fs::exists(h.home.path() / "Backup"));
    EXPECT_TRUE(h.ui().shown.empty());
  }
}

TEST(Startup, DirectoriesAndImageCaseVariants) {
  Harness h;
  h.home.write("subdir/kova_9_9.bin", "not in the home itself");
  fs::create_directory(h.home.path() / "kova_7_7.bin");  // a directory is no image
  auto& f = h.load();
  EXPECT_FALSE(f.closed());
  EXPECT_EQ(f.session().newVersion, "5_2_0_13");
}

TEST(Startup, UnreadableHomeDirectoryIsReported) {
  Harness h;
  h.settings.workingDirectory = h.home.str() + "/missing";
  auto& f = h.load();
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.ui().boxes[0].text, "Unable to find upgrade program home directory " +
                                      h.home.str() + "/missing/.\r\n" +
                                      "Please install the upgrade program in this Computer.");
  EXPECT_TRUE(f.closed());
}

TEST(Startup, BackupDirectoryThatCannotBeCreatedIsReportedAndStartUpGoesOn) {
  Harness h;
  h.home.write("Backup", "a file in the way");
  auto& f = h.load();
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_NE(h.ui().boxes[0].text.find("Unable to create the backup directory"), std::string::npos);
  EXPECT_FALSE(f.closed());
  EXPECT_TRUE(h.busy());
}

TEST(Startup, PicFileDecidesTheAutomaticPicBox) {
  struct Case {
    std::vector<std::string> files;
    std::string found;  // as the file system lists it
  } cases[] = {{{}, ""}, {{"PIC.hex"}, "PIC.hex"}, {{"PIC.hex", "pic.hex", "Pic.HEX"}, "pic.hex"}};
  for (auto& c : cases) {
    Harness h;
    for (auto& name : c.files) h.home.write(name, ":00000001FF");
    auto& f = h.load();
    EXPECT_EQ(f.images().picFile(), c.found);
    EXPECT_EQ(f.AutoPic.enabled(), !c.found.empty());
    EXPECT_EQ(f.AutoPic.value(), 1);  // keeps its check either way
    EXPECT_EQ(f.AutoPicLabel.caption(), c.found.empty() ? "No PIC file to upgrade in this version."
                                                        : "Automatic PIC upgrade");
  }
}

TEST(Startup, CommandLineSwitches) {
  struct Case {
    const char* line;
    bool prompt;
    bool factory;
  } cases[] = {
      {"-u", true, false},          {"-U", false, false},         {"-u ", false, false},
      {"-u /Factory", false, true}, {"/factory", false, false},   {"x/Factoryy", false, true},
      {"", false, false},
  };
  for (auto& c : cases) {
    Harness h;
    h.settings.commandLine = c.line;
    auto& f = h.load();
    EXPECT_EQ(h.ui().modalLog.size(), c.prompt ? 1u : 0u) << c.line;
    EXPECT_EQ(f.session().factoryMode, c.factory) << c.line;
    EXPECT_FALSE(f.closed()) << c.line;
  }
}

TEST(UpgradePrompt, LaterEndsSilentlyBeforeAnythingElseNowContinues) {
  auto run = [](std::function<void(UpgradePrompt&)> user) {
    auto h = std::make_unique<Harness>();
    h->settings.commandLine = "-u";
    h->ui().modalScripts["frmUpgrade"] = [user](Form& form) {
      user(static_cast<UpgradePrompt&>(form));
    };
    h->load();
    return h;
  };
  // OK at once: upgrade now, start-up goes on.
  auto h = run([](UpgradePrompt& d) {
    EXPECT_TRUE(d.UpgradeNow.value());
    d.OKButton.click();
  });
  EXPECT_FALSE(h->f().closed());
  EXPECT_EQ(h->f().upgradePrompt().choice(), UpgradePrompt::Choice::Now);
  EXPECT_TRUE(h->busy());

  // Later then OK: the program ends without a message, before any file or
  // network activity.
  h = run([](UpgradePrompt& d) {
    d.UpgradeLater.click();
    d.OKButton.click();
  });
  EXPECT_TRUE(h->f().closed());
  EXPECT_TRUE(h->ui().boxes.empty());
  EXPECT_TRUE(h->platform.network.connectLog.empty());
  EXPECT_FALSE(h->home.exists("Backup"));

  // Later, now, OK: continues.
  h = run([](UpgradePrompt& d) {
    d.UpgradeLater.click();
    d.UpgradeNow.click();
    EXPECT_FALSE(d.UpgradeLater.value());
    d.OKButton.click();
  });
  EXPECT_FALSE(h->f().closed());

  // Later, then the frame's close box: ends as OK would.
  h = run([](UpgradePrompt& d) {
    d.UpgradeLater.click();
    d.requestClose(Form::kCloseByUser);
  });
  EXPECT_TRUE(h->f().closed());
}

// An address that a URL or a resolver would read as something else is never
// connected to, on any channel: it fails as an unreachable modem does.
TEST(ModemAddress, WhatIsNoAddressIsNeverConnectedTo) {
  const std::string unreachable =
      "Unable to get Satellite IP Modem's software version.\r\n\r\nPlease check the cable "
      "connection.\r\nRemove power and reapply power to the Satellite IP Modem.\r\nGet software "
      "version using Tools menu before retrying.\r\nClose and restart Upgrader if error repeats.";
  const std::string noAt =
      "Can not Connect to AT interface. \r\nPlease check cable connections.\r\nRemove and "
      "reapply power to the modem.\r\nRepeat upgrade process.";
  const std::string noFtp =
      "Can not connect to Satellite IP Modem. Please check cable connection and retry.";
  for (const char* address : {"1@127.0.0.2", "127.0.0.9@127.0.0.2", "127.0.0.2#x", "1/x",
                              "a b", "x:21", "modem-1.local"}) {
    SCOPED_TRACE(address);
    const bool hostName = std::string(address) == "modem-1.local";
    Harness h;
    h.settings.initialAddress = address;
    auto& f = h.load();
    h.advance(7100);  // the version query, then the FTP-port probe
    f.telnet().prepareForDownload();
    h.advance(5000);
    f.cmdSetDNS.click();
    h.advance(5000);
    f.onKeyPress(2);  // the hidden log download
    f.onKeyPress(14);
    h.advance(100);
    EXPECT_EQ(h.platform.network.connectLog.empty(), !hostName);
    if (hostName) continue;
    EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{unreachable, noAt, noAt, noFtp}));
    EXPECT_EQ(h.platform.ftp.logins, 0);
    EXPECT_TRUE(h.platform.ftp.log.empty());
    EXPECT_FALSE(h.busy());
  }
}
