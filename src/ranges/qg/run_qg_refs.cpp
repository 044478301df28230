#include "model/element/dev.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <cstdio>

namespace {

constexpr std::string_view kNoPart = "ZZZZZZZZZZZZZZZZ";
constexpr std::string_view kGroupSuffix = " \nGroup";

// The next rating up, for the references that take the size above.
int NextRatingUp(int rating, char line) {
  switch (rating) {
    case 800: return 1000;
    case 1000: return line == 'A' ? 1250 : 1350;
    case 1200:
    case 1250:
    case 1300:
    case 1350: return 1600;
    case 1600: return 2000;
    case 2000: return 2500;
    case 2500: return 3200;
    case 3200: return 4000;
    case 4000: return 5000;
    case 5000: return 6300;
    default: return rating;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// The literal references of the fixing and cover kinds; empty when the kind has none.
std::string_view FixedLiteral(int kind) {
  switch (kind) {
    case 15: return "QGB0000RH1";
    case 16: return "QGB0000MF1";
    case 17: return "QGB0000DA1";
    default: return {};
  }
}

// Support brackets 111..343: hundreds, tens and units each pick one place.
bool IsBracketKind(int kind) {
  const int h = kind / 100, t = kind / 10 % 10, u = kind % 10;
  return h >= 1 && h <= 3 && t >= 1 && t <= 4 && u >= 1 && u <= 3;
}

void LayBracket(std::string& buffer, int kind) {
  LayRefText(buffer, 0, "QGB0060YC110B");
  const int h = kind / 100, t = kind / 10 % 10, u = kind % 10;
  if (h == 2 || h == 3) LayRefText(buffer, 9, std::string{static_cast<char>('0' + h), '0', '5'});
  if (t == 2) SetRefChar(buffer, 5, '8');
  if (t == 3) LayRefText(buffer, 4, "10");
  if (t == 4) LayRefText(buffer, 4, "12");
  if (u == 2) SetRefChar(buffer, 12, 'T');
  if (u == 3) SetRefChar(buffer, 12, 'S');
}

}  // namespace

void CRunQG::FillRefPattern(std::string& pattern) const {
  CRun::FillRefPattern(pattern);
  const std::string neutral = GetPropText("Neutral");
  if (pattern.size() >= 8 && !neutral.empty()) pattern[7] = neutral[0];
}

void CRunQG::CompleteDeviceRef(const CDev& element, std::string& pattern) const {
  FillRefPattern(pattern);
  const int kind = element.GetKind();
  if (kind >= CDev::kElbow && kind <= CDev::kJunction5) return;
  const CCodeRow* row =
      m_index.FindDeviceRow(GetRangeTables(), GetKindGroup(kind), element.GetVariant());
  if (row != nullptr) LayRefPattern(pattern, row->texts[3]);
  if (kind == CDev::kEnd) MarkSpecialShape(element, pattern);
  if (row == nullptr && !pattern.empty()) LayRefText(pattern, 0, kNoPart);
}

void CRunQG::MarkSpecialShape(const CDev& element, std::string& pattern) const {
  const int variant = element.GetVariant();
  const int sub = SubVariant(element);
  if (variant == 1) {
    SetRefChar(pattern, 3, '?');
    SetRefChar(pattern, 7, '?');
    SetRefChar(pattern, 4, '!');
    SetRefChar(pattern, 8, '!');
    return;
  }
  if (variant != 2 && variant != 3 && variant != 6) return;
  SetRefChar(pattern, 8, static_cast<char>('0' + (sub + (variant == 3 ? 3 : 1)) % 10));
  if (variant == 3) return;
  if (sub == 1 && element.GetFieldText("ENTRAX").value_or("").empty()) SetRefChar(pattern, 8, '1');
  if (variant == 2 && sub == 3) SetRefChar(pattern, 8, '7');
}

std::string CRunQG::GetElementRef(int kind) {
  std::string buffer = CRun::GetElementRef(kind);
  bool nextSize = false;
  if (buffer.empty()) {
    buffer.assign(kRefWidth, ' ');
    FillRefPattern(buffer);
    switch (kind) {
      case 10: LayRefText(buffer, 5, "YA"); break;
      case 11:
      case 14:
        LayRefText(buffer, 0, "QGB?!EM?!  ");
        nextSize = kind == 14;
        break;
      case 12:
        LayRefText(buffer, 5, "YA");
        nextSize = true;
        break;
      case 13:
        LayRefText(buffer, 0, "QGB?!FM?!  ");
        nextSize = true;
        break;
      case 80: LayRefText(buffer, 0, "QGB?!CF?!"); break;
      default: return LiteralElementRef(kind, buffer);
    }
  }
  std::string converted = buffer;
  if (ExpandReference(converted, nextSize)) buffer = converted.substr(0, 39);
  return buffer;
}

std::string CRunQG::LiteralElementRef(int kind, std::string& buffer) const {
  const std::string_view fixed = FixedLiteral(kind);
  if (!fixed.empty()) {
    LayRefText(buffer, 0, fixed);
  } else if ((kind >= 21 && kind <= 26) || (kind >= 31 && kind <= 36)) {
    LayRefText(buffer, 0, "QGB0010CR1");
    SetRefChar(buffer, 9, static_cast<char>('0' + kind % 10));
    const int height = FindReference().Height();
    SetRefChar(buffer, 5,
               static_cast<char>('1' + (height >= 190 ? 1 : 0) + (height >= 380 ? 1 : 0)));
    if (kind >= 31) LayRefText(buffer, 10, "SP");
  } else if (kind >= 41 && kind <= 47) {
    LayRefText(buffer, 0, "QGB0000YB112");
    if (kind <= 45) SetRefChar(buffer, 5, static_cast<char>('0' + (kind % 10 + 3)));
    if (kind >= 46) SetRefChar(buffer, 4, '1');
    if (kind == 47) SetRefChar(buffer, 5, '2');
  } else if (IsBracketKind(kind)) {
    LayBracket(buffer, kind);
  } else {
    return std::string();
  }
  return buffer;
}

bool CRunQG::ExpandReference(std::string& text, bool nextSize) const {
  const char line = RefCharAt(text, 2);
  if (text.size() < 5 || (line != 'A' && line != 'B' && line != 'C')) return false;
  // Four digits where the rating stands: the reference was converted already.
  if (text.size() >= 7 && IsDigit(text[3]) && IsDigit(text[4]) && IsDigit(text[5]) &&
      IsDigit(text[6]))
    return false;
  int rating = TextToInt(text.substr(3, 3)) * 100;
  if (rating == 0 && line == 'B') rating = GetRating() * 100;
  if (rating > 9900 || rating < 0) return false;
  if (nextSize) rating = NextRatingUp(rating, line);
  else if (RefPairAt(text, 2) == "A1" && RefCharAt(text, 4) == '2') rating += 50;
  else if (RefPairAt(text, 2) == "C1" && RefCharAt(text, 4) == '3') rating += 50;
  if (line == 'B') {
    if (RefPairAt(text, 3) != "?!") return false;
    const CReferenceRow row = FindReference(TwoDigits(rating / 100));
    rating = row.Height();
    if (text.size() > 8 && RefPairAt(text, 7) == "?!") {
      const std::string width = TwoDigits(row.Width() / 10);
      text[7] = width[0];
      text[8] = width[1];
    }
  }
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", rating);
  text = text.substr(0, 3) + digits + text.substr(5);
  if (line != 'B') AddNeutralLabel(text);
  return true;
}

void CRunQG::AddNeutralLabel(std::string& text) const {
  const std::string parameter = NeutralParameter(GetPropText("Neutral"));
  if (parameter.empty()) return;
  std::string group;
  const std::size_t at = text.find(kGroupSuffix);
  if (at != std::string::npos && at > 0) {
    group = text.substr(at);
    text.erase(at);
  }
  const std::size_t equals = text.find('=');
  if (equals != std::string::npos && equals > 0) text.insert(equals - 1, parameter + ",");
  else text += parameter;
  text += group;
}

// Looked up afresh each time: the label comes from this run's catalogue and language,
// which another run of the range may not share.
std::string CRunQG::NeutralParameter(const std::string& neutral) const {
  const std::vector<CCodeLabelRow>* options = GetNeutralList();
  if (options == nullptr) return {};
  for (auto row = options->rbegin(); row != options->rend(); ++row) {
    if (row->code != neutral) continue;
    std::string parameter = "n=";
    for (const char c : row->label)
      if (c != ' ') parameter += c;
    return parameter;
  }
  return {};
}
