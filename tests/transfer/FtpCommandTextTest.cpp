#include "platform/FtpCommandText.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace {

int errorNumber(const std::string& text) {
  try {
    ParseFtpCommand(text);
  } catch (const PlatformError& e) {
    return e.number;
  }
  return 0;
}

std::string errorText(const std::string& text) {
  try {
    ParseFtpCommand(text);
  } catch (const PlatformError& e) {
    return e.what();
  }
  return {};
}

TEST(FtpCommandText, TheTextsTheChainsSend) {
  FtpCommand c = ParseFtpCommand(
      "GET /bin/kova.bin \"/home/u/My Modem/backup/kova_1_2_3_4.bin\"");
  EXPECT_EQ(c.kind, FtpCommand::Get);
  EXPECT_EQ(c.remote, "/bin/kova.bin");
  EXPECT_EQ(c.local, "/home/u/My Modem/backup/kova_1_2_3_4.bin");

  c = ParseFtpCommand("PUT \"C:\\Kova Tool\\chk_2_6_0_1.txt\" /checksum.txt");
  EXPECT_EQ(c.kind, FtpCommand::Put);
  EXPECT_EQ(c.local, "C:\\Kova Tool\\chk_2_6_0_1.txt");
  EXPECT_EQ(c.remote, "/checksum.txt");

  c = ParseFtpCommand("PUT pic.hex /pic.hex");
  EXPECT_EQ(c.kind, FtpCommand::Put);
  EXPECT_EQ(c.local, "pic.hex");
  EXPECT_EQ(c.remote, "/pic.hex");

  c = ParseFtpCommand("GET /ram0/syslog.log /tmp/syslog.log");
  EXPECT_EQ(c.kind, FtpCommand::Get);
  EXPECT_EQ(c.local, "/tmp/syslog.log");

  c = ParseFtpCommand("DELETE /config.txt");
  EXPECT_EQ(c.kind, FtpCommand::Delete);
  EXPECT_EQ(c.remote, "/config.txt");
  EXPECT_TRUE(c.local.empty());

  c = ParseFtpCommand("CLOSE");
  EXPECT_EQ(c.kind, FtpCommand::Close);
  EXPECT_TRUE(c.remote.empty());
}

TEST(FtpCommandText, BlanksBetweenAndAroundWords) {
  FtpCommand c = ParseFtpCommand("  GET   /checksum.txt    \"a  b\"  ");
  EXPECT_EQ(c.remote, "/checksum.txt");
  EXPECT_EQ(c.local, "a  b");  // blanks inside quotes are kept as they are
  EXPECT_EQ(ParseFtpCommand(" CLOSE ").kind, FtpCommand::Close);
}

TEST(FtpCommandText, QuotesAreOnlyForWholeLocalPaths) {
  EXPECT_EQ(errorNumber("GET /bin/kova.bin \"unterminated"), kFtpCommandInvalid);
  EXPECT_NE(errorText("GET /bin/kova.bin \"unterminated").find("unbalanced quote"),
            std::string::npos);
  EXPECT_EQ(errorNumber("GET /bin/kova.bin \"a\"b"), kFtpCommandInvalid);
  EXPECT_EQ(errorNumber("GET /bin/kova.bin a\"b\""), kFtpCommandInvalid);
  EXPECT_EQ(errorNumber("PUT \"a\"\"b\" /pic.hex"), kFtpCommandInvalid);
  EXPECT_EQ(errorNumber("GET /bin/kova.bin \"\""), kFtpCommandInvalid);
  // A quoted remote usually means the arguments were swapped.
  EXPECT_NE(errorText("PUT /bin/kova.bin \"/home/u/kova.bin\"").find("remote"),
            std::string::npos);
  EXPECT_EQ(errorNumber("DELETE \"/config.txt\""), kFtpCommandInvalid);
}

TEST(FtpCommandText, WrongWordCounts) {
  for (const char* text : {"GET /bin/kova.bin", "GET", "PUT pic.hex", "DELETE",
                           "", "   "})
    EXPECT_NE(errorNumber(text), 0) << text;
  for (const char* text : {"GET /a b c", "PUT \"x y\" /pic.hex extra",
                           "DELETE /a /b", "CLOSE now"})
    EXPECT_NE(errorText(text).find("too many arguments"), std::string::npos) << text;
}

TEST(FtpCommandText, UnknownVerbsAndLowerCase) {
  for (const char* text : {"get /a b", "Close", "DEL /a", "RETR /a b",
                           "\"GET\" /a b", "GET/a b"})
    EXPECT_NE(errorText(text).find("unknown command"), std::string::npos) << text;
}

TEST(FtpCommandText, ControlCharactersAnywhereAreRefused) {
  const std::string texts[] = {
      "DELETE /config.txt\r\nDELE /bin/kova.bin",
      "GET /bin/kova.bin \"a\rb\"",
      "PUT pic.hex /pic.hex\n",
      std::string("DELETE /a\0b", 11),
      "GET\t/a b",
      "CLOSE\x7f",
  };
  for (const std::string& text : texts) {
    EXPECT_EQ(errorNumber(text), kFtpCommandInvalid);
    // The message shows the offending byte instead of emitting it.
    std::string message = errorText(text);
    EXPECT_NE(message.find("control character"), std::string::npos);
    for (char c : message) EXPECT_FALSE(c == '\r' || c == '\n' || c == '\0');
  }
  EXPECT_NE(errorText("DELETE /a\r\nDELE /b").find("/a\\r\\nDELE"), std::string::npos);
}

TEST(FtpCommandText, NonAsciiPathsPass) {
  FtpCommand c = ParseFtpCommand("GET /bin/kova.bin \"/home/j\xC3\xB6rg/kova.bin\"");
  EXPECT_EQ(c.local, "/home/j\xC3\xB6rg/kova.bin");
}

}  // namespace
