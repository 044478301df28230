#include "model/element/dev.h"
#include "model/run/phase_order.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::string_view kNoPart11 = "ZZZZZZZZZZZ";
constexpr std::string_view kNoPart16 = "ZZZZZZZZZZZZZZZZ";

bool IsSquare(const CDev& element) {
  const std::string angle = element.GetFieldText("ELBOW_ANGL").value_or("");
  return angle.empty() || TextToInt(angle) == 90;
}

std::int64_t SumOf(const std::array<int, 4>& values) {
  return std::int64_t{values[0]} + values[1] + values[2] + values[3];
}

}  // namespace

CElbowCode LookUpElbowCode(int code) {
  switch (code) {
    case 1:
    case 2: return {"LP", "A  ", false};
    case 3:
    case 4: return {"LC", "A  ", false};
    case 12:
    case 21: return {"ZP", "   ", false};
    case 13:
    case 24: return {"CP", "2  ", false};
    case 14:
    case 23: return {"CP", "1  ", false};
    case 31:
    case 42: return {"CP", "1  ", true};
    case 32:
    case 41: return {"CP", "2  ", true};
    case 34:
    case 43: return {"ZC", "   ", false};
    default: return {"  ", {}, false};
  }
}

std::string CPartBuilderQG::GetPartReference(const CSegment& segment, int entryIndex,
                                             int alternative) {
  const CSegmentEntry& entry = segment.at(static_cast<std::size_t>(entryIndex));
  CDev& element = *entry.element;
  std::string buffer(kRefWidth, ' ');
  if (OverlayOwnRef(entry, buffer) == 0) {
    element.OverlayRefCode(buffer);
    m_qg.FillRefPattern(buffer);
    const std::string rated = buffer;
    m_qg.CompleteDeviceRef(element, buffer);
    KeepRatingDigits(buffer, rated);
    switch (element.GetKind()) {
      case CDev::kEnd: BuildStraightRef(element, buffer); break;
      case CDev::kStraight: LayRefText(buffer, 5, "##"); break;
      case CDev::kElbow: BuildElbowRef(entry, buffer); break;
      case CDev::kJunction2: {
        const int turn = m_qg.GetTurnCode(element, entry.inFace, entry.branchFace, 0);
        if (turn >= 1 && turn <= 4) {
          LayRefText(buffer, 5, turn <= 2 ? "TD" : "TC");
          SetRefChar(buffer, 8, 'A');
        } else {
          FormatPartLabel(&element, 1, "ZARBI", 0, 0);
        }
        if (IsMounted(element)) FormatPartLabel(&element, 8, {}, 0, 0);
        break;
      }
      case CDev::kJunction3:
      case CDev::kJunction4:
      case CDev::kJunction5: FormatPartLabel(&element, 1, {}, 0, 0); break;
      case CDev::kInLineVariant: BuildInLineVariantRef(element, buffer); break;
      case CDev::kJoint: LayRefText(buffer, 5, "__"); break;
      default: break;
    }
  }
  if (alternative != 0) CloseReference(buffer);
  return buffer;
}

void CPartBuilderQG::BuildStraightRef(CDev& element, std::string& buffer) {
  const int variant = element.GetVariant();
  const int sub = CRunQG::SubVariant(element);
  if (variant == 2 || variant == 3 || variant == 6) {
    if (sub == 0) {
      LayRefText(buffer, 0, kNoPart11);
      FormatPartLabel(&element, 2, {}, 0, 0);
    } else if (sub == 3 && variant != 3) {
      int length = 0, width = 0, thickness = 0;
      m_qg.GetBarGeometry(length, width, thickness, &element);
      const char digit = RefCharAt(buffer, 8);
      if (SumOf(m_qg.GetCentreDistances(element)) + width > 1100 && digit >= '0' && digit < '9')
        SetRefChar(buffer, 8, static_cast<char>(digit + 1));
    }
  } else if (variant == 7) {
    const int acc = TextToInt(element.GetPropValue("QGACC"));
    const int n = TextToInt(m_qg.GetPropText("Neutral"));
    if (acc >= 3 && acc <= n && acc <= 9 && !(acc == 3 && n == 5)) {
      SetRefChar(buffer, 8, static_cast<char>('0' + acc));
    } else {
      if (n >= 0 && n <= 9) SetRefChar(buffer, 8, static_cast<char>('0' + n));
      if (acc != 0) element.SetFieldText("QGACC", "");
    }
  }
  if (IsMounted(element)) FormatPartLabel(&element, 8, {}, 0, 0);
  if (GetPhaseOrderAt(element, 0) > 1) {
    LayRefText(buffer, 0, kNoPart11);
    FormatPartLabel(&element, 7, {}, 0, 0);
  }
}

void CPartBuilderQG::BuildInLineVariantRef(CDev& element, std::string& buffer) {
  const int variant = element.GetVariant();
  const int n = TextToInt(m_qg.GetPropText("Neutral"));
  const int calibre = m_qg.GetRating();
  if (variant == 7) {
    if (n != 4 && n != 5) {
      LayRefText(buffer, 0, kNoPart16);
      FormatPartLabel(&element, 4, {}, n, 0);
    }
    if (IsMounted(element)) FormatPartLabel(&element, 8, {}, 0, 0);
  } else if (variant == 15) {
    if (calibre == 63 || (calibre == 50 && RefCharAt(buffer, 2) == 'A')) {
      LayRefText(buffer, 0, kNoPart16);
      FormatPartLabel(&element, 3, {}, calibre * 100, calibre * 100);
    }
  } else if (variant != 0 && IsMounted(element)) {
    FormatPartLabel(&element, 8, {}, 0, 0);
  }
}

void CPartBuilderQG::BuildElbowRef(const CSegmentEntry& entry, std::string& buffer) {
  CDev& element = *entry.element;
  const int t1 = m_qg.GetTurnCode(element, entry.inFace, entry.outFace, 0);
  if (t1 == 0) return;
  int code = GrowElbowCode(entry, t1);
  auto& legSwap = const_cast<CSegmentEntry&>(entry).legSwap;
  for (int round = 0; round < 4; ++round) {
    const CElbowCode found = LookUpElbowCode(code);
    LayRefText(buffer, 5, found.family);
    LayRefText(buffer, 8, found.variant);
    if (found.swapLegs) legSwap = 1;
    if (code < 10) {
      if (IsMounted(element)) SetRefChar(buffer, 5, 'F');
      return;
    }
    if (found.family != "  " && ElbowLegsFit(entry, code, buffer)) return;
    legSwap = 0;
    code /= 10;
  }
}

// The code of the elbow and of the square elbows that follow it closely, each in a
// segment of its own two ends: a two- or three-digit code.
int CPartBuilderQG::GrowElbowCode(const CSegmentEntry& entry, int t1) const {
  const CDev& element = *entry.element;
  if (IsMounted(element) || !IsSquare(element)) return t1;
  const std::vector<CSegment>& segments = GetSegments();
  int found = -1;
  for (int s = std::min(GetSegmentIndex(), static_cast<int>(segments.size()) - 1); s >= 0; --s) {
    const CSegment& segment = segments[static_cast<std::size_t>(s)];
    if (segment.empty()) continue;
    if (segment.back().element == &element) {
      found = s;
      break;
    }
    if (segment.front().element == &element) return t1;
  }
  if (found < 0) return t1;
  int code = t1;
  for (int s = found + 1; s <= found + 2 && s < static_cast<int>(segments.size()); ++s) {
    const CSegment& next = segments[static_cast<std::size_t>(s)];
    if (next.size() != 2 || next.back().element->GetKind() != CDev::kElbow) break;
    const CSegmentEntry& last = next.back();
    const int turn = m_qg.GetTurnCode(*last.element, last.inFace, last.outFace, 0);
    if (turn == 0 || !IsSquare(*last.element)) break;
    code = code * 10 + turn;
  }
  return code;
}

// Both elbows of a double elbow within the leg ranges of its row; a leg outside is told
// on the second elbow when the segment is the one being built.
bool CPartBuilderQG::ElbowLegsFit(const CSegmentEntry& entry, int code, const std::string& buffer) {
  (void)code;
  const CPatternRow row = m_qg.FindPartRow(buffer);
  const std::vector<CSegment>& segments = GetSegments();
  const int index = GetSegmentIndex();
  const CDev* second = nullptr;
  if (index + 1 < static_cast<int>(segments.size()) && index >= 0)
    second = segments[static_cast<std::size_t>(index) + 1].back().element;
  if (row.texts[0].empty() || second == nullptr) return false;
  std::int32_t lo1 = -1, hi1 = -1, lo2 = -1, hi2 = -1;
  ParseNumberList(row.texts[1], lo1, hi1);
  ParseNumberList(row.texts[2], lo2, hi2);
  const std::int32_t first = entry.element->GetBookedLength();
  const std::int32_t other = second->GetBookedLength();
  const bool firstFits = first >= lo1 && first <= hi1;
  const bool secondFits = other >= lo2 && other <= hi2;
  if (firstFits && secondFits) return true;
  const bool current = index >= 0 && index < static_cast<int>(segments.size()) &&
                       segments[static_cast<std::size_t>(index)].back().element == entry.element;
  if (current) {
    FormatPartLabel(const_cast<CDev*>(second), 11, buffer, firstFits ? lo2 : lo1,
                    firstFits ? hi2 : hi1);
  }
  return false;
}

void CPartBuilderQG::CloseReference(std::string& buffer) const {
  const char family = RefCharAt(buffer, 5);
  if ((family == 'L' || family == 'F') && RefCharAt(buffer, 8) == 'A') {
    SetRefChar(buffer, 8, 'C');
    if (RefPairAt(buffer, 5) == "FC") SetRefChar(buffer, 8, 'B');
  } else if (family == 'T' && RefCharAt(buffer, 8) == 'A') {
    SetRefChar(buffer, 8, 'B');
  }
}
