#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// The locale of the interface language: the language file's, not the desktop's, so that
// a French interface writes French dates on an English desktop. The texts shown are those
// of the shipped English file when the chosen language's could not be used. Numbers keep
// their own rules (they never depend on a locale in files).

// "fr", "en_GB", ...; empty for a language number without a known locale.
QString InterfaceLocaleName();

// The interface language's locale; the desktop's for a language without a known one.
QLocale InterfaceLocale();

// A date in the interface language's short form ("08/12/2026" in French and British).
QString InterfaceDateText(const QDate& date);
// Today, so written: the dates a project records when it is made or saved.
QString InterfaceToday();
