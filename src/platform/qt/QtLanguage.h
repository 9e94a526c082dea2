// The user's language, at the Qt edge only: the logic hands over English
// source texts with their values, and these turn them into what the window
// shows.
#pragma once

#include <QString>
#include <string>

#include "platform/Text.h"

// The catalogues' one context.
inline constexpr const char* kTextContext = "kova";

// The text in the installed language, its values filled in (each value is
// looked up too: "Unknown" is one). Without a catalogue, the English.
QString Shown(const Text& text);

// Installs the catalogue of a language ("fr", "pt_BR", "ar"), or of the
// system's locale when language is empty, with Qt's own texts (the buttons
// of message boxes) and the layout direction it names. English, and a
// language without a catalogue, keep the source texts. Returns the language
// installed ("en" when none), or an empty string when a language that was
// asked for has no catalogue.
std::string InstallLanguage(const std::string& language);

// The languages with a catalogue, English first.
std::string LanguagesOffered();
