#include "model/element/dev.h"
#include "ranges/qd/qd_rules.h"
#include "ranges/qd/run_qd.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {

constexpr std::string_view kNoPart = "ZZZZZZZZZZZZZZZZ";

void LayOver(std::string& pattern, std::string_view text, std::size_t at = 0) {
  for (std::size_t i = 0; i < text.size() && at + i < pattern.size(); ++i)
    pattern[at + i] = text[i];
}

// The families that QDT offers under its own code.
bool IsQDTFamily(std::string_view family) {
  static constexpr std::array<std::string_view, 5> kFamilies = {"ED", "AB", "DL", "DF", "ZJ"};
  return std::find(kFamilies.begin(), kFamilies.end(), family) != kFamilies.end();
}

}  // namespace

std::string CRunQD::GetElementRef(int kind) {
  std::string buffer(kRefWidth, ' ');
  const std::string base = CRun::GetElementRef(kind);
  LayOver(buffer, std::string_view(base).substr(0, kRefWidth));
  if (base.empty()) {
    buffer.assign(kRefWidth, ' ');
    LayOver(buffer, "QDA");
    if (kind == CDev::kJoint2) {
      const int rating = GetRating();
      LayOver(buffer, rating > 6 ? (m_qdt != 0 ? "10" : "16") : "06", 3);
      LayOver(buffer, "ZJ4", 5);
    } else if (kind != CDev::kBend && kind != 21) {
      return std::string();
    }
  }
  std::string normalized = buffer;
  if (NormalizeQDRef(normalized)) buffer = normalized.substr(0, kRefWidth);
  return buffer;
}

bool CRunQD::NormalizeQDRef(std::string& reference) const {
  if (reference.size() < 7) return false;
  int code = 0;
  const char* first = reference.data() + 3;
  const auto [end, error] = std::from_chars(first, first + 3, code);
  (void)end;
  const int amperes = error == std::errc{} ? QDRatingAmperes(code) : 0;
  if (amperes == 0) return false;
  const std::string family = reference.substr(5, 2);
  std::string result = reference.substr(0, 3) + std::to_string(amperes) + reference.substr(5);
  if (m_qdt != 0 && result[2] == 'A' && IsQDTFamily(family)) result[2] = 'T';
  reference = std::move(result);
  return true;
}

void CRunQD::FillRefPattern(std::string& pattern) const {
  CRun::FillRefPattern(pattern);
  if (pattern.size() >= 8) pattern[7] = '4';
}

void CRunQD::BuildHousingPattern(const CDev& element, std::string& pattern) const {
  FillRefPattern(pattern);
  const std::string rated = pattern;
  const int kind = element.GetKind();
  if (kind < CDev::kElbow || kind > CDev::kJunction5) {
    const CCodeRow* row = FindDeviceRow(GetKindGroup(kind), element.GetVariant());
    if (row != nullptr) {
      LayRefPattern(pattern, row->texts[3]);
      KeepRatingDigits(pattern, rated);
    } else {
      LayOver(pattern, kNoPart);
    }
  }
  const int variant = element.GetVariant();
  if ((kind == CDev::kEnd || kind == CDev::kInLineVariant) && (variant == 2 || variant == 3) &&
      GetRating() == 4 && pattern.size() >= 5) {
    pattern[4] = '6';
  }
}

int QDRatingAmperes(int code) {
  switch (code) {
    case 4: return 40;
    case 6: return 63;
    case 10: return 100;
    case 16: return 160;
    default: return 0;
  }
}
