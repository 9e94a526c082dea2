// The real platform: Qt event loop, timers, sockets, dialogs and processes,
// and libcurl for FTP.
#pragma once

#include <memory>

#include "platform/Platform.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtProcess.h"
#include "platform/qt/QtResolver.h"
#include "platform/qt/QtTcpSocket.h"
#include "platform/qt/QtTimer.h"
#include "platform/qt/QtUi.h"
#include "platform/qt/SystemNetworkInterfaces.h"

// The window's icon (the package's own) and the names a desktop ties the
// window to its menu entry by. After the application object exists.
void SetDesktopIdentity();

class QtPlatform : public Platform {
 public:
  // uiOverride: another front end (the console) in place of the widgets.
  explicit QtPlatform(Ui* uiOverride = nullptr) : override_(uiOverride) {}
  EventLoop& loop() override { return loop_; }
  Ui& ui() override { return override_ ? *override_ : ui_; }
  QtUi& qtUi() { return ui_; }
  Process& process() override { return process_; }
  Resolver& resolver() override { return resolver_; }
  std::unique_ptr<Timer> createTimer() override { return std::make_unique<QtTimer>(); }
  std::unique_ptr<TcpSocket> createSocket(int remotePort) override {
    return std::make_unique<QtTcpSocket>(remotePort);
  }
  std::unique_ptr<FtpClient> createFtpClient(int port) override;
  NetworkInterfaces& networkInterfaces() override { return network_; }
  std::unique_ptr<ChildProcess> createChildProcess() override;
#ifdef KOVA_RECORDS
  std::unique_ptr<RecordsDatabase> createRecordsDatabase(const std::string& url) override;
#endif

 private:
  QtEventLoop loop_;
  QtUi ui_;
  QtProcess process_;
  QtResolver resolver_;
  SystemNetworkInterfaces network_;
  Ui* override_;
};
