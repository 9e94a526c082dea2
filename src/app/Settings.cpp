#include "app/Settings.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/Files.h"
#include "core/RegularFile.h"

namespace fs = std::filesystem;

std::optional<Settings> SettingsFromEnvironment(
    const std::function<const char*(const char*)>& getenv, std::string& error) {
  Settings s;
  if (const char* a = getenv("KOVA_MODEM_ADDRESS")) s.initialAddress = a;
  struct Port {
    const char* name;
    int* field;
  } ports[] = {{"KOVA_PORT_ZING", &s.zingPort},
               {"KOVA_PORT_FTP", &s.ftpPort},
               {"KOVA_PORT_TELNET", &s.telnetPort},
               {"KOVA_PORT_AT", &s.atPort}};
  for (auto& p : ports) {
    const char* v = getenv(p.name);
    if (!v) continue;
    std::string text(v);
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > 65535) {
      error = std::string(p.name) + "=\"" + text +
              "\" is not a port number (a whole number from 1 to 65535).";
      return std::nullopt;
    }
    *p.field = value;
  }
  // Relative bases are ignored, as the XDG rules say.
  auto base = [&getenv](const char* name) {
    const char* v = getenv(name);
    return v && fs::path(v).is_absolute() ? fs::path(v) : fs::path();
  };
#ifdef _WIN32
  fs::path config = base("APPDATA");
  if (!base("PROGRAMDATA").empty())
    s.trustedKeyFolders.push_back((base("PROGRAMDATA") / "kova-upgrader" / "trusted-keys").string());
#else
  s.trustedKeyFolders.push_back("/etc/kova-upgrader/trusted-keys");
  fs::path config = base("XDG_CONFIG_HOME");
  if (config.empty() && !base("HOME").empty()) config = base("HOME") / ".config";
#endif
  if (!config.empty()) {
    s.homeMemoryFile = (config / "kova-upgrader" / "home").string();
    s.uploadJournal = (config / "kova-upgrader" / "uploads.jsonl").string();
    s.trustedKeyFolders.push_back((config / "kova-upgrader" / "trusted-keys").string());
  }
  return s;
}

std::string JoinArguments(const std::vector<std::string>& args) {
  std::string out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) out += ' ';
    out += args[i];
  }
  return out;
}

namespace {
// The remembered folder is one line; anything longer is not ours.
constexpr std::size_t kHomeMemoryLimit = 4096;
}  // namespace

std::optional<std::string> RecallHome(const std::string& file) {
  if (file.empty()) return std::nullopt;
  // Read as a regular file only, without blocking and bounded: a FIFO, a
  // device or a huge file under the name is not taken.
  RegularFile in;
  if (!in.open(file, RegularFile::Mode::Read)) return std::nullopt;
  std::string text(kHomeMemoryLimit + 1, '\0');
  std::size_t got = 0;
  while (got < text.size()) {
    const long long n = in.read(text.data() + got, text.size() - got);
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > kHomeMemoryLimit) return std::nullopt;
  text.resize(got);
  // Exactly one whole line holding an absolute path.
  if (text.empty() || text.back() != '\n') return std::nullopt;
  text.pop_back();
  if (text.empty() || text.find_first_of("\r\n") != std::string::npos ||
      text.find('\0') != std::string::npos || !fs::path(text).is_absolute())
    return std::nullopt;
  return text;
}

bool RememberHome(const std::string& file, const std::string& folder, Text& error) {
  if (file.empty()) {
    error = "there is no folder for settings (HOME is not set)"_t;
    return false;
  }
  if (folder.find_first_of("\r\n") != std::string::npos) {
    error = "its name holds a line break"_t;
    return false;
  }
  if (!fs::path(folder).is_absolute()) {
    error = "it is not an absolute path"_t;
    return false;
  }
  const fs::path target(file);
  std::error_code ec;
  if (!fs::create_directories(target.parent_path(), ec) && ec) {
    error = Text("cannot create the folder %1: %2"_t)
                .arg(target.parent_path().string())
                .arg(ec.message());
    return false;
  }
  // Written beside as a new file and renamed over: a half-written name is
  // never read back, and a link planted under the temporary's name is
  // removed, never written through.
  const std::string temporary = file + ".new";
  RegularFile out;
  if (!out.open(temporary, RegularFile::Mode::CreateNew)) {
    fs::remove(temporary, ec);
    if (!out.open(temporary, RegularFile::Mode::CreateNew)) {
      error = Text("cannot write %1: %2"_t).arg(temporary).arg(out.error());
      return false;
    }
  }
  const std::string line = folder + '\n';
  const bool written = out.write(line) == static_cast<long long>(line.size()) && out.sync();
  if (!written) error = Text("cannot write %1: %2"_t).arg(temporary).arg(out.error());
  out.close();
  if (written && DurableRename(temporary, file, error)) return true;
  fs::remove(temporary, ec);
  return false;
}
