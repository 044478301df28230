#include "pages/special_shape_check.h"

#include "app/message_text.h"

#include <algorithm>

namespace {

constexpr int kStaticLimits = 1498;
constexpr int kStaticChant = 1501;
constexpr int kMsgToBeSpecified = 30034;
constexpr int kMsgOutOfRange = 61714;
constexpr int kMsgDistanceRule = 30189;
constexpr int kMsgDistanceMinimum = 30190;
constexpr int kMsgSumRule = 30191;
constexpr int kMsgSumAdvice = 30192;
constexpr int kQGCoverSpanWidth = 1200;

bool IsPlate(int shape) { return shape == kShapePlate1 || shape == kShapePlate2; }

// The member a field stores into, or null when the shape has none there.
std::int64_t* FieldMember(CShapeCheckState& s, int field) {
  if (s.variant6Level > 0 && !s.cover) {
    switch (field) {
      case 1: return &s.K;
      case 2: return &s.M;
      case 3: return &s.P;
      default: return nullptr;
    }
  }
  if (s.cover) {
    if (!s.rangeQG) return field == 3 ? &s.coverM : nullptr;
    std::int64_t* members[] = {&s.coverA, &s.coverB, &s.coverM, &s.coverN, &s.coverC, &s.coverD};
    return field >= 0 && field < kShapeFieldCount ? members[field] : nullptr;
  }
  if (s.shape == kShapeChant) {
    std::int64_t* members[] = {&s.J, &s.K, nullptr, &s.M};
    return field >= 0 && field < 4 ? members[field] : nullptr;
  }
  std::int64_t* members[] = {&s.P, &s.Q, &s.R, &s.S};
  return field >= 0 && field < 4 ? members[field] : nullptr;
}

void SetLimits(CShapeCheckState& s, std::int64_t lower, std::int64_t upper) {
  s.lower = lower;
  s.upper = upper;
}

void PlateLimits(CShapeCheckState& s, int field) {
  SetLimits(s, 80, 2000);
  if (field == 0) SetLimits(s, s.Q + 160, s.Q + 600);
  if (field == 2 && s.shape == kShapePlate2) SetLimits(s, s.S + 160, s.S + 600);
  if (field == 3 && s.shape == kShapePlate1) SetLimits(s, s.R + 160, s.R + 600);
}

void Variant6Limits(CShapeCheckState& s, int field) {
  const bool level2 = s.variant6Level >= 2;
  if (field == 1) SetLimits(s, level2 ? 470 : 390, 700);
  if (field == 2) {
    const std::int64_t lower = level2 ? 235 : 195;
    SetLimits(s, lower, s.K - lower);
  }
  if (field == 3) SetLimits(s, 0, 200);
}

// A pair of cover sides sharing one span: the second side, when the first lies within
// the limits, takes what the first leaves of it.
void PairLimits(CShapeCheckState& s, int field, bool second, std::int64_t half, std::int64_t base,
                std::int64_t first, ECheckMode mode) {
  (void)field;
  const std::int64_t lower = half / 2 + 50;
  SetLimits(s, lower, base - lower);
  if (!second || mode != ECheckMode::kApply) return;
  if (first < s.lower || first > s.upper) return;
  s.upper = base - first;
  if (first + s.lower < 200) s.lower = 200 - first;
}

void QGCoverLimits(CShapeCheckState& s, int field, ECheckMode mode) {
  const std::int64_t base = s.referenceSecond >= 380 ? 700 : 600;
  switch (field) {
    case 0: PairLimits(s, field, false, s.height, base, 0, mode); break;
    case 1: PairLimits(s, field, true, s.height, base, s.coverA, mode); break;
    case 2: SetLimits(s, 100, 350); break;
    case 3: SetLimits(s, 100, 400); break;
    case 4: PairLimits(s, field, false, s.width, 1300, 0, mode); break;
    case 5: PairLimits(s, field, true, s.width, 1300, s.coverC, mode); break;
    default: break;
  }
}

// The sum of the distances with the bars must stay within the upper limit; on the wide
// pieces a sum beyond the straight's span lowers the minimum spread over the gaps.
void QGEndTotal(CShapeCheckState& s, std::int64_t& v) {
  const std::int64_t bars = s.upper < 1000 ? (s.lower - 50) / 2 : s.lower - 25;
  const std::int64_t total = s.P + s.Q + s.R + s.S + bars;
  const std::int64_t gaps = s.neutralCount - 1;
  // A single conductor has no gap to spread over.
  if (s.upper > 2000 && total > 1100 && gaps > 0) {
    const std::int64_t spare = 1125 - s.lower;
    s.lower = spare / gaps + (spare % gaps != 0 ? 1 : 0);
  }
  if (v >= s.lower && total > s.upper) v = total;
}

// A range QM cover is checked against its code's limits whoever asks, not only against
// those that a field taking the focus last set.
void QMCoverLimitsOf(CShapeCheckState& s) {
  const CCoverLimits limits = QMCoverLimits(s.coverCode, s.calibre, s.largeCalibre);
  SetLimits(s, limits.lower, limits.upper);
}

CCheckResult StoreAndCheck(CShapeCheckState& s, int field, ECheckMode mode, std::int64_t v) {
  CCheckResult result;
  const bool hidden = field < 0 || field >= kShapeFieldCount || !s.shown[field];
  if (hidden || s.variant3 || s.shape == -1) return result;
  if (s.cover && s.rangeQG && s.width > kQGCoverSpanWidth) return result;
  std::int64_t* member = FieldMember(s, field);
  if (member != nullptr) *member = v;
  if (s.variant6Level > 0 && !s.cover) Variant6Limits(s, field);
  else if (s.cover && s.rangeQG) QGCoverLimits(s, field, mode);
  else if (!s.cover && IsPlate(s.shape)) PlateLimits(s, field);
  else if (s.cover) QMCoverLimitsOf(s);
  if (!s.cover && s.shape == kShapeQGEnd && field < 4) QGEndTotal(s, v);
  if (v >= s.lower && v <= s.upper) return result;
  if (!s.enabled[field]) return result;
  result.accepted = false;
  if (mode != ECheckMode::kApply || s.switching) return result;
  const bool qgEnd = !s.cover && s.shape == kShapeQGEnd;
  result.message = !qgEnd        ? ECheckMessage::kRange
                   : v < s.lower ? ECheckMessage::kQGTooSmall
                                 : ECheckMessage::kQGTooLarge;
  result.letter = "PQRS"[std::clamp(field, 0, 3)];
  return result;
}

std::string Between(const CLengthFormat& format, std::int64_t lower, const char* label,
                    std::int64_t upper) {
  return format(lower) + label + format(upper);
}

CLimitText Variant6Text(CShapeCheckState& s, int field, const CLengthFormat& format) {
  Variant6Limits(s, field);
  if (field == 1) return {kStaticLimits, 0, Between(format, s.lower, " <= E <= ", s.upper)};
  if (field == 2) {
    s.upper = s.lower;
    return {kStaticLimits, 0, Between(format, s.lower, " <= N <= E-", s.upper)};
  }
  if (field == 3) return {kStaticLimits, 0, Between(format, s.lower, " <= F <= ", s.upper)};
  return {};
}

CLimitText PlateText(const CShapeCheckState& s, int field, const CLengthFormat& format) {
  if (s.variant3) return {kStaticLimits, kMsgToBeSpecified, {}};
  const char* label = field < 2                 ? " <= P-Q <= "
                      : s.shape == kShapePlate1 ? " <= S-R <= "
                                                : " <= R-S <= ";
  return {kStaticLimits, 0, Between(format, 160, label, 600)};
}

void QGEndLimits(CShapeCheckState& s) {
  const bool narrow = s.position == 0 || (s.qgKind == 3 && s.position == 1);
  if (narrow) {
    SetLimits(s, 2 * std::int64_t{s.barValue} + 50, 700);
  } else {
    const bool wide = s.position == 2 && (s.qgKind == 1 || s.qgKind == 3);
    SetLimits(s, std::int64_t{s.barSize} + 25, wide ? 2100 : 1100);
  }
}

CLimitText QMCoverText(CShapeCheckState& s, const CLengthFormat& format) {
  if (s.variant3) return {kStaticLimits, kMsgToBeSpecified, {}};
  QMCoverLimitsOf(s);
  const char* label = s.coverCode == 20 ? " <= C <= " : " <= Z <= ";
  return {kStaticLimits, 0, Between(format, s.lower, label, s.upper)};
}

CLimitText ShowLimits(CShapeCheckState& s, int field, const CLengthFormat& format) {
  if (s.cover) {
    if (!s.rangeQG) return QMCoverText(s, format);
    return {};
  }
  if (s.variant6Level > 0) return Variant6Text(s, field, format);
  if (s.shape == kShapeChant) {
    if (s.variant3) return {kStaticChant, kMsgToBeSpecified, {}};
    SetLimits(s, 80, 250);
    return {kStaticChant, 0, "(" + format(80) + "..." + format(250) + ")"};
  }
  if (IsPlate(s.shape)) return PlateText(s, field, format);
  if (s.shape == kShapeQGEnd) QGEndLimits(s);
  return {};
}

}  // namespace

CCheckResult CheckDimensions(CShapeCheckState& state, int field, ECheckMode mode,
                             std::int64_t typed, const CLengthFormat& format) {
  if (mode != ECheckMode::kShow) return StoreAndCheck(state, field, mode, typed);
  CCheckResult result;
  const bool known = field >= 0 && field < kShapeFieldCount;
  if (known && !(state.shown[field] && state.enabled[field])) {
    result.accepted = false;
    return result;
  }
  if (state.shape != -1) result.limits = ShowLimits(state, field, format);
  return result;
}

CCoverLimits QMCoverLimits(int code, int calibre, bool largeCalibre) {
  std::int64_t base = calibre < 16 ? 230 : calibre < 30 ? 350 : 510;
  if (largeCalibre) base = 726;
  switch (code) {
    case 10:
      return largeCalibre ? CCoverLimits{800, 1200, base} : CCoverLimits{base + 80, 800, base};
    case 11: return {400, 800, base};
    case 12: return largeCalibre ? CCoverLimits{500, 800, base} : CCoverLimits{100, 400, base};
    case 13: return {200, 350, base};
    case 14: return {330, 480, base};
    case 15:
      return largeCalibre ? CCoverLimits{870, 1020, base}
                          : CCoverLimits{base + 150, base + 300, base};
    case 20: return {200, 650, base};
    default: return {0, 0, base};
  }
}

std::string RefusalText(const CCheckResult& result, const CShapeCheckState& state,
                        const CLengthFormat& format) {
  if (result.message == ECheckMessage::kNone) return {};
  if (result.message == ECheckMessage::kRange)
    return FormatMessageTextSS(kMsgOutOfRange, format(state.lower), format(state.upper));
  const bool barsT = state.upper < 1000;
  if (result.message == ECheckMessage::kQGTooLarge) {
    return std::string(barsT ? "P+Q+R+S + T > " : "P+Q+R+S + V > ") + format(state.upper) + " !\n" +
           StringText(kMsgSumRule) + "\n" + StringText(kMsgSumAdvice);
  }
  std::string text;
  if (state.upper <= 2000) {
    text = barsT ? "E - T < T + " + format(50) : "E - V < " + format(25);
    text += " !\n";
    text[0] = result.letter;
  }
  return text + StringText(kMsgDistanceRule) + "\n" +
         FormatMessageTextS(kMsgDistanceMinimum, format(state.lower));
}
