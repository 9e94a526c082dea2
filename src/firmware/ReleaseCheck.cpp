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
  bool fail(const char* check, const std::string& text) {
    v_.findings.push_back({check, false, text});
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
      return fail(check, name + " lies beside the image but is not named in the manifest.");
    if (listed->name != expected)
      return fail(check, "The manifest names " + listed->name + " where " + expected +
                             " was expected.");
    if (name.empty())
      return fail(check, "The manifest names " + listed->name + ", which is missing.");
    const std::string path = home_ + name;
    const long long size = ImageStore::fileSize(path);
    if (listed->size >= 0 && size != listed->size)
      return fail(check, name + " has " + std::to_string(size) + " bytes; the manifest says " +
                             std::to_string(listed->size) + ".");
    const auto digest = Sha256OfFile(path);
    if (!digest) return fail(check, name + " cannot be read.");
    if (*digest != listed->sha256)
      return fail(check, "The SHA-256 of " + name + " is " + *digest + "; the manifest says " +
                             listed->sha256 + ".");
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
  std::string error;
  auto text = ReadSmallFile(home + manifestName, kManifestBytes, error);
  if (!text) {
    c.fail("manifest", "The release has no usable manifest " + manifestName + " (" + error +
                           "): with a trusted key, only a signed release is installed.");
    return v;
  }
  auto signatureText = ReadSmallFile(home + signatureName, kSignatureBytes, error);
  if (!signatureText) {
    c.fail("signature", "The manifest's signature " + signatureName + " cannot be read (" +
                            error + "): with a trusted key, only a signed release is installed.");
    return v;
  }
  auto signature = ParseMinisignSignature(*signatureText, error);
  if (!signature) {
    c.fail("signature", "The signature " + signatureName + " is damaged: " + error + ".");
    return v;
  }
  MinisignPublicKey signer;
  signer.keyId = signature->keyId;
  const std::string keyId = signer.keyIdText();
  const TrustedKey* key = trust.find(signer);
  if (!key) {
    c.fail("signature", "The release is signed with the key " + keyId + ", which is not trusted.");
    return v;
  }
  if (trust.isRevoked(keyId)) {
    c.fail("signature", "The release is signed with the key " + keyId + ", which is revoked.");
    return v;
  }
  switch (VerifyMinisign(key->key, *signature, *text)) {
    case SignatureCheck::Valid: break;
    case SignatureCheck::OtherKey:
    case SignatureCheck::BadSignature:
      c.fail("signature", "The signature " + signatureName + " does not match " + manifestName +
                              ": the manifest or its signature was changed.");
      return v;
    case SignatureCheck::BadTrustedComment:
      c.fail("signature", "The trusted comment of " + signatureName +
                              " does not match its signature: it was changed.");
      return v;
  }
  c.pass("signature", "Signed with the key " + keyId + " (" + key->file + "): " +
                          signature->trustedComment + ".");
  auto manifest = ParseReleaseManifest(*text, error);
  if (!manifest) {
    c.fail("manifest", "The manifest " + manifestName + " cannot be used: " + error + ".");
    return v;
  }
  if (manifest->version != version.display()) {
    c.fail("manifest", "The manifest is for version " + manifest->version + ", the image is " +
                           version.display() + ".");
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
