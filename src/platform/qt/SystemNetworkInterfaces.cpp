#include "platform/qt/SystemNetworkInterfaces.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {
// An interface name is a path component under /sys and /proc: nothing else.
bool PlainName(const std::string& name) {
  if (name.empty() || name.size() > 15 || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](unsigned char c) {
    return c == '/' || c <= ' ' || c == ',' || c >= 0x7f;
  });
}

std::optional<std::string> FirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  if (!in || !std::getline(in, line)) return std::nullopt;
  return line;
}

std::optional<int> Number(const std::string& path) {
  auto line = FirstLine(path);
  if (!line || line->empty() || !std::isdigit(static_cast<unsigned char>((*line)[0])))
    return std::nullopt;
  return std::atoi(line->c_str());
}
}  // namespace

std::string SystemNetworkInterfaces::bindSocket(int fd, const std::string& interfaceName) {
  if (!PlainName(interfaceName)) return "\"" + interfaceName + "\" is no interface name";
#ifdef SO_BINDTODEVICE
  if (::setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, interfaceName.c_str(),
                   static_cast<socklen_t>(interfaceName.size())) == 0)
    return {};
  const int err = errno;
  if (err == ENODEV) return "there is no interface " + interfaceName;
  if (err == EPERM || err == EACCES)
    return "binding to " + interfaceName + " is not permitted (it needs CAP_NET_RAW, e.g. root)";
  return "cannot bind to " + interfaceName + ": " + std::strerror(err);
#else
  (void)fd;
  return "binding to an interface is not supported here";
#endif
}

std::string SystemNetworkInterfaces::bindProblem(const std::string& interfaceName) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return std::string("cannot open a socket: ") + std::strerror(errno);
  std::string problem = bindSocket(fd, interfaceName);
  ::close(fd);
  return problem;
}

std::string SystemNetworkInterfaces::FindInArpTable(const std::string& table,
                                                    const std::string& address,
                                                    const std::string& interfaceName) {
  // IP address  HW type  Flags  HW address  Mask  Device
  std::istringstream lines(table);
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string ip, type, flags, mac, mask, device;
    if (!(fields >> ip >> type >> flags >> mac >> mask >> device)) continue;
    if (ip != address || (!interfaceName.empty() && device != interfaceName)) continue;
    // 0x2: a complete entry; an incomplete one shows 00:00:00:00:00:00.
    if ((std::strtol(flags.c_str(), nullptr, 16) & 0x2) == 0) continue;
    if (mac.size() != 17) continue;
    std::transform(mac.begin(), mac.end(), mac.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return mac;
  }
  return {};
}

std::string SystemNetworkInterfaces::hardwareAddress(const std::string& address,
                                                     const std::string& interfaceName) {
  std::ifstream in("/proc/net/arp");
  if (!in) return {};
  std::ostringstream table;
  table << in.rdbuf();
  return FindInArpTable(table.str(), address, interfaceName);
}

std::optional<bool> SystemNetworkInterfaces::carrier(const std::string& interfaceName) {
  if (!PlainName(interfaceName)) return std::nullopt;
  // Reading it fails (EINVAL) while the interface is down: no link either.
  const std::string dir = "/sys/class/net/" + interfaceName;
  if (!std::ifstream(dir + "/operstate")) return std::nullopt;
  auto value = Number(dir + "/carrier");
  return value ? *value == 1 : false;
}

std::optional<int> SystemNetworkInterfaces::reversePathFilter(const std::string& interfaceName) {
  if (!PlainName(interfaceName)) return std::nullopt;
  // The kernel applies the higher of the two.
  auto all = Number("/proc/sys/net/ipv4/conf/all/rp_filter");
  auto own = Number("/proc/sys/net/ipv4/conf/" + interfaceName + "/rp_filter");
  if (!all && !own) return std::nullopt;
  return std::max(all.value_or(0), own.value_or(0));
}
