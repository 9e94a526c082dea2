#include "app/MainWindow.h"

#include <filesystem>
#include <system_error>

#include "app/FormPrompts.h"
#include "app/OperationRecorder.h"
#include "app/Presenter.h"
#include "app/ProgressDetail.h"
#include "app/UpgradePrompt.h"
#include "at/ModemAddressDialog.h"
#include "core/TextUtilities.h"
#include "core/Texts.h"
#include "firmware/ImageStore.h"
#include "firmware/ReleaseCheck.h"
#include "netconfig/PcAddressCheck.h"
#include "operations/ModemSession.h"
#include "platform/FtpCommandText.h"

namespace fs = std::filesystem;

MainWindow::MainWindow(Platform& platform, Settings settings, Prompts* prompts)
    : Form("frmMain"), platform_(platform), settings_(std::move(settings)) {
  caption = "KOVA Satellite IP Modem Upgrader";
  buildLayout();

  presenter_ = std::make_unique<Presenter>(platform.ui());
  formPrompts_ = std::make_unique<FormPrompts>(platform.ui());
  prompts_ = prompts ? prompts : formPrompts_.get();
  upgradePrompt_ = std::make_unique<UpgradePrompt>();
  addressDialog_ = std::make_unique<ModemAddressDialog>();
  modem_ = std::make_unique<ModemSession>(
      platform, session_, *this, *presenter_, *prompts_,
      ModemPorts{settings_.zingPort, settings_.ftpPort, settings_.telnetPort, settings_.atPort});
  pcAddress_ = std::make_unique<PcAddressCheck>(modem_->context(), *prompts_);
  recorder_ = std::make_unique<OperationRecorder>(modem_->context(), modem_->runner());
  tellUnfinished_ = platform.createTimer();
  tellUnfinished_->setInterval(0);
  tellUnfinished_->onTick = [this] {
    tellUnfinished_->setEnabled(false);
    presenter_->report(unfinished_);
  };
  recorder_->onUnfinishedUpload.add([this](const HistoryEntry& began) {
    unfinished_ = {Notice::Kind::UnfinishedUpload, began.time, 0, began.modemAddress};
    tellUnfinished_->setEnabled(true);
  });

  // The runner is the busy state; the window shows it. An operation that
  // found the modem wanting leaves the upgrade controls locked.
  detailTick_ = platform.createTimer();
  detailTick_->setInterval(1000);
  detailTick_->onTick = [this] { showDetail(); };
  modem_->runner().onStarted.add([this](Operation& op) {
    showBusy(true);
    op.onProgress.add([this](const Operation::Progress&) { showDetail(); });
    detailTick_->setEnabled(true);
  });
  modem_->runner().onFinished.add([this](Operation&, const OperationResult& result) {
    showBusy(false);
    detailTick_->setEnabled(false);
    lblDetail.setCaption("");
    if (result.lockUpgradeControls) lockUpgradeControls();
  });
  bindControls();
}

MainWindow::~MainWindow() = default;

ImageStore& MainWindow::images() { return modem_->images(); }

bool MainWindow::run(std::unique_ptr<Operation> operation) {
  return modem_->runner().run(std::move(operation));
}

void MainWindow::bindControls() {
  ModemSession& m = *modem_;
  cmdUpgrade.onClick = [this, &m] { run(m.upgrade()); };
  cmdRestore.onClick = [this, &m] { run(m.restore()); };
  cmdPICupgrade.onClick = [this, &m] { run(m.picUpgrade()); };
  cmdUpgradeMenu.onClick = cmdUpgrade.onClick;
  cmdRestoreMenu.onClick = cmdRestore.onClick;
  cmdPicUpgradeMenu.onClick = cmdPICupgrade.onClick;
  cmdDisableAutoPicMenu.onClick = [this] { disableAutoPic(); };
  mnuFileExit.onClick = [this] { requestClose(kCloseByProgram); };
  cmdSetModemIP.onClick = [this, &m] {
    run(m.addressChange(
        [this] {
          std::optional<std::string> chosen;
          addressDialog_->onAddressChosen = [&chosen](const std::string& a) { chosen = a; };
          platform_.ui().showModal(*addressDialog_);
          addressDialog_->onAddressChosen = nullptr;
          return chosen;
        },
        [this](const std::string& address) { changeModemAddress(address); }));
  };
  cmdGetSoftwareVersion.onClick = [this, &m] { run(m.versionRead()); };
  cmdSetDNS.onClick = [this, &m] { run(m.dnsChange()); };
  cmdResetModem.onClick = [this, &m] { run(m.reset()); };
  mnuHelpAbout.onClick = [this] { showAbout(); };
  onKeyPress = [this](int key) { keyPressed(key); };
}

void MainWindow::showDetail() {
  const Operation* op = modem_->runner().current();
  lblDetail.setCaption(op ? ProgressDetail(op->progress(), platform_.loop().now()) : "");
}

void MainWindow::keyPressed(int keyAscii) {
  // While an operation runs the sequence counts for nothing: a download
  // would have to wait for the chain of the running one.
  if (busy()) {
    ctrlBSeen_ = false;
    return;
  }
  if (keyAscii == kCtrlB && !ctrlBSeen_) {
    ctrlBSeen_ = true;
    return;
  }
  const bool download = keyAscii == kCtrlN && ctrlBSeen_;
  ctrlBSeen_ = false;
  if (download) run(modem_->logDownload());
}

void MainWindow::buildLayout() {
  width = 440;
  height = 292;
  lblIPAddress.setCaption("IP Address:");
  lblIPAddress.geometry = {12, 14, 170, 20};
  txtIPAddress.setText(settings_.initialAddress);
  txtIPAddress.readOnly = true;
  txtIPAddress.geometry = {190, 12, 150, 24};
  lblNewVersion.setCaption("New software version:");
  lblNewVersion.geometry = {12, 46, 170, 20};
  txtNewSoftwareVersion.readOnly = true;
  txtNewSoftwareVersion.geometry = {190, 44, 150, 24};
  // Whether the new image is signed, and by whom: never silent.
  lblSignature.geometry = {190, 70, 238, 20};
  lblCurrentVersion.setCaption("Modem software version:");
  lblCurrentVersion.geometry = {12, 102, 170, 20};
  txtCurrentSoftwareVersion.readOnly = true;
  txtCurrentSoftwareVersion.geometry = {190, 100, 150, 24};
  statusLED.setToolTip("Connection to the Satellite IP Modem");
  statusLED.geometry = {352, 104, 16, 16};
  AutoPic.setValue(1);
  AutoPic.geometry = {12, 134, 20, 20};
  AutoPicLabel.setCaption("Automatic PIC upgrade");
  AutoPicLabel.geometry = {36, 134, 330, 20};
  cmdUpgrade.setCaption("&Upgrade");
  cmdUpgrade.setToolTip("Upgrade software");
  cmdUpgrade.geometry = {12, 166, 130, 32};
  cmdRestore.setCaption("&Restore");
  cmdRestore.setToolTip("Restore original software");
  cmdRestore.geometry = {155, 166, 130, 32};
  cmdPICupgrade.setCaption("PIC upgrade");
  cmdPICupgrade.setToolTip("PIC upgrade without Software Upgrade");
  cmdPICupgrade.geometry = {298, 166, 130, 32};
  Progress.geometry = {12, 210, 416, 18};
  lblDetail.geometry = {12, 232, 416, 20};
  sbUpgrade.readOnly = true;
  sbUpgrade.geometry = {12, 258, 416, 24};

  controls = {&lblIPAddress, &txtIPAddress, &lblNewVersion, &txtNewSoftwareVersion, &lblSignature,
              &lblCurrentVersion, &txtCurrentSoftwareVersion, &statusLED, &AutoPic,
              &AutoPicLabel, &cmdUpgrade, &cmdRestore, &cmdPICupgrade, &Progress,
              &lblDetail, &sbUpgrade};
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

void MainWindow::start(bool imageRequired) {
  Ui& ui = platform_.ui();
  session_.modemAddress = Trim(txtIPAddress.text());
  const std::string& command = settings_.commandLine;
  if (command == "-u") ui.showModal(*upgradePrompt_);
  session_.factoryMode = command.find("/Factory") != std::string::npos;
  if (upgradePrompt_->choice() == UpgradePrompt::Choice::Later) {
    requestClose(kCloseByProgram);
    return;
  }

  session_.homeDir = firmwareFolder();
  session_.backupDir = session_.homeDir + "Backup";
  session_.runningVersion = ModemVersion();
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
  if (!usable && imageRequired) {
    ui.msgBox("Unable to find the binary file " + session_.homeDir + "kova_*.bin. " + kCrLf +
                  "Or there is more than one binary file " + "in the application's home directory." +
                  kCrLf +
                  "Please make sure there is and there is only one binary file in that "
                  "directory.",
              MsgExclamation, kAppTitle);
    requestClose(kCloseByProgram);
    return;
  }
  // Every transfer names the image's path, or its folder, in a command text.
  const std::string image = session_.homeDir + (usable ? (*images)[0] : std::string());
  if (!LocalPathFits(image)) {
    ui.msgBox(VisibleText(image) +
                  " cannot be used: a double quote or a control character in the name of the "
                  "binary file or of its folder would break every transfer." +
                  kCrLf + "Please rename it.",
              MsgExclamation, kAppTitle);
    requestClose(kCloseByProgram);
    return;
  }
  if (usable)
    session_.newVersion = ModemVersion::FromFileForm(VersionFromImageName((*images)[0]));
  txtNewSoftwareVersion.setText(session_.newVersion.display());
  if (!checkRelease(usable, imageRequired)) return;

  std::error_code ec;
  if (!fs::is_directory(session_.backupDir, ec)) {
    fs::create_directory(session_.backupDir, ec);
    if (ec || !fs::is_directory(session_.backupDir, ec))
      ui.msgBox("Unable to create the backup directory " + session_.backupDir + "." + kCrLf +
                    "The modem's software cannot be backed up before an upgrade.",
                MsgExclamation, kAppTitle);
  }

  // What a run that ended without cleaning up left in the backup directory.
  Process& process = platform_.process();
  modem_->images().removeStaleTemporaries(
      [&process](const std::string& stamp) { return process.ended(stamp); });

  ui.show(*this);
  run(modem_->versionRead());

  if (!modem_->images().findPicFile().empty()) {
    AutoPic.setEnabled(true);
    if (AutoPic.value() == 1) AutoPicLabel.setCaption("Automatic PIC upgrade");
  } else {
    AutoPic.setEnabled(false);
    AutoPicLabel.setCaption("No PIC file to upgrade in this version.");
  }
}

bool MainWindow::checkRelease(bool imageFound, bool imageRequired) {
  Ui& ui = platform_.ui();
  std::string error;
  auto trust = LoadTrustedKeys(settings_.trustedKeyFolders, settings_.trustedKeyFiles, error);
  if (!trust) {
    // A key the operator placed is never skipped: nothing goes up until it is fixed.
    ui.msgBox(error + kCrLf + "Please replace or remove it.", MsgCritical, kAppTitle);
    requestClose(kCloseByProgram);
    return false;
  }
  session_.trust = std::move(*trust);
  release_ = imageFound ? CheckRelease(session_.trust, session_.homeDir, session_.newVersion,
                                       modem_->images().findPicFile())
                        : ReleaseVerdict{};
  session_.releaseSigner = release_.signer;
  lblSignature.setCaption(imageFound ? SignatureStateText(release_) : "");
  lblSignature.setToolTip(release_.manifest ? release_.manifest->note : "");
  if (release_.state != ReleaseVerdict::State::Refused || !imageRequired) return true;
  ui.msgBox("The new software " + session_.newVersion.display() + " is refused: " +
                release_.problem + kCrLf + "Nothing will be sent to the modem.",
            MsgCritical, kAppTitle);
  requestClose(kCloseByProgram);
  return false;
}

namespace {
bool HoldsImage(const std::string& home) {
  auto images = ListImagesIfReadable(home);
  return images && !images->empty();
}
}  // namespace

std::string MainWindow::firmwareFolder() {
  const std::string here = HomeDirectory(settings_.workingDirectory);
  if (!settings_.askForHome || HoldsImage(here)) return here;
  const auto remembered = RecallHome(settings_.homeMemoryFile);
  if (remembered && HoldsImage(HomeDirectory(*remembered))) return HomeDirectory(*remembered);
  Ui& ui = platform_.ui();
  std::string start = remembered ? *remembered : settings_.workingDirectory;
  for (;;) {
    auto chosen = ui.chooseFolder("Choose the firmware folder (the one with kova_*.bin)", start);
    // Cancelled: the working directory, and its refusal, as ever.
    if (!chosen) return here;
    if (HoldsImage(HomeDirectory(*chosen))) {
      std::string error;
      if (!RememberHome(settings_.homeMemoryFile, *chosen, error))
        ui.msgBox("The firmware folder " + *chosen + " could not be remembered for the next "
                      "start: " + error + ".",
                  MsgExclamation, kAppTitle);
      return HomeDirectory(*chosen);
    }
    ui.msgBox("There is no kova_*.bin in " + *chosen + "." + kCrLf +
                  "Please choose the folder that holds the new software image.",
              MsgExclamation, kAppTitle);
    start = *chosen;
  }
}

std::string MainWindow::HomeDirectory(const std::string& workingDirectory) {
  // Taken as given: "DIR " is another folder than "DIR".
  std::string home = workingDirectory;
  // A folder typed with '/' on Windows ends in the system's own separator.
  if (!home.empty() && home.back() == '/') home.back() = ImageStore::kSeparator;
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

void MainWindow::showBusy(bool on) {
  platform_.ui().setPointer(on ? Ui::kPointerBusy : Ui::kPointerDefault);
  for (auto* c : operationControls()) c->setEnabled(!on);
}

bool MainWindow::busy() const { return modem_->runner().busy(); }

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

bool MainWindow::idle() const { return modem_->idle(); }

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
  // The same unit, at its new address.
  const bool known = !session_.currentModemMac().empty();
  session_.modemAddress = Trim(txtIPAddress.text());
  if (known) session_.modemMacAddress = session_.modemAddress;
}

// ---- Close sequence ----

bool MainWindow::queryUnload(int reason) {
  if (busy() && (reason == kCloseByUser || reason == kCloseByProgram)) return true;
  showBusy(true);
  pcAddress_->restoreDhcpAddress();
  return false;
}

void MainWindow::unload() {
  if (settings_.commandLine == "/ModemInfo") {
    // The sibling tool lies beside our own folder.
    fs::path dir =
        fs::path(session_.homeDir.empty() ? settings_.workingDirectory : session_.homeDir) /
        ".." / "ModemInfo";
    platform_.process().startDetached((dir / kModemInfoProgram).lexically_normal().string(),
                                      dir.lexically_normal().string());
  }
  // Nothing of the session may fire after the window is gone; what ran is
  // recorded as interrupted.
  modem_->shutDown();
}
