#include "app/typed_field.h"

#include "app/message_text.h"
#include "platform/number_text.h"

namespace {

constexpr int kMsgWholeFieldRange = 8030;
constexpr int kMsgNumberFieldRange = 8031;
constexpr int kMsgWholeField = 8032;
constexpr int kMsgNumberField = 8033;

}  // namespace

std::string FieldNameOfCaption(std::string_view caption) {
  std::string name;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] != '&') continue;
    name += caption[i];
    if (caption[i] == '&') ++i;
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == ':')) name.pop_back();
  // A non-breaking space (as French puts before a colon) is two bytes in UTF-8.
  while (name.size() >= 2 && name.compare(name.size() - 2, 2, "\xC2\xA0") == 0) {
    name.resize(name.size() - 2);
    while (!name.empty() && (name.back() == ' ' || name.back() == ':')) name.pop_back();
  }
  return name;
}

std::string FieldRangeMessage(std::string_view caption, std::string_view min, std::string_view max,
                              bool whole) {
  return FormatMessageTextSSS(whole ? kMsgWholeFieldRange : kMsgNumberFieldRange,
                              FieldNameOfCaption(caption), min, max);
}

std::string FieldNumberMessage(std::string_view caption, bool whole) {
  return FormatMessageTextS(whole ? kMsgWholeField : kMsgNumberField, FieldNameOfCaption(caption));
}

std::optional<int> ReadWholeField(std::string_view text, std::string_view caption, int min, int max,
                                  std::string& problem) {
  const std::optional<std::int64_t> value = ParseTypedWhole(text);
  if (value && *value >= min && *value <= max) return static_cast<int>(*value);
  problem = FieldRangeMessage(caption, std::to_string(min), std::to_string(max), true);
  return std::nullopt;
}
