#include "firmware/RestoreWorkflow.h"

#include <filesystem>
#include <system_error>

#include "app/Utilities.h"
#include "app/frmMain.h"
#include "firmware/ChainWait.h"
#include "firmware/ImageStore.h"
#include "firmware/frmRestore.h"
#include "transfer/FtpChain.h"

namespace {
bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}
}  // namespace

RestoreWorkflow::RestoreWorkflow(frmMain& f)
    : f(f), chooser_(std::make_unique<frmRestore>(f.globals)) {}

RestoreWorkflow::~RestoreWorkflow() = default;

void RestoreWorkflow::ListOldVersions() {
  auto& g = f.globals;
  g.intOldVersionCount = 0;
  g.strRestoreVersion.clear();
  // The store is listed twice; files that appear in between are not taken
  // beyond the spare entry.
  std::size_t counted = ListImages(f.strBackupDir).size();
  g.strOldVersions.assign(counted + 1, std::string());
  for (const auto& name : ListImages(f.strBackupDir)) {
    if (static_cast<std::size_t>(g.intOldVersionCount) >= g.strOldVersions.size()) break;
    g.strOldVersions[static_cast<std::size_t>(g.intOldVersionCount)] =
        ReplaceChar(VersionFromImageName(name), "_", ".");
    ++g.intOldVersionCount;
  }
}

void RestoreWorkflow::cmdRestore_Click() {
  auto& g = f.globals;
  if (f.strModemIP.empty()) {
    f.ui().msgBox("Please enter Satellite IP Modem's IP address.", MsgInformation, kAppTitle);
    return;
  }
  if (!EnsureVersionQueried(f, "Restore stopped: no software version within 30 seconds."))
    return;
  if (!f.blnModemConnected) return;

  f.SetBusyState(1);
  ListOldVersions();
  f.SetBusyState(0);

  if (g.intOldVersionCount == 0)
    f.ui().msgBox("No old versions are available.", MsgExclamation, kAppTitle);
  else
    f.ui().showModal(*chooser_);
  for (int i = 0; i < g.intOldVersionCount; ++i)
    g.strOldVersions[static_cast<std::size_t>(i)].clear();

  if (g.strRestoreVersion.empty()) return;
  g.strRestoreVersion = ReplaceChar(g.strRestoreVersion, ".", "_");
  const std::string version = g.strRestoreVersion;

  if (!f.CheckReleaseSeries(version)) {
    const char* text = "Release Series conflict detected. Upgrade not possible.";
    f.ui().msgBox(text, MsgCritical, kAppTitle);
    f.SetStatus(text);
    return;
  }
  f.SetBusyState(1);
  if (!FileExists(f.strBackupDir + frmMain::kSep + "chk_" + version + ".txt")) {
    f.SetBusyState(0);
    f.ui().msgBox("We can't restore this version because checksum file doesn't exist.",
                  MsgExclamation, kUpgraderTitle);
    return;
  }
  f.SetStatus("Preparing for Software Restore with version " + version + " ...");
  f.Progress.setValue(0);
  if (f.strModemVersion != kUnknownVersion) {
    f.SetBusyState(1);
    PrepareAndWait(f);
    f.SetBusyState(1);
  }
  f.SetStatus("Restoring Satellite IP Modem with version " + version + " ...");
  const std::string local = f.strBackupDir + frmMain::kSep + "kova_" + version + ".bin";
  f.inetFTP->setRemoteHost(f.strModemIP);
  UploadAndWait(f, FtpChain::PUT_RESTORE_BIN_CMD,
                "PUT " + FtpChain::Quote(local) + " /bin/kova.bin");
}
