// Processes on the real platform: console commands run and captured, and
// programs started on their own.
#pragma once

#include <string>

#include "platform/Platform.h"

class QtProcess : public Process {
 public:
  ConsoleResult runConsole(const std::string& commandLine) override;
  bool startDetached(const std::string& program, const std::string& workingDirectory) override;
};
