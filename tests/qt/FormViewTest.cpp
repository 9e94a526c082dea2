// The Qt view follows the control model both ways.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/qt/QtFormView.h"
#include "sim/Harness.h"

namespace {
QAction* FindAction(QWidget* top, const char* name) {
  return top->findChild<QAction*>(name);
}
}  // namespace

TEST(FormView, MainWindowWidgetsFollowTheModel) {
  Harness h;
  auto& f = h.load();
  h.advance(100);
  QtFormView view(f, nullptr);
  view.showWindow();
  QWidget* top = view.widget();
  ASSERT_TRUE(qobject_cast<QMainWindow*>(top));
  EXPECT_EQ(top->windowTitle().toStdString(), "KOVA Satellite IP Modem Upgrader");

  auto* ip = qobject_cast<QLineEdit*>(view.widgetFor("txtIPAddress"));
  auto* current = qobject_cast<QLineEdit*>(view.widgetFor("txtCurrentSoftwareVersion"));
  auto* status = qobject_cast<QLineEdit*>(view.widgetFor("sbUpgrade"));
  auto* upgrade = qobject_cast<QPushButton*>(view.widgetFor("cmdUpgrade"));
  auto* progress = qobject_cast<QProgressBar*>(view.widgetFor("Progress"));
  auto* autoPic = qobject_cast<QCheckBox*>(view.widgetFor("AutoPic"));
  ASSERT_TRUE(ip && current && status && upgrade && progress && autoPic);
  EXPECT_EQ(ip->text().toStdString(), "127.0.0.1");
  EXPECT_TRUE(ip->isReadOnly());
  EXPECT_EQ(current->text().toStdString(), "5.2.0.12");
  EXPECT_EQ(status->text().toStdString(), "Software version was retrieved!");
  EXPECT_EQ(upgrade->text().toStdString(), "&Upgrade");
  EXPECT_EQ(upgrade->toolTip().toStdString(), "Upgrade software");
  EXPECT_EQ(progress->value(), 100);
  EXPECT_TRUE(autoPic->isChecked());
  EXPECT_FALSE(autoPic->isEnabled());  // no pic.hex in the home

  // Model to widgets.
  f.setBusy(true);
  EXPECT_FALSE(upgrade->isEnabled());
  EXPECT_FALSE(FindAction(top, "cmdResetModem")->isEnabled());
  EXPECT_TRUE(FindAction(top, "mnuHelpAbout")->isEnabled());
  f.setBusy(false);
  EXPECT_TRUE(upgrade->isEnabled());
  f.setStatus("caf\xc3\xa9");
  EXPECT_EQ(status->text(), QString::fromUtf8("caf\xc3\xa9"));
  f.setConnected(false);
  EXPECT_NE(view.widgetFor("statusLED")->styleSheet().indexOf("rgb(255,0,0)"), -1);

  // Widgets to the model: a click runs the handler, a menu entry too.
  int clicks = 0;
  f.cmdRestore.onClick = [&] { ++clicks; };
  qobject_cast<QPushButton*>(view.widgetFor("cmdRestore"))->click();
  EXPECT_EQ(clicks, 1);
  FindAction(top, "cmdDisableAutoPicMenu")->trigger();
  EXPECT_EQ(f.AutoPic.value(), 0);
  EXPECT_FALSE(autoPic->isChecked());
  EXPECT_EQ(qobject_cast<QWidget*>(view.widgetFor("AutoPicLabel"))->property("text").toString(),
            "");

  // The menu bar holds the three menus with their captions.
  auto menus = qobject_cast<QMainWindow*>(top)->menuBar()->actions();
  ASSERT_EQ(menus.size(), 3);
  EXPECT_EQ(menus[0]->text().toStdString(), "&File");
  EXPECT_EQ(menus[2]->text().toStdString(), "&Help");
}

TEST(FormView, KeyPressesReachTheFormAheadOfItsControls) {
  Harness h;
  auto& f = h.load();
  std::vector<int> keys;
  f.onKeyPress = [&](int k) { keys.push_back(k); };
  QtFormView view(f, nullptr);
  view.showWindow();
  QWidget* target = view.widgetFor("cmdUpgrade");
  QKeyEvent ctrlB(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier, QString(QChar(2)));
  QKeyEvent letter(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QApplication::sendEvent(target, &ctrlB);
  QApplication::sendEvent(target, &letter);
  EXPECT_EQ(keys, (std::vector<int>{2, 'x'}));
  // Two keys in turn at the same address, as a keyboard delivers them.
  keys.clear();
  for (int letterKey : {Qt::Key_B, Qt::Key_N}) {
    QKeyEvent k(QEvent::KeyPress, letterKey, Qt::ControlModifier, QString());
    QApplication::sendEvent(target, &k);
  }
  EXPECT_EQ(keys, (std::vector<int>{2, 14}));
}

TEST(FormView, ClosingByTheFrameAsksTheForm) {
  Harness h;
  auto& f = h.load();  // busy: the start-up query is still running
  QtFormView view(f, nullptr);
  view.showWindow();
  ASSERT_TRUE(h.busy());
  EXPECT_FALSE(view.widget()->close());  // refused while busy
  EXPECT_FALSE(f.closed());
  h.advance(100);
  ASSERT_FALSE(h.busy());
  EXPECT_TRUE(view.widget()->close());
  EXPECT_TRUE(f.closed());
}
