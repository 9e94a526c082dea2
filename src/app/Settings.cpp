#include "app/Settings.h"

#include <charconv>

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
  return s;
}

std::string JoinArguments(int argc, const char* const* argv) {
  std::string out;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) out += ' ';
    out += argv[i];
  }
  return out;
}
