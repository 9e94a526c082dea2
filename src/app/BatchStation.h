// A station: one modem after the other at the same address, each upgraded
// unless it runs the new version already (an upload to it that never ended
// is completed all the same), until Ctrl+C or a line stop rule is met; then
// one summary. Each unit is flagged when its MAC was seen before in the run
// or changed over its restart, and may have a program run after it.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BatchCommandLine.h"
#include "app/BatchSteps.h"
#include "app/ConsoleUi.h"
#include "app/UnitHook.h"

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
  // What a unit was: its number, outcome and identity, for its line, its
  // event and its hook.
  struct Unit {
    int number = 0;
    std::string outcome;  // done, failed, skipped
    double seconds = 0;
    std::string macBefore, macAfter;  // read before the upgrade, and after its restart
    std::string versionBefore, versionAfter;
    std::string reasonCode;
    std::optional<int> sameAs;  // the earlier unit of this run with the same MAC
    bool macChanged() const {
      return !macBefore.empty() && !macAfter.empty() && macBefore != macAfter;
    }
  };
  // The unit's flags, its JSON event, its hook; then whether the line stops.
  void unitRecorded(Unit unit);
  // The line stop's reason once a rule is met; "" while none is.
  std::string lineStopReason() const;
  void runHook(const Unit& unit);
  void next();
  // The station's interface reports no link.
  bool linkDown();
  void summary();
  // Ends the run once every hook has ended.
  void quitAfterHooks();
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
  std::string macBefore_, versionBefore_;  // of the unit in hand
  std::map<std::string, int> units_;       // by MAC: its first unit
  int unitNumber_ = 0;
  int failedInRow_ = 0;
  std::deque<bool> lastFailed_;  // the last units' outcomes, for the rate
  std::string lineStopped_;      // why the line stopped; "" while it runs
  std::vector<std::unique_ptr<UnitHook>> hooks_;
  bool summarized_ = false;
  bool toldHooks_ = false;  // that the end waits for them
  std::optional<int> quitCode_;  // once summarized
};
