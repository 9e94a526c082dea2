#include "e2e/E2e.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <gtest/gtest.h>

#include "core/TextUtilities.h"

ModemSim::ModemSim(Options o) {
  root = dir_.str() + "/modem";
  journalPath_ = dir_.str() + "/journal.log";
  QStringList args{QString(KOVA_SOURCE_DIR) + "/tools/modemsim/modemsim.py",
                   "--host", "127.0.0.1", "--root", QString::fromStdString(root), "--init",
                   "--version", QString::fromStdString(o.version),
                   "--zing-port", "0", "--ftp-port", "0", "--telnet-port", "0", "--at-port", "0",
                   "--reboot-time", QString::number(o.rebootSeconds),
                   "--reflash-time", QString::number(o.reflashSeconds),
                   "--journal", QString::fromStdString(journalPath_)};
  for (auto& f : o.faults) args << "--fault" << QString::fromStdString(f);
  for (auto& e : o.extra) args << QString::fromStdString(e);
  // KOVA_MODEMSIM_VERBOSE=1: every request and FTP reply on stderr.
  if (qEnvironmentVariableIntValue("KOVA_MODEMSIM_VERBOSE") == 1) args << "--verbose";
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(KOVA_PYTHON, args);
  if (!process_.waitForStarted(10000)) {
    startError = "cannot start the simulated modem";
    return;
  }
  QElapsedTimer t;
  t.start();
  QByteArray out;
  while (t.elapsed() < 20000) {
    process_.waitForReadyRead(200);
    out += process_.readAllStandardOutput();
    const qsizetype begin = out.indexOf("READY");
    const qsizetype end = begin >= 0 ? out.indexOf('\n', begin) : -1;
    if (end > begin) {
      std::istringstream line(out.mid(begin, end - begin).toStdString());
      std::string word;
      while (line >> word) {
        auto eq = word.find('=');
        if (eq == std::string::npos) continue;
        int port = std::atoi(word.c_str() + eq + 1);
        std::string key = word.substr(0, eq);
        if (key == "zing") zing = port;
        else if (key == "ftp") ftp = port;
        else if (key == "telnet") telnet = port;
        else if (key == "at") at = port;
      }
      if (!ready()) startError = "a READY line without its four ports: " + line.str();
      return;
    }
    if (process_.state() == QProcess::NotRunning) break;
  }
  startError = "the simulated modem did not report READY: " + out.toStdString();
}

ModemSim::~ModemSim() {
  if (process_.state() != QProcess::NotRunning) {
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
}

std::vector<std::string> ModemSim::journal() const {
  std::vector<std::string> lines;
  std::ifstream in(journalPath_);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

bool ModemSim::journalHas(const std::string& line) const {
  for (auto& l : journal())
    if (l == line) return true;
  return false;
}

void ModemSim::WriteImage(const std::string& path, const std::string& version) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "KOVA-IMAGE " << version << "\n" << std::string(300000, 'k');
}

std::string ModemSim::file(const std::string& remotePath) const {
  std::ifstream in(root + remotePath, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int E2eUi::msgBox(const std::string& text, int style, const std::string& title) {
  boxes.push_back({text, style, title, clock.isValid() ? static_cast<long>(clock.elapsed()) : 0});
  return (style & 7) == MsgYesNo ? MsgNo : MsgOk;
}

void E2eUi::showModal(Form& form) {
  dialogs.push_back(form.name());
  form.reopen();
  form.load();
  QtFormView view(form, mainWindow());
  auto it = dialogScripts.find(form.name());
  if (it != dialogScripts.end()) {
    auto script = it->second;
    QTimer::singleShot(0, [&form, &view, script] {
      if (!form.closed()) script(form, view);
      // A script that failed half-way must not leave the dialog open.
      if (!form.closed()) view.widget()->close();
    });
  } else {
    // Nobody acts: the user closes the dialog by its frame.
    QTimer::singleShot(0, [&view] { view.widget()->close(); });
  }
  view.exec();
}

E2eTool::E2eTool(const ModemSim& modem, TempDir& home, std::string commandLine) {
  Settings s;
  s.initialAddress = "127.0.0.1";
  s.zingPort = modem.zing;
  s.ftpPort = modem.ftp;
  s.telnetPort = modem.telnet;
  s.atPort = modem.at;
  s.commandLine = std::move(commandLine);
  s.workingDirectory = home.str();
  // The tool runs in its home, as the real program is started there: bare
  // file names in FTP commands resolve against it.
  previousDirectory_ = std::filesystem::current_path();
  std::filesystem::current_path(home.path());
  ui_.clock.start();
  platform_ = std::make_unique<QtPlatform>(&ui_);
  form_ = std::make_unique<MainWindow>(*platform_, s);
  form_->sbUpgrade.changed.connect([this] { statuses.push_back(form_->sbUpgrade.text()); });
  // Start-up shows the window through the platform's Ui (ui_).
  form_->start();
}

E2eTool::~E2eTool() {
  if (!form_->closed()) form_->requestClose(Form::kCloseBySystem);
  // The window refers to the form: it goes first.
  ui_.releaseMainWindow();
  form_.reset();
  std::error_code ec;
  std::filesystem::current_path(previousDirectory_, ec);
}

bool E2eTool::runUntil(const std::function<bool()>& pred, int ms) {
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

bool E2eTool::settle(int ms) {
  auto pending = [this] {
    return !form_->idle();
  };
  // Idle for two checks in a row.
  return runUntil([&] { return !pending() && (runUntil([] { return false; }, 150), !pending()); },
                  ms);
}

void E2eTool::clickButton(const std::string& name) {
  auto* b = qobject_cast<QPushButton*>(view().widgetFor(name));
  if (!b) ADD_FAILURE() << "no button " << name;
  else if (!b->isEnabled()) ADD_FAILURE() << "button " << name << " is disabled";
  else b->click();
}

void E2eTool::clickMenu(const std::string& name) {
  auto* a = view().widget()->findChild<QAction*>(QString::fromStdString(name));
  if (!a) ADD_FAILURE() << "no menu entry " << name;
  else if (!a->isEnabled()) ADD_FAILURE() << "menu entry " << name << " is disabled";
  else a->trigger();
}

namespace {
// As the window system delivers a key: a fresh event on the stack, sent to
// the widget with the focus (or the window), one call per key.
void DeliverKey(QWidget* window, int key) {
  QWidget* target = window->focusWidget() ? window->focusWidget() : window;
  QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier,
                  QString(QChar(static_cast<char16_t>(key - Qt::Key_A + 1))));
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier,
                    QString(QChar(static_cast<char16_t>(key - Qt::Key_A + 1))));
  QApplication::sendEvent(target, &release);
}
}  // namespace

void E2eTool::pressKeys(const std::vector<int>& ctrlLetters) {
  for (int key : ctrlLetters) {
    DeliverKey(view().widget(), key);
    QApplication::processEvents();
  }
}

std::vector<std::string> E2eTool::boxTexts() const {
  std::vector<std::string> out;
  for (auto& b : ui_.boxes) out.push_back(b.text);
  return out;
}

std::string E2eTool::history() const {
  std::string out;
  for (auto& s : statuses) out += "status: " + s + "\n";
  for (auto& b : ui_.boxes)
    out += "box at " + std::to_string(b.atMs) + " ms (" + std::to_string(b.style) + ", " +
           b.title + "): " + ReplaceChar(b.text, "\r\n", " | ") + "\n";
  for (auto& d : ui_.dialogs) out += "dialog: " + d + "\n";
  return out;
}

std::vector<std::string> FilesUnder(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    if (!it->is_directory()) names.push_back(it->path().lexically_relative(dir).generic_string());
  std::sort(names.begin(), names.end());
  return names;
}

void PrepareHome(TempDir& home, const std::string& newVersion, bool withPic) {
  std::string file = ReplaceChar(newVersion, ".", "_");
  ModemSim::WriteImage((home.path() / ("kova_" + file + ".bin")).string(), newVersion);
  home.write("chk_" + file + ".txt", "checksum of " + newVersion + "\n");
  if (withPic) home.write("pic.hex", ":10000000000102030405060708090A0B0C0D0E0F78\n:00000001FF\n");
}
