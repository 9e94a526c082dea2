// Parses the command texts given to the FTP component.
#pragma once

#include <string>

struct FtpCommand {
  enum Kind { Get, Put, Delete, Close } kind = Close;
  std::string remote;
  std::string local;
};

// Throws PlatformError on malformed text.
FtpCommand ParseFtpCommand(const std::string& text);
