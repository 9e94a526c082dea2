// Records each operation that changes the modem in the upgrade history:
// what was done to which modem, from which version to which, with which
// image, how it ended and how long it took. The window records on its own;
// batch mode says when its operation begins and ends.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "core/Context.h"

class MainWindow;
class OperationWatch;
class Timer;

class OperationRecorder {
 public:
  enum class Outcome { Done, Failed, Interrupted };

  OperationRecorder(MainWindow& window, const Context& context);
  ~OperationRecorder();

  // The window's own operations end when it is idle again.
  void setAutomatic(bool on) { automatic_ = on; }
  bool automatic() const { return automatic_; }

  void begin(const std::string& operation);
  // Ends the operation begun last; the outcome follows what the subsystems
  // reported unless one is given.
  void end();
  void end(Outcome outcome);
  // An operation is being recorded (begun and not ended yet).
  bool recording() const { return watch_ != nullptr; }
  // What the operation did so far.
  const OperationWatch* watch() const { return watch_.get(); }

  // The history file of this home directory.
  std::string historyPath() const;
  // Where the wall-clock time of an entry comes from (UTC, ISO 8601).
  std::function<std::string()> utcNow;

 private:
  void tick();

  MainWindow& window_;
  Context context_;
  std::unique_ptr<Timer> idleCheck_;
  std::unique_ptr<OperationWatch> watch_;
  bool automatic_ = true;
  std::string operation_;
  std::string versionBefore_;
  std::string startedAt_;
  std::chrono::milliseconds started_{0};
};
