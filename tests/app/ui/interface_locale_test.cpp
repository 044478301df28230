#include "app/ui/interface_locale.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

#include "language_ui_test_support.h"

namespace {

// Dates follow the interface language, not the desktop's locale (here "C", which writes
// "8 Dec 2026"); a language without a known locale keeps the desktop's form.
TEST(InterfaceLocaleTest, DatesAreWrittenInTheInterfaceLanguagesForm) {
  const QLocale desktop;
  QLocale::setDefault(QLocale::c());
  const QDate date(2026, 12, 8);
  const struct {
    const char* number;
    const char* locale;
    QString expected;
  } rows[] = {{"033", "fr", "08/12/2026"},
              {"044", "en_GB", "08/12/2026"},
              {"049", "de", "08.12.26"},
              {"999", "", QLocale::c().toString(date, QLocale::ShortFormat)}};
  for (const auto& row : rows) {
    const CTestLanguage language("02710=OK\r\n", row.number);
    EXPECT_EQ(InterfaceLocaleName(), row.locale) << row.number;
    EXPECT_EQ(InterfaceDateText(date), row.expected) << row.number;
  }
  QLocale::setDefault(desktop);
}

}  // namespace
