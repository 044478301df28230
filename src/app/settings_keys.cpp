#include "app/settings_keys.h"

#include <array>

#include "platform/number_text.h"
#include "platform/text_conversions.h"

namespace {

using namespace settings_key;

constexpr std::array kAllKeys{
    kLanguageId, kAppName,          kWebPage,          kUserName,        kUserDept,
    kUserPhone,  kUserFax,          kUserEmail,        kDesignLanguage,  kPackaging,
    kProjects,   kCurrentCatalogue, kJustOneCatalogue, kNoLinear,        kNoReference,
    kNoDesign,   kNoDorne,          kZoomAll,          kZoomIn,          kZoomOut,
    kMoveLeft,   kMoveRight,        kMoveDown,         kMoveUp,          kJointOverhang,
    kRealJoint,  kBoxOverhang,      kPrintFrame,       kPrintBlackWhite, kShowBlackWhite,
    kBackBuffer, kSupport,          kSpecial,          kCopper,          kApod,
    kInfos,      kToolBarState,     kReferenceCosting, kReferenceRanges, kTapOffToLoad,
};

}  // namespace

std::span<const CSettingKey> AllSettingKeys() { return kAllKeys; }

std::string ReadSetting(const CProfile& profile, const CSettingKey& key) {
  return profile.ReadProfileText(key.section, key.key, key.defaultText);
}

int ReadSettingInt(const CProfile& profile, const CSettingKey& key) {
  return ReadSettingInt(profile, key, TextToInt(key.defaultText));
}

int ReadSettingInt(const CProfile& profile, const CSettingKey& key, int defaultValue) {
  return profile.ReadProfileInt(key.section, key.key, defaultValue);
}

CProfileValue SettingValue(const CSettingKey& key, std::string text) {
  return {std::string(key.section), std::string(key.key), std::move(text)};
}

std::string FlagSettingText(bool on) { return on ? "1" : "0"; }

std::string FactorSettingText(double factor) { return FixedDecimalText(factor, 6); }

bool WriteSetting(CProfile& profile, const CSettingKey& key, std::string_view text) {
  return profile.WriteProfileText(key.section, key.key, text);
}

bool WriteSettingInt(CProfile& profile, const CSettingKey& key, int value) {
  return profile.WriteProfileInt(key.section, key.key, value) != 0;
}
