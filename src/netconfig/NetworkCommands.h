// The console commands that list the PC's network connections and switch
// one of them between the modem's static address and automatic addressing.
// One implementation per operating system's tool.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

class NetworkCommands {
 public:
  virtual ~NetworkCommands() = default;
  // Lists the connections; its output goes to findConnection.
  virtual std::string listCommand() const = 0;
  // The connection to switch, in double quotes as the command lines take
  // it; nullopt when the listing names none to use.
  virtual std::optional<std::string> findConnection(const std::string& listing) const = 0;
  // Run in order; their output is not examined.
  virtual std::vector<std::string> setStaticCommands(const std::string& quotedName) const = 0;
  virtual std::vector<std::string> setDhcpCommands(const std::string& quotedName) const = 0;
};

// Windows: netsh, the connection whose name contains "Local Area".
std::unique_ptr<NetworkCommands> MakeNetshCommands();
// Linux: NetworkManager's nmcli, the wired Ethernet connection.
std::unique_ptr<NetworkCommands> MakeNmcliCommands();
// The one for the system the program was built for.
std::unique_ptr<NetworkCommands> MakeSystemNetworkCommands();
