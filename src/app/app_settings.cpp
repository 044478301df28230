#include "app/app_settings.h"

#include <vector>

#include "app/profile.h"
#include "app/settings_keys.h"

namespace {

struct ColorDefault {
  ColorIndex index;
  const char* key;
  CColor color;
};

// In the order start-up reads them.
constexpr std::array<ColorDefault, kColorCount> kColors{{
    {kColorStraight1, "Straight1", MakeColor(0, 255, 0)},
    {kColorStraight2, "Straight2", MakeColor(0, 255, 255)},
    {kColorStraight3, "Straight3", MakeColor(255, 255, 0)},
    {kColorStraight4, "Straight4", MakeColor(255, 128, 0)},
    {kColorEnding, "Ending", MakeColor(64, 128, 128)},
    {kColorSpecial, "Special", MakeColor(192, 192, 192)},
    {kColorSystemJoint, "SystemJoint", MakeColor(0, 178, 0)},
    {kColorUserJoint, "UserJoint", MakeColor(0, 0, 255)},
    {kColorPassThrough, "PassThrough", MakeColor(0, 0, 0)},
    {kColorUnknown, "UnKnown", MakeColor(255, 0, 0)},
    {kColorTapOff, "Tapoff", MakeColor(200, 200, 200)},
    {kColorFireBarrier, "FireBarrier", MakeColor(64, 64, 64)},
    {kColorSupport, "Support", MakeColor(255, 64, 64)},
}};

struct LabelKeys {
  const char* visible;
  const char* visibleDefault;
  const char* opaque;  // null: the style keeps only its visible switch
  const char* opaqueDefault;
  const char* font;
  const char* fontDefault;
  const char* fontColor;
  CColor fontColorDefault;
  const char* background;
  const char* flags;
  int flagsDefault;
};

constexpr CColor kWhite = MakeColor(255, 255, 255);

// Indexed by LabelStyleIndex.
constexpr std::array<LabelKeys, kLabelStyleCount> kLabels{{
    {"BranchVisible", "True", "BranchOpaque", "False", "BranchFont", "Arial,9,0", "BranchFontColor",
     MakeColor(0, 0, 0), "BranchBkGrd", "BranchFlags", 0},
    {"DimVisible", "True", "DimOpaque", "False", "DimensionFont", "Arial,7,0", "DimFontColor",
     MakeColor(0, 0, 255), "DimBkGrd", "DimFlags", 0},
    {"PosVisible", "True", "PosOpaque", "True", "PositionFont", "Arial,8,0", "PosFontColor",
     MakeColor(0, 0, 0), "PosBkGrd", "PosFlags", 0},
    {"BomVisible", "False", "BomOpaque", "False", "BomFont", "Arial,9,0", "BomFontColor",
     MakeColor(0, 0, 0), "BomBkGrd", "BomFlags", 0},
    {"RunVisible", "True", "RunOpaque", "False", "RunFont", "Arial,9,0", "RunFontColor",
     MakeColor(0, 0, 0), "RunBkGrd", "RunFlags", 0},
    {"BusbarVisible", "False", "BusbarOpaque", "False", "BusbarFont", "Arial,9,0",
     "BusbarFontColor", MakeColor(0, 0, 0), "BusbarBkGrd", "BusbarFlags", 0},
    {"TextVisible", "True", "TextOpaque", "False", "TextFont", "Arial,10,0", "TextFontColor",
     MakeColor(0, 0, 0), "TextBkGrd", "TextFlags", 16},
    {"ImageVisible", "True", nullptr, nullptr, nullptr, nullptr, nullptr, {}, nullptr, nullptr, 0},
    {"CartVisible", "False", "CartOpaque", "True", "CartFont", "Arial,9,0", "CartFontColor",
     MakeColor(0, 0, 0), "CartBkGrd", "CartFlags", 0},
    {"DistVisible", "True", "DistOpaque", "False", "DistFont", "Arial,9,0", "DistFontColor",
     MakeColor(128, 0, 0), "DistBkGrd", "DistFlags", 0},
}};

struct DesignKey {
  const CSettingKey& key;
  int CAppSettings::*member;
};

// The design values read as texts and converted as integers, in reading order.
const std::array<DesignKey, 9> kDesignTexts{{
    {settings_key::kJointOverhang, &CAppSettings::jointOverhang},
    {settings_key::kRealJoint, &CAppSettings::realJoint},
    {settings_key::kBoxOverhang, &CAppSettings::boxOverhang},
    {settings_key::kPrintFrame, &CAppSettings::printFrame},
    {settings_key::kPrintBlackWhite, &CAppSettings::printBlackWhite},
    {settings_key::kShowBlackWhite, &CAppSettings::displayBlackWhite},
    {settings_key::kBackBuffer, &CAppSettings::backBuffer},
    {settings_key::kSupport, &CAppSettings::support},
    {settings_key::kPackaging, &CAppSettings::packaging},
}};

struct FactorKey {
  const CSettingKey& key;
  float CAppSettings::*member;
};

const std::array<FactorKey, 7> kFactors{{
    {settings_key::kZoomAll, &CAppSettings::zoomAll},
    {settings_key::kZoomIn, &CAppSettings::zoomIn},
    {settings_key::kZoomOut, &CAppSettings::zoomOut},
    {settings_key::kMoveLeft, &CAppSettings::moveLeft},
    {settings_key::kMoveRight, &CAppSettings::moveRight},
    {settings_key::kMoveDown, &CAppSettings::moveDown},
    {settings_key::kMoveUp, &CAppSettings::moveUp},
}};

CLabelStyle DefaultLabel(const LabelKeys& keys) {
  CLabelStyle style;
  style.visible = TextToBool(keys.visibleDefault);
  if (keys.opaque == nullptr) return style;
  style.opaque = TextToBool(keys.opaqueDefault);
  style.font = TextToLogFont(keys.fontDefault);
  style.fontColor = keys.fontColorDefault;
  style.background = kWhite;
  style.flags = keys.flagsDefault;
  return style;
}

CLabelStyle ReadLabel(const CProfile& profile, const LabelKeys& keys) {
  CLabelStyle style;
  style.visible = TextToBool(profile.ReadProfileText("Label", keys.visible, keys.visibleDefault));
  if (keys.opaque == nullptr) return style;
  style.opaque = TextToBool(profile.ReadProfileText("Label", keys.opaque, keys.opaqueDefault));
  style.font = TextToLogFont(profile.ReadProfileText("Label", keys.font, keys.fontDefault));
  style.fontColor = TextToColor(
      profile.ReadProfileText("Label", keys.fontColor, ColorToText(keys.fontColorDefault)));
  style.background =
      TextToColor(profile.ReadProfileText("Label", keys.background, ColorToText(kWhite)));
  style.flags = profile.ReadProfileInt("Label", keys.flags, keys.flagsDefault);
  return style;
}

void AddLabel(std::vector<CProfileValue>& values, const LabelKeys& keys, const CLabelStyle& style) {
  values.push_back({"Label", keys.visible, BoolToText(style.visible)});
  if (keys.opaque == nullptr) return;
  values.push_back({"Label", keys.opaque, BoolToText(style.opaque)});
  values.push_back({"Label", keys.font, LogFontToText(style.font)});
  values.push_back({"Label", keys.fontColor, ColorToText(style.fontColor)});
  values.push_back({"Label", keys.background, ColorToText(style.background)});
  values.push_back({"Label", keys.flags, std::to_string(style.flags)});
}

}  // namespace

CAppSettings::CAppSettings() {
  userName = settings_key::kUserName.defaultText;
  languageId = settings_key::kLanguageId.defaultText;
  special = TextToInt(settings_key::kSpecial.defaultText);
  copper = TextToInt(settings_key::kCopper.defaultText);
  apod = TextToInt(settings_key::kApod.defaultText);
  for (const FactorKey& factor : kFactors)
    this->*factor.member = static_cast<float>(TextToDouble(factor.key.defaultText));
  for (const DesignKey& design : kDesignTexts)
    this->*design.member = TextToInt(design.key.defaultText);
  for (const ColorDefault& color : kColors) colors[color.index] = color.color;
  for (std::size_t i = 0; i < kLabelStyleCount; ++i) labels[i] = DefaultLabel(kLabels[i]);
}

const char* ColorKey(ColorIndex index) {
  for (const ColorDefault& color : kColors) {
    if (color.index == index) return color.key;
  }
  return "";
}

std::string CAppSettings::AuthorName() const {
  return userName == settings_key::kUserName.defaultText ? std::string() : userName;
}

CAppSettings ReadAppSettings(const CProfile& settingsFile) {
  const CProfile profile = settingsFile.ReadOnce();  // some fifty keys
  CAppSettings settings;
  settings.special = ReadSettingInt(profile, settings_key::kSpecial);
  settings.userName = ReadSetting(profile, settings_key::kUserName);
  for (const ColorDefault& color : kColors) {
    settings.colors[color.index] =
        TextToColor(profile.ReadProfileText("Colors", color.key, ColorToText(color.color)));
  }
  for (const FactorKey& factor : kFactors) {
    settings.*factor.member = static_cast<float>(TextToDouble(ReadSetting(profile, factor.key)));
  }
  for (const DesignKey& design : kDesignTexts) {
    settings.*design.member = TextToInt(ReadSetting(profile, design.key));
  }
  for (std::size_t i = 0; i < kLabelStyleCount; ++i)
    settings.labels[i] = ReadLabel(profile, kLabels[i]);
  settings.languageId = ReadSetting(profile, settings_key::kLanguageId);
  settings.copper = ReadSettingInt(profile, settings_key::kCopper);
  settings.apod = ReadSettingInt(profile, settings_key::kApod);
  return settings;
}

bool WriteLabelStyle(CProfile& profile, LabelStyleIndex index, const CLabelStyle& style) {
  if (index >= kLabelStyleCount) return false;
  std::vector<CProfileValue> values;
  AddLabel(values, kLabels[index], style);
  return profile.WriteProfileValues(values);
}
