#include "firmware/UpgradeWorkflow.h"

#include <filesystem>
#include <system_error>

#include "app/frmMain.h"
#include "firmware/ChainWait.h"
#include "firmware/ImageStore.h"
#include "transfer/FtpChain.h"

namespace {
const char* const kSeriesConflict = "Release Series conflict detected. Upgrade not possible.";

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}
}  // namespace

UpgradeWorkflow::UpgradeWorkflow(frmMain& f) : f(f) {}

void UpgradeWorkflow::cmdUpgrade_Click() {
  if (f.strModemIP.empty()) {
    f.ui().msgBox("Please enter Satellite IP Modem's IP Address.", MsgInformation, kAppTitle);
    return;
  }
  if (!EnsureVersionQueried(f, "Upgrade stopped: no software version within 30 seconds."))
    return;
  // A failed query or connection test has told the user already.
  if (!f.blnModemConnected) return;
  if (!f.CheckReleaseSeries(f.strNewVersion)) {
    f.ui().msgBox(kSeriesConflict, MsgCritical, kAppTitle);
    f.SetStatus(kSeriesConflict);
    return;
  }
  f.Progress.setValue(0);

  const std::string backupName = "kova_" + f.strModemVersion + ".bin";
  bool backupFound = false;
  for (const auto& name : ListImages(f.strBackupDir))
    if (name == backupName) {
      backupFound = true;
      break;
    }

  f.inetFTP->setRemoteHost(f.strModemIP);
  if (f.strModemVersion != kUnknownVersion) {
    f.SetStatus("Preparing for Upgrade with version " + f.txtNewSoftwareVersion.text() + " ...");
    PrepareAndWait(f);
  }
  f.SetBusyState(1);
  if (backupFound)
    UploadBranch();
  else
    BackupBranch();
}

void UpgradeWorkflow::BackupBranch() {
  // The version the backup is stored under, kept apart from strModemVersion,
  // which a failing chain may reset.
  const std::string version = f.strModemVersion;
  const std::string local = f.strBackupDir + frmMain::kSep + "kova_" + version + ".bin";
  f.SetStatus("Downloading Satellite IP Modem software to PC...");
  f.blnBackupDone = false;
  const auto start = f.loop().now();
  bool started = f.ftpChain->StartChain(FtpChain::GET_BIN_CMD,
                                        "GET /bin/kova.bin " + FtpChain::Quote(local));
  if (started && WaitForChain(f, start) == ChainEnd::TimedOut) {
    AbandonChain(f, std::string("Upgrade failed. Click OK and close the upgrader.  ") +
                        "Check connection before retrying upgrade.");
    // Whatever part of the backup arrived must not pass for a backup.
    if (!f.blnBackupDone) f.DeleteBackupImage(version);
    return;
  }
  f.SetBusyState(0);
  if (!f.blnBackupDone) f.DeleteBackupImage(version);
}

void UpgradeWorkflow::UploadBranch() {
  if (!FileExists(f.strHomeDir + "chk_" + f.strNewVersion + ".txt")) {
    f.SetBusyState(0);
    f.ui().msgBox("We can't load this version because checksum file doesn't exist.",
                  MsgExclamation, kUpgraderTitle);
    f.SetStatus("");
    return;
  }
  const std::string local = f.strHomeDir + "kova_" + f.strNewVersion + ".bin";
  f.Progress.setValue(10);
  f.SetStatus("Upgrading Satellite IP Modem with version " + f.txtNewSoftwareVersion.text() +
              " ...");
  UploadAndWait(f, FtpChain::PUT_NEW_BIN_CMD, "PUT " + FtpChain::Quote(local) + " /bin/kova.bin");
}
