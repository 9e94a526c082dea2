#include "firmware/ReleaseCheck.h"

#include "core/Sha256.h"
#include "firmware/ImageStore.h"

namespace {
using State = ReleaseVerdict::State;
constexpr long long kManifestBytes = 65536;
constexpr long long kSignatureBytes = 8192;

class Checker {
 public:
  Checker(ReleaseVerdict& verdict, const std::string& home) : v_(verdict), home_(home) {}

  void pass(const char* check, const std::string& text) {
    v_.findings.push_back({check, true, text});
  }
  bool fail(const char* check, const Text& text) {
    v_.findings.push_back({check, false, text.english()});
    v_.state = State::Refused;
    v_.problem = text;
    v_.manifest.reset();
    v_.signer.clear();
    return false;
  }
  // A part on disk against its entry in the manifest. listed is null when
  // the manifest does not name it; name is empty when the release lacks it.
  bool part(const char* check, const std::string& name, const ReleaseManifest::Part* listed,
            const std::string& expected) {
    if (!listed && name.empty()) return true;
    if (!listed)
      return fail(check,
                  Text("%1 lies beside the image but is not named in the manifest."_t).arg(name));
    if (listed->name != expected)
      return fail(
          check,
          Text("The manifest names %1 where %2 was expected."_t).arg(listed->name).arg(expected));
    if (name.empty())
      return fail(check, Text("The manifest names %1, which is missing."_t).arg(listed->name));
    const std::string path = home_ + name;
    const long long size = ImageStore::fileSize(path);
    if (listed->size >= 0 && size != listed->size)
      return fail(
          check,
          Text("%1 has %2 bytes; the manifest says %3."_t).arg(name).arg(size).arg(listed->size));
    const auto digest = Sha256OfFile(path);
    if (!digest) return fail(check, Text("%1 cannot be read."_t).arg(name));
    if (*digest != listed->sha256)
      return fail(check, Text("The SHA-256 of %1 is %2; the manifest says %3."_t)
                             .arg(name)
                             .arg(*digest)
                             .arg(listed->sha256));
    pass(check, name + ": " + std::to_string(size) + " bytes, SHA-256 " + *digest + ".");
    return true;
  }

 private:
  ReleaseVerdict& v_;
  const std::string& home_;
};
}  // namespace

std::string ManifestName(const ModemVersion& v) { return "kova_" + v.fileForm() + ".manifest"; }
std::string SignatureName(const ModemVersion& v) { return ManifestName(v) + ".minisig"; }

ReleaseVerdict CheckRelease(const TrustedKeys& trust, const std::string& home,
                            const ModemVersion& version, const std::string& picFile) {
  ReleaseVerdict v;
  if (!trust.active()) return v;
  Checker c(v, home);
  const std::string manifestName = ManifestName(version);
  const std::string signatureName = SignatureName(version);
  Text error;
  auto text = ReadSmallFile(home + manifestName, kManifestBytes, error);
  if (!text) {
    c.fail("manifest", Text("The release has no usable manifest %1 (%2): with a trusted key, only "
                            "a signed release is installed."_t)
                           .arg(manifestName)
                           .arg(error));
    return v;
  }
  auto signatureText = ReadSmallFile(home + signatureName, kSignatureBytes, error);
  if (!signatureText) {
    c.fail("signature", Text("The manifest's signature %1 cannot be read (%2): with a trusted "
                             "key, only a signed release is installed."_t)
                            .arg(signatureName)
                            .arg(error));
    return v;
  }
  auto signature = ParseMinisignSignature(*signatureText, error);
  if (!signature) {
    c.fail("signature", Text("The signature %1 is damaged: %2."_t).arg(signatureName).arg(error));
    return v;
  }
  MinisignPublicKey signer;
  signer.keyId = signature->keyId;
  const std::string keyId = signer.keyIdText();
  const TrustedKey* key = trust.find(signer);
  if (!key) {
    c.fail("signature",
           Text("The release is signed with the key %1, which is not trusted."_t).arg(keyId));
    return v;
  }
  if (trust.isRevoked(keyId)) {
    c.fail("signature",
           Text("The release is signed with the key %1, which is revoked."_t).arg(keyId));
    return v;
  }
  switch (VerifyMinisign(key->key, *signature, *text)) {
    case SignatureCheck::Valid: break;
    case SignatureCheck::OtherKey:
    case SignatureCheck::BadSignature:
      c.fail("signature", Text("The signature %1 does not match %2: the manifest or its "
                               "signature was changed."_t)
                              .arg(signatureName)
                              .arg(manifestName));
      return v;
    case SignatureCheck::BadTrustedComment:
      c.fail("signature", Text("The trusted comment of %1 does not match its signature: it was "
                               "changed."_t)
                              .arg(signatureName));
      return v;
  }
  c.pass("signature", "Signed with the key " + keyId + " (" + key->file + "): " +
                          signature->trustedComment + ".");
  auto manifest = ParseReleaseManifest(*text, error);
  if (!manifest) {
    c.fail("manifest", Text("The manifest %1 cannot be used: %2."_t).arg(manifestName).arg(error));
    return v;
  }
  if (manifest->version != version.display()) {
    c.fail("manifest", Text("The manifest is for version %1, the image is %2."_t)
                           .arg(manifest->version)
                           .arg(version.display()));
    return v;
  }
  c.pass("manifest", manifestName + " is for version " + manifest->version + ".");
  const std::string imageName = "kova_" + version.fileForm() + ".bin";
  const std::string checksumName = "chk_" + version.fileForm() + ".txt";
  const bool hasChecksum = ImageStore::fileExists(home + checksumName);
  if (!c.part("image digest", imageName, &manifest->image, imageName) ||
      !c.part("checksum file digest", hasChecksum ? checksumName : std::string(),
              manifest->checksum ? &*manifest->checksum : nullptr, checksumName) ||
      !c.part("pic.hex digest", picFile, manifest->pic ? &*manifest->pic : nullptr, "pic.hex"))
    return v;
  v.state = State::Signed;
  v.signer = signature->trustedComment;
  v.keyId = keyId;
  v.manifest = std::move(manifest);
  return v;
}

Text SignatureStateText(const ReleaseVerdict& verdict) {
  switch (verdict.state) {
    case State::Signed: return Text("signed by %1"_t).arg(verdict.signer);
    case State::Unsigned: return "not signed"_t;
    case State::Refused: return "refused"_t;
  }
  return "";
}
