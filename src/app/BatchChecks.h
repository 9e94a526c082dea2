// The batch operations that change nothing: verify (the modem's image
// against the new one or a backup) and check (the dry run of an upgrade,
// one line per check).
#pragma once

#include <string>

#include "app/BatchCommandLine.h"
#include "app/BatchReport.h"
#include "app/BatchSteps.h"
#include "app/ConsoleUi.h"

class Workbench;

class BatchChecks {
 public:
  BatchChecks(BatchSteps& steps, ConsoleUi& ui, const BatchOptions& options, Workbench& bench,
              BatchReport& report);
  ~BatchChecks();
  BatchChecks(const BatchChecks&) = delete;
  BatchChecks& operator=(const BatchChecks&) = delete;

  // Reads the modem's image and compares it with the reference; nothing
  // stays behind.
  void verify();
  // Every check an upgrade makes; nothing changes.
  void check();

 private:
  void checkLine(const std::string& name, bool passed, const std::string& text);
  void localChecks(long long imageSize);
  void checksEnded(int code);

  BatchSteps& steps_;
  ConsoleUi& ui_;
  const BatchOptions& options_;
  Workbench& bench_;
  BatchReport& report_;
  int finishedObserver_ = 0;
  // What the modem's image read gave, taken while its operation still exists.
  std::string modemDigest_, referenceDigest_;
  int checksFailed_ = 0;
};
