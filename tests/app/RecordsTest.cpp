// What the tool reads and writes as text: the SHA-256 digests, JSON lines,
// the upgrade history and version texts.
#include <gtest/gtest.h>

#include <cmath>

#include "core/TextUtilities.h"
#include "sim/ConsoleBatch.h"
#include "sim/Harness.h"

using namespace std::string_literals;

TEST(Sha256, VectorsAndPiecesAcrossEveryBlockBoundary) {
  // Lengths either side of where the padding needs a second block.
  const std::pair<std::string, std::string> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
  };
  for (const auto& [text, digest] : cases) EXPECT_EQ(Sha(text), digest) << text.size();
  const std::string million = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
  Sha256 hash;
  const std::string a(1000000, 'a');
  for (std::size_t done = 0, piece = 1; done < a.size(); done += piece, piece = piece % 199 + 1)
    hash.update(a.data(), std::min(piece, a.size() - done));
  EXPECT_EQ(hash.hexDigest(), million);
  // Many blocks in one call, also after a start that left bytes waiting.
  for (const std::size_t first : {0, 3}) {
    Sha256 whole;
    whole.update(a.data(), first);
    whole.update(a.data() + first, a.size() - first);
    EXPECT_EQ(whole.hexDigest(), million) << first;
  }
}

TEST(JsonLine, WritesFieldsInOrderWithCompactNumbers) {
  const std::pair<JsonLine, std::string> cases[] = {
      {JsonLine(), "{}"},
      {JsonLine().add("b", 12.5).add("a", 3.0).add("c", 1.23456).add("d", -0.0001),
       R"({"b":12.5,"a":3,"c":1.235,"d":0})"},
      {JsonLine().add("n", -7LL).add("i", 42).add("z", std::size_t{9}), R"({"n":-7,"i":42,"z":9})"},
      {JsonLine().add("t", true).add("f", false).add("x", nullptr).add("nan", std::nan("")),
       R"({"t":true,"f":false,"x":null,"nan":null})"},
      {JsonLine().addObject("o", JsonLine().add("k", 1)).addArray("a", {}).addArray(
           "b", {JsonLine().add("x", 1), JsonLine()}),
       R"({"o":{"k":1},"a":[],"b":[{"x":1},{}]})"},
      {JsonLine().add("e\"", "q\"b\\n\n\r\t\b\f\x01\x1f\x7f"),
       R"({"e\"":"q\"b\\n\n\r\t\b\f\u0001\u001f)"s + "\x7f\"}"},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(line.str(), expected);
}

TEST(ParseJson, ReadsValuesAndRejectsMalformedText) {
  auto v = ParseJson(" {\"s\":\"A\\u0041\\u00e9\\ud834\\udd1e\\/\\u0000\","
                     "\"n\":-0.5e+2,\"a\":[true,null,{}]}\r\n");
  ASSERT_TRUE(v && v->isObject());
  EXPECT_EQ(v->get("s")->asString(), "AA\xC3\xA9\xF0\x9D\x84\x9E/\0"s);
  EXPECT_EQ(v->get("n")->asNumber(), -50);
  const auto& a = v->get("a")->asArray();
  ASSERT_EQ(a.size(), 3u);
  EXPECT_TRUE(a[0].asBool() && a[1].isNull() && a[2].isObject());
  EXPECT_EQ(v->get("missing"), nullptr);
  const std::string bad[] = {
      "", "{", "{\"a\":1,}", "[1,]", "{a:1}", "'x'", "\"abc", "\"a\nb\"", "\"\\x\"", "\"\\u12\"",
      "\"\\ud834\"", "\"\\udd1e\"", "\"\\ud834\\u0041\"", "\"\xFF\"", "01", "-01", "1.", ".5",
      "1e", "+1", "1e999", "NaN", "tru", "{} x", "{\"a\":1,\"a\":2}",
      std::string(200, '[') + std::string(200, ']'), "\"a\"\0"s,  // too deep, NUL after
  };
  for (const auto& text : bad) EXPECT_FALSE(ParseJson(text)) << text;

  // What is written reads back; invalid UTF-8 becomes replacement characters.
  const std::string fffd = "\xEF\xBF\xBD";
  const std::pair<std::string, std::string> texts[] = {
      {"caf\xC3\xA9 \xF0\x9D\x84\x9E", "caf\xC3\xA9 \xF0\x9D\x84\x9E"},
      {"cut \xE2\x82", "cut " + fffd + fffd},  // sequence cut short
      {"\xE0\x80\xAF", fffd + fffd + fffd},     // overlong '/'
      {"\xED\xA0\x80", fffd + fffd + fffd},     // encoded surrogate
  };
  for (const auto& [text, expected] : texts) {
    auto value = ParseJson(JsonLine().add("k", text).str());
    ASSERT_TRUE(value && value->get("k")) << text;
    EXPECT_EQ(value->get("k")->asString(), expected);
  }
}

namespace {
HistoryEntry Upgrade() {
  return {"2026-12-08T06:01:33Z", "192.168.0.1", "02:00:5e:10:00:01", "eth1", "upgrade",
          "5.2.0.12", "5.2.0.13", "modem_5_2_0_13.bin", 7340032, std::string(64, 'a'), "done",
          83.25, "", "", "", ""};
}
}  // namespace

// The history's and the JSON stream's times, the same on every system.
TEST(UtcIsoTime, CalendarAndMilliseconds) {
  using namespace std::chrono;
  EXPECT_EQ(UtcIsoTime(sys_days(2026y / 12 / 8) + 21693250ms, true), "2026-12-08T06:01:33.250Z");
  EXPECT_EQ(UtcIsoTime(sys_days(2028y / 2 / 29) + 86399999ms), "2028-02-29T23:59:59Z");
}

// Entries are appended after whatever a power cut left; reading skips what
// is damaged with a warning naming the line, and blank lines silently.
TEST(UpgradeHistory, LinesAppendReadBackPastDamageAndFormATable) {
  HistoryEntry dns{"2026-12-08T07:00:00Z", "modem.local", "", "", "dns", "", "", "", -1, "",
                   "failed", 0.125, "", "", "", ""};
  dns.reasonCode = "dns-refused";  // read back; older lines have none
  dns.dnsPrimary = "10.0.0.1";  // what it wrote
  dns.dnsSecondary = "2001:db8::53";
  dns.station = "line-pc-2";  // the PC that wrote it
  EXPECT_EQ(HistoryLine(Upgrade()),
            R"({"time":"2026-12-08T06:01:33Z","modem":"192.168.0.1","mac":"02:00:5e:10:00:01",)"
            R"("interface":"eth1","operation":"upgrade",)"
            R"("version_before":"5.2.0.12","version_after":"5.2.0.13","image":{"name":)"
            R"("modem_5_2_0_13.bin","size":7340032,"sha256":")" + std::string(64, 'a') +
            R"("},"outcome":"done","duration_s":83.25})");

  TempDir home;
  const std::string file = (home.path() / "history.jsonl").string();
  EXPECT_TRUE(ReadHistory(file).entries.empty());
  auto with = [](std::string from, std::string to) {
    std::string line = HistoryLine(Upgrade());
    return line.replace(line.find(from), from.size(), to);
  };
  // Valid JSON that is no history entry is damaged too. A line from before
  // units were told apart has no MAC and no interface.
  const std::string before = "[]\n{\"time\":1}\n\n" +
                             with("\"image\":{", "\"image\":\"x\",\"y\":{") + "\n" +
                             with("7340032", "1.5") + "\n" + HistoryLine(Upgrade()) + "\n" +
                             with(R"("interface":"eth1",)", R"("interface":7,)") + "\n" +
                             with(R"("mac":"02:00:5e:10:00:01","interface":"eth1",)", "") +
                             "\n{\"time\":\"2026-12-08T0";
  home.write("history.jsonl", before);
  Text error;
  ASSERT_TRUE(AppendHistory(file, dns, error)) << error;
  EXPECT_EQ(home.read("history.jsonl"), before + "\n" + HistoryLine(dns) + "\n");
  auto history = ReadHistory(file);
  HistoryEntry older = Upgrade();
  older.modemMac = older.interfaceName = "";
  EXPECT_EQ(history.entries, (std::vector<HistoryEntry>{Upgrade(), older, dns}));
  const std::string damaged = " of " + file + " is damaged and was skipped";
  EXPECT_EQ(history.warnings, (std::vector<std::string>{"line 1" + damaged, "line 2" + damaged,
                                                        "line 4" + damaged, "line 5" + damaged,
                                                        "line 7" + damaged, "line 9" + damaged}));
  EXPECT_FALSE(AppendHistory(file + "/x", dns, error));
  EXPECT_NE(error.english().find(file + "/x"), std::string::npos) << error;

  // The table for people: aligned columns, "-" for nothing, control characters (C1 too) escaped.
  HistoryEntry reset{"2026-12-08T08:00:00Z", "10.0.0.2", "", "", "reset", "", "", "a\tb\x1b\xC2\x9B",
                     -1, "", "failed", 1, "", "", "", ""};
  reset.reasonCode = "reset-failed";
  EXPECT_EQ(HistoryTable({Upgrade(), reset}),
            "Time                  Modem        MAC                Interface  Operation  Before    "
            "After     Outcome  Reason        Duration  Image\n"
            "2026-12-08T06:01:33Z  192.168.0.1  02:00:5e:10:00:01  eth1       upgrade    5.2.0.12  "
            "5.2.0.13  done     -             83.2 s    modem_5_2_0_13.bin\n"
            "2026-12-08T08:00:00Z  10.0.0.2     -                  -          reset      -         "
            "-         failed   reset-failed  1.0 s     a\\x09b\\x1B\\u009B\n");
  EXPECT_EQ(HistoryTable({}), "No operations recorded.\n");
}

