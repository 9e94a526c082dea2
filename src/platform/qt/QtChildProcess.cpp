#include "platform/qt/QtChildProcess.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

#include <QStringList>

QtChildProcess::QtChildProcess() {
  // Its own process group: a Ctrl+C at the terminal reaches the parent
  // alone, which passes it on once. It ends with the parent, whatever
  // ended that.
  const pid_t parent = ::getpid();
  process_.setChildProcessModifier([parent] {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(1);  // the parent died before the line above
  });
  QObject::connect(&process_, &QProcess::readyReadStandardOutput, this, [this] {
    readLines(QProcess::StandardOutput, outPending_, onOutputLine);
  });
  QObject::connect(&process_, &QProcess::readyReadStandardError, this, [this] {
    readLines(QProcess::StandardError, errPending_, onErrorLine);
  });
  QObject::connect(
      &process_, &QProcess::finished, this,
      [this](int exitCode, QProcess::ExitStatus status) {
        // What it wrote last, even without a line end, comes before its end.
        readLines(QProcess::StandardOutput, outPending_, onOutputLine);
        readLines(QProcess::StandardError, errPending_, onErrorLine);
        for (auto* pending : {&outPending_, &errPending_})
          if (!pending->empty()) {
            const auto& handler = pending == &outPending_ ? onOutputLine : onErrorLine;
            std::string line;
            line.swap(*pending);
            if (handler) handler(line);
          }
        const bool crashed = status == QProcess::CrashExit;
        QMetaObject::invokeMethod(
            this, [this, exitCode, crashed] { if (onExit) onExit(exitCode, crashed); },
            Qt::QueuedConnection);
      });
}

QtChildProcess::~QtChildProcess() {
  process_.disconnect(this);
  if (process_.state() != QProcess::NotRunning) {
    process_.kill();
    process_.waitForFinished(2000);
  }
}

bool QtChildProcess::start(const std::string& program, const std::vector<std::string>& arguments) {
  QStringList args;
  for (const auto& a : arguments) args << QString::fromStdString(a);
  outPending_.clear();
  errPending_.clear();
  process_.start(QString::fromStdString(program), args);
  return process_.waitForStarted(10000);
}

long QtChildProcess::processId() const { return static_cast<long>(process_.processId()); }

void QtChildProcess::signal(int number) {
  const qint64 pid = process_.processId();
  if (pid > 0) ::kill(static_cast<pid_t>(pid), number);
}

void QtChildProcess::interrupt() { signal(SIGINT); }
void QtChildProcess::terminate() { signal(SIGTERM); }

void QtChildProcess::kill() {
  // Its own process group: what it started goes with it.
  const qint64 pid = process_.processId();
  if (pid > 0) ::kill(-static_cast<pid_t>(pid), SIGKILL);
}

void QtChildProcess::setEnvironment(
    const std::vector<std::pair<std::string, std::string>>& added) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : added)
    environment.insert(QString::fromStdString(name), QString::fromStdString(value));
  process_.setProcessEnvironment(environment);
}

void QtChildProcess::readLines(QProcess::ProcessChannel channel, std::string& pending,
                               const std::function<void(const std::string&)>& handler) {
  process_.setReadChannel(channel);
  const QByteArray bytes = process_.readAll();
  pending.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  std::size_t start = 0;
  for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = pending.substr(start, end - start);
    if (handler) handler(line);
  }
  pending.erase(0, start);
}
