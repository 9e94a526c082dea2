// The user interface of the real platform: message boxes, the pointer and
// the forms, shown as Qt widgets.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

class QWidget;
class QtFormView;

class QtUi : public Ui {
 public:
  QtUi();
  ~QtUi() override;
  int msgBox(const Text& text, int style, const Text& title) override;
  void setPointer(int code) override;
  int pointer() const override { return pointer_; }
  void showModal(Form& form) override;
  void show(Form& form) override;
  void refresh() override;
  std::optional<std::string> chooseFolder(const Text& title, const std::string& start) override;
  // The window the dialogs and boxes belong to.
  QWidget* mainWindow() const;
  QtFormView* mainView() const { return main_.get(); }
  // Takes the main window down before its form goes away.
  void releaseMainWindow();

 private:
  int pointer_ = kPointerDefault;
  std::unique_ptr<QtFormView> main_;
};
