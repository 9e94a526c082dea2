// One modem session: its channels, the operations that use them and the
// runner that lets one run at a time. The window and batch mode each hold
// one; they start operations here and observe their results.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Context.h"
#include "core/Prompts.h"
#include "operations/ModemChannels.h"
#include "operations/OperationRunner.h"

struct ModemPorts {
  int zing = 1827;
  int ftp = 21;
  int telnet = 23;
  int at = 1829;
};

class ModemSession : private StatusView, private NoticeSink {
 public:
  // view shows the status, notices tells the user; both are seen through
  // the session so that the running operation hears its progress and what
  // its user was told.
  ModemSession(Platform& platform, Session& session, StatusView& view, NoticeSink& notices,
               Prompts& prompts, const ModemPorts& ports);
  ~ModemSession() override;

  // What the subsystems of this session are built with.
  const Context& context() const { return context_; }
  OperationRunner& runner() { return runner_; }
  ImageStore& images() { return *store_; }
  AtChannel& atChannel() { return *at_; }
  TelnetSession& telnet() { return *telnet_; }

  // Nothing runs and nothing is pending: no operation, no exchange, no
  // unanswered "CLOSE".
  bool idle() const;
  // Ends whatever runs, quietly (the window is closing).
  void shutDown();

  // The operations, each ready to be run.
  // reportFtpTimeout: a transfer before it timed out; the read tells it.
  std::unique_ptr<Operation> versionRead(bool reportFtpTimeout = false);
  std::unique_ptr<Operation> reset();
  std::unique_ptr<Operation> upgrade();
  std::unique_ptr<Operation> restore();
  std::unique_ptr<Operation> picUpgrade();
  std::unique_ptr<Operation> dnsChange();
  std::unique_ptr<Operation> logDownload();
  std::unique_ptr<Operation> verify(const std::string& reference);
  std::unique_ptr<Operation> addressChange(std::function<std::optional<std::string>()> choose,
                                           std::function<void(const std::string&)> apply);

 private:
  // StatusView, passed on to the window's view.
  void setStatus(const Text& text) override { view_.setStatus(text); }
  std::string status() const override { return view_.status(); }
  void setProgress(int percent) override;
  int progress() const override { return view_.progress(); }
  // The indicator shows it; the session keeps it.
  void setConnected(bool connected) override {
    context_.session.connected = connected;
    view_.setConnected(connected);
  }
  void showRunningVersion(const Text& text) override { view_.showRunningVersion(text); }
  bool autoPicUpgrade() const override { return view_.autoPicUpgrade(); }
  // NoticeSink, passed on to the presenter.
  void report(const Notice& notice) override;
  std::optional<Notice> enter(Operation& op);
  void leave();

  StatusView& view_;
  NoticeSink& notices_;
  Context context_;
  std::unique_ptr<VersionQuery> query_;
  std::unique_ptr<ModemReset> reset_;
  std::unique_ptr<TelnetSession> telnet_;
  std::unique_ptr<FtpChain> chain_;
  std::unique_ptr<AtChannel> at_;
  std::unique_ptr<ImageStore> store_;
  std::unique_ptr<ChainPlans> plans_;
  ModemChannels channels_;
  OperationRunner runner_;
  int ftpPort_;
  std::vector<std::string> held_;  // the locks of the operation that runs
};
