// Records each operation that changes the modem in the upgrade history:
// what was done to which modem, from which version to which, with which
// image, how it ended and how long it took, as each result comes in, from
// the window and batch mode alike.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "core/UpgradeHistory.h"

#include "core/Context.h"
#include "operations/OperationRunner.h"

class OperationRecorder {
 public:
  OperationRecorder(const Context& context, OperationRunner& runner);

  // The history file of this home directory.
  std::string historyPath() const;
  // Where the wall-clock time of an entry comes from (UTC, ISO 8601).
  std::function<std::string()> utcNow;
  // The uploads of every firmware folder (see Settings); "" for none.
  std::string journalPath;

  // Looks in the history for an upload to the session's modem that never
  // ended, and keeps the session's view of it current (nothing restarts a
  // modem whose image is not whole). One of another run, found for the first
  // time, is told to onUnfinishedUpload (its "began" line) when tell is set.
  void checkUnfinished(bool tell = true);
  std::string modemKey() const;
  // A station's unit that needed nothing (it runs the new version already):
  // on record as an upgrade "skipped", so the line's report counts it.
  void skipped(const std::string& operation);
  Observers<const HistoryEntry&> onUnfinishedUpload;
  // Each entry as it is recorded (the "began" line and the final one of an
  // attempt), also when the history file could not keep it.
  Observers<const HistoryEntry&> onRecorded;

 private:
  // Appends the entry of one operation started at startedAt (UTC text),
  // which took seconds.
  void record(const std::string& operation, const OperationResult& result,
              const std::string& startedAt, double seconds);
  void uploadBegins(const std::string& operation, const ImageUploadStart& start);
  HistoryEntry entryNow(const std::string& operation) const;
  bool append(const HistoryEntry& entry);

  Context context_;
  std::string startedAt_;
  std::chrono::milliseconds started_{0};
  std::string attempt_;  // of the last recorded operation started
  std::string versionBefore_;
  std::set<std::string> ownAttempts_, toldAttempts_;
  std::set<std::string> journaled_;  // attempts whose upload began: their end goes there too
  // Modems (by MAC, else address) this process left with an incomplete
  // image, and since when.
  std::map<std::string, std::string> leftIncomplete_;
};
