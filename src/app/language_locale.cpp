#include "app/language_locale.h"

#include <array>
#include <utility>

namespace {

// One country per language: a code shared by several languages (Belgium, Switzerland)
// is left out rather than guessed.
constexpr std::array<std::pair<int, const char*>, 24> kLocales = {{
    {1, "en"},     {7, "ru"},  {30, "el"},  {31, "nl"},    {33, "fr"},  {34, "es"},
    {36, "hu"},    {39, "it"}, {40, "ro"},  {44, "en_GB"}, {45, "da"},  {46, "sv"},
    {47, "nb"},    {48, "pl"}, {49, "de"},  {55, "pt_BR"}, {81, "ja"},  {82, "ko"},
    {86, "zh_CN"}, {90, "tr"}, {351, "pt"}, {358, "fi"},   {380, "uk"}, {420, "cs"},
}};

}  // namespace

std::string LanguageLocaleName(int languageNumber) {
  for (const auto& [number, name] : kLocales)
    if (number == languageNumber) return name;
  return {};
}
