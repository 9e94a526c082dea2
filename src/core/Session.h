// What every part of one run shares: where the modem is, where the images
// lie, which versions are in play. Plain values; the window fills them at
// start-up.
#pragma once

#include <chrono>

#include <string>

#include "core/ModemVersion.h"
#include "core/TrustedKeys.h"

struct Session {
  // The address every channel connects to.
  std::string modemAddress;
  // The PC's network interface every connection goes out through; empty
  // for the system's choice.
  std::string interfaceName;
  // The modem's hardware address (lower case with colons) as the PC's
  // neighbour table held it at the last connection, and the address it was
  // read for.
  std::string modemMac;
  std::string modemMacAddress;
  // The hardware address of the modem at modemAddress; empty when unknown.
  std::string currentModemMac() const {
    return modemMacAddress == modemAddress ? modemMac : std::string();
  }
  // The home directory, ending in the platform's separator.
  std::string homeDir;
  // The backup directory, without a trailing separator.
  std::string backupDir;
  // Version of the image in the home directory.
  ModemVersion newVersion;
  // The modem's running version, as last read.
  ModemVersion runningVersion;
  // An upgrade also deletes the modem's configuration.
  bool factoryMode = false;
  // How long a restarting modem that is not back at the usual re-query may
  // take to answer again; zero: not waited for.
  std::chrono::seconds restartWaitBack{0};
  // The last reachability outcome.
  bool connected = false;
  // The version could not be read but the FTP port answered: an upgrade may
  // go on without knowing the running version (until a version is read).
  bool reachableWithoutVersion = false;
  // pic.hex went up with an upgrade: the next version read reflashes it.
  bool picReflashPending = false;
  // When an upload to this modem began that never ended (a crash, a power
  // cut, or nothing could be written), as the history records it; empty
  // when its image is whole as far as the tool knows. Nothing restarts the
  // modem meanwhile.
  std::string unfinishedUploadSince;
  // The release keys the operator trusts: with any, only a signed release
  // goes up, and only a backup that matches its record comes back.
  TrustedKeys trust;
  // Who signed the new image, as its signature's trusted comment says;
  // empty while it is not signed.
  std::string releaseSigner;
};
