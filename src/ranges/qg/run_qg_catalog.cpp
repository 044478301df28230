#include "app/rating_table.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <optional>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number after the first '-' of a length list, or the whole number without one.
long long UpperLength(std::string_view text) {
  const std::size_t dash = text.find('-');
  return TextToInt(dash == std::string_view::npos ? text : text.substr(dash + 1));
}

bool HasRange(std::string_view text) {
  return text.size() > 1 && text.find('-', 1) != std::string_view::npos;
}

// The whole number that follows the label in the key; 0 when absent.
long long KeyNumber(std::string_view key, std::string_view label) {
  const std::size_t at = key.find(label);
  return at == std::string_view::npos ? 0 : TextToInt(key.substr(at + label.size()));
}

// The family of a catalogue code: the two characters after the run of two to four
// digits that begins at its fourth place.
std::string CodeFamily(std::string_view code) {
  if (code.size() < 9) return {};
  std::size_t digits = 0;
  while (digits < 4 && IsDigit(RefCharAt(code, 3 + digits))) ++digits;
  if (digits < 2) return {};
  return RefPairAt(code, 3 + digits);
}

// The deduction and base of the developed length of a feed or cable end by its type.
void EndAllowance(int k, int column, long long t, long long v, long long d1, long long d2,
                  long long& deduction, long long& base) {
  deduction = 0;
  base = 0;
  switch (k) {
    case 1:
    case 2: deduction = 156; break;
    case 3: deduction = column < 5 ? t + 85 : t + 125; break;
    case 4:
      deduction = v + 85;
      base = 50;
      break;
    case 5:
      deduction = t + 100 + (column == 5 ? 40 : 0);
      base = 50;
      break;
    case 6:
      deduction = std::min(d2 + t + 130, 480LL);
      base = (column - 2) * t + 42LL * column - d1 + 38;
      break;
    case 7:
    case 8: deduction = std::min(d2 + 100, 370LL); break;
    case 11:
    case 12: base = 80; break;
    case 13:
    case 14:
    case 15: base = 50; break;
    default: break;
  }
}

// The length a part of the row stands for: the sum of its legs' upper lengths, or for a
// made-to-measure part its longest (sixth list) or the length its key gives. Empty when
// the row's own family is priced as it stands.
std::optional<long long> PartLength(const CPatternRow& row, char letter, std::string_view family,
                                    std::string_view key) {
  const bool threeLegs = letter == 'T' || letter == 'Z' || letter == 'C';
  long long length = UpperLength(row.texts[1]) + UpperLength(row.texts[2]);
  if (threeLegs) length += UpperLength(row.texts[3]);
  const bool fixed =
      !HasRange(row.texts[1]) && !HasRange(row.texts[2]) && (!threeLegs || !HasRange(row.texts[3]));
  if (fixed) {
    for (const char* own : {"DB", "TP", "TN", "TO", "RU", "RT"})
      if (family == own) return std::nullopt;
    return length;
  }
  long long given = KeyNumber(key, "x=");
  if (key.find("x=") != std::string_view::npos && key.find("y=") != std::string_view::npos) {
    given += KeyNumber(key, "y=");
    if (key.find("z=") != std::string_view::npos) given += KeyNumber(key, "z=");
  }
  const long long longest = TextToInt(row.texts[6]);
  if (longest > 0) length = longest;
  if (given > 0 && given < length) length = given;
  return length;
}

// The developed length of a feed or cable end of type k from the sizes its key gives.
long long EndLength(int k, int column, const CReferenceRow& housing, std::string_view key) {
  const long long p =
      KeyNumber(key, "p=") + KeyNumber(key, "q=") + KeyNumber(key, "r=") + KeyNumber(key, "s=");
  const long long t = KeyNumber(key, "t="), u = KeyNumber(key, "u="), v = KeyNumber(key, "v=");
  const bool byV = k == 3 || k == 5 || k == 6 || k == 7 || k == 8 || k == 14 || k == 15;
  long long deduction = 0, start = 0;
  EndAllowance(k, column, t, v, housing.Width(), housing.Height(), deduction, start);
  return start - deduction + u + KeyNumber(key, "z=") + p + (byV ? v : t) + 100;
}

}  // namespace

int CRunQG::SeekCatalogCode(std::string_view key, tvr::platform::CDbfTable* table,
                            std::string_view keyField, std::string_view valueField) const {
  if (GetPartsState() == 0) return -1;
  const std::size_t blank = key.find(' ');
  const std::string_view code =
      blank == std::string_view::npos || blank == 0 ? key : key.substr(0, blank);
  const int base = CRun::SeekCatalogCode(code, table, keyField, valueField);
  if (base < 0) return base;
  // An accessory of the range (code "QGB...": brackets, covers, kits, pads) is not made to
  // measure: its article's own value holds, as for a fixing set, whatever the parts list.
  if (code.starts_with("QGB")) return base;
  const std::string family = CodeFamily(code);
  if (code.size() <= 9 || !code.starts_with("QG")) return family == "YA" ? base : -1;
  // The short form: the four-digit rating cut back to its first two digits.
  std::string shortCode = std::string(code.substr(0, 5)) + std::string(code.substr(7));
  shortCode.resize(std::max<std::size_t>(shortCode.size(), kRefWidth), ' ');
  const CPatternRow row = FindPartRow(std::string_view(shortCode).substr(0, kRefWidth));
  if (row.texts[0].empty()) return family == "YA" ? base : -1;
  std::optional<long long> length = PartLength(row, shortCode[5], family, key);
  if (!length || *length < 0) return base;
  int column = std::clamp(RefCharAt(shortCode, 7) - '0', 3, 5);
  if (!family.empty() && family[0] == 'F') column += 10;
  const long long value = LookupRatingTable(key.substr(0, 3), TextToInt(key.substr(3, 4)), column);
  if (value == 0) return -1;
  if (family == "ER" || family == "EL") {
    const int k = (RefCharAt(shortCode, 8) - '0') + (family == "EL" ? 10 : 0);
    if (k == 9) return base;
    const CReferenceRow housing = FindReference(shortCode.substr(3, 2));
    if (housing.Width() == 0 || housing.Height() == 0) return -1;
    length = EndLength(k, column, housing, key);
    if (*length < 0) return base;
  }
  return static_cast<int>(std::clamp<long long>(value * *length / 1000, 0, INT32_MAX));
}
