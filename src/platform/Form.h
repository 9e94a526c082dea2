// A window of the control model: its controls in tab order, its menus and
// its handlers. The platform's Ui shows it; the form asks to be closed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Controls.h"

class Form {
 public:
  // Reasons for a close, as the close events see them.
  static constexpr int kCloseByUser = 0;     // close box or system menu
  static constexpr int kCloseByProgram = 1;  // the program closes it
  static constexpr int kCloseBySystem = 2;   // end of session and the like

  explicit Form(std::string name) : name_(std::move(name)) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  Text caption;
  int width = 0, height = 0;  // client area in pixels
  std::vector<Control*> controls;  // tab order
  std::vector<Menu> menus;
  Control* initialFocus = nullptr;
  // Key presses reach the form ahead of its controls (character codes:
  // Ctrl+B is 2, Ctrl+N is 14).
  std::function<void(int keyAscii)> onKeyPress;

  // Runs each time the form is shown.
  virtual void load() {}
  // Handlers of a close: queryUnload may refuse it (return true to cancel).
  virtual bool queryUnload(int /*reason*/) { return false; }
  virtual void unload() {}

  // Asks for the close; false when it was refused.
  bool requestClose(int reason) {
    if (closed_) return true;
    if (queryUnload(reason)) return false;
    closed_ = true;
    unload();
    if (onClosed) onClosed();
    return true;
  }
  bool closed() const { return closed_; }
  // A form shown again (a dialog created anew) starts open.
  void reopen() { closed_ = false; }

  // Set by the view that shows the form, to take the window down.
  std::function<void()> onClosed;

  Control* find(const std::string& controlName) const {
    for (auto* c : controls)
      if (c->name() == controlName) return c;
    for (auto& m : menus)
      for (auto* i : m.items)
        if (i->name() == controlName) return i;
    return nullptr;
  }

 private:
  std::string name_;
  bool closed_ = false;
};
