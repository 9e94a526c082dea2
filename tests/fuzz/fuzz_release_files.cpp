// Whatever lies in a key file, a signature file or a manifest: the parsers
// never read past the bytes, what they accept is well-formed, and checking
// an accepted signature against a key ends with a verdict.
#include <string_view>

#include "core/Minisign.h"
#include "firmware/ReleaseManifest.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Text error;
  static const auto kKey = ParseMinisignPublicKey(
      "untrusted comment: minisign public key 2A56895E5E89B8C0\n"
      "RWTAuIleXolWKhca20fO2ojpNZqDce3Dknk9SzzpHQ+orJb/x8Gh1VYS\n",
      error);
  Require(kKey.has_value());

  if (auto key = ParseMinisignPublicKey(text, error)) {
    Require(key->keyIdText().size() == 16 && NormalKeyId(key->keyIdText()) == key->keyIdText());
  } else {
    Require(!error.empty());
  }
  if (auto signature = ParseMinisignSignature(text, error)) {
    for (unsigned char c : signature->trustedComment) Require(c >= 0x20 || c == '\t');
    // The message is the signature file itself: any verdict will do, but one.
    const auto check = VerifyMinisign(*kKey, *signature, text);
    Require(check != SignatureCheck::Valid || signature->keyId == kKey->keyId);
  }
  if (auto manifest = ParseReleaseManifest(text, error)) {
    Require(manifest->image.sha256.size() == 64 && !manifest->version.empty());
    Require(manifest->image.size >= 0);
    for (const char* running : {"", "5.2.0.12", "5.2"})
      CompatibilityProblem(*manifest, ModemVersion::FromDisplayForm(running));
  } else {
    Require(!error.empty());
  }
  return 0;
}
