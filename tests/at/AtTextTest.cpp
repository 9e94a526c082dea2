#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "at/AtText.h"

namespace {

TEST(DnsReply, AddressesFollowTheirLabelsAndEndAtCr) {
  auto a = ParseDnsReply("+IHIP\r\nDNS: 10.0.0.1\r\nDNS2: 10.0.0.2\r\nOK\r\n");
  EXPECT_EQ(a.primary, "10.0.0.1");
  EXPECT_EQ(a.secondary, "10.0.0.2");
  // With a CR the address is taken as it stands, blanks included.
  a = ParseDnsReply("DNS:  1.1.1.1 \rDNS2:2.2.2.2\r");
  EXPECT_EQ(a.primary, " 1.1.1.1 ");
  EXPECT_EQ(a.secondary, ".2.2.2");
}

TEST(DnsReply, MissingCrTakesTheLineToItsEnd) {
  auto a = ParseDnsReply("DNS: 1.1.1.1\nDNS2: 2.2.2.2 \n");
  EXPECT_EQ(a.primary, "1.1.1.1");
  EXPECT_EQ(a.secondary, "2.2.2.2");
  a = ParseDnsReply("DNS: 1.1.1.1\r\nDNS2: 2.2.2.2");
  EXPECT_EQ(a.secondary, "2.2.2.2");
}

TEST(DnsReply, ShortOrOddRepliesNeverReadPastTheEnd) {
  for (const char* r : {"DNS", "DNS2", "DNS: ", "xxDNS2: ", "DNS: 1\r\nDNS2", "DNS2: 5.5.5.5\r\n"}) {
    SCOPED_TRACE(r);
    auto a = ParseDnsReply(r);
    EXPECT_EQ(a.secondary, "");
  }
  EXPECT_EQ(ParseDnsReply("DNS2: 5.5.5.5\r\n").primary, " 5.5.5.5");
  EXPECT_EQ(ParseDnsReply("nothing").primary, "");
}

TEST(DnsCommand, BytesAndRefusedCharacters) {
  EXPECT_EQ(DnsWriteCommand("DNS", "10.0.0.1"), "AT_IHIP=\"DNS\",\"10.0.0.1\"\r\n");
  EXPECT_EQ(DnsWriteCommand("DNS2", ""), "AT_IHIP=\"DNS2\",\"\"\r\n");
  EXPECT_EQ(DnsWriteCommand("DNS", "\xC3\xA9"), "AT_IHIP=\"DNS\",\"\xE9\"\r\n");
  EXPECT_TRUE(SendableDnsText(""));
  EXPECT_TRUE(SendableDnsText("any text, 999.1 ;'\xC3\xBF"));
  for (std::string bad : std::vector<std::string>{"a\"b", "a\rb", "a\nb", std::string("a\0b", 3), "\x7F", "\xC2\x85",
                          "\xE2\x82\xAC", "\xC3", "\xFF"})
    EXPECT_FALSE(SendableDnsText(bad)) << bad;
}

}  // namespace
