#include "ranges/qm/qm_part_refs.h"

#include "model/element/dev.h"
#include "platform/text_conversions.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_context.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include <array>

namespace {

constexpr std::string_view kNoPart = "ZZZZZZZZZZZ";
constexpr std::string_view kNoPattern = "ZZZZZZZZZZZZZZZZ";
constexpr std::string_view kNotOffered = "YENAPAS";

bool Bit(const CDev& element, int bit) { return (element.GetStyle() & (1u << bit)) != 0; }

}  // namespace

bool IsRightAngle(const CDev& element) {
  const std::string angle = element.GetFieldText("ELBOW_ANGL").value_or("");
  return angle.empty() || TextToInt(angle) == 90;
}

CQMPartReferences::CQMPartReferences(CPartBuilder& builder, CRunQM& run)
    : m_builder(builder), m_run(run), m_twin(run.IsBuiltAsTwin()) {}

int CQMPartReferences::CombinationFlag(const CDev& element) const {
  const auto found = m_combination.find(&element);
  return found == m_combination.end() ? 0 : found->second;
}

void CQMPartReferences::Fail(CDev& element, std::string& buffer, int report, std::string_view text,
                             int a, int b, bool wide) {
  LayRefText(buffer, 0, wide ? kNoPattern : kNoPart);
  m_builder.FormatPartLabel(&element, report, text, a, b);
}

std::string CQMPartReferences::GetPartReference(int segmentIndex, int entryIndex, bool finalPass) {
  std::string buffer(kRefWidth, ' ');
  const std::vector<CSegment>& segments = m_builder.GetSegments();
  if (segmentIndex < 0 || segmentIndex >= static_cast<int>(segments.size())) return buffer;
  const CSegment& segment = segments[static_cast<std::size_t>(segmentIndex)];
  if (entryIndex < 0 || entryIndex >= static_cast<int>(segment.size())) return buffer;
  const CSegmentEntry& entry = segment[static_cast<std::size_t>(entryIndex)];
  if (entry.element == nullptr) return buffer;
  CDev& element = *entry.element;
  if (m_builder.OverlayOwnRef(entry, buffer) == 0) {
    element.OverlayRefCode(buffer);
    m_run.ApplyRefPattern(element, buffer);
    switch (element.GetKind()) {
      case CDev::kEnd: FeedUnitReference(element, finalPass, buffer); break;
      case CDev::kStraight: LayRefText(buffer, 5, "##"); break;
      case CDev::kElbow: ElbowReference(segmentIndex, entry, finalPass, buffer); break;
      case CDev::kJunction2: TeeReference(entry, buffer); break;
      case CDev::kJunction3:
      case CDev::kJunction4:
      case CDev::kJunction5: m_builder.FormatPartLabel(&element, 1, {}, 0, 0); break;
      case CDev::kInLineVariant: InLineChecks(element, buffer); break;
      case CDev::kJoint: LayRefText(buffer, 5, "__"); break;
      default: break;
    }
  }
  if (finalPass && RefCharAt(buffer, 5) == 'L' && RefCharAt(buffer, 8) == 'A')
    SetRefChar(buffer, 8, 'D');
  return buffer;
}

void CQMPartReferences::FeedUnitReference(CDev& element, bool finalPass, std::string& buffer) {
  const int variant = element.GetVariant();
  if (!FeedUnitChecks(element, variant, finalPass, buffer)) return;
  if (variant == 4) BreakerCheck(element, buffer);
  if (variant == 7 || variant == 9) {
    int mode = 1;
    m_run.CrossRangeAdapters(element, mode);
    if (mode == -1) {
      const int r = m_run.GetRating();
      const int amperes = r * 100 + (r == 12 || r == 13 ? 50 : 0);
      Fail(element, buffer, 3, {}, amperes, amperes);
    } else if (mode < 0) {
      Fail(element, buffer, 5, {}, 0, 0);
    }
  }
  if (variant == 8) {
    int digit = Bit(element, 13) ? 3 : 4;
    bool free = element.GetBackNeighbour() == nullptr;
    if (Bit(element, 14)) free = !free;
    if (free) digit -= 2;
    SetRefChar(buffer, 8, static_cast<char>('0' + digit));
  }
  if (variant >= 8 && variant <= 10) RatingAndNeutralChecks(element, buffer);
}

// The checks that come first; false when the reference is settled.
bool CQMPartReferences::FeedUnitChecks(CDev& element, int variant, bool finalPass,
                                       std::string& buffer) {
  const int r = m_run.GetRating();
  const int mode = CRunQM::ConnectionMode(element);
  if ((variant == 2 || variant == 3 || variant == 6) && mode == 0)
    Fail(element, buffer, 2, {}, 0, 0);
  if ((variant == 2 || variant == 3 || variant == 6) && m_twin && mode == 2)
    Fail(element, buffer, 3, variant == 6 ? "EL3/4" : "ER7", r * 100, r * 100);
  if (finalPass && (variant == 2 || variant == 5 || variant == 7) && RefCharAt(buffer, 8) == '1') {
    SetRefChar(buffer, 8, '2');
    return false;
  }
  if (m_twin && variant == 5) {
    Fail(element, buffer, 3, {}, r * 100, r * 100);
    return false;
  }
  if (variant != 4) return true;
  if (r < 10) Fail(element, buffer, 3, {}, -1000, 0);
  if (m_twin) {
    Fail(element, buffer, 3, {}, r * 100, r * 100);
    return false;
  }
  const int a = CRunQM::BreakerFieldA(element);
  return a == 1 || a == 3;
}

bool CQMPartReferences::RatingAndNeutralChecks(CDev& element, std::string& buffer) {
  const int r = m_run.GetRating();
  const int n = m_run.GetNeutral();
  bool ok = true;
  if (!(r == 25 && m_run.IsQMA())) {
    Fail(element, buffer, 3, {}, r > 25 ? 2500 : -2500, 0);
    ok = false;
  }
  if (n < 6 || n > 8) {
    Fail(element, buffer, 4, {}, n, 0, true);
    ok = false;
  }
  return ok;
}

void CQMPartReferences::InLineChecks(CDev& element, std::string& buffer) {
  const int variant = element.GetVariant();
  const int r = m_run.GetRating();
  const int n = m_run.GetNeutral();
  const bool qma = m_run.IsQMA();
  if ((variant == 7 || variant == 8) && !(n == 4 || (n == 6 && r == 25)))
    Fail(element, buffer, 4, {}, n, 0, true);
  if (variant == 9 || variant == 10) {
    if (r < 10) Fail(element, buffer, 3, {}, -1000, 0);
    if (variant == 9 && r > 32) Fail(element, buffer, 3, {}, 3200, 0);
    if (variant == 10 && r > 16) Fail(element, buffer, 3, {}, 1600, 0);
    if (n == 6) Fail(element, buffer, 4, {}, 6, 0, true);
  }
  if (variant == 11 || variant == 12) {
    if (variant == 11) SetRefChar(buffer, 8, Bit(element, 13) ? '2' : '1');
    RatingAndNeutralChecks(element, buffer);
  }
  if (variant == 6) {
    const int limit = qma ? 2500 : 3200;
    if (r > limit / 100) Fail(element, buffer, 3, {}, limit, 0);
  }
  if (variant == 16 && !m_twin) Fail(element, buffer, 3, {}, qma ? -5000 : -6300, 0);
}

void CQMPartReferences::TeeReference(const CSegmentEntry& entry, std::string& buffer) {
  CDev& element = *entry.element;
  const int turn = m_run.GetTurnCode(element, entry.inFace, entry.branchFace, 0);
  if (turn == 1 || turn == 2) {
    LayRefText(buffer, 0, kNotOffered);
    m_builder.FormatPartLabel(&element, 1, "PLAT", 0, 0);
    return;
  }
  if (turn != 3 && turn != 4) {
    m_builder.FormatPartLabel(&element, 1, "ZARBI", 0, 0);
    return;
  }
  if (turn == 3) m_combination[&element] = 1;
  LayRefText(buffer, 5, "TC");
  if (m_twin) {
    const int r = m_run.GetRating();
    Fail(element, buffer, 3, {}, r * 100, r * 100);
  }
}
