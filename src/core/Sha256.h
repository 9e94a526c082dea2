// SHA-256, so the history can name exactly which image was sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class Sha256 {
 public:
  Sha256();
  void update(const void* data, std::size_t size);
  // Lower-case, 64 hex characters. Works on a copy, so more data may follow.
  std::string hexDigest() const;

 private:
  std::uint32_t state_[8];
  unsigned char buffer_[64];
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;  // bytes hashed so far
};

// Digest of a file's contents read in 256 KiB pieces; nullopt when it cannot
// be read (missing, not a regular file, no permission, read error).
std::optional<std::string> Sha256OfFile(const std::string& path);
