#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The made-to-measure parameters of an element: empty, or a colon followed by
// comma-separated key=value integers (":a=50,b=25,c=25,d=50,e=2,f=2,y=25").

// Longer stored texts are not parameter texts: they read as empty.
inline constexpr std::size_t kMaxParamText = 256;

// The value of the key: the digits after the first "k=" of the text (0 without digits,
// for an absent key, for a value too long to be a whole number, or for a text over the
// limit).
int ReadParam(std::string_view text, char key);

// The two sets of parameters the dimension entry dialog edits.
enum class EParamMode { kClinq = 0, kSpecialShape = 1 };

// One field of the dimension entry dialog: its control, key, label and limits.
struct CParamField {
  int control;
  char key;     // 0: a fixed value that is not written
  bool length;  // false: a plain count
  std::int64_t lowest;
  std::int64_t highest;
};

inline constexpr std::size_t kParamFieldCount = 8;

// The fields of the mode in the dialog's order: 1691, 1692, 1693, 1499, 1695, 1694, 1500,
// 1623.
const std::array<CParamField, kParamFieldCount>& ParamFields(EParamMode mode);

// The dialog's values as whole millimetres or counts, in the fields' order.
struct CParamValues {
  EParamMode mode = EParamMode::kSpecialShape;
  // CLINQ parameters of range QM carry "y" and show the width.
  bool withY = false;
  std::array<std::int64_t, kParamFieldCount> values{};
};

// The values of a stored text; the fixed field of the CLINQ mode holds 14.
CParamValues ReadParamValues(std::string_view text, EParamMode mode, bool withY);

// The first field out of its limits, in the order the dialog checks them.
struct CParamRefusal {
  std::size_t field;  // index into ParamFields
};

// The text the dialog writes: empty when every field is 0, else the text of the mode
// once every limit is met; otherwise the first refusal.
struct CParamResult {
  std::string text;
  std::optional<CParamRefusal> refusal;
};
CParamResult BuildParamText(const CParamValues& values);

// Whether the field takes part in the mode (shown and written).
bool ParamFieldUsed(const CParamValues& values, std::size_t field);
