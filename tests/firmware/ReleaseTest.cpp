// Only releases the operator trusts go up: a corpus of bad releases, each
// refused before any FTP command could store a byte, and good ones, signed
// with keys Debian's minisign made in the test, accepted.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "core/Minisign.h"
#include "core/Sha256.h"
#include "core/UpgradeHistory.h"
#include "firmware/ReleaseManifest.h"
#include "sim/SigningKey.h"
#include "sim/WorkflowPeers.h"

// Key and signature texts as minisign 0.11 wrote them, so the parsers and
// libgcrypt are checked on every platform, Windows too.
TEST(Minisign, ParsesAndVerifiesWhatMinisignWrote) {
  const std::string key =
      "untrusted comment: minisign public key 2A56895E5E89B8C0\n"
      "RWTAuIleXolWKhca20fO2ojpNZqDce3Dknk9SzzpHQ+orJb/x8Gh1VYS\n";
  const std::string prehashed =
      "untrusted comment: signature from minisign secret key\n"
      "RUTAuIleXolWKu7U8iG7OshH/h0pXebCT7ykK5BTgyGodQizRQsGlvi8l9gdc0071zbB6v/RNJRtLunZbBJk6zX5b0ufQ"
      "Zj4EwA=\n"
      "trusted comment: KOVA release team\n"
      "zq7IlxZUa4r13yg/aoXExr2oDAqVkI2Let7xSTFBFknGnVDRIAkgkWewq59u/NV5x4mq24iPPkdxgaKZR0xrBw==\n";
  const std::string legacy =
      "untrusted comment: signature from minisign secret key\n"
      "RWTAuIleXolWKr1an/ISMuX/Zu9gAVh7gx0wZs9xSIXhrtlHd7kG8g/elRGZB9HorM846uDRv/dbQOoIrucmK6W3eSdEY"
      "zInHgU=\n"
      "trusted comment: timestamp:1796762957\tfile:m\n"
      "+mLt15E6lT7FACxk6MOUHcoJ6h7OiB5KEex+b6x72gH0cUUTaHAfD6d1LA9evoZ89cp34QXIEehXpfJqcbKEBw==\n";
  Text error;
  auto k = ParseMinisignPublicKey(key, error);
  ASSERT_TRUE(k) << error.english();
  EXPECT_EQ(k->keyIdText(), "2A56895E5E89B8C0");
  auto replace = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  struct Row {
    const char* what;
    std::string signature;
    std::string message;
    std::optional<SignatureCheck> check;  // none: not even parsed
  } rows[] = {
      {"prehashed, as minisign -S makes it", prehashed, "hello\n", SignatureCheck::Valid},
      {"legacy, as minisign -S -l makes it", legacy, "hello\n", SignatureCheck::Valid},
      {"CR LF line ends", replace(replace(replace(replace(prehashed, "key\n", "key\r\n"), "=\n",
                                                 "=\r\n"), "team\n", "team\r\n"), "==\n", "==\r\n"),
       "hello\n", SignatureCheck::Valid},
      {"another message", prehashed, "hello!\n", SignatureCheck::BadSignature},
      {"legacy, another message", legacy, "hello", SignatureCheck::BadSignature},
      {"trusted comment changed", replace(prehashed, "KOVA release", "KOVA Release"), "hello\n",
       SignatureCheck::BadTrustedComment},
      {"signature bit flipped", replace(prehashed, "RUTAuIleXolWKu7U8", "RUTAuIleXolWKu7U9"),
       "hello\n", SignatureCheck::BadSignature},
      {"key ID changed", replace(prehashed, "RUTAuIle", "RUTAuIlf"), "hello\n",
       SignatureCheck::OtherKey},
      {"global signature changed", replace(prehashed, "zq7Ilx", "zq7Ily"), "hello\n",
       SignatureCheck::BadTrustedComment},
      {"no trusted comment line", replace(prehashed, "trusted comment: KOVA release team\n", ""),
       "hello\n", std::nullopt},
      {"signature cut short", replace(prehashed, "Zj4EwA=", "Zj4E"), "hello\n", std::nullopt},
      {"unused base64 bits set", replace(prehashed, "Zj4EwA=", "Zj4EwB="), "hello\n",
       std::nullopt},
      {"not Ed25519", replace(prehashed, "RUTA", "RVTA"), "hello\n", std::nullopt},
      {"control character in the trusted comment", replace(prehashed, "release team", "rel\x1B[2J"),
       "hello\n", std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    auto s = ParseMinisignSignature(row.signature, error);
    ASSERT_EQ(s.has_value(), row.check.has_value()) << error.english();
    if (s) {
      EXPECT_EQ(VerifyMinisign(*k, *s, row.message), *row.check);
    }
  }
  for (const char* badKey : {"", "RWTAuIleXolWKhca20fO2ojpNZqDce3Dknk9SzzpHQ+orJb/x8Gh1VY",
                             "untrusted comment: x\nRUTAuIleXolWKhca20fO2ojpNZqDce3Dknk9SzzpHQ+orJb/x8Gh1VYS\n",
                             "untrusted comment: x\nkey\nkey\n"})
    EXPECT_FALSE(ParseMinisignPublicKey(badKey, error)) << badKey;
  // Key IDs as an operator copies them: minisign prints one without its leading zeros.
  const std::vector<std::pair<std::string, std::optional<std::string>>> ids = {
      {"0A1B2C3D4E5F6071", "0A1B2C3D4E5F6071"}, {"a1b2c3d4e5f6071", "0A1B2C3D4E5F6071"},
      {"7", "0000000000000007"}, {"", std::nullopt}, {"0A1B2C3D4E5F60712", std::nullopt},
      {"0A1B2C3D4E5F607G", std::nullopt}};
  for (const auto& [text, id] : ids) EXPECT_EQ(NormalKeyId(text), id) << text;
}

TEST(ReleaseManifest, CompatibilityOfTheRunningVersion) {
  Text error;
  auto manifest = [&](const std::string& over) {
    auto m = ParseReleaseManifest(
        "{\"version\":\"5.2.0.13\",\"image\":{\"name\":\"kova_5_2_0_13.bin\",\"size\":3,"
        "\"sha256\":\"" + std::string(64, 'a') + "\"},\"installs_over\":" + over + "}",
        error);
    EXPECT_TRUE(m) << error.english();
    return m.value_or(ReleaseManifest{});
  };
  struct Row {
    std::string over, running;
    bool fits;
  } rows[] = {
      {"{}", "4.0.0.1", true},
      {"{\"series\":\"5.2\"}", "5.2.0.12", true},
      {"{\"series\":\"5.2\"}", "5.20.0.1", false},
      {"{\"series\":\"5.2\"}", "5.3.0.1", false},
      {"{\"lowest\":\"5.2.0.10\"}", "5.2.0.9", false},
      {"{\"lowest\":\"5.2.0.10\"}", "5.2.0.10", true},
      {"{\"lowest\":\"5.2.0.10\"}", "5.10.0.0", true},
      {"{\"series\":\"5.2\",\"lowest\":\"5.2.0.10\"}", "5.2.1.0", true},
      {"{\"series\":\"5.2\"}", "", false},  // not known: not allowed
  };
  for (const auto& row : rows)
    EXPECT_EQ(CompatibilityProblem(manifest(row.over), ModemVersion::FromDisplayForm(row.running))
                  .empty(),
              row.fits)
        << row.over << " over " << row.running;
}

#ifndef _WIN32  // minisign is a Linux program: Wine cannot start it
namespace {

std::string Digest(const std::string& bytes) {
  Sha256 sha;
  sha.update(bytes.data(), bytes.size());
  return sha.hexDigest();
}

// The keys of every test: made once.
struct Keys {
  TempDir dir;
  SigningKey trusted{dir, "trusted"}, other{dir, "other"}, next{dir, "next"};
};
Keys& TestKeys() {
  static Keys keys;
  return keys;
}

// A home with a whole release of 5.2.0.13 (image, checksum file, pic.hex),
// its manifest signed by the trusted key, and that key trusted.
struct SignedHome {
  WorkflowModem h;
  Keys& keys = TestKeys();
  std::string series = "5.2", lowest = "5.2.0.10", note = "Fixes the beam search.";
  std::string manifestVersion = "5.2.0.13";
  std::string extra;  // more members of the manifest

  SignedHome() {
    h.home.write("pic.hex", ":00000001FF\n");
    h.settings.trustedKeyFiles = {keys.trusted.pub()};
    write();
  }
  std::string path(const std::string& name) const { return (h.home.path() / name).string(); }
  std::string manifestPath() const { return path("kova_5_2_0_13.manifest"); }
  std::string part(const char* key, const std::string& name, bool size = false) const {
    const std::string bytes = h.home.read(name);
    return std::string("\"") + key + "\":{\"name\":\"" + name + "\"," +
           (size ? "\"size\":" + std::to_string(bytes.size()) + "," : "") + "\"sha256\":\"" +
           Digest(bytes) + "\"}";
  }
  // Names the parts the home holds.
  std::string manifest() const {
    std::string parts;
    if (h.home.exists("chk_5_2_0_13.txt")) parts += "," + part("checksum", "chk_5_2_0_13.txt");
    if (h.home.exists("pic.hex")) parts += "," + part("pic", "pic.hex");
    return "{\"version\":\"" + manifestVersion + "\"," + part("image", "kova_5_2_0_13.bin", true) +
           parts + ",\"installs_over\":{\"series\":\"" + series + "\",\"lowest\":\"" + lowest +
           "\"},\"note\":\"" + note + "\"" + extra + "}\n";
  }
  // Writes the manifest as it stands and signs it with key.
  void write(const SigningKey* key = nullptr, bool legacy = false) {
    h.home.write("kova_5_2_0_13.manifest", manifest());
    (key ? key : &keys.trusted)->sign(manifestPath(), "KOVA release team", legacy);
  }
  void edit(const std::string& name, const std::string& from, const std::string& to) {
    std::string text = h.home.read(name);
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from << " in " << name;
    h.home.write(name, text.replace(at, from.size(), to));
  }
  std::string signatureLine(int index) {
    std::istringstream in(h.home.read("kova_5_2_0_13.manifest.minisig"));
    std::string line;
    for (int i = 0; i <= index; ++i) std::getline(in, line);
    return line;
  }
  void revoke(const std::string& id) {
    TempDir& folder = revokedFolder_;
    folder.write("revoked", "# keys that leaked\n" + id + "\n");
    h.settings.trustedKeyFolders = {folder.str()};
  }

 private:
  TempDir revokedFolder_;
};

using Spoil = std::function<void(SignedHome&)>;
// The manifest written and signed again with a member of it changed.
Spoil RewriteManifest(std::string SignedHome::*member, std::string value) {
  return [=](SignedHome& s) {
    s.*member = value;
    s.write();
  };
}
Spoil RemoveFiles(std::vector<std::string> names) {
  return [=](SignedHome& s) {
    for (const auto& name : names) s.h.removeHomeFile(name);
  };
}
Spoil EditFile(std::string name, std::string from, std::string to) {
  return [=](SignedHome& s) { s.edit(name, from, to); };
}

}  // namespace

// Each bad release is refused at start, before the window opens or anything
// is asked of the modem, and says what did not match.
TEST(SignedRelease, ABadReleaseIsRefusedAtStart) {
  struct Row {
    const char* what;
    Spoil spoil;
    std::string says;
  };
  const std::string sha = "The SHA-256 of ";
  const Row rows[] = {
      {"image: one byte changed", EditFile("kova_5_2_0_13.bin", "bytes", "bytez"),
       sha + "kova_5_2_0_13.bin is "},
      {"image truncated", EditFile("kova_5_2_0_13.bin", "bytes", ""),
       "kova_5_2_0_13.bin has 26 bytes; the manifest says 31."},
      {"checksum file changed", EditFile("chk_5_2_0_13.txt", "checksum", "Checksum"),
       sha + "chk_5_2_0_13.txt is "},
      {"checksum file missing", RemoveFiles({"chk_5_2_0_13.txt"}),
       "The manifest names chk_5_2_0_13.txt, which is missing."},
      {"pic.hex changed", EditFile("pic.hex", "FF", "FE"), sha + "pic.hex is "},
      {"pic.hex not in the manifest",
       [](SignedHome& s) {
         s.h.removeHomeFile("pic.hex");
         s.write();
         s.h.home.write("pic.hex", ":00000001FF\n");
       },
       "pic.hex lies beside the image but is not named in the manifest."},
      {"manifest for another version",
       RewriteManifest(&SignedHome::manifestVersion, "5.2.0.14"),
       "The manifest is for version 5.2.0.14, the image is 5.2.0.13."},
      {"manifest names another image",
       [](SignedHome& s) {
         s.edit("kova_5_2_0_13.manifest", "\"name\":\"kova_5_2_0_13.bin\"",
                "\"name\":\"kova_5_2_0_14.bin\"");
         s.keys.trusted.sign(s.manifestPath(), "KOVA release team");
       },
       "The manifest names kova_5_2_0_14.bin where kova_5_2_0_13.bin was expected."},
      {"manifest missing", RemoveFiles({"kova_5_2_0_13.manifest"}),
       "The release has no usable manifest kova_5_2_0_13.manifest"},
      {"signature missing", RemoveFiles({"kova_5_2_0_13.manifest.minisig"}),
       "The manifest's signature kova_5_2_0_13.manifest.minisig cannot be read"},
      {"unsigned release while a key is trusted",
       RemoveFiles({"kova_5_2_0_13.manifest", "kova_5_2_0_13.manifest.minisig"}),
       "with a trusted key, only a signed release is installed."},
      {"manifest's note changed after signing",
       EditFile("kova_5_2_0_13.manifest", "beam", "Beam"),
       "does not match kova_5_2_0_13.manifest: the manifest or its signature was changed."},
      {"signature damaged",
       [](SignedHome& s) {
         std::string line = s.signatureLine(1);
         line[20] = line[20] == 'A' ? 'B' : 'A';
         s.edit("kova_5_2_0_13.manifest.minisig", s.signatureLine(1), line);
       },
       "the manifest or its signature was changed."},
      {"signature cut short",
       [](SignedHome& s) {
         s.edit("kova_5_2_0_13.manifest.minisig", s.signatureLine(1),
                s.signatureLine(1).substr(0, 40));
       },
       "The signature kova_5_2_0_13.manifest.minisig is damaged: its signature line is not the "
       "base64 of a minisign signature."},
      {"trusted comment changed",
       EditFile("kova_5_2_0_13.manifest.minisig", "KOVA release team", "KOVA release tean"),
       "The trusted comment of kova_5_2_0_13.manifest.minisig does not match its signature"},
      {"unknown key", [](SignedHome& s) { s.write(&s.keys.other); }, "which is not trusted."},
      {"revoked key", [](SignedHome& s) { s.revoke(s.keys.trusted.id()); }, "which is revoked."},
      {"every key revoked, unsigned release",
       [](SignedHome& s) {
         s.h.settings.trustedKeyFiles.clear();
         s.revoke(s.keys.trusted.id());
         s.h.removeHomeFile("kova_5_2_0_13.manifest.minisig");
       },
       "only a signed release is installed."},
      {"signature of another manifest",
       [](SignedHome& s) {
         s.note = "Another release.";
         s.h.home.write("other.manifest", s.manifest());
         s.keys.trusted.sign(s.path("other.manifest"), "KOVA release team", false,
                             s.path("kova_5_2_0_13.manifest.minisig"));
       },
       "the manifest or its signature was changed."},
      {"signed manifest with a member unknown to the tool",
       RewriteManifest(&SignedHome::extra, ",\"hardware\":\"rev B only\""),
       "holds \"hardware\", which this tool does not know."},
      {"signed manifest that is no JSON",
       [](SignedHome& s) {
         s.h.home.write("kova_5_2_0_13.manifest", "version = 5.2.0.13\n");
         s.keys.trusted.sign(s.manifestPath(), "KOVA release team");
       },
       "cannot be used: it is not a JSON object."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    SignedHome s;
    row.spoil(s);
    s.h.load();
    s.h.advance(30000);
    EXPECT_TRUE(s.h.f().closed());
    ASSERT_EQ(s.h.boxTexts().size(), 1u);
    EXPECT_NE(s.h.boxTexts()[0].find(row.says), std::string::npos) << s.h.boxTexts()[0];
    EXPECT_TRUE(s.h.platform.ftp.log.empty());
    EXPECT_TRUE(s.h.platform.network.connectLog.empty());
  }
}

// Checked again at the click, with the modem's version known: a release
// changed since start, or made for other modems, never goes up. A good one
// does; the window says who signed it, or that nothing was checked, and the
// history names the signer.
TEST(SignedRelease, CheckedAgainAtTheClick) {
  struct Row {
    const char* what;
    Spoil beforeStart, afterStart;
    std::string says;  // in the box; empty: the release goes up
    Entry entry = Entry::Upgrade;
    std::string signedBy = "KOVA release team";
  };
  const Row rows[] = {
      {"wrong series",
       [](SignedHome& s) {
         s.series = "5.3";
         s.lowest = "";
         s.write();
       },
       nullptr, "Version 5.2.0.13 may only be installed over series 5.3; the modem runs 5.2.0.12."},
      {"running version below the lowest", RewriteManifest(&SignedHome::lowest, "5.2.0.12.1"),
       nullptr,
       "may only be installed over series 5.2, version 5.2.0.12.1 or later; the modem runs "
       "5.2.0.12."},
      {"image swapped after start", nullptr, EditFile("kova_5_2_0_13.bin", "bytes", "bytez"),
       "The SHA-256 of kova_5_2_0_13.bin is "},
      {"pic.hex swapped after start", nullptr, EditFile("pic.hex", "FF", "FE"),
       "The SHA-256 of pic.hex is "},
      {"signature removed after start", nullptr,
       RemoveFiles({"kova_5_2_0_13.manifest.minisig"}), "only a signed release is installed."},
      {"pic.hex swapped after start, PIC upgrade alone", nullptr, EditFile("pic.hex", "FF", "FE"),
       "The SHA-256 of pic.hex is ", Entry::Pic},
      {"signed as minisign -S signs", nullptr, nullptr, ""},
      {"legacy signature", [](SignedHome& s) { s.write(nullptr, true); }, nullptr, ""},
      // Rotation: the new key signs while the old one is revoked.
      {"new key, old one revoked",
       [](SignedHome& s) {
         s.h.settings.trustedKeyFiles.push_back(s.keys.next.pub());
         s.revoke(s.keys.trusted.id());
         s.write(&s.keys.next);
       },
       nullptr, ""},
      {"no manifest, no trusted key",
       [](SignedHome& s) {
         s.h.settings.trustedKeyFiles.clear();
         s.h.removeHomeFile("kova_5_2_0_13.manifest");
       },
       nullptr, "", Entry::Upgrade, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    SignedHome s;
    if (row.beforeStart) row.beforeStart(s);
    s.h.start();
    ASSERT_FALSE(s.h.f().closed());
    EXPECT_EQ(s.h.f().lblSignature.caption(),
              row.signedBy.empty() ? "not signed" : "signed by " + row.signedBy);
    if (row.afterStart) row.afterStart(s);
    s.h.click(row.entry);
    s.h.settle();
    if (row.says.empty()) {
      EXPECT_EQ(s.h.platform.ftp.files["/bin/kova.bin"], kNew);
      const auto history = HistoryOperations(
          ReadHistory((s.h.home.path() / "Backup" / "history.jsonl").string()).entries);
      ASSERT_EQ(history.size(), 1u);
      EXPECT_EQ(history[0].outcome, "done");
      EXPECT_EQ(history[0].signedBy, row.signedBy);
      continue;
    }
    ASSERT_EQ(s.h.boxes().size(), 1u);
    EXPECT_NE(s.h.boxes()[0].find(row.says), std::string::npos) << s.h.boxes()[0];
    EXPECT_NE(s.h.boxes()[0].find("Nothing was sent to the modem."), std::string::npos);
    for (const auto& line : s.h.wire())
      EXPECT_FALSE(line.starts_with("PUT ") || line.starts_with("DELETE ")) << line;
    EXPECT_TRUE(s.h.console->lines.empty());  // not even the prepare command
    EXPECT_EQ(s.h.platform.ftp.files["/bin/kova.bin"], kOld);
  }
}

// A backup is restored only while it is what came from the modem: its
// record in the history says so.
TEST(SignedRelease, ABackupIsRestoredOnlyAsItWasRecorded) {
  struct Row {
    const char* what;
    bool trusted;  // a key is trusted
    std::function<void(WorkflowModem&)> spoil;
    std::string says;  // empty: restored
  };
  const auto noRecord = [](WorkflowModem& h) { h.removeHomeFile("Backup/history.jsonl"); };
  const Row rows[] = {
      {"as kept", false, [](WorkflowModem&) {}, ""},
      {"as kept, a key trusted", true, [](WorkflowModem&) {}, ""},
      {"image changed since", false,
       [](WorkflowModem& h) { h.home.write("Backup/kova_5_2_0_12.bin", "KOVA-IMAGE 5.2.0.12\nold imagE"); },
       "The backup is not restored: the SHA-256 of "},
      {"checksum changed since", true,
       [](WorkflowModem& h) { h.home.write("Backup/chk_5_2_0_12.txt", "checksum 5.2.0.1x"); },
       "The backup is not restored: the SHA-256 of "},
      {"no record, a key trusted", true, noRecord, "was not taken by this tool"},
      {"no record, no key", false, noRecord, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    SignedHome s;
    if (!row.trusted) s.h.settings.trustedKeyFiles.clear();
    s.h.start();
    s.h.click(Entry::Upgrade);  // keeps the backup of 5.2.0.12
    s.h.settle();
    ASSERT_EQ(s.h.platform.ftp.files["/bin/kova.bin"], kNew);
    row.spoil(s.h);
    s.h.ui().boxes.clear();
    s.h.pick = "5.2.0.12";
    s.h.click(Entry::Restore);
    s.h.settle();
    const bool restored = s.h.platform.ftp.files["/bin/kova.bin"] == kOld;
    EXPECT_EQ(restored, row.says.empty());
    if (!row.says.empty()) {
      ASSERT_FALSE(s.h.boxes().empty());
      EXPECT_NE(s.h.boxes()[0].find(row.says), std::string::npos) << s.h.boxes()[0];
    }
  }
}
#endif
