#include "app/app_settings.h"

#include <charconv>
#include <vector>

#include "app/profile.h"

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
    {"BranchVisible", "True", "BranchOpaque", "False", "BranchFont", "Arial,9,0",
     "BranchFontColor", MakeColor(0, 0, 0), "BranchBkGrd", "BranchFlags", 0},
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
  const char* section;
  const char* key;
  const char* defaultText;
  int CAppSettings::*member;
};

// The design values read as texts and converted as integers, in reading order.
const std::array<DesignKey, 9> kDesignTexts{{
    {"Design", "JointDebord", "10", &CAppSettings::jointOverhang},
    {"Design", "RealJoint", "1", &CAppSettings::realJoint},
    {"Design", "BoxDebord", "50", &CAppSettings::boxOverhang},
    {"Design", "ImpFrm", "1", &CAppSettings::printFrame},
    {"Design", "ImpBW", "0", &CAppSettings::printBlackWhite},
    {"Design", "AffBW", "0", &CAppSettings::displayBlackWhite},
    {"Design", "BackBuffer", "1", &CAppSettings::backBuffer},
    {"Design", "Support", "2", &CAppSettings::support},
    {"Database", "Packaging", "0", &CAppSettings::packaging},
}};

struct FactorKey {
  const char* section;
  const char* key;
  const char* defaultText;
  float CAppSettings::*member;
};

const std::array<FactorKey, 7> kFactors{{
    {"Zooms", "All", "0.9", &CAppSettings::zoomAll},
    {"Zooms", "In", "0.1", &CAppSettings::zoomIn},
    {"Zooms", "Out", "0.1", &CAppSettings::zoomOut},
    {"Moves", "Left", "0.2", &CAppSettings::moveLeft},
    {"Moves", "Right", "0.2", &CAppSettings::moveRight},
    {"Moves", "Down", "0.2", &CAppSettings::moveDown},
    {"Moves", "Up", "0.2", &CAppSettings::moveUp},
}};

// "%f" of the C library, without its locale.
std::string FixedText(float value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                              std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

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
  for (const ColorDefault& color : kColors) colors[color.index] = color.color;
  for (std::size_t i = 0; i < kLabelStyleCount; ++i) labels[i] = DefaultLabel(kLabels[i]);
}

const char* ColorKey(ColorIndex index) {
  for (const ColorDefault& color : kColors) {
    if (color.index == index) return color.key;
  }
  return "";
}

CAppSettings ReadAppSettings(const CProfile& profile) {
  CAppSettings settings;
  settings.special = profile.ReadProfileInt("Design", "Special", 0);
  settings.userName = profile.ReadProfileText("User", "Name", "UnKnown");
  for (const ColorDefault& color : kColors) {
    settings.colors[color.index] =
        TextToColor(profile.ReadProfileText("Colors", color.key, ColorToText(color.color)));
  }
  for (const FactorKey& factor : kFactors) {
    settings.*factor.member = static_cast<float>(
        TextToDouble(profile.ReadProfileText(factor.section, factor.key, factor.defaultText)));
  }
  for (const DesignKey& design : kDesignTexts) {
    settings.*design.member =
        TextToInt(profile.ReadProfileText(design.section, design.key, design.defaultText));
  }
  for (std::size_t i = 0; i < kLabelStyleCount; ++i) settings.labels[i] = ReadLabel(profile, kLabels[i]);
  settings.languageId = profile.ReadProfileText("Language", "ID", "033");
  settings.copper = profile.ReadProfileInt("Design", "Copper", 0);
  settings.apod = profile.ReadProfileInt("Design", "APOD", 0);
  return settings;
}

bool WriteAppSettings(CProfile& profile, const CAppSettings& settings) {
  std::vector<CProfileValue> values;
  values.push_back({"Language", "ID", settings.languageId});
  values.push_back({"User", "Name", settings.userName});
  values.push_back({"Database", "Packaging", std::to_string(settings.packaging)});
  for (const FactorKey& factor : kFactors) {
    values.push_back({factor.section, factor.key, FixedText(settings.*factor.member)});
  }
  for (const DesignKey& design : kDesignTexts) {
    if (std::string_view(design.section) == "Database") continue;  // written above
    values.push_back({design.section, design.key, std::to_string(settings.*design.member)});
  }
  for (std::size_t i = 0; i < kLabelStyleCount; ++i) {
    if (i != kLabelImage) AddLabel(values, kLabels[i], settings.labels[i]);
  }
  for (const ColorDefault& color : kColors) {
    values.push_back({"Colors", color.key, ColorToText(settings.colors[color.index])});
  }
  return profile.WriteProfileValues(values);
}

bool WriteLabelStyle(CProfile& profile, LabelStyleIndex index, const CLabelStyle& style) {
  if (index >= kLabelStyleCount) return false;
  std::vector<CProfileValue> values;
  AddLabel(values, kLabels[index], style);
  return profile.WriteProfileValues(values);
}
