#include "pages/special_shape_page.h"

#include "model/element/dev.h"
#include "model/run/phase_order.h"
#include "model/run/run.h"
#include "platform/text_conversions.h"
#include "ranges/qg/run_qg.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_pages.h"

#include <algorithm>

namespace {

constexpr int kMsgEndPieceCaption = 2521;
constexpr int kMsgCoverCaption = 2708;
constexpr int kMsgNoEndPiece = 31537;
constexpr int kMsgChantCaption = 30035;
constexpr int kMsgPlateCaption = 30036;
constexpr int kMsgVariant6Caption = 30060;
constexpr std::int64_t kStandardSpacing = 115;

const std::vector<std::string>& EndPictures(bool qg, int kind, int level, bool reduced) {
  static const std::vector<std::string> kQG[] = {{"ER1_QG", "ER3_QG", "ER7_QG"},
                                                 {"ER4_QG", "ER5_QG", "ER6_QG"},
                                                 {"EL1_QG", "EL3_QG", "EL4_QG"}};
  static const std::vector<std::string> kVariant6 = {"EMBOUT_EL1", "EMBOUT_EL3", "EMBOUT_EL4"};
  static const std::vector<std::string> kReduced = {"EMBOUT_CHANT", "EMBOUT_PLAT1"};
  static const std::vector<std::string> kQM = {"EMBOUT_CHANT", "EMBOUT_PLAT1", "EMBOUT_PLAT2"};
  if (qg) return kQG[std::clamp(kind, 1, 3) - 1];
  if (level > 0) return kVariant6;
  return reduced ? kReduced : kQM;
}

const char* CoverImage(int code) {
  switch (code) {
    case 10: return "CAPOT_CR1";
    case 11: return "CAPOT_CR2";
    case 12: return "CAPOT_CR3";
    case 13: return "CAPOT_CR4";
    case 14: return "CAPOT_CR5";
    case 15: return "CAPOT_CR6";
    case 20: return "CAPOT_CS0";
    case 21: return "CAPQG_CR1";
    case 23: return "CAPQG_CR3";
    default: return "CAPQG_CR5";
  }
}

}  // namespace

int CSpecialShapePage::GetPageKind() const {
  return m_endPiece ? kPageSpecialShape : kPageSpecialShapeFlat;
}

int CSpecialShapePage::GetCaptionMessage() const {
  return m_endPiece ? kMsgEndPieceCaption : kMsgCoverCaption;
}

CRunQG* CSpecialShapePage::RangeQG() const {
  CDev* element = GetElement();
  return element != nullptr ? dynamic_cast<CRunQG*>(element->GetRun()) : nullptr;
}

int CSpecialShapePage::BarsNibble() const {
  return static_cast<int>((GetElement()->GetStyle() >> 20) & 0xFu);
}

void CSpecialShapePage::LoadDerived() {
  const CDev& element = *GetElement();
  const CRun* run = element.GetRun();
  const std::string catalog = run != nullptr ? run->GetPropText("Catalog") : std::string();
  const int calibre = run != nullptr ? TextToInt(run->GetPropText("Calibre")) : 0;
  const int variant = element.GetVariant();
  CShapeCheckState state;
  state.cover = !m_endPiece;
  state.rangeQG = catalog.starts_with("QG");
  state.qgKind = !state.rangeQG ? 0 : variant == 3 ? 2 : variant == 6 ? 3 : 1;
  state.variant3 = !state.rangeQG && variant == 3;
  if (!state.rangeQG && variant == 6)
    state.variant6Level =
        (catalog == "QMA" && calibre > 12) || (catalog == "QMC" && calibre >= 17) ? 2 : 1;
  state.largeCalibre = (catalog == "QMA" && calibre >= 50) || (catalog == "QMC" && calibre >= 63);
  state.neutralCount = run != nullptr ? TextToInt(run->GetPropText("Neutral")) : 4;
  state.calibre = catalog == "QMC" ? calibre - 4 : calibre;
  m_state = state;
  m_noNeutral = state.neutralCount == 3;
  m_pictureCode = static_cast<int>((element.GetStyle() >> 24) & 3u);
  m_connection = static_cast<int>((element.GetStyle() >> 26) & 3u);
  m_turnChecked = (element.GetStyle() & 0x1000u) != 0;
  m_partsBuilt = run != nullptr && run->GetPartsState() != 0;
  m_place = {};
  m_place.noNeutral = m_noNeutral;
  m_place.phaseCodeZero = variant == 6 && GetPhaseOrderAt(element, 0) == 0;
  m_place.direction = element.GetDirection();
  m_place.rotation = element.GetRotation();
  m_place.neighbourOnDirection = element.GetNeighbour(element.GetDirection()) != nullptr;
  m_place.largeCalibre = state.largeCalibre;
  m_place.partsBuilt = m_partsBuilt;
}

void CSpecialShapePage::DoLoad() {
  LoadDerived();
  m_parameters.clear();
  m_option = false;
  FillPictures();
}

void CSpecialShapePage::FillPictures() {
  m_bars = BarsNibble() - 1;
  ReadEntrax();
  if (m_endPiece) FillEndPictures();
  else FillCoverPictures();
  if (!m_endPiece) ReadCover();
  if (IsQG()) ComputeQGSizes();
  m_shape = -2;
  const int selected =
      m_endPiece ? (m_bars >= 0 && m_bars < static_cast<int>(m_pictures.size()) ? m_bars : -1)
                 : m_state.coverCode;
  ShowShape(selected, false);
}

void CSpecialShapePage::ReadEntrax() {
  CDev& element = *GetElement();
  std::array<int, 4> d{};
  if (CRunQG* qg = RangeQG()) d = qg->GetCentreDistances(element);
  else if (auto* qm = dynamic_cast<CRunQM*>(element.GetRun()))
    d = qm->GetCentreDistances(element, 'A');
  m_entraxEmpty = element.GetFieldText("ENTRAX").value_or("").empty();
  CShapeCheckState& s = m_state;
  if (IsQG()) {
    s.P = d[0], s.Q = d[1], s.R = d[2], s.S = d[3];
    return;
  }
  if (s.variant6Level > 0) {
    s.J = d[0], s.K = d[1], s.M = d[2], s.P = d[3];
    return;
  }
  m_plate = m_bars >= 1;
  if (m_bars <= 0) {
    s.J = d[0], s.K = d[1], s.M = d[2];
    return;
  }
  s.P = d[0], s.Q = d[1], s.R = d[2], s.S = d[3];
  if (m_bars == 1 && s.S > 0 && s.S < s.R && !m_noNeutral) m_bars = 2;
}

void CSpecialShapePage::FillEndPictures() {
  m_pictures.clear();
  const bool reduced = m_state.variant3 || m_noNeutral;
  const auto& names = EndPictures(IsQG(), m_state.qgKind, m_state.variant6Level, reduced);
  for (std::size_t i = 0; i < names.size(); ++i)
    m_pictures.push_back({names[i], static_cast<int>(i)});
}

void CSpecialShapePage::FillCoverPictures() {
  m_pictures.clear();
  if (m_bars < 0 || m_pictureCode == 0) return;
  std::vector<int> codes;
  const CDev& element = *GetElement();
  const int direction = element.GetDirection(), rotation = element.GetRotation();
  const bool across = direction == 2 || direction == 3;
  const CShapeCheckState& s = m_state;
  if (IsQG()) {
    codes = {21, 23, 25};
  } else if (s.variant6Level == 0) {
    if (m_connection <= 1) {
      if (across) {
        codes = m_bars == 0 ? std::vector<int>{11, 12} : std::vector<int>{12};
        const bool standard = s.J == 115 && s.K == 115 && (s.M == 115 || m_noNeutral);
        if (m_bars == 0 && standard && !m_plate) codes.push_back(20);
      } else if (rotation == 16 || rotation == 64) {
        codes = {10};
      }
    } else if (m_connection == 2) {
      codes = {12};
    }
    if (s.largeCalibre) std::erase_if(codes, [](int code) { return code != 10 && code != 12; });
  } else if (m_bars == 2) {
    if (!across && rotation != 32 && rotation != 128) codes = {15};
  } else if (s.largeCalibre) {
    if (m_bars == 0 && !across && (rotation == 32 || rotation == 128)) codes = {13};
  } else if (across) {
    if (m_bars == 1) codes = {13};
  } else {
    codes = {rotation == 16 || rotation == 64 ? 13 : 14};
  }
  for (const int code : codes) m_pictures.push_back({CoverImage(code), code});
}

void CSpecialShapePage::ReadCover() {
  CDev& element = *GetElement();
  const std::string stored = element.GetFieldText("CAPOT").value_or("");
  const std::vector<int> n =
      ReadSlashNumbers(stored.substr(0, std::min(stored.find(':'), stored.size())), 7);
  auto number = [&n](std::size_t i) { return i < n.size() ? static_cast<std::int64_t>(n[i]) : 0; };
  int code = static_cast<int>(number(0));
  if (code > 20 && code % 2 == 0) {
    m_option = true;
    --code;
  }
  const bool offered = std::any_of(m_pictures.begin(), m_pictures.end(),
                                   [code](const CPicture& p) { return p.value == code; });
  if (!offered && !stored.empty()) {
    // A cover the end no longer offers is dropped rather than kept unseen.
    Edit(kActionElementEdit, [&] {
      element.SetFieldText("CAPOT", "");
      element.RebuildChain();
    });
  }
  CShapeCheckState& s = m_state;
  s.coverCode = offered ? code : -1;
  s.coverM = number(1);
  if (IsQG()) {
    s.coverA = number(2), s.coverB = number(3), s.coverC = number(4), s.coverD = number(5);
    s.coverN = code == 25 ? number(6) : 0;
    if (code != 23 && code != 25) s.coverM = 0;
    const std::size_t colon = stored.find(':');
    m_parameters = colon != std::string::npos ? stored.substr(colon) : std::string();
  } else if ((code == 10 || code == 15) && s.coverM > 0) {
    s.coverM += QMCoverLimits(10, s.calibre, s.largeCalibre).lower - 80 - (code == 15 ? 350 : 0);
  }
}

void CSpecialShapePage::ComputeQGSizes() {
  CRunQG* qg = RangeQG();
  CDev& element = *GetElement();
  int first = 0, size = 0, value = 0;
  qg->GetBarGeometry(first, size, value, &element);
  const CReferenceRow row = qg->FindReference();
  m_state.barSize = size;
  m_state.barValue = value;
  m_state.referenceSecond = row.Height();
  CQGEndInput in;
  in.variant = element.GetVariant();
  in.nibble = BarsNibble();
  in.entraxEmpty = m_entraxEmpty;
  in.distances = {m_state.P, m_state.Q, m_state.R, m_state.S};
  in.barSize = size;
  in.barValue = value;
  in.referenceFirst = row.Width();
  in.referenceSecond = row.Height();
  in.neutralCount = m_state.neutralCount;
  const CQGEndSizes sizes = QGEndSizes(in);
  m_state.width = sizes.width;
  m_state.height = sizes.height;
  CShapeCheckState& s = m_state;
  const std::int64_t side = s.height / 2 + 50, end = s.width / 2 + 50;
  for (std::int64_t* v : {&s.coverA, &s.coverB})
    if (*v != 0) *v = std::max(*v, side);
  for (std::int64_t* v : {&s.coverC, &s.coverD})
    if (*v != 0) *v = std::max(*v, end);
}
