#include "platform/qt/ProcessStamp.h"

#include <charconv>
#include <optional>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#endif

namespace {
std::optional<std::vector<unsigned long long>> Numbers(const std::string& stamp) {
  std::vector<unsigned long long> out;
  const char* at = stamp.data();
  const char* end = stamp.data() + stamp.size();
  while (at < end) {
    unsigned long long value = 0;
    auto [next, ec] = std::from_chars(at, end, value);
    if (ec != std::errc() || (next < end && *next != '-')) return std::nullopt;
    out.push_back(value);
    at = next < end ? next + 1 : next;
  }
  if (out.size() != 3 || stamp.back() == '-') return std::nullopt;
  return out;
}

#ifdef _WIN32
// The creation time, 0 when there is no such process; nullopt when it
// cannot be told.
std::optional<unsigned long long> StartOf(unsigned long long pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (!process) {
    if (GetLastError() == ERROR_INVALID_PARAMETER) return 0;
    return std::nullopt;
  }
  FILETIME created{}, exited{}, kernel{}, user{};
  DWORD code = 0;
  std::optional<unsigned long long> start;
  if (GetProcessTimes(process, &created, &exited, &kernel, &user) &&
      GetExitCodeProcess(process, &code))
    start = code == STILL_ACTIVE
                ? (static_cast<unsigned long long>(created.dwHighDateTime) << 32) |
                      created.dwLowDateTime
                : 0;
  CloseHandle(process);
  return start;
}
unsigned long long Namespace() { return 0; }
unsigned long long Self() { return GetCurrentProcessId(); }
#else
// The start time since boot in clock ticks, 0 when there is no such process.
std::optional<unsigned long long> StartOf(unsigned long long pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  if (!in) return 0;
  std::stringstream text;
  text << in.rdbuf();
  const std::string line = text.str();
  const auto close = line.rfind(')');  // the command name may hold blanks
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(line.substr(close + 1));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i)
    if (i == 22) return std::stoull(field);
  return std::nullopt;
}
unsigned long long Namespace() {
  struct stat info {};
  return ::stat("/proc/self/ns/pid", &info) == 0 ? static_cast<unsigned long long>(info.st_ino) : 0;
}
unsigned long long Self() { return static_cast<unsigned long long>(::getpid()); }
#endif
}  // namespace

std::string ProcessStamp() {
  static const std::string stamp = std::to_string(Self()) + "-" +
                                   std::to_string(StartOf(Self()).value_or(0)) + "-" +
                                   std::to_string(Namespace());
  return stamp;
}

bool ProcessEnded(const std::string& stamp) {
  const auto numbers = Numbers(stamp);
  if (!numbers || (*numbers)[2] != Namespace()) return false;
  const auto start = StartOf((*numbers)[0]);
  return start && *start != (*numbers)[1];
}
