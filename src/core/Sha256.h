// SHA-256, so the history can name exactly which image was sent and a
// release can be checked against its manifest. libgcrypt does the work: it
// uses the processor's SHA instructions where there are any.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;
  void update(const void* data, std::size_t size);
  // Lower-case, 64 hex characters. Works on a copy, so more data may follow.
  std::string hexDigest() const;

 private:
  void* handle_ = nullptr;  // libgcrypt's digest handle
};

// Digest of a file's contents read in 256 KiB pieces; nullopt when it cannot
// be read (missing, not a regular file, no permission, read error).
std::optional<std::string> Sha256OfFile(const std::string& path);

// libgcrypt made ready, once per process; nothing secret is ever held, so
// without its secure memory.
void InitGcrypt();
