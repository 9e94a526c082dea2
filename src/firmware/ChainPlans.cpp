#include "firmware/ChainPlans.h"

#include <memory>

#include "core/BarSteps.h"

namespace {
using Next = FtpStep::Next;

FtpStep Step(FtpState state, FtpCommand command, Next whenRefused = Next::Fail) {
  FtpStep s;
  s.state = state;
  s.command = std::move(command);
  s.whenRefused = whenRefused;
  return s;
}
}  // namespace

ChainPlans::ChainPlans(const Context& context, ImageStore& store)
    : context_(context), store_(store) {}

FtpPlan ChainPlans::upgrade(const BackupTarget* backup) const {
  const Session& session = context_.session;
  FtpPlan plan;
  plan.finish = FtpFinish{"Successfully upgraded! Wait..."_t};

  if (backup) {
    FtpStep image = Step(FtpState::GetImage, FtpCommand::MakeGet("/bin/kova.bin", backup->image),
                         Next::SkipOne);  // nothing to back up: the upgrade goes on
    image.progressAfterNext = BarAt(UpgradeStep::BackupFetched);
    plan.steps.push_back(image);
    FtpStep checksum = Step(FtpState::GetChecksum,
                            FtpCommand::MakeGet("/checksum.txt", backup->checksum), Next::Continue);
    checksum.completesBackup = true;
    plan.steps.push_back(checksum);
  }

  FtpStep put =
      Step(FtpState::PutNewImage, FtpCommand::MakePut(store_.newImagePath(), "/bin/kova.bin"));
  put.status =
      Text("Upgrading Satellite IP Modem with version %1 ..."_t).arg(session.newVersion.display());
  put.starterRepairs = true;
  plan.steps.push_back(put);

  const std::string checksumPath = store_.newChecksumPath();
  FtpStep checksum =
      ImageStore::fileExists(checksumPath)
          ? Step(FtpState::PutNewChecksum, FtpCommand::MakePut(checksumPath, "/checksum.txt"))
          : Step(FtpState::UpgradeDeleteChecksum, FtpCommand::MakeDelete("/checksum.txt"),
                 Next::Finish);
  checksum.finishInstead = std::make_shared<FtpFinish>(plan.finish);
  plan.steps.push_back(checksum);

  {
    // From the home directory, whatever the working one is.
    FtpStep pic = Step(FtpState::PutUpgradePic, FtpCommand::MakePut(store_.picPath(), "/pic.hex"));
    pic.status = "Uploading PIC software! Wait..."_t;
    // Decided once the checksum is stored: the user may turn automatic PIC
    // upgrade off meanwhile.
    const StatusView& view = context_.view;
    const ImageStore& store = store_;
    pic.onlyIf = [&view, &store] { return view.autoPicUpgrade() && !store.picFile().empty(); };
    pic.progressIfSkipped = BarAt(UpgradeStep::PicPassedOver);
    if (!session.factoryMode) {
      pic.whenDone = Next::Finish;
      pic.finishInstead = std::make_shared<FtpFinish>(
          FtpFinish{"PIC successfully uploaded! Wait..."_t, BarAt(UpgradeStep::PicStored)});
    }
    plan.steps.push_back(pic);
  }
  if (session.factoryMode) {
    FtpStep config =
        Step(FtpState::UpgradeDeleteConfig, FtpCommand::MakeDelete("/config.txt"), Next::Finish);
    config.status = "Deleting config file"_t;
    plan.steps.push_back(config);
  }
  return plan;
}

FtpPlan ChainPlans::restore(const ModemVersion& version) const {
  FtpPlan plan;
  plan.finish = FtpFinish{"Successfully restored! Wait..."_t};
  addBackupPair(plan, version, "");
  plan.steps.push_back(
      Step(FtpState::RestoreDeleteConfig, FtpCommand::MakeDelete("/config.txt"), Next::Continue));
  // Refused: the first deletion already removed the file.
  plan.steps.push_back(Step(FtpState::RestoreDeleteConfigAgain,
                            FtpCommand::MakeDelete("/config.txt"), Next::Finish));
  return plan;
}

FtpPlan ChainPlans::putBack(const ModemVersion& version) const {
  FtpPlan plan;
  plan.finish = FtpFinish{"Previous software put back. Wait..."_t};
  addBackupPair(
      plan, version,
      Text("Putting back Satellite IP Modem software version %1 ..."_t).arg(version.display()));
  return plan;
}

// The backup pair of version up to the modem: its image (the step whose
// failure is repaired), then its checksum file, or the modem's one deleted.
void ChainPlans::addBackupPair(FtpPlan& plan, const ModemVersion& version,
                               const Text& status) const {
  FtpStep put = Step(FtpState::PutRestoreImage,
                     FtpCommand::MakePut(store_.backupImagePath(version), "/bin/kova.bin"));
  put.status = status;
  put.starterRepairs = true;
  plan.steps.push_back(put);
  const std::string checksumPath = store_.backupChecksumPath(version);
  plan.steps.push_back(
      ImageStore::fileExists(checksumPath)
          ? Step(FtpState::PutRestoreChecksum, FtpCommand::MakePut(checksumPath, "/checksum.txt"))
          : Step(FtpState::RestoreDeleteChecksum, FtpCommand::MakeDelete("/checksum.txt"),
                 Next::Continue));
}

FtpPlan ChainPlans::picUpload(const std::string& picPath) const {
  FtpPlan plan;
  FtpStep pic = Step(FtpState::PutPic, FtpCommand::MakePut(picPath, "/pic.hex"));
  pic.status = "Uploading PIC software! Wait..."_t;
  plan.steps.push_back(pic);
  // The telnet exchange that follows has its own watchdogs.
  plan.finish =
      FtpFinish{"PIC successfully uploaded! Wait..."_t, BarAt(PicUpgradeStep::PicStored), false};
  return plan;
}

FtpPlan ChainPlans::logDownload() const {
  FtpPlan plan;
  FtpStep log = Step(FtpState::GetLog, FtpCommand::MakeGet("/ram0/syslog.log", store_.logPath()),
                     Next::EndQuietly);
  log.endStatus = "Log file doesn't exist."_t;
  plan.steps.push_back(log);
  plan.finish = FtpFinish{"Log downloaded"_t};
  return plan;
}

FtpPlan ChainPlans::verifyDownload(const std::string& local) const {
  FtpPlan plan;
  plan.steps.push_back(Step(FtpState::GetImage, FtpCommand::MakeGet("/bin/kova.bin", local)));
  return plan;
}
