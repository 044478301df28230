#include "app/language_locale.h"

#include <gtest/gtest.h>

namespace {

TEST(LanguageLocaleTest, TelephoneCodesNameTheirLanguage) {
  const std::pair<int, const char*> rows[] = {
      {33, "fr"}, {44, "en"}, {1, "en"}, {49, "de"}, {351, "pt"}, {55, "pt_BR"},
      {32, ""},  // Belgium speaks several languages: none is guessed
      {0, ""},   {-33, ""}, {999, ""}};
  for (const auto& [number, locale] : rows) EXPECT_EQ(LanguageLocaleName(number), locale) << number;
}

}  // namespace
