// The waits the upgrade and restore share: for the version query, for the
// prepare-for-download exchange and for the end of the FTP chain. Each has a
// bound, so a stuck exchange never holds the window for good.
#pragma once

#include <chrono>
#include <string>

#include "core/Context.h"

class VersionQuery;
class ModemReset;
class TelnetSession;
class FtpChain;
struct FtpPlan;

class WorkflowWaits {
 public:
  // How long the version query and the prepare-for-download exchange may
  // keep the busy state before the workflow stops waiting. Both end much
  // earlier through their own watchdogs (about 12 s and 25 s at most).
  static constexpr long kVersionQueryWaitMs = 30000;
  static constexpr long kPrepareWaitMs = 30000;
  // A version reply may start a pending PIC reflash, which keeps the busy
  // state through the reflash (110 s at most), the 25 s restart delay and a
  // further query; the query wait then stretches to this ceiling, so that
  // the workflow never runs beside a reflash.
  static constexpr long kReflashWaitMs = 180000;
  // The workflow's own limit for the whole FTP chain.
  static constexpr std::chrono::milliseconds kChainLimit{180000};

  enum class ChainEnd { Done, TimedOut };

  WorkflowWaits(const Context& context, VersionQuery& query, ModemReset& reset,
                TelnetSession& telnet, FtpChain& chain);

  // Reads the version when it is unknown and waits for the query to end.
  // False when the query did not end in time: then the exchange is ended,
  // busy is off and the status line holds stoppedText.
  bool ensureVersionQueried(const std::string& stoppedText);
  // Asks the modem to prepare for a download and waits for the exchange;
  // whatever its outcome, the workflow goes on.
  void prepareForDownload();
  // Pumps events in 1000 ms rounds until the chain has ended or more than
  // kChainLimit has passed since start (the limit is tested first).
  ChainEnd waitForChain(std::chrono::milliseconds start);
  // Starts a chain with an image upload and waits for it; on the
  // workflow's own time-out the user is asked to power-cycle the modem.
  void uploadAndWait(FtpPlan plan);
  // The workflow's own time-out: ends the chain and whatever it started
  // (a scheduled reset, a pending reflash) before the user is told.
  void abandonChain(const std::string& message);

 private:
  // Waits while busy, 100 ms a round; false when limitMs passed first.
  bool waitWhileBusy(long limitMs);
  // Ends whatever ZING or telnet exchange still holds the busy state.
  void endStuckExchanges();
  long since(std::chrono::milliseconds start) const;

  Context context_;
  VersionQuery& query_;
  ModemReset& reset_;
  TelnetSession& telnet_;
  FtpChain& chain_;
};
