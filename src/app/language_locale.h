#pragma once

#include <string>

// The locale name ("fr", "en", "pt_BR") of a language number. Language numbers are the
// international telephone codes of the countries whose language the file holds ("033"
// French, "044" English); the name chooses the desktop toolkit's own translations.
// Empty for a number that names no known language.
std::string LanguageLocaleName(int languageNumber);
