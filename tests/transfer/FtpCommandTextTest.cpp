#include "platform/FtpCommandText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace {

// The roads send the texts of every kind; here blanks in paths, between
// and around the words, and paths that are not ASCII.
TEST(FtpCommandText, TheTextsTheChainsSend) {
  struct Row {
    std::string text;
    FtpCommand::Kind kind;
    std::string remote;
    std::string local;
  };
  const Row rows[] = {
      {"PUT \"C:\\Kova Tool\\chk_2_6_0_1.txt\" /checksum.txt", FtpCommand::Put, "/checksum.txt",
       "C:\\Kova Tool\\chk_2_6_0_1.txt"},
      // Blanks inside quotes are kept as they are.
      {"  GET   /checksum.txt    \"a  b\"  ", FtpCommand::Get, "/checksum.txt", "a  b"},
      {"GET /bin/kova.bin \"/home/j\xC3\xB6rg/kova.bin\"", FtpCommand::Get, "/bin/kova.bin",
       "/home/j\xC3\xB6rg/kova.bin"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    const FtpCommand c = ParseFtpCommand(r.text);
    EXPECT_EQ(c.kind, r.kind);
    EXPECT_EQ(c.remote, r.remote);
    EXPECT_EQ(c.local, r.local);
  }
}

// Anything else is refused before the server, with the reason; the message
// shows an offending control byte instead of emitting it.
TEST(FtpCommandText, EverythingElseIsRefusedWithTheReason) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> rows = {
      {"unbalanced quote", {"GET /bin/kova.bin \"unterminated"}},
      // Quotes are only for whole local paths.
      {"", {"GET /bin/kova.bin \"a\"b", "GET /bin/kova.bin a\"b\"", "PUT \"a\"\"b\" /pic.hex",
            "GET /bin/kova.bin \"\"", "DELETE \"/config.txt\""}},
      // A quoted remote usually means the arguments were swapped.
      {"remote", {"PUT /bin/kova.bin \"/home/u/kova.bin\""}},
      {"", {"GET /bin/kova.bin", "GET", "PUT pic.hex", "DELETE", "", "   "}},
      {"too many arguments",
       {"GET /a b c", "PUT \"x y\" /pic.hex extra", "DELETE /a /b", "CLOSE now"}},
      {"unknown command", {"get /a b", "Close", "DEL /a", "RETR /a b", "\"GET\" /a b", "GET/a b"}},
      {"/a\\r\\nDELE", {"DELETE /a\r\nDELE /b"}},
      {"control character", {"GET /bin/kova.bin \"a\rb\"", "PUT pic.hex /pic.hex\n",
                             std::string("DELETE /a\0b", 11), "GET\t/a b", "CLOSE\x7f"}},
  };
  for (const auto& [reason, texts] : rows) {
    for (const std::string& text : texts) {
      SCOPED_TRACE(text);
      try {
        ParseFtpCommand(text);
        ADD_FAILURE() << "accepted";
      } catch (const PlatformError& e) {
        EXPECT_EQ(e.number, kFtpCommandInvalid);
        const std::string message = e.what();
        EXPECT_NE(message.find(reason), std::string::npos) << message;
        EXPECT_EQ(message.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
      }
    }
  }
}

}  // namespace
