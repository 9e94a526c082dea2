// End-to-end support: the simulated modem (tools/modemsim) as a real process
// on loopback, and the tool on the real platform (Qt widgets offscreen,
// sockets, libcurl) driven as a user drives it.
#pragma once

#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <thread>
#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "core/JsonLine.h"
#include "core/UpgradeHistory.h"
#include "platform/qt/QtFormView.h"
#include "platform/qt/QtPlatform.h"
#include "sim/Harness.h"

using Lines = std::vector<std::string>;

// A firmware image naming its version in its first line, as the simulated
// modem reads it when it restarts.
inline void WriteImage(const std::filesystem::path& path, const std::string& version,
                       size_t bytes = 300000) {
  std::ofstream(path, std::ios::binary) << "KOVA-IMAGE " << version << "\n"
                                        << std::string(bytes, 'k');
}

// A command's exit code and output (standard error included).
inline std::pair<int, std::string> Shell(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen((command + " 2>&1").c_str(), "r")) {
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int status = ::pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
  }
  return {-1, "cannot run " + command};
}

// Every file under dir, relative, sorted.
inline Lines FilesUnder(const std::filesystem::path& dir) {
  Lines names;
  if (std::filesystem::is_directory(dir))
    for (auto& e : std::filesystem::recursive_directory_iterator(dir))
      if (e.is_regular_file()) names.push_back(e.path().lexically_relative(dir).generic_string());
  std::sort(names.begin(), names.end());
  return names;
}

// The lines of home's history.
inline std::vector<HistoryEntry> HistoryIn(const TempDir& home) {
  return ReadHistory(home.str() + "/Backup/history.jsonl").entries;
}

// The new image 5.2.0.13, its checksum file and (optionally) pic.hex.
inline void PrepareHome(TempDir& home, bool withPic) {
  WriteImage(home.path() / "kova_5_2_0_13.bin", "5.2.0.13");
  home.write("chk_5_2_0_13.txt", "checksum of 5.2.0.13\n");
  if (withPic) home.write("pic.hex", ":10000000000102030405060708090A0B0C0D0E0F78\n:00000001FF\n");
}

// tools/modemsim/modemsim.py running 5.2.0.12 on free loopback ports, with
// its file system and journal in a temporary directory; stopped with the
// object. Its errors go to the test's standard error. Options come last and
// so win over the defaults (e.g. {"--reboot-time", "40"}). Run in network
// namespace netns if given.
class ModemSim {
 public:
  explicit ModemSim(const Lines& faults = {}, const Lines& options = {},
                    const std::string& netns = "") {
    QStringList args{QString(KOVA_SOURCE_DIR) + "/tools/modemsim/modemsim.py", "--init",
                     "--host", "127.0.0.1", "--root", QString::fromStdString(root()),
                     "--version", "5.2.0.12", "--reboot-time", "1", "--reflash-time", "1",
                     "--journal", QString::fromStdString(dir_.str() + "/journal.log"),
                     "--zing-port", "0", "--ftp-port", "0", "--telnet-port", "0", "--at-port", "0"};
    for (auto& f : faults) args << "--fault" << QString::fromStdString(f);
    for (auto& o : options) args << QString::fromStdString(o);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!netns.empty())
      args = QStringList{"netns", "exec", QString::fromStdString(netns), KOVA_PYTHON} + args;
    process_.start(netns.empty() ? KOVA_PYTHON : "ip", args);
    QRegularExpression ready("READY zing=(\\d+) ftp=(\\d+) telnet=(\\d+) at=(\\d+)\n");
    const char* channels[] = {"ZING", "FTP", "TELNET", "AT"};
    QByteArray out;
    QRegularExpressionMatch m;
    while (!(m = ready.match(QString::fromLatin1(out))).hasMatch() &&
           process_.waitForReadyRead(20000))
      out += process_.readAllStandardOutput();
    if (!m.hasMatch()) return;
    environment["KOVA_MODEM_ADDRESS"] = "127.0.0.1";
    for (int i = 0; i < 4; ++i)
      environment[std::string("KOVA_PORT_") + channels[i]] = m.captured(i + 1).toStdString();
    // The tool's own folder (its journal of uploads), one per modem: what a
    // test leaves there never reaches another test.
    environment["XDG_CONFIG_HOME"] = dir_.str() + "/config";
  }
  ~ModemSim() { stop(); }
  // The modem loses its power; its file system stays.
  void stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();  // QProcess kills it if it does not end
    process_.waitForFinished(5000);
  }
  bool ready() const { return !environment.empty(); }
  std::string root() const { return dir_.str() + "/modem"; }
  Lines journal() const {
    Lines lines;
    std::ifstream in(dir_.str() + "/journal.log");
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  // Until the journal holds line (true) or ms pass (false).
  bool waitJournal(const std::string& line, int ms) const {
    QElapsedTimer t;
    t.start();
    for (Lines seen = journal(); std::find(seen.begin(), seen.end(), line) == seen.end();
         seen = journal()) {
      if (t.elapsed() >= ms) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
  }
  // A file of the modem's file system ("" when absent).
  std::string file(const std::string& remotePath) const { return dir_.read("modem" + remotePath); }

  // Its address and ports, as the tool reads them from its environment.
  std::map<std::string, std::string> environment;

 private:
  TempDir dir_;
  QProcess process_;
};

// Answers message boxes at once (recording them), and runs a test's script
// in the real dialogs through their widgets.
class E2eUi : public QtUi {
 public:
  int msgBox(const Text& text, int style, const Text& title) override {
    boxes.push_back({text.english(), style, title.english(), 0});
    return (style & 7) == MsgYesNo ? MsgNo : MsgOk;
  }
  void showModal(Form& form) override {
    dialogs.push_back(form.name());
    form.reopen();
    form.load();
    QtFormView view(form, mainWindow());
    QTimer::singleShot(0, [this, &form, &view] {
      if (dialogScript && !form.closed()) dialogScript(view);
      // Nobody acted, or a script failed half-way: the user closes the frame.
      if (!form.closed()) view.widget()->close();
    });
    view.exec();
  }
  std::vector<MsgRecord> boxes;
  Lines dialogs;
  std::function<void(QtFormView&)> dialogScript;  // acts in the dialogs that open
};

// The window of the tool on the real platform against a ModemSim, started
// in its home as the real program is (bare file names resolve there).
class E2eTool {
 public:
  E2eTool(const ModemSim& modem, TempDir& home)
      : previousDirectory_(std::filesystem::current_path()) {
    auto& env = modem.environment;
    std::string error;
    Settings s = *SettingsFromEnvironment(
        [&](const char* name) { return env.count(name) ? env.at(name).c_str() : nullptr; }, error);
    s.workingDirectory = home.str();
    std::filesystem::current_path(home.path());
    platform_ = std::make_unique<QtPlatform>(&ui);
    form_ = std::make_unique<MainWindow>(*platform_, s);
    form_->sbUpgrade.changed.add([this] { statuses.push_back(form_->sbUpgrade.text()); });
    form_->start();
  }
  ~E2eTool() {
    if (!form_->closed()) form_->requestClose(Form::kCloseBySystem);
    ui.releaseMainWindow();  // the window refers to the form: it goes first
    form_.reset();
    std::filesystem::current_path(previousDirectory_);
  }
  MainWindow& f() { return *form_; }

  // Handles events until pred holds (true) or ms pass (false).
  bool runUntil(const std::function<bool()>& pred, int ms) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
      if (t.elapsed() >= ms) return false;
      QEventLoop loop;
      QTimer::singleShot(20, &loop, &QEventLoop::quit);
      loop.exec();
    }
    return true;
  }
  // Until the tool is idle (busy state released, nothing pending) at two
  // checks 150 ms apart.
  bool settle(int ms) {
    auto pause = [this] { return !runUntil([] { return false; }, 150); };
    return runUntil([&] { return form_->idle() && pause() && form_->idle(); }, ms);
  }
  // A button of the window, or else an entry of its menu.
  void click(const std::string& name) {
    auto* button = qobject_cast<QPushButton*>(ui.mainView()->widgetFor(name));
    auto* action = ui.mainView()->widget()->findChild<QAction*>(QString::fromStdString(name));
    ASSERT_TRUE(button || action) << "no button or menu entry " << name;
    ASSERT_TRUE(button ? button->isEnabled() : action->isEnabled()) << name << " is disabled";
    button ? button->click() : action->trigger();
  }
  Lines statuses;  // every text of the status line
  E2eUi ui;

 private:
  std::filesystem::path previousDirectory_;
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<MainWindow> form_;
};

// Each line appears after the previous one; on failure shows all there is.
inline ::testing::AssertionResult InOrder(const Lines& seen, const Lines& lines) {
  auto at = seen.begin();
  for (auto& l : lines) {
    at = std::find(at, seen.end(), l);
    if (at == seen.end())
      return ::testing::AssertionFailure() << "no \"" << l << "\" in order in "
                                           << ::testing::PrintToString(seen);
    ++at;
  }
  return ::testing::AssertionSuccess();
}

// The files that went up to the modem or were deleted there.
inline Lines Writes(const Lines& journal) {
  Lines writes;
  for (auto& line : journal)
    if (line.starts_with("FTP STOR") || line.starts_with("FTP DELE")) writes.push_back(line);
  return writes;
}

inline bool Has(std::string_view text, std::string_view part) {
  return text.find(part) != text.npos;
}

struct BatchRun {
  int exitCode = -1;
  std::string out, err;
};

// The binary in batch mode against the modem, in home; QProcess kills one
// that is still running when it goes.
inline std::unique_ptr<QProcess> StartBatch(const ModemSim& modem, const TempDir& home,
                                            const QStringList& args,
                                            const std::string& workingDirectory = "") {
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("KOVA_MODEM_ADDRESS", "127.0.0.1");  // never the default address, even unready
  for (auto& [name, value] : modem.environment)
    env.insert(QString::fromStdString(name), QString::fromStdString(value));
  env.remove("DISPLAY");
  env.remove("QT_QPA_PLATFORM");  // batch mode needs no display at all
  auto p = std::make_unique<QProcess>();
  p->setProcessEnvironment(env);
  p->setWorkingDirectory(
      QString::fromStdString(workingDirectory.empty() ? home.str() : workingDirectory));
  p->start(KOVA_UPGRADER_BIN, args);
  return p;
}

inline BatchRun FinishBatch(QProcess& p, int ms) {
  if (!p.waitForFinished(ms)) return {-1, "", "the binary did not end"};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2,
          p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

inline BatchRun RunBatch(const ModemSim& modem, const TempDir& home, const QStringList& args) {
  return FinishBatch(*StartBatch(modem, home, args), 170000);
}

// A modem and a home of its own (with the new image), for runs side by side.
struct Rig {
  explicit Rig(const Lines& faults = {}, const Lines& options = {}, bool withPic = false)
      : modem(faults, options) {
    PrepareHome(home, withPic);
  }
  ModemSim modem;
  TempDir home;
  std::unique_ptr<QProcess> process;  // goes first: killed if still running
  BatchRun run;
};
using Rigs = std::vector<std::unique_ptr<Rig>>;

// Waits for the binaries of rigs started at once, all within ms.
inline void FinishAll(const Rigs& rigs, int ms) {
  QElapsedTimer clock;
  clock.start();
  for (auto& r : rigs)
    r->run = FinishBatch(*r->process, static_cast<int>(std::max(1LL, ms - clock.elapsed())));
}

// The lines of a run's output that are JSON objects.
inline std::vector<JsonValue> Events(const std::string& out) {
  std::vector<JsonValue> events;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);)
    if (auto e = ParseJson(line); e && e->isObject()) events.push_back(*e);
  return events;
}

inline std::string Field(const JsonValue& e, const char* key) {
  const JsonValue* v = e.get(key);
  return v && v->isString() ? v->asString() : "";
}
