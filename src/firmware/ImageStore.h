// The firmware images on the PC: the new image and its checksum file in the
// home directory, the backup pairs of older versions in the backup
// directory, the PIC file and the downloaded log. Every file name the tool
// uses is built here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Session.h"

// Version of an image file name: from the sixth character up to the first
// ".bin".
std::string VersionFromImageName(std::string_view fileName);

// Names of the ordinary files in dir matching "kova_*.bin" (letter case
// ignored), in the order the file system lists them; none for a missing dir.
std::vector<std::string> ListImages(const std::string& dir);
// The same, or nullopt when dir cannot be read.
std::optional<std::vector<std::string>> ListImagesIfReadable(const std::string& dir);

// May version be installed over the running one? An unknown running version
// lets it pass, and so does a modem reachable without a readable version.
bool CheckReleaseSeries(const std::string& runningVersion, bool reachableWithoutVersion,
                        const std::string& version);

class ImageStore {
 public:
  // The platform's directory separator.
  static const char kSeparator;

  explicit ImageStore(const Session& session) : session_(session) {}

  std::string newImagePath() const;
  std::string newChecksumPath() const;
  std::string backupImagePath(const std::string& version) const;
  std::string backupChecksumPath(const std::string& version) const;
  // Is there a backup image of version (exact name)?
  bool hasBackupImage(const std::string& version) const;
  // Versions of the backup images (file-name form), in listing order.
  std::vector<std::string> backupVersions() const;
  // Removes the backup pair of version; each deletion independent, errors
  // ignored, a read-only file left in place.
  void deleteBackup(const std::string& version) const;
  // Looks for the PIC file again: its name as the home directory lists it,
  // or empty. The exact name "pic.hex" wins over one that differs only in
  // letter case.
  const std::string& findPicFile();
  // The PIC file as last found.
  const std::string& picFile() const { return picFile_; }
  // Where the downloaded system log goes.
  std::string logPath() const;
  // Where a copy of the modem's image is kept while it is compared.
  std::string verifyCopyPath() const;

  static bool fileExists(const std::string& path);

 private:
  const Session& session_;
  std::string picFile_;
};
