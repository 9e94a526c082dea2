#include "app/MainWindow.h"

#include <filesystem>
#include <system_error>

#include "app/FormPrompts.h"
#include "app/LogDownload.h"
#include "app/OperationRecorder.h"
#include "app/UpgradePrompt.h"
#include "at/AtChannel.h"
#include "at/ModemAddressDialog.h"
#include "core/TextUtilities.h"
#include "discovery/FtpProbe.h"
#include "discovery/ModemReset.h"
#include "discovery/VersionQuery.h"
#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"
#include "firmware/PicUpgradeWorkflow.h"
#include "firmware/RestoreWorkflow.h"
#include "firmware/UpgradeWorkflow.h"
#include "firmware/WorkflowWaits.h"
#include "netconfig/PcAddressCheck.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

namespace fs = std::filesystem;

MainWindow::MainWindow(Platform& platform, Settings settings, Prompts* prompts)
    : Form("frmMain"),
      platform_(platform),
      settings_(std::move(settings)),
      context_{platform, session_, *this} {
  caption = "KOVA Satellite IP Modem Upgrader";
  buildLayout();

  formPrompts_ = std::make_unique<FormPrompts>(platform.ui());
  prompts_ = prompts ? prompts : formPrompts_.get();
  upgradePrompt_ = std::make_unique<UpgradePrompt>();
  addressDialog_ = std::make_unique<ModemAddressDialog>();
  store_ = std::make_unique<ImageStore>(session_);
  probe_ = std::make_unique<FtpProbe>(context_, settings_.ftpPort);
  versionQuery_ = std::make_unique<VersionQuery>(context_, settings_.zingPort, *probe_);
  reset_ = std::make_unique<ModemReset>(context_, *versionQuery_);
  telnet_ = std::make_unique<TelnetSession>(context_, settings_.telnetPort, *reset_);
  chain_ = std::make_unique<FtpChain>(context_, settings_.ftpPort, *versionQuery_);
  at_ = std::make_unique<AtChannel>(context_, settings_.atPort, *reset_, *prompts_);
  pcAddress_ = std::make_unique<PcAddressCheck>(context_);
  plans_ = std::make_unique<ChainPlans>(context_, *store_, *reset_, *telnet_);
  waits_ = std::make_unique<WorkflowWaits>(context_, *versionQuery_, *reset_, *telnet_,
                                           *chain_);
  upgrade_ = std::make_unique<UpgradeWorkflow>(context_, *versionQuery_, *chain_, *store_,
                                               *plans_, *waits_);
  restore_ = std::make_unique<RestoreWorkflow>(context_, *versionQuery_, *store_, *plans_,
                                               *waits_, *prompts_);
  picUpgrade_ = std::make_unique<PicUpgradeWorkflow>(context_, *chain_, *store_, *plans_);
  recorder_ = std::make_unique<OperationRecorder>(*this, context_);
  logDownload_ =
      std::make_unique<LogDownload>(context_, *chain_, *plans_, *store_,
                                    [this] { return closed(); });

  // A PIC file stored during an upgrade is flashed after the next version reply.
  TelnetSession& telnet = *telnet_;
  versionQuery_->replyFollowUp = [&telnet] { return telnet.startPendingReflash(); };
  bindControls();
}

MainWindow::~MainWindow() = default;

std::function<void()> MainWindow::exclusive(std::function<void()> operation,
                                            const char* recordedAs) {
  return [this, operation = std::move(operation), recordedAs] {
    // A workflow waits in nested loops, and between two of its steps the
    // busy state may lapse for a moment: no other operation starts inside it.
    if (operationRunning_) return;
    operationRunning_ = true;
    struct Release {
      bool& flag;
      ~Release() { flag = false; }
    } release{operationRunning_};
    if (recordedAs && recorder_->automatic()) {
      recorder_->end();  // one that has not been seen to end yet
      recorder_->begin(recordedAs);
    }
    operation();
  };
}

void MainWindow::bindControls() {
  cmdUpgrade.onClick = exclusive([this] { upgrade_->start(); }, "upgrade");
  cmdRestore.onClick = exclusive([this] { restore_->start(); }, "restore");
  cmdPICupgrade.onClick = exclusive([this] { picUpgrade_->start(); }, "pic");
  cmdUpgradeMenu.onClick = cmdUpgrade.onClick;
  cmdRestoreMenu.onClick = cmdRestore.onClick;
  cmdPicUpgradeMenu.onClick = cmdPICupgrade.onClick;
  cmdDisableAutoPicMenu.onClick = [this] { disableAutoPic(); };
  mnuFileExit.onClick = [this] { requestClose(kCloseByProgram); };
  cmdSetModemIP.onClick =
      exclusive([this] { platform_.ui().showModal(*addressDialog_); }, "address");
  cmdGetSoftwareVersion.onClick = exclusive([this] { versionQuery_->query(); });
  cmdSetDNS.onClick = exclusive([this] { at_->readDns(); }, "dns");
  cmdResetModem.onClick = exclusive([this] { reset_->resetFromMenu(); }, "reset");
  mnuHelpAbout.onClick = [this] { showAbout(); };
  onKeyPress = [this](int key) { exclusive([this, key] { logDownload_->keyPressed(key); })(); };
  addressDialog_->onAddressChosen = [this](const std::string& a) { changeModemAddress(a); };
}

void MainWindow::buildLayout() {
  width = 440;
  height = 246;
  lblIPAddress.setCaption("IP Address:");
  lblIPAddress.geometry = {12, 14, 170, 20};
  txtIPAddress.setText(settings_.initialAddress);
  txtIPAddress.readOnly = true;
  txtIPAddress.geometry = {190, 12, 150, 24};
  lblNewVersion.setCaption("New software version:");
  lblNewVersion.geometry = {12, 46, 170, 20};
  txtNewSoftwareVersion.readOnly = true;
  txtNewSoftwareVersion.geometry = {190, 44, 150, 24};
  lblCurrentVersion.setCaption("Modem software version:");
  lblCurrentVersion.geometry = {12, 78, 170, 20};
  txtCurrentSoftwareVersion.readOnly = true;
  txtCurrentSoftwareVersion.geometry = {190, 76, 150, 24};
  statusLED.setToolTip("Connection to the Satellite IP Modem");
  statusLED.geometry = {352, 80, 16, 16};
  AutoPic.setValue(1);
  AutoPic.geometry = {12, 110, 20, 20};
  AutoPicLabel.setCaption("Automatic PIC upgrade");
  AutoPicLabel.geometry = {36, 110, 330, 20};
  cmdUpgrade.setCaption("&Upgrade");
  cmdUpgrade.setToolTip("Upgrade software");
  cmdUpgrade.geometry = {12, 142, 130, 32};
  cmdRestore.setCaption("&Restore");
  cmdRestore.setToolTip("Restore original software");
  cmdRestore.geometry = {155, 142, 130, 32};
  cmdPICupgrade.setCaption("PIC upgrade");
  cmdPICupgrade.setToolTip("PIC upgrade without Software Upgrade");
  cmdPICupgrade.geometry = {298, 142, 130, 32};
  Progress.geometry = {12, 186, 416, 18};
  sbUpgrade.readOnly = true;
  sbUpgrade.geometry = {12, 212, 416, 24};

  controls = {&lblIPAddress, &txtIPAddress, &lblNewVersion, &txtNewSoftwareVersion,
              &lblCurrentVersion, &txtCurrentSoftwareVersion, &statusLED, &AutoPic,
              &AutoPicLabel, &cmdUpgrade, &cmdRestore, &cmdPICupgrade, &Progress,
              &sbUpgrade};
  initialFocus = &cmdUpgrade;
  menus = {
      {"mnuFile", "&File",
       {&cmdUpgradeMenu, &cmdRestoreMenu, &cmdPicUpgradeMenu, &cmdDisableAutoPicMenu,
        &cmdSeperator1, &mnuFileExit}},
      {"mnuTools", "&Tools",
       {&cmdSetModemIP, &cmdGetSoftwareVersion, &cmdSetDNS, &cmdSeperator2, &cmdResetModem}},
      {"mnuHelp", "&Help", {&mnuHelpAbout}},
  };
}

// ---- Start-up ----

void MainWindow::start() {
  Ui& ui = platform_.ui();
  session_.modemAddress = Trim(txtIPAddress.text());
  const std::string& command = settings_.commandLine;
  if (command == "-u") ui.showModal(*upgradePrompt_);
  session_.factoryMode = command.find("/Factory") != std::string::npos;
  if (upgradePrompt_->choice() == UpgradePrompt::Choice::Later) {
    requestClose(kCloseByProgram);
    return;
  }

  session_.homeDir = HomeDirectory(settings_.workingDirectory);
  session_.backupDir = session_.homeDir + "Backup";
  session_.runningVersion = kUnknownVersion;
  showRunningVersion(kUnknownVersionText);

  auto images = ListImagesIfReadable(session_.homeDir);
  if (!images) {
    ui.msgBox("Unable to find upgrade program home directory " + session_.homeDir + "." +
                  kCrLf + "Please install the upgrade program in this Computer.",
              MsgExclamation, kAppTitle);
    requestClose(kCloseByProgram);
    return;
  }
  // Later steps build the image's path from its version, so a name that
  // matches only through letter case cannot be used.
  const bool usable = images->size() == 1 &&
                      "kova_" + VersionFromImageName((*images)[0]) + ".bin" == (*images)[0];
  if (!usable) {
    ui.msgBox("Unable to find the binary file " + session_.homeDir + "kova_*.bin. " + kCrLf +
                  "Or there is more than one binary file " + "in the application's home directory." +
                  kCrLf +
                  "Please make sure there is and there is only one binary file in that "
                  "directory.",
              MsgExclamation, kAppTitle);
    requestClose(kCloseByProgram);
    return;
  }
  session_.newVersion = VersionFromImageName((*images)[0]);
  txtNewSoftwareVersion.setText(ReplaceChar(session_.newVersion, "_", "."));

  std::error_code ec;
  if (!fs::is_directory(session_.backupDir, ec)) {
    fs::create_directory(session_.backupDir, ec);
    if (ec || !fs::is_directory(session_.backupDir, ec))
      ui.msgBox("Unable to create the backup directory " + session_.backupDir + "." + kCrLf +
                    "The modem's software cannot be backed up before an upgrade.",
                MsgExclamation, kAppTitle);
  }

  ui.show(*this);
  versionQuery_->query();

  if (!store_->findPicFile().empty()) {
    AutoPic.setEnabled(true);
    if (AutoPic.value() == 1) AutoPicLabel.setCaption("Automatic PIC upgrade");
  } else {
    AutoPic.setEnabled(false);
    AutoPicLabel.setCaption("No PIC file to upgrade in this version.");
  }
}

std::string MainWindow::HomeDirectory(const std::string& workingDirectory) {
  std::string home = Trim(workingDirectory);
  if (home.empty() || home.back() != ImageStore::kSeparator) home += ImageStore::kSeparator;
  return home;
}

std::string MainWindow::historyPathBeforeStart() const {
  return HomeDirectory(settings_.workingDirectory) + "Backup" + ImageStore::kSeparator +
         "history.jsonl";
}

// ---- Busy state ----

std::vector<Control*> MainWindow::operationControls() {
  return {&cmdGetSoftwareVersion, &cmdSetDNS,         &cmdResetModem,  &cmdUpgrade,
          &cmdRestore,            &cmdPICupgrade,     &cmdUpgradeMenu, &cmdRestoreMenu,
          &cmdPicUpgradeMenu,     &cmdSetModemIP,     &mnuFileExit,    &txtIPAddress};
}

void MainWindow::setBusy(bool on) {
  platform_.ui().setPointer(on ? Ui::kPointerBusy : Ui::kPointerDefault);
  for (auto* c : operationControls()) c->setEnabled(!on);
}

bool MainWindow::busy() const { return platform_.ui().pointer() == Ui::kPointerBusy; }

void MainWindow::lockUpgradeControls() {
  for (Control* c : std::initializer_list<Control*>{&cmdUpgrade, &cmdRestore, &cmdPICupgrade,
                                                    &cmdUpgradeMenu, &cmdRestoreMenu,
                                                    &cmdPicUpgradeMenu, &txtIPAddress})
    c->setEnabled(false);
}

void MainWindow::setConnected(bool connected) {
  statusLED.setFillColor(connected ? kLedGreen : kLedRed);
  session_.connected = connected;
}

bool MainWindow::idle() const {
  return !operationRunning_ && !busy() && versionQuery_->idle() && reset_->idle() && chain_->idle() &&
         telnet_->idle() && at_->idle();
}

// ---- Menu entries of the window itself ----

void MainWindow::showAbout() {
  std::string text = std::string(" Satellite IP Modem Upgrader") + kCrLf + kCrLf +
                     "  Upgrades and restores the software of the" + kCrLf +
                     "  KOVA Satellite IP Modem and its PIC controller," + kCrLf +
                     "  and sets the modem's DNS and LAN addresses." + kCrLf + kCrLf +
                     "  Version 2.6 October 15, 2006";
  platform_.ui().msgBox(text, MsgInformation, kUpgraderTitle);
}

void MainWindow::disableAutoPic() {
  AutoPicLabel.setCaption("");
  AutoPic.setValue(0);
}

void MainWindow::changeModemAddress(const std::string& address) {
  txtIPAddress.setText(address);
  session_.modemAddress = Trim(txtIPAddress.text());
}

// ---- Close sequence ----

bool MainWindow::queryUnload(int reason) {
  if (busy() && (reason == kCloseByUser || reason == kCloseByProgram)) return true;
  setBusy(true);
  pcAddress_->restoreDhcpAddress();
  return false;
}

void MainWindow::unload() {
  if (settings_.commandLine == "/ModemInfo") {
    // The sibling tool lies beside our own folder.
    fs::path dir =
        fs::path(session_.homeDir.empty() ? settings_.workingDirectory : session_.homeDir) /
        ".." / "ModemInfo";
#ifdef _WIN32
    const char* program = "ModemInfoUpgrader.exe";
#else
    const char* program = "ModemInfoUpgrader";
#endif
    platform_.process().startDetached((dir / program).lexically_normal().string(),
                                      dir.lexically_normal().string());
  }
  // An operation seen to its end only now is recorded all the same.
  if (recorder_->automatic()) recorder_->end();
  // Nothing of the session may fire after the window is gone.
  versionQuery_->cancel();
  reset_->cancel();
  telnet_->cancel();
  at_->cancel();
  chain_->cancel();
}
