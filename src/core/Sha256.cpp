#include "core/Sha256.h"

#include <gcrypt.h>

#include <vector>

#include "core/RegularFile.h"

void InitGcrypt() {
  if (gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P)) return;
  gcry_check_version(nullptr);
  gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
  gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
}

Sha256::Sha256() {
  InitGcrypt();
  gcry_md_hd_t handle = nullptr;
  // Only fails for an algorithm libgcrypt lacks; SHA-256 is always built in.
  gcry_md_open(&handle, GCRY_MD_SHA256, 0);
  handle_ = handle;
}

Sha256::~Sha256() { gcry_md_close(static_cast<gcry_md_hd_t>(handle_)); }

void Sha256::update(const void* data, std::size_t size) {
  gcry_md_write(static_cast<gcry_md_hd_t>(handle_), data, size);
}

std::string Sha256::hexDigest() const {
  gcry_md_hd_t copy = nullptr;
  if (gcry_md_copy(&copy, static_cast<gcry_md_hd_t>(handle_)) != 0) return {};
  const unsigned char* digest = gcry_md_read(copy, GCRY_MD_SHA256);
  static const char* hex = "0123456789abcdef";
  std::string out;
  for (int i = 0; i < 32; ++i) {
    out += hex[digest[i] >> 4];
    out += hex[digest[i] & 0xF];
  }
  gcry_md_close(copy);
  return out;
}

std::optional<std::string> Sha256OfFile(const std::string& path) {
  RegularFile file;
  if (!file.open(path, RegularFile::Mode::Read)) return std::nullopt;
  std::vector<unsigned char> piece(256 * 1024);
  Sha256 hash;
  for (;;) {
    const long long n = file.read(piece.data(), piece.size());
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    hash.update(piece.data(), static_cast<std::size_t>(n));
  }
  return hash.hexDigest();
}
