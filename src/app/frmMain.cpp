#include "app/frmMain.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "app/Shell.h"
#include "app/Utilities.h"
#include "app/frmUpgrade.h"
#include "at/AtChannel.h"
#include "discovery/FtpProbe.h"
#include "discovery/ModemReset.h"
#include "discovery/ZingQuery.h"
#include "firmware/ImageStore.h"
#include "firmware/RestoreWorkflow.h"
#include "firmware/UpgradeWorkflow.h"
#include "netconfig/PcAddressCheck.h"
#include "transfer/ConnectWatchdog.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

namespace fs = std::filesystem;

const std::string frmMain::kSep(1, static_cast<char>(fs::path::preferred_separator));

namespace {
std::string Lower(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Names of the ordinary files of dir whose lower-case name satisfies pred.
template <class Pred>
std::vector<std::string> FilesWhere(const std::string& dir, Pred pred, std::error_code& ec) {
  std::vector<std::string> names;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!it->is_regular_file(fileEc)) continue;
    std::string name = it->path().filename().string();
    if (pred(Lower(name))) names.push_back(name);
  }
  return names;
}
}  // namespace

frmMain::frmMain(Platform& p, Settings s)
    : Form("frmMain"), platform(p), settings(std::move(s)) {
  caption = "KOVA Satellite IP Modem Upgrader";

  sckZING = platform.createSocket(settings.zingPort);
  sckTest = platform.createSocket(settings.ftpPort);
  At = platform.createSocket(settings.atPort);
  Telnet = platform.createSocket(settings.telnetPort);
  inetFTP = platform.createFtpClient(settings.ftpPort);

  auto timer = [this](int ms) {
    auto t = platform.createTimer();
    t->setInterval(ms);
    return t;
  };
  tmrConnect = timer(5000);
  tmrResponse = timer(5000);
  tmrConneTest = timer(2000);
  tmrResetDelay = timer(25000);
  tmrFiveSecDelay = timer(5000);
  tmrFTPReq = timer(65000);
  tmrTelnetConnect = timer(5000);
  tmrPicUpgrCnt = timer(10000);

  buildLayout();

  upgradePrompt = std::make_unique<frmUpgrade>();
  zing = std::make_unique<ZingQuery>(*this);
  probe = std::make_unique<FtpProbe>(*this);
  reset = std::make_unique<ModemReset>(*this);
  ftpChain = std::make_unique<FtpChain>(*this);
  telnet = std::make_unique<TelnetSession>(*this);
  connectWatchdog = std::make_unique<ConnectWatchdog>(*this);
  upgrade = std::make_unique<UpgradeWorkflow>(*this);
  restore = std::make_unique<RestoreWorkflow>(*this);
  at = std::make_unique<AtChannel>(*this);
  pcAddress = std::make_unique<PcAddressCheck>(*this);
  shell = std::make_unique<Shell>(*this);

  cmdUpgrade.onClick = [this] { cmdUpgrade_Click(); };
  cmdRestore.onClick = [this] { cmdRestore_Click(); };
  cmdPICupgrade.onClick = [this] { cmdPICupgrade_Click(); };
  cmdUpgradeMenu.onClick = [this] { cmdUpgrade_Click(); };
  cmdRestoreMenu.onClick = [this] { cmdRestore_Click(); };
  cmdPicUpgradeMenu.onClick = [this] { cmdPICupgrade_Click(); };
  cmdDisableAutoPicMenu.onClick = [this] { shell->cmdDisableAutoPicMenu_Click(); };
  mnuFileExit.onClick = [this] { Close(); };
  cmdSetModemIP.onClick = [this] { at->cmdSetModemIP_Click(); };
  cmdGetSoftwareVersion.onClick = [this] { reset->cmdGetSoftwareVersion_Click(); };
  cmdSetDNS.onClick = [this] { SendGetDNS(); };
  cmdResetModem.onClick = [this] { reset->cmdResetModem_Click(); };
  mnuHelpAbout.onClick = [this] { shell->mnuHelpAbout_Click(); };
  onKeyPress = [this](int key) { shell->Form_KeyPress(key); };
}

frmMain::~frmMain() = default;

void frmMain::buildLayout() {
  width = 440;
  height = 246;
  lblIPAddress.setCaption("IP Address:");
  lblIPAddress.geometry = {12, 14, 170, 20};
  txtIPAddress.setText(settings.initialAddress);
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

void frmMain::Form_Load() {
  blnNoVersionContinue = false;
  blnFTPTimeout = false;
  strModemIP = Trim(txtIPAddress.text());
  strTermSubnet = "128";
  strTermIP = "100";
  upgradePrompt->intUpgradeChoice = 0;
  const std::string& command = settings.commandLine;
  if (command == "-u") ui().showModal(*upgradePrompt);
  blnFactory = command.find("/Factory") != std::string::npos;
  if (upgradePrompt->intUpgradeChoice == 1) {
    Close();
    return;
  }

  strHomeDir = Trim(settings.workingDirectory);
  if (strHomeDir.empty() || strHomeDir.back() != kSep[0]) strHomeDir += kSep;
  strBackupDir = strHomeDir + "Backup";
  strModemVersion = kUnknownVersion;
  txtCurrentSoftwareVersion.setText("Unknown");

  std::error_code ec;
  auto images = FilesWhere(
      strHomeDir,
      [](const std::string& n) {
        return n.size() >= 9 && n.compare(0, 5, "kova_") == 0 &&
               n.compare(n.size() - 4, 4, ".bin") == 0;
      },
      ec);
  if (ec) {
    ui().msgBox("Unable to find upgrade program home directory " + strHomeDir + "." + kCrLf +
                    "Please install the upgrade program in this Computer.",
                MsgExclamation, kAppTitle);
    Close();
    return;
  }
  // Later steps build the image's path from its version, so a name that
  // matches only through letter case cannot be used.
  bool usable = images.size() == 1 && images[0].compare(0, 5, "kova_") == 0 &&
                images[0].compare(images[0].size() - 4, 4, ".bin") == 0 &&
                "kova_" + VersionFromImageName(images[0]) + ".bin" == images[0];
  if (!usable) {
    ui().msgBox("Unable to find the binary file " + strHomeDir + "kova_*.bin. " + kCrLf +
                    "Or there is more than one binary file " +
                    "in the application's home directory." + kCrLf +
                    "Please make sure there is and there is only one binary file in that "
                    "directory.",
                MsgExclamation, kAppTitle);
    Close();
    return;
  }
  strNewVersion = VersionFromImageName(images[0]);
  txtNewSoftwareVersion.setText(ReplaceChar(strNewVersion, "_", "."));

  if (!fs::is_directory(strBackupDir, ec)) {
    fs::create_directory(strBackupDir, ec);
    if (ec || !fs::is_directory(strBackupDir, ec))
      ui().msgBox("Unable to create the backup directory " + strBackupDir + "." + kCrLf +
                      "The modem's software cannot be backed up before an upgrade.",
                  MsgExclamation, kAppTitle);
  }

  ui().show(*this);
  QuerySoftwareVersion();

  std::error_code picEc;
  auto pics = FilesWhere(strHomeDir, [](const std::string& n) { return n == "pic.hex"; }, picEc);
  strPicFile = pics.empty() ? std::string() : pics[0];
  if (!strPicFile.empty()) {
    AutoPic.setEnabled(true);
    if (AutoPic.value() == 1) AutoPicLabel.setCaption("Automatic PIC upgrade");
  } else {
    AutoPic.setEnabled(false);
    AutoPicLabel.setCaption("No PIC file to upgrade in this version.");
  }
}

// ---- Busy state ----

std::vector<Control*> frmMain::operationControls() {
  return {&cmdGetSoftwareVersion, &cmdSetDNS,         &cmdResetModem,  &cmdUpgrade,
          &cmdRestore,            &cmdPICupgrade,     &cmdUpgradeMenu, &cmdRestoreMenu,
          &cmdPicUpgradeMenu,     &cmdSetModemIP,     &mnuFileExit,    &txtIPAddress};
}

bool frmMain::SetBusyState(std::int32_t mode) {
  if (mode == 1) {
    ui().setPointer(Ui::kPointerBusy);
    DisableControls();
    return true;
  }
  if (mode == 0) {
    ui().setPointer(Ui::kPointerDefault);
    EnableControls();
    return true;
  }
  return false;
}

void frmMain::EnableControls() {
  for (auto* c : operationControls()) c->setEnabled(true);
}

void frmMain::DisableControls() {
  for (auto* c : operationControls()) c->setEnabled(false);
}

void frmMain::DisableUpgradeControls() {
  for (Control* c : std::initializer_list<Control*>{&cmdUpgrade, &cmdRestore, &cmdPICupgrade,
                                                    &cmdUpgradeMenu, &cmdRestoreMenu,
                                                    &cmdPicUpgradeMenu, &txtIPAddress})
    c->setEnabled(false);
}

void frmMain::SetStatusLED(bool connected) {
  statusLED.setFillColor(connected ? kLedGreen : kLedRed);
  blnModemConnected = connected;
}

bool frmMain::WaitWhileBusy(long limitMs) {
  auto start = loop().now();
  while (busy()) {
    if (limitMs > 0 && (loop().now() - start).count() >= limitMs) return false;
    loop().pumpEvents();
    loop().wait(100);
  }
  return true;
}

void frmMain::ShowSocketError(const std::string& description) {
  ui().msgBox(description, MsgExclamation, kAppTitle);
}

// ---- Procedures of the subsystems ----

void frmMain::QuerySoftwareVersion() { zing->QuerySoftwareVersion(); }
void frmMain::SendZingRequest(std::int32_t code) { zing->SendZingRequest(code); }
void frmMain::StartFtpProbe() { probe->Start(); }
void frmMain::ResetKOVA() { reset->ResetKOVA(); }
bool frmMain::CheckReleaseSeries(const std::string& version) {
  return ::CheckReleaseSeries(strModemVersion, blnNoVersionContinue, version);
}
void frmMain::DeleteBackupImage(const std::string& version) {
  ::DeleteBackupImage(strBackupDir, version);
}
void frmMain::PrepareForDownload() { telnet->PrepareForDownload(); }
void frmMain::StartPicReflash() { telnet->StartPicReflash(); }
void frmMain::SendGetDNS() { at->SendGetDNS(); }
void frmMain::SendSetDNS() { at->SendSetDNS(); }
void frmMain::SendSetDNS2() { at->SendSetDNS2(); }
void frmMain::SendATReset() { at->SendATReset(); }
void frmMain::UpdateModemIPAddress(const std::string& newIP) { at->UpdateModemIPAddress(newIP); }
std::string frmMain::RunConsoleCommand(const std::string& commandLine) {
  return pcAddress->RunConsoleCommand(commandLine);
}
void frmMain::SetDefaultLocalAddress() { pcAddress->SetDefaultLocalAddress(); }
void frmMain::RestoreDHCPAddress() { pcAddress->RestoreDHCPAddress(); }
void frmMain::VerifyLocalAddress(const std::string& hostName) {
  pcAddress->VerifyLocalAddress(hostName);
}
void frmMain::cmdUpgrade_Click() { upgrade->cmdUpgrade_Click(); }
void frmMain::cmdRestore_Click() { restore->cmdRestore_Click(); }
void frmMain::cmdPICupgrade_Click() { telnet->cmdPICupgrade_Click(); }

// ---- Close sequence ----

bool frmMain::queryUnload(int reason) {
  if (busy() && (reason == kCloseByUser || reason == kCloseByProgram)) return true;
  SetBusyState(1);
  RestoreDHCPAddress();
  return false;
}

void frmMain::unload() {
  if (settings.commandLine == "/ModemInfo") {
    // The sibling tool lies beside our own folder.
    fs::path dir = fs::path(strHomeDir.empty() ? settings.workingDirectory : strHomeDir) / ".." /
                   "ModemInfo";
#ifdef _WIN32
    const char* program = "ModemInfoUpgrader.exe";
#else
    const char* program = "ModemInfoUpgrader";
#endif
    platform.process().startDetached((dir / program).lexically_normal().string(),
                                     dir.lexically_normal().string());
  }
  for (auto* s : {sckZING.get(), sckTest.get(), At.get(), Telnet.get()})
    if (s->state() == TcpSocket::Connected) s->close();
  inetFTP->cancel();
  for (auto* t : {tmrConnect.get(), tmrResponse.get(), tmrFiveSecDelay.get(), tmrFTPReq.get(),
                  tmrConneTest.get(), tmrResetDelay.get(), tmrPicUpgrCnt.get()})
    t->setEnabled(false);
  // The subsystems' own bounds go quiet too.
  at->Shutdown();
  telnet->Shutdown();
}
