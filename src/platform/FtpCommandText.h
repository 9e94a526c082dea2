// Parses the command texts given to the FTP component. Shared by the real
// and the simulated FTP client so both refuse exactly the same texts.
//
//   GET <remote> <local>
//   PUT <local> <remote>
//   DELETE <remote>
//   COMPARE <remote> <local>   the modem's file read and compared byte for
//                              byte with the local one, nothing stored
//   CLOSE
//
// Words are separated by one or more blanks (leading and trailing blanks are
// ignored). A local path may be enclosed in double quotes and may then hold
// blanks; every other word is a bare token without blanks or quotes. Verbs
// are upper case only: the tool sends fixed upper-case texts, so anything
// else is a programming error worth surfacing. Control characters are
// refused anywhere, since a CR or LF in a path would inject FTP commands.
#pragma once

#include <string>

struct FtpCommand {
  enum Kind { Get, Put, Delete, Close, Compare } kind = Close;
  std::string remote;
  std::string local;
  // The local path goes into the text in double quotes; a bare name (the
  // PIC file) does not.
  bool localQuoted = true;

  static FtpCommand MakeGet(std::string remote, std::string local) {
    return {Kind::Get, std::move(remote), std::move(local), true};
  }
  static FtpCommand MakePut(std::string local, std::string remote, bool quoted = true) {
    return {Kind::Put, std::move(remote), std::move(local), quoted};
  }
  static FtpCommand MakeDelete(std::string remote) { return {Kind::Delete, std::move(remote), {}}; }
  static FtpCommand MakeCompare(std::string remote, std::string local) {
    return {Kind::Compare, std::move(remote), std::move(local), true};
  }
  bool movesFile() const { return kind != Kind::Delete && kind != Kind::Close; }
};

// Error number of PlatformError for a malformed command text.
inline constexpr int kFtpCommandInvalid = 87;

// Throws PlatformError(kFtpCommandInvalid, ...) on malformed text.
FtpCommand ParseFtpCommand(const std::string& text);
// Can a local path go into a command text? Not with a double quote or a
// control character in it.
bool LocalPathFits(std::string_view path);
// The command as the FTP component takes it: GET /bin/kova.bin "local".
std::string FtpCommandText(const FtpCommand& command);
