#include "app/rating_table.h"
#include "platform/text_conversions.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include <algorithm>
#include <array>

namespace {

// Longest key read from a reference: the reference itself, without its parameters.
constexpr std::size_t kShortKeyWidth = 22;
// Lengths worked on stay within what a catalogue value can hold.
constexpr std::int64_t kMaxLength = 1000000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool Among(std::string_view value, std::initializer_list<std::string_view> list) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// The number after "name=" in the parameters (name not preceded by a letter); nothing
// when absent.
std::optional<std::int64_t> Parameter(std::string_view text, std::string_view name) {
  const std::string wanted = std::string(name) + "=";
  for (std::size_t at = text.find(wanted); at != std::string_view::npos;
       at = text.find(wanted, at + 1)) {
    const char before = at == 0 ? ' ' : text[at - 1];
    if ((before >= 'a' && before <= 'z') || (before >= 'A' && before <= 'Z')) continue;
    return std::clamp<std::int64_t>(TextToInt(text.substr(at + wanted.size())), -kMaxLength,
                                    kMaxLength);
  }
  return std::nullopt;
}

std::int64_t ParameterOr0(std::string_view text, std::string_view name) {
  return Parameter(text, name).value_or(0);
}

// The family: the two characters after the rating digits (2 to 4 of them from place 3).
std::string FamilyOf(std::string_view key) {
  std::size_t end = 3;
  while (end < key.size() && end < 7 && IsDigit(key[end])) ++end;
  if (end - 3 < 2) return {};
  return {RefCharAt(key, end), RefCharAt(key, end + 1)};
}

// The number after the "-" of a length range ("500-4000" gives 4000); 0 without one.
std::int64_t AfterDash(std::string_view text) {
  const std::size_t dash = text.find('-', 1);
  return dash == std::string_view::npos
             ? 0
             : std::clamp<std::int64_t>(TextToInt(text.substr(dash + 1)), 0, kMaxLength);
}

bool HasLaterDash(std::string_view text) {
  return text.size() > 1 && text.find('-', 1) != text.npos;
}

// The shortened key of a QM part: no colour mark, the rating back on two digits, the
// family's variant letters as the parts table writes them.
std::string ShortenedKey(std::string key) {
  const std::size_t last = key.find_last_not_of(' ');
  if (last != std::string::npos && key[last] == 'G') key[last] = ' ';
  key.erase(5, 2);
  key.resize(std::max(key.size() + 2, kShortKeyWidth), ' ');
  key.resize(kShortKeyWidth);
  const std::string family = RefPairAt(key, 5);
  if (family == "ED") SetRefChar(key, 10, ' ');
  if (family == "EH") SetRefChar(key, 9, '0');
  if (family == "EL") SetRefChar(key, 9, ' ');
  if (RefCharAt(key, 5) == 'L' && RefCharAt(key, 8) == 'E') SetRefChar(key, 8, 'D');
  return key;
}

// The column of the rating table by the neutral digit.
int NeutralColumn(char digit) {
  const int n = IsDigit(digit) ? digit - '0' : 0;
  if (n < 3) return 3;
  if (n > 5) return n % 2 == 0 ? 4 : 5;
  return n;
}

std::int64_t FamilyLength(std::string_view shortKey, std::string_view text, std::int64_t length,
                          int column) {
  const std::string family = RefPairAt(shortKey, 5);
  if (family == "ER" && RefCharAt(shortKey, 8) == '7') {
    const std::int64_t p =
        std::clamp<std::int64_t>(ParameterOr0(text, "p") + ParameterOr0(text, "q") +
                                     ParameterOr0(text, "r") + ParameterOr0(text, "s"),
                                 480, 2400);
    return length + 200 + p / column;
  }
  if (family == "ER") {
    const std::int64_t k = ParameterOr0(text, "k");
    std::int64_t x = k;
    if (const auto j = Parameter(text, "j")) x += k / 2 + *j;
    if (const auto m = Parameter(text, "m")) x += (k - k / 2) + *m;
    return length + 200 + std::clamp<std::int64_t>(x, 240, 750) / column;
  }
  if (family == "EL" && RefCharAt(shortKey, 8) == '5') {
    const std::int64_t p =
        std::clamp<std::int64_t>(2 * ParameterOr0(text, "e") + ParameterOr0(text, "n"), 480, 2400);
    return length + 200 + p / column;
  }
  if (family == "EL") return length + 1830;
  return length;
}

// What a key that is no QM length answers: its own value for the families counted by
// piece, else nothing.
int PieceValue(std::string_view key, const std::string& family, int value) {
  const std::string_view code = key.substr(0, std::min<std::size_t>(3, key.size()));
  const bool piece = family == "YA" ||
                     (code == "QPB" && Among(family, {"SN", "SM", "SG", "SF", "SE", "SD", "DC"})) ||
                     (code == "QMB" && Among(family, {"SE", "SD", "HF", "DC", "CB"})) ||
                     (code == "QJ0" && Among(family, {"SE", "SD"})) ||
                     (code == "QJB" && family == "SE");
  return piece ? value : -1;
}

}  // namespace

int CRunQM::SeekCatalogCode(std::string_view text, tvr::platform::CDbfTable* table,
                            std::string_view keyField, std::string_view valueField) const {
  if (GetPartsState() == 0) return -1;
  const std::string_view key = text.substr(0, std::min(text.find(' '), text.size()));
  const int value = CRun::SeekCatalogCode(key, table, keyField, valueField);
  if (value < 0) return value;
  const std::string family = FamilyOf(key);
  if (key.size() <= 9 || !key.starts_with("QM")) return PieceValue(key, family, value);
  const std::string shortKey = ShortenedKey(std::string(key));
  const CPatternRow row = FindPartRow(shortKey);
  if (row.texts[0].empty()) return PieceValue(key, family, value);
  const bool third = !family.empty() && (family[0] == 'T' || family[0] == 'Z' || family[0] == 'C');
  std::int64_t sum = AfterDash(row.texts[1]) + AfterDash(row.texts[2]);
  if (third) sum += AfterDash(row.texts[3]);
  std::int64_t length = sum;
  if (HasLaterDash(row.texts[1]) || HasLaterDash(row.texts[2]) ||
      (third && HasLaterDash(row.texts[3]))) {
    std::int64_t p = 0;
    if (const auto l = Parameter(text, "l")) {
      p = *l;
    } else if (const auto a = Parameter(text, "a")) {
      p = *a;
      if (const auto b = Parameter(text, "b")) {
        p += *b;
        if (const auto c = Parameter(text, "c")) p += *c;
      }
    }
    if (p > 0 && p < sum) length = p;
  } else if (Among(family, {"HC", "DB", "TP", "TN", "AJ", "SL", "PL", "RL", "GK", "QL", "ES"})) {
    return value;
  }
  if (length < 0) return value;
  const int column = NeutralColumn(RefCharAt(shortKey, 7));
  const int amperes = TextToInt(key.substr(3, 4));
  const std::uint32_t perMetre = LookupRatingTable(key.substr(0, 3), amperes, column);
  if (perMetre == 0) return -1;
  length = FamilyLength(shortKey, text, length, column);
  std::int64_t result = static_cast<std::int64_t>(perMetre) * length / 1000;
  const std::string shortFamily = RefPairAt(shortKey, 5);
  if (shortFamily != "ER" && shortFamily != "EL") {
    std::string hood = const_cast<CRunQM&>(*this).GetElementRef(10);
    hood.erase(hood.find_last_not_of(' ') + 1);
    const int hoodValue = CRun::SeekCatalogCode(hood, table, keyField, valueField);
    if (hoodValue > 0) result += hoodValue;
  }
  return static_cast<int>(std::clamp<std::int64_t>(result, -1, 0x7FFFFFFF));
}
