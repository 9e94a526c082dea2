// A station: one modem after the other at the same address, each upgraded
// unless it runs the new version already, until Ctrl+C; then one summary.
#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "app/BatchCommandLine.h"
#include "app/BatchSteps.h"
#include "app/ConsoleUi.h"

class Workbench;

class BatchStation {
 public:
  BatchStation(BatchSteps& steps, ConsoleUi& ui, const BatchOptions& options, Workbench& bench,
               std::function<bool()> enterPressed)
      : steps_(steps),
        ui_(ui),
        options_(options),
        bench_(bench),
        enterPressed_(std::move(enterPressed)) {}

  // Waits for the first modem.
  void run();
  // Ctrl+C between two modems ends the line at once: true when it did.
  bool stopBetweenModems();
  // Ctrl+C during a unit: the unit is finished, no other is taken.
  void stopAfterUnit() { stopped_ = true; }

 private:
  void awaitModem();
  // Until this modem is gone (its link down, or no answer for 10 s) or
  // Enter is pressed.
  void awaitDeparture(std::chrono::milliseconds lastAnswer);
  // Does a modem answer at the address? Asked quietly: between two modems,
  // no answer is no news.
  void askQuietly(std::function<void(bool answered)> then);
  void unitEnded(int code, const OperationResult& result);
  void next();
  // The station's interface reports no link.
  bool linkDown();
  void summary();
  std::chrono::milliseconds now() const;

  BatchSteps& steps_;
  ConsoleUi& ui_;
  const BatchOptions& options_;
  Workbench& bench_;
  std::function<bool()> enterPressed_;
  bool betweenModems_ = false;
  bool stopped_ = false;
  int done_ = 0, failed_ = 0, skipped_ = 0;
  std::vector<double> unitSeconds_;  // each unit done
  std::chrono::milliseconds started_{-1};
  std::chrono::milliseconds unitStarted_{0};
};
