#include "app/settings_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "platform/number_text.h"
#include "platform/text_conversions.h"

namespace {

// Two entries for one key would let their defaults drift apart again.
TEST(SettingsKeysTest, EachKeyIsListedOnce) {
  std::set<std::pair<std::string, std::string>> seen;
  for (const CSettingKey& key : AllSettingKeys()) {
    std::string section(key.section), name(key.key);
    for (std::string* text : {&section, &name})
      for (char& c : *text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(seen.insert({section, name}).second) << key.section << "/" << key.key;
  }
}

// A default must be a value its key can hold, or readers would start from nonsense.
TEST(SettingsKeysTest, DefaultsAreValuesOfTheirType) {
  for (const CSettingKey& key : AllSettingKeys()) {
    SCOPED_TRACE(std::string(key.section) + "/" + std::string(key.key));
    switch (key.type) {
      case ESettingType::Int: EXPECT_TRUE(ParseWholeInt(key.defaultText)); break;
      case ESettingType::Flag: EXPECT_TRUE(key.defaultText == "0" || key.defaultText == "1"); break;
      case ESettingType::Factor: {
        auto parsed = ParseDoublePrefix(key.defaultText);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->length, key.defaultText.size());
        EXPECT_GT(parsed->value, 0.0);
        break;
      }
      case ESettingType::Text: break;
    }
  }
}

}  // namespace
