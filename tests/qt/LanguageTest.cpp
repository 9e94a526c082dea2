// The window in the user's language: catalogues chosen by name or locale,
// values placed where each language puts them, right to left for Arabic,
// and the logic reading English all the while.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTranslator>
#include <map>

#include "app/DnsDialog.h"
#include "app/UpgradePrompt.h"
#include "at/ModemAddressDialog.h"
#include "firmware/RestoreChooser.h"
#include "platform/qt/QtFormView.h"
#include "platform/qt/QtLanguage.h"
#include "platform/qt/QtUi.h"
#include "sim/Harness.h"

namespace {
QString Q(const char* s) { return QString::fromUtf8(s); }

// A catalogue that orders its values otherwise than English does.
struct Reordering : QTranslator {
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (QString(context) != kTextContext) return {};
    const std::map<std::string, const char*> entries = {
        {"Copied %1 to %2", "Vers %2 : %1 copi\xc3\xa9"},
        {"Unknown", "Inconnue"},
        {"Line one\nline two", "Ligne un\nligne deux"},
    };
    const auto e = entries.find(source);
    return e == entries.end() ? QString() : Q(e->second);
  }
  bool isEmpty() const override { return false; }
};
}  // namespace

TEST(Language, ValuesGoWhereTheTranslationPutsThemAndTheLogicReadsEnglish) {
  Reordering catalogue;
  QCoreApplication::installTranslator(&catalogue);
  const std::pair<Text, const char*> cases[] = {
      {Text("Copied %1 to %2").arg("a.bin").arg("/bin"), "Vers /bin : a.bin copi\xc3\xa9"},
      // A value is looked up too; one holding a placeholder stays as it is.
      {Text("Copied %1 to %2").arg("%2").arg(Text("Unknown")), "Vers Inconnue : %2 copi\xc3\xa9"},
      // The modem's CR LF texts are kept with plain line breaks.
      {Text("Line one\r\nline two"), "Ligne un\nligne deux"},
      {Text("Not in the catalogue: %1").arg(5), "Not in the catalogue: 5"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(text), Q(shown));
  EXPECT_EQ(cases[1].first.english(), "Copied %2 to Unknown");

  Harness h;
  auto& f = h.load();
  QtFormView view(f, nullptr);
  auto* status = qobject_cast<QLineEdit*>(view.widgetFor("sbUpgrade"));
  f.setStatus(Text("Copied %1 to %2").arg("a.bin").arg("/bin"));
  EXPECT_EQ(status->text(), Q("Vers /bin : a.bin copi\xc3\xa9"));
  EXPECT_EQ(f.status(), "Copied a.bin to /bin");
  // What a user types is never translated, even a catalogue's word.
  auto* address = qobject_cast<QLineEdit*>(view.widgetFor("txtIPAddress"));
  f.txtIPAddress.readOnly = false;
  f.txtIPAddress.setText("Unknown");
  EXPECT_EQ(address->text(), Q("Unknown"));
  QCoreApplication::removeTranslator(&catalogue);
}

TEST(Language, CataloguesByNameOrRegionAndArabicRightToLeft) {
  // The language installed, or "" for a name without a catalogue.
  const std::pair<const char*, const char*> names[] = {
      {"fr", "fr"},    {"fr_CA", "fr"}, {"pt_BR", "pt_BR"}, {"es", "es"}, {"ru", "ru"},
      {"ar_EG", "ar"}, {"en", "en"},    {"en_GB", "en"},    {"xx", ""},   {"de", ""},
  };
  for (const auto& [asked, installed] : names) {
    EXPECT_EQ(InstallLanguage(asked), installed) << asked;
    if (*installed && std::string(installed) != "en") {
      EXPECT_NE(Shown("&Upgrade"_t), Q("&Upgrade")) << asked << ": the catalogue is empty";
    }
  }
  EXPECT_EQ(LanguagesOffered(), "en, ar, es, fr, pt_BR, ru");

  ASSERT_EQ(InstallLanguage("ar"), "ar");
  EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::RightToLeft);
  Harness h;
  auto& f = h.load();
  h.advance(100);
  QtFormView view(f, nullptr);
  const Geometry& placed = f.sbUpgrade.geometry;
  const QWidget* status = view.widgetFor("sbUpgrade");
  EXPECT_EQ(status->x(), status->parentWidget()->width() - placed.x - placed.width);
  EXPECT_NE(qobject_cast<const QLineEdit*>(status)->text(), Q("Software version was retrieved!"));
  EXPECT_EQ(f.status(), "Software version was retrieved!");

  ASSERT_EQ(InstallLanguage("en"), "en");
  EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(Shown("&Upgrade"_t), Q("&Upgrade"));
}

// Longer words than English's fit the places the forms give them.
TEST(Language, EveryCaptionShowsWholeInEveryLanguage) {
  for (const char* language : {"en", "fr", "es", "pt_BR", "ru", "ar"}) {
    ASSERT_EQ(InstallLanguage(language), language);
    Harness h;
    auto& main = h.load();
    h.advance(100);
    main.AutoPicLabel.setCaption("No PIC file to upgrade in this version."_t);
    QtUi ui;
    RestoreChooser restore(ui);
    DnsDialog dns(ui);
    ModemAddressDialog address;
    UpgradePrompt prompt;
    for (Form* form : std::initializer_list<Form*>{&main, &restore, &dns, &address, &prompt}) {
      QtFormView view(*form, nullptr);
      for (const QWidget* w : view.widget()->findChildren<QWidget*>())
        EXPECT_TRUE(TextFits(*w)) << language << ": " << form->name() << "."
                                  << w->objectName().toStdString() << " is cut off";
    }
  }
  InstallLanguage("en");
}
