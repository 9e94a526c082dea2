// The main window: owns the shared state, the controls, the timers and the
// channels to the modem. Each subsystem is a class holding a reference to
// it; calls across subsystems go through the procedures declared here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "app/mdlGlobals.h"
#include "platform/Form.h"
#include "platform/Platform.h"

class frmUpgrade;
class ZingQuery;
class FtpProbe;
class ModemReset;
class UpgradeWorkflow;
class RestoreWorkflow;
class FtpChain;
class TelnetSession;
class ConnectWatchdog;
class AtChannel;
class PcAddressCheck;
class Shell;

// Texts used by several subsystems.
inline constexpr const char* kAppTitle = "KOVA Upgrader";
inline constexpr const char* kUpgraderTitle = "Satellite IP Modem Upgrader";
inline constexpr const char* kCrLf = "\r\n";
inline constexpr const char* kUnknownVersion = "0_0_0_0";

// Colours of the connection indicator.
inline constexpr long kLedRed = 255;
inline constexpr long kLedGreen = 65280;

class frmMain : public Form {
 public:
  frmMain(Platform& platform, Settings settings);
  ~frmMain() override;

  Platform& platform;
  const Settings settings;
  Ui& ui() { return platform.ui(); }
  EventLoop& loop() { return platform.loop(); }

  // ---- Start-up (load handler) ----
  void Form_Load();

  // ---- Busy state, indicator, controls ----
  bool SetBusyState(std::int32_t mode);
  bool busy() { return ui().pointer() == Ui::kPointerBusy; }
  void EnableControls();
  void DisableControls();
  void DisableUpgradeControls();
  void SetStatusLED(bool connected);
  void SetStatus(const std::string& text) { sbUpgrade.setText(text); }
  // Waits while the busy state is on: pumps events, sleeps 100 ms a round.
  // Returns false when limitMs passed first (limitMs <= 0: no limit).
  bool WaitWhileBusy(long limitMs);
  // The socket component's own display of an error it reported.
  void ShowSocketError(const std::string& description);
  // Closes the main window by program (reason 1).
  void Close() { requestClose(kCloseByProgram); }

  // ---- Procedures of the subsystems ----
  void QuerySoftwareVersion();
  void SendZingRequest(std::int32_t code);
  void StartFtpProbe();
  void ResetKOVA();
  bool CheckReleaseSeries(const std::string& version);
  void DeleteBackupImage(const std::string& version);
  void PrepareForDownload();
  void StartPicReflash();
  void SendGetDNS();
  void SendSetDNS();
  void SendSetDNS2();
  void SendATReset();
  void UpdateModemIPAddress(const std::string& newIP);
  std::string RunConsoleCommand(const std::string& commandLine);
  void SetDefaultLocalAddress();
  void RestoreDHCPAddress();
  void VerifyLocalAddress(const std::string& hostName);

  // ---- Click handlers ----
  void cmdUpgrade_Click();
  void cmdRestore_Click();
  void cmdPICupgrade_Click();

  // ---- Close sequence ----
  bool queryUnload(int reason) override;
  void unload() override;

  // ---- Controls ----
  TextBox txtIPAddress{"txtIPAddress"};
  Label lblIPAddress{"lblIPAddress"};
  TextBox txtNewSoftwareVersion{"txtNewSoftwareVersion"};
  Label lblNewVersion{"lblNewVersion"};
  TextBox txtCurrentSoftwareVersion{"txtCurrentSoftwareVersion"};
  Label lblCurrentVersion{"lblCurrentVersion"};
  TextBox sbUpgrade{"sbUpgrade"};
  ProgressBar Progress{"Progress"};
  Shape statusLED{"statusLED"};
  CheckBox AutoPic{"AutoPic"};
  Label AutoPicLabel{"AutoPicLabel"};
  Button cmdUpgrade{"cmdUpgrade"};
  Button cmdRestore{"cmdRestore"};
  Button cmdPICupgrade{"cmdPICupgrade"};

  MenuItem cmdUpgradeMenu{"cmdUpgradeMenu", "&Upgrade"};
  MenuItem cmdRestoreMenu{"cmdRestoreMenu", "&Restore"};
  MenuItem cmdPicUpgradeMenu{"cmdPicUpgradeMenu", "&PicUpgrade"};
  MenuItem cmdDisableAutoPicMenu{"cmdDisableAutoPicMenu", "&DisableAutoPicUpgrade"};
  MenuItem cmdSeperator1{"cmdSeperator1", "-"};
  MenuItem mnuFileExit{"mnuFileExit", "E&xit"};
  MenuItem cmdSetModemIP{"cmdSetModemIP", "&Configure Modem &Interface"};
  MenuItem cmdGetSoftwareVersion{"cmdGetSoftwareVersion", "&Get Software Version"};
  MenuItem cmdSetDNS{"cmdSetDNS", "&Set DNS addresses"};
  MenuItem cmdSeperator2{"cmdSeperator2", "-"};
  MenuItem cmdResetModem{"cmdResetModem", "&Reset Modem"};
  MenuItem mnuHelpAbout{"mnuHelpAbout", "&About Upgrader..."};

  // ---- Channels and timers ----
  std::unique_ptr<TcpSocket> sckZING;
  std::unique_ptr<TcpSocket> sckTest;
  std::unique_ptr<TcpSocket> At;
  std::unique_ptr<TcpSocket> Telnet;
  std::unique_ptr<FtpClient> inetFTP;

  std::unique_ptr<Timer> tmrConnect;
  std::unique_ptr<Timer> tmrResponse;
  std::unique_ptr<Timer> tmrConneTest;
  std::unique_ptr<Timer> tmrResetDelay;
  std::unique_ptr<Timer> tmrFiveSecDelay;
  std::unique_ptr<Timer> tmrFTPReq;
  std::unique_ptr<Timer> tmrTelnetConnect;
  std::unique_ptr<Timer> tmrPicUpgrCnt;

  // ---- Shared members ----
  std::string strModemIP;
  std::string strHomeDir;    // ends in the platform's separator
  std::string strBackupDir;  // no trailing separator
  std::string strNewVersion;
  std::string strModemVersion = kUnknownVersion;
  std::string strPicFile;
  bool blnFactory = false;
  std::string strDNS;
  std::string strDNS2;
  std::string strTermSubnet;
  std::string strTermIP;
  std::int32_t lngZingCommand = 0;
  std::int32_t lngFTPState = 0;
  bool blnFTPDone = false;
  bool blnBackupDone = false;
  bool blnFTPTimeout = false;
  bool blnPicPending = false;
  bool blnNoVersionContinue = false;
  bool blnModemConnected = false;
  std::int32_t lngTelnetCommand = 0;
  std::int32_t lngTelnetState = 0;
  std::int16_t intPicTicks = 0;
  std::int32_t lngATCommand = 0;
  std::int32_t lngATState = 0;
  std::vector<std::string> strATReply;
  std::int16_t intATReplyIdx = 0;
  std::int16_t intLogKeyState = 0;
  bool blnStaticSet = false;
  std::string strConnectionName;

  // Process-wide variables of the restore chooser.
  mdlGlobals globals;

  // The directory separator of this platform ("\\" on Windows, "/" here).
  static const std::string kSep;

  // ---- Subsystems ----
  std::unique_ptr<frmUpgrade> upgradePrompt;
  std::unique_ptr<ZingQuery> zing;
  std::unique_ptr<FtpProbe> probe;
  std::unique_ptr<ModemReset> reset;
  std::unique_ptr<FtpChain> ftpChain;
  std::unique_ptr<TelnetSession> telnet;
  std::unique_ptr<ConnectWatchdog> connectWatchdog;
  std::unique_ptr<UpgradeWorkflow> upgrade;
  std::unique_ptr<RestoreWorkflow> restore;
  std::unique_ptr<AtChannel> at;
  std::unique_ptr<PcAddressCheck> pcAddress;
  std::unique_ptr<Shell> shell;

 private:
  void buildLayout();
  std::vector<Control*> operationControls();
};
