#include "reference/ref_choice_captions.h"

#include <string_view>

#include "app/message_text.h"

namespace {

constexpr int kMsgStraightLengths = 33052;

int Parameter(const CRefChoiceContext& context, int index) {
  return index >= 0 && index < 6 ? context.params[static_cast<std::size_t>(index)] : 0;
}

// A height in centimetres as metres. The remainder keeps two digits: 105 is 1.05 m,
// not 1.5 m.
std::string Metres(int centimetres, char separator) {
  std::string text = std::to_string(centimetres / 100);
  if (centimetres % 100 == 0) return text;
  const int rest = centimetres % 100 < 0 ? -(centimetres % 100) : centimetres % 100;
  return text + separator + (rest < 10 ? "0" : "") + std::to_string(rest);
}

std::string Straight(int product, int choice, int value, bool asOption,
                     const CRefChoiceContext& context) {
  const bool straight = choice == kChoiceStraight;
  const int n = straight ? Parameter(context, value - 1) : Parameter(context, value + 2);
  int m = straight ? 3 : 2;
  if (product == 6) return StringText(straight ? 32277 : 32278);
  if (product == 0) return FormatMessageTextS(32202, Metres(n, context.decimalSeparator));
  const bool specialTwo = context.specialMode == 2;
  // Only the QYA and QYB of the special mode 2 have 5 m elements (their counting steps by
  // 5 m there); every other straight of the catalogue is 3 m long, as it is counted.
  const bool fiveMetres = specialTwo && (product == 1 || product == 2);
  if (asOption) {
    if (straight && value == 1 && fiveMetres) m = 5;
    if (!straight && value == 2) m = 3;
    if (product == 4 || product == 5 || product == 7 || product == 8 ||
        ((product == 1 || product == 2) && specialTwo))
      return FormatMessageTextDD(n < 2 ? 32452 : 32019, m, n);
    if (product >= 1 && product <= 3) return FormatMessageTextD(n < 2 ? 32453 : 32045, n);
    return {};
  }
  if (!straight) {
    if (specialTwo && (product == 1 || product == 2) && context.straightChoice == 4) return {};
    return FormatMessageTextD(32082, m);
  }
  // The caption stands beside the count of the elements: it names their length and leaves
  // the count to the edit, which is what the price table takes.
  if (straight && value == 1 && fiveMetres) m = 5;
  return FormatMessageTextD(kMsgStraightLengths, m);
}

int FixingMessage(int product, int value, bool variant) {
  if (product == 4 || product == 5 || product == 7 || product == 8) return 32033;
  if (value == 36) return product == 0 ? 32296 : 32401;
  if (product == 3) return value == 1 ? 32034 : value == 2 ? 32035 : 0;
  if (product == 1 || product == 2 || product == 6) {
    switch (value) {
      case 1: return 32036;
      case 2: return variant ? 32429 : 32037;
      case 3: return 32038;
      case 4: return 32234;
      default: return 0;
    }
  }
  if (product == 0 && value >= 1 && value <= 4) return 32202 + value;
  return 0;
}

std::string CableRange(int value) {
  switch (value) {
    case 21: return "4...6 mm";
    case 31: return "1...8 mm";
    case 32: return "8...13 mm";
    case 33: return "13...17 mm";
    case 34: return "17...22 mm";
    case 41: return StringText(32209);
    case 42: return StringText(32210);
    default: return {};
  }
}

std::string CableEntry(int product, int value) {
  if (product != 0) {
    const int message = value == 1 ? 32022 : value == 2 ? 32040 : value == 3 ? 32017 : 0;
    return message ? StringText(message) : std::string();
  }
  const int member = value / 10;
  std::string text = member == 1 || member == 3 ? StringText(32207)
                     : member == 2              ? StringText(32208)
                                                : std::string();
  const std::string range = CableRange(value);
  if (!range.empty()) text += text.empty() ? range : " : " + range;
  return text;
}

int FeedMessage(int product, int value) {
  if (product == 1 || product == 2)
    return value == 1 ? 32181 : value == 2 ? 32016 : value > 2 ? 32014 : 0;
  switch (value) {
    case 0: return 32229;
    case 1: return 32013;
    case 2: return 32014;
    case 30: return 32173;
    case 31: return 32430;
    case 32: return 32431;
    default: return value > 2 ? 32230 : 0;
  }
}

std::string MessageOrNothing(int message) { return message ? StringText(message) : std::string(); }

// A family caption stops before its details: "(" for straight lengths, "(" or "+" else.
std::string CutCaption(std::string text, int choice) {
  const std::size_t cut = text.find_first_of(choice == kChoiceStraight ? "(" : "(+");
  if (cut != std::string::npos && cut > 0) text.resize(cut);
  return text;
}

}  // namespace

std::string DescribeChoice(int productKind, int choiceKind, int value, bool asOption, bool variant,
                           const CRefChoiceContext& context) {
  std::string text;
  switch (choiceKind) {
    case kChoiceLineMode:
      if (value == 1) text = StringText(productKind == 0 ? 32199 : 32042);
      if (value == 2) text = StringText(productKind == 0 ? 32198 : 32043);
      break;
    case kChoiceStraight:
    case kChoiceComplement:
      text = Straight(productKind, choiceKind, value, asOption, context);
      break;
    case kChoiceFixing: text = MessageOrNothing(FixingMessage(productKind, value, variant)); break;
    case kChoiceCableEntry: text = CableEntry(productKind, value); break;
    case kChoiceFeed: text = MessageOrNothing(FeedMessage(productKind, value)); break;
    case kChoiceExtraCode:
      text = MessageOrNothing(value == 1 ? 32239 : value == 2 ? 32240 : 0);
      break;
    default: break;
  }
  return asOption ? text : CutCaption(text, choiceKind);
}
