// Files that must survive a power cut whole or not at all.
#pragma once

#include <string>

#include "platform/Text.h"

// Renames from over to so that after a power cut either what was under to
// before or the whole of from is found there: the file's data reaches the
// disk before the rename, and the folder's entry after it. False (and why in
// error) when it fails; from is then left as it was.
bool DurableRename(const std::string& from, const std::string& to, Text& error);

// An exclusive lock on a folder, held for the life of the object: the
// stations of one PC that write the same folder take turns. The system lets
// go of it when the process ends, however it ends; nothing is left behind.
class FolderLock {
 public:
  // Waits for the lock; holds it unless it fails (then false, and why in error).
  FolderLock(const std::string& folder, Text& error);
  // Tries once, without waiting. Held, it tells others what it is held for
  // (note, one line); when another process holds it, busy() is true and
  // holder() is that process's note ("" when it left none).
  FolderLock(const std::string& folder, const std::string& note, Text& error);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  explicit operator bool() const { return locked_; }
  bool busy() const { return busy_; }
  const std::string& holder() const { return holder_; }

 private:
  void leaveNote(const std::string& folder, const std::string& note);

#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
  bool locked_ = false;
  bool busy_ = false;
  std::string holder_;
  std::string notePath_;  // removed when the lock is let go
};
