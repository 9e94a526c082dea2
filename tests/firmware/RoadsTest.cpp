// Each road through the FTP chain, and each refusal before it, as the user
// and the modem live through it, from the click to the end state.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "sim/WorkflowPeers.h"

namespace {

using Fault = SimFtpServer::Fault;
const std::string kPutPic = R"(PUT "~/pic.hex" /pic.hex)";
const std::string kReadPic = R"(COMPARE /pic.hex "~/pic.hex")";
// The FTP commands of a restore of version v (file form) that went well.
Lines Restored(const std::string& v) {
  const std::string image = "\"~/Backup/kova_" + v + ".bin\"";
  const std::string checksum = "\"~/Backup/chk_" + v + ".txt\"";
  return {"PUT " + image + " /bin/kova.bin", "PUT " + checksum + " /checksum.txt",
          "DELETE /config.txt", "DELETE /config.txt", "COMPARE /bin/kova.bin " + image,
          "COMPARE /checksum.txt " + checksum, "CLOSE"};
}
const std::string kAgain = "The transfer did not arrive whole; sending it again (attempt 2 of 3)...";
const std::string kPrepare = "mmi_prepare_for_download";
const std::string kReflash = "pic_driver_reflash 1";
const std::string kPreparing = "Preparing for Upgrade with version 5.2.0.13 ...";
const std::string kDownloading = "Downloading Satellite IP Modem software to PC...";
const std::string kUpgrading = "Upgrading Satellite IP Modem with version 5.2.0.13 ...";
const std::string kSuccess = "Successfully upgraded! Wait...";
const std::string kRejected = "Connection is forcefully rejected";
const Lines kFull = {kGetImage,  kGetChecksum,  kPutImage, kPutChecksum,
                     kReadImage, kReadChecksum, "CLOSE"};
const Lines kBackup = {"chk_5_2_0_12.txt", "kova_5_2_0_12.bin"};
const std::string kApp = "KOVA Upgrader";
const std::string kUpg = "Satellite IP Modem Upgrader";
const int kExcl = MsgExclamation;
const std::string kSeries = "Release Series conflict detected. Upgrade not possible.";

std::function<void(WorkflowModem&)> FaultAt(const std::string& command, Fault f) {
  return [command, f](WorkflowModem& h) { h.platform.ftp.faults[command] = f; };
}


}  // namespace

TEST(Roads, EachEntryAndServerAnswerEndsAsTheUserAndTheModemSeeIt) {
  struct Case {
    const char* what;
    Entry entry;
    std::function<void(WorkflowModem&)> arrange;  // before start-up
    Lines boxes;
    int style;          // of the first box
    std::string title;  // of the first box
    Lines store = {};   // the backup directory afterwards
    Lines ftp = {};
    Lines console = {};
    std::vector<int> zing = {};  // ZING requests after the click
    std::vector<int> progress = {};
    Lines statuses = {};  // each shown on the way; all but the preparing one while busy
    std::string image = kOld;  // on the modem afterwards
  };
  const Lines plain = {kPreparing, kDownloading, kUpgrading, kSuccess};
  const auto pic = [](WorkflowModem& h) {
    h.home.write("pic.hex", ":00000001FF\n");
    h.home.write("Pic.hex", "not the one");  // the exact name wins
  };
  const Lines unknownBoxes = {
      kRejected,
      "Unable to get Satellite IP Modem's software version.\r\n\r\nUpgrade process can be "
      "continued.",
      "Unable to reset Satellite IP Modem.\r\n\r\nRemove power and reapply power to the "
      "Satellite IP Modem.",
      kRejected};
  const auto noAddress = [](WorkflowModem& h) { h.settings.initialAddress = ""; };
  // A folder in place of a file that will be sent, unreadable even for root;
  // laid there once the window has looked at the home (a folder is no image).
  const auto folderFor = [](const std::string& name) {
    return [name](WorkflowModem& h) {
      h.clock().schedule(5000, [&h, name] {
        h.removeHomeFile(name);
        std::filesystem::create_directories(h.home.path() / name);
      });
    };
  };
  const auto unreadable = [](const std::string& file) {
    return "The file ~/" + file + " cannot be read: it is not a regular file.\r\n"
           "Nothing was sent to the modem.";
  };
  const auto several = [](WorkflowModem& h) {
    for (const char* v : {"5_2_0_9", "5_2_0_10", "5_2_0_11"}) h.store(v);
  };
  Lines again12 = Restored("5_2_0_12");  // the image sent twice
  again12.insert(again12.begin(), std::string(again12[0]));
  const Lines severalStore = {"chk_5_2_0_10.txt",  "chk_5_2_0_11.txt",  "chk_5_2_0_9.txt",
                              "kova_5_2_0_10.bin", "kova_5_2_0_11.bin", "kova_5_2_0_9.bin"};
  const std::vector<Case> cases = {
      {"no backup in the store", Entry::Upgrade, nullptr, {}, 0, "", kBackup, kFull, {kPrepare},
       {13, 4}, {0, 20, 80, 100}, plain, kNew},
      // A modem that quietly restarts into its old image has not been upgraded.
      {"back with the old image", Entry::Upgrade,
       [](WorkflowModem& h) { h.zing->afterReset = "5.2.0.12,build 7"; },
       {"The modem reports version 5.2.0.12 after the upgrade, not 5.2.0.13."}, kExcl, kUpg, kBackup,
       kFull, {kPrepare}, {13, 4}, {0, 20, 80, 100}, plain, kNew},
      {"backup in the store", Entry::UpgradeMenu, [](WorkflowModem& h) { h.storeRecorded("5_2_0_12"); }, {},
       0, "", kBackup, {kPutImage, kPutChecksum, kReadImage, kReadChecksum, "CLOSE"}, {kPrepare},
       {13, 4}, {0, 10, 80, 100},
       {kUpgrading, kSuccess}, kNew},
      // Refused before the backup, as with one in the store: nothing reaches the modem.
      {"no new checksum file", Entry::Upgrade,
       [](WorkflowModem& h) { h.removeHomeFile("chk_5_2_0_13.txt"); },
       {"We can't load this version because checksum file doesn't exist."}, kExcl, kUpg},
      // Refused before the modem is touched, the file named.
      {"new image unreadable", Entry::Upgrade, folderFor("kova_5_2_0_13.bin"),
       {unreadable("kova_5_2_0_13.bin")}, kExcl, kUpg},
      {"new checksum file unreadable", Entry::Upgrade, folderFor("chk_5_2_0_13.txt"),
       {unreadable("chk_5_2_0_13.txt")}, kExcl, kUpg},
      {"PIC file unreadable", Entry::Upgrade,
       [&](WorkflowModem& h) {
         pic(h);
         folderFor("pic.hex")(h);
       },
       {unreadable("pic.hex")}, kExcl, kUpg},
      {"restore of an unreadable checksum file", Entry::Restore,
       [&](WorkflowModem& h) {
         h.store("5_2_0_12");
         folderFor("Backup/chk_5_2_0_12.txt")(h);
       },
       {unreadable("Backup/chk_5_2_0_12.txt")}, kExcl, kUpg, kBackup},
      {"no checksum on the modem: no backup, the upgrade goes on", Entry::Upgrade,
       [](WorkflowModem& h) { h.platform.ftp.files.erase("/checksum.txt"); }, {}, 0, "", {}, kFull,
       {kPrepare}, {13, 4}, {0, 20, 80, 100}, plain, kNew},
      {"no image on the modem: its checksum is not fetched either", Entry::Upgrade,
       [](WorkflowModem& h) { h.platform.ftp.files.erase("/bin/kova.bin"); }, {}, 0, "", {},
       {kGetImage, kPutImage, kPutChecksum, kReadImage, kReadChecksum, "CLOSE"}, {kPrepare},
       {13, 4}, {0, 80, 100},
       {kUpgrading, kSuccess}, kNew},
      {"automatic PIC: reflashed after the restart, the version read again", Entry::Upgrade, pic,
       {kUpgradeCompleted}, kExcl, kUpg, kBackup,
       {kGetImage, kGetChecksum, kPutImage, kPutChecksum, kPutPic, kReadImage, kReadChecksum,
        kReadPic, "CLOSE"},
       {kPrepare, kReflash}, {13, 4, 4}, {0, 20, 40, 70, 80, 90, 100},
       {"Uploading PIC software! Wait...", "PIC successfully uploaded! Wait..."}, kNew},
      // The deletion finds nothing: the chain still closes and restarts.
      {"factory mode with automatic PIC, modem without configuration", Entry::Upgrade,
       [&](WorkflowModem& h) {
         pic(h);
         h.settings.commandLine = "/Factory";
         h.platform.ftp.files.erase("/config.txt");
       },
       {kUpgradeCompleted}, kExcl, kUpg, kBackup,
       {kGetImage, kGetChecksum, kPutImage, kPutChecksum, kPutPic, "DELETE /config.txt",
        kReadImage, kReadChecksum, kReadPic, "CLOSE"},
       {kPrepare, kReflash}, {13, 4, 4}, {0, 20, 70, 80, 90, 100},
       {"Deleting config file", kSuccess}, kNew},
      // The restart finds no ZING port either.
      {"unknown version, FTP port answering: backed up as 0_0_0_0 without prepare", Entry::Upgrade,
       [](WorkflowModem& h) { h.unplugZing(); }, unknownBoxes, kExcl, kApp,
       {"chk_0_0_0_0.txt", "kova_0_0_0_0.bin"},
       {R"(GET /bin/kova.bin "~/Backup/.kova_0_0_0_0.bin.pending")",
        R"(GET /checksum.txt "~/Backup/.chk_0_0_0_0.txt.pending")", kPutImage, kPutChecksum,
        kReadImage, kReadChecksum, "CLOSE"},
       {}, {}, {20, 80}, {kDownloading, kSuccess}, kNew},
      // Both ports refuse by the click: only the query's own failure is told.
      {"unknown version and the modem gone", Entry::Upgrade,
       [](WorkflowModem& h) {
         h.unplugZing();
         h.clock().schedule(5000, [&h] { h.unplugFtpPort(); });
       },
       {kRejected,
        "Unable to get Satellite IP Modem's software version.\r\n\r\nPlease check the cable "
        "connection.\r\nRemove power and reapply power to the Satellite IP Modem.\r\nGet "
        "software version using Tools menu before retrying.\r\nClose and restart Upgrader if "
        "error repeats.",
        kRejected},
       kExcl, kApp},
      {"login refused", Entry::Upgrade, [](WorkflowModem& h) { h.platform.ftp.loginOk = false; },
       {"Incorrect Username or Password!"}, kExcl, kUpg, {}, {kGetImage}, {kPrepare}, {}, {0},
       {kDownloading}},
      {"server unreachable", Entry::Upgrade,
       [](WorkflowModem& h) { h.platform.ftp.reachable = false; },
       {"Can not connect to Satellite IP Modem. Please check cable connection and retry."}, kExcl,
       kUpg, {}, {kGetImage}, {kPrepare}, {}, {0}, {kDownloading}},
      {"dropped during the checksum backup", Entry::Upgrade,
       FaultAt("GET /checksum.txt", {Fault::Disconnect, 0, "", -1}),
       {"FTP connection was suddenly closed.\r\n\r\nRemove power and reapply power to the "
        "Satellite IP Modem, then repeat last operation."},
       kExcl, kUpg, {}, {kGetImage, kGetChecksum}, {kPrepare}, {}, {0, 20}, {kDownloading}},
      // Once the image is on its way a broken transfer is sent again, unseen.
      {"image upload fails once", Entry::Upgrade,
       FaultAt("PUT /bin/kova.bin", {Fault::Error, 12031, "Connection reset", -1}), {}, 0, "",
       kBackup,
       {kGetImage, kGetChecksum, kPutImage, kPutImage, kPutChecksum, kReadImage, kReadChecksum,
        "CLOSE"},
       {kPrepare}, {13, 4}, {0, 20, 80, 100}, {kUpgrading, kAgain, kSuccess}, kNew},
      {"restore, image upload refused once", Entry::Restore,
       [](WorkflowModem& h) {
         h.store("5_2_0_12");
         FaultAt("PUT /bin/kova.bin", {Fault::Error, 12003, "552 Disk full.", -1})(h);
       },
       {}, 0, "", kBackup,
       again12, {kPrepare}, {13, 4}, {0, 100}, {kAgain, "Successfully restored! Wait..."},
       "KOVA-IMAGE 5.2.0.12"},
      {"restore among several: nothing is preselected", Entry::Restore, several, {}, 0, "",
       severalStore},
      // Both deletions of the configuration go out; the second finds nothing.
      {"restore of the version picked among several", Entry::RestoreMenu,
       [=](WorkflowModem& h) {
         several(h);
         h.pick = "5.2.0.11";
       },
       {}, 0, "", severalStore, Restored("5_2_0_11"), {kPrepare}, {13, 4}, {0, 100},
       {"Preparing for Software Restore with version 5_2_0_11 ...",
        "Restoring Satellite IP Modem with version 5_2_0_11 ...", "Successfully restored! Wait..."},
       "KOVA-IMAGE 5.2.0.11"},
      {"PIC button: upload, reflash, version", Entry::Pic, pic, {kUpgradeCompleted}, kExcl, kUpg,
       {}, {kPutPic, kReadPic, "CLOSE"}, {kReflash}, {4}, {0, 40, 70, 80, 90, 100},
       {"Sending PIC reflash command."}},
      // Only FTP answered at start-up; once the modem names its version the rule holds.
      {"upgrade across series once the version is read", Entry::Upgrade,
       [](WorkflowModem& h) {
         h.home.write("kova_5_3_1_4.bin", "x");
         h.removeHomeFile("kova_5_2_0_13.bin");
         h.unplugZing();
         h.clock().schedule(3000, [&h] {
           h.platform.network.listen(Harness::kModem, h.settings.zingPort, h.zing);
           h.f().cmdGetSoftwareVersion.click();
         });
       },
       {kSeries}, MsgCritical, kApp},
      // A backup that came back empty is none: nothing goes to the modem.
      {"empty image on the modem", Entry::Upgrade,
       [](WorkflowModem& h) { h.platform.ftp.files["/bin/kova.bin"] = ""; },
       {"The modem's file /bin/kova.bin came back empty, so its software could not be backed "
        "up.\r\nThe upgrade stopped before anything was sent to the modem."},
       kExcl, kUpg, {}, {kGetImage}, {kPrepare}, {}, {0}, {kDownloading}, ""},
      {"restore of an empty backup", Entry::Restore,
       [](WorkflowModem& h) {
         h.home.write("Backup/kova_5_2_0_12.bin", "");
         h.home.write("Backup/chk_5_2_0_12.txt", "checksum");
       },
       {"The image ~/Backup/kova_5_2_0_12.bin is empty: it would leave the modem without "
        "software. Nothing was sent to the modem."},
       kExcl, kUpg, kBackup},
      {"automatic PIC turned off", Entry::Upgrade,
       [&](WorkflowModem& h) {
         pic(h);
         h.clock().schedule(50, [&h] { h.f().cmdDisableAutoPicMenu.click(); });
       },
       {}, 0, "", kBackup, kFull, {kPrepare}, {13, 4}, {0, 20, 80, 100}, plain, kNew},
      {"restore on a modem without configuration", Entry::Restore,
       [](WorkflowModem& h) {
         h.store("5_2_0_12");
         h.platform.ftp.files.erase("/config.txt");
       },
       {}, 0, "", kBackup, Restored("5_2_0_12"), {kPrepare}, {13, 4}, {0, 100},
       {"Successfully restored! Wait..."}, "KOVA-IMAGE 5.2.0.12"},
      // The store holds the backup: the upload branch checks the checksum.
      {"upgrade without its checksum file", Entry::Upgrade,
       [](WorkflowModem& h) {
         h.store("5_2_0_12");
         h.removeHomeFile("chk_5_2_0_13.txt");
       },
       {"We can't load this version because checksum file doesn't exist."}, kExcl, kUpg, kBackup},
      {"upgrade without an address", Entry::Upgrade, noAddress,
       {"Please enter Satellite IP Modem's IP Address."}, MsgInformation, kApp},
      {"restore with an empty store", Entry::Restore, nullptr, {"No old versions are available."},
       kExcl, kApp},
      // The one version in the store is preselected.
      {"restore across series", Entry::Restore, [](WorkflowModem& h) { h.store("4_9_0_1"); },
       {kSeries}, MsgCritical, kApp, {"chk_4_9_0_1.txt", "kova_4_9_0_1.bin"}},
      {"restore without its checksum file", Entry::Restore,
       [](WorkflowModem& h) { h.store("5_2_0_9", false); },
       {"We can't restore this version because checksum file doesn't exist."}, kExcl, kUpg,
       {"kova_5_2_0_9.bin"}},
      {"PIC without an address", Entry::PicMenu,
       [&](WorkflowModem& h) {
         noAddress(h);
         pic(h);
       },
       {"Please enter Satellite IP Modem's IP address."}, MsgInformation, kApp},
      {"PIC without pic.hex", Entry::Pic, nullptr,
       {"Unable to find pic.hex in home directory ~/.\r\nPlease copy PIC file in ~/"}, kExcl, kApp,
       {}, {}, {}, {}, {0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorkflowModem h;
    if (c.arrange) c.arrange(h);
    h.start();
    h.advance(10000);  // with the ZING port gone, the FTP port has answered by now
    h.zing->requests.clear();
    h.progress.clear();
    h.ui().boxes.clear();
    // The user clicks again every 50 ms till idle: nothing starts beside the operation.
    std::function<void()> again = [&] {
      h.click(c.entry);
      h.clock().schedule(50, again);
    };
    h.clock().schedule(50, again);
    h.click(c.entry);
    h.settle();
    EXPECT_EQ(h.wire(), c.ftp);
    EXPECT_EQ(h.console->lines, c.console);
    EXPECT_EQ(h.zing->requests, c.zing);
    EXPECT_EQ(h.progress, c.progress);
    for (const auto& s : c.statuses) {
      EXPECT_GE(h.status(s).atMs, 0) << s;
      EXPECT_TRUE(s.rfind("Preparing", 0) == 0 || h.status(s).busy) << s;
    }
    EXPECT_EQ(h.boxes(), c.boxes);
    if (!h.ui().boxes.empty()) {
      EXPECT_EQ(h.ui().boxes[0].style, c.style);
      EXPECT_EQ(h.ui().boxes[0].title, c.title);
    }
    EXPECT_EQ(h.backups(), c.store);
    EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], c.image);
    EXPECT_FALSE(h.busy());
    // What the session reports after its end changes nothing.
    h.platform.ftpClients.at(0)->onStateChanged(FtpClient::Disconnected);
    h.platform.ftpClients.at(0)->onStateChanged(FtpClient::ErrorState);
    EXPECT_EQ(h.boxes(), c.boxes);
    EXPECT_FALSE(h.busy());
  }
}
