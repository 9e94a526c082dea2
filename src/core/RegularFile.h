// A regular file opened the same careful way on Linux and on Windows: a FIFO
// or a device found in its place is refused instead of blocking the tool,
// the handle is not inherited by the commands the tool starts, and an
// append lands at the end of the file in one piece.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class RegularFile {
 public:
  // Append: created when missing, never truncated; every write goes to the
  // end of the file as one piece, also with another appender at work.
  // CreateNew: a new file only; whatever is there already, a symbolic link
  // included, makes open fail, so nothing planted is written through.
  enum class Mode { Read, Append, CreateNew };

  RegularFile() = default;
  ~RegularFile() { close(); }
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  // False when it cannot be opened: notRegular() tells whether something
  // other than a regular file is in its place, error() why in words.
  bool open(const std::string& path, Mode mode);
  void close();
  bool notRegular() const { return notRegular_; }
  const std::string& error() const { return error_; }

  // The size in bytes, -1 when it cannot be told.
  long long size();
  // Up to size bytes from where the last read ended: 0 at the end, -1 on
  // an error.
  long long read(void* buffer, std::size_t size);
  // The byte at offset, -1 when it cannot be read (an append-only handle
  // reads through a second one).
  int byteAt(long long offset);
  // All of text in one write: how many bytes went, -1 on an error.
  long long write(std::string_view text);
  // What was written reaches the disk before this returns.
  bool sync();

 private:
  std::string path_;
  bool notRegular_ = false;
  std::string error_;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};
