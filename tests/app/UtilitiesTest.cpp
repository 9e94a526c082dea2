#include <gtest/gtest.h>

#include <map>

#include "app/Settings.h"
#include "core/TextUtilities.h"

using namespace std::string_literals;

TEST(ReplaceChar, SwapsVersionFormsAndIgnoresLongFinds) {
  EXPECT_EQ(ReplaceChar("1_2_3_4", "_", "."), "1.2.3.4");
  EXPECT_EQ(ReplaceChar("5.2.0.12", ".", "_"), "5_2_0_12");
  EXPECT_EQ(ReplaceChar("", "_", "."), "");
  EXPECT_EQ(ReplaceChar("a__b", "__", "."), "a__b");  // never matches
  EXPECT_EQ(ReplaceChar("a_b", "_", ".x"), "a.b");    // first character only
  EXPECT_EQ(ReplaceChar("a_b", "_", ""), "a_b");
}

TEST(ExtractVersion, KeepsDigitsAndDotsBeforeTheFirstComma) {
  EXPECT_EQ(ExtractVersion("3.1.0.12,rel"), "3.1.0.12");
  EXPECT_EQ(ExtractVersion("v3a.1,x"), "3.1");
  EXPECT_EQ(ExtractVersion("V2.1.0.3,build 7"), "2.1.0.3");
  EXPECT_EQ(ExtractVersion(",5.5"), "");
  // Without a comma the whole text is filtered.
  EXPECT_EQ(ExtractVersion("5.2.0.12 build 7"), "5.2.0.127");
  EXPECT_EQ(ExtractVersion(""), "");
}

TEST(BytesToLong, BigEndianAndBoundedToTheBuffer) {
  EXPECT_EQ(BytesToLong("\x00\x00\x10\x04"s, 4, 0), 4100);
  EXPECT_EQ(BytesToLong("\x01\x02"s, 0, 0), 0);
  EXPECT_EQ(BytesToLong("\x01\x02"s, -3, 0), 0);
  EXPECT_EQ(BytesToLong("\x10\x04"s, 4, 0), 0x1004);  // only the bytes present
  EXPECT_EQ(BytesToLong(""s, 4, 0), 0);
  EXPECT_EQ(BytesToLong("\x00\x10\x04"s, 2, 1), 0x1004);
  EXPECT_EQ(BytesToLong("\x01"s, 4, 7), 0);
  EXPECT_EQ(BytesToLong("\x01"s, 4, -1), 0);
  // A first byte of 0x80 or more wraps to a negative value.
  EXPECT_EQ(BytesToLong("\x80\x00\x00\x00"s, 4, 0), INT32_MIN);
  EXPECT_EQ(BytesToLong("\xff\xff\xff\xff"s, 4, 0), -1);
}

TEST(BytesToString, StopsAtZeroAdvancesByCountAndNeverReadsPast) {
  std::string bytes = "1.0\0junk......"s;
  std::int16_t index = 0;
  EXPECT_EQ(BytesToString(bytes, 10, index), "1.0");
  EXPECT_EQ(index, 10);

  index = 2;
  EXPECT_EQ(BytesToString("abcdef", 100, index), "cdef");
  EXPECT_EQ(index, 102);

  index = 3;
  EXPECT_EQ(BytesToString("abc", 0, index), "");
  EXPECT_EQ(index, 3);
  EXPECT_EQ(BytesToString("abc", -5, index), "");
  EXPECT_EQ(index, 3);

  index = -4;
  EXPECT_EQ(BytesToString("abc", 2, index), "");

  index = 32760;  // the index saturates instead of overflowing
  BytesToString("abc", 100, index);
  EXPECT_EQ(index, INT16_MAX);
}

TEST(TextHelpers, TrimAndLatin1) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(LTrim(" 10.0.0.1 "), "10.0.0.1 ");
  EXPECT_EQ(Latin1ToUtf8("caf\xe9"), "caf\xc3\xa9");
  EXPECT_EQ(Latin1ToUtf8("plain"), "plain");
}

TEST(Settings, EnvironmentOverridesAndRefusesMalformedPorts) {
  std::map<std::string, std::string> env;
  auto get = [&](const char* n) -> const char* {
    auto it = env.find(n);
    return it == env.end() ? nullptr : it->second.c_str();
  };
  std::string error;
  auto s = SettingsFromEnvironment(get, error);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->initialAddress, "192.168.128.100");
  EXPECT_EQ(s->zingPort, 1827);
  EXPECT_EQ(s->ftpPort, 21);
  EXPECT_EQ(s->telnetPort, 23);
  EXPECT_EQ(s->atPort, 1829);

  env = {{"KOVA_MODEM_ADDRESS", "127.0.0.5"}, {"KOVA_PORT_ZING", "11827"},
         {"KOVA_PORT_FTP", "10021"}, {"KOVA_PORT_TELNET", "10023"}, {"KOVA_PORT_AT", "65535"}};
  s = SettingsFromEnvironment(get, error);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->initialAddress, "127.0.0.5");
  EXPECT_EQ(s->zingPort, 11827);
  EXPECT_EQ(s->ftpPort, 10021);
  EXPECT_EQ(s->telnetPort, 10023);
  EXPECT_EQ(s->atPort, 65535);

  for (const char* bad : {"", "0", "65536", "21x", " 21", "-1", "99999999999"}) {
    env = {{"KOVA_PORT_FTP", bad}};
    error.clear();
    EXPECT_FALSE(SettingsFromEnvironment(get, error)) << bad;
    EXPECT_NE(error.find("KOVA_PORT_FTP"), std::string::npos);
  }
}

TEST(Settings, ArgumentTextJoinsArguments) {
  const char* argv[] = {"prog", "-u", "/Factory"};
  EXPECT_EQ(JoinArguments(3, argv), "-u /Factory");
  EXPECT_EQ(JoinArguments(1, argv), "");
}
