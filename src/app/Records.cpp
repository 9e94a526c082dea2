#include "app/Records.h"

namespace {
// The passwords a connection string can carry, as typed.
std::vector<std::string> Passwords(const std::string& url) {
  std::vector<std::string> found;
  const auto scheme = url.find("://");
  if (scheme != std::string::npos) {
    const std::size_t start = scheme + 3;
    const std::size_t end = std::min(url.find_first_of("/?", start), url.size());
    const std::string authority = url.substr(start, end - start);
    const auto at = authority.rfind('@');
    if (at != std::string::npos) {
      const auto colon = authority.find(':');
      if (colon < at) found.push_back(authority.substr(colon + 1, at - colon - 1));
    }
  }
  // password=... in a query or in key=value pairs, quoted or not.
  for (std::size_t at = url.find("password"); at != std::string::npos;
       at = url.find("password", at + 1)) {
    std::size_t value = url.find_first_not_of(' ', at + 8);
    if (value == std::string::npos || url[value] != '=') continue;
    value = url.find_first_not_of(' ', value + 1);
    if (value == std::string::npos) continue;
    std::size_t end;
    if (url[value] == '\'') {
      ++value;
      end = url.find('\'', value);
    } else {
      end = url.find_first_of(" &", value);
    }
    found.push_back(url.substr(value, (end == std::string::npos ? url.size() : end) - value));
  }
  return found;
}
}  // namespace

std::string HidePassword(std::string text, const std::string& url) {
  for (const auto& password : Passwords(url)) {
    if (password.empty()) continue;
    for (auto at = text.find(password); at != std::string::npos; at = text.find(password, at + 3))
      text.replace(at, password.size(), "***");
  }
  return text;
}

std::optional<std::vector<HistoryEntry>> ReadRecords(Platform& platform, const std::string& url,
                                                     const std::string& since,
                                                     const std::string& until, std::string& error) {
  auto database = platform.createRecordsDatabase(url);
  if (!database) {
    error = "this build of the program has no records database";
    return std::nullopt;
  }
  auto rows = database->read(since, until, error);
  if (!rows) {
    error = HidePassword(error, url);
    return std::nullopt;
  }
  std::vector<HistoryEntry> entries;
  for (const auto& row : *rows)
    if (auto entry = HistoryEntryFromLine(row)) entries.push_back(std::move(*entry));
  return entries;
}
