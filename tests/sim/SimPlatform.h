// The simulated platform: virtual clock, simulated network and FTP server,
// recorded UI, fake console and resolver.
#pragma once

#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Platform.h"
#include "sim/SimFtp.h"
#include "sim/SimLoop.h"
#include "sim/SimNetwork.h"

class SimTimer : public Timer {
 public:
  explicit SimTimer(SimLoop& loop) : loop_(loop) {}
  ~SimTimer() override { disarm(); }
  void setInterval(int ms) override;
  int interval() const override { return interval_; }
  void setEnabled(bool on) override;
  bool enabled() const override { return enabled_; }

 private:
  void arm();
  void disarm();
  SimLoop& loop_;
  int interval_ = 0;
  bool enabled_ = false;
  SimLoop::Id pending_ = 0;
};

struct MsgRecord {
  std::string text;
  int style = 0;
  std::string title;
  long atMs = 0;
};

class SimUi : public Ui {
 public:
  explicit SimUi(SimLoop& loop) : loop_(loop) {}
  int msgBox(const Text& text, int style, const Text& title) override;
  void setPointer(int code) override { pointer_ = code; }
  int pointer() const override { return pointer_; }
  void showModal(Form& form) override;
  void show(Form& form) override { shown.push_back(form.name()); }
  std::optional<std::string> chooseFolder(const Text&, const std::string& start) override {
    foldersAsked.push_back(start);
    auto folder = folders.empty() ? std::nullopt : folders.front();
    if (!folders.empty()) folders.pop_front();
    return folder;
  }

  std::vector<MsgRecord> boxes;
  // Answers for yes/no boxes, taken in order; No when empty.
  std::deque<int> answers;
  // What the user does in a modal form, by form name. Without a script the
  // user closes the form by its frame.
  std::map<std::string, std::function<void(Form&)>> modalScripts;
  std::vector<std::string> modalLog;  // names of the modal forms shown
  std::vector<std::string> shown;     // names of the modeless forms shown
  std::deque<std::optional<std::string>> folders;  // the folders picked; Cancel when none
  std::vector<std::string> foldersAsked;           // where each folder chooser started
  // Runs when a box is shown (the user may take time to read it).
  std::function<void(const MsgRecord&)> onMsgBox;

 private:
  SimLoop& loop_;
  int pointer_ = kPointerDefault;
};

class SimProcess : public Process {
 public:
  ConsoleResult runConsole(const std::string& commandLine) override;
  bool startDetached(const std::string& program, const std::string& workingDirectory) override;
  long processId() const override { return kProcessId; }
  bool running(long processId) const override {
    return processId == kProcessId || others.count(processId) > 0;
  }
  // Shared by every harness of the test, as by every process of a PC.
  bool lock(const std::string& name, const std::string& description,
            std::string& holder) override {
    auto [it, taken] = locks().emplace(name, std::make_pair(this, description));
    if (taken || it->second.first == this) return true;
    holder = it->second.second;
    return false;
  }
  void unlock(const std::string& name) override {
    auto it = locks().find(name);
    if (it != locks().end() && it->second.first == this) locks().erase(it);
  }
  ~SimProcess() override { unlockAll(); }
  // As when the process ends.
  void unlockAll() {
    for (auto it = locks().begin(); it != locks().end();)
      it = it->second.first == this ? locks().erase(it) : std::next(it);
  }
  static std::map<std::string, std::pair<const SimProcess*, std::string>>& locks() {
    static std::map<std::string, std::pair<const SimProcess*, std::string>> held;
    return held;
  }
  // "<pid>-<start>-<namespace>", as the real platform's.
  std::string processStamp() const override { return std::to_string(kProcessId) + "-7-1"; }
  bool ended(const std::string& stamp) const override {
    return stamp.rfind("-7-1") == stamp.size() - 4 && !running(std::atol(stamp.c_str()));
  }
  static constexpr long kProcessId = 4242;
  std::set<long> others;  // other processes that run
  std::map<std::string, ConsoleResult> results;  // by command line; default: ran, no output
  std::vector<std::string> commands;             // every command line run
  std::vector<std::pair<std::string, std::string>> started;  // program, directory
};

class SimResolver : public Resolver {
 public:
  std::optional<std::vector<Address>> resolveIPv4(const std::string& hostName) override;
  std::string localHostName() override { return hostName; }
  std::string hostName = "fieldpc";
  // Successive answers for each name; the last one repeats.
  std::map<std::string, std::deque<std::optional<std::vector<Address>>>> answers;
};

// Interfaces as a test sets them: what binds, the neighbour table, links.
class SimNetworkInterfaces : public NetworkInterfaces {
 public:
  std::string bindProblem(const std::string& name) override {
    return Find(bindProblems, name).value_or("");
  }
  int index(const std::string& name) override {
    return indexes.try_emplace(name, 100 + static_cast<int>(indexes.size())).first->second;
  }
  std::string hardwareAddress(const std::string& address, const std::string& name) override {
    return Find(neighbours, address + " " + name).value_or("");
  }
  std::string routeInterface(const std::string& address) override {
    return Find(routes, address).value_or("");
  }
  std::optional<bool> carrier(const std::string& name) override { return Find(carriers, name); }
  std::optional<int> reversePathFilter(const std::string& name) override {
    return Find(reversePathFilters, name);
  }
  std::map<std::string, std::string> bindProblems;  // by interface
  std::map<std::string, int> indexes;  // by name; a name not here gets one of its own
  std::map<std::string, std::string> neighbours;    // "address interface" -> MAC
  std::map<std::string, std::string> routes;        // address -> interface
  std::map<std::string, bool> carriers;
  std::map<std::string, int> reversePathFilters;

 private:
  template <class Value>
  static std::optional<Value> Find(const std::map<std::string, Value>& map, const std::string& key) {
    auto it = map.find(key);
    return it == map.end() ? std::nullopt : std::optional<Value>(it->second);
  }
};

// A child process a test plays: it sees what was started and says what
// the child writes and when it ends.
class SimChildProcess : public ChildProcess {
 public:
  struct Started {
    std::string program;
    std::vector<std::string> arguments;
    long pid;
    SimChildProcess* child;  // gone once the supervisor is
    int interrupts = 0;      // kept here so it outlives the child
    int kills = 0;
    std::vector<std::pair<std::string, std::string>> environment;
  };
  SimChildProcess(SimLoop& loop, std::vector<Started>& log, long pid,
                  const std::function<void(SimChildProcess&)>& onStart)
      : loop_(loop), log_(log), pid_(pid), onStart_(onStart) {}
  bool start(const std::string& program, const std::vector<std::string>& arguments) override {
    running = true;
    entry_ = log_.size();
    log_.push_back({program, arguments, pid_, this, 0, 0, environment_});
    if (onStart_) onStart_(*this);
    return true;
  }
  // As a real one: a process that ended has no id any more.
  long processId() const override { return running ? pid_ : 0; }
  const std::vector<std::string>& arguments() const { return log_.at(entry_).arguments; }
  void interrupt() override { log_.at(entry_).interrupts += 1; }
  void terminate() override { log_.at(entry_).interrupts += 2; }
  // As a real one, a killed child ends.
  void kill() override {
    log_.at(entry_).kills += 1;
    if (running) exit(9, true);
  }
  void setEnvironment(const std::vector<std::pair<std::string, std::string>>& added) override {
    environment_ = added;
  }
  // The child writes a line / ends, from the top of the loop.
  void write(const std::string& line, bool error = false) {
    loop_.schedule(0, [this, line, error] {
      auto& handler = error ? onErrorLine : onOutputLine;
      if (handler) handler(line);
    });
  }
  void exit(int code, bool crashed = false) {
    loop_.schedule(0, [this, code, crashed] {
      running = false;
      if (onExit) onExit(code, crashed);
    });
  }
  bool running = false;

 private:
  std::size_t entry_ = 0;
  std::vector<std::pair<std::string, std::string>> environment_;
  SimLoop& loop_;
  std::vector<Started>& log_;
  long pid_;
  const std::function<void(SimChildProcess&)>& onStart_;
};

class SimPlatform : public Platform {
 public:
  SimPlatform() : network(loop_), ftp(loop_), ui_(loop_) {}
  EventLoop& loop() override { return loop_; }
  Ui& ui() override { return consoleUi ? *consoleUi : ui_; }
  Process& process() override { return process_; }
  Resolver& resolver() override { return resolver_; }
  std::unique_ptr<Timer> createTimer() override;
  std::unique_ptr<TcpSocket> createSocket(int remotePort) override;
  std::unique_ptr<FtpClient> createFtpClient(int port) override;
  NetworkInterfaces& networkInterfaces() override { return interfaces; }
  std::unique_ptr<ChildProcess> createChildProcess() override {
    return std::make_unique<SimChildProcess>(loop_, children, nextPid_++, onChildStarted);
  }

  SimLoop loop_;
  SimLoop& clock() { return loop_; }
  SimNetwork network;
  SimFtpServer ftp;
  SimNetworkInterfaces interfaces;
  std::vector<SimChildProcess::Started> children;  // every child started
  // What each child does once started (the test plays it).
  std::function<void(SimChildProcess&)> onChildStarted;
  SimUi& recordedUi() { return ui_; }
  Ui* consoleUi = nullptr;  // batch mode's, when set
  SimProcess& console() { return process_; }
  SimResolver& names() { return resolver_; }
  // Every timer and FTP client created, for inspection.
  std::vector<SimTimer*> timers;
  std::vector<SimFtpClient*> ftpClients;

 private:
  SimUi ui_;
  SimProcess process_;
  SimResolver resolver_;
  long nextPid_ = 5001;
};
