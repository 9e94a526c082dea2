// The restore: its roads through the chain, the user's choice, its
// failures, and the chooser on its own.
#include <gtest/gtest.h>

#include <functional>

#include "core/TextUtilities.h"
#include "firmware/ImageStore.h"
#include "firmware/RestoreChooser.h"
#include "sim/WorkflowPeers.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kSuccess = "Successfully restored! Wait...";

// The FTP log with the home directory written as "~/".
Lines Log(WorkflowModem& h) {
  Lines out;
  const std::string home = h.f().session().homeDir;
  for (std::string line : h.ftpLog()) {
    for (auto at = line.find(home); at != std::string::npos; at = line.find(home))
      line.replace(at, home.size(), "~/");
    out.push_back(line);
  }
  return out;
}

// A modem with a store, and a user who picks one version in the chooser
// (or takes the preselected one when pick is empty).
struct RestoreModem : WorkflowModem {
  std::string pick;
  std::vector<Lines> listed;  // what each chooser showed
  std::function<void(RestoreChooser&)> user;  // instead of picking
  RestoreModem() {
    ui().modalScripts["frmRestore"] = [this](Form& form) {
      auto& d = static_cast<RestoreChooser&>(form);
      listed.push_back(d.lstOldSoftwareVersions.items());
      if (user) return user(d);
      const auto& items = d.lstOldSoftwareVersions.items();
      for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == pick) d.lstOldSoftwareVersions.setListIndex(static_cast<int>(i));
      d.cmdOkRestore.click();
    };
  }
};

}  // namespace

// Both deletions of the configuration are sent; the second finds nothing
// (nor does the first on a modem without one): the chain still closes.
TEST(RestoreScenario, EachRoadRestoresTheImageAndRestarts) {
  struct Case {
    const char* what;
    std::function<void(RestoreModem&)> arrange;  // before start-up
    std::string version;
    Lines console;
    std::vector<int> zing;  // after start-up
    Lines boxes;
  };
  const std::vector<Case> cases = {
      {"single version, preselected", nullptr, "5_2_0_12", {"mmi_prepare_for_download"}, {13, 4}, {}},
      {"modem without configuration",
       [](RestoreModem& h) { h.platform.ftp.files.erase("/config.txt"); }, "5_2_0_12",
       {"mmi_prepare_for_download"}, {13, 4}, {}},
      // Another series passes while the running version is unknown.
      {"unknown version but reachable: no prepare", [](RestoreModem& h) { h.unplugZing(); },
       "4_9_0_1", {}, {},
       {"Connection is forcefully rejected",
        "Unable to get Satellite IP Modem's software version.\r\n\r\nUpgrade process can be "
        "continued.",
        "Unable to reset Satellite IP Modem.\r\n\r\nRemove power and reapply power to the "
        "Satellite IP Modem.",
        "Connection is forcefully rejected"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RestoreModem h;
    h.store(c.version);
    if (c.arrange) c.arrange(h);
    h.start();
    h.advance(10000);
    ASSERT_TRUE(h.f().session().connected);
    h.ui().boxes.clear();
    h.zing->requests.clear();
    h.f().cmdRestoreMenu.click();
    h.settle();
    EXPECT_EQ(h.listed, std::vector<Lines>{{ReplaceChar(c.version, "_", ".")}});
    EXPECT_EQ(Log(h), (Lines{"PUT \"~/Backup/kova_" + c.version + ".bin\" /bin/kova.bin",
                             "PUT \"~/Backup/chk_" + c.version + ".txt\" /checksum.txt",
                             "DELETE /config.txt", "DELETE /config.txt", "CLOSE"}));
    for (const auto& s : {"Preparing for Software Restore with version " + c.version + " ...",
                          "Restoring Satellite IP Modem with version " + c.version + " ...",
                          kSuccess})
      EXPECT_TRUE(h.sawStatus(s)) << s;
    EXPECT_EQ(h.console->lines, c.console);
    EXPECT_EQ(h.zing->requests, c.zing);
    EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], "KOVA-IMAGE " + c.version);
    EXPECT_EQ(h.platform.ftp.files["/checksum.txt"], "checksum " + c.version);
    EXPECT_EQ(h.platform.ftp.files.count("/config.txt"), 0u);
    EXPECT_EQ(h.boxTexts(), c.boxes);
    // The store is only read.
    EXPECT_TRUE(h.home.exists("Backup/kova_" + c.version + ".bin"));
    EXPECT_TRUE(h.home.exists("Backup/chk_" + c.version + ".txt"));
    EXPECT_FALSE(h.busy());
  }
}

// The chooser lists the store in its own order (not sorted, other files
// left out), preselects nothing among several, and only a chosen version
// starts a transfer.
TEST(RestoreScenario, SeveralVersionsNeedAChoice) {
  RestoreModem h;
  h.store("5_2_0_9");
  h.store("5_2_0_10");
  h.store("5_2_0_11");
  h.home.write("Backup/kova_notes.txt", "not an image");
  h.home.write("Backup/sylog.log", "log");
  h.start();
  Lines fromStore;
  for (const auto& name : ListImages(h.f().session().backupDir))
    fromStore.push_back(ReplaceChar(VersionFromImageName(name), "_", "."));
  ASSERT_EQ(fromStore.size(), 3u);
  h.user = [](RestoreChooser& d) {
    EXPECT_EQ(d.lstOldSoftwareVersions.listIndex(), -1);
    d.cmdOkRestore.click();  // nothing selected
  };
  h.f().cmdRestore.click();
  h.user = [](RestoreChooser& d) { d.cmdCancelRestore.click(); };
  h.f().cmdRestore.click();
  h.user = [](RestoreChooser&) {};  // closed by its frame
  h.f().cmdRestore.click();
  EXPECT_EQ(h.listed, std::vector<Lines>(3, fromStore));
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_TRUE(h.ftpLog().empty());
  EXPECT_TRUE(h.console->connections.empty());
  EXPECT_FALSE(h.busy());

  h.user = nullptr;
  h.pick = "5.2.0.11";
  h.f().cmdRestore.click();
  h.settle();
  EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], "KOVA-IMAGE 5_2_0_11");
}

TEST(RestoreScenario, FtpFailuresEndTheRestoreAndLeaveTheStoreAlone) {
  struct Case {
    const char* what;
    std::string fault;
    SimFtpServer::Fault how;
    std::size_t commands;
    std::string box;
  };
  const std::vector<Case> cases = {
      {"image upload refused", "PUT /bin/kova.bin",
       {SimFtpServer::Fault::Error, 12003, "552 Disk full.", -1}, 1,
       "An unexpected FTP error occurred. Operation cancelled.\r\n\r\nError Code:  12003 : 552 "
       "Disk full."},
      {"dropped at the checksum", "PUT /checksum.txt", {SimFtpServer::Fault::Disconnect, 0, "", -1},
       2,
       "FTP connection was suddenly closed.\r\n\r\nRemove power and reapply power to the "
       "Satellite IP Modem, then repeat last operation."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RestoreModem h;
    h.store("5_2_0_12");
    h.platform.ftp.faults[c.fault] = c.how;
    h.start();
    h.f().cmdRestore.click();
    h.settle();
    EXPECT_EQ(h.ftpLog().size(), c.commands);
    EXPECT_EQ(h.boxTexts(), Lines{c.box});
    EXPECT_FALSE(h.sawStatus(kSuccess));
    EXPECT_EQ(h.zing->requests, std::vector<int>{4});
    EXPECT_TRUE(h.home.exists("Backup/kova_5_2_0_12.bin"));
    EXPECT_TRUE(h.home.exists("Backup/chk_5_2_0_12.txt"));
    EXPECT_FALSE(h.busy());
  }
}

TEST(RestoreChooser, ChoiceComesBackOnlyWithOk) {
  SimPlatform p;
  RestoreChooser d(p.recordedUi());
  std::function<void(RestoreChooser&)> user;
  p.recordedUi().modalScripts["frmRestore"] = [&](Form& f) {
    user(static_cast<RestoreChooser&>(f));
  };
  // A single entry comes selected: OK takes it.
  user = [](RestoreChooser& c) { c.cmdOkRestore.click(); };
  EXPECT_EQ(d.choose({"5.2.0.12"}), "5.2.0.12");
  EXPECT_EQ(d.choose({"5.2.0.9", "5.2.0.10"}), "");  // several: nothing selected
  // A selection cancelled, or closed by the frame, chooses nothing.
  user = [](RestoreChooser& c) {
    EXPECT_EQ(c.lstOldSoftwareVersions.items(), (Lines{"5.2.0.9", "5.2.0.10", "4.1.0.1"}));
    c.lstOldSoftwareVersions.setListIndex(1);
    c.cmdCancelRestore.click();
  };
  EXPECT_EQ(d.choose({"5.2.0.9", "5.2.0.10", "4.1.0.1"}), std::nullopt);
  user = [](RestoreChooser& c) { c.lstOldSoftwareVersions.setListIndex(0); };
  EXPECT_EQ(d.choose({"5.2.0.9", "5.2.0.10"}), std::nullopt);
  // The list of one run does not leak into the next.
  user = [](RestoreChooser& c) {
    c.lstOldSoftwareVersions.setListIndex(0);
    c.cmdOkRestore.click();
  };
  EXPECT_EQ(d.choose({"4.1.0.1"}), "4.1.0.1");
}
