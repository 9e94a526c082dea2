#include "at/AtChannel.h"

#include "app/Utilities.h"
#include "app/frmMain.h"
#include "at/AtText.h"
#include "at/DNSverification.h"
#include "at/UpdateModemIP.h"

namespace {

constexpr std::int32_t kRestart = 1;
constexpr std::int32_t kReadDns = 2;
constexpr std::int32_t kWriteDns = 3;
constexpr std::int32_t kWriteDns2 = 4;
constexpr std::int32_t kAwaitingReply = 2;

}  // namespace

AtChannel::AtChannel(frmMain& f) : f(f), tmrATReply(f.platform.createTimer()) {
  tmrATReply->setInterval(kReplyTimeoutMs);
  tmrATReply->onTick = [this] { tmrATReply_Timer(); };
  f.At->onConnect = [this] { At_Connect(); };
  f.At->onDataArrival = [this](std::size_t) { At_DataArrival(); };
  f.At->onError = [this](int, const std::string& d) { At_Error(d); };
  f.At->onClose = [this] { At_Close(); };
}

AtChannel::~AtChannel() = default;

void AtChannel::tmrATReply_Timer() {
  tmrATReply->setEnabled(false);
  if (f.lngATState != kAwaitingReply) return;
  // A restart that goes unanswered has most likely been obeyed: the
  // version query after the delay tells.
  if (f.lngATCommand == kRestart)
    FinishRestart();
  else
    Fail("The modem did not answer the AT command.");
}

DNSverification& AtChannel::dnsDialog() {
  if (!dns_) dns_ = std::make_unique<DNSverification>(f);
  return *dns_;
}

UpdateModemIP& AtChannel::addressDialog() {
  if (!address_) address_ = std::make_unique<UpdateModemIP>(f);
  return *address_;
}

// ---- Senders ----

bool AtChannel::AddressMissing() {
  if (!f.strModemIP.empty()) return false;
  f.ui().msgBox("Please enter Satellite IP Modem's IP address.", MsgInformation, kAppTitle);
  f.SetBusyState(0);
  return true;
}

void AtChannel::Connect(int command) {
  f.lngATCommand = command;
  // A connection left open (one that opened after the watchdog gave up, or
  // one the modem closed) would refuse the connect.
  if (f.At->state() != TcpSocket::Closed) f.At->close();
  f.At->setRemoteHost(f.strModemIP);
  try {
    f.At->connect();
  } catch (const PlatformError& e) {
    f.lngATCommand = 0;
    f.SetBusyState(0);
    f.SetStatus(std::string("AT Error ") + e.what());
    return;
  }
  f.SetStatus("AT Connecting .....");
  f.tmrTelnetConnect->setEnabled(true);
}

void AtChannel::SendGetDNS() {
  f.SetBusyState(1);
  if (AddressMissing()) return;
  Connect(kReadDns);
}

void AtChannel::SendSetDNS() {
  f.SetBusyState(1);
  if (AddressMissing()) return;
  if (!SendableDnsText(f.strDNS) || !SendableDnsText(f.strDNS2)) {
    f.ui().msgBox(kUnsendableDnsMessage, MsgExclamation, kUpgraderTitle);
    f.SetBusyState(0);
    return;
  }
  Connect(kWriteDns);
}

void AtChannel::SendSetDNS2() {
  f.SetBusyState(1);
  if (AddressMissing()) {
    EndOperation();
    return;
  }
  f.lngATCommand = kWriteDns2;
  if (!SendableDnsText(f.strDNS2)) {
    EndOperation();
    f.SetBusyState(0);
    f.ui().msgBox(kUnsendableDnsMessage, MsgExclamation, kUpgraderTitle);
    return;
  }
  Send(DnsWriteCommand("DNS2", f.strDNS2));
}

void AtChannel::SendATReset() {
  if (AddressMissing()) {
    EndOperation();
    return;
  }
  f.lngATCommand = kRestart;
  Send("AT+CFUN=1,1\r\n");
}

// Sends one command line and starts the wait for its answer.
bool AtChannel::Send(const std::string& line) {
  try {
    f.At->sendData(line);
  } catch (const PlatformError& e) {
    f.SetStatus(std::string("AT Error ") + e.what());
    Fail("The AT command could not be sent.");
    return false;
  }
  tmrATReply->setEnabled(false);
  tmrATReply->setEnabled(true);
  return true;
}

// ---- Ending an operation ----

void AtChannel::ResetReplyBuffer() {
  f.intATReplyIdx = 0;
  f.strATReply.assign(1, std::string());
}

void AtChannel::EndOperation() {
  tmrATReply->setEnabled(false);
  f.lngATState = 0;
  f.At->close();
  f.lngATCommand = 0;
}

void AtChannel::Fail(const std::string& firstLine) {
  EndOperation();
  ResetReplyBuffer();
  f.SetBusyState(0);
  f.SetStatus("");
  f.ui().msgBox(firstLine + kCrLf + "Please check cable connections." + kCrLf +
                    "Remove and reapply power to the modem." + kCrLf +
                    "Use Tool menu to check DNS addresses.",
                MsgExclamation, kUpgraderTitle);
}

// The window stays busy: the version query the timer starts ends that.
void AtChannel::FinishRestart() {
  EndOperation();
  f.tmrResetDelay->setEnabled(true);
  f.SetStatus("Resetting modem. Wait 20 seconds.");
}

void AtChannel::ShowDnsDialog() { f.ui().showModal(dnsDialog()); }

// ---- Events of the At socket ----

void AtChannel::At_Connect() {
  f.tmrTelnetConnect->setEnabled(false);
  f.SetStatus("Sending AT command.");
  if (f.lngATCommand == kReadDns) {
    ResetReplyBuffer();
    f.lngATState = kAwaitingReply;
    Send("AT_IHIP?\r\n");
  } else if (f.lngATCommand == kWriteDns) {
    ResetReplyBuffer();
    f.SetBusyState(1);
    f.lngATState = kAwaitingReply;
    Send(DnsWriteCommand("DNS", f.strDNS));
  }
}

void AtChannel::At_DataArrival() {
  if (f.strATReply.empty() || f.intATReplyIdx < 0 ||
      static_cast<std::size_t>(f.intATReplyIdx) >= f.strATReply.size())
    ResetReplyBuffer();
  std::string bytes = f.At->getData();
  f.strATReply[static_cast<std::size_t>(f.intATReplyIdx)] = std::move(bytes);
  if (f.lngATState != kAwaitingReply) {
    f.ui().msgBox("Data arrival from AT in wrong state " + std::to_string(f.lngATState),
                  MsgOkOnly, "Error");
    return;
  }
  switch (f.lngATCommand) {
    case kRestart:
      // Whatever the modem says, it has the order.
      FinishRestart();
      break;
    case kReadDns:
      ReadReply();
      break;
    case kWriteDns:
      WriteReply("Wrong DNS adress.");
      break;
    case kWriteDns2:
      WriteReply("Wrong DNS2 adress.");
      break;
    default:
      break;
  }
}

void AtChannel::ReadReply() {
  std::string joined;
  for (const auto& chunk : f.strATReply) joined += chunk;
  // The whole reply is searched, so a label split across two pieces is
  // still found.
  if (joined.find("DNS2") != std::string::npos) {
    ResetReplyBuffer();
    DnsAddresses a = ParseDnsReply(joined);
    f.strDNS = a.primary;
    f.strDNS2 = a.secondary;
    EndOperation();
    f.SetBusyState(0);
    f.SetStatus("");
    ShowDnsDialog();
  } else if (joined.find("ERROR") != std::string::npos) {
    f.ui().msgBox(std::string("Can't verify DNS address.") + kCrLf + kCrLf +
                      "Check if SIM card is inserted correctly." + kCrLf +
                      "Reset Modem and repeat command." + kCrLf,
                  MsgCritical, kUpgraderTitle);
    EndOperation();
    f.SetBusyState(0);
    f.SetStatus("");
    ResetReplyBuffer();
  } else if (joined.size() > kMaxReplyBytes) {
    Fail("The modem's answer to the AT command could not be read.");
  } else {
    ++f.intATReplyIdx;
    f.strATReply.emplace_back();
  }
}

void AtChannel::WriteReply(const char* refusal) {
  const std::string& reply = f.strATReply.front();
  if (reply.find("OK") != std::string::npos) {
    if (f.lngATCommand == kWriteDns)
      f.SendSetDNS2();
    else
      f.SendATReset();
  } else if (reply.find("ERROR") != std::string::npos) {
    f.ui().msgBox(std::string(refusal) + kCrLf, MsgCritical, kUpgraderTitle);
    EndOperation();
    f.SetBusyState(0);
    // The dialog shows the refused values, which are the user's own.
    ShowDnsDialog();
  }
}

void AtChannel::At_Error(const std::string& description) {
  f.SetStatus("AT Error " + description);
}

// The modem hung up. Waiting for an answer on a closed line is pointless.
void AtChannel::At_Close() {
  if (f.lngATState != kAwaitingReply) {
    f.At->close();
    return;
  }
  if (f.lngATCommand == kRestart)
    FinishRestart();
  else
    Fail("The modem closed the AT connection without answering.");
}

// ---- Modem address ----

void AtChannel::UpdateModemIPAddress(const std::string& newIP) {
  f.txtIPAddress.setText(newIP);
  f.strModemIP = Trim(f.txtIPAddress.text());
}

void AtChannel::cmdSetModemIP_Click() { f.ui().showModal(addressDialog()); }

void AtChannel::Shutdown() { tmrATReply->setEnabled(false); }
