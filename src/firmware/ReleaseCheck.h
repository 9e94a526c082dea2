// Whether the release in the home directory is one the operator trusts:
// its manifest, the manifest's minisign signature by a trusted key that is
// not revoked, and every part named there, byte for byte. Without trusted
// keys nothing is checked and the release counts as not signed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ModemVersion.h"
#include "core/TrustedKeys.h"
#include "firmware/ReleaseManifest.h"
#include "platform/Text.h"

struct ReleaseVerdict {
  enum class State { Unsigned, Signed, Refused };
  State state = State::Unsigned;
  std::string signer;   // Signed: the signature's trusted comment
  std::string keyId;    // Signed: the key that signed it
  Text problem;         // Refused: exactly what did not match
  std::optional<ReleaseManifest> manifest;  // Signed
  // One line per check made, in order, up to the first that failed.
  struct Finding {
    std::string check;  // "manifest", "signature", "image digest", ...
    bool passed = false;
    std::string text;
  };
  std::vector<Finding> findings;
};

std::string ManifestName(const ModemVersion& version);
std::string SignatureName(const ModemVersion& version);

// home ends in the separator; picFile is the PIC file's name in it, empty
// when there is none.
ReleaseVerdict CheckRelease(const TrustedKeys& trust, const std::string& home,
                            const ModemVersion& version, const std::string& picFile);

// How the window and the results name the state: "signed by ...", "not signed".
Text SignatureStateText(const ReleaseVerdict& verdict);
