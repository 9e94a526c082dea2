#include "app/Settings.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/Files.h"

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

std::optional<std::string> RecallHome(const std::string& file) {
  if (file.empty()) return std::nullopt;
  std::ifstream in{fs::path(file)};
  std::string folder;
  if (!std::getline(in, folder) || folder.empty()) return std::nullopt;
  return folder;
}

bool RememberHome(const std::string& file, const std::string& folder, std::string& error) {
  if (file.empty()) {
    error = "there is no folder for settings (HOME is not set)";
    return false;
  }
  const fs::path target(file);
  std::error_code ec;
  if (!fs::create_directories(target.parent_path(), ec) && ec) {
    error = "cannot create the folder " + target.parent_path().string() + ": " + ec.message();
    return false;
  }
  // Written beside and renamed over: a half-written name is never read back.
  const std::string temporary = file + ".new";
  {
    std::ofstream out(fs::path(temporary), std::ios::binary | std::ios::trunc);
    out << folder << '\n';
    if (!out.flush()) {
      error = "cannot write " + temporary;
      fs::remove(temporary, ec);
      return false;
    }
  }
  if (DurableRename(temporary, file, error)) return true;
  fs::remove(temporary, ec);
  return false;
}
