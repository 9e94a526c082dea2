// The Qt view follows the control model both ways.
#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>

#include "firmware/RestoreChooser.h"
#include "platform/qt/QtFormView.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtUi.h"
#include "sim/Harness.h"

// It carries the package's icon and desktop name too.
TEST(FormView, MainWindowFollowsTheModelAndPassesClicksKeysAndClose) {
  SetDesktopIdentity();
  EXPECT_FALSE(QApplication::windowIcon().pixmap(32, 32).isNull());
  EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), "com.kova.upgrader");
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
  // Both events at one address, as from a keyboard.
  for (const auto& [key, typed] : {std::pair{Qt::Key_B, QString(QChar(2))}, {Qt::Key_N, ""}}) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::ControlModifier, typed);
    QApplication::sendEvent(upgrade, &event);
  }
  EXPECT_EQ(keys, (std::vector<int>{2, 14}));
  EXPECT_TRUE(top->close());
  EXPECT_TRUE(f.closed());
}

// The restore chooser as the user meets it: a row that only carries the
// focus mark is no choice, so OK (or Enter) with nothing selected restores
// nothing; a clicked row, or the one entry there is, is the choice.
TEST(FormView, RestoreChooserTakesOnlyASelectedRow) {
  struct Ui : QtUi {
    std::function<void(QListWidget&, QPushButton&)> user;
    void showModal(Form& form) override {
      form.reopen();
      form.load();
      QtFormView view(form, nullptr);
      QTimer::singleShot(0, [&] {
        user(*qobject_cast<QListWidget*>(view.widgetFor("lstOldSoftwareVersions")),
             *qobject_cast<QPushButton*>(view.widgetFor("cmdOkRestore")));
        if (!form.closed()) view.widget()->close();
      });
      view.exec();
    }
  } ui;
  RestoreChooser chooser(ui);
  const std::vector<std::string> two = {"5.2.0.11", "5.2.0.12"};
  const auto enter = [](QListWidget& list, QPushButton&) {
    list.setFocus();
    list.selectionModel()->setCurrentIndex(list.model()->index(0, 0),
                                           QItemSelectionModel::NoUpdate);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&list, &key);
  };
  const auto clickOk = [](QListWidget&, QPushButton& ok) { ok.click(); };
  const std::tuple<std::vector<std::string>, std::function<void(QListWidget&, QPushButton&)>,
                   std::optional<std::string>>
      cases[] = {
          {two, enter, ""},
          {two, clickOk, ""},
          {two,
           [](QListWidget& list, QPushButton& ok) {
             list.item(1)->setSelected(true);
             ok.click();
           },
           "5.2.0.12"},
          {{"5.2.0.11"}, clickOk, "5.2.0.11"},
          {two, [](QListWidget&, QPushButton&) {}, std::nullopt},  // closed by its frame
      };
  for (const auto& [versions, user, chosen] : cases) {
    ui.user = user;
    EXPECT_EQ(chooser.choose(versions), chosen);
  }
  // The whole title fits beside a frame's buttons; the reset is told first.
  QtFormView view(chooser, nullptr);
  const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
  EXPECT_GE(view.widget()->width(), title.horizontalAdvance(view.widget()->windowTitle()) + 120);
  EXPECT_EQ(qobject_cast<QLabel*>(view.widgetFor("lblConfigReset"))->text().toStdString(),
            "The modem's configuration will be reset to defaults.");
}

// The folder chooser lists the image that shows a folder is the right one,
// greyed out, beside the folders that can be chosen; no title is cut off.
TEST(FormView, TheFolderChooserShowsTheImagesItCannotChoose) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kova-chooser-test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "firmware");
  std::ofstream(dir / "kova_5_2_0_13.bin") << "KOVA";
  std::ofstream(dir / "notes.txt") << "x";
  QtUi ui;
  std::map<std::string, bool> listed;  // name: enabled
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog);
    auto* files = dialog->findChild<QFileSystemModel*>();
    QAbstractProxyModel* shown = dialog->proxyModel();
    ASSERT_TRUE(files && shown);
    const auto look = [&, dialog, files, shown] {
      const QModelIndex folder =
          shown->mapFromSource(files->index(QString::fromStdString(dir.string())));
      listed.clear();
      for (int row = 0; row < shown->rowCount(folder); ++row) {
        const QModelIndex i = shown->index(row, 0, folder);
        listed[i.data().toString().toStdString()] = shown->flags(i) & Qt::ItemIsEnabled;
      }
      if (listed.size() < 2) return QTimer::singleShot(50, [&] {});
      EXPECT_GE(dialog->width(), TitleWidth(dialog->windowTitle()));
      dialog->reject();
    };
    QObject::connect(files, &QFileSystemModel::directoryLoaded, dialog, look);
    QTimer::singleShot(2000, dialog, [dialog] { dialog->reject(); });
  });
  EXPECT_EQ(ui.chooseFolder("Choose the firmware folder (the one with kova_*.bin)", dir.string()),
            std::nullopt);
  EXPECT_EQ(listed,
            (std::map<std::string, bool>{{"firmware", true}, {"kova_5_2_0_13.bin", false}}));
  std::filesystem::remove_all(dir);
}
