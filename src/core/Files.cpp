#include "core/Files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/RegularFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifdef _WIN32
namespace {
Text SystemError(unsigned long code) {
  return Text("system error %1"_t).arg(static_cast<long long>(code));
}
}  // namespace

// Wide names converted as std::filesystem does, so they reach the same files
// as the rest of the tool. MOVEFILE_WRITE_THROUGH returns only once the move
// is on the disk, which stands for syncing the folder.
bool DurableRename(const std::string& from, const std::string& to, Text& error) {
  const std::wstring source = std::filesystem::path(from).wstring();
  const std::wstring target = std::filesystem::path(to).wstring();
  HANDLE file = CreateFileW(source.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  const bool flushed = file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!flushed ||
      !MoveFileExW(source.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = Text("Cannot store %1: %2"_t).arg(to).arg(SystemError(GetLastError()));
    return false;
  }
  return true;
}
#else
namespace {
Text Failure(const char* what, const std::string& path, int err) {
  return Text(what).arg(path).arg(std::string(std::strerror(err)));
}
}  // namespace

bool DurableRename(const std::string& from, const std::string& to, Text& error) {
  const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Failure("Cannot open %1: %2"_t, from, errno);
    return false;
  }
  int err = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  if (err != 0 || ::rename(from.c_str(), to.c_str()) != 0) {
    error = Failure("Cannot store %1: %2"_t, to, err != 0 ? err : errno);
    return false;
  }
  std::filesystem::path parent = std::filesystem::path(to).parent_path();
  if (parent.empty()) parent = ".";
  const std::string folder = parent.string();
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  err = dir < 0 || ::fsync(dir) != 0 ? errno : 0;
  if (dir >= 0) ::close(dir);
  if (err != 0) {
    error = Failure("Cannot sync %1: %2"_t, folder, err);
    return false;
  }
  return true;
}
#endif

namespace {
// What the holder of a folder's lock is doing, in a file beside the lock.
std::string NotePath(const std::string& folder) {
  return (std::filesystem::path(folder) / ".lock.note").string();
}

std::string ReadNote(const std::string& folder) {
  RegularFile in;
  if (!in.open(NotePath(folder), RegularFile::Mode::Read)) return "";
  char text[256];
  const long long n = in.read(text, sizeof text);
  if (n <= 0) return "";
  std::string note(text, static_cast<std::size_t>(n));
  note = note.substr(0, note.find('\n'));
  return note;
}
}  // namespace

void FolderLock::leaveNote(const std::string& folder, const std::string& note) {
  const std::string path = NotePath(folder);
  std::error_code ec;
  std::filesystem::remove(path, ec);
  RegularFile out;
  if (!out.open(path, RegularFile::Mode::CreateNew)) return;  // a note is no must
  notePath_ = path;
  out.write(note.substr(0, note.find('\n')) + "\n");
}

#ifdef _WIN32
// Folders cannot be locked here: a file in it that goes with its last handle.
FolderLock::FolderLock(const std::string& folder, Text& error) {
  const std::wstring path = (std::filesystem::path(folder) / ".lock").wstring();
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = Text("Cannot lock %1: %2"_t).arg(folder).arg(SystemError(GetLastError()));
    return;
  }
  handle_ = file;
  OVERLAPPED whole{};
  locked_ = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole);
  if (!locked_) error = Text("Cannot lock %1: %2"_t).arg(folder).arg(SystemError(GetLastError()));
}

FolderLock::FolderLock(const std::string& folder, const std::string& note, Text& error) {
  const std::wstring path = (std::filesystem::path(folder) / ".lock").wstring();
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = Text("Cannot lock %1: %2"_t).arg(folder).arg(SystemError(GetLastError()));
    return;
  }
  handle_ = file;
  OVERLAPPED whole{};
  locked_ = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                       MAXDWORD, &whole);
  if (locked_) {
    leaveNote(folder, note);
  } else if (GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING) {
    busy_ = true;
    holder_ = ReadNote(folder);
  } else {
    error = Text("Cannot lock %1: %2"_t).arg(folder).arg(SystemError(GetLastError()));
  }
}

FolderLock::~FolderLock() {
  std::error_code ec;
  if (!notePath_.empty()) std::filesystem::remove(notePath_, ec);
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));  // lets go of the lock
}
#else
FolderLock::FolderLock(const std::string& folder, Text& error) {
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    error = Failure("Cannot lock %1: %2"_t, folder, errno);
    return;
  }
  int r;
  do r = ::flock(fd_, LOCK_EX);
  while (r != 0 && errno == EINTR);
  locked_ = r == 0;
  if (!locked_) error = Failure("Cannot lock %1: %2"_t, folder, errno);
}

FolderLock::FolderLock(const std::string& folder, const std::string& note, Text& error) {
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    error = Failure("Cannot lock %1: %2"_t, folder, errno);
    return;
  }
  int r;
  do r = ::flock(fd_, LOCK_EX | LOCK_NB);
  while (r != 0 && errno == EINTR);
  locked_ = r == 0;
  if (locked_) {
    leaveNote(folder, note);
  } else if (errno == EWOULDBLOCK) {
    busy_ = true;
    holder_ = ReadNote(folder);
  } else {
    error = Failure("Cannot lock %1: %2"_t, folder, errno);
  }
}

FolderLock::~FolderLock() {
  std::error_code ec;
  if (!notePath_.empty()) std::filesystem::remove(notePath_, ec);
  if (fd_ >= 0) ::close(fd_);  // lets go of the lock
}
#endif
