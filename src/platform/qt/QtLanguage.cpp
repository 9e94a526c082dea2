#include "platform/qt/QtLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>
#include <vector>

namespace {
QString FromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Catalogues hold plain line breaks; the logic's texts keep the modem's CR LF.
std::string CatalogueKey(const std::string& source) {
  std::string key;
  key.reserve(source.size());
  for (std::size_t i = 0; i < source.size(); ++i)
    if (!(source[i] == '\r' && i + 1 < source.size() && source[i + 1] == '\n')) key += source[i];
  return key;
}

// The translators installed last; a new choice replaces them.
std::vector<QTranslator*>& Installed() {
  static std::vector<QTranslator*> installed;
  return installed;
}

QStringList Offered() {
  QStringList names = QDir(":/i18n").entryList({"kova_*.qm"}, QDir::Files, QDir::Name);
  for (QString& n : names) n = n.mid(5, n.size() - 8);
  return names;
}
}  // namespace

QString Shown(const Text& text) {
  const std::string key = CatalogueKey(text.source());
  const QString pattern = QCoreApplication::translate(kTextContext, key.c_str());
  if (text.args().empty()) return pattern;
  // UTF-8 never holds "%1" inside a character: the logic's filling serves.
  std::vector<std::string> values;
  for (const Text& a : text.args()) values.push_back(Shown(a).toStdString());
  return QString::fromStdString(Text::Fill(pattern.toStdString(), values));
}

std::string InstallLanguage(const std::string& language) {
  const QLocale locale = language.empty() ? QLocale::system() : QLocale(FromUtf8(language));
  const QStringList offered = Offered();
  // "pt_BR" before "pt", and a region the catalogues do not know falls back
  // to its language.
  QString chosen;
  for (const QString& name : {locale.name(), locale.name().section('_', 0, 0)})
    if (offered.contains(name)) {
      chosen = name;
      break;
    }
  // A language asked for by name must have a catalogue; the system's falls
  // back to English.
  if (chosen.isEmpty() && !language.empty() && locale.language() != QLocale::English) return {};
  for (QTranslator* t : Installed()) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
  Installed().clear();
  const bool window = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
  if (chosen.isEmpty()) {
    if (window) QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    return "en";
  }
  auto ours = std::make_unique<QTranslator>();
  if (!ours->load(":/i18n/kova_" + chosen + ".qm")) return {};
  // Qt's own words (OK, Yes, No, the folder chooser) where Qt ships them.
  auto qt = std::make_unique<QTranslator>();
  if (qt->load(QLocale(chosen), "qtbase", "_",
               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qt.get());
    Installed().push_back(qt.release());
  }
  QCoreApplication::installTranslator(ours.get());
  Installed().push_back(ours.release());
  if (window) QGuiApplication::setLayoutDirection(QLocale(chosen).textDirection());
  return chosen.toStdString();
}

std::string LanguagesOffered() {
  QStringList names = Offered();
  names.prepend("en");
  return names.join(", ").toStdString();
}
