// The firmware images on the PC: the new image and its checksum file in the
// home directory, the backup pairs of older versions in the backup
// directory, the PIC file and the downloaded log. Every file name the tool
// uses is built here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ModemVersion.h"
#include "core/Session.h"

// Version of an image file name: from the sixth character up to the first
// ".bin" (file-name form).
std::string VersionFromImageName(std::string_view fileName);

// Names of the ordinary files in dir matching "kova_*.bin" (letter case
// ignored), in the order the file system lists them; none for a missing dir.
std::vector<std::string> ListImages(const std::string& dir);
// The same, or nullopt when dir cannot be read.
std::optional<std::vector<std::string>> ListImagesIfReadable(const std::string& dir);

class ImageStore {
 public:
  // The platform's directory separator.
  static const char kSeparator;

  explicit ImageStore(const Session& session) : session_(session) {}

  std::string newImagePath() const;
  std::string newChecksumPath() const;
  std::string backupImagePath(const ModemVersion& version) const;
  std::string backupChecksumPath(const ModemVersion& version) const;
  // Is there a backup image of version (exact name)?
  bool hasBackupImage(const ModemVersion& version) const;
  // Versions of the backup images, in listing order.
  std::vector<ModemVersion> backupVersions() const;
  // Removes the backup pair of version; each deletion independent, errors
  // ignored, a read-only file left in place.
  void deleteBackup(const ModemVersion& version) const;
  // Looks for the PIC file again: its name as the home directory lists it,
  // or empty. The exact name "pic.hex" wins over one that differs only in
  // letter case.
  const std::string& findPicFile();
  // The PIC file as last found.
  const std::string& picFile() const { return picFile_; }
  // Where the downloaded system log goes.
  std::string logPath() const;
  // Where a copy of the modem's image is kept while it is compared: a name
  // of its own for each call, so that two runs in one home never share one.
  std::string verifyCopyPath() const;

  static bool fileExists(const std::string& path);

 private:
  const Session& session_;
  std::string picFile_;
};
