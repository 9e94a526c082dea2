// Fixed constants of the tool and their overrides from the environment.
#pragma once

#include <functional>
#include <optional>
#include <string>

struct Settings {
  std::string initialAddress = "192.168.128.100";
  int zingPort = 1827;
  int ftpPort = 21;
  int telnetPort = 23;
  int atPort = 1829;
  // The process's argument text, without the program path.
  std::string commandLine;
  // The working directory at start-up (the home directory).
  std::string workingDirectory;
};

// Reads KOVA_MODEM_ADDRESS and KOVA_PORT_{ZING,FTP,TELNET,AT} through
// getenv. On a malformed port returns nullopt and sets error to a message
// naming the variable.
std::optional<Settings> SettingsFromEnvironment(
    const std::function<const char*(const char*)>& getenv, std::string& error);

// The argument text: the arguments joined by single blanks.
std::string JoinArguments(int argc, const char* const* argv);
