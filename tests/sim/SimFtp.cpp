#include "sim/SimFtp.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/FtpCommandText.h"

namespace fs = std::filesystem;

namespace {
std::string resolve(const std::string& base, const std::string& local) {
  fs::path p(local);
  if (p.is_relative() && !base.empty()) p = fs::path(base) / p;
  return p.string();
}

std::optional<std::string> ReadLocal(const std::string& base, const std::string& local) {
  std::ifstream in(resolve(base, local), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}
}  // namespace

SimFtpClient::~SimFtpClient() {
  if (pending_) server_.loop.cancel(pending_);
}

void SimFtpClient::progress(long delayMs, long long size) {
  transferSize_ = size;
  if (!onProgress) return;
  for (long at = 100; at < delayMs; at += 100)
    server_.loop.schedule(at, [this, generation = generation_, at, delayMs, size] {
      if (generation == generation_ && onProgress) onProgress(size * at / delayMs, size);
    });
}

void SimFtpClient::finish(long delayMs, int state, int code, std::string info,
                          bool sameAsLocal) {
  pending_ = server_.loop.schedule(delayMs, [this, state, code, info, sameAsLocal] {
    pending_ = 0;
    if (state == ResponseCompleted && transferSize_ >= 0 && onProgress)
      onProgress(transferSize_, transferSize_);
    transferSize_ = -1;
    busy_ = false;
    code_ = code;
    info_ = info;
    sameAsLocal_ = sameAsLocal;
    if (state == Disconnected) session_ = false;
    if (onStateChanged) onStateChanged(state);
  });
}

void SimFtpClient::execute(const std::string& command) {
  if (busy_) throw PlatformError(35764, "Still executing last request");
  FtpCommand cmd = ParseFtpCommand(command);  // throws on malformed text
  server_.log.push_back(interfaceName().empty() ? command : command + " via " + interfaceName());
  busy_ = true;
  ++generation_;
  long t = server_.commandMs;

  if (cmd.kind == FtpCommand::Close) {
    auto it = server_.faults.find("CLOSE");
    if (it != server_.faults.end()) {
      auto f = it->second;
      server_.faults.erase(it);
      if (f.kind == SimFtpServer::Fault::Stall) return;
    }
    return finish(session_ ? t : 0, Disconnected);
  }
  if (!session_) {
    if (!server_.reachable) return finish(t, ErrorState, kCannotConnect, "Cannot connect");
    if (!server_.loginOk) return finish(t, ErrorState, kLoginRefused, "530 Login incorrect.");
    session_ = true;
    ++server_.logins;
  }
  static const char* verbs[] = {"GET", "PUT", "DELETE", "CLOSE", "COMPARE"};
  std::string key = std::string(verbs[cmd.kind]) + " " + cmd.remote;
  auto it = server_.faults.find(key);
  if (it != server_.faults.end()) {
    auto f = it->second;
    server_.faults.erase(it);
    long when = f.afterMs >= 0 ? f.afterMs : t;
    switch (f.kind) {
      case SimFtpServer::Fault::Stall:
        return;  // no outcome ever
      case SimFtpServer::Fault::Error:
        return finish(when, ErrorState, f.code, f.info);
      case SimFtpServer::Fault::Disconnect:
        return finish(when, Disconnected);
      case SimFtpServer::Fault::Cut: {
        const std::string data = ReadLocal(server_.localBase, cmd.local).value_or("");
        server_.files[cmd.remote] = data.substr(0, data.size() / 2);
        // Half goes up at once; then, as a real client does, the same count
        // each second until the cut.
        const auto size = static_cast<long long>(data.size());
        for (long at = 100; onProgress && at < when; at += 1000)
          server_.loop.schedule(at, [this, generation = generation_, size] {
            if (generation == generation_ && onProgress) onProgress(size / 2, size);
          });
        if (server_.goneAfterCut) server_.reachable = false;
        return finish(when, Disconnected);
      }
    }
  }
  const auto f = server_.files.find(cmd.remote);  // all but a PUT need it
  if (cmd.kind != FtpCommand::Put && f == server_.files.end())
    return finish(t, ErrorState, kServerRefused, "550 No such file or directory.");
  switch (cmd.kind) {
    case FtpCommand::Get: {
      std::string target = resolve(server_.localBase, cmd.local);
      std::ofstream out(target, std::ios::binary | std::ios::trunc);
      if (!out) return finish(t, ErrorState, 12110, "Cannot create local file " + target);
      out << f->second;
      progress(t, static_cast<long long>(f->second.size()));
      return finish(t, ResponseCompleted);
    }
    case FtpCommand::Put: {
      const std::optional<std::string> data = ReadLocal(server_.localBase, cmd.local);
      if (!data) return finish(t, ErrorState, 12110, "Cannot open local file " + cmd.local);
      std::string stored = *data;
      auto flash = server_.flashErrors.find(cmd.remote);
      if (flash != server_.flashErrors.end() && flash->second != 0 && !stored.empty()) {
        stored[stored.size() / 2] = static_cast<char>(stored[stored.size() / 2] ^ 1);
        if (flash->second > 0) --flash->second;
      }
      server_.files[cmd.remote] = stored;
      progress(t, static_cast<long long>(data->size()));
      return finish(t, ResponseCompleted);
    }
    case FtpCommand::Compare: {
      const std::optional<std::string> local = ReadLocal(server_.localBase, cmd.local);
      if (!local) return finish(t, ErrorState, 12110, "Cannot open local file " + cmd.local);
      progress(t, static_cast<long long>(f->second.size()));
      return finish(t, ResponseCompleted, 0, {}, *local == f->second);
    }
    case FtpCommand::Delete:
      server_.files.erase(f);
      return finish(t, ResponseCompleted);
    case FtpCommand::Close:
      break;
  }
}

void SimFtpClient::cancel() {
  if (pending_) server_.loop.cancel(pending_);
  pending_ = 0;
  ++generation_;
  transferSize_ = -1;
  busy_ = false;
  session_ = false;
}
