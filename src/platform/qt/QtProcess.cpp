// The console command runner: a command line run without a window and
// without a shell, its standard output and error captured as one text.
#include "platform/qt/QtProcess.h"

#include "platform/qt/ProcessStamp.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#endif

namespace {

// Splits a command line at blanks; double quotes keep blanks inside one
// argument and "" stands for an empty argument. Nothing else is special.
// With rest set, stops after the first argument and leaves the remainder
// of the line (after the blanks that follow it) there.
QStringList SplitCommandLine(const QString& line, QString* rest = nullptr) {
  QStringList args;
  QString current;
  bool inQuotes = false;
  bool started = false;
  int i = 0;
  for (; i < line.size(); ++i) {
    const QChar c = line.at(i);
    if (c == QLatin1Char('"')) {
      inQuotes = !inQuotes;
      started = true;
    } else if (!inQuotes && c.isSpace()) {
      if (started) {
        args << current;
        current.clear();
        started = false;
        if (rest) break;
      }
    } else {
      current += c;
      started = true;
    }
  }
  if (rest) {
    while (i < line.size() && line.at(i).isSpace()) ++i;
    *rest = line.mid(i);
  }
  if (started) args << current;
  return args;
}

// After a failed start: 0 when a pipe can be made now (the program is what
// failed), else the system's error number.
int PipeError() {
#ifdef Q_OS_WIN
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  SECURITY_ATTRIBUTES sa{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return static_cast<int>(GetLastError());
  CloseHandle(readEnd);
  CloseHandle(writeEnd);
  return 0;
#else
  int fds[2];
  if (::pipe(fds) != 0) return errno != 0 ? errno : -1;
  ::close(fds[0]);
  ::close(fds[1]);
  return 0;
#endif
}

#ifndef Q_OS_WIN
// The program as the search rules find it; empty when there is none.
QString FindProgram(const QString& name) {
  if (name.contains(QLatin1Char('/'))) {
    QFileInfo info(name);
    return info.isFile() && info.isExecutable() ? name : QString();
  }
  return QStandardPaths::findExecutable(name);
}
#endif

}  // namespace

ConsoleResult QtProcess::runConsole(const std::string& commandLine) {
  ConsoleResult result;
  // No pipe to be had: tell so before anything is started.
  if (int e = PipeError()) {
    result.kind = ConsoleResult::PipeFailed;
    result.errorCode = e;
    return result;
  }
  // The line may carry names taken from another command's output: bytes
  // of the system's code page.
  const QString line = QString::fromLocal8Bit(commandLine.data(),
                                              static_cast<qsizetype>(commandLine.size()));
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);  // one pipe: the order as written
  p.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
  // The arguments go to the program exactly as written; only the program
  // is taken off the line to be found by the search rules.
  QString arguments;
  QStringList program = SplitCommandLine(line, &arguments);
  if (program.isEmpty() || program.front().isEmpty()) {
    result.kind = ConsoleResult::NotFound;
    return result;
  }
  p.setProgram(program.front());
  p.setNativeArguments(arguments);
  p.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* a) {
    a->flags |= CREATE_NO_WINDOW;
  });
  p.start(QIODevice::ReadOnly);
  const bool found = true;
#else
  QStringList parts = SplitCommandLine(line);
  if (parts.isEmpty() || parts.front().isEmpty()) {
    result.kind = ConsoleResult::NotFound;
    return result;
  }
  // Looked up first: QProcess keeps a pipe open for every start that fails
  // because the program is missing (seen with Qt 6.4).
  const QString program = FindProgram(parts.takeFirst());
  const bool found = !program.isEmpty();
  if (found) p.start(program, parts, QIODevice::ReadOnly);
#endif
  if (!found || !p.waitForStarted(-1)) {
    if (int e = PipeError()) {
      result.kind = ConsoleResult::PipeFailed;
      result.errorCode = e;
    } else {
      result.kind = ConsoleResult::NotFound;
    }
    return result;
  }
  // Blocks without handling events, as a console call does; the output is
  // drained while waiting, so a child writing a lot never stalls on a full
  // pipe.
  if (!p.waitForFinished(limitMs_)) {
    p.kill();
    p.waitForFinished(5000);
    result.kind = ConsoleResult::TimedOut;
  }
  const QByteArray out = p.readAll();
  result.output.assign(out.constData(), static_cast<std::size_t>(out.size()));
  return result;
}

bool QtProcess::startDetached(const std::string& program, const std::string& workingDirectory) {
  return QProcess::startDetached(QString::fromStdString(program), {},
                                 QString::fromStdString(workingDirectory));
}

long QtProcess::processId() const { return static_cast<long>(QCoreApplication::applicationPid()); }

bool QtProcess::running(long processId) const {
#ifdef Q_OS_WIN
  HANDLE process =
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId));
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  const bool alive = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return alive;
#else
  if (processId <= 0) return false;
  return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
#endif
}

std::string QtProcess::processStamp() const { return ProcessStamp(); }

bool QtProcess::ended(const std::string& stamp) const { return ProcessEnded(stamp); }

#ifdef Q_OS_WIN
// The real platform is not built for Windows: every lock is granted there.
bool QtProcess::lock(const std::string&, const std::string&, std::string&) { return true; }
void QtProcess::unlock(const std::string&) {}
QtProcess::~QtProcess() = default;
#else
namespace {
// One folder for every user and session of the PC: a window on the desktop,
// a cron job and a run under sudo each see the others' locks.
constexpr const char* kLockFolder = "/tmp/kova-upgrader-locks";

// The folder for the locks; empty when none can be had.
std::string LockFolder() {
  if (::mkdir(kLockFolder, 01777) == 0) (void)::chmod(kLockFolder, 01777);  // past the umask
  struct stat st {};
  // A real folder, not a link to somewhere else; sticky, so that nobody
  // removes the lock file of another.
  if (::lstat(kLockFolder, &st) != 0 || !S_ISDIR(st.st_mode) || (st.st_mode & 01777) != 01777)
    return {};
  return kLockFolder;
}

// The lock file, opened for writing when this user may; -1 when it cannot be
// had. The kernel may refuse a creating open of another user's file in a
// sticky folder (fs.protected_regular): an existing one is opened without.
int OpenLockFile(const std::string& path) {
  constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  for (int attempt = 0; attempt < 3; ++attempt) {
    int fd = ::open(path.c_str(), O_RDWR | kFlags);
    if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_RDONLY | kFlags);
    if (fd >= 0 || errno != ENOENT) return fd;
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kFlags, 0666);
    if (fd >= 0) {
      (void)::fchmod(fd, 0666);  // whoever holds it next writes who they are
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}
}  // namespace

bool QtProcess::lock(const std::string& name, const std::string& description,
                     std::string& holder) {
  if (locks_.count(name)) return true;
  const std::string folder = LockFolder();
  // Without the folder the tool works unguarded rather than not at all.
  if (folder.empty()) return true;
  // A modem is known within its network namespace: the same address and MAC
  // in another one (a test's own, a container's) is another modem.
  struct stat net {};
  const std::string scope =
      ::stat("/proc/self/ns/net", &net) == 0 ? "net" + std::to_string(net.st_ino) + "-" : "";
  const std::string path = folder + "/" + scope + name + ".lock";
  const int fd = OpenLockFile(path);
  if (fd < 0) return true;
  struct stat file {};
  if (::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)) {
    ::close(fd);
    return true;
  }
  int r;
  do r = ::flock(fd, LOCK_EX | LOCK_NB);
  while (r != 0 && errno == EINTR);
  if (r != 0) {
    const bool held = errno == EWOULDBLOCK;
    char text[512];
    const ssize_t n = held ? ::pread(fd, text, sizeof text - 1, 0) : -1;
    ::close(fd);
    if (!held) return true;
    holder.assign(text, n > 0 ? static_cast<std::size_t>(n) : 0);
    for (char& c : holder)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    if (holder.empty()) holder = "another process of this tool";
    return false;
  }
  if (::ftruncate(fd, 0) == 0) {
    const ssize_t written = ::pwrite(fd, description.data(), description.size(), 0);
    (void)written;  // the description only helps the other process's message
  }
  locks_[name] = fd;
  return true;
}

void QtProcess::unlock(const std::string& name) {
  auto it = locks_.find(name);
  if (it == locks_.end()) return;
  ::close(it->second);  // lets go of the lock; the file stays for the next one
  locks_.erase(it);
}

QtProcess::~QtProcess() {
  for (auto& [name, fd] : locks_) ::close(fd);
}
#endif
