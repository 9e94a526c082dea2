#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "firmware/ImageStore.h"
#include "sim/Harness.h"

namespace fs = std::filesystem;

TEST(ImageStore, ReleaseSeriesRule) {
  struct Case {
    const char* running;
    bool bypass;
    const char* candidate;
    bool allowed;
  } cases[] = {
      {"5_2_0_12", false, "5_2_1_0", true},   {"5_2_0_12", false, "5_3_1_4", false},
      {"5_2_0_12", false, "6_2_0_1", false},  {"0_0_0_0", false, "9_9", true},
      {"5_2_0_12", true, "6_0_0_0", true},    {"10_2_1", false, "10_3_0", false},
      {"10_2_1", false, "10_2_9", true},      {"5_2", false, "5_2", true},
      {"5_2_0_12", false, "5_2", false},      {"5_2", false, "5_2_0_1", false},
      {"", false, "", true},                  {"0_0_", false, "x", true},
      {"a_B_1", false, "A_b_2", true},  // letter case does not count
  };
  for (auto& c : cases)
    EXPECT_EQ(ModemVersion::FromFileForm(c.running)
                  .allows(ModemVersion::FromFileForm(c.candidate), c.bypass),
              c.allowed)
        << c.running << " -> " << c.candidate;
}

// The images listed, the versions read from their names, and what deleting
// a backup takes: each file on its own, silently.
TEST(ImageStore, ListingAndDeletion) {
  TempDir d;
  d.write("kova_1.bin.bin", "a");
  d.write("kova_.bin", "a");  // no version, still an image
  d.write("KOVA_2_0.BIN", "b");
  d.write("kova_3_0.txt", "c");
  d.write("chk_1_0.txt", "d");
  fs::create_directory(d.path() / "kova_4_0.bin");  // a directory named like an image
  auto names = ListImages(d.str());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"KOVA_2_0.BIN", "kova_.bin", "kova_1.bin.bin"}));
  std::transform(names.begin(), names.end(), names.begin(), VersionFromImageName);
  EXPECT_EQ(names, (std::vector<std::string>{"2_0.BIN", "", "1"}));  // no lower-case ".bin"
  EXPECT_EQ(VersionFromImageName("kova"), "");
  EXPECT_TRUE(ListImages(d.str() + "/missing").empty());

  Session session;
  session.backupDir = d.str();
  const ImageStore store(session);
  store.deleteBackup(ModemVersion::FromFileForm("1.bin"));  // checksum missing, image still goes
  store.deleteBackup(ModemVersion::FromFileForm("7_7"));    // nothing there
  store.deleteBackup(ModemVersion::FromFileForm("4_0"));    // a directory is not touched
  EXPECT_FALSE(d.exists("kova_1.bin.bin"));
  EXPECT_TRUE(fs::is_directory(d.path() / "kova_4_0.bin"));
  d.write("kova_2_0.bin", "a");
  d.write("chk_2_0.txt", "b");
  fs::permissions(d.path() / "chk_2_0.txt", fs::perms::owner_read, fs::perm_options::replace);
  store.deleteBackup(ModemVersion::FromFileForm("2_0"));  // a read-only checksum stays, the image goes
  EXPECT_TRUE(d.exists("chk_2_0.txt"));
  EXPECT_FALSE(d.exists("kova_2_0.bin"));
}
