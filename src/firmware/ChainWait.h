// The waits the upgrade and restore share: for the version query, for the
// prepare-for-download exchange and for the end of the FTP chain.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class frmMain;

// How long the version query and the prepare-for-download exchange may
// keep the busy state before the workflow stops waiting. Both end much
// earlier through their own watchdogs (about 12 s and 25 s at most); these
// bounds only keep a stuck exchange from holding the window for good.
inline constexpr long kVersionQueryWaitMs = 30000;
inline constexpr long kPrepareWaitMs = 30000;
// A version reply may start a pending PIC reflash, which keeps the busy
// state through the reflash (110 s at most), the 25 s restart delay and a
// further query; the query wait then stretches to this ceiling, so that the
// workflow never runs beside a reflash.
inline constexpr long kReflashWaitMs = 180000;
// The workflow's own limit for the whole FTP chain.
inline constexpr std::chrono::milliseconds kChainLimit{180000};

// Reads the version when it is unknown and waits for the query to end.
// False when the query did not end in time: then the exchange is ended,
// busy is off and the status line holds stoppedText.
bool EnsureVersionQueried(frmMain& f, const std::string& stoppedText);

// Asks the modem to prepare for a download and waits for the exchange;
// whatever its outcome, the workflow goes on.
void PrepareAndWait(frmMain& f);

// Ends whatever ZING or telnet exchange still holds the busy state, quietly:
// sockets closed, their watchdogs off, so that nothing of it arrives later.
void EndStuckExchanges(frmMain& f);

enum class ChainEnd { Done, TimedOut };
// Pumps events in 1000 ms rounds until the chain has ended or more than
// kChainLimit has passed since start (the limit is tested first).
ChainEnd WaitForChain(frmMain& f, std::chrono::milliseconds start);

// The workflow's own time-out: ends the chain, tells the user.
void AbandonChain(frmMain& f, const std::string& message);

// Starts a chain with an image upload and waits for it; on the workflow's
// own time-out the user is asked to power-cycle the modem. On a normal end
// the busy state and the status line stay as the chain left them.
void UploadAndWait(frmMain& f, std::int32_t code, const std::string& command);
