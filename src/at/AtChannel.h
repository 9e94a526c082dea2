// The AT command channel: DNS read and write, modem restart, and the
// dialogs that go with them.
#pragma once

#include <memory>
#include <string>

class frmMain;
class Timer;
class DNSverification;
class UpdateModemIP;

class AtChannel {
 public:
  explicit AtChannel(frmMain& f);
  ~AtChannel();
  void SendGetDNS();
  void SendSetDNS();
  void SendSetDNS2();
  void SendATReset();
  void UpdateModemIPAddress(const std::string& newIP);
  void cmdSetModemIP_Click();
  // The window is going away: no reply time-out may fire after it.
  void Shutdown();

  // How long the modem may take to answer one command.
  static constexpr int kReplyTimeoutMs = 10000;
  // A DNS read reply longer than this is not a reply.
  static constexpr std::size_t kMaxReplyBytes = 8192;

  DNSverification& dnsDialog();
  UpdateModemIP& addressDialog();

 private:
  bool AddressMissing();
  void Connect(int command);
  bool Send(const std::string& line);
  void ResetReplyBuffer();
  void EndOperation();
  void Fail(const std::string& firstLine);
  void FinishRestart();
  void ShowDnsDialog();
  void At_Connect();
  void At_DataArrival();
  void At_Error(const std::string& description);
  void At_Close();
  void tmrATReply_Timer();
  void ReadReply();
  void WriteReply(const char* refusal);

  frmMain& f;
  std::unique_ptr<Timer> tmrATReply;
  std::unique_ptr<DNSverification> dns_;
  std::unique_ptr<UpdateModemIP> address_;
};
