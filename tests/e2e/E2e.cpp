#include "e2e/E2e.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "app/Utilities.h"

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
    int at = out.indexOf("READY");
    if (at >= 0 && out.indexOf('\n', at) > at) {
      std::istringstream line(out.mid(at).toStdString());
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

int E2eUi::msgBox(const std::string& text, int style, const std::string& title) {
  boxes.push_back({text, style, title, 0});
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
  platform_ = std::make_unique<QtPlatform>(&ui_);
  form_ = std::make_unique<frmMain>(*platform_, s);
  form_->sbUpgrade.changed.connect([this] { statuses.push_back(form_->sbUpgrade.text()); });
  form_->Form_Load();
  view_ = std::make_unique<QtFormView>(*form_, nullptr);
  view_->showWindow();
}

E2eTool::~E2eTool() {
  if (!form_->closed()) form_->requestClose(Form::kCloseBySystem);
  view_.reset();
  form_.reset();
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
    auto& f = *form_;
    if (f.busy()) return true;
    for (Timer* t : {f.tmrConnect.get(), f.tmrResponse.get(), f.tmrConneTest.get(),
                     f.tmrResetDelay.get(), f.tmrFiveSecDelay.get(), f.tmrFTPReq.get(),
                     f.tmrTelnetConnect.get(), f.tmrPicUpgrCnt.get()})
      if (t->enabled()) return true;
    return false;
  };
  // Idle for two checks in a row.
  return runUntil([&] { return !pending() && (runUntil([] { return false; }, 150), !pending()); },
                  ms);
}

void E2eTool::clickButton(const std::string& name) {
  auto* b = qobject_cast<QPushButton*>(view_->widgetFor(name));
  if (b) b->click();
}

void E2eTool::clickMenu(const std::string& name) {
  if (auto* a = view_->widget()->findChild<QAction*>(QString::fromStdString(name))) a->trigger();
}

void E2eTool::pressKeys(const std::vector<int>& ctrlLetters) {
  QWidget* target = view_->widgetFor("cmdUpgrade");
  for (int key : ctrlLetters) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier,
                    QString(QChar(static_cast<char16_t>(key - Qt::Key_A + 1))));
    QApplication::sendEvent(target, &press);
  }
}

std::vector<std::string> E2eTool::boxTexts() const {
  std::vector<std::string> out;
  for (auto& b : ui_.boxes) out.push_back(b.text);
  return out;
}

void PrepareHome(TempDir& home, const std::string& newVersion, bool withPic) {
  std::string file = ReplaceChar(newVersion, ".", "_");
  std::string image = "KOVA-IMAGE " + newVersion + "\n";
  image += std::string(300000, 'k');
  home.write("kova_" + file + ".bin", image);
  home.write("chk_" + file + ".txt", "checksum of " + newVersion + "\n");
  if (withPic) home.write("pic.hex", ":10000000000102030405060708090A0B0C0D0E0F78\n:00000001FF\n");
}
