#include "app/ui/interface_locale.h"

#include "app/current_language.h"
#include "app/language_locale.h"
#include "app/language_mapping.h"

namespace {

constexpr int kEnglish = 44;  // the language of the shipped file

}  // namespace

QString InterfaceLocaleName() {
  const CCurrentLanguage& language = CCurrentLanguage::Instance();
  const int number = language.Mapping().FromShippedFile()
                         ? kEnglish
                         : LeadingInt(language.LanguageNumber()).value_or(0);
  return QString::fromStdString(LanguageLocaleName(number));
}

QLocale InterfaceLocale() {
  const QString name = InterfaceLocaleName();
  return name.isEmpty() ? QLocale() : QLocale(name);
}

QString InterfaceDateText(const QDate& date) {
  return InterfaceLocale().toString(date, QLocale::ShortFormat);
}

QString InterfaceToday() { return InterfaceDateText(QDate::currentDate()); }
