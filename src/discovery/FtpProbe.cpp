#include "discovery/FtpProbe.h"

#include "app/frmMain.h"

FtpProbe::FtpProbe(frmMain& f) : f(f) {
  f.sckTest->onDataArrival = [this](std::size_t) { sckTest_DataArrival(); };
  f.sckTest->onError = [this](int, const std::string& description) {
    if (!waiting()) return;
    ProbeFailed();
    this->f.ShowSocketError(description);
  };
  f.tmrConneTest->onTick = [this] { ProbeFailed(); };
}

bool FtpProbe::waiting() const { return f.tmrConneTest->enabled(); }

void FtpProbe::Start() {
  if (waiting()) return;  // one probe at a time
  f.sckTest->close();
  f.sckTest->setRemoteHost(f.strModemIP);
  f.tmrConneTest->setEnabled(true);
  try {
    f.sckTest->connect();
  } catch (const PlatformError&) {
    // The 2-second watchdog reports it.
  }
}

void FtpProbe::sckTest_DataArrival() {
  // Data after the probe has already failed must not count as success.
  if (!waiting()) return;
  f.sckTest->close();
  f.tmrConneTest->setEnabled(false);
  f.SetStatusLED(true);
  bool query = f.lngZingCommand == 4;
  if (query && f.blnFTPTimeout) {
    f.blnFTPTimeout = false;
    f.ui().msgBox(std::string("FTP timeout.") + kCrLf + kCrLf +
                      "Remove power and reapply power to the Satellite IP Modem." + kCrLf +
                      "Get software version using Tools menu before retrying." + kCrLf +
                      "Close and restart Upgrader if error repeats." + kCrLf,
                  MsgExclamation, kAppTitle);
    f.SetBusyState(0);
    f.DisableUpgradeControls();
  } else {
    if (query) {
      f.blnNoVersionContinue = true;
      f.ui().msgBox(std::string("Unable to get Satellite IP Modem's software version.") + kCrLf +
                        kCrLf + "Upgrade process can be continued.",
                    MsgInformation, kUpgraderTitle);
    }
    f.SetBusyState(0);
  }
  f.SetStatus("Connection succeed.");
}

void FtpProbe::ProbeFailed() {
  f.sckTest->close();
  f.tmrConneTest->setEnabled(false);
  f.SetStatusLED(false);
  if (f.lngZingCommand == 4) {
    if (!f.blnFTPTimeout) {
      f.ui().msgBox(std::string("Unable to get Satellite IP Modem's software version.") + kCrLf +
                        kCrLf + "Please check the cable connection." + kCrLf +
                        "Remove power and reapply power to the Satellite IP Modem." + kCrLf +
                        "Get software version using Tools menu before retrying." + kCrLf +
                        "Close and restart Upgrader if error repeats.",
                    MsgExclamation, kUpgraderTitle);
    } else {
      f.blnFTPTimeout = false;
      f.ui().msgBox(std::string("FTP timeout.") + kCrLf +
                        "Can not connect to the Satellite IP Modem." + kCrLf + kCrLf +
                        "Please check the cable connection." + kCrLf +
                        "Remove power and reapply power to the Satellite IP Modem." + kCrLf +
                        "Get software version using Tools menu before retrying." + kCrLf +
                        "Close and restart Upgrader if error repeats.",
                    MsgExclamation, kUpgraderTitle);
    }
  }
  f.SetStatus("Connection failed.");
  f.SetBusyState(0);
  f.DisableUpgradeControls();
}
