#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/JsonLine.h"
#include "core/Sha256.h"
#include "core/UpgradeHistory.h"

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

std::string DigestOf(std::string_view text) {
  Sha256 hash;
  hash.update(text.data(), text.size());
  return hash.hexDigest();
}

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kova-history-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  static void write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  fs::path dir_;
};

const std::string kMillionA = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
const std::string kEmpty = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

}  // namespace

TEST(Sha256, StandardVectors) {
  EXPECT_EQ(DigestOf(""), kEmpty);
  EXPECT_EQ(DigestOf("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(DigestOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  // Lengths either side of where the padding needs a second block.
  EXPECT_EQ(DigestOf(std::string(55, 'a')),
            "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
  EXPECT_EQ(DigestOf(std::string(63, 'a')),
            "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34");
  EXPECT_EQ(DigestOf(std::string(64, 'a')),
            "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");

  // Uneven pieces cross every block boundary position.
  Sha256 hash;
  const std::string a(200, 'a');
  for (std::size_t done = 0, piece = 1; done < 1000000; piece = piece % 199 + 1) {
    std::size_t n = std::min(piece, 1000000 - done);
    hash.update(a.data(), n);
    done += n;
  }
  EXPECT_EQ(hash.hexDigest(), kMillionA);

  // A digest does not end the hash.
  Sha256 partial;
  partial.update("ab", 2);
  EXPECT_EQ(partial.hexDigest(), DigestOf("ab"));
  partial.update("c", 1);
  EXPECT_EQ(partial.hexDigest(), DigestOf("abc"));
}

using Sha256File = TempDir;

TEST_F(Sha256File, ReadsInPiecesAndFailsOnWhatCannotBeRead) {
  write(path("million"), std::string(1000000, 'a'));  // four 256 KiB pieces
  write(path("empty"), "");
  EXPECT_EQ(Sha256OfFile(path("million")), kMillionA);
  EXPECT_EQ(Sha256OfFile(path("empty")), kEmpty);
  EXPECT_EQ(Sha256OfFile(path("missing")), std::nullopt);
  EXPECT_EQ(Sha256OfFile(dir_.string()), std::nullopt);
}

TEST(JsonLine, WritesFieldsInOrderWithCompactNumbers) {
  struct Case {
    JsonLine line;
    std::string expected;
  } cases[] = {
      {JsonLine(), "{}"},
      {JsonLine().add("b", 12.5).add("a", 3.0).add("c", 1.23456).add("d", -0.0001),
       R"({"b":12.5,"a":3,"c":1.235,"d":0})"},
      {JsonLine().add("n", -7LL).add("i", 42).add("z", std::size_t{9}), R"({"n":-7,"i":42,"z":9})"},
      {JsonLine().add("t", true).add("f", false).add("x", nullptr).add("s", "on"),
       R"({"t":true,"f":false,"x":null,"s":"on"})"},
      {JsonLine().add("nan", std::nan("")), R"({"nan":null})"},
      {JsonLine().addObject("o", JsonLine().add("k", 1)).addArray("a", {}).addArray(
           "b", {JsonLine().add("x", 1), JsonLine()}),
       R"({"o":{"k":1},"a":[],"b":[{"x":1},{}]})"},
      {JsonLine().add("e\"", "q\"b\\n\n\r\t\b\f\x01\x1f\x7f"),
       R"({"e\"":"q\"b\\n\n\r\t\b\f\u0001\u001f)"s + "\x7f\"}"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.line.str(), c.expected);
}

TEST(JsonLine, TextRoundTripsAndInvalidUtf8BecomesReplacement) {
  std::string controls;
  for (char c = 0; c < 0x20; ++c) controls += c;
  const std::string fffd = "\xEF\xBF\xBD";
  const std::pair<std::string, std::string> cases[] = {
      {controls, controls},
      {"\"quoted\" \\ back\\slash /", "\"quoted\" \\ back\\slash /"},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E"},
      {"a\xFF" "b", "a" + fffd + "b"},
      {"cut \xE2\x82", "cut " + fffd + fffd},                  // sequence cut short
      {"\xC0\xAF", fffd + fffd},                                // overlong '/'
      {"\xE0\x80\xAF", fffd + fffd + fffd},                     // overlong '/'
      {"\xF0\x8F\xBF\xBF", fffd + fffd + fffd + fffd},          // overlong U+FFFF
      {"\xED\xA0\x80", fffd + fffd + fffd},                     // encoded surrogate
      {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},          // past U+10FFFF
      {"\x80" "x", fffd + "x"},                                 // stray continuation
  };
  for (const auto& [text, expected] : cases) {
    auto value = ParseJson(JsonLine().add(text, text).str());
    ASSERT_TRUE(value && value->isObject()) << text;
    ASSERT_EQ(value->asObject().size(), 1u);
    EXPECT_EQ(value->asObject()[0].first, expected);
    ASSERT_NE(value->get(expected), nullptr);
    EXPECT_EQ(value->get(expected)->asString(), expected);
  }
}

TEST(ParseJson, ReadsValuesEscapesAndNumbers) {
  auto v = ParseJson(
      " {\"s\":\"A\\u0041\\u00e9\\u20ac\\ud834\\udd1e\\/\\u0000\","
      "\"n\":-0.5e+2,\"z\":0,\"a\":[true,false,null,{}]}\r\n");
  ASSERT_TRUE(v && v->isObject());
  EXPECT_EQ(v->get("s")->asString(), "AA\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E/\0"s);
  EXPECT_EQ(v->get("n")->asNumber(), -50);
  EXPECT_TRUE(v->get("z")->isNumber());
  const auto& a = v->get("a")->asArray();
  ASSERT_EQ(a.size(), 4u);
  EXPECT_TRUE(a[0].asBool() && a[1].isBool() && !a[1].asBool() && a[2].isNull() && a[3].isObject());
  EXPECT_EQ(v->get("missing"), nullptr);
  EXPECT_EQ(a[0].get("s"), nullptr);       // not an object
  EXPECT_EQ(a[0].asString(), "");          // another type reads as empty
  EXPECT_TRUE(ParseJson(std::string(30, '[') + std::string(30, ']')));
}

TEST(ParseJson, RejectsMalformedText) {
  const std::string cases[] = {
      "", " ", "{", "}", "{\"a\":1,}", "[1,]", "[,1]", "{\"a\" 1}", "{a:1}", "{\"a\":}", "'x'",
      "\"abc", "\"a\nb\"", "\"\\x\"", "\"\\u12g4\"", "\"\\u12\"", "\"\\ud834\"", "\"\\udd1e\"",
      "\"\\ud834\\u0041\"", "\"\\ud834\\ud834\"", "\"\xFF\"", "01", "-01", "1.", ".5",
      "-", "1e", "1e+", "+1", "0x10", "1e999", "NaN", "tru", "nul", "True", "{} x", "[1] [2]",
      "{}}", "{\"a\":1,\"a\":2}",
      std::string(200, '[') + std::string(200, ']'), "\"a\"\0"s,  // too deep, NUL after
  };
  for (const auto& text : cases) EXPECT_FALSE(ParseJson(text)) << text;
}

namespace {

HistoryEntry Upgrade() {
  return {"2026-12-08T06:01:33Z", "192.168.0.1", "upgrade", "5.2.0.12", "5.2.0.13",
          "modem_5_2_0_13.bin", 7340032, std::string(64, 'a'), "done", 83.25};
}

}  // namespace

using UpgradeHistory = TempDir;

TEST_F(UpgradeHistory, LineHasTheKeysInOrder) {
  EXPECT_EQ(HistoryLine(Upgrade()),
            R"({"time":"2026-12-08T06:01:33Z","modem":"192.168.0.1","operation":"upgrade",)"
            R"("version_before":"5.2.0.12","version_after":"5.2.0.13","image":{"name":)"
            R"("modem_5_2_0_13.bin","size":7340032,"sha256":")" + std::string(64, 'a') +
            R"("},"outcome":"done","duration_s":83.25})");
  HistoryEntry dns{"2026-12-08T07:00:00Z", "modem.local", "dns", "", "", "", -1, "", "failed", 2};
  EXPECT_EQ(HistoryLine(dns),
            R"({"time":"2026-12-08T07:00:00Z","modem":"modem.local","operation":"dns",)"
            R"("version_before":"","version_after":"","image":null,"outcome":"failed",)"
            R"("duration_s":2})");
}

TEST_F(UpgradeHistory, AppendedEntriesReadBackInOrderAndTheFileOnlyGrows) {
  const std::string file = path("history.jsonl");
  EXPECT_TRUE(ReadHistory(file).entries.empty());
  EXPECT_TRUE(ReadHistory(file).warnings.empty());

  std::vector<HistoryEntry> entries = {
      Upgrade(),
      {"2026-12-08T07:00:00Z", "modem.local", "dns", "", "", "", -1, "", "failed", 0.125},
      {"2026-12-09T10:11:12Z", "10.0.0.2", "restore", "5.2.0.13", "", "b\xC3\xA4" "ck \"1\".bin",
       0, "", "interrupted", 12.5},
  };
  std::string expected;
  for (const auto& e : entries) {
    std::string error;
    ASSERT_TRUE(AppendHistory(file, e, error)) << error;
    const std::string content = read(file);
    expected += HistoryLine(e) + "\n";
    EXPECT_EQ(content, expected);  // earlier bytes untouched, no blank lines
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644 & ~mask);
  auto history = ReadHistory(file);
  EXPECT_EQ(history.entries, entries);
  EXPECT_TRUE(history.warnings.empty());
}

TEST_F(UpgradeHistory, PartialLastLineIsLeftAndSkippedWithAWarning) {
  const std::string file = path("history.jsonl");
  const std::string before = HistoryLine(Upgrade()) + "\n" + R"({"time":"2026-12-08T0)";
  write(file, before);
  HistoryEntry next = Upgrade();
  next.operation = "pic";
  std::string error;
  ASSERT_TRUE(AppendHistory(file, next, error)) << error;
  EXPECT_EQ(read(file), before + "\n" + HistoryLine(next) + "\n");

  auto history = ReadHistory(file);
  EXPECT_EQ(history.entries, (std::vector<HistoryEntry>{Upgrade(), next}));
  EXPECT_EQ(history.warnings,
            std::vector<std::string>{"line 2 of " + file + " is damaged and was skipped"});

  // Valid JSON that is not a history entry counts as damaged too; blank
  // lines are no entry and no damage.
  auto with = [](std::string from, std::string to) {
    std::string line = HistoryLine(Upgrade());
    return line.replace(line.find(from), from.size(), to);
  };
  write(file, "[]\n{\"time\":1}\n\n" + with("\"image\":{", "\"image\":\"x\",\"y\":{") + "\n" +
                  with("7340032", "1e300") + "\n" + with("7340032", "1.5") + "\n" +
                  HistoryLine(Upgrade()) + "\n");
  history = ReadHistory(file);
  EXPECT_EQ(history.entries.size(), 1u);
  EXPECT_EQ(history.warnings.size(), 5u);
  EXPECT_EQ(ReadHistory(file + "/x").warnings.size(), 1u);  // unreadable, not missing
}

TEST_F(UpgradeHistory, UnwritablePathFailsNamingIt) {
  for (const std::string& file : {path("missing/history.jsonl"), dir_.string()}) {
    std::string error;
    EXPECT_FALSE(AppendHistory(file, Upgrade(), error));
    EXPECT_NE(error.find(file), std::string::npos) << error;
  }
}

TEST(HistoryTable, AlignsColumnsUnderAHeader) {
  HistoryEntry reset{"2026-12-08T08:00:00Z", "10.0.0.2", "reset", "", "", "a\tb\x1b",
                     -1, "", "done", 1};
  EXPECT_EQ(HistoryTable({Upgrade(), reset}),
            "Time                  Modem        Operation  Before    After     "
            "Outcome  Duration  Image\n"
            "2026-12-08T06:01:33Z  192.168.0.1  upgrade    5.2.0.12  5.2.0.13  "
            "done     83.2 s    modem_5_2_0_13.bin\n"
            "2026-12-08T08:00:00Z  10.0.0.2     reset      -         -         "
            "done     1.0 s     a?b?\n");
  EXPECT_EQ(HistoryTable({}), "No operations recorded.\n");
}
