// Batch mode on the simulated platform: the console front end in place of
// the recorded UI, its output captured, a whole modem behind it.
#pragma once

#include <atomic>
#include <memory>
#include <sstream>

#include "app/BatchMode.h"
#include "app/MainWindow.h"
#include "sim/WorkflowPeers.h"

struct Batch {
  WorkflowModem h;
  std::ostringstream out, err;
  BatchOptions options;
  std::atomic<int> interrupts{0};
  std::unique_ptr<ConsoleUi> ui;
  std::unique_ptr<MainWindow> form;
  std::function<bool()> enterPressed;

  int run() {
    ui = std::make_unique<ConsoleUi>(out, err, options,
                                     [this] { return std::to_string(h.clock().nowMs()); });
    // The console front end replaces the recorded one.
    platformUi = ui.get();
    form = std::make_unique<MainWindow>(platform(), h.settings, ui.get());
    return RunBatch(*form, *ui, options, interrupts, nullptr, enterPressed);
  }

  // The simulated platform with the console as its Ui.
  struct ConsolePlatform : Platform {
    explicit ConsolePlatform(SimPlatform& sim, Ui*& ui) : sim(sim), ui_(ui) {}
    EventLoop& loop() override { return sim.loop(); }
    Ui& ui() override { return *ui_; }
    Process& process() override { return sim.process(); }
    Resolver& resolver() override { return sim.resolver(); }
    std::unique_ptr<Timer> createTimer() override { return sim.createTimer(); }
    std::unique_ptr<TcpSocket> createSocket(int port) override { return sim.createSocket(port); }
    std::unique_ptr<FtpClient> createFtpClient(int port) override {
      return sim.createFtpClient(port);
    }
    SimPlatform& sim;
    Ui*& ui_;
  };
  Ui* platformUi = nullptr;
  ConsolePlatform console{h.platform, platformUi};
  Platform& platform() { return console; }
};
