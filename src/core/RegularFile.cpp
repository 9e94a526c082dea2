#include "core/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr const char* kNotRegular = "it is not a regular file"_t;
}  // namespace

#ifdef _WIN32

namespace {
// The same conversion std::filesystem makes, so a name reaches the same file
// as through the rest of the tool.
std::wstring Wide(const std::string& path) { return std::filesystem::path(path).wstring(); }

std::string SystemText(DWORD code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = n ? std::string(text, n) : "system error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == '.'))
    out.pop_back();
  return out;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
}  // namespace

bool RegularFile::open(const std::string& path, Mode mode) {
  close();
  path_ = path;
  notRegular_ = false;
  error_.clear();
  const std::wstring wide = Wide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    notRegular_ = true;
    error_ = kNotRegular;
    return false;
  }
  // FILE_APPEND_DATA without FILE_WRITE_DATA: the system puts every write at
  // the end, as O_APPEND does.
  const DWORD access = mode == Mode::Append      ? FILE_APPEND_DATA | SYNCHRONIZE
                       : mode == Mode::CreateNew ? GENERIC_WRITE
                                                 : GENERIC_READ;
  const DWORD disposition = mode == Mode::Append      ? OPEN_ALWAYS
                            : mode == Mode::CreateNew ? CREATE_NEW
                                                      : OPEN_EXISTING;
  HANDLE h = CreateFileW(wide.c_str(), access, kShareAll, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error_ = SystemText(GetLastError());
    return false;
  }
  // A device (NUL, CON) or a pipe under that name.
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    notRegular_ = true;
    error_ = kNotRegular;
    return false;
  }
  handle_ = h;
  return true;
}

void RegularFile::close() {
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

long long RegularFile::size() {
  LARGE_INTEGER size{};
  return handle_ && GetFileSizeEx(static_cast<HANDLE>(handle_), &size) ? size.QuadPart : -1;
}

long long RegularFile::read(void* buffer, std::size_t size) {
  DWORD got = 0;
  const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  if (!handle_ || !ReadFile(static_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) {
    error_ = SystemText(GetLastError());
    return -1;
  }
  return got;
}

int RegularFile::byteAt(long long offset) {
  HANDLE reader = CreateFileW(Wide(path_).c_str(), GENERIC_READ, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (reader == INVALID_HANDLE_VALUE) return -1;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  unsigned char byte = 0;
  DWORD got = 0;
  const bool ok = ReadFile(reader, &byte, 1, &got, &at) && got == 1;
  CloseHandle(reader);
  return ok ? byte : -1;
}

long long RegularFile::write(std::string_view text) {
  DWORD written = 0;
  if (!handle_ || !WriteFile(static_cast<HANDLE>(handle_), text.data(),
                             static_cast<DWORD>(text.size()), &written, nullptr)) {
    error_ = SystemText(GetLastError());
    return -1;
  }
  return written;
}

bool RegularFile::sync() {
  // FlushFileBuffers wants a handle with GENERIC_WRITE, which an append-only
  // handle lacks; flushing through a second one writes out the same file.
  HANDLE writer = CreateFileW(Wide(path_).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  const bool ok = writer != INVALID_HANDLE_VALUE && FlushFileBuffers(writer);
  if (!ok) error_ = SystemText(GetLastError());
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  return ok;
}

#else

bool RegularFile::open(const std::string& path, Mode mode) {
  close();
  path_ = path;
  notRegular_ = false;
  error_.clear();
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    notRegular_ = true;
    error_ = kNotRegular;
    return false;
  }
  // O_NONBLOCK: a FIFO that took the name after the check cannot hold us.
  const int flags = mode == Mode::Append      ? O_WRONLY | O_APPEND | O_CREAT
                    : mode == Mode::CreateNew ? O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW
                                              : O_RDONLY;
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) {
    error_ = std::strerror(errno);
    return false;
  }
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    notRegular_ = true;
    error_ = kNotRegular;
    return false;
  }
  fd_ = fd;
  return true;
}

void RegularFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

long long RegularFile::size() {
  struct stat info {};
  return fd_ >= 0 && ::fstat(fd_, &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

long long RegularFile::read(void* buffer, std::size_t size) {
  ssize_t n;
  do n = ::read(fd_, buffer, size);
  while (n < 0 && errno == EINTR);
  if (n < 0) error_ = std::strerror(errno);
  return n;
}

int RegularFile::byteAt(long long offset) {
  const int reader = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (reader < 0) return -1;
  unsigned char byte = 0;
  ssize_t n;
  do n = ::pread(reader, &byte, 1, static_cast<off_t>(offset));
  while (n < 0 && errno == EINTR);
  ::close(reader);
  return n == 1 ? byte : -1;
}

long long RegularFile::write(std::string_view text) {
  ssize_t n;
  do n = ::write(fd_, text.data(), text.size());
  while (n < 0 && errno == EINTR);
  if (n < 0) error_ = std::strerror(errno);
  return n;
}

bool RegularFile::sync() {
  if (::fsync(fd_) == 0) return true;
  error_ = std::strerror(errno);
  return false;
}

#endif
