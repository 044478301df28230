#include "ranges/qw/part_builder_qw.h"

#include "model/bom/bom_grid.h"
#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "platform/text_conversions.h"
#include "platform/wildcard.h"
#include "ranges/qw/qw_text.h"
#include "ranges/range_ref_text.h"
#include "ranges/qw/run_qw.h"
#include "ranges/range_context.h"
#include "ranges/range_table_reader.h"

#include <algorithm>

using qw::HasAt;

namespace {

// The 7-character code of another product line's transformer connection, sold under
// its own reference with a "0" before the family.
constexpr std::string_view kOtherLineCode = "EH41L00";
constexpr std::int32_t kFixingClearance = 1700;
constexpr std::uint32_t kSpecialClear =
    (1u << 16) | (1u << 17) | (1u << 19) | (1u << 20) | (1u << 23);
constexpr std::uint32_t kSpecialSet = (1u << 18) | (1u << 21) | (1u << 22);

// The rating class of a "B" type straight piece.
std::string_view TypeBRatingClass(int rating, bool qwa) {
  switch (rating) {
    case 20:
    case 31: return "31";
    case 40:
    case 50: return qwa ? "50" : "63";
    case 63: return qwa ? "80" : "63";
    case 80: return "80";
    default: return "";
  }
}

// The reference with its last blank and the character after it (where there is one)
// replaced by the text; unchanged without a blank.
std::string WithIPText(const std::string& reference, std::string_view ip) {
  const std::size_t blank = reference.rfind(' ');
  if (blank == std::string::npos) return reference;
  std::string text = reference;
  text.replace(blank, std::min<std::size_t>(2, text.size() - blank), ip);
  return text;
}

}  // namespace

void MarkSpecialPiece(CDev& element) {
  element.SetStyle((element.GetStyle() & ~kSpecialClear) | kSpecialSet);
}

CPartBuilderQW::CPartBuilderQW(CRunQW& run) : CPartBuilder(run), m_qw(run) {
  AddStraightDefinitions();
}

void CPartBuilderQW::AddStraightDefinitions() {
  const std::string catalog = m_qw.GetPropText("Catalog");
  const std::string rating = m_qw.GetPropText("Calibre");
  const std::vector<CCodeRow>* devices = m_qw.GetCodeTable();
  if (devices == nullptr) return;
  const CRangeTableReader reader(catalog, CRangeContext::Instance());
  for (const CPatternRow& row : reader.ReadParts()) {
    const std::string& partRef = row.texts[0];
    for (auto device = devices->rbegin(); device != devices->rend(); ++device) {
      if (TextToInt(device->texts[0]) != 1) continue;
      std::string built(kRefWidth, ' ');
      LayRefText(built, 0, device->texts[3]);
      LayRefText(built, 0, catalog);
      if (RefCharAt(partRef, 9) == 'B') {
        LayRefText(built, 3, TypeBRatingClass(TextToInt(rating), catalog == "QWA"));
      } else {
        LayRefText(built, 3, rating);
      }
      SetRefChar(built, 8, RefCharAt(partRef, 8));
      SetRefChar(built, 9, RefCharAt(partRef, 9));
      if (MatchWildcard(partRef, built))
        AddPartDef(partRef, row.texts[1], row.texts[2], device->texts[1]);
    }
  }
}

CDev* CPartBuilderQW::PrepareElement(CDev& element) {
  // A special length is worked out afresh by every rebuild.
  if (element.GetKind() == CDev::kElbow && element.GetFieldText("EF20nbc").has_value())
    element.SetFieldText("EF20nbc", "");
  if (element.GetKind() != CDev::kInLine || element.GetVariantIndex() != 3) return nullptr;
  const std::int64_t position =
      std::int64_t{TextToInt(element.GetFieldText("PLUG1").value_or(""))} +
      element.GetOffset() / 2 + kFixingClearance;
  CDev* front = element.GetNeighbour(element.GetDirection());
  if (front == nullptr || front->GetBookedLength() <= position || position <= 0) return nullptr;
  return GetChainEditor().SplitAtLength(*front, element.GetDirection(),
                                        static_cast<std::int32_t>(position));
}

void CPartBuilderQW::Rebook(CDev& element, const std::string& reference) {
  if (element.GetReference() == reference) return;
  CBOMGrid& bom = GetRun().GetBOM();
  const bool booked = element.GetBooked() != 0;
  if (booked) bom.RemoveRefQuantity(element.GetReference(), 1);
  element.SetReference(reference);
  if (booked) bom.AddRefQuantity(reference, 1);
}

void CPartBuilderQW::FinishPart(CDev& element, int position) {
  if (position == static_cast<int>(GetRun().GetDevices().size())) m_straights = -1;
  std::string reference = element.GetReference();
  if (reference.size() > 10 && HasAt(reference, 5, "EF") && reference[10] != ' ') {
    std::fill(reference.begin() + 10, reference.end() - 1, ' ');
    Rebook(element, reference);
  }
  const int kind = element.GetKind();
  const int variant = element.GetVariant();
  if (kind == CDev::kEnd && (variant == 0 || variant == 1 || variant == 7)) ++m_straights;
  if (kind == CDev::kEnd && variant == 7 && HasAt(reference, 5, kOtherLineCode)) {
    reference.insert(5, "0");
    Rebook(element, reference);
  }
  const std::string ip = GetRun().GetPropText("IP");
  const bool plain = kind == CDev::kEnd && (variant == 0 || variant == 1);
  if (ip == "A0" || plain || reference == GetRun().GetKindText(kind, variant) ||
      (HasAt(reference, 0, "QW0") && HasAt(reference, 5, "ZA")) ||
      reference.find("A1 ") != std::string::npos) {
    return;
  }
  Rebook(element, WithIPText(reference, ip));
}

void CPartBuilderQW::FinishSecondPass() {
  if (m_straights < 0) GetRun().AddAccessoryParts(CDev::kJoint2, 1, "");
}

void CPartBuilderQW::PropagatePartValue(const CSegmentEntry& entry, std::string& reference) {
  if (!qw::IsSpecialLength(reference) || entry.element == nullptr) return;
  const std::string stored = entry.element->GetFieldText("EF20nbc").value_or("");
  if (stored.empty()) return;
  const int last = static_cast<int>(GetSegments().size()) - 1;
  const int count = std::clamp(TextToInt(stored), 1, kMaxSpannedSegments);
  CDev* current = entry.element;
  CBOMGrid& bom = GetRun().GetBOM();
  // The span ends at the last segment and at the last elbow: the piece is booked on one.
  for (int i = 1; i < count && GetSegmentIndex() < last &&
                  SegmentAt(GetSegmentIndex() + 1).back().element->GetKind() == CDev::kElbow;
       ++i) {
    if (current->GetBooked() != 0) bom.RemoveRefQuantity(current->GetReference(), 1);
    current->SetBooked(0);
    MarkSpecialPiece(*current);
    SetSegmentIndex(GetSegmentIndex() + 1);
    PostSegmentLengths(GetSegmentIndex(), 0);
    current = SegmentAt(GetSegmentIndex()).back().element;
  }
  if (current->GetBooked() != 0) bom.RemoveRefQuantity(current->GetReference(), 1);
  current->SetReference(reference);
  current->SetBooked(1);
  bom.AddRefQuantity(reference, 1);
  reference.clear();
  MarkSpecialPiece(*current);
}

void CPartBuilderQW::FlushPartsToBOM() {
  const CSegment& segment = SegmentAt(GetSegmentIndex());
  if (segment.size() > 1) {
    // The end part of the segment's last element, not the straight pieces planned there.
    for (CPlannedPart& part : GetPlannedParts()) {
      if (part.element == segment.back().element && part.mode != -1) {
        PropagatePartValue(segment.back(), part.reference);
        break;
      }
    }
  }
  CPartBuilder::FlushPartsToBOM();
}

std::string CPartBuilderQW::GetPartParameters(const CPlannedPart& part) {
  (void)part;
  return std::string();
}

int CPartBuilderQW::GetElbowReference(const CSegment& segment) {
  if (segment.size() < 2) return 0;
  return AssignPartRef(segment.front().element, segment.back().element, {}, 0);
}

int CPartBuilderQW::SelectCandidate(const CSegment& segment, int flag) {
  return ::SelectCandidate(static_cast<int>(segment.size()), flag != 0);
}
