// Processes on the real platform: console commands run and captured, and
// programs started on their own.
#pragma once

#include <map>
#include <string>

#include "platform/Platform.h"

class QtProcess : public Process {
 public:
  // A hung console command must not freeze the window for good.
  static constexpr int kDefaultLimitMs = 60000;

  ConsoleResult runConsole(const std::string& commandLine) override;
  void setTimeLimit(int ms) { limitMs_ = ms; }
  bool startDetached(const std::string& program, const std::string& workingDirectory) override;
  long processId() const override;
  bool running(long processId) const override;
  // Files in one folder for all users of the PC (/tmp/kova-upgrader-locks),
  // each locked with flock: the system lets go when the process ends.
  bool lock(const std::string& name, const std::string& description,
            std::string& holder) override;
  void unlock(const std::string& name) override;
  ~QtProcess() override;
  std::string processStamp() const override;
  bool ended(const std::string& stamp) const override;

 private:
  int limitMs_ = kDefaultLimitMs;
  std::map<std::string, int> locks_;  // name -> descriptor holding its lock
};
