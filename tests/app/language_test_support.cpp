#include "language_test_support.h"

#include "app/current_language.h"

CLanguageTestFolder::CLanguageTestFolder() { CCurrentLanguage::Instance().Reset(); }

CLanguageTestFolder::~CLanguageTestFolder() { CCurrentLanguage::Instance().Reset(); }

void CLanguageTestFolder::UseAsCatalogue(const std::string& appNameSetting) const {
  CLanguageSetup setup;
  setup.catalogueFolder = Path();
  setup.appNameSetting = appNameSetting;
  setup.fileVersion = {7, 3, 0, 0};
  CCurrentLanguage::Instance().SetSetup(setup);
}

std::string Utf16Le(std::string_view utf8, bool withMark) {
  std::string out = withMark ? std::string("\xFF\xFE") : std::string();
  const auto put = [&out](char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += length;
    if (code >= 0x10000) {
      put(0xD800 + ((code - 0x10000) >> 10));
      put(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      put(code);
    }
  }
  return out;
}
