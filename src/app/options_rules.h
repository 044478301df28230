#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_settings.h"
#include "app/device_entry.h"
#include "platform/text_conversions.h"

// The rules of the options sheet that do not depend on a window: which pages a window
// shows, the ranges of its numbers, the conversions between the settings and what
// the pages show, and the factory values of the pages' defaults buttons.

// The window that opens the sheet.
inline constexpr int kOptionsFromLinear = 0;
inline constexpr int kOptionsFromReference = 1;
inline constexpr int kOptionsFromLayout = 2;

enum class EOptionsPage {
  Language,
  User,
  Colors,
  Factors,
  Design,
  Labels,
  DesignLanguage,
  PriceLists,
  Folder,
};

// The pages in sheet order: language and user; with a frame the colours, factors,
// design, labels and designation-language pages, without one the designation-language
// page only when kind is not kOptionsFromLinear; then price lists and folder. So a
// layout frame shows nine pages, the reference window five, the linear window four.
std::vector<EOptionsPage> OptionsPages(bool withFrame, int kind);

// An inclusive range of an integer edit.
struct CNumberRange {
  int min = 0;
  int max = 0;
};
inline constexpr CNumberRange kPercentRange{1, 200};   // zoom and move factors
inline constexpr CNumberRange kOverhangRange{0, 500};  // joint and box overhangs

// The whole number an edit holds: blanks around it and a sign are allowed, anything
// else is not. Nothing when the text is no whole number or lies outside the range.
std::optional<int> ReadNumberInRange(std::string_view text, CNumberRange range);

// A factor as the factor page shows it: times 100, rounded (add 0.5, cut), and back.
int FactorToPercent(float factor);
float PercentToFactor(int percent);

// "Database"/"LANG_DESIGN": "LOCAL" or "1" is 0, "UK" or "2" is 1, "OPTION" or "3" is
// 2, anything else 0; written back as "UK", "OPTION" or "LOCAL" (for any other value).
int ReadDesignLanguage(std::string_view text);
std::string DesignLanguageText(int designLanguage);

// True when red, green and blue of the colour each lie within 10 of those of the
// highlight colour: such a colour could not be told from a selected element.
bool IsColorTooNearHighlight(CColor color, CColor highlight);

// The colour page's list: 11 items, each editing one colour.
inline constexpr int kColorListItemCount = 11;
// Items 0..10: special, straight 1..4, user joint, system joint, pass-through, ending,
// tap-off, unknown. Nothing for any other item.
std::optional<ColorIndex> ColorOfListItem(int item);
// The item texts: the names of the devices 8, 1 (four times, "name #1".."name #4"),
// 32, 64, 7 and 0, then tapOffText, then the name of device 99. A device missing from
// the list gives an empty name.
std::vector<std::string> ColorListTexts(const std::vector<CDeviceEntry>& devices,
                                        const std::string& tapOffText);
// The factory colours of the colour page; the tap-off colour keeps its value.
void SetDefaultColors(std::array<CColor, kColorCount>& colors);
// The order in which the colours are written to section "Colors".
const std::array<ColorIndex, kColorCount>& ColorWriteOrder();

// The label page edits seven kinds: application styles 0..5 and the cartouche style.
inline constexpr int kLabelKindCount = 7;
LabelStyleIndex LabelStyleOfKind(int kind);
// The factory values of the label page: kinds 0..2 visible, 3..6 not, none opaque,
// "Arial" 9 points, black on white, flags 0; then kind 1 is 7 points in blue, kind 2
// 8 points and opaque, kind 6 opaque.
std::array<CLabelStyle, kLabelKindCount> DefaultLabelKinds();
