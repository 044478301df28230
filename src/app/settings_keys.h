#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/language_mapping.h"
#include "app/profile.h"

// The keys of the settings file that the program reads and writes, each with its
// section, its default and the kind of value it holds. Readers and writers name a key
// from here, so that a key and its default are spelled once. The colours and label
// styles, which come in families, keep their own tables (app_settings.cpp).

enum class ESettingType {
  Text,    // any text
  Int,     // a decimal integer
  Flag,    // "0" or "1"
  Factor,  // a decimal fraction written as "%f"
};

struct CSettingKey {
  std::string_view section;
  std::string_view key;
  std::string_view defaultText;
  ESettingType type;
};

namespace settings_key {

inline constexpr CSettingKey kLanguageId{"Language", "ID", "033", ESettingType::Text};
inline constexpr CSettingKey kAppName{
    "Language", "AppName", CLanguageMapping::kDefaultApplicationName, ESettingType::Text};
inline constexpr CSettingKey kWebPage{"Language", "Web", "https://tavrilon.example/",
                                      ESettingType::Text};

inline constexpr CSettingKey kUserName{"User", "Name", "UnKnown", ESettingType::Text};
inline constexpr CSettingKey kUserDept{"User", "Dept", "", ESettingType::Text};
inline constexpr CSettingKey kUserPhone{"User", "Phone", "", ESettingType::Text};
inline constexpr CSettingKey kUserFax{"User", "Fax", "", ESettingType::Text};
inline constexpr CSettingKey kUserEmail{"User", "Email", "", ESettingType::Text};

inline constexpr CSettingKey kDesignLanguage{"Database", "LANG_DESIGN", "1", ESettingType::Int};
inline constexpr CSettingKey kPackaging{"Database", "Packaging", "0", ESettingType::Flag};
inline constexpr CSettingKey kProjects{"Database", "Projects", "", ESettingType::Text};
// Its readers differ in default: the catalogue menu takes "1", the price lists "0".
inline constexpr CSettingKey kCurrentCatalogue{"Database", "CurrentCat", "0", ESettingType::Int};
inline constexpr CSettingKey kJustOneCatalogue{"Database", "JustOneCat", "no", ESettingType::Text};
inline constexpr CSettingKey kNoLinear{"Database", "NoML", "0", ESettingType::Text};
inline constexpr CSettingKey kNoReference{"Database", "NoRF", "0", ESettingType::Text};
inline constexpr CSettingKey kNoDesign{"Database", "No3D", "0", ESettingType::Text};
inline constexpr CSettingKey kNoDorne{"Database", "NoDRNE", "0", ESettingType::Text};

inline constexpr CSettingKey kZoomAll{"Zooms", "All", "0.9", ESettingType::Factor};
inline constexpr CSettingKey kZoomIn{"Zooms", "In", "0.1", ESettingType::Factor};
inline constexpr CSettingKey kZoomOut{"Zooms", "Out", "0.1", ESettingType::Factor};
inline constexpr CSettingKey kMoveLeft{"Moves", "Left", "0.2", ESettingType::Factor};
inline constexpr CSettingKey kMoveRight{"Moves", "Right", "0.2", ESettingType::Factor};
inline constexpr CSettingKey kMoveDown{"Moves", "Down", "0.2", ESettingType::Factor};
inline constexpr CSettingKey kMoveUp{"Moves", "Up", "0.2", ESettingType::Factor};

inline constexpr CSettingKey kJointOverhang{"Design", "JointDebord", "10", ESettingType::Int};
inline constexpr CSettingKey kRealJoint{"Design", "RealJoint", "1", ESettingType::Flag};
inline constexpr CSettingKey kBoxOverhang{"Design", "BoxDebord", "50", ESettingType::Int};
inline constexpr CSettingKey kPrintFrame{"Design", "ImpFrm", "1", ESettingType::Flag};
inline constexpr CSettingKey kPrintBlackWhite{"Design", "ImpBW", "0", ESettingType::Flag};
inline constexpr CSettingKey kShowBlackWhite{"Design", "AffBW", "0", ESettingType::Flag};
inline constexpr CSettingKey kBackBuffer{"Design", "BackBuffer", "1", ESettingType::Flag};
inline constexpr CSettingKey kSupport{"Design", "Support", "2", ESettingType::Int};
inline constexpr CSettingKey kSpecial{"Design", "Special", "0", ESettingType::Int};
inline constexpr CSettingKey kTapOffToLoad{"Design", "TapOff2Load", "5000/30000",
                                           ESettingType::Text};
inline constexpr CSettingKey kCopper{"Design", "Copper", "0", ESettingType::Int};
inline constexpr CSettingKey kApod{"Design", "APOD", "0", ESettingType::Int};
inline constexpr CSettingKey kInfos{"Design", "Infos", "1", ESettingType::Int};

inline constexpr CSettingKey kToolBarState{"ToolBar", "State", "", ESettingType::Text};
inline constexpr CSettingKey kReferenceCosting{"Ref", "GDE", "1", ESettingType::Int};
inline constexpr CSettingKey kReferenceRanges{"Ref", "GDC", "1", ESettingType::Int};

}  // namespace settings_key

// The message shown when the settings file cannot be written (%1 its path); what was
// in it stays as it was.
constexpr int kMsgSettingsNotSaved = 395;

// Every key above, for checks over the whole table.
std::span<const CSettingKey> AllSettingKeys();

// The text of the key, its default when it is missing.
std::string ReadSetting(const CProfile& profile, const CSettingKey& key);
// The leading integer of the key (ReadProfileInt), the default's when it is missing or empty.
int ReadSettingInt(const CProfile& profile, const CSettingKey& key);
// The same with a default of the caller's, for keys whose readers differ in it.
int ReadSettingInt(const CProfile& profile, const CSettingKey& key, int defaultValue);

// The key with a text to write, for WriteProfileValues.
CProfileValue SettingValue(const CSettingKey& key, std::string text);
// The texts of a flag and of a factor as the settings file keeps them.
std::string FlagSettingText(bool on);
std::string FactorSettingText(double factor);

[[nodiscard]] bool WriteSetting(CProfile& profile, const CSettingKey& key, std::string_view text);
[[nodiscard]] bool WriteSettingInt(CProfile& profile, const CSettingKey& key, int value);
