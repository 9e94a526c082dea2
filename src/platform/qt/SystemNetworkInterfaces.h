// The PC's network interfaces as Linux shows them: the neighbour table in
// /proc/net/arp, the link state and the reverse-path filter under /sys and
// /proc, binding with SO_BINDTODEVICE.
//
// On Windows the same answers would come from GetIpNetTable2 (the
// neighbour table), GetIfEntry2 (MediaConnectState), and binding by
// IP_UNICAST_IF with the interface index (libcurl: CURLOPT_INTERFACE with
// the interface's address); Windows has no reverse-path filter to read.
#pragma once

#include <string>

#include "platform/Platform.h"

class SystemNetworkInterfaces : public NetworkInterfaces {
 public:
  std::string bindProblem(const std::string& interfaceName) override;
  int index(const std::string& interfaceName) override;
  std::string hardwareAddress(const std::string& address,
                              const std::string& interfaceName) override;
  std::string routeInterface(const std::string& address) override;
  std::optional<bool> carrier(const std::string& interfaceName) override;
  std::optional<int> reversePathFilter(const std::string& interfaceName) override;

  // Binds a socket to the interface; empty when done, else why not.
  static std::string bindSocket(int fd, const std::string& interfaceName);
  // The hardware address for address on the interface named device (as
  // the kernel names it) in the text of /proc/net/arp; empty when none is
  // complete, or no device is named.
  static std::string FindInArpTable(const std::string& table, const std::string& address,
                                    const std::string& device);
};
