// The firmware images on the PC: the new image and its checksum file in the
// home directory, the backup pairs of older versions in the backup
// directory, the PIC file and the downloaded log. Every file name the tool
// uses is built here.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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
  // The history of what was done to which modem, in a backup folder.
  static std::string HistoryPath(const std::string& backupDir) {
    return backupDir + kSeparator + "history.jsonl";
  }

  // processStamp names the temporaries of this process.
  ImageStore(const Session& session, std::string processStamp)
      : session_(session), processStamp_(std::move(processStamp)) {}

  std::string newImagePath() const;
  std::string newChecksumPath() const;
  std::string backupImagePath(const ModemVersion& version) const;
  std::string backupChecksumPath(const ModemVersion& version) const;
  // Is there a whole backup of version: its image (exact name) and its
  // checksum file? An image alone is no backup.
  bool hasBackup(const ModemVersion& version) const;
  // Versions of the backup images, in listing order.
  std::vector<ModemVersion> backupVersions() const;
  // Looks for the PIC file again: its name as the home directory lists it,
  // or empty. The exact name "pic.hex" wins over one that differs only in
  // letter case.
  const std::string& findPicFile();
  // The PIC file as last found.
  const std::string& picFile() const { return picFile_; }
  // Its path in the home directory (never the working directory), or "".
  std::string picPath() const { return picFile_.empty() ? std::string() : session_.homeDir + picFile_; }
  // Where the downloaded system log goes.
  std::string logPath() const;
  // Where a file of the backup directory lies until it is complete (or, for
  // the copy that verify compares, until it is gone): a name of this
  // process's own for each call, so two runs in one home never share one.
  std::string temporaryPath(const std::string& name) const;
  // The backup pair downloaded under temporary names becomes real: first
  // the checksum file, then the image, each on disk before it takes its
  // name. Failed and why when it could not; no half pair is left then.
  // Never waits for the backup folder: Busy while another process holds
  // it, what that one does in holder (to try again later). A pair already
  // kept stays, and the temporaries go, unless replaceExisting.
  enum class Keep { Kept, Busy, Failed };
  Keep keepBackup(const ModemVersion& version, const std::string& imageTemporary,
                  const std::string& checksumTemporary, bool replaceExisting, Text& error,
                  std::string& holder) const;
  // Removes the temporaries that processes of this tool left behind when
  // they ended without cleaning up (a power cut, a kill): files of this
  // user, named exactly as the tool names them, of a process that surely
  // ended.
  void removeStaleTemporaries(const std::function<bool(const std::string& stamp)>& ended) const;

  static bool fileExists(const std::string& path);
  // Anything under that name: a folder or a dangling symbolic link too.
  static bool nameTaken(const std::string& path);
  // The size of a regular file, -1 when there is none.
  static long long fileSize(const std::string& path);

 private:
  const Session& session_;
  const std::string processStamp_;
  std::string picFile_;
};
