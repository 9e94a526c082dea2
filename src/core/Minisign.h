// Public keys and signatures in minisign's format (Ed25519), read with care:
// they come from files anyone may have placed or edited. Verifying uses
// libgcrypt.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Text.h"

struct MinisignPublicKey {
  std::array<std::uint8_t, 8> keyId{};
  std::array<std::uint8_t, 32> key{};
  // As minisign prints it: 16 upper-case hex digits, the bytes read little-endian.
  std::string keyIdText() const;
};

struct MinisignSignature {
  // "ED": the message's BLAKE2b-512 was signed (minisign's default);
  // "Ed": the message itself (the legacy form).
  bool prehashed = true;
  std::array<std::uint8_t, 8> keyId{};
  std::array<std::uint8_t, 64> signature{};
  // The text after "trusted comment: ", covered by the global signature.
  std::string trustedComment;
  std::array<std::uint8_t, 64> globalSignature{};
};

// The key file: an "untrusted comment:" line (optional) and the key in
// base64. nullopt and why in error when it is not one.
std::optional<MinisignPublicKey> ParseMinisignPublicKey(std::string_view text, Text& error);
// The .minisig file: untrusted comment, signature, trusted comment, global
// signature, each on its own line.
std::optional<MinisignSignature> ParseMinisignSignature(std::string_view text, Text& error);

enum class SignatureCheck { Valid, OtherKey, BadSignature, BadTrustedComment };
// Whether signature, made by key, covers message and its trusted comment.
SignatureCheck VerifyMinisign(const MinisignPublicKey& key, const MinisignSignature& signature,
                              std::string_view message);

// A key ID as 16 upper-case hex digits, from any letter case and without
// the leading zeros minisign leaves out; nullopt when text is not 1 to 16
// hex digits.
std::optional<std::string> NormalKeyId(std::string_view text);
