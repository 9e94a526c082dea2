// A child program of ours on QProcess: its standard output and error read
// line by line, its end reported once, from the top of the event loop.
#pragma once

#include <QObject>
#include <QProcess>
#include <string>

#include "platform/Platform.h"

class QtChildProcess : public QObject, public ChildProcess {
  Q_OBJECT
 public:
  QtChildProcess();
  ~QtChildProcess() override;
  bool start(const std::string& program, const std::vector<std::string>& arguments) override;
  long processId() const override;
  void interrupt() override;
  void terminate() override;
  void kill() override;
  void setEnvironment(const std::vector<std::pair<std::string, std::string>>& added) override;

 private:
  void readLines(QProcess::ProcessChannel channel, std::string& pending,
                 const std::function<void(const std::string&)>& handler);
  void signal(int number);
  QProcess process_;
  std::string outPending_, errPending_;
};
