// The waits the upgrade and restore share: for the version query, for the
// prepare-for-download exchange and for the end of the FTP chain.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class frmMain;

// How long the version query and the prepare-for-download exchange may
// keep the busy state before the workflow stops waiting. Both end much
// earlier through their own watchdogs; these bounds only keep a stuck
// exchange from holding the window for good.
inline constexpr long kVersionQueryWaitMs = 30000;
inline constexpr long kPrepareWaitMs = 30000;
// The workflow's own limit for the whole FTP chain.
inline constexpr std::chrono::milliseconds kChainLimit{180000};

// Reads the version when it is unknown and waits for the query to end.
// False when the query did not end in time: then busy is off and the status
// line holds stoppedText.
bool EnsureVersionQueried(frmMain& f, const std::string& stoppedText);

// Asks the modem to prepare for a download and waits for the exchange;
// whatever its outcome, the workflow goes on.
void PrepareAndWait(frmMain& f);

enum class ChainEnd { Done, TimedOut };
// Pumps events in 1000 ms rounds until the chain has ended or more than
// kChainLimit has passed since start (the limit is tested first).
ChainEnd WaitForChain(frmMain& f, std::chrono::milliseconds start);

// The workflow's own time-out: ends the chain, tells the user, cancels.
void AbandonChain(frmMain& f, const std::string& message);

// Starts a chain with an image upload and waits for it; on the workflow's
// own time-out the user is asked to power-cycle the modem. On a normal end
// the busy state and the status line stay as the chain left them.
void UploadAndWait(frmMain& f, std::int32_t code, const std::string& command);
