#include "linear/chooser_texts.h"

#include <charconv>

#include "app/message_text.h"

namespace {

constexpr int kMsgAlternative = 31035;
constexpr int kMsgSwitchType = 32426;
constexpr int kMsgSwitchConnection = 32427;
constexpr int kMsgSwitchIcc = 32428;

// The decimal number at the start of the text (an optional sign, then digits); 0 when
// there is none.
int LeadingNumber(std::string_view text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The number that follows the marker, or -1 when the text lacks the marker.
int NumberAfter(std::string_view text, std::string_view marker, std::size_t* end = nullptr) {
  const std::size_t at = text.find(marker);
  if (at == std::string_view::npos) return -1;
  if (end) *end = at + marker.size();
  return LeadingNumber(text.substr(at + marker.size()));
}

std::string AfterColon(std::string_view text) {
  const std::size_t colon = text.find(':');
  return std::string(colon == std::string_view::npos ? text : text.substr(colon + 1));
}

// Around the first ':' of the text: the part before it or the part after it; the whole
// text when it has none.
std::string AroundColon(std::string_view text, bool before) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::string(text);
  return std::string(before ? text.substr(0, colon) : text.substr(colon + 1));
}

}  // namespace

std::string ChooserTypeText(std::string_view text) {
  const std::size_t at = text.find("MSG");
  if (at == std::string_view::npos) return std::string(text);
  std::string shown(text.substr(0, at));
  const int number = LeadingNumber(text.substr(at + 3));
  if (number >= 30000 && number <= 32999) shown += StringText(number);
  return shown;
}

std::string ChooserPhaseText(std::string_view text) {
  if (text.empty()) return " ";
  return text == "L1+N" ? std::string("L+N") : std::string(text);
}

std::string ChooserAlternatives(std::string_view text) {
  if (text.find('/') == std::string_view::npos) return {};
  const std::string separator = " " + StringText(kMsgAlternative) + "\n";
  std::string list;
  for (char c : text) list += c == '/' ? separator : std::string(1, c);
  return list;
}

std::string ChooserSwitchTypeText(std::string_view text) {
  if (text.find("TYP") == std::string_view::npos) return " ";
  return AfterColon(FormatMessageTextD(kMsgSwitchType, NumberAfter(text, "TYP")));
}

std::string ChooserSwitchIccText(std::string_view text) {
  std::size_t end = 0;
  if (text.find("ICC") == std::string_view::npos) return " ";
  const int icc = NumberAfter(text, "ICC", &end);
  const std::size_t arrow = text.find('>', end);
  int limit = arrow == std::string_view::npos ? 0 : LeadingNumber(text.substr(arrow + 1));
  if (limit < 0) limit = 0;
  return AroundColon(AfterColon(FormatMessageTextDD(kMsgSwitchIcc, icc, limit)), limit == 0);
}

std::string ChooserSwitchConnectionText(std::string_view text) {
  const std::size_t at = text.find("CP");
  if (at == std::string_view::npos) return " ";
  const bool fixed = at + 2 < text.size() && text[at + 2] == 'F';
  return AroundColon(AfterColon(StringText(kMsgSwitchConnection)), fixed);
}

std::string ChooserHeaderText(std::string_view text) { return AroundColon(text, true); }

CChooserHeaders ChooserColumnHeaders(int groupKind) {
  switch (groupKind) {
    case 0: return {32273, 32274, false};
    case 1:
    case 5:
    case 6: return {31091, 31092, true};
    case 2: return {31091, 31093, true};
    case 7: return {0, 32081, true};
    case 10: return {kMsgSwitchType, kMsgSwitchConnection, true};
    default: return {31091, 31094, true};
  }
}
