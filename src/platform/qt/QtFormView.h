// Shows a Form of the control model as a Qt window and keeps the two in
// step: model changes update the widgets, user input updates the model.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/Form.h"

class QDialog;
class QMainWindow;
class QWidget;

// The width a window needs for its whole title beside the frame's icon and
// buttons, at the application's font.
int TitleWidth(const QString& title);
// Whether a control shows its whole text at its place in the form.
bool TextFits(const QWidget& control);

class QtFormView : public QObject {
  Q_OBJECT
 public:
  // A form shown modally (exec) or as the main window (showWindow).
  QtFormView(Form& form, QWidget* parent);
  ~QtFormView() override;
  void exec();
  void showWindow();
  QWidget* widget() const { return top_; }
  // The widget bound to a control (for tests).
  QWidget* widgetFor(const std::string& controlName) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build(QWidget* container);
  void bind(Control& c, QWidget* container);
  void bindMenus(QMainWindow& window);
  Form& form_;
  QWidget* top_ = nullptr;
  const QEvent* lastKey_ = nullptr;
  QPointer<QWidget> lastKeyTarget_;
  QDialog* dialog_ = nullptr;
  bool closing_ = false;
  std::vector<std::pair<Control*, int>> connections_;
  std::vector<std::pair<std::string, QWidget*>> widgets_;
};
