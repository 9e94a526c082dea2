// A production line: one station per network interface, all at once. Each
// station is a child process (this program in station mode, bound to its
// interface), so one that crashes or hangs stops no other; the supervisor
// passes their events on, restarts a station that dies, and ends with one
// summary of them all.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "app/BatchCommandLine.h"
#include "app/ConsoleUi.h"
#include "platform/Platform.h"

// Runs until Ctrl+C (interrupts counts the presses; a closed terminal or a
// kill counts two) and every station has ended, or until no station is
// left. program is this program; arguments are the command line as given,
// with --interface naming them all. A unit whose station died under it is
// recorded as failed in historyFile ("": nowhere), and queued for the
// records database in recordsQueue ("": none), for the modem at
// modemAddress. Returns 0 when no unit failed, 1 when one did, 2 when an
// interface cannot be used or no station is left.
int RunStations(Platform& platform, ConsoleUi& ui, const BatchOptions& options,
                const std::vector<std::string>& arguments, const std::string& program,
                const std::atomic<int>& interrupts, const std::string& historyFile = "",
                const std::string& modemAddress = "", const std::string& recordsQueue = "");
