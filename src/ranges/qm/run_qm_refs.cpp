#include "model/element/dev.h"
#include "platform/text_conversions.h"
#include "ranges/qm/qm_tables.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include <cstdio>

namespace {

constexpr std::string_view kNoPattern = "ZZZZZZZZZZZZZZZZ";
constexpr int kLargeHousing = 618;

std::string FourDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", value);
  return text;
}

char Digit(int value) { return static_cast<char>('0' + (value % 10 + 10) % 10); }

bool IsRightFaceSet(int rotation, bool neighbour, bool twin) {
  if (twin) return rotation == 128;
  if (neighbour) return rotation == 64 || rotation == 128;
  return rotation == 16 || rotation == 128;
}

}  // namespace

void CRunQM::FillRefPattern(std::string& pattern) const {
  CRun::FillRefPattern(pattern);
  std::string neutral = GetPropText("Neutral");
  for (char& c : neutral) {
    if (c == '8') c = '6';
  }
  LayRefText(pattern, 7, neutral);
}

void CRunQM::ApplyRefPattern(const CDev& element, std::string& reference) const {
  FillRefPattern(reference);
  const int kind = element.GetKind();
  if (kind >= CDev::kElbow && kind <= CDev::kJunction5) return;
  const std::vector<CCodeRow>* codes = GetCodeTable();
  const CCodeRow* found = nullptr;
  if (codes != nullptr) {
    for (auto it = codes->rbegin(); it != codes->rend() && found == nullptr; ++it) {
      if (TextToInt(it->texts[0]) == GetKindGroup(kind) &&
          TextToInt(it->texts[1]) % 100 == element.GetVariant())
        found = &*it;
    }
  }
  if (found == nullptr) {
    if (!reference.empty()) LayRefText(reference, 0, kNoPattern);
    return;
  }
  LayRefPattern(reference, found->texts[3]);
  if (kind == CDev::kEnd) ApplyConnectionDigit(element, reference);
}

void CRunQM::ApplyConnectionDigit(const CDev& element, std::string& reference) const {
  const int mode = ConnectionMode(element);
  const int variant = element.GetVariant();
  const bool bit12 = (element.GetStyle() & (1u << 12)) != 0;
  if (variant == 2 || variant == 3 || variant == 5 || variant == 7) {
    const bool plain = element.GetFieldText("ENTRAX").value_or("").empty() && variant != 3;
    if (mode == 1) SetRefChar(reference, 8, plain ? '1' : '2');
    if (mode == 2) SetRefChar(reference, 8, '7');
  } else if (variant == 6) {
    if (mode == 2) SetRefChar(reference, 8, bit12 ? '3' : '4');
    if (mode == 3) SetRefChar(reference, 8, '5');
    if (mode == 1) SetRefChar(reference, 8, FeedUnitSideDigit(element));
  } else if (variant == 10) {
    const int direction = element.GetDirection();
    bool free = element.GetBackNeighbour() == nullptr;
    if (direction == 2) free = !free;
    SetRefChar(reference, 8, free ? '2' : '1');
  }
}

// Which side a mode-1 special connection unit is fed from.
char CRunQM::FeedUnitSideDigit(const CDev& element) const {
  const bool twin = IsTwinRating();
  const int direction = element.GetDirection();
  const int rotation = element.GetRotation();
  const bool vertical = direction == 2 || direction == 3;
  const bool neighbour = element.GetNeighbour(direction) != nullptr;
  const bool second = !vertical && IsRightFaceSet(rotation, neighbour, twin);
  bool result = second;
  const bool edge = rotation == 32 || rotation == 128;
  if ((element.GetStyle() & (1u << 12)) != 0 && (vertical || edge != twin)) result = !result;
  return result ? '2' : '1';
}

bool CRunQM::ExpandRatingRef(std::string& reference) const {
  if (reference.size() < 5) return false;
  const char line = reference[2];
  if (line != 'A' && line != 'B' && line != 'C') return false;
  if (reference[3] == '0' && reference[4] != '8') return false;
  std::size_t end = 3;
  while (end < 6 && end < reference.size() && reference[end] >= '0' && reference[end] <= '9') ++end;
  int amperes = QMRatingAmperes(TextToInt(reference.substr(3, end - 3)));
  if (end == 3 || amperes == 0) return false;
  if (line == 'B') {
    amperes = GetReferenceValue();
    if (amperes == kLargeHousing) amperes = 622;
    if (amperes < 0 || amperes > 9999) return false;
  }
  reference = reference.substr(0, 3) + FourDigits(amperes) + reference.substr(5);
  return true;
}

std::string CRunQM::GetElementRef(int kind) {
  std::string buffer = CRun::GetElementRef(kind);
  const bool fromTable = !buffer.empty();
  bool colour = false;
  if (!fromTable) {
    buffer.assign(kRefWidth, ' ');
    FillRefPattern(buffer);
    int sizeBase = 0;
    if (!RefersAsAccessory(kind, buffer, colour, sizeBase)) return {};
    if (IsSizedAccessory(kind)) ApplySizeRule(kind, sizeBase, buffer);
  }
  if (fromTable || kind == 10 || kind == 20 || kind == 85) {
    std::string expanded = buffer;
    if (ExpandRatingRef(expanded)) {
      if (kind != 10 && kind != 85) {
        ReplaceFirst(expanded, "QMA5000", "QMA2500");
        ReplaceFirst(expanded, "QMC6300", "QMC3200");
      }
      expanded.resize(kRefWidth, ' ');
      buffer = expanded;
    }
    const int value = GetReferenceValue();
    if (kind == 1 && value < 164) LayRefText(buffer, 3, "0164");
    if (kind == 1 && value == kLargeHousing) LayRefText(buffer, 3, "0244");
  }
  if (colour && GetPropText("RAL") == "7035") {
    const std::size_t last = buffer.find_last_not_of(' ');
    const std::size_t at = last == std::string::npos ? 0 : last + 1;
    if (at < buffer.size()) buffer[at] = 'G';
  }
  return buffer;
}

bool CRunQM::RefersAsAccessory(int kind, std::string& buffer, bool& colour, int& sizeBase) const {
  const int value = GetReferenceValue();
  const int last = kind % 10;
  if (kind == 10) {
    LayRefText(buffer, 5, "YA");
    const char neutral = RefCharAt(buffer, 7);
    colour = neutral != '3';
    if (neutral != '3' && neutral != '5' && neutral != '7') SetRefChar(buffer, 7, '4');
    return true;
  }
  if (kind == 5 && value == kLargeHousing) return false;
  if ((kind >= 91 && kind <= 96)) {
    LayRefText(buffer, 7, "HT01");
    SetRefChar(buffer, 10, Digit(1 + kind - 91));
    colour = kind >= 93;
    sizeBase = 350;
    return true;
  }
  if ((kind >= 171 && kind <= 175) || (kind >= 181 && kind <= 185)) {
    LayRefText(buffer, 7, "CR70");
    if (kind > 180) SetRefChar(buffer, 9, '8');
    SetRefChar(buffer, 10, Digit(last));
    sizeBase = 350;
    return true;
  }
  if (const std::string_view text = QMAccessoryLetters(kind); !text.empty()) {
    LayRefText(buffer, 7, text);
    if (kind == 17) SetRefChar(buffer, 9, '5');
    if (kind == 41) SetRefChar(buffer, 9, '2');
    if (kind == 12 || kind == 13 || kind == 15 || kind == 16 || kind == 19 || kind == 62)
      sizeBase = 350;
    return true;
  }
  if (kind == 20) {
    SetRefChar(buffer, 2, 'B');
    LayRefText(buffer, 5, "TT01");
    return true;
  }
  if (kind == 85) {
    LayRefText(buffer, 5, "GS1");
    return true;
  }
  const std::string whole = QMWholeReference(kind, value);
  if (whole.empty()) return false;
  buffer.assign(kRefWidth, ' ');
  LayRefText(buffer, 0, whole);
  return true;
}

void CRunQM::ApplySizeRule(int kind, int sizeBase, std::string& buffer) const {
  const int value = GetReferenceValue();
  int size = 0;
  if (sizeBase == 350) {
    size = value > 244 ? 510 : value <= 124 ? 230 : 350;
    if (value >= kLargeHousing) size = 726;
  }
  if (kind >= 91 && kind <= 96 && size < 350) size = 350;
  if (kind >= 93 && kind <= 96 && size == 350 && GetNeutral() == 7) SetRefChar(buffer, 9, '1');
  if (kind == 4) size = value <= 74 ? 74 : 404;
  if (kind == 5) size = value < 164 ? 164 : value;
  if (value == kLargeHousing && kind >= 17 && kind <= 19) size = 1;
  if (size < 0 || size > 9999) size = 0;
  LayRefText(buffer, 0, "QMB");
  LayRefText(buffer, 3, FourDigits(size));
}

std::optional<std::string> CRunQM::GetPriceFormula(std::string_view reference) {
  std::optional<std::string> formula = CRun::GetPriceFormula(reference);
  if (!formula || !IsQMA()) return formula;
  const std::string_view code = QMRatingCode(GetRating());
  if (code.empty()) return formula;
  for (std::size_t at = formula->find("QM0"); at != std::string::npos;
       at = formula->find("QM0", at + 3)) {
    LayRefText(*formula, at + 3, code);
  }
  return formula;
}
