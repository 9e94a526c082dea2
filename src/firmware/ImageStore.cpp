#include "firmware/ImageStore.h"

#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/Files.h"
#include "core/TextUtilities.h"

namespace fs = std::filesystem;

const char ImageStore::kSeparator = static_cast<char>(fs::path::preferred_separator);

namespace {
bool IsImageName(std::string_view n) {
  return n.size() >= 9 && EqualNoCase(n.substr(0, 5), "kova_") &&
         EqualNoCase(n.substr(n.size() - 4), ".bin");
}

// Names of the ordinary files of dir that satisfy pred; nullopt when dir
// cannot be read.
template <class Pred>
std::optional<std::vector<std::string>> FilesWhere(const std::string& dir, Pred pred) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(dir, ec);
  if (ec) return std::nullopt;
  for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!it->is_regular_file(fileEc)) continue;
    std::string name = it->path().filename().string();
    if (pred(name)) names.push_back(name);
  }
  return names;
}
}  // namespace

std::string VersionFromImageName(std::string_view fileName) {
  if (fileName.size() <= 5) return {};
  auto end = fileName.find(".bin", 5);
  return std::string(end == std::string_view::npos ? fileName.substr(5)
                                                   : fileName.substr(5, end - 5));
}

std::optional<std::vector<std::string>> ListImagesIfReadable(const std::string& dir) {
  return FilesWhere(dir, [](const std::string& n) { return IsImageName(n); });
}

std::vector<std::string> ListImages(const std::string& dir) {
  return ListImagesIfReadable(dir).value_or(std::vector<std::string>{});
}

std::string ImageStore::newImagePath() const {
  return session_.homeDir + "kova_" + session_.newVersion.fileForm() + ".bin";
}

std::string ImageStore::newChecksumPath() const {
  return session_.homeDir + "chk_" + session_.newVersion.fileForm() + ".txt";
}

std::string ImageStore::backupImagePath(const ModemVersion& version) const {
  return session_.backupDir + kSeparator + "kova_" + version.fileForm() + ".bin";
}

std::string ImageStore::backupChecksumPath(const ModemVersion& version) const {
  return session_.backupDir + kSeparator + "chk_" + version.fileForm() + ".txt";
}

bool ImageStore::hasBackup(const ModemVersion& version) const {
  const std::string name = "kova_" + version.fileForm() + ".bin";
  for (const auto& n : ListImages(session_.backupDir))
    if (n == name) return fileExists(backupChecksumPath(version));
  return false;
}

std::vector<ModemVersion> ImageStore::backupVersions() const {
  std::vector<ModemVersion> versions;
  for (const auto& n : ListImages(session_.backupDir))
    versions.push_back(ModemVersion::FromFileForm(VersionFromImageName(n)));
  return versions;
}

const std::string& ImageStore::findPicFile() {
  auto names = FilesWhere(session_.homeDir, [](const std::string& n) {
    return EqualNoCase(n, "pic.hex");
  });
  picFile_.clear();
  if (names && !names->empty()) {
    picFile_ = names->front();
    for (const auto& n : *names)
      if (n == "pic.hex") picFile_ = n;
  }
  return picFile_;
}

std::string ImageStore::logPath() const { return session_.backupDir + kSeparator + "sylog.log"; }

std::string ImageStore::temporaryPath(const std::string& name) const {
  static unsigned counter = 0;
  return session_.backupDir + kSeparator + "." + name + ".kova-" + processStamp_ + "-" +
         std::to_string(++counter) + ".pending";
}

ImageStore::Keep ImageStore::keepBackup(const ModemVersion& version,
                                        const std::string& imageTemporary,
                                        const std::string& checksumTemporary,
                                        bool replaceExisting, Text& error,
                                        std::string& holder) const {
  // Stations on one PC back up units of the same version at once: one at a
  // time here, and the first pair kept stays, unless it is to be replaced.
  const std::string pid = processStamp_.substr(0, processStamp_.find('-'));
  FolderLock lock(session_.backupDir,
                  "another upgrade is storing a backup of " + version.display() +
                      " in this folder (pid " + pid + ")",
                  error);
  if (lock.busy()) {
    holder = lock.holder();
    return Keep::Busy;
  }
  if (!lock) return Keep::Failed;
  if (!replaceExisting && fileExists(backupImagePath(version)) &&
      fileExists(backupChecksumPath(version))) {
    std::error_code ec;
    fs::remove(imageTemporary, ec);
    fs::remove(checksumTemporary, ec);
    return Keep::Kept;
  }
  // The checksum file first: an image never stands under its name without it.
  if (!DurableRename(checksumTemporary, backupChecksumPath(version), error)) return Keep::Failed;
  if (DurableRename(imageTemporary, backupImagePath(version), error)) return Keep::Kept;
  std::error_code ec;
  fs::remove(backupChecksumPath(version), ec);
  return Keep::Failed;
}

namespace {
// The stamp of the process that wrote a temporary of ours: its names are
// exactly ".<name>.kova-<pid>-<start>-<namespace>-<n>.pending" (written by
// the tool) or the same ending in ".part" (by the FTP client). Empty when
// the name is none of ours.
std::string WriterOf(std::string_view name) {
  if (name.size() < 2 || name[0] != '.') return "";
  for (std::string_view suffix : {".pending", ".part"}) {
    if (name.size() <= suffix.size() || name.substr(name.size() - suffix.size()) != suffix)
      continue;
    std::string_view rest = name.substr(0, name.size() - suffix.size());
    const auto marker = rest.rfind(".kova-");
    if (marker == std::string_view::npos || marker == 0) return "";
    const std::string_view numbers = rest.substr(marker + 6);
    int count = 0;
    bool digit = false;
    for (char c : numbers) {
      if (c == '-') {
        if (!digit) return "";
        ++count;
        digit = false;
      } else if (c >= '0' && c <= '9') {
        digit = true;
      } else {
        return "";
      }
    }
    if (count != 3 || !digit) return "";
    return std::string(numbers.substr(0, numbers.rfind('-')));
  }
  return "";
}

// A regular file of this user; another user's file is never removed.
bool OwnFile(const fs::path& path) {
#ifdef _WIN32
  std::error_code ec;
  return fs::is_regular_file(fs::symlink_status(path, ec));
#else
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         info.st_uid == ::geteuid();
#endif
}
}  // namespace

void ImageStore::removeStaleTemporaries(
    const std::function<bool(const std::string& stamp)>& ended) const {
  auto names =
      FilesWhere(session_.backupDir, [](const std::string& n) { return !WriterOf(n).empty(); });
  if (!names) return;
  for (const auto& name : *names) {
    const fs::path path = fs::path(session_.backupDir) / name;
    if (!OwnFile(path) || !ended(WriterOf(name))) continue;
    std::error_code ec;
    fs::remove(path, ec);
  }
}

long long ImageStore::fileSize(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return -1;
  const auto size = fs::file_size(path, ec);
  return ec ? -1 : static_cast<long long>(size);
}

bool ImageStore::fileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool ImageStore::nameTaken(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}
