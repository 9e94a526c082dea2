#include "transfer/TelnetSession.h"

#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/frmMain.h"
#include "transfer/ConnectWatchdog.h"
#include "transfer/FtpChain.h"

namespace fs = std::filesystem;

TelnetSession::TelnetSession(frmMain& f) : f(f), silence_(f.platform.createTimer()) {
  silence_->setInterval(kSilenceLimitMs);
  silence_->onTick = [this] { Silence_Timer(); };
  f.Telnet->onConnect = [this] { Telnet_Connect(); };
  f.Telnet->onDataArrival = [this](std::size_t n) { Telnet_DataArrival(n); };
  f.Telnet->onError = [this](int n, const std::string& d) { Telnet_Error(n, d); };
  f.Telnet->onClose = [this] { Telnet_Close(); };
  f.tmrPicUpgrCnt->onTick = [this] { tmrPicUpgrCnt_Timer(); };
}

TelnetSession::~TelnetSession() = default;

// ---- PIC upgrade button ----

std::string TelnetSession::FindPicFile() const {
  // The name as the file system lists it; letter case does not count, but
  // the exact name wins where the file system tells them apart.
  std::string found;
  std::error_code ec;
  for (fs::directory_iterator it(f.strHomeDir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!it->is_regular_file(fileEc)) continue;
    std::string name = it->path().filename().string();
    if (name == "pic.hex") return name;
    std::string lower = name;
    for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "pic.hex" && found.empty()) found = name;
  }
  return found;
}

void TelnetSession::cmdPICupgrade_Click() {
  // Without an address the upload would go nowhere.
  if (f.strModemIP.empty()) {
    f.ui().msgBox("Please enter Satellite IP Modem's IP address.", MsgInformation, kAppTitle);
    return;
  }
  f.SetBusyState(1);
  f.Progress.setValue(0);
  f.strPicFile = FindPicFile();
  if (!f.strPicFile.empty()) {
    f.SetStatus("Uploading PIC software! Wait...");
    // The chain carries on from here and starts the reflash when the file
    // is on the modem; a refused command has been reported by it.
    f.ftpChain->StartChain(FtpChain::PUT_NEW_PIC_CMD, "PUT " + f.strPicFile + " /pic.hex");
    return;
  }
  f.ui().msgBox("Unable to find pic.hex in home directory " + f.strHomeDir + "." + kCrLf +
                    "Please copy PIC file in " + f.strHomeDir,
                MsgExclamation, kAppTitle);
  f.SetBusyState(0);
}

// ---- Starting a session ----

void TelnetSession::PrepareForDownload() {
  f.SetBusyState(1);
  Open(PREPARE_DOWNLOAD_CMD);
}

void TelnetSession::StartPicReflash() { Open(PIC_REFLASH_CMD); }

void TelnetSession::Open(std::int32_t command) {
  f.lngTelnetCommand = command;
  f.lngTelnetState = WAIT_PROMPT;
  silence_->setEnabled(false);
  connected_ = false;
  // A socket left in the error or peer-closed state would refuse the
  // connect: start from a closed one.
  f.Telnet->close();
  bool refused = false;
  std::string why;
  try {
    f.Telnet->setRemoteHost(f.strModemIP);
    f.Telnet->connect();
  } catch (const PlatformError& e) {
    refused = true;
    why = e.what();
  }
  f.SetStatus("Connecting .....");
  f.tmrTelnetConnect->setEnabled(true);
  // Refused at once: reported like an error event, and the connect
  // watchdog ends the attempt.
  if (refused) f.SetStatus("Telnet Error " + why);
}

// ---- Socket handlers ----

void TelnetSession::Telnet_Connect() {
  if (f.lngTelnetCommand == NO_TELNET_CMD) {
    // Opened after the attempt was abandoned.
    f.Telnet->close();
    return;
  }
  f.tmrTelnetConnect->setEnabled(false);
  connected_ = true;
  silence_->setEnabled(true);
}

void TelnetSession::Telnet_DataArrival(std::size_t) {
  const std::string text = f.Telnet->getData();
  // Whatever comes after the end of the exchange starts nothing.
  if (f.lngTelnetCommand == NO_TELNET_CMD || !connected_) return;
  auto has = [&text](const char* mark) { return text.find(mark) != std::string::npos; };

  switch (f.lngTelnetState) {
    case WAIT_PROMPT:
      if (has("->")) {
        f.lngTelnetState = COMMAND_SENT;
        if (f.lngTelnetCommand == PIC_REFLASH_CMD) {
          // From here tmrPicUpgrCnt bounds the exchange.
          silence_->setEnabled(false);
          f.SetStatus("Sending PIC reflash command.");
          SendCommand("pic_driver_reflash 1");
          if (f.lngTelnetCommand != PIC_REFLASH_CMD) return;  // the send failed
          f.tmrPicUpgrCnt->setEnabled(true);
          f.intPicTicks = 0;
        } else if (f.lngTelnetCommand == PREPARE_DOWNLOAD_CMD) {
          SendCommand("mmi_prepare_for_download");
          if (f.lngTelnetCommand != PREPARE_DOWNLOAD_CMD) return;
          // A fresh bound for the answer.
          silence_->setEnabled(false);
          silence_->setEnabled(true);
        }
      } else if (has("Sorry")) {
        // Another session holds the console. The codes are cleared before
        // the box, so that whatever arrives while it is open is ignored.
        EndExchange();
        f.ui().msgBox(std::string("Telnet did not respond.") + kCrLf +
                          "Please terminate any active Telnet connections.",
                      MsgExclamation, kUpgraderTitle);
        f.SetStatus("Command failed.");
        f.SetBusyState(0);
      }
      return;
    case COMMAND_SENT:
      if (f.lngTelnetCommand == PIC_REFLASH_CMD) {
        f.lngTelnetState = REFLASH_RUNNING;
        f.SetStatus("PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT");
        // A quick modem reports the end in the same piece as the echo.
        if (has("Completed")) ReflashCompleted();
      } else {
        // The first answer to the prepare command ends the exchange.
        EndExchange();
        f.SetBusyState(0);
      }
      return;
    case REFLASH_RUNNING:
      if (has("Completed")) ReflashCompleted();
      return;
    default:
      return;
  }
}

void TelnetSession::SendCommand(const char* command) {
  try {
    f.Telnet->sendData(std::string(command) + kCrLf);
  } catch (const PlatformError& e) {
    // Not sent after all: handled as an error before the command.
    f.lngTelnetState = WAIT_PROMPT;
    Telnet_Error(e.number, e.what());
  }
}

void TelnetSession::ReflashCompleted() {
  f.tmrPicUpgrCnt->setEnabled(false);
  EndExchange();
  // The version query 25 s later gives the busy state back.
  f.tmrResetDelay->setEnabled(true);
  f.SetStatus("PIC reflash completed. Wait for restart...");
  f.ui().msgBox(std::string("Upgrade Completed.") + kCrLf +
                    "Click OK and wait until we get software version.",
                MsgExclamation, kUpgraderTitle);
  f.Progress.setValue(100);
}

void TelnetSession::Telnet_Error(int, const std::string& description) {
  if (f.lngTelnetCommand == NO_TELNET_CMD) {
    // A leftover of an ended session: only free the socket.
    f.Telnet->close();
    return;
  }
  f.SetStatus("Telnet Error " + description);
  // A failed connect is ended by the connect watchdog.
  if (!connected_) return;
  SessionLost("Telnet Error " + description);
}

void TelnetSession::Telnet_Close() {
  f.Telnet->close();
  if (f.lngTelnetCommand == NO_TELNET_CMD || !connected_) return;
  SessionLost("Telnet connection closed by the modem.");
}

void TelnetSession::SessionLost(const std::string& status) {
  // The next session must find a closed socket.
  f.Telnet->close();
  connected_ = false;
  // Once the reflash command is out, the modem may still be flashing:
  // tmrPicUpgrCnt waits for it and gives up in time.
  if (f.lngTelnetCommand == PIC_REFLASH_CMD && f.lngTelnetState != WAIT_PROMPT) return;
  Abandon(status);
}

// ---- Ends ----

void TelnetSession::EndExchange() {
  silence_->setEnabled(false);
  f.Telnet->close();
  connected_ = false;
  f.lngTelnetCommand = NO_TELNET_CMD;
  f.lngTelnetState = WAIT_PROMPT;
}

void TelnetSession::Abandon(const std::string& status) {
  const bool reflash = f.lngTelnetCommand == PIC_REFLASH_CMD;
  EndExchange();
  f.SetStatus(status);
  f.SetBusyState(0);
  // A prepare-for-download that did not happen is no failure of its own
  // (the workflow goes on); a reflash that never started is.
  if (reflash) f.ui().msgBox(ConnectWatchdog::PicMessage(), MsgExclamation, kUpgraderTitle);
}

void TelnetSession::Silence_Timer() {
  silence_->setEnabled(false);
  if (f.lngTelnetCommand == NO_TELNET_CMD) return;
  const std::string within = " within " + std::to_string(kSilenceLimitMs / 1000) + " seconds.";
  if (f.lngTelnetState == WAIT_PROMPT)
    Abandon("No telnet prompt from the modem" + within);
  else if (f.lngTelnetCommand == PREPARE_DOWNLOAD_CMD)
    Abandon("No answer to the prepare command" + within);
}

void TelnetSession::tmrPicUpgrCnt_Timer() {
  f.intPicTicks = static_cast<std::int16_t>(f.intPicTicks + 1);
  if (f.intPicTicks > 10) {
    f.tmrPicUpgrCnt->setEnabled(false);
    // Closed before the box, so that a late "Completed" changes nothing.
    EndExchange();
    f.SetBusyState(0);
    f.ui().msgBox(std::string("PIC Upgrade failed.  Click OK and try again.  ") +
                      "If it fail again, call support.",
                  MsgExclamation, kUpgraderTitle);
    f.SetStatus("");
  }
  if (f.Progress.value() < 100) f.Progress.setValue(f.intPicTicks * 10 + 60);
}

void TelnetSession::Shutdown() { silence_->setEnabled(false); }
