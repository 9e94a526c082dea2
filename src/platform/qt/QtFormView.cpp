#include "platform/qt/QtFormView.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <algorithm>

#include "platform/qt/QtLanguage.h"

namespace {
QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

// Forms place their controls for left to right; a language written right
// to left reads them mirrored.
void Place(QWidget* w, const Control& c, const QWidget& container) {
  const Geometry& g = c.geometry;
  const int x = QGuiApplication::isRightToLeft() ? container.width() - g.x - g.width : g.x;
  w->setGeometry(x, g.y, g.width, g.height);
}

QString Colour(long bgr) {
  return QString("background-color: rgb(%1,%2,%3); border: 1px solid #404040; border-radius: 8px;")
      .arg(bgr & 0xFF)
      .arg((bgr >> 8) & 0xFF)
      .arg((bgr >> 16) & 0xFF);
}

// A translation may be longer than the English the form was laid out for:
// the font of its control shrinks until the whole text shows.
void FitText(QWidget& w) {
  QFont font = w.parentWidget() ? w.parentWidget()->font() : QApplication::font();
  w.setFont(font);
  while (!TextFits(w) && font.pointSizeF() > 6) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    w.setFont(font);
  }
}

const char* ColourName(long bgr) {
  switch (bgr) {
    case 0x0000FF: return "red"_t;
    case 0x00FF00: return "green"_t;
    default: return "";
  }
}

// Main window: close requests from the frame go through the form.
class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(Form& f) : form_(f) {}
  void closeEvent(QCloseEvent* e) override {
    if (form_.closed() || form_.requestClose(Form::kCloseByUser))
      e->accept();
    else
      e->ignore();
  }

 private:
  Form& form_;
};

class Dialog : public QDialog {
 public:
  Dialog(Form& f, QWidget* parent) : QDialog(parent), form_(f) {}
  void closeEvent(QCloseEvent* e) override {
    if (form_.closed() || form_.requestClose(Form::kCloseByUser))
      e->accept();
    else
      e->ignore();
  }
  void reject() override {  // Escape
    if (form_.closed() || form_.requestClose(Form::kCloseByUser)) QDialog::reject();
  }

 private:
  Form& form_;
};
}  // namespace

bool TextFits(const QWidget& w) {
  if (auto* label = qobject_cast<const QLabel*>(&w))
    return label->text().isEmpty() || label->heightForWidth(label->width()) <= label->height();
  if (auto* button = qobject_cast<const QAbstractButton*>(&w)) {
    // The text beside a check box's or radio button's mark, or within a
    // button's frame.
    const int around = qobject_cast<const QPushButton*>(&w) ? 10 : 24;
    QString shown = button->text();
    shown.remove(QRegularExpression("&(?!&)"));
    return shown.isEmpty() || w.fontMetrics().horizontalAdvance(shown) + around <= w.width();
  }
  return true;
}

int TitleWidth(const QString& title) {
  const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
  return metrics.horizontalAdvance(title) + 120;
}

QtFormView::QtFormView(Form& form, QWidget* parent) : form_(form) {
  QWidget* container = nullptr;
  if (parent == nullptr && !form.menus.empty()) {
    auto* w = new MainWindow(form);
    container = new QWidget(w);
    w->setCentralWidget(container);
    bindMenus(*w);
    top_ = w;
  } else {
    dialog_ = new Dialog(form, parent);
    dialog_->setModal(true);
    container = dialog_;
    top_ = dialog_;
  }
  const QString title = Shown(form.caption);
  top_->setWindowTitle(title);
  // A dialog is at least as wide as its whole title beside the frame's
  // buttons, at the font the user has.
  const int titleWidth = dialog_ ? TitleWidth(title) : 0;
  container->setFixedSize(std::max(form.width, titleWidth), form.height);
  build(container);
  top_->installEventFilter(this);
  form_.onClosed = [this] {
    if (closing_) return;
    closing_ = true;
    if (dialog_) {
      dialog_->done(0);
    } else {
      top_->close();
      QCoreApplication::quit();
    }
  };
}

QtFormView::~QtFormView() {
  form_.onClosed = nullptr;
  for (auto& [c, id] : connections_) c->changed.remove(id);
  delete top_;
}

void QtFormView::exec() {
  if (dialog_ && !form_.closed()) dialog_->exec();
}

void QtFormView::showWindow() {
  top_->adjustSize();
  top_->show();
}

QWidget* QtFormView::widgetFor(const std::string& name) const {
  for (auto& [n, w] : widgets_)
    if (n == name) return w;
  return nullptr;
}

void QtFormView::build(QWidget* container) {
  for (Control* c : form_.controls) bind(*c, container);
  for (Control* c : form_.controls) {
    if (c->kind() != Control::Kind::Label) continue;
    auto& label = static_cast<Label&>(*c);
    QWidget* buddy = label.buddy ? widgetFor(label.buddy->name()) : nullptr;
    auto* shown = qobject_cast<QLabel*>(widgetFor(c->name()));
    if (!buddy || !shown) continue;
    shown->setBuddy(buddy);
    // Screen readers name line edits by their buddy, but not check boxes.
    auto name = [buddy, &label] {
      buddy->setAccessibleName(Shown(label.captionText()).remove('&'));
    };
    name();
    connections_.emplace_back(c, c->changed.add(name));
  }
  // Tab order follows the form's order.
  QWidget* previous = nullptr;
  for (auto& [name, w] : widgets_) {
    if (w->focusPolicy() == Qt::NoFocus) continue;
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
  if (form_.initialFocus)
    if (QWidget* w = widgetFor(form_.initialFocus->name())) w->setFocus();
  // Key presses reach the form ahead of its controls.
  qApp->installEventFilter(this);
}

bool QtFormView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && form_.onKeyPress) {
    auto* w = qobject_cast<QWidget*>(watched);
    // An unhandled key climbs to each parent with the same event object;
    // the form sees it once, at its first receiver.
    // (isAncestorOf also holds for the widget itself.)
    bool climbing = event == lastKey_ && lastKeyTarget_ && w && w != lastKeyTarget_ &&
                    w->isAncestorOf(lastKeyTarget_);
    if (w && !climbing && (w == top_ || top_->isAncestorOf(w)) && w->window() == top_) {
      lastKey_ = event;
      lastKeyTarget_ = w;
      auto* k = static_cast<QKeyEvent*>(event);
      int code = 0;
      if ((k->modifiers() & Qt::ControlModifier) && k->key() >= Qt::Key_A &&
          k->key() <= Qt::Key_Z)
        code = k->key() - Qt::Key_A + 1;
      else if (k->text().size() == 1)
        code = k->text().at(0).unicode();
      if (code > 0 && code < 256) form_.onKeyPress(code);
    }
  }
  return QObject::eventFilter(watched, event);
}

void QtFormView::bind(Control& c, QWidget* container) {
  QWidget* w = nullptr;
  std::function<void()> update;
  switch (c.kind()) {
    case Control::Kind::Button: {
      auto& b = static_cast<Button&>(c);
      auto* q = new QPushButton(container);
      q->setDefault(b.isDefault);
      q->setAutoDefault(b.isDefault);
      QObject::connect(q, &QPushButton::clicked, [&b] { b.click(); });
      update = [q, &b] { q->setText(Shown(b.captionText())); };
      w = q;
      break;
    }
    case Control::Kind::Label: {
      auto& l = static_cast<Label&>(c);
      auto* q = new QLabel(container);
      q->setWordWrap(true);
      q->setTextFormat(Qt::PlainText);
      update = [q, &l] { q->setText(Shown(l.captionText())); };
      w = q;
      break;
    }
    case Control::Kind::TextBox: {
      auto& t = static_cast<TextBox&>(c);
      auto* q = new QLineEdit(container);
      q->setReadOnly(t.readOnly);
      if (t.maxLength > 0) q->setMaxLength(t.maxLength);
      QObject::connect(q, &QLineEdit::textEdited, [&t](const QString& s) { t.setText(S(s)); });
      // What the user types stays as typed; what the tool writes into a
      // read-only box (the status, the versions) is in the user's language.
      update = [q, &t] {
        const QString shown = t.readOnly ? Shown(t.shownText()) : Q(t.text());
        if (q->text() != shown) q->setText(shown);
      };
      w = q;
      break;
    }
    case Control::Kind::CheckBox: {
      auto& cb = static_cast<CheckBox&>(c);
      auto* q = new QCheckBox(container);
      QObject::connect(q, &QCheckBox::clicked, [&cb](bool on) { cb.setValue(on ? 1 : 0); });
      update = [q, &cb] {
        q->setText(Shown(cb.captionText()));
        q->setChecked(cb.value() == 1);
      };
      w = q;
      break;
    }
    case Control::Kind::OptionButton: {
      auto& o = static_cast<OptionButton&>(c);
      auto* q = new QRadioButton(container);
      q->setAutoExclusive(false);  // the form decides
      QObject::connect(q, &QRadioButton::clicked, [&o, q] {
        o.click();
        q->setChecked(o.value());
      });
      update = [q, &o] {
        q->setText(Shown(o.captionText()));
        q->setChecked(o.value());
      };
      w = q;
      break;
    }
    case Control::Kind::ProgressBar: {
      auto& p = static_cast<ProgressBar&>(c);
      auto* q = new QProgressBar(container);
      q->setRange(0, 100);
      q->setTextVisible(false);
      update = [q, &p] { q->setValue(p.value()); };
      w = q;
      break;
    }
    case Control::Kind::Shape: {
      auto& s = static_cast<Shape&>(c);
      auto* q = new QFrame(container);
      // The colour in words, for those who cannot see it.
      update = [q, &s] {
        q->setStyleSheet(Colour(s.fillColor()));
        q->setAccessibleDescription(Shown(ColourName(s.fillColor())));
      };
      w = q;
      break;
    }
    case Control::Kind::ListBox: {
      auto& l = static_cast<ListBox&>(c);
      auto* q = new QListWidget(container);
      // The model's index is the selected row: the row that merely carries
      // the focus mark (the list's current row) is no choice of the user's.
      auto selected = [q] {
        const auto rows = q->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
      };
      QObject::connect(q, &QListWidget::itemSelectionChanged, [&l, selected] {
        if (selected() != l.listIndex()) l.setListIndex(selected());
      });
      update = [q, &l, selected] {
        if (q->count() != static_cast<int>(l.items().size())) {
          QSignalBlocker block(q);
          q->clear();
          for (auto& i : l.items()) q->addItem(Q(i));
        }
        if (selected() != l.listIndex()) {
          QSignalBlocker block(q);
          if (l.listIndex() < 0)
            q->clearSelection();
          else
            q->setCurrentRow(l.listIndex(), QItemSelectionModel::ClearAndSelect);
        }
      };
      w = q;
      break;
    }
    case Control::Kind::MenuItem:
      return;
  }
  w->setObjectName(Q(c.name()));
  if (!c.accessibleName.empty()) w->setAccessibleName(Shown(c.accessibleName));
  Place(w, c, *container);
  auto full = [w, &c, update] {
    update();
    FitText(*w);
    w->setEnabled(c.enabled());
    w->setVisible(c.visible());
    w->setToolTip(Shown(c.toolTipText()));
  };
  full();
  connections_.emplace_back(&c, c.changed.add(full));
  widgets_.emplace_back(c.name(), w);
}

void QtFormView::bindMenus(QMainWindow& window) {
  for (auto& m : form_.menus) {
    QMenu* menu = window.menuBar()->addMenu(Shown(m.caption));
    menu->setObjectName(Q(m.name));
    for (MenuItem* item : m.items) {
      if (item->isSeparator()) {
        menu->addSeparator();
        continue;
      }
      QAction* a = menu->addAction(Shown(item->captionText()));
      a->setObjectName(Q(item->name()));
      QObject::connect(a, &QAction::triggered, [item] { item->click(); });
      auto update = [a, item] {
        a->setText(Shown(item->captionText()));
        a->setEnabled(item->enabled());
        a->setVisible(item->visible());
      };
      update();
      connections_.emplace_back(item, item->changed.add(update));
    }
  }
}
