#include "firmware/ImageStore.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {
const char kSep = static_cast<char>(fs::path::preferred_separator);

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool IsImageName(std::string_view n) {
  return n.size() >= 9 && EqualNoCase(n.substr(0, 5), "kova_") &&
         EqualNoCase(n.substr(n.size() - 4), ".bin");
}
}  // namespace

std::string VersionFromImageName(std::string_view fileName) {
  if (fileName.size() <= 5) return {};
  auto end = fileName.find(".bin", 5);
  return std::string(end == std::string_view::npos ? fileName.substr(5)
                                                   : fileName.substr(5, end - 5));
}

std::vector<std::string> ListImages(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!it->is_regular_file(fileEc)) continue;
    std::string name = it->path().filename().string();
    if (IsImageName(name)) names.push_back(name);
  }
  return names;
}

bool CheckReleaseSeries(const std::string& modemVersion, bool noVersionContinue,
                        const std::string& version) {
  std::string_view running = std::string_view(modemVersion).substr(0, 4);
  std::string_view candidate = std::string_view(version).substr(0, 4);
  if (EqualNoCase(running, candidate)) return true;
  if (EqualNoCase(running, "0_0_")) return true;
  return noVersionContinue;
}

namespace {
// A read-only file is left in place, as the user protected it.
void RemoveUnlessReadOnly(const std::string& path) {
  std::error_code ec;
  auto st = fs::symlink_status(path, ec);
  if (ec || !fs::is_regular_file(st)) return;
  if ((st.permissions() & fs::perms::owner_write) == fs::perms::none) return;
  fs::remove(path, ec);
}
}  // namespace

void DeleteBackupImage(const std::string& backupDir, const std::string& version) {
  RemoveUnlessReadOnly(backupDir + kSep + "chk_" + version + ".txt");
  RemoveUnlessReadOnly(backupDir + kSep + "kova_" + version + ".bin");
}
