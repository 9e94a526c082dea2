#include "transfer/FtpCommandText.h"

#include <vector>

#include "platform/Platform.h"

// Provisional: replaced by the full parser.
FtpCommand ParseFtpCommand(const std::string& text) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') { ++i; continue; }
    if (text[i] == '"') {
      auto e = text.find('"', i + 1);
      if (e == std::string::npos) throw PlatformError(87, "Unbalanced quote in FTP command");
      tokens.push_back(text.substr(i + 1, e - i - 1));
      i = e + 1;
    } else {
      auto e = text.find(' ', i);
      if (e == std::string::npos) e = text.size();
      tokens.push_back(text.substr(i, e - i));
      i = e;
    }
  }
  FtpCommand c;
  if (tokens.size() == 1 && tokens[0] == "CLOSE") return c;
  if (tokens.size() == 2 && tokens[0] == "DELETE") { c.kind = FtpCommand::Delete; c.remote = tokens[1]; return c; }
  if (tokens.size() == 3 && tokens[0] == "GET") { c.kind = FtpCommand::Get; c.remote = tokens[1]; c.local = tokens[2]; return c; }
  if (tokens.size() == 3 && tokens[0] == "PUT") { c.kind = FtpCommand::Put; c.local = tokens[1]; c.remote = tokens[2]; return c; }
  throw PlatformError(87, "Malformed FTP command: " + text);
}
