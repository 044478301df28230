#include "model/props/dimension.h"
#include "model/element/dev.h"
#include "pages/special_shape_page.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int64_t kStandardSpacing = 115;
constexpr std::uint32_t kBarsBits = 0xF00000u;
constexpr std::uint32_t kTurnBits = 0xF000u;
constexpr std::uint32_t kCoverBuiltBit = 1u << 28;

std::string Slashed(std::initializer_list<std::int64_t> numbers) {
  std::string text;
  for (const std::int64_t n : numbers) text += (text.empty() ? "" : "/") + std::to_string(n);
  return text;
}

}  // namespace

std::int64_t* CSpecialShapePage::Member(int field) {
  CShapeCheckState& s = m_state;
  if (field < 0 || field >= kShapeFieldCount || m_shape < 0) return nullptr;
  if (!m_endPiece) {
    std::int64_t* qg[] = {&s.coverA, &s.coverB, &s.coverM, &s.coverN, &s.coverC, &s.coverD};
    std::int64_t* qm[] = {&s.coverA, &s.coverB, nullptr, &s.coverM, nullptr, nullptr};
    return IsQG() ? qg[field] : qm[field];
  }
  if (s.variant6Level > 0) {
    std::int64_t* v6[] = {nullptr, &s.K, &s.M, &s.P, nullptr, nullptr};
    return v6[field];
  }
  if (!IsQG() && m_shape == kShapeChant) {
    std::int64_t* chant[] = {&s.J, &s.K, nullptr, &s.M, nullptr, nullptr};
    return chant[field];
  }
  std::int64_t* plates[] = {&s.P, &s.Q, &s.R, &s.S, nullptr, nullptr};
  return plates[field];
}

void CSpecialShapePage::FillTexts() {
  for (int f = 0; f < kShapeFieldCount; ++f) {
    const std::int64_t* member = Member(f);
    const bool empty = member == nullptr || *member <= 0 || IsWide() || m_state.variant3;
    m_fields[f].text = empty ? std::string() : FormatScaled(*member);
  }
  if (!m_endPiece && !IsQG() && m_shape >= 0 && m_shape <= 12 && !m_state.variant3)
    m_fields[2].text =
        FormatScaled(QMCoverLimits(m_shape, m_state.calibre, m_state.largeCalibre).base);
}

void CSpecialShapePage::SetFieldText(int field, std::string text) {
  if (field >= 0 && field < kShapeFieldCount) m_fields[field].text = std::move(text);
}

std::int64_t CSpecialShapePage::Typed(int field) const {
  const std::optional<double> parsed = Units().TryParse(m_fields[field].text);
  if (!parsed || !std::isfinite(*parsed) || std::fabs(*parsed) >= 1e9) return 0;
  return static_cast<std::int64_t>(*parsed);
}

CLengthFormat CSpecialShapePage::Formatter() const {
  return [this](std::int64_t value) { return FormatLength(value); };
}

void CSpecialShapePage::SyncFields() {
  for (int f = 0; f < kShapeFieldCount; ++f) {
    m_state.shown[f] = m_fields[f].shown;
    m_state.enabled[f] = m_fields[f].enabled;
  }
}

bool CSpecialShapePage::ShowLimits(int field, CLimitText& limits) {
  SyncFields();
  const CCheckResult result = CheckDimensions(m_state, field, ECheckMode::kShow, 0, Formatter());
  limits = result.limits;
  return result.accepted;
}

bool CSpecialShapePage::LeaveField(int field) {
  if (field < 0 || field >= kShapeFieldCount) return true;
  SyncFields();
  const std::int64_t typed = Typed(field);
  const bool accepted =
      CheckDimensions(m_state, field, ECheckMode::kLeave, typed, Formatter()).accepted;
  if (!m_fields[field].text.empty() && m_fields[field].shown)
    m_fields[field].text = FormatScaled(typed);
  return accepted;
}

void CSpecialShapePage::ChooseSpacing(int spacing) {
  if (!IsSpacingShown(spacing)) return;
  m_spacing = spacing;
  CShapeCheckState& s = m_state;
  if (spacing == kStandard) {
    if (IsQG()) {
      s.P = s.Q = kStandardSpacing;
      s.R = s.neutralCount > 3 ? kStandardSpacing : 0;
      s.S = s.neutralCount > 4 ? kStandardSpacing : 0;
    } else {
      s.J = s.K = kStandardSpacing;
      s.M = m_noNeutral ? 0 : kStandardSpacing;
    }
    FillTexts();
  }
  EnableSpacingFields();
  if (spacing == kEqual) CopyEqualSpacing();
  // The limits of the first field the user can type in are shown at once.
  for (int field = 0; field < 4; ++field) {
    CLimitText limits;
    if (ShowLimits(field, limits)) break;
  }
}

void CSpecialShapePage::CopyEqualSpacing() {
  if (m_spacing != kEqual || !m_endPiece) return;
  const bool chant = !IsQG() && m_shape == kShapeChant && m_state.variant6Level == 0;
  if (!chant && !IsQG()) return;
  const std::string q = m_fields[1].text;
  m_fields[0].text = q;
  if (!m_noNeutral && (!IsQG() || m_state.neutralCount == 5)) m_fields[3].text = q;
  if (IsQG() && m_state.neutralCount >= 4) m_fields[2].text = q;
}

bool CSpecialShapePage::IsTurnShown() const {
  if (m_shape < 0) return false;
  if (IsQGCover()) return !IsWide();
  // Once the run's parts are built the bars no longer turn.
  if (!m_endPiece || m_partsBuilt) return false;
  if (IsQG()) return m_state.qgKind == 2 || m_state.qgKind == 3;
  return m_state.variant6Level > 0 && IsVariant6TurnShown(ArrangementPlace());
}

std::optional<CApplyOutcome> CSpecialShapePage::CheckFields(const std::vector<int>& fields,
                                                            ECheckMode mode) {
  SyncFields();
  for (const int field : fields) {
    const CCheckResult result = CheckDimensions(m_state, field, mode, Typed(field), Formatter());
    if (result.accepted) continue;
    CApplyOutcome refused = Refused(0, {}, field);
    if (mode == ECheckMode::kApply)
      refused.refusal.text = RefusalText(result, m_state, Formatter());
    return refused;
  }
  return std::nullopt;
}

CApplyOutcome CSpecialShapePage::Turn() {
  if (IsQGCover()) {
    // The sides are swapped only while all six dimensions hold.
    if (auto refused = CheckFields({0, 1, 2, 3, 4, 5}, ECheckMode::kApply)) return *refused;
    std::swap(m_fields[0].text, m_fields[1].text);
    std::swap(m_fields[4].text, m_fields[5].text);
    return Unchanged();
  }
  // A range QG piece with a turn state cycles through four positions: 0, 2, 1, 3.
  if (IsQG() && m_turnState == 1) {
    m_turnState = 2;
    return Unchanged();
  }
  if (IsQG() && m_turnState == 2) m_turnState = 1;
  m_turnChecked = !m_turnChecked;
  return Unchanged();
}

std::vector<std::string> CSpecialShapePage::GetArrangements() const {
  if (m_state.variant6Level == 0 || !m_endPiece || m_shape < 0) return {};
  return ArrangementEntries(ArrangementPlace());
}

int CSpecialShapePage::GetArrangementIndex() const {
  return ArrangementIndex(ArrangementPlace(), static_cast<int>(m_state.J));
}

bool CSpecialShapePage::IsArrangementEnabled() const {
  return !GetArrangements().empty() && ::IsArrangementEnabled(ArrangementPlace());
}

bool CSpecialShapePage::ChooseArrangement(int index) {
  const int count = static_cast<int>(GetArrangements().size());
  if (index < 0 || index >= count || !IsArrangementEnabled()) return false;
  if (CheckFields({0, 1, 2, 3}, ECheckMode::kLeave)) return false;
  m_state.J = StoredArrangement(ArrangementPlace(), index);
  return true;
}

CArrangementPlace CSpecialShapePage::ArrangementPlace() const {
  CArrangementPlace place = m_place;
  place.piece = std::clamp(m_shape, 0, 2);
  return place;
}

void CSpecialShapePage::SetOption(bool checked) {
  if (!IsOptionShown()) return;
  m_option = checked;
  if (m_captionText.size() > 7) {
    const int digit = m_captionText[7] - '0';
    if (checked && digit % 2 == 1) ++m_captionText[7];
    if (!checked && digit % 2 == 0) --m_captionText[7];
  }
}

std::vector<int> CSpecialShapePage::ApplyOrder() const {
  if (m_endPiece && IsQG()) return {0, 2, 3, 1};
  if (m_endPiece && m_state.variant6Level == 0 && m_shape == kShapePlate1) return {1, 0, 2, 3};
  if (m_endPiece && m_state.variant6Level == 0 && m_shape == kShapePlate2) return {1, 0, 3, 2};
  if (IsQGCover()) return {0, 1, 2, 3, 4, 5};
  return {0, 1, 2, 3};
}

std::string CSpecialShapePage::BuildEntrax() const {
  const CShapeCheckState& s = m_state;
  if (m_shape < 0) return {};
  if (s.variant6Level > 0) {
    // Stored as the list entry shown stands for it.
    const CArrangementPlace place = ArrangementPlace();
    const int arrangement =
        StoredArrangement(place, ArrangementIndex(place, static_cast<int>(s.J)));
    return Slashed({arrangement, s.K, s.M, m_shape == 1 ? s.P : 0});
  }
  if (IsQG()) return m_spacing == kStandard ? std::string() : Slashed({s.P, s.Q, s.R, s.S});
  if (m_shape == kShapeChant) {
    const bool standard =
        s.J == kStandardSpacing && s.K == kStandardSpacing && s.M == kStandardSpacing;
    return standard ? std::string() : Slashed({s.J, s.K, s.M});
  }
  return Slashed({s.P, s.Q, s.R, s.S});
}

std::string CSpecialShapePage::BuildCapot() const {
  const CShapeCheckState& s = m_state;
  if (m_shape < 0) return {};
  if (IsQG())
    return Slashed({m_shape + (m_option ? 1 : 0), s.coverM, s.coverA, s.coverB, s.coverC, s.coverD,
                    s.coverN}) +
           m_parameters;
  std::int64_t z = s.coverM;
  const std::int64_t lower = QMCoverLimits(m_shape, s.calibre, s.largeCalibre).lower;
  if (m_shape == 10) z = z - lower + 80;
  if (m_shape == 15) z = z - lower + 500;
  return Slashed({m_shape, z});
}

std::uint32_t CSpecialShapePage::StyleFor(const CDev& element) const {
  std::uint32_t style = element.GetStyle() & ~kBarsBits;
  const int nibble = m_shape < 0 ? 0
                     : !IsQG() && m_shape == kShapePlate2 && m_state.variant6Level == 0
                         ? 2
                         : m_shape + 1;
  style |= static_cast<std::uint32_t>(nibble) << 20;
  if (IsQG() || m_state.variant6Level > 0) {
    style &= ~kTurnBits;
    if (m_turnChecked) style |= 0x1000u;
    if (m_turnState == 2) style |= 0x2000u;
  }
  return style;
}

CApplyOutcome CSpecialShapePage::DoApply() {
  CDev& element = *GetElement();
  if (auto refused = CheckFields(ApplyOrder(), ECheckMode::kApply)) return *refused;
  const char* name = m_endPiece ? "ENTRAX" : "CAPOT";
  const std::string wanted = m_endPiece ? BuildEntrax() : BuildCapot();
  const bool textChanged = wanted != element.GetFieldText(name).value_or("");
  const std::uint32_t style = m_endPiece ? StyleFor(element) : element.GetStyle();
  const bool styleChanged = style != element.GetStyle() || style != element.GetStyle2();
  if (!textChanged && !(m_endPiece && styleChanged)) return Unchanged();
  Edit(
      kActionElementEdit,
      [&] {
        if (textChanged) element.SetFieldText(name, wanted);
        if (m_endPiece) {
          element.SetStyle(style);
          element.SetStyle2(style);
        } else if (textChanged) {
          // A new cover is laid out again.
          element.SetStyle(element.GetStyle() & ~kCoverBuiltBit);
          element.SetStyle2(element.GetStyle2() & ~kCoverBuiltBit);
        }
        element.RebuildChain();
      },
      true);
  return Applied();
}
