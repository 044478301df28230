#include "app/options_rules.h"

#include <cstdlib>

#include "platform/number_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string DeviceName(const std::vector<CDeviceEntry>& devices, int id) {
  const std::string code = std::to_string(id);
  for (const CDeviceEntry& device : devices) {
    if (device.code == code) return device.label;
  }
  return std::string();
}

}  // namespace

std::vector<EOptionsPage> OptionsPages(bool withFrame, int kind) {
  std::vector<EOptionsPage> pages = {EOptionsPage::Language, EOptionsPage::User};
  if (withFrame) {
    pages.insert(pages.end(), {EOptionsPage::Colors, EOptionsPage::Factors, EOptionsPage::Design,
                               EOptionsPage::Labels, EOptionsPage::DesignLanguage});
  } else if (kind != kOptionsFromLinear) {
    pages.push_back(EOptionsPage::DesignLanguage);
  }
  pages.insert(pages.end(), {EOptionsPage::PriceLists, EOptionsPage::Folder});
  return pages;
}

std::optional<int> ReadNumberInRange(std::string_view text, CNumberRange range) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::optional<int> value = ParseWholeInt(text);
  if (!value || *value < range.min || *value > range.max) return std::nullopt;
  return value;
}

int FactorToPercent(float factor) {
  return static_cast<int>(static_cast<double>(factor) * 100.0 + 0.5);
}

float PercentToFactor(int percent) { return static_cast<float>(percent * 0.01); }

int ReadDesignLanguage(std::string_view text) {
  if (text == "UK" || text == "2") return 1;
  if (text == "OPTION" || text == "3") return 2;
  return 0;
}

std::string DesignLanguageText(int designLanguage) {
  if (designLanguage == 1) return "UK";
  if (designLanguage == 2) return "OPTION";
  return "LOCAL";
}

bool IsColorTooNearHighlight(CColor color, CColor highlight) {
  return std::abs(color.red - highlight.red) <= 10 &&
         std::abs(color.green - highlight.green) <= 10 &&
         std::abs(color.blue - highlight.blue) <= 10;
}

std::optional<ColorIndex> ColorOfListItem(int item) {
  static constexpr std::array<ColorIndex, kColorListItemCount> kItems = {
      kColorSpecial,   kColorStraight1, kColorStraight2,   kColorStraight3,
      kColorStraight4, kColorUserJoint, kColorSystemJoint, kColorPassThrough,
      kColorEnding,    kColorTapOff,    kColorUnknown};
  if (item < 0 || item >= kColorListItemCount) return std::nullopt;
  return kItems[static_cast<std::size_t>(item)];
}

std::vector<std::string> ColorListTexts(const std::vector<CDeviceEntry>& devices,
                                        const std::string& tapOffText) {
  std::vector<std::string> texts = {DeviceName(devices, 8)};
  const std::string straight = DeviceName(devices, 1);
  for (int n = 1; n <= 4; ++n) texts.push_back(straight + " #" + std::to_string(n));
  for (int id : {32, 64, 7, 0}) texts.push_back(DeviceName(devices, id));
  texts.push_back(tapOffText);
  texts.push_back(DeviceName(devices, 99));
  return texts;
}

void SetDefaultColors(std::array<CColor, kColorCount>& colors) {
  colors[kColorSystemJoint] = MakeColor(0, 178, 0);
  colors[kColorUserJoint] = MakeColor(0, 0, 255);
  colors[kColorPassThrough] = MakeColor(0, 0, 0);
  colors[kColorStraight1] = MakeColor(0, 255, 0);
  colors[kColorStraight2] = MakeColor(0, 255, 255);
  colors[kColorStraight3] = MakeColor(255, 255, 0);
  colors[kColorStraight4] = MakeColor(255, 128, 0);
  colors[kColorSpecial] = MakeColor(192, 192, 192);
  colors[kColorEnding] = MakeColor(64, 128, 128);
  colors[kColorUnknown] = MakeColor(255, 0, 0);
  colors[kColorFireBarrier] = MakeColor(64, 64, 64);
  colors[kColorSupport] = MakeColor(255, 64, 64);
}

const std::array<ColorIndex, kColorCount>& ColorWriteOrder() {
  static constexpr std::array<ColorIndex, kColorCount> kOrder = {
      kColorStraight1, kColorStraight2,   kColorStraight3, kColorStraight4,   kColorEnding,
      kColorSpecial,   kColorSystemJoint, kColorUserJoint, kColorPassThrough, kColorUnknown,
      kColorTapOff,    kColorFireBarrier, kColorSupport};
  return kOrder;
}

LabelStyleIndex LabelStyleOfKind(int kind) {
  return kind == 6 ? kLabelCartouche : static_cast<LabelStyleIndex>(kind);
}

std::array<CLabelStyle, kLabelKindCount> DefaultLabelKinds() {
  std::array<CLabelStyle, kLabelKindCount> kinds{};
  for (int kind = 0; kind < kLabelKindCount; ++kind) {
    CLabelStyle& style = kinds[static_cast<std::size_t>(kind)];
    style = CLabelStyle{};
    style.visible = kind <= 2;
    style.font.faceName = "Arial";
    style.font.height = 9;
    style.fontColor = MakeColor(0, 0, 0);
    style.background = MakeColor(255, 255, 255);
  }
  kinds[1].font.height = 7;
  kinds[1].fontColor = MakeColor(0, 0, 255);
  kinds[2].font.height = 8;
  kinds[2].opaque = true;
  kinds[6].opaque = true;
  return kinds;
}
