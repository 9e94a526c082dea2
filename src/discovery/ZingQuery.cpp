#include "discovery/ZingQuery.h"

#include "app/Utilities.h"
#include "app/frmMain.h"

namespace {
constexpr std::int32_t kVersionReply = 4100;
}

ZingQuery::ZingQuery(frmMain& f) : f(f), settle_(f.platform.createTimer()) {
  settle_->setInterval(kReplySettleMs);
  settle_->onTick = [this] {
    settle_->setEnabled(false);
    HandleVersionReply();
  };
  f.sckZING->onConnect = [this] { sckZING_Connect(); };
  f.sckZING->onDataArrival = [this](std::size_t n) { sckZING_DataArrival(n); };
  f.sckZING->onError = [this](int n, const std::string& d) { sckZING_Error(n, d); };
  f.sckZING->onClose = [this] { sckZING_Close(); };
  f.tmrConnect->onTick = [this] { tmrConnect_Timer(); };
  f.tmrResponse->onTick = [this] { tmrResponse_Timer(); };
}

ZingQuery::~ZingQuery() = default;

void ZingQuery::Connect() {
  // A socket the modem closed, or one still connecting, would refuse the
  // new connect: close it in every state.
  f.sckZING->close();
  reply_.clear();
  settle_->setEnabled(false);
  try {
    f.sckZING->setRemoteHost(f.strModemIP);
    f.tmrConnect->setEnabled(true);
    f.sckZING->connect();
  } catch (const PlatformError&) {
    FailureEnding();
  }
}

void ZingQuery::QuerySoftwareVersion() {
  if (f.sckZING->state() == TcpSocket::Connected) f.sckZING->close();
  f.SetBusyState(1);
  f.strModemVersion = kUnknownVersion;
  f.txtCurrentSoftwareVersion.setText("Unknown");
  if (!f.strModemIP.empty()) {
    f.SetStatus("Trying to retrieve Satellite IP Modem software version...");
    f.lngZingCommand = 4;
    Connect();
    return;
  }
  f.ui().msgBox("Please enter Satellite IP Modem's IP address.", MsgInformation, kAppTitle);
  FailureEnding();
}

void ZingQuery::FailureEnding() {
  f.SetBusyState(0);
  f.SetStatus("Check Satellite IP Modem software version.");
}

void ZingQuery::SendZingRequest(std::int32_t code) {
  const char request[4] = {0, 0, static_cast<char>((code >> 8) & 0xFF),
                           static_cast<char>(code & 0xFF)};
  try {
    f.sckZING->sendData(std::string_view(request, 4));
  } catch (const PlatformError&) {
    // Not connected after all: the response watchdog ends the exchange.
  }
  f.tmrResponse->setEnabled(true);
}

void ZingQuery::sckZING_Connect() {
  f.tmrConnect->setEnabled(false);
  SendZingRequest(f.lngZingCommand);
  if (f.lngZingCommand == 13) {
    f.tmrResponse->setEnabled(false);
    f.tmrResetDelay->setEnabled(true);
    f.lngZingCommand = 0;
    f.SetStatus("Resetting modem. Wait 20 seconds.");
  }
}

void ZingQuery::sckZING_DataArrival(std::size_t) {
  std::string piece = f.sckZING->getData();
  if (reply_.size() < kMaxReply) reply_ += piece.substr(0, kMaxReply - reply_.size());
  // Too short to carry a reply code: wait for more; the response watchdog
  // ends the exchange if nothing follows.
  if (reply_.size() < 4) return;
  if (BytesToLong(reply_, 4, 0) != kVersionReply) {
    // Not a version reply: ignored, and the response watchdog keeps running
    // so that the usual fallback follows.
    reply_.clear();
    return;
  }
  f.tmrResponse->setEnabled(false);
  bool complete = reply_.size() > 8 && reply_.find('\0', 8) != std::string::npos;
  if (complete || reply_.size() >= kMaxReply) {
    settle_->setEnabled(false);
    HandleVersionReply();
    return;
  }
  // The rest of the text may still be on its way.
  settle_->setEnabled(false);
  settle_->setEnabled(true);
}

void ZingQuery::HandleVersionReply() {
  std::string bytes;
  bytes.swap(reply_);
  std::int16_t index = 8;
  std::string raw = BytesToString(bytes, static_cast<std::int32_t>(bytes.size()) - 8, index);
  std::string version = ExtractVersion(raw);
  bool readable = !version.empty();
  if (readable) {
    f.txtCurrentSoftwareVersion.setText(version);
    f.strModemVersion = ReplaceChar(version, ".", "_");
    f.SetStatus("Software version was retrieved!");
  } else {
    // The modem answered without a version: it stays unknown.
    f.txtCurrentSoftwareVersion.setText("Unknown");
    f.strModemVersion = kUnknownVersion;
    f.SetStatus("Check Satellite IP Modem software version.");
  }
  f.sckZING->close();
  if (f.blnFTPTimeout) {
    f.blnFTPTimeout = false;
    f.ui().msgBox(std::string("FTP timeout.") + kCrLf + kCrLf +
                      "Remove power and reapply power to the Satellite IP Modem." + kCrLf +
                      "Get software version using Tools menu before retrying." + kCrLf +
                      "Close and restart Upgrader if error repeats.",
                  MsgExclamation, kUpgraderTitle);
    f.SetBusyState(0);
    f.DisableUpgradeControls();
  } else if (f.blnPicPending) {
    f.blnPicPending = false;
    f.StartPicReflash();
  } else {
    f.Progress.setValue(100);
    f.SetBusyState(0);
  }
  f.SetStatusLED(true);
}

void ZingQuery::tmrConnect_Timer() { ConnectionWatchdog(); }

void ZingQuery::sckZING_Error(int, const std::string& description) {
  ConnectionWatchdog();
  f.ShowSocketError(description);
}

void ZingQuery::ConnectionWatchdog() {
  f.sckZING->close();
  f.tmrConnect->setEnabled(false);
  f.tmrResponse->setEnabled(false);
  settle_->setEnabled(false);
  reply_.clear();
  switch (f.lngZingCommand) {
    case 4:
      f.strModemVersion = kUnknownVersion;
      f.txtCurrentSoftwareVersion.setText("Unknown");
      f.StartFtpProbe();
      f.SetStatus("ZING Connection failed.");
      break;
    case 13:
      f.SetBusyState(0);
      f.ui().msgBox(std::string("Unable to reset Satellite IP Modem.") + kCrLf + kCrLf +
                        "Remove power and reapply power to the Satellite IP Modem.",
                    MsgExclamation, kUpgraderTitle);
      f.SetStatus("");
      break;
    case 0:
      // The modem dropped the connection while restarting.
      f.tmrResetDelay->setEnabled(false);
      f.SetStatus("Reset done. Wait .....");
      for (int i = 0; i < 11; ++i) {
        f.loop().pumpEvents();
        f.loop().wait(1000);
      }
      f.QuerySoftwareVersion();
      break;
    default:
      f.SetBusyState(0);
      f.SetStatus("");
      break;
  }
}

void ZingQuery::tmrResponse_Timer() {
  f.sckZING->close();
  f.tmrResponse->setEnabled(false);
  settle_->setEnabled(false);
  reply_.clear();
  f.StartFtpProbe();
}

void ZingQuery::sckZING_Close() {
  f.ui().msgBox("Satellite IP Modem closed the connection. Connection lost.", MsgCritical,
                "Error");
}
