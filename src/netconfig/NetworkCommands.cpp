#include "netconfig/NetworkCommands.h"

namespace {

class NetshCommands : public NetworkCommands {
 public:
  std::string listCommand() const override { return "netsh interface ip show address"; }

  // netsh prints the name in quotes: cut from the character before
  // "Local Area" to the next quote, both quotes kept.
  std::optional<std::string> findConnection(const std::string& listing) const override {
    auto p = listing.find("Local Area");
    // Nothing before it to stand for the opening quote: no usable name.
    if (p == std::string::npos || p == 0) return std::nullopt;
    std::string cut = listing.substr(p - 1);
    auto k = cut.find('"', 4);
    if (k == std::string::npos) return std::string();
    return cut.substr(0, k + 1);
  }

  std::vector<std::string> setStaticCommands(const std::string& name) const override {
    return {"netsh interface ip set address " + name +
            " static 192.168.128.101 255.255.255.0 192.168.128.100 1"};
  }

  std::vector<std::string> setDhcpCommands(const std::string& name) const override {
    return {"netsh interface ip set address " + name + " dhcp"};
  }
};

// Splits one line of nmcli's terse output: fields separated by ':', with
// ':' and '\' inside a value escaped by '\'.
std::vector<std::string> TerseFields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\\' && i + 1 < line.size()) {
      fields.back() += line[++i];
    } else if (c == ':') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

class NmcliCommands : public NetworkCommands {
 public:
  std::string listCommand() const override {
    return "nmcli -t -f NAME,TYPE,DEVICE connection show";
  }

  // The wired Ethernet connection stands for the "Local Area" one: the
  // first that is active on a device, else the first wired profile at all
  // (one whose activation failed on the modem's link is not active).
  std::optional<std::string> findConnection(const std::string& listing) const override {
    std::optional<std::string> active, any;
    std::size_t start = 0;
    while (start < listing.size()) {
      auto end = listing.find('\n', start);
      if (end == std::string::npos) end = listing.size();
      std::string line = listing.substr(start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      auto fields = TerseFields(line);
      if (fields.size() != 3) continue;
      const std::string& name = fields[0];
      if (fields[1] != "802-3-ethernet" && fields[1] != "ethernet") continue;
      // A quote could not be passed inside the quoted argument.
      if (name.empty() || name.find('"') != std::string::npos) continue;
      std::string quoted = "\"" + name + "\"";
      if (!any) any = quoted;
      if (!fields[2].empty() && fields[2] != "--") {
        active = quoted;
        break;
      }
    }
    return active ? active : any;
  }

  std::vector<std::string> setStaticCommands(const std::string& name) const override {
    return {"nmcli connection modify id " + name +
                " ipv4.method manual ipv4.addresses 192.168.128.101/24"
                " ipv4.gateway 192.168.128.100",
            // The re-check follows at once: wait for the activation, but
            // not for ever (nmcli's own default is 90 s).
            "nmcli --wait 15 connection up id " + name};
  }

  std::vector<std::string> setDhcpCommands(const std::string& name) const override {
    return {"nmcli connection modify id " + name +
                " ipv4.method auto ipv4.addresses \"\" ipv4.gateway \"\"",
            // Runs while the window closes: no wait for a lease.
            "nmcli --wait 0 connection up id " + name};
  }
};

}  // namespace

std::unique_ptr<NetworkCommands> MakeNetshCommands() { return std::make_unique<NetshCommands>(); }
std::unique_ptr<NetworkCommands> MakeNmcliCommands() { return std::make_unique<NmcliCommands>(); }

std::unique_ptr<NetworkCommands> MakeSystemNetworkCommands() {
#ifdef _WIN32
  return MakeNetshCommands();
#else
  return MakeNmcliCommands();
#endif
}
