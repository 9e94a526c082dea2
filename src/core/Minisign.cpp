#include "core/Minisign.h"

#include <gcrypt.h>

#include <cstring>
#include <memory>
#include <vector>

#include "core/Sha256.h"

namespace {

// Files of a few lines; anything longer is not one of ours.
constexpr std::size_t kMaxFileBytes = 8192;

std::optional<std::vector<std::uint8_t>> Base64(std::string_view text) {
  auto value = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
  };
  if (text.empty() || text.size() % 4 != 0) return std::nullopt;
  std::size_t pad = 0;
  while (pad < 2 && text[text.size() - 1 - pad] == '=') ++pad;
  std::vector<std::uint8_t> out;
  std::uint32_t bits = 0;
  int count = 0;
  for (std::size_t i = 0; i < text.size() - pad; ++i) {
    const int v = value(text[i]);
    if (v < 0) return std::nullopt;
    bits = (bits << 6) | static_cast<std::uint32_t>(v);
    if (++count == 4) {
      out.push_back(static_cast<std::uint8_t>(bits >> 16));
      out.push_back(static_cast<std::uint8_t>(bits >> 8));
      out.push_back(static_cast<std::uint8_t>(bits));
      bits = 0;
      count = 0;
    }
  }
  // Unused bits must be zero: one text, one value.
  if (count == 3) {
    if (bits & 0x3) return std::nullopt;
    out.push_back(static_cast<std::uint8_t>(bits >> 10));
    out.push_back(static_cast<std::uint8_t>(bits >> 2));
  } else if (count == 2) {
    if (bits & 0xF) return std::nullopt;
    out.push_back(static_cast<std::uint8_t>(bits >> 4));
  }
  return out;
}

// The file's lines, without CR LF or LF; a missing last newline is allowed.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// minisign's own comment separates its fields with a tab.
bool HasControl(std::string_view text) {
  for (unsigned char c : text)
    if ((c < 0x20 && c != '\t') || c == 0x7F) return true;
  return false;
}

struct SexpFree {
  void operator()(gcry_sexp_t s) const { gcry_sexp_release(s); }
};
using Sexp = std::unique_ptr<std::remove_pointer_t<gcry_sexp_t>, SexpFree>;

bool Ed25519Verify(const std::array<std::uint8_t, 32>& key, const std::uint8_t* signature,
                   const void* message, std::size_t size) {
  InitGcrypt();
  gcry_sexp_t k = nullptr, s = nullptr, d = nullptr;
  const int keyLen = 32, halfLen = 32, size32 = static_cast<int>(size);
  if (size > 0x7FFFFFFF) return false;
  gcry_sexp_build(&k, nullptr, "(public-key (ecc (curve Ed25519) (flags eddsa) (q %b)))",
                  keyLen, key.data());
  Sexp keyS(k);
  gcry_sexp_build(&s, nullptr, "(sig-val (eddsa (r %b) (s %b)))", halfLen, signature, halfLen,
                  signature + 32);
  Sexp sigS(s);
  gcry_sexp_build(&d, nullptr, "(data (flags eddsa) (hash-algo sha512) (value %b))", size32,
                  message);
  Sexp dataS(d);
  if (!k || !s || !d) return false;
  return gcry_pk_verify(sigS.get(), dataS.get(), keyS.get()) == 0;
}

}  // namespace

std::string MinisignPublicKey::keyIdText() const {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (int i = 7; i >= 0; --i) {
    out += hex[keyId[i] >> 4];
    out += hex[keyId[i] & 0xF];
  }
  return out;
}

std::optional<std::string> NormalKeyId(std::string_view text) {
  if (text.empty() || text.size() > 16) return std::nullopt;
  // minisign prints an ID without its leading zeros.
  std::string out(16 - text.size(), '0');
  for (char c : text) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return std::nullopt;
    out += c;
  }
  return out;
}

std::optional<MinisignPublicKey> ParseMinisignPublicKey(std::string_view text, Text& error) {
  if (text.size() > kMaxFileBytes) {
    error = "it is too long for a minisign public key"_t;
    return std::nullopt;
  }
  auto lines = Lines(text);
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (!lines.empty() && StartsWith(lines.front(), "untrusted comment:")) lines.erase(lines.begin());
  if (lines.size() != 1) {
    error = "it is not a minisign public key (a comment line and one line of base64)"_t;
    return std::nullopt;
  }
  auto bytes = Base64(lines.front());
  if (!bytes || bytes->size() != 42) {
    error = "its key line is not the base64 of a minisign public key"_t;
    return std::nullopt;
  }
  if ((*bytes)[0] != 'E' || (*bytes)[1] != 'd') {
    error = "it is not an Ed25519 key"_t;
    return std::nullopt;
  }
  MinisignPublicKey key;
  std::memcpy(key.keyId.data(), bytes->data() + 2, 8);
  std::memcpy(key.key.data(), bytes->data() + 10, 32);
  return key;
}

std::optional<MinisignSignature> ParseMinisignSignature(std::string_view text, Text& error) {
  if (text.size() > kMaxFileBytes) {
    error = "it is too long for a minisign signature"_t;
    return std::nullopt;
  }
  auto lines = Lines(text);
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  constexpr std::string_view kTrusted = "trusted comment: ";
  if (lines.size() != 4 || !StartsWith(lines[0], "untrusted comment:") ||
      !StartsWith(lines[2], kTrusted)) {
    error =
        "it is not a minisign signature (four lines: a comment, the signature, "
        "\"trusted comment: \" and the comment's signature)"_t;
    return std::nullopt;
  }
  auto signature = Base64(lines[1]);
  if (!signature || signature->size() != 74) {
    error = "its signature line is not the base64 of a minisign signature"_t;
    return std::nullopt;
  }
  const char algorithm[2] = {static_cast<char>((*signature)[0]),
                             static_cast<char>((*signature)[1])};
  if (algorithm[0] != 'E' || (algorithm[1] != 'D' && algorithm[1] != 'd')) {
    error = "its signature is neither of minisign's Ed25519 forms"_t;
    return std::nullopt;
  }
  auto global = Base64(lines[3]);
  if (!global || global->size() != 64) {
    error = "its trusted comment's signature is not the base64 of a signature"_t;
    return std::nullopt;
  }
  std::string_view comment = lines[2].substr(kTrusted.size());
  if (HasControl(comment)) {
    error = "its trusted comment holds a control character"_t;
    return std::nullopt;
  }
  MinisignSignature out;
  out.prehashed = algorithm[1] == 'D';
  std::memcpy(out.keyId.data(), signature->data() + 2, 8);
  std::memcpy(out.signature.data(), signature->data() + 10, 64);
  out.trustedComment = std::string(comment);
  std::memcpy(out.globalSignature.data(), global->data(), 64);
  return out;
}

SignatureCheck VerifyMinisign(const MinisignPublicKey& key, const MinisignSignature& signature,
                              std::string_view message) {
  if (key.keyId != signature.keyId) return SignatureCheck::OtherKey;
  bool valid = false;
  if (signature.prehashed) {
    InitGcrypt();
    std::array<std::uint8_t, 64> digest{};
    gcry_md_hd_t md = nullptr;
    if (gcry_md_open(&md, GCRY_MD_BLAKE2B_512, 0) != 0) return SignatureCheck::BadSignature;
    gcry_md_write(md, message.data(), message.size());
    std::memcpy(digest.data(), gcry_md_read(md, GCRY_MD_BLAKE2B_512), digest.size());
    gcry_md_close(md);
    valid = Ed25519Verify(key.key, signature.signature.data(), digest.data(), digest.size());
  } else {
    valid = Ed25519Verify(key.key, signature.signature.data(), message.data(), message.size());
  }
  if (!valid) return SignatureCheck::BadSignature;
  std::string signedComment(reinterpret_cast<const char*>(signature.signature.data()),
                            signature.signature.size());
  signedComment += signature.trustedComment;
  if (!Ed25519Verify(key.key, signature.globalSignature.data(), signedComment.data(),
                     signedComment.size()))
    return SignatureCheck::BadTrustedComment;
  return SignatureCheck::Valid;
}
