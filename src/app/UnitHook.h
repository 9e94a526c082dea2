// The program a station runs after each unit (--on-unit): started without
// a shell, the unit's fields in its environment, ended at its time limit.
// It runs beside the next unit, never in its way.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

class UnitHook {
 public:
  using Environment = std::vector<std::pair<std::string, std::string>>;
  struct Result {
    int unit = 0;
    bool started = false;
    bool timedOut = false;  // ended at its limit
    bool crashed = false;   // a signal ended it
    int exitCode = -1;
    std::string output;  // its first lines of standard output and error
    bool outputCut = false;
    double seconds = 0;
  };
  // What of its output is kept.
  static constexpr std::size_t kOutputBytes = 1024;

  UnitHook(Platform& platform, std::string program, std::chrono::seconds limit)
      : platform_(platform), program_(std::move(program)), limit_(limit) {}

  // Starts the program for a unit, once per hook; finished comes once, from
  // the loop, also when it could not be started. The hook is kept until
  // then (its process is ended with it).
  void start(int unit, const Environment& environment, std::function<void(const Result&)> finished);
  bool running() const { return running_; }
  // Ends it at once (the station is abandoned).
  void kill();

 private:
  void keep(const std::string& line);
  void end();

  Platform& platform_;
  const std::string program_;
  const std::chrono::seconds limit_;
  bool running_ = false;
  std::unique_ptr<ChildProcess> child_;
  std::unique_ptr<Timer> limitTimer_;
  std::chrono::milliseconds started_{0};
  Result result_;
  std::function<void(const Result&)> finished_;
};

// The result as one line of text: "exit code 0 in 0.4 s: printed".
std::string HookText(const UnitHook::Result& result, std::chrono::seconds limit);
