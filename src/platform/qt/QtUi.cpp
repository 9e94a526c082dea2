#include "platform/qt/QtUi.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QMessageBox>
#include <QSortFilterProxyModel>

#include "platform/qt/QtFormView.h"
#include "platform/qt/QtLanguage.h"

namespace {
// Folders as they are; of the files only the images, and those greyed out.
class ImagesGreyedOut : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    auto* files = static_cast<QFileSystemModel*>(sourceModel());
    const QModelIndex entry = files->index(row, 0, parent);
    return files->isDir(entry) || IsImage(files->fileName(entry));
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    auto* files = static_cast<QFileSystemModel*>(sourceModel());
    const Qt::ItemFlags shown = QSortFilterProxyModel::flags(index);
    if (files->isDir(mapToSource(index))) return shown;
    return shown & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  }

 private:
  static bool IsImage(const QString& name) {
    return name.startsWith("kova_") && name.endsWith(".bin");
  }
};
}  // namespace

int QtUi::msgBox(const Text& text, int style, const Text& title) {
  QMessageBox box(mainWindow());
  QString t = Shown(text);
  t.replace("\r\n", "\n");
  box.setText(t);
  const QString shownTitle = Shown(title);
  box.setWindowTitle(shownTitle);
  // A short text would leave the box narrower than its title.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(
        new QSpacerItem(TitleWidth(shownTitle), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
        grid->rowCount(), 0, 1, grid->columnCount());
  switch (style & 0x70) {
    case MsgCritical: box.setIcon(QMessageBox::Critical); break;
    case MsgQuestion: box.setIcon(QMessageBox::Question); break;
    case MsgExclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  if ((style & 7) == MsgYesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MsgYes : MsgNo;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MsgOk;
}

void QtUi::setPointer(int code) {
  if (code == pointer_) return;
  if (pointer_ == kPointerBusy) QApplication::restoreOverrideCursor();
  pointer_ = code;
  if (code == kPointerBusy) QApplication::setOverrideCursor(Qt::BusyCursor);
}

void QtUi::showModal(Form& form) {
  form.reopen();
  form.load();
  QtFormView view(form, mainWindow());
  view.exec();
}

void QtUi::show(Form& form) {
  if (!main_) main_ = std::make_unique<QtFormView>(form, nullptr);
  main_->showWindow();
}

void QtUi::refresh() {
  if (main_) main_->widget()->repaint();
}

std::optional<std::string> QtUi::chooseFolder(const Text& title, const std::string& start) {
  // File names in the system's own encoding, as the logic's paths are.
  QFileDialog dialog(mainWindow(), Shown(title), QFile::decodeName(start.c_str()));
  // The kova_*.bin in a folder shows it is the right one: listed, greyed
  // out. Native pickers show folders only when asked for one.
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setProxyModel(new ImagesGreyedOut(&dialog));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

QtUi::QtUi() = default;
QtUi::~QtUi() = default;
void QtUi::releaseMainWindow() { main_.reset(); }

QWidget* QtUi::mainWindow() const { return main_ ? main_->widget() : nullptr; }
