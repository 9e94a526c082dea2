// The PC's own address against the modem's subnet, and the switch to a
// static address and back.
#pragma once

#include <memory>
#include <string>

#include "core/Context.h"
#include "core/Prompts.h"
#include "netconfig/NetworkCommands.h"

class PcAddressCheck {
 public:
  // Uses the commands of the system the program was built for; prompts
  // asks whether the address may be changed.
  PcAddressCheck(const Context& context, Prompts& prompts);
  PcAddressCheck(const Context& context, Prompts& prompts,
                 std::unique_ptr<NetworkCommands> commands);
  ~PcAddressCheck();

  // Runs a command line without a window and returns what it printed.
  std::string runConsoleCommand(const std::string& commandLine);
  // Switches the PC's wired connection to the static address 192.168.128.101.
  void setStaticAddress();
  // Back to automatic addressing, if this run switched it.
  void restoreDhcpAddress();
  // Checks the PC's address (by its host name) and offers the switch.
  void verifyLocalAddress(const std::string& hostName);
  bool staticAddressSet() const { return staticSet_; }

 private:
  // Runs one command; false when it did not run to its end (told in a box).
  bool run(const std::string& commandLine, std::string& output);

  Context context_;
  Prompts& prompts_;
  std::unique_ptr<NetworkCommands> commands_;
  std::string connectionName_;
  // The last setStaticAddress ran the switch (found a connection).
  bool switched_ = false;
  // The switch was made and confirmed: undone at shutdown.
  bool staticSet_ = false;
  bool lastRunTimedOut_ = false;
};
