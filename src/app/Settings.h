// Fixed constants of the tool and their overrides from the environment.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Text.h"

struct Settings {
  std::string initialAddress = "192.168.128.100";
  int zingPort = 1827;
  int ftpPort = 21;
  int telnetPort = 23;
  int atPort = 1829;
  // The process's argument text, without the program path.
  std::string commandLine;
  // The working directory at start-up (the home directory), or --home.
  std::string workingDirectory;
  // The window was started without --home: when the working directory holds
  // no image (a start from the menu, in the user's home) it takes the
  // firmware folder chosen before, or asks for one.
  bool askForHome = false;
  // Where that folder is remembered; "" when there is no place for it.
  std::string homeMemoryFile;
  // Where the trusted release keys lie: folders of *.pub (and a "revoked"
  // list), and key files given with --trusted-key.
  std::vector<std::string> trustedKeyFolders;
  std::vector<std::string> trustedKeyFiles;
  // Where every image upload's first and last history lines go too, whatever
  // the firmware folder: an upload left unfinished from one folder is then
  // known from any other. "" for none.
  std::string uploadJournal;
  // The production line's records database (--records); "" for none.
  std::string recordsUrl;
};

// Reads KOVA_MODEM_ADDRESS and KOVA_PORT_{ZING,FTP,TELNET,AT} through
// getenv, and places the remembered firmware folder and the user's
// trusted-key folder under XDG_CONFIG_HOME (else HOME/.config; APPDATA on
// Windows); the system's trusted keys lie in /etc/kova-upgrader (PROGRAMDATA on Windows). On a malformed port returns nullopt and sets error to a message
// naming the variable.
std::optional<Settings> SettingsFromEnvironment(
    const std::function<const char*(const char*)>& getenv, std::string& error);

// The argument text: the arguments joined by single blanks.
std::string JoinArguments(const std::vector<std::string>& args);

// The firmware folder remembered in file; nullopt when none is.
std::optional<std::string> RecallHome(const std::string& file);
// Remembers folder in file, whole or not at all; false and why in error.
bool RememberHome(const std::string& file, const std::string& folder, Text& error);
