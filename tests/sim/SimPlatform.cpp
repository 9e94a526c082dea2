#include "sim/SimPlatform.h"

void SimTimer::arm() {
  disarm();
  pending_ = loop_.schedule(interval_, [this] {
    pending_ = 0;
    if (!enabled_) return;
    arm();  // repeats until disabled
    if (onTick) onTick();
  });
}

void SimTimer::disarm() {
  if (pending_) loop_.cancel(pending_);
  pending_ = 0;
}

void SimTimer::setInterval(int ms) {
  if (interval_ == ms) return;
  interval_ = ms;
  if (enabled_) arm();  // a new interval starts over
}

void SimTimer::setEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (on)
    arm();
  else
    disarm();
}

int SimUi::msgBox(const Text& text, int style, const Text& title) {
  boxes.push_back({text.english(), style, title.english(), loop_.nowMs()});
  if (onMsgBox) onMsgBox(boxes.back());
  if ((style & 7) == MsgYesNo) {
    if (answers.empty()) return MsgNo;
    int a = answers.front();
    answers.pop_front();
    return a;
  }
  return MsgOk;
}

void SimUi::showModal(Form& form) {
  modalLog.push_back(form.name());
  form.reopen();
  form.load();
  auto it = modalScripts.find(form.name());
  if (it != modalScripts.end()) it->second(form);
  if (!form.closed()) form.requestClose(Form::kCloseByUser);
}

ConsoleResult SimProcess::runConsole(const std::string& commandLine) {
  commands.push_back(commandLine);
  auto it = results.find(commandLine);
  return it == results.end() ? ConsoleResult{} : it->second;
}

bool SimProcess::startDetached(const std::string& program, const std::string& workingDirectory) {
  started.emplace_back(program, workingDirectory);
  return true;
}

std::optional<std::vector<Resolver::Address>> SimResolver::resolveIPv4(const std::string& name) {
  auto it = answers.find(name);
  if (it == answers.end() || it->second.empty()) return std::nullopt;
  auto a = it->second.front();
  if (it->second.size() > 1) it->second.pop_front();
  return a;
}

std::unique_ptr<Timer> SimPlatform::createTimer() {
  auto t = std::make_unique<SimTimer>(loop_);
  timers.push_back(t.get());
  return t;
}

std::unique_ptr<TcpSocket> SimPlatform::createSocket(int remotePort) {
  return std::make_unique<SimSocket>(network, remotePort);
}

std::unique_ptr<FtpClient> SimPlatform::createFtpClient(int /*port*/) {
  auto c = std::make_unique<SimFtpClient>(ftp);
  ftpClients.push_back(c.get());
  return c;
}
