#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <unistd.h>
#endif

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
TEST(ImageStore, Listing) {
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
}

// A backup is a whole pair; what a process left half-written goes at the
// next start once that process is gone, and nothing that is not ours.
TEST(ImageStore, PairsAndTemporaries) {
  TempDir d;
  Session session;
  session.backupDir = d.str();
  const ImageStore store(session, "7-5-1");
  const auto v = ModemVersion::FromFileForm("5_2_0_12");
  d.write("kova_5_2_0_12.bin", "image");
  EXPECT_FALSE(store.hasBackup(v));  // an image alone is no backup
  const std::string image = store.temporaryPath("kova_5_2_0_12.bin");
  const std::string checksum = store.temporaryPath("chk_5_2_0_12.txt");
  EXPECT_NE(image, store.temporaryPath("kova_5_2_0_12.bin"));
  std::ofstream(image) << "new image";
  std::ofstream(checksum) << "sum";
  Text error;
  std::string holder;
  EXPECT_EQ(store.keepBackup(v, image, checksum, false, error, holder), ImageStore::Keep::Kept) << error;
  EXPECT_TRUE(store.hasBackup(v));
  EXPECT_EQ(d.read("kova_5_2_0_12.bin"), "new image");
  // Another unit of the same version, backed up meanwhile (another station):
  // the first pair kept stays, nothing of the second is left.
  std::ofstream(image) << "second image";
  std::ofstream(checksum) << "second sum";
  EXPECT_EQ(store.keepBackup(v, image, checksum, false, error, holder), ImageStore::Keep::Kept) << error;
  EXPECT_EQ(d.read("kova_5_2_0_12.bin"), "new image");
  EXPECT_FALSE(d.exists(fs::path(image).filename().string()));
  EXPECT_FALSE(d.exists(fs::path(checksum).filename().string()));
  // A pair that its record no longer vouches for gives way to a fresh copy.
  std::ofstream(image) << "fresh image";
  std::ofstream(checksum) << "fresh sum";
  EXPECT_EQ(store.keepBackup(v, image, checksum, true, error, holder), ImageStore::Keep::Kept)
      << error;
  EXPECT_EQ(d.read("kova_5_2_0_12.bin"), "fresh image");
  EXPECT_EQ(d.read("chk_5_2_0_12.txt"), "fresh sum");
  EXPECT_FALSE(d.exists(fs::path(image).filename().string()));

  EXPECT_EQ(fs::path(image).filename().string().rfind(".kova_5_2_0_12.bin.kova-7-5-1-", 0), 0u);
}

// Only what the tool alone names so, of a process that surely ended, goes:
// a user's own dotted files and a live writer's temporaries stay.
TEST(ImageStore, StaleTemporariesAreOnlyOurs) {
  TempDir d;
  Session session;
  session.backupDir = d.str();
  const ImageStore store(session, "7-5-1");
  const std::vector<std::string> ours = {".kova_1.bin.kova-8-5-1-1.pending",
                                         "..sylog.log.kova-8-5-1-3.part",
                                         ".modem-image.verify.kova-8-5-1-2.pending"};
  const std::vector<std::string> kept = {
      ".kova_1.bin.kova-9-5-1-1.pending",  // its writer runs (or cannot be judged)
      ".report.2024-05.part", ".notes.99999-1.pending", ".kova_1.bin.8-1.pending", ".hidden",
      "x.kova-8-5-1-1.pending", ".kova-8-5-1-1.pending", ".a.kova-8-5-1.pending",
      ".a.kova-8-5-x-1.pending", ".a.kova-8--5-1-1.pending"};
  for (const auto& n : ours) d.write(n, "x");
  for (const auto& n : kept) d.write(n, "x");
  std::vector<std::string> asked;
  store.removeStaleTemporaries([&asked](const std::string& stamp) {
    asked.push_back(stamp);
    return stamp == "8-5-1" || stamp == "99999";
  });
  for (const auto& n : ours) EXPECT_FALSE(d.exists(n)) << n;
  for (const auto& n : kept) EXPECT_TRUE(d.exists(n)) << n;
  EXPECT_EQ(asked.size(), 4u);
#ifndef _WIN32
  if (::geteuid() == 0) {  // another user's file, named as ours, stays
    d.write(ours[0], "x");
    ASSERT_EQ(::chown((d.path() / ours[0]).c_str(), 65534, 65534), 0);
    store.removeStaleTemporaries([](const std::string&) { return true; });
    EXPECT_TRUE(d.exists(ours[0]));
  }
#endif
}
