#include "model/element/dev.h"
#include "pages/special_shape_page.h"
#include "ranges/qg/run_qg.h"

#include <algorithm>

namespace {

constexpr int kMsgNoEndPiece = 31537;
constexpr int kMsgChantCaption = 30035;
constexpr int kMsgPlateCaption = 30036;
constexpr int kMsgVariant6Caption = 30060;
constexpr std::int64_t kStandardSpacing = 115;

}  // namespace

int CSpecialShapePage::GetSelected() const {
  for (std::size_t i = 0; i < m_pictures.size(); ++i)
    if (m_pictures[i].value == m_shape) return static_cast<int>(i);
  return -1;
}

void CSpecialShapePage::ChoosePicture(int index) {
  if (index < 0 || index >= static_cast<int>(m_pictures.size())) return;
  const int value = m_pictures[static_cast<std::size_t>(index)].value;
  if (value == m_shape) {
    // Choosing the current end piece again changes nothing; the current cover, none.
    if (!m_endPiece) ShowShape(-1, true);
    return;
  }
  ShowShape(value, true);
}

void CSpecialShapePage::ShowShape(int value, bool user) {
  const int previous = m_shape;
  m_shape = value;
  m_captionNumber = 0;
  m_captionText.clear();
  for (CField& field : m_fields) field = {};
  CShapeCheckState& s = m_state;
  s.shape = value < 0 ? -1 : m_endPiece && IsQG() ? kShapeQGEnd : value;
  // The limits of a cover go by the code chosen, not by the one stored.
  if (!m_endPiece) s.coverCode = value;
  s.position = value;
  if (m_endPiece && s.variant6Level > 0 && value >= 0) s.shape = kShapeVariant6 + value;
  if (value < 0) {
    m_captionNumber = m_endPiece ? kMsgNoEndPiece : 0;
    m_parameters.clear();
    if (IsQGCover()) {
      m_option = false;
      s.coverA = s.coverB = s.coverM = s.coverN = s.coverC = s.coverD = 0;
    }
    return;
  }
  if (!m_endPiece) ShowCover();
  else if (s.variant6Level > 0) ShowEndPiece(user);
  else if (IsQG()) ShowQGEnd(user);
  else if (value == kShapeChant) ShowQMChant(user);
  else ShowEndPiece(user);
  if (m_endPiece && s.variant6Level == 0 && m_noNeutral) m_fields[3].enabled = false;
  (void)previous;
  FillTexts();
  for (int field = 0; field < 4; ++field) {
    CLimitText limits;
    if (ShowLimits(field, limits)) break;
  }
}

// Plates of range QM and the end pieces of its variant 6.
void CSpecialShapePage::ShowEndPiece(bool user) {
  CShapeCheckState& s = m_state;
  if (s.variant6Level > 0) {
    m_captionNumber = kMsgVariant6Caption;
    const char* labels[] = {"", "E=", "N=", "F="};
    for (int f = 1; f < 4; ++f) m_fields[f] = {true, true, labels[f], {}};
    m_fields[2].enabled = !m_noNeutral;
    m_fields[3].shown = m_shape == 1;
    // A piece newly chosen, or one that stores none, starts from its side's arrangement.
    if (user || s.J == 0) s.J = DefaultArrangement(ArrangementPlace());
    return;
  }
  m_captionNumber = kMsgPlateCaption;
  if (user && !m_plate) s.P = s.Q = s.R = s.S = 0;
  if (user && m_plate && !m_noNeutral) std::swap(s.R, s.S);
  m_plate = true;
  const char* labels[] = {"P=", "Q=", "R=", "S="};
  for (int f = 0; f < 4; ++f) m_fields[f] = {true, !s.variant3, labels[f], {}};
}

void CSpecialShapePage::ShowQMChant(bool user) {
  CShapeCheckState& s = m_state;
  m_captionNumber = kMsgChantCaption;
  m_plate = false;
  if (user) {
    s.J = s.K = kStandardSpacing;
    s.M = m_noNeutral ? 0 : kStandardSpacing;
  }
  const bool standard = s.J == kStandardSpacing && s.K == kStandardSpacing &&
                        (m_noNeutral || s.M == kStandardSpacing);
  const bool equal = s.J == s.K && (m_noNeutral || s.M == s.J);
  m_spacing = standard ? kStandard : equal ? kEqual : kFree;
  m_fields[0] = {true, false, "J=", {}};
  m_fields[1] = {true, false, "K=", {}};
  m_fields[3] = {true, false, "M=", {}};
  EnableSpacingFields();
}

void CSpecialShapePage::ShowQGEnd(bool user) {
  CShapeCheckState& s = m_state;
  const int pos = m_shape;
  const bool narrow = pos == 0 || (s.qgKind == 3 && pos == 1);
  m_captionNumber = narrow ? kMsgChantCaption : kMsgPlateCaption;
  const int count = s.neutralCount;
  const char* labels[] = {"P=", "Q=", "R=", "S="};
  for (int f = 0; f < 4; ++f) m_fields[f] = {true, false, labels[f], {}};
  m_fields[3].shown = count == 5;
  m_fields[2].shown = count != 3;
  if (user) {
    std::int64_t p = kStandardSpacing;
    if (!IsSpacingShown(kStandard)) {
      int first = 1, size = 0, value = 0;
      RangeQG()->GetBarGeometry(first, size, value, nullptr);
      p = narrow ? std::max<std::int64_t>(2 * std::int64_t{value} + 50, kStandardSpacing)
                 : std::int64_t{size} + 25;
    }
    s.P = s.Q = p;
    s.R = count > 3 ? p : 0;
    s.S = count > 4 ? p : 0;
    m_turnChecked = false;
  }
  m_turnState = s.qgKind == 3 && pos == 1 ? 1 : 0;
  const bool equal = s.Q == s.P && (count <= 3 || s.R == s.P) && (count <= 4 || s.S == s.P);
  m_spacing = equal ? kEqual : kFree;
  if (IsSpacingShown(kStandard) && s.P == kStandardSpacing && equal && (user || m_entraxEmpty))
    m_spacing = kStandard;
  EnableSpacingFields();
}

void CSpecialShapePage::ShowCover() {
  CShapeCheckState& s = m_state;
  const int code = m_shape;
  if (IsQG()) {
    m_captionText = "QGB  CR1 ";
    m_captionText[7] = static_cast<char>('0' + (code - 20 + (m_option ? 1 : 0)) % 10);
    const char* labels[] = {"A=", "B=", "M=", "N=", "C=", "D="};
    for (int f = 0; f < kShapeFieldCount; ++f) m_fields[f] = {true, true, labels[f], {}};
    m_fields[2].shown = code == 23 || code == 25;
    m_fields[3].shown = code == 25;
    if (!m_fields[2].shown) s.coverM = 0;
    if (!m_fields[3].shown) s.coverN = 0;
    if (IsWide()) {
      m_captionText += "SP";
      for (CField& field : m_fields) field.enabled = false;
    }
    return;
  }
  m_captionText = code == 20 ? "QMB  CS0" : "QMB  CR1 ";
  if (code != 20)
    m_captionText[7] =
        static_cast<char>(code == 13 && s.largeCalibre ? '5' : '0' + (code - 9) % 10);
  const char* labels[] = {"D=", "G=", "Y=", "Z="};
  for (int f = 0; f < 4; ++f) m_fields[f] = {code <= 12 || f == 3, false, labels[f], {}};
  if (code == 20) m_fields[3].label = "C=";
  m_fields[3].enabled = !s.variant3 && (code < 16 || code == 20);
  if (s.variant3 || code > 12) return;
  const std::int64_t m = m_noNeutral ? s.J : s.M;
  s.coverA = m_plate ? std::max(s.R, s.S) + 100 : s.K / 2 + m + 100;
  s.coverB = m_plate ? std::max(s.P, s.Q) + 100 : s.J + s.K / 2 + 100;
  const CDev& element = *GetElement();
  const bool neighbour = element.GetNeighbour(element.GetDirection()) != nullptr;
  const bool swap = (neighbour != (element.GetRotation() == 64)) != (m_connection == 1);
  if (code == 10 && swap) std::swap(s.coverA, s.coverB);
}

bool CSpecialShapePage::IsSpacingShown(int spacing) const {
  if (!m_endPiece || m_shape < 0) return false;
  if (IsQG()) {
    const bool standard = (m_state.qgKind == 1 || m_state.qgKind == 3) && m_shape == 0;
    return spacing != kStandard || standard;
  }
  return m_state.variant6Level == 0 && m_shape == kShapeChant && !m_state.variant3;
}

void CSpecialShapePage::EnableSpacingFields() {
  for (CField& field : m_fields) field.enabled = false;
  if (m_state.variant3) return;
  m_fields[1].enabled = m_spacing != kStandard;
  if (m_spacing != kFree) return;
  m_fields[0].enabled = true;
  const int count = m_state.neutralCount;
  m_fields[3].enabled = !m_noNeutral && (!IsQG() || count == 5);
  m_fields[2].enabled = IsQG() && count > 3;
}
