// The control model: plain objects holding what a widget shows. The Qt
// views bind widgets to them both ways; tests read and drive them directly.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Observers.h"
#include "platform/Text.h"

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
};

class Control {
 public:
  enum class Kind { Button, TextBox, Label, CheckBox, OptionButton,
                    ProgressBar, Shape, ListBox, MenuItem };
  Control(Kind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Kind kind() const { return kind_; }
  const std::string& name() const { return name_; }

  bool enabled() const { return enabled_; }
  void setEnabled(bool on) { set(enabled_, on); }
  bool visible() const { return visible_; }
  void setVisible(bool on) { set(visible_, on); }
  std::string toolTip() const { return toolTip_.english(); }
  const Text& toolTipText() const { return toolTip_; }
  void setToolTip(Text t) { set(toolTip_, std::move(t)); }

  Geometry geometry;
  // What a screen reader calls a control that shows no caption of its own
  // and has no label naming it.
  Text accessibleName;
  // Runs after every change of the control's state.
  Observers<> changed;

 protected:
  template <class T>
  void set(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    changed();
  }

 private:
  Kind kind_;
  std::string name_;
  bool enabled_ = true;
  bool visible_ = true;
  Text toolTip_;
};

// Controls with a caption (buttons, labels, menu items, check boxes).
class CaptionedControl : public Control {
 public:
  using Control::Control;
  // In English, as batch mode and the tests read it.
  std::string caption() const { return caption_.english(); }
  const Text& captionText() const { return caption_; }
  void setCaption(Text c) { set(caption_, std::move(c)); }

 private:
  Text caption_;
};

class Button : public CaptionedControl {
 public:
  explicit Button(std::string name) : CaptionedControl(Kind::Button, std::move(name)) {}
  bool isDefault = false;  // pressed by Enter in its form
  std::function<void()> onClick;
  // What a user's click does: nothing while disabled.
  void click() {
    if (enabled() && onClick) onClick();
  }
};

class MenuItem : public CaptionedControl {
 public:
  explicit MenuItem(std::string name, Text caption = {})
      : CaptionedControl(Kind::MenuItem, std::move(name)) {
    setCaption(std::move(caption));
  }
  bool isSeparator() const { return caption() == "-"; }
  std::function<void()> onClick;
  void click() {
    if (enabled() && !isSeparator() && onClick) onClick();
  }
};

struct Menu {
  std::string name;
  Text caption;
  std::vector<MenuItem*> items;
};

class Label : public CaptionedControl {
 public:
  explicit Label(std::string name) : CaptionedControl(Kind::Label, std::move(name)) {}
  // The control this label names: its "&" key moves the focus there, and a
  // screen reader reads the label as that control's name.
  Control* buddy = nullptr;
};

class TextBox : public Control {
 public:
  explicit TextBox(std::string name) : Control(Kind::TextBox, std::move(name)) {}
  // In English, as the logic reads it; what the user typed stays as typed.
  std::string text() const { return text_.english(); }
  const Text& shownText() const { return text_; }
  void setText(Text t) {
    if (maxLength > 0 && t.args().empty() &&
        t.source().size() > static_cast<std::size_t>(maxLength))
      t = Text(t.source().substr(0, static_cast<std::size_t>(maxLength)));
    set(text_, std::move(t));
  }
  bool readOnly = false;
  int maxLength = 0;  // 0: no limit

 private:
  Text text_;
};

class CheckBox : public CaptionedControl {
 public:
  explicit CheckBox(std::string name) : CaptionedControl(Kind::CheckBox, std::move(name)) {}
  int value() const { return value_; }  // 0 unchecked, 1 checked
  void setValue(int v) { set(value_, v); }

 private:
  int value_ = 0;
};

class OptionButton : public CaptionedControl {
 public:
  explicit OptionButton(std::string name)
      : CaptionedControl(Kind::OptionButton, std::move(name)) {}
  bool value() const { return value_; }
  void setValue(bool v) { set(value_, v); }
  std::function<void()> onClick;
  // A user's click selects the option and runs its handler.
  void click() {
    if (!enabled()) return;
    setValue(true);
    if (onClick) onClick();
  }

 private:
  bool value_ = false;
};

class ProgressBar : public Control {
 public:
  explicit ProgressBar(std::string name) : Control(Kind::ProgressBar, std::move(name)) {}
  int value() const { return value_; }
  void setValue(int v) { set(value_, v < 0 ? 0 : (v > 100 ? 100 : v)); }

 private:
  int value_ = 0;
};

// Colours as 0x00BBGGRR, so red is 255 and green 65280.
class Shape : public Control {
 public:
  explicit Shape(std::string name) : Control(Kind::Shape, std::move(name)) {}
  long fillColor() const { return fillColor_; }
  void setFillColor(long c) { set(fillColor_, c); }

 private:
  long fillColor_ = 0x808080;
};

class ListBox : public Control {
 public:
  explicit ListBox(std::string name) : Control(Kind::ListBox, std::move(name)) {}
  const std::vector<std::string>& items() const { return items_; }
  void addItem(std::string item) {
    items_.push_back(std::move(item));
    changed();
  }
  void clear() {
    items_.clear();
    listIndex_ = -1;
    changed();
  }
  int listIndex() const { return listIndex_; }  // -1: nothing selected
  void setListIndex(int i) {
    if (i < -1 || i >= static_cast<int>(items_.size())) i = -1;
    set(listIndex_, i);
  }
  std::string selectedText() const {
    return listIndex_ >= 0 ? items_[static_cast<std::size_t>(listIndex_)] : std::string();
  }

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};
