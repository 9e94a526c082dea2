// The words that show how far an operation is beyond the progress bar's
// fixed steps: a transfer's bytes, rate and time left, the countdown of a
// restart, the time a PIC reflash has run. The window shows them under the
// bar; batch mode prints them.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "operations/Operation.h"
#include "platform/Text.h"

struct TransferFigures {
  double bytesPerSecond = 0;             // 0: not known yet
  std::optional<double> secondsLeft;     // when the total and the rate are known
  // Nothing moved for at least kStallShownAfter: for how many whole seconds
  // (and no time left is given, which would only grow).
  std::optional<long> secondsWithoutData;
};
constexpr std::chrono::milliseconds kStallShownAfter{3000};
TransferFigures Figures(const Operation::Transfer& transfer, std::chrono::milliseconds now);

// The name the user knows a local file by: a temporary's decoration left out.
std::string ShownName(const std::string& local);

// "kova_5_2_1_0.bin: 12.3 of 30.0 MiB, 9.8 MiB/s, 2 s left", or while nothing
// moves "kova_5_2_1_0.bin: 12.3 of 30.0 MiB, no data for 7 s"
Text TransferText(const Operation::Transfer& transfer, std::chrono::milliseconds now);

// The line for the operation as it stands now; empty when there is nothing
// to add to the status line.
Text ProgressDetail(const Operation::Progress& progress, std::chrono::milliseconds now);
