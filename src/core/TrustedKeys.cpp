#include "core/TrustedKeys.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/RegularFile.h"

namespace fs = std::filesystem;

namespace {
constexpr long long kKeyFileBytes = 8192;

bool ReadKey(const std::string& path, TrustedKeys& trust, Text& error) {
  Text why;
  auto text = ReadSmallFile(path, kKeyFileBytes, why);
  std::optional<MinisignPublicKey> key;
  if (text) key = ParseMinisignPublicKey(*text, why);
  if (!key) {
    error = Text("The trusted key %1 cannot be used: %2."_t).arg(path).arg(why);
    return false;
  }
  trust.keys.push_back({*key, path});
  return true;
}

// One key ID a line; blank lines and lines from '#' on are comments.
bool ReadRevoked(const std::string& path, TrustedKeys& trust, Text& error) {
  Text why;
  auto text = ReadSmallFile(path, 1 << 20, why);
  if (!text) {
    error = Text("The list of revoked keys %1 cannot be read: %2."_t).arg(path).arg(why);
    return false;
  }
  std::size_t start = 0, number = 0;
  while (start < text->size()) {
    std::size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    std::string line = text->substr(start, end - start);
    start = end + 1;
    ++number;
    line = line.substr(0, line.find('#'));
    line.erase(0, line.find_first_not_of(" \t\r"));
    line.erase(line.find_last_not_of(" \t\r") + 1);
    if (line.empty()) continue;
    auto id = NormalKeyId(line);
    if (!id) {
      error = Text(
                  "The list of revoked keys %1 cannot be used: line %2 is not a key ID (hex "
                  "digits, as minisign prints it)."_t)
                  .arg(path)
                  .arg(static_cast<long long>(number));
      return false;
    }
    trust.revoked.push_back(*id);
  }
  return true;
}
}  // namespace

bool TrustedKeys::isRevoked(const std::string& keyId) const {
  return std::find(revoked.begin(), revoked.end(), keyId) != revoked.end();
}

const TrustedKey* TrustedKeys::find(const MinisignPublicKey& signer) const {
  for (const auto& k : keys)
    if (k.key.keyId == signer.keyId) return &k;
  return nullptr;
}

std::optional<std::string> ReadSmallFile(const std::string& path, long long maxBytes, Text& error) {
  RegularFile file;
  if (!file.open(path, RegularFile::Mode::Read)) {
    error = file.error();
    return std::nullopt;
  }
  std::string text;
  char piece[4096];
  for (;;) {
    const long long n = file.read(piece, sizeof piece);
    if (n < 0) {
      error = file.error();
      return std::nullopt;
    }
    if (n == 0) return text;
    text.append(piece, static_cast<std::size_t>(n));
    if (static_cast<long long>(text.size()) > maxBytes) {
      error = Text("it is larger than %1 bytes"_t).arg(maxBytes);
      return std::nullopt;
    }
  }
}

std::optional<TrustedKeys> LoadTrustedKeys(const std::vector<std::string>& folders,
                                           const std::vector<std::string>& files, Text& error) {
  TrustedKeys trust;
  for (const auto& folder : folders) {
    std::error_code ec;
    if (!fs::exists(folder, ec)) continue;
    std::vector<fs::path> entries;
    fs::directory_iterator it(folder, ec);
    if (ec) {
      error = Text("The trusted-key folder %1 cannot be read: %2."_t).arg(folder).arg(ec.message());
      return std::nullopt;
    }
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec))
      entries.push_back(it->path());
    std::sort(entries.begin(), entries.end());
    for (const auto& p : entries) {
      const std::string name = p.filename().string();
      if (name == "revoked") {
        if (!ReadRevoked(p.string(), trust, error)) return std::nullopt;
      } else if (p.extension() == ".pub") {
        if (!ReadKey(p.string(), trust, error)) return std::nullopt;
      }
    }
  }
  for (const auto& file : files)
    if (!ReadKey(file, trust, error)) return std::nullopt;
  return trust;
}
