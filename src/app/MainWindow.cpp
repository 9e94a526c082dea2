#include "app/MainWindow.h"

#include <filesystem>

#include "app/FormPrompts.h"
#include "app/ProgressDetail.h"
#include "app/UpgradePrompt.h"
#include "at/ModemAddressDialog.h"
#include "core/Texts.h"
#include "firmware/ImageStore.h"
#include "firmware/ReleaseCheck.h"
#include "operations/ModemSession.h"

namespace fs = std::filesystem;

MainWindow::MainWindow(Platform& platform, Settings settings, Prompts* prompts)
    : Form("frmMain"),
      platform_(platform),
      formPrompts_(std::make_unique<FormPrompts>(platform.ui())),
      bench_(platform, std::move(settings), *this, prompts ? *prompts : *formPrompts_),
      upgradePrompt_(std::make_unique<UpgradePrompt>()),
      addressDialog_(std::make_unique<ModemAddressDialog>()) {
  caption = "KOVA Satellite IP Modem Upgrader"_t;
  buildLayout();
  // The runner is the busy state; the window shows it. An operation that
  // found the modem wanting leaves the upgrade controls locked.
  detailTick_ = platform.createTimer();
  detailTick_->setInterval(1000);
  detailTick_->onTick = [this] { showDetail(); };
  OperationRunner& runner = bench_.modem().runner();
  runner.onStarted.add([this](Operation& op) {
    showBusy(true);
    lightDecided_ = false;
    op.onProgress.add([this](const Operation::Progress& p) {
      // While the window says the modem restarts, it does not show it answering.
      if (p.phase == Phase::Restart && p.requeryAt) statusLED.setFillColor(kLedRed);
      showDetail();
    });
    detailTick_->setEnabled(true);
  });
  runner.onFinished.add([this](Operation&, const OperationResult& result) {
    showBusy(false);
    detailTick_->setEnabled(false);
    lblDetail.setCaption("");
    if (result.lockUpgradeControls) lockUpgradeControls();
    // A version read or probe during the operation had the last word.
    if (!lightDecided_) showModemGone(result);
  });
  bindControls();
}

MainWindow::~MainWindow() = default;

bool MainWindow::run(std::unique_ptr<Operation> operation) {
  return bench_.run(std::move(operation));
}

void MainWindow::bindControls() {
  ModemSession& m = bench_.modem();
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
  const Operation* op = bench_.modem().runner().current();
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
  if (download) run(bench_.modem().logDownload());
}

void MainWindow::buildLayout() {
  width = 440;
  height = 292;
  lblIPAddress.setCaption("IP Address:"_t);
  lblIPAddress.buddy = &txtIPAddress;
  lblIPAddress.geometry = {12, 14, 170, 20};
  txtIPAddress.setText(bench_.settings().initialAddress);
  txtIPAddress.readOnly = true;
  txtIPAddress.geometry = {190, 12, 150, 24};
  lblNewVersion.setCaption("New software version:"_t);
  lblNewVersion.buddy = &txtNewSoftwareVersion;
  lblNewVersion.geometry = {12, 46, 170, 20};
  txtNewSoftwareVersion.readOnly = true;
  txtNewSoftwareVersion.geometry = {190, 44, 150, 24};
  // Whether the new image is signed, and by whom: never silent.
  lblSignature.geometry = {190, 70, 238, 20};
  lblCurrentVersion.setCaption("Modem software version:"_t);
  lblCurrentVersion.buddy = &txtCurrentSoftwareVersion;
  lblCurrentVersion.geometry = {12, 102, 170, 20};
  txtCurrentSoftwareVersion.readOnly = true;
  txtCurrentSoftwareVersion.geometry = {190, 100, 150, 24};
  statusLED.setToolTip("Connection to the Satellite IP Modem"_t);
  statusLED.accessibleName = "Connection to the Satellite IP Modem"_t;
  statusLED.geometry = {352, 104, 16, 16};
  AutoPic.setValue(1);
  AutoPic.geometry = {12, 134, 20, 20};
  AutoPicLabel.setCaption("Automatic PIC upgrade"_t);
  AutoPicLabel.buddy = &AutoPic;
  AutoPicLabel.geometry = {36, 134, 330, 20};
  cmdUpgrade.setCaption("&Upgrade"_t);
  cmdUpgrade.setToolTip("Upgrade software"_t);
  cmdUpgrade.geometry = {12, 166, 130, 32};
  cmdRestore.setCaption("&Restore"_t);
  cmdRestore.setToolTip("Restore original software"_t);
  cmdRestore.geometry = {155, 166, 130, 32};
  cmdPICupgrade.setCaption("&PIC upgrade"_t);
  cmdPICupgrade.setToolTip("PIC upgrade without Software Upgrade"_t);
  cmdPICupgrade.geometry = {298, 166, 130, 32};
  Progress.accessibleName = "Progress"_t;
  Progress.geometry = {12, 210, 416, 18};
  lblDetail.geometry = {12, 232, 416, 20};
  sbUpgrade.readOnly = true;
  sbUpgrade.accessibleName = "Status"_t;
  sbUpgrade.geometry = {12, 258, 416, 24};

  controls = {&lblIPAddress, &txtIPAddress, &lblNewVersion, &txtNewSoftwareVersion, &lblSignature,
              &lblCurrentVersion, &txtCurrentSoftwareVersion, &statusLED, &AutoPic,
              &AutoPicLabel, &cmdUpgrade, &cmdRestore, &cmdPICupgrade, &Progress,
              &lblDetail, &sbUpgrade};
  initialFocus = &cmdUpgrade;
  menus = {
      {"mnuFile",
       "&File"_t,
       {&cmdUpgradeMenu, &cmdRestoreMenu, &cmdPicUpgradeMenu, &cmdDisableAutoPicMenu,
        &cmdSeperator1, &mnuFileExit}},
      {"mnuTools",
       "&Tools"_t,
       {&cmdSetModemIP, &cmdGetSoftwareVersion, &cmdSetDNS, &cmdSeperator2, &cmdResetModem}},
      {"mnuHelp", "&Help"_t, {&mnuHelpAbout}},
  };
}

// ---- Start-up ----

void MainWindow::start() {
  Ui& ui = platform_.ui();
  if (bench_.settings().commandLine == "-u") ui.showModal(*upgradePrompt_);
  if (upgradePrompt_->choice() == UpgradePrompt::Choice::Later) {
    requestClose(kCloseByProgram);
    return;
  }
  const Workbench::Start started = bench_.start();
  const Session& session = bench_.session();
  txtNewSoftwareVersion.setText(session.newVersion.display());
  const ReleaseVerdict& release = bench_.release();
  lblSignature.setCaption(session.newVersion.known() ? SignatureStateText(release) : Text());
  lblSignature.setToolTip(release.manifest ? release.manifest->note : "");
  if (started != Workbench::Start::Ready) {
    requestClose(kCloseByProgram);
    return;
  }
  ui.show(*this);
  run(bench_.modem().versionRead());
  if (!bench_.images().findPicFile().empty()) {
    AutoPic.setEnabled(true);
    if (AutoPic.value() == 1) AutoPicLabel.setCaption("Automatic PIC upgrade"_t);
  } else {
    AutoPic.setEnabled(false);
    AutoPicLabel.setCaption("No PIC file to upgrade in this version."_t);
  }
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

void MainWindow::lockUpgradeControls() {
  for (Control* c : std::initializer_list<Control*>{&cmdUpgrade, &cmdRestore, &cmdPICupgrade,
                                                    &cmdUpgradeMenu, &cmdRestoreMenu,
                                                    &cmdPicUpgradeMenu, &txtIPAddress})
    c->setEnabled(false);
}

void MainWindow::setConnected(bool connected) {
  statusLED.setFillColor(connected ? kLedGreen : kLedRed);
  lightDecided_ = true;
}

// The light is green only while the modem answers: not while its version is
// unknown (read anew, or restarting), nor after it stopped answering.
void MainWindow::showRunningVersion(const Text& text) {
  txtCurrentSoftwareVersion.setText(text);
  if (text == kUnknownVersionText) statusLED.setFillColor(kLedRed);
}

void MainWindow::showModemGone(const OperationResult& result) {
  using enum FailureCode;
  if (result.done() || !result.reasonCode) return;
  for (FailureCode gone : {Unreachable, ConnectionLost, FtpTimeout, TransferCut, TimedOut,
                           ResetFailed, PortUnreachable, ImageIncomplete, AtFailed})
    if (*result.reasonCode == gone) statusLED.setFillColor(kLedRed);
}

// ---- Menu entries of the window itself ----

void MainWindow::showAbout() {
  platform_.ui().msgBox(
      " Satellite IP Modem Upgrader\r\n\r\n"
      "  Upgrades and restores the software of the\r\n"
      "  KOVA Satellite IP Modem and its PIC controller,\r\n"
      "  and sets the modem's DNS and LAN addresses.\r\n\r\n"
      "  Version 2.6 October 15, 2006"_t,
      MsgInformation, kUpgraderTitle);
}

void MainWindow::disableAutoPic() {
  AutoPicLabel.setCaption("");
  AutoPic.setValue(0);
}

void MainWindow::changeModemAddress(const std::string& address) {
  txtIPAddress.setText(address);
  bench_.changeModemAddress(address);
}

// ---- Close sequence ----

bool MainWindow::queryUnload(int reason) {
  if (busy() && (reason == kCloseByUser || reason == kCloseByProgram)) return true;
  showBusy(true);
  bench_.restoreDhcpAddress();
  return false;
}

void MainWindow::unload() {
  const Settings& settings = bench_.settings();
  if (settings.commandLine == "/ModemInfo") {
    // The sibling tool lies beside our own folder.
    fs::path dir =
        fs::path(bench_.session().homeDir.empty() ? settings.workingDirectory
                                                  : bench_.session().homeDir) /
        ".." / "ModemInfo";
    platform_.process().startDetached((dir / kModemInfoProgram).lexically_normal().string(),
                                      dir.lexically_normal().string());
  }
  // Nothing of the session may fire after the window is gone; what ran is
  // recorded as interrupted.
  bench_.shutDown();
}
