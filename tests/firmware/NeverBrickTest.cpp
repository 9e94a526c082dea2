// The modem restarts only into an image read back whole from it: uploads
// that break or land damaged are sent again, then the old image is put
// back, and where neither can be written the user is told not to switch the
// modem off. An upload is on record before its first byte, so a later run
// knows it never ended; one process works on a modem at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/Presenter.h"
#include "core/UpgradeHistory.h"
#include "operations/TransferOperation.h"
#include "sim/ConsoleBatch.h"
#include "sim/WorkflowPeers.h"

namespace {

using Fault = SimFtpServer::Fault;
const std::string kPutOld = R"(PUT "~/Backup/kova_5_2_0_12.bin" /bin/kova.bin)";
const std::string kPutOldChecksum = R"(PUT "~/Backup/chk_5_2_0_12.txt" /checksum.txt)";
const std::string kReadOld = R"(COMPARE /bin/kova.bin "~/Backup/kova_5_2_0_12.bin")";
const std::string kReadOldChecksum = R"(COMPARE /checksum.txt "~/Backup/chk_5_2_0_12.txt")";
const std::string kPutBack =
    "The new software could not be written whole to the Satellite IP Modem at 127.0.0.1.\r\n"
    "Its previous software 5.2.0.12 was put back and read back intact; the modem runs it as "
    "before.\r\n\r\nCheck the connection, then repeat the operation.";
const std::string kIncomplete =
    "The software image on the Satellite IP Modem at 127.0.0.1 is incomplete: the transfer "
    "broke, and neither the new nor the previous software could be written whole.\r\n\r\n"
    "Do not switch the modem off.\r\nRepeat the operation as soon as the modem answers.";

int Resets(const WorkflowModem& h) {
  return static_cast<int>(std::count(h.zing->requests.begin(), h.zing->requests.end(), 13));
}

Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

}  // namespace

// Whatever breaks once the image is on its way, the modem restarts into a
// whole image or not at all, and what it holds is said.
TEST(NeverBrick, EachBreakEndsWithAWholeImageOrNoRestart) {
  struct Case {
    const char* what;
    Entry entry;
    std::function<void(WorkflowModem&)> arrange;
    Lines ftp;
    Lines boxes;
    std::string image;  // on the modem afterwards
    int resets;
    std::string holds;  // in the history, with the failure's code
  };
  const Lines backup = {kGetImage, kGetChecksum};
  const Lines upload = {kPutImage, kPutChecksum};
  const Lines readBack = {kReadImage, kReadChecksum};
  const Lines oldPair = {kPutOld, kPutOldChecksum, kReadOld, kReadOldChecksum};
  const Lines putBack = Concat({oldPair, {"CLOSE"}});
  const Lines restore11 = {R"(PUT "~/Backup/kova_5_2_0_11.bin" /bin/kova.bin)",
                           R"(PUT "~/Backup/chk_5_2_0_11.txt" /checksum.txt)", "DELETE /config.txt",
                           "DELETE /config.txt",
                           R"(COMPARE /bin/kova.bin "~/Backup/kova_5_2_0_11.bin")"};
  const auto flash = [](const std::string& remote, int times) {
    return [=](WorkflowModem& h) { h.platform.ftp.flashErrors[remote] = times; };
  };
  const std::vector<Case> cases = {
      {"a flash write error once", Entry::Upgrade, flash("/bin/kova.bin", 1),
       Concat({backup, upload, {kReadImage}, upload, readBack, {"CLOSE"}}), {}, kNew, 1,
       "new-image"},
      {"an upload cut once: half an image on the modem, sent again", Entry::Upgrade,
       [](WorkflowModem& h) { h.platform.ftp.faults["PUT /bin/kova.bin"] = {Fault::Cut, 0, "", -1}; },
       Concat({backup, {kPutImage}, upload, readBack, {"CLOSE"}}), {}, kNew, 1, "new-image"},
      {"a damaged checksum file every time: the old pair back fails too", Entry::Upgrade,
       flash("/checksum.txt", -1),
       Concat({backup, upload, readBack, upload, readBack, upload, readBack, oldPair, oldPair,
               oldPair}),
       {kIncomplete}, kOld, 0, "incomplete image-incomplete"},
      {"the image damaged every time: the old one put back and restarted", Entry::Upgrade,
       flash("/bin/kova.bin", 3),
       Concat({backup, upload, {kReadImage}, upload, {kReadImage}, upload, {kReadImage}, putBack}),
       {kPutBack}, kOld, 1, "old-image old-image-put-back"},
      {"the FTP server gone after the cut", Entry::Upgrade,
       [](WorkflowModem& h) {
         h.platform.ftp.faults["PUT /bin/kova.bin"] = {Fault::Cut, 0, "", -1};
         h.platform.ftp.goneAfterCut = true;
       },
       Concat({backup, {kPutImage, kPutImage, kPutImage, kPutOld, kPutOld, kPutOld}}),
       {kIncomplete}, "KOVA-IMAGE 5.2.", 0, "incomplete image-incomplete"},
      // The running version's pair in the store is what a restore falls back to.
      {"a restore damaged every time", Entry::Restore,
       [](WorkflowModem& h) {
         h.store("5_2_0_12");
         h.store("5_2_0_11");
         h.pick = "5.2.0.11";
         h.platform.ftp.flashErrors["/bin/kova.bin"] = 3;
       },
       Concat({restore11, restore11, restore11, putBack}),
       {kPutBack}, "KOVA-IMAGE 5.2.0.12", 1, "old-image old-image-put-back"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorkflowModem h;
    c.arrange(h);
    h.start();
    h.zing->requests.clear();
    h.ui().boxes.clear();
    h.click(c.entry);
    h.settle(900000);
    EXPECT_EQ(h.wire(), c.ftp);
    EXPECT_EQ(h.boxes(), c.boxes);
    EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"].substr(0, c.image.size()), c.image);
    EXPECT_EQ(Resets(h), c.resets);
    for (const auto& box : h.boxTexts()) {
      EXPECT_EQ(box.find("Remove power"), std::string::npos) << box;
      EXPECT_EQ(box.find("off and on"), std::string::npos) << box;
    }
    const auto history = History(h);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].reasonCode.empty() ? history[0].holds
                                            : history[0].holds + " " + history[0].reasonCode,
              c.holds);
    EXPECT_FALSE(h.busy());
    // Nothing read back stays behind.
    for (const auto& name : h.backups()) EXPECT_EQ(name.find("readback"), std::string::npos);
  }
}

// A history that cannot be written does not make an incomplete image
// restartable: the window remembers what it left on the modem.
TEST(NeverBrick, AnIncompleteImageIsKeptInMindWithoutAHistory) {
  WorkflowModem h;
  h.home.write("Backup/history.jsonl/not a file", "");
  h.platform.ftp.faults["PUT /bin/kova.bin"] = {Fault::Cut, 0, "", -1};
  h.platform.ftp.goneAfterCut = true;
  h.start();
  h.zing->requests.clear();
  h.click(Entry::Upgrade);
  h.settle(900000);
  ASSERT_NE(std::find(h.boxTexts().begin(), h.boxTexts().end(), kIncomplete), h.boxTexts().end());
  h.ui().boxes.clear();
  h.f().cmdResetModem.click();
  h.settle();
  ASSERT_EQ(h.boxTexts().size(), 1u);
  EXPECT_EQ(h.boxTexts()[0].rfind("The Satellite IP Modem at 127.0.0.1 was not restarted", 0), 0u)
      << h.boxTexts()[0];
  EXPECT_EQ(Resets(h), 0);
}

// The upload is on record before its first byte; until a later run ends it
// whole, the modem is not restarted, and the window says what to do.
TEST(NeverBrick, AnUploadThatNeverEndedIsKnownToTheNextRun) {
  std::string began;
  {
    WorkflowModem first;
    first.start();
    first.click(Entry::Upgrade);
    // The moment the image goes out, the history already names it.
    ASSERT_TRUE(first.clock().advanceUntil(
        [&] {
          const Lines& log = first.platform.ftp.log;
          return std::any_of(log.begin(), log.end(), [](const std::string& line) {
            return line.rfind("PUT ", 0) == 0 && line.ends_with(" /bin/kova.bin");
          });
        },
        60000));
    const HistoryRead read =
        ReadHistory((first.home.path() / "Backup" / "history.jsonl").string());
    ASSERT_EQ(read.entries.size(), 1u);
    const HistoryEntry& e = read.entries[0];
    EXPECT_EQ(e.outcome, "began");
    EXPECT_EQ(e.imageName, "kova_5_2_0_13.bin");
    EXPECT_EQ(e.imageSha256, Sha(first.home.read("kova_5_2_0_13.bin")));
    EXPECT_EQ(e.backupImage, "kova_5_2_0_12.bin");
    EXPECT_EQ(e.versionBefore, "5.2.0.12");
    EXPECT_EQ(e.modemAddress, Harness::kModem);
    EXPECT_EQ(e.attempt.size(), 36u);
    EXPECT_EQ(HistoryTable(read.entries).find("unfinished") != std::string::npos, true);
    // The PC dies here: the history keeps the line, and the backup pair.
    began = first.home.read("Backup/history.jsonl");
  }
  WorkflowModem h;
  h.home.write("Backup/history.jsonl", began);
  h.store("5_2_0_12");
  h.start();
  h.advance(100);
  ASSERT_EQ(h.boxTexts().size(), 1u);
  EXPECT_EQ(h.boxTexts()[0].rfind("An upload to the Satellite IP Modem at 127.0.0.1 began at ", 0),
            0u)
      << h.boxTexts()[0];
  EXPECT_NE(h.boxTexts()[0].find("Do not switch the modem off."), std::string::npos);
  // Neither a reset nor a reflash nor a DNS change restarts it meanwhile.
  h.ui().boxes.clear();
  h.zing->requests.clear();
  h.f().cmdResetModem.click();
  h.settle();
  h.click(Entry::Pic);
  h.settle();
  ASSERT_EQ(h.boxTexts().size(), 2u);
  for (const auto& box : h.boxTexts())
    EXPECT_EQ(box.rfind("The Satellite IP Modem at 127.0.0.1 was not restarted: its software "
                        "image is incomplete",
                        0),
              0u)
        << box;
  EXPECT_EQ(Resets(h), 0);
  EXPECT_TRUE(h.platform.ftp.log.empty());
  // An upgrade completes it; then the modem is whole again and restarts.
  h.ui().boxes.clear();
  h.click(Entry::Upgrade);
  h.settle();
  EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], kNew);
  EXPECT_TRUE(h.boxTexts().empty()) << h.boxTexts()[0];
  h.f().cmdResetModem.click();
  h.settle();
  EXPECT_EQ(Resets(h), 2);
  const auto ops = History(h);
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[0].outcome, "unfinished");
  EXPECT_EQ(ops[1].operation + " " + ops[1].outcome, "upgrade done");
  EXPECT_EQ(ops[1].holds, "new-image");
  EXPECT_EQ(ops[1].verifiedSha256, Sha(h.home.read("kova_5_2_0_13.bin")));
  EXPECT_EQ(ops[2].operation + " " + ops[2].outcome, "reset done");
}

// Another process left an upload unfinished while this window stood idle:
// nothing restarts the modem, its half image is taken for no backup, and no
// box advises a power cycle until an image is read back whole.
TEST(NeverBrick, AnUploadLeftUnfinishedElsewhereHoldsEveryRestartAndBackup) {
  WorkflowModem h;
  h.start();
  HistoryEntry began;
  began.time = "2026-12-09T10:00:00Z";
  began.modemAddress = Harness::kModem;
  began.operation = "upgrade";
  began.outcome = "began";
  began.attempt = NewAttemptId();
  Text error;
  ASSERT_TRUE(AppendHistory((h.home.path() / "Backup/history.jsonl").string(), began, error));
  h.platform.ftp.files["/bin/kova.bin"] = "KOVA-IMAGE 5.2.0.13\nima";
  h.zing->requests.clear();
  h.f().cmdResetModem.click();
  h.settle();
  EXPECT_EQ(Resets(h), 0);
  // Every upload lands damaged, and there is nothing whole to put back.
  h.platform.ftp.flashErrors["/bin/kova.bin"] = -1;
  h.click(Entry::Upgrade);
  h.settle();
  const Lines& log = h.platform.ftp.log;
  EXPECT_EQ(std::count(log.begin(), log.end(), kGetImage), 0);
  EXPECT_FALSE(h.home.exists("Backup/kova_5_2_0_12.bin"));
  EXPECT_EQ(Resets(h), 0);
  h.ui().boxes.clear();
  h.unplug();
  h.f().cmdGetSoftwareVersion.click();
  h.settle();
  ASSERT_EQ(h.boxTexts().size(), 3u);
  for (const auto& box : h.boxTexts()) EXPECT_EQ(box.find("power"), std::string::npos) << box;
  EXPECT_EQ(h.boxTexts()[1].rfind("The Satellite IP Modem at 127.0.0.1 did not answer as "
                                  "expected, and its software image is incomplete: an upload "
                                  "that began at ",
                                  0),
            0u);
  // Back and upgraded whole, then a PIC upgrade after it.
  h.plug("5.2.0.12");
  h.platform.ftp.flashErrors.clear();
  h.f().cmdGetSoftwareVersion.click();
  h.settle();
  h.click(Entry::Upgrade);
  h.settle();
  EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], kNew);
  EXPECT_EQ(Resets(h), 1);
  h.home.write("pic.hex", ":00000001FF\n");
  h.click(Entry::Pic);
  h.settle();
  EXPECT_EQ(h.platform.ftp.files["/pic.hex"], ":00000001FF\n");
  EXPECT_EQ(h.console->lines.back(), "pic_driver_reflash 1");
}

// Left incomplete from one firmware folder, the modem is known as such from
// any other, by a window started there: no restart until it is whole again.
TEST(NeverBrick, AnIncompleteImageIsKnownFromAnotherFirmwareFolder) {
  WorkflowModem h;
  h.platform.ftp.flashErrors["/bin/kova.bin"] = -1;
  h.start();
  h.click(Entry::Upgrade);
  h.settle();
  ASSERT_EQ(History(h).back().holds, "incomplete");
  // Another folder: a history of its own, which never saw the upload.
  std::filesystem::remove(h.home.path() / "Backup/history.jsonl");
  h.platform.ftp.flashErrors.clear();
  h.load();
  h.advance(100);
  h.zing->requests.clear();
  h.ui().boxes.clear();
  h.f().cmdResetModem.click();
  h.settle();
  EXPECT_EQ(Resets(h), 0);
  ASSERT_FALSE(h.boxTexts().empty());
  EXPECT_EQ(h.boxTexts().back().rfind("The Satellite IP Modem at 127.0.0.1 was not restarted", 0),
            0u);
  h.click(Entry::Upgrade);
  h.settle();
  h.f().cmdResetModem.click();
  h.settle();
  EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], kNew);
  EXPECT_EQ(Resets(h), 2);
}

// A backup refused for a passing reason is no "nothing to back up": the
// upgrade stops before anything is sent, where "no such file" goes on.
TEST(NeverBrick, AnUpgradeGoesOnWithoutABackupOnlyWhenThereIsNone) {
  for (const char* reply :
       {"450 File busy.", "425 Can't open data connection.", "550 No such file or directory."}) {
    SCOPED_TRACE(reply);
    WorkflowModem h;
    h.platform.ftp.faults["GET /bin/kova.bin"] = {Fault::Error, FtpClient::kServerRefused, reply,
                                                  -1};
    h.start();
    h.click(Entry::Upgrade);
    h.settle();
    const bool none = reply[0] == '5';
    EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"],
              none ? kNew : "KOVA-IMAGE 5.2.0.12\nold image");
    EXPECT_EQ(Resets(h), none ? 1 : 0);
    if (!none) {
      EXPECT_EQ(h.boxTexts(),
                Lines{std::string("An unexpected FTP error occurred. Operation cancelled.\r\n\r\n"
                                  "Error Code:  12003 : ") +
                      reply});
    }
  }
}

// A backup pair found in the store is what a broken upgrade puts back and
// restarts into: taken as it is only while the history's record of it
// matches; else a fresh copy of the running image replaces it first, and
// without one nothing is put back.
TEST(NeverBrick, APairFoundIsPutBackOnlyWhenItsRecordVouchesForIt) {
  const std::string oldChecksum = "checksum 5.2.0.12";
  const std::string other = "KOVA-IMAGE 5.2.0.12\nsomeone else's bytes";
  struct Case {
    const char* what;
    std::string image, checksum;  // the pair found
    bool recorded;
    bool noImageOnTheModem;  // the copy is refused: "no such file"
    bool takenAfresh;
    std::string after;  // the modem's image afterwards
    Lines boxes;
  };
  const std::vector<Case> cases = {
      {"recorded and unchanged", kOld, oldChecksum, true, false, false, kOld, {kPutBack}},
      {"recorded, the image changed since", other, oldChecksum, true, false, true, kOld, {kPutBack}},
      {"recorded, the checksum file changed since", kOld, "edited", true, false, true, kOld,
       {kPutBack}},
      {"put there by hand", other, oldChecksum, false, false, true, kOld, {kPutBack}},
      {"put there by hand, and the modem has no file to copy", other, oldChecksum, false, true,
       false, "KOVA-IMAGE 5.2.", {kIncomplete}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorkflowModem h;
    h.home.write("Backup/kova_5_2_0_12.bin", c.image);
    h.home.write("Backup/chk_5_2_0_12.txt", c.checksum);
    if (c.recorded) h.recordBackup("5_2_0_12", kOld, oldChecksum);
    if (c.noImageOnTheModem)
      h.platform.ftp.faults["GET /bin/kova.bin"] = {Fault::Error, FtpClient::kServerRefused,
                                                    "550 No such file or directory.", -1};
    h.platform.ftp.flashErrors["/bin/kova.bin"] = 3;  // each of the new image's uploads
    h.start();
    h.ui().boxes.clear();
    h.click(Entry::Upgrade);
    h.settle(900000);
    const Lines wire = h.wire();
    const bool copyAsked = c.takenAfresh || c.noImageOnTheModem;
    EXPECT_EQ(std::count(wire.begin(), wire.end(), kGetImage), copyAsked ? 1 : 0);
    EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"].substr(0, c.after.size()), c.after);
    EXPECT_EQ(h.boxes(), c.boxes);
    EXPECT_EQ(h.home.read("Backup/kova_5_2_0_12.bin"), c.takenAfresh ? kOld : c.image);
    EXPECT_EQ(h.home.read("Backup/chk_5_2_0_12.txt"), c.takenAfresh ? oldChecksum : c.checksum);
    EXPECT_FALSE(h.busy());
  }
}

// A firmware folder where no backup can be stored: the upgrade stops
// before the prepare command, not after a download it cannot keep.
TEST(NeverBrick, ABackupThatCannotBeStoredStopsTheUpgradeBeforeAnythingIsSent) {
  WorkflowModem h;
  h.home.write("Backup", "a file where the folder should be");
  h.start();
  h.ui().boxes.clear();
  h.click(Entry::Upgrade);
  h.settle();
  EXPECT_TRUE(h.console->lines.empty());
  EXPECT_TRUE(h.platform.ftp.log.empty());
  ASSERT_EQ(h.boxTexts().size(), 1u);
  EXPECT_EQ(h.boxTexts()[0].rfind("The backup of the modem's software could not be stored:\r\n"
                                  "Cannot create a file in ",
                                  0),
            0u)
      << h.boxTexts()[0];
  EXPECT_FALSE(h.busy());
}

// While the modem's image is known to be incomplete, no box of any kind
// advises a power cycle.
TEST(NeverBrick, NoBoxAdvisesAPowerCycleWhileTheImageIsIncomplete) {
  Harness h;
  Session session;
  session.modemAddress = Harness::kModem;
  session.unfinishedUploadSince = "2026-12-09T10:00:00Z";
  Presenter presenter(h.ui(), Audience::Window, &session);
  for (int kind = 0; kind <= static_cast<int>(Notice::Kind::WrongVersionAfter); ++kind)
    presenter.report({static_cast<Notice::Kind>(kind), "detail", 1, "extra"});
  ASSERT_FALSE(h.boxTexts().empty());
  for (const auto& box : h.boxTexts())
    for (const char* advice : {"reapply power", "off and on", "Remove power"})
      EXPECT_EQ(box.find(advice), std::string::npos) << box;
}

// The image changes on the PC once it began to go up: what reads back is
// not what was checked and meant to be sent, so the old image goes back.
TEST(NeverBrick, AnImageChangedOnThePcDuringTheRunIsNeverRestartedInto) {
  WorkflowModem h;
  h.storeRecorded("5_2_0_12");
  h.start();
  h.click(Entry::Upgrade);
  ASSERT_TRUE(h.clock().advanceUntil(
      [&] {
        const Lines wire = h.wire();
        return std::count(wire.begin(), wire.end(), kPutImage) == 1;
      },
      60000));
  h.home.write("kova_5_2_0_13.bin", "KOVA-IMAGE 5.2.0.13\nswapped on the PC");
  h.settle();
  EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], "KOVA-IMAGE 5.2.0.12");
  EXPECT_EQ(h.boxTexts(), Lines{kPutBack});
  EXPECT_EQ(Resets(h), 1);
}

// A second window on the modem another one works on is refused, naming it.
TEST(NeverBrick, OneProcessWorksOnAModemAtATime) {
  WorkflowModem first, second;
  first.start();
  second.start();
  first.platform.ftp.faults["GET /checksum.txt"] = {Fault::Stall, 0, "", -1};
  first.click(Entry::Upgrade);
  first.advance(5000);
  ASSERT_TRUE(first.busy());
  second.ui().boxes.clear();
  second.click(Entry::Upgrade);
  second.settle();
  EXPECT_EQ(second.boxTexts(),
            Lines{"Another process of this tool is working on the Satellite IP Modem at "
                  "127.0.0.1: process 4242 (upgrade).\r\nWait until it has finished, then try "
                  "again."});
  EXPECT_TRUE(second.platform.ftp.log.empty());
  EXPECT_FALSE(second.busy());
  // Once the first has ended, the second may.
  first.settle();
  second.ui().boxes.clear();
  second.click(Entry::Upgrade);
  second.settle();
  EXPECT_EQ(second.platform.ftp.files["/bin/kova.bin"], kNew);
}
