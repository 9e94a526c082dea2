#include "platform/FtpCommandText.h"

#include <cstdio>
#include <vector>

#include "platform/Platform.h"

namespace {

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// The text as it can be shown in a message: control characters escaped.
std::string printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (isControl(c)) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

[[noreturn]] void refuse(const std::string& text, const std::string& why) {
  throw PlatformError(kFtpCommandInvalid,
                      "Invalid FTP command \"" + printable(text) + "\": " + why);
}

struct Word {
  std::string text;
  bool quoted = false;
};

std::vector<Word> split(const std::string& text) {
  std::vector<Word> words;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    Word w;
    if (text[i] == '"') {
      std::size_t close = text.find('"', i + 1);
      if (close == std::string::npos) refuse(text, "unbalanced quote");
      if (close + 1 < n && text[close + 1] != ' ')
        refuse(text, "quote inside a path");
      w.text = text.substr(i + 1, close - i - 1);
      w.quoted = true;
      i = close + 1;
    } else {
      std::size_t end = text.find(' ', i);
      if (end == std::string::npos) end = n;
      w.text = text.substr(i, end - i);
      if (w.text.find('"') != std::string::npos)
        refuse(text, "quote inside a path");
      i = end;
    }
    words.push_back(std::move(w));
  }
  return words;
}

}  // namespace

FtpCommand ParseFtpCommand(const std::string& text) {
  for (unsigned char c : text)
    if (isControl(c)) refuse(text, "control character");

  std::vector<Word> words = split(text);
  if (words.empty()) refuse(text, "empty command");
  if (words[0].quoted) refuse(text, "unknown command");

  const std::string& verb = words[0].text;
  FtpCommand cmd;
  std::size_t arity = 0;
  if (verb == "GET") {
    cmd.kind = FtpCommand::Get;
    arity = 2;
  } else if (verb == "PUT") {
    cmd.kind = FtpCommand::Put;
    arity = 2;
  } else if (verb == "DELETE") {
    cmd.kind = FtpCommand::Delete;
    arity = 1;
  } else if (verb == "COMPARE") {
    cmd.kind = FtpCommand::Compare;
    arity = 2;
  } else if (verb == "CLOSE") {
    cmd.kind = FtpCommand::Close;
    arity = 0;
  } else {
    refuse(text, "unknown command");
  }
  if (words.size() - 1 < arity) refuse(text, "missing argument");
  if (words.size() - 1 > arity) refuse(text, "too many arguments");

  auto remote = [&](const Word& w) {
    if (w.quoted) refuse(text, "remote path must not be quoted");
    return w.text;
  };
  auto local = [&](const Word& w) {
    if (w.text.empty()) refuse(text, "empty local path");
    return w.text;
  };
  switch (cmd.kind) {
    case FtpCommand::Get:
    case FtpCommand::Compare:
      cmd.remote = remote(words[1]);
      cmd.local = local(words[2]);
      cmd.localQuoted = words[2].quoted;
      break;
    case FtpCommand::Put:
      cmd.local = local(words[1]);
      cmd.localQuoted = words[1].quoted;
      cmd.remote = remote(words[2]);
      break;
    case FtpCommand::Delete:
      cmd.remote = remote(words[1]);
      break;
    case FtpCommand::Close:
      break;
  }
  return cmd;
}

std::string FtpCommandText(const FtpCommand& command) {
  const std::string local =
      command.localQuoted ? "\"" + command.local + "\"" : command.local;
  switch (command.kind) {
    case FtpCommand::Get:
      return "GET " + command.remote + " " + local;
    case FtpCommand::Put:
      return "PUT " + local + " " + command.remote;
    case FtpCommand::Delete:
      return "DELETE " + command.remote;
    case FtpCommand::Compare:
      return "COMPARE " + command.remote + " " + local;
    case FtpCommand::Close:
      break;
  }
  return "CLOSE";
}

bool LocalPathFits(std::string_view path) {
  for (unsigned char c : path)
    if (c == '"' || isControl(c)) return false;
  return true;
}
