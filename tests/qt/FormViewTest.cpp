// The Qt view follows the control model both ways.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/qt/QtFormView.h"
#include "sim/Harness.h"

TEST(FormView, MainWindowFollowsTheModelAndPassesClicksKeysAndClose) {
  Harness h;
  auto& f = h.load();  // busy: the start-up query is still running
  std::vector<int> keys;
  f.onKeyPress = [&](int k) { keys.push_back(k); };
  QtFormView view(f, nullptr);
  view.showWindow();
  QWidget* top = view.widget();
  EXPECT_FALSE(top->close()) << "closed while busy";
  h.advance(100);
  auto text = [&](const char* name) {
    return qobject_cast<QLineEdit*>(view.widgetFor(name))->text().toStdString();
  };
  auto* upgrade = qobject_cast<QPushButton*>(view.widgetFor("cmdUpgrade"));
  auto* autoPic = qobject_cast<QCheckBox*>(view.widgetFor("AutoPic"));
  ASSERT_TRUE(upgrade && autoPic);
  EXPECT_EQ(text("sbUpgrade"), "Software version was retrieved!");

  // Model to widgets.
  f.cmdUpgrade.setEnabled(false);
  f.cmdResetModem.setEnabled(false);
  EXPECT_FALSE(upgrade->isEnabled());
  EXPECT_FALSE(top->findChild<QAction*>("cmdResetModem")->isEnabled());
  f.setStatus("caf\xc3\xa9");
  EXPECT_EQ(text("sbUpgrade"), "caf\xc3\xa9");
  f.setConnected(false);
  EXPECT_NE(view.widgetFor("statusLED")->styleSheet().indexOf("rgb(255,0,0)"), -1);

  // Widgets to the model: a click, a menu entry, keys ahead of the control
  // that has the focus, the close by the frame.
  int clicks = 0;
  f.cmdRestore.onClick = [&] { ++clicks; };
  qobject_cast<QPushButton*>(view.widgetFor("cmdRestore"))->click();
  EXPECT_EQ(clicks, 1);
  top->findChild<QAction*>("cmdDisableAutoPicMenu")->trigger();
  EXPECT_EQ(f.AutoPic.value(), 0);
  EXPECT_FALSE(autoPic->isChecked());
  const std::tuple<int, Qt::KeyboardModifiers, QString> presses[] = {
      {Qt::Key_B, Qt::ControlModifier, QString(QChar(2))},
      {Qt::Key_N, Qt::ControlModifier, ""},
  };
  for (const auto& [key, modifiers, typed] : presses) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, typed);  // one address, as from a keyboard
    QApplication::sendEvent(upgrade, &event);
  }
  EXPECT_EQ(keys, (std::vector<int>{2, 14}));
  EXPECT_TRUE(top->close());
  EXPECT_TRUE(f.closed());
}
