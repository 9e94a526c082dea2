// The last line of every batch run that prints JSON: one `result` object,
// whatever ended the run (done, failed, interrupted, or unable to begin),
// and on standard error one hint of what to check for the commonest
// failures.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/BatchCommandLine.h"
#include "app/ConsoleUi.h"
#include "core/FailureCode.h"
#include "core/JsonLine.h"
#include "core/UpgradeHistory.h"
#include "operations/Operation.h"

class Workbench;

class BatchReport {
 public:
  BatchReport(ConsoleUi& ui, const BatchOptions& options, Workbench& bench)
      : ui_(ui), options_(options), bench_(bench) {}

  // The operation begins now: what its result line compares with.
  void begin(std::chrono::milliseconds now);
  std::chrono::milliseconds started() const { return started_; }
  // Why the run failed, in the tool's own words, when no notice told it.
  void setReason(std::string reason) { reason_ = std::move(reason); }
  const std::string& reason() const { return reason_; }

  // The result line of op, with exit code; more adds fields of its own.
  void result(OperationKind op, const OperationResult& result, int code,
              std::chrono::milliseconds now, const std::function<void(JsonLine&)>& more = nullptr);
  // An upgrade skipped: the modem runs the new version already.
  void skipped(OperationKind op, std::chrono::milliseconds now);
  // Abandoned by Ctrl+C or a signal; abandoned is what the operation under
  // way ended with (an empty result when none ran).
  void interrupted(const OperationResult& abandoned);
  // An upload to this modem that another run began never ended (the
  // window's box tells it on standard error; a script reads it here).
  void unfinishedUpload(const HistoryEntry& began);
  // The run could not begin (no usable home, interface or image); returns
  // its exit code.
  int unusable(FailureCode code, const std::string& reason);

 private:
  // The failure's code, unless the interface was taken away under the run.
  FailureCode blame(FailureCode code) const;
  void hint(FailureCode code);
  // "signed by ...", "not signed", or "refused" for the new release.
  std::string signatureState() const;

  ConsoleUi& ui_;
  const BatchOptions& options_;
  Workbench& bench_;
  std::string versionBefore_;
  std::chrono::milliseconds started_{0};
  std::string reason_;
  bool skipped_ = false;
};

// The result line of a run whose command line was refused (exit code 2),
// when the arguments ask for JSON; "" when they do not.
std::string UsageFailureLine(const std::vector<std::string>& arguments, const std::string& reason);

// A result of batch mode's own, failed for code.
OperationResult FailedFor(OperationResult::Outcome outcome, FailureCode code);
