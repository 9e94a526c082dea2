// The binary in batch mode with trusted release keys, against the simulated
// modem: bad releases are refused before the modem stores a byte, a good
// one goes up and is named by its signer, and the dry run checks it all.
#include "core/Sha256.h"
#include "e2e/E2e.h"
#include "sim/SigningKey.h"

namespace {

// The release of 5.2.0.13 in home, its manifest signed by key.
void SignRelease(const TempDir& home, const SigningKey& key) {
  auto part = [&](const char* member, const std::string& name) {
    const std::string path = (home.path() / name).string();
    return std::string("\"") + member + "\":{\"name\":\"" + name + "\",\"size\":" +
           std::to_string(std::filesystem::file_size(path)) + ",\"sha256\":\"" +
           *Sha256OfFile(path) + "\"}";
  };
  home.write("kova_5_2_0_13.manifest",
             "{\"version\":\"5.2.0.13\"," + part("image", "kova_5_2_0_13.bin") + "," +
                 part("checksum", "chk_5_2_0_13.txt") + ",\"installs_over\":{\"series\":\"5.2\"},"
                 "\"note\":\"Field release.\"}\n");
  key.sign((home.path() / "kova_5_2_0_13.manifest").string(), "KOVA release team");
}

struct SigningRig : Rig {
  // The user's own trusted keys, where the tool looks for them.
  SigningRig() { modem.environment["XDG_CONFIG_HOME"] = config.str(); }
  TempDir config, keys;
  SigningKey trusted{keys, "trusted"};
};

}  // namespace

// With the key trusted in the user's folder an unsigned release is refused
// before the modem stores a byte (each way a release is bad: the simulated
// platform's tests). A signed release goes up with --trusted-key; the result
// and the history name its signer. The dry run passes before and says why it
// fails after a change, and tells an unreachable modem by its exit code.
TEST(SignedReleaseEndToEnd, ASignedReleaseGoesUpAndTheDryRunChecksIt) {
  SigningRig r;
  ASSERT_TRUE(r.modem.ready());
  std::filesystem::create_directories(r.config.path() / "kova-upgrader" / "trusted-keys");
  std::filesystem::copy_file(r.trusted.pub(),
                             r.config.path() / "kova-upgrader" / "trusted-keys" / "release.pub");
  auto refused = RunBatch(r.modem, r.home, {"--batch", "--json", "upgrade"});
  EXPECT_EQ(refused.exitCode, 1) << refused.out << refused.err;
  EXPECT_TRUE(Has(refused.out, "only a signed release is installed.")) << refused.out;
  EXPECT_TRUE(Has(refused.out, R"("outcome":"failed")")) << refused.out;
  EXPECT_EQ(Writes(r.modem.journal()), Lines{});
  EXPECT_TRUE(Has(r.modem.file("/bin/kova.bin"), "KOVA-IMAGE 5.2.0.12"));

  SignRelease(r.home, r.trusted);
  const QString key = QString::fromStdString(r.trusted.pub());
  auto check = RunBatch(r.modem, r.home, {"--trusted-key", key, "--batch", "check"});
  EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
  for (const char* line : {"ok      image: ", "ok      checksum file: ", "ok      signature: ",
                           "ok      manifest: ", "ok      image digest: ",
                           "ok      checksum file digest: ", "ok      disk space: ", "ok      modem: ",
                           "ok      version: the modem runs 5.2.0.12.", "ok      compatibility: ",
                           "ok      ftp login: "})
    EXPECT_TRUE(Has(check.out, line)) << line << "\n" << check.out;
  EXPECT_EQ(Writes(r.modem.journal()), Lines{});
  EXPECT_EQ(FilesUnder(r.home.path() / "Backup"), Lines{});

  auto up = RunBatch(r.modem, r.home, {"--batch", "--json", "--trusted-key", key, "upgrade"});
  EXPECT_EQ(up.exitCode, 0) << up.out << up.err;
  EXPECT_TRUE(Has(up.out, R"("signature":"signed by KOVA release team")")) << up.out;
  EXPECT_TRUE(Has(up.out, "Release note: Field release.")) << up.out;
  EXPECT_EQ(r.modem.file("/bin/kova.bin"), r.home.read("kova_5_2_0_13.bin"));
  EXPECT_TRUE(Has(r.home.read("Backup/history.jsonl"), R"("signed_by":"KOVA release team")"));

  r.home.write("chk_5_2_0_13.txt", "another checksum\n");
  check = RunBatch(r.modem, r.home, {"--trusted-key", key, "--batch", "--json", "check"});
  EXPECT_EQ(check.exitCode, 1) << check.out << check.err;
  EXPECT_TRUE(Has(check.out, R"({"event":"check","name":"checksum file digest","passed":false,)"))
      << check.out;

  ModemSim off({"zing-closed", "ftp-closed"});
  ASSERT_TRUE(off.ready());
  SignRelease(r.home, r.trusted);
  check = RunBatch(off, r.home, {"--trusted-key", key, "--batch", "check"});
  EXPECT_EQ(check.exitCode, 3) << check.out << check.err;
  EXPECT_TRUE(Has(check.out, "FAILED  modem: nothing answers at 127.0.0.1.")) << check.out;

  // A key file that is no key stops everything before the modem is asked.
  r.home.write("broken.pub", "untrusted comment: x\nnot a key\n");
  auto broken = RunBatch(r.modem, r.home, {"--trusted-key", "broken.pub", "--batch", "version"});
  EXPECT_EQ(broken.exitCode, 2) << broken.out << broken.err;
  EXPECT_TRUE(Has(broken.err, "broken.pub cannot be used")) << broken.err;
}
