// The release keys the operator trusts: minisign public keys (*.pub) from
// the trusted-key folders and from files named on the command line, and the
// key IDs listed in a folder's "revoked" file. Several keys may be trusted
// at once, so a new key can take over before the old one is revoked.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Minisign.h"

struct TrustedKey {
  MinisignPublicKey key;
  std::string file;  // where it was read
};

struct TrustedKeys {
  std::vector<TrustedKey> keys;
  std::vector<std::string> revoked;  // key IDs, upper-case hex
  // Any key or revocation was found: only signed releases are installed,
  // even when every key found is revoked.
  bool active() const { return !keys.empty() || !revoked.empty(); }
  bool isRevoked(const std::string& keyId) const;
  // The trusted key with that ID; nullptr when none.
  const TrustedKey* find(const MinisignPublicKey& signer) const;
};

// Reads every *.pub and "revoked" of folders (a missing folder holds none)
// and every one of files. A file that cannot be read or is no key is an
// error (nullopt, and which file and why in error): a key the operator put
// there must never be skipped without a word.
std::optional<TrustedKeys> LoadTrustedKeys(const std::vector<std::string>& folders,
                                           const std::vector<std::string>& files, Text& error);

// A small text file, read without blocking on a FIFO or device in its
// place; nullopt and why in error when it cannot be read or exceeds maxBytes.
std::optional<std::string> ReadSmallFile(const std::string& path, long long maxBytes, Text& error);
