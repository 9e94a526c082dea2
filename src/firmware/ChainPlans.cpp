#include "firmware/ChainPlans.h"

#include <memory>

#include "core/TextUtilities.h"
#include "discovery/ModemReset.h"
#include "transfer/TelnetSession.h"

namespace {
using Next = FtpStep::Next;

FtpStep Step(FtpState state, std::string command, Next whenRefused = Next::Fail) {
  FtpStep s;
  s.state = state;
  s.command = std::move(command);
  s.whenRefused = whenRefused;
  return s;
}
}  // namespace

ChainPlans::ChainPlans(const Context& context, ImageStore& store, ModemReset& reset,
                       TelnetSession& telnet)
    : context_(context), store_(store), reset_(reset), telnet_(telnet) {}

FtpFinish ChainPlans::resetAfter(const std::string& status, int progress) const {
  ModemReset& reset = reset_;
  return FtpFinish{status, progress, true, [&reset] { reset.resetAfterTransfer(); }};
}

FtpPlan ChainPlans::upgrade(const std::string* backupVersion) const {
  const Session& session = context_.session;
  FtpPlan plan;
  plan.finish = resetAfter("Successfully upgraded! Wait...");

  if (backupVersion) {
    FtpStep image = Step(FtpState::GetImage,
                         "GET /bin/kova.bin " + FtpChain::Quote(store_.backupImagePath(*backupVersion)),
                         Next::SkipOne);  // nothing to back up: the upgrade goes on
    image.progressAfterNext = 20;
    plan.steps.push_back(image);
    FtpStep checksum = Step(FtpState::GetChecksum,
                            "GET /checksum.txt " +
                                FtpChain::Quote(store_.backupChecksumPath(*backupVersion)),
                            Next::Continue);
    checksum.completesBackup = true;
    plan.steps.push_back(checksum);
  }

  FtpStep put = Step(FtpState::PutNewImage,
                     "PUT " + FtpChain::Quote(store_.newImagePath()) + " /bin/kova.bin");
  put.status = "Upgrading Satellite IP Modem with version " +
               ReplaceChar(session.newVersion, "_", ".") + " ...";
  plan.steps.push_back(put);

  const std::string checksumPath = store_.newChecksumPath();
  FtpStep checksum =
      ImageStore::fileExists(checksumPath)
          ? Step(FtpState::PutNewChecksum, "PUT " + FtpChain::Quote(checksumPath) + " /checksum.txt")
          : Step(FtpState::UpgradeDeleteChecksum, "DELETE /checksum.txt", Next::Finish);
  checksum.finishInstead = std::make_shared<FtpFinish>(plan.finish);
  plan.steps.push_back(checksum);

  {
    // The bare name, resolved against the home directory (the working one).
    FtpStep pic = Step(FtpState::PutUpgradePic, "PUT " + store_.picFile() + " /pic.hex");
    pic.status = "Uploading PIC software! Wait...";
    // Decided once the checksum is stored: the user may turn automatic PIC
    // upgrade off meanwhile.
    const StatusView& view = context_.view;
    const ImageStore& store = store_;
    pic.onlyIf = [&view, &store] { return view.autoPicUpgrade() && !store.picFile().empty(); };
    pic.progressIfSkipped = 80;
    pic.endsWait = true;
    TelnetSession& telnet = telnet_;
    pic.whenCompleted = [&telnet] { telnet.reflashAfterNextVersion(); };
    if (!session.factoryMode) {
      pic.whenDone = Next::Finish;
      pic.finishInstead =
          std::make_shared<FtpFinish>(resetAfter("PIC successfully uploaded! Wait...", 40));
    }
    plan.steps.push_back(pic);
  }
  if (session.factoryMode) {
    FtpStep config = Step(FtpState::UpgradeDeleteConfig, "DELETE /config.txt", Next::Finish);
    config.status = "Deleting config file";
    plan.steps.push_back(config);
  }
  return plan;
}

FtpPlan ChainPlans::restore(const std::string& version) const {
  FtpPlan plan;
  plan.finish = resetAfter("Successfully restored! Wait...");
  plan.steps.push_back(Step(FtpState::PutRestoreImage,
                            "PUT " + FtpChain::Quote(store_.backupImagePath(version)) +
                                " /bin/kova.bin"));
  const std::string checksumPath = store_.backupChecksumPath(version);
  plan.steps.push_back(
      ImageStore::fileExists(checksumPath)
          ? Step(FtpState::PutRestoreChecksum,
                 "PUT " + FtpChain::Quote(checksumPath) + " /checksum.txt")
          : Step(FtpState::RestoreDeleteChecksum, "DELETE /checksum.txt", Next::Continue));
  plan.steps.push_back(Step(FtpState::RestoreDeleteConfig, "DELETE /config.txt", Next::Continue));
  // Refused: the first deletion already removed the file.
  plan.steps.push_back(
      Step(FtpState::RestoreDeleteConfigAgain, "DELETE /config.txt", Next::Finish));
  return plan;
}

FtpPlan ChainPlans::picUpload(const std::string& picFile) const {
  FtpPlan plan;
  FtpStep pic = Step(FtpState::PutPic, "PUT " + picFile + " /pic.hex");
  pic.status = "Uploading PIC software! Wait...";
  plan.steps.push_back(pic);
  TelnetSession& telnet = telnet_;
  // The telnet exchange that follows has its own watchdogs.
  plan.finish = FtpFinish{"PIC successfully uploaded! Wait...", 40, false,
                          [&telnet] { telnet.startPicReflash(); }};
  return plan;
}

FtpPlan ChainPlans::logDownload() const {
  FtpPlan plan;
  FtpStep log = Step(FtpState::GetLog, "GET /ram0/syslog.log " + FtpChain::Quote(store_.logPath()),
                     Next::EndQuietly);
  log.endStatus = "Log file doesn't exist.";
  plan.steps.push_back(log);
  plan.finish = FtpFinish{"Log downloaded", -1, true, nullptr};
  return plan;
}

FtpPlan ChainPlans::verifyDownload(const std::string& local) const {
  FtpPlan plan;
  plan.steps.push_back(Step(FtpState::GetImage, "GET /bin/kova.bin " + FtpChain::Quote(local)));
  plan.finish = FtpFinish{"", -1, true, nullptr};
  return plan;
}
