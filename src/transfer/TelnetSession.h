// The telnet console: prepare for download and the PIC reflash.
//
// One session per operation: connect, wait for the prompt "->", send one
// command, then either end at the first answer (prepare for download) or
// wait for "Completed" under tmrPicUpgrCnt (reflash). Every end closes the
// socket and clears lngTelnetCommand; a silent console is given up after
// kSilenceLimitMs, so no wait on the modem is without a bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class frmMain;
class Timer;

class TelnetSession {
 public:
  // lngTelnetCommand codes.
  enum : std::int32_t { NO_TELNET_CMD = 0, PIC_REFLASH_CMD = 1, PREPARE_DOWNLOAD_CMD = 2 };
  // lngTelnetState codes.
  enum : std::int32_t { WAIT_PROMPT = 0, COMMAND_SENT = 1, REFLASH_RUNNING = 2 };

  // How long a connected console may keep us waiting for its prompt, and
  // for the answer to the prepare command.
  static constexpr int kSilenceLimitMs = 10000;

  explicit TelnetSession(frmMain& f);
  ~TelnetSession();

  void cmdPICupgrade_Click();
  void PrepareForDownload();
  void StartPicReflash();

  void Telnet_Connect();
  void Telnet_DataArrival(std::size_t bytesTotal);
  void Telnet_Error(int number, const std::string& description);
  // Closed by the modem: like an error in a connected session.
  void Telnet_Close();
  void tmrPicUpgrCnt_Timer();
  // The window is going away: the silence bound must not fire after it.
  void Shutdown();

 private:
  void Open(std::int32_t command);
  void SendCommand(const char* command);
  void ReflashCompleted();
  // Ends the exchange: socket closed, codes cleared, silence bound off.
  void EndExchange();
  // Ends an exchange that cannot go on before the reflash has started.
  void Abandon(const std::string& status);
  // The connected session broke; ends it unless the reflash is running.
  void SessionLost(const std::string& status);
  void Silence_Timer();
  std::string FindPicFile() const;

  frmMain& f;
  std::unique_ptr<Timer> silence_;
  bool connected_ = false;  // the current session's socket has opened
};
