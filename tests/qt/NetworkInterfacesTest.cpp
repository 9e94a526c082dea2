// The PC's interfaces as Linux shows them.
#include <gtest/gtest.h>

#include "platform/qt/SystemNetworkInterfaces.h"

// The neighbour table is read for the interface a connection went through
// and no other: the same address on another link is another unit.
TEST(SystemNetworkInterfaces, TheMacComesFromTheInterfaceUsedAlone) {
  const std::string table =
      "IP address       HW type     Flags       HW address            Mask     Device\n"
      "192.168.128.100  0x1         0x2         02:00:5e:10:00:02     *        v2\n"
      "192.168.128.100  0x1         0x2         02:00:5E:10:00:01     *        v1\n"
      "192.168.128.100  0x1         0x0         00:00:00:00:00:00     *        v3\n";
  const struct {
    const char* device;
    const char* mac;
  } rows[] = {{"v1", "02:00:5e:10:00:01"}, {"v2", "02:00:5e:10:00:02"}, {"v3", ""}, {"", ""}};
  for (const auto& r : rows)
    EXPECT_EQ(SystemNetworkInterfaces::FindInArpTable(table, "192.168.128.100", r.device), r.mac)
        << r.device;
  SystemNetworkInterfaces system;
  EXPECT_GT(system.index("lo"), 0);
  EXPECT_EQ(system.index("kova-none0"), 0);
  // Loopback is routed through lo, which keeps no neighbours.
  EXPECT_EQ(system.routeInterface("127.0.0.1"), "lo");
  EXPECT_EQ(system.hardwareAddress("127.0.0.1", ""), "");
  for (const char* notAnAddress : {"", "modem.local", "127.0.0.1;x", "256.1.1.1"})
    EXPECT_EQ(system.routeInterface(notAnAddress), "") << notAnAddress;
}
