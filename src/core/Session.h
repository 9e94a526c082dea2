// What every part of one run shares: where the modem is, where the images
// lie, which versions are in play. Plain values; the window fills them at
// start-up.
#pragma once

#include <string>

#include "core/Texts.h"

struct Session {
  // The address every channel connects to.
  std::string modemAddress;
  // The home directory, ending in the platform's separator.
  std::string homeDir;
  // The backup directory, without a trailing separator.
  std::string backupDir;
  // Version of the image in the home directory (file-name form, 5_2_0_13).
  std::string newVersion;
  // The modem's running version (file-name form); kUnknownVersion while unknown.
  std::string runningVersion = kUnknownVersion;
  // An upgrade also deletes the modem's configuration.
  bool factoryMode = false;
  // The last reachability outcome.
  bool connected = false;

  bool runningVersionKnown() const { return runningVersion != kUnknownVersion; }
};
