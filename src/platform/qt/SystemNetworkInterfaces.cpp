#include "platform/qt/SystemNetworkInterfaces.h"

#include <arpa/inet.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <sys/time.h>
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

// The interface the kernel routes IPv4 address through, as `ip route get`
// tells it (policy rules included); 0 when there is no route.
unsigned RouteInterface(const std::string& address) {
  in_addr destination{};
  if (::inet_pton(AF_INET, address.c_str(), &destination) != 1) return 0;
  const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
  if (fd < 0) return 0;
  const timeval limit{1, 0};  // the kernel answers at once; never hang on it
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  struct {
    nlmsghdr header;
    rtmsg route;
    char attributes[32];
  } request{};
  request.header.nlmsg_len = NLMSG_LENGTH(sizeof(rtmsg));
  request.header.nlmsg_type = RTM_GETROUTE;
  request.header.nlmsg_flags = NLM_F_REQUEST;
  request.header.nlmsg_seq = 1;
  request.route.rtm_family = AF_INET;
  request.route.rtm_dst_len = 32;
  auto* destinationAttribute = reinterpret_cast<rtattr*>(
      reinterpret_cast<char*>(&request) + NLMSG_ALIGN(request.header.nlmsg_len));
  destinationAttribute->rta_type = RTA_DST;
  destinationAttribute->rta_len = RTA_LENGTH(sizeof destination);
  std::memcpy(RTA_DATA(destinationAttribute), &destination, sizeof destination);
  request.header.nlmsg_len =
      NLMSG_ALIGN(request.header.nlmsg_len) + RTA_ALIGN(destinationAttribute->rta_len);
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  unsigned found = 0;
  if (::sendto(fd, &request, request.header.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel),
               sizeof kernel) >= 0) {
    alignas(nlmsghdr) char reply[8192];
    ssize_t n;
    do n = ::recv(fd, reply, sizeof reply, 0);
    while (n < 0 && errno == EINTR);
    int left = static_cast<int>(n);
    for (auto* h = reinterpret_cast<nlmsghdr*>(reply); n > 0 && NLMSG_OK(h, left);
         h = NLMSG_NEXT(h, left)) {
      if (h->nlmsg_type != RTM_NEWROUTE) continue;
      auto* route = static_cast<rtmsg*>(NLMSG_DATA(h));
      int length = static_cast<int>(RTM_PAYLOAD(h));
      for (auto* a = RTM_RTA(route); RTA_OK(a, length); a = RTA_NEXT(a, length))
        if (a->rta_type == RTA_OIF) std::memcpy(&found, RTA_DATA(a), sizeof found);
    }
  }
  ::close(fd);
  return found;
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
                                                    const std::string& device) {
  if (device.empty()) return {};
  // IP address  HW type  Flags  HW address  Mask  Device
  std::istringstream lines(table);
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string ip, type, flags, mac, mask, name;
    if (!(fields >> ip >> type >> flags >> mac >> mask >> name)) continue;
    if (ip != address || name != device) continue;
    // 0x2: a complete entry; an incomplete one shows 00:00:00:00:00:00.
    if ((std::strtol(flags.c_str(), nullptr, 16) & 0x2) == 0) continue;
    if (mac.size() != 17) continue;
    std::transform(mac.begin(), mac.end(), mac.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return mac;
  }
  return {};
}

int SystemNetworkInterfaces::index(const std::string& interfaceName) {
  if (!PlainName(interfaceName)) return 0;
  return static_cast<int>(::if_nametoindex(interfaceName.c_str()));
}

std::string SystemNetworkInterfaces::hardwareAddress(const std::string& address,
                                                     const std::string& interfaceName) {
  // The interface the connection went through, by the name the kernel
  // gives it in the table (an alternative name is not shown there).
  const unsigned used =
      interfaceName.empty() ? RouteInterface(address) : static_cast<unsigned>(index(interfaceName));
  char device[IF_NAMESIZE] = {};
  if (used == 0 || !::if_indextoname(used, device)) return {};
  std::ifstream in("/proc/net/arp");
  if (!in) return {};
  std::ostringstream table;
  table << in.rdbuf();
  return FindInArpTable(table.str(), address, device);
}

std::string SystemNetworkInterfaces::routeInterface(const std::string& address) {
  char device[IF_NAMESIZE] = {};
  const unsigned used = RouteInterface(address);
  if (used == 0 || !::if_indextoname(used, device)) return {};
  return device;
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
