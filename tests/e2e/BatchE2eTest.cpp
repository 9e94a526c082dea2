// The binary itself in batch mode against the simulated modem: what a
// script sees on standard output, standard error and in the exit code.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <sstream>

#include "core/JsonLine.h"
#include "e2e/E2e.h"

namespace {

struct BatchRun {
  int exitCode = -1;
  std::string out, err;
};

BatchRun RunBinary(const ModemSim& modem, TempDir& home, const QStringList& args) {
  QProcess p;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("KOVA_MODEM_ADDRESS", "127.0.0.1");
  env.insert("KOVA_PORT_ZING", QString::number(modem.zing));
  env.insert("KOVA_PORT_FTP", QString::number(modem.ftp));
  env.insert("KOVA_PORT_TELNET", QString::number(modem.telnet));
  env.insert("KOVA_PORT_AT", QString::number(modem.at));
  env.remove("DISPLAY");
  env.remove("QT_QPA_PLATFORM");  // batch mode needs no display at all
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(QString::fromStdString(home.str()));
  p.start(KOVA_UPGRADER_BIN, args);
  BatchRun r;
  if (!p.waitForStarted(10000) || !p.waitForFinished(170000)) {
    p.kill();
    p.waitForFinished(5000);
    r.err = "the binary did not start or did not end";
    return r;
  }
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.out = p.readAllStandardOutput().toStdString();
  r.err = p.readAllStandardError().toStdString();
  return r;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(BatchEndToEnd, VersionAndAnUnreachableModem) {
  ModemSim modem({});
  ASSERT_TRUE(modem.ready()) << modem.startError;
  TempDir home;
  PrepareHome(home, "5.2.0.13", false);

  auto r = RunBinary(modem, home, {"--batch", "version"});
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_TRUE(Has(r.out, "] Modem software version: 5.2.0.12\n")) << r.out;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(modem.journalHas("ZING version"));

  // The modem's ZING port closed: the failure is printed and the code says so.
  ModemSim::Options closed;
  closed.faults = {"zing-closed"};
  ModemSim off(closed);
  ASSERT_TRUE(off.ready()) << off.startError;
  auto failed = RunBinary(off, home, {"--batch", "version"});
  EXPECT_EQ(failed.exitCode, 1) << failed.out << failed.err;
  EXPECT_TRUE(Has(failed.out, "ZING Connection failed.")) << failed.out;

  auto usage = RunBinary(modem, home, {"--batch", "upgrade", "now"});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_TRUE(Has(usage.err, "unexpected argument now")) << usage.err;
}

TEST(BatchEndToEnd, UpgradeEndsWithTheNewVersion) {
  ModemSim modem({});
  ASSERT_TRUE(modem.ready()) << modem.startError;
  TempDir home;
  PrepareHome(home, "5.2.0.13", false);

  auto r = RunBinary(modem, home, {"--batch", "upgrade"});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_TRUE(Has(r.out, "] progress 100%\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "] Modem software version: 5.2.0.13\n")) << r.out;
  // The running image was saved before the new one went up.
  EXPECT_TRUE(home.exists("Backup/kova_5_2_0_12.bin"));
  EXPECT_TRUE(home.exists("Backup/chk_5_2_0_12.txt"));
  EXPECT_TRUE(Has(modem.file("/bin/kova.bin"), "KOVA-IMAGE 5.2.0.13"));
  for (const auto& name : FilesUnder(home.path() / "Backup"))
    EXPECT_TRUE(name == "kova_5_2_0_12.bin" || name == "chk_5_2_0_12.txt" ||
                name == "history.jsonl")
        << name;
  std::cout << "---- batch upgrade, standard output:\n" << r.out << "---- standard error:\n"
            << r.err;

  // For scripts: the modem's image verified, and the history, as JSON lines.
  auto verify = RunBinary(modem, home, {"--batch", "--json", "verify"});
  auto history = RunBinary(modem, home, {"--batch", "--json", "history"});
  EXPECT_EQ(verify.exitCode, 0) << verify.out << verify.err;
  EXPECT_EQ(history.exitCode, 0) << history.err;
  std::vector<JsonValue> lines;
  std::istringstream stream(verify.out + history.out);
  for (std::string line; std::getline(stream, line);) {
    auto value = ParseJson(line);
    ASSERT_TRUE(value && value->isObject()) << line;
    lines.push_back(*value);
  }
  ASSERT_GE(lines.size(), 2u);
  const JsonValue& result = lines[lines.size() - 2];
  EXPECT_EQ(result.get("event")->asString(), "result");
  EXPECT_EQ(result.get("outcome")->asString(), "done");
  EXPECT_EQ(lines.back().get("operation")->asString(), "upgrade");
  EXPECT_EQ(lines.back().get("version_after")->asString(), "5.2.0.13");
  EXPECT_FALSE(home.exists("Backup/modem-image.verify"));
}
