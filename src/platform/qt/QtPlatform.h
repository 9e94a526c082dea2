// The real platform: Qt event loop, timers, sockets, dialogs and processes,
// and libcurl for FTP.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

#include "platform/Platform.h"

class QWidget;
class QtFormView;

class QtEventLoop : public EventLoop {
 public:
  QtEventLoop() { clock_.start(); }
  void pumpEvents() override;
  void wait(int ms) override;
  std::chrono::milliseconds now() const override {
    return std::chrono::milliseconds(clock_.elapsed());
  }

 private:
  QElapsedTimer clock_;
};

class QtTimer : public Timer {
 public:
  QtTimer();
  void setInterval(int ms) override;
  int interval() const override { return timer_.interval(); }
  void setEnabled(bool on) override;
  bool enabled() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

class QtTcpSocket : public QObject, public TcpSocket {
  Q_OBJECT
 public:
  explicit QtTcpSocket(int remotePort);
  int state() const override { return state_; }
  int remotePort() const override { return port_; }
  void setRemoteHost(const std::string& host) override { host_ = host; }
  std::string remoteHost() const override { return host_; }
  void connect() override;
  void sendData(std::string_view bytes) override;
  std::string getData() override;
  void close() override;

 private:
  void onQtError(QAbstractSocket::SocketError error);
  void onQtDisconnected();
  QTcpSocket socket_;
  int port_;
  std::string host_;
  int state_ = Closed;
};

class QtUi : public Ui {
 public:
  QtUi();
  ~QtUi() override;
  int msgBox(const std::string& text, int style, const std::string& title) override;
  void setPointer(int code) override;
  int pointer() const override { return pointer_; }
  void showModal(Form& form) override;
  void show(Form& form) override;
  // The window the dialogs and boxes belong to.
  QWidget* mainWindow() const;
  QtFormView* mainView() const { return main_.get(); }
  // Takes the main window down before its form goes away.
  void releaseMainWindow();

 private:
  int pointer_ = kPointerDefault;
  std::unique_ptr<QtFormView> main_;
};

class QtProcess : public Process {
 public:
  ConsoleResult runConsole(const std::string& commandLine) override;
  bool startDetached(const std::string& program, const std::string& workingDirectory) override;
};

class QtResolver : public Resolver {
 public:
  std::optional<std::vector<Address>> resolveIPv4(const std::string& hostName) override;
  std::string localHostName() override;
};

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

 private:
  QtEventLoop loop_;
  QtUi ui_;
  QtProcess process_;
  QtResolver resolver_;
  Ui* override_;
};
