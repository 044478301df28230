#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>

namespace {

bool IsElbowFamily(std::string_view family) {
  return family == "LC" || family == "LP" || family == "FC" || family == "FP";
}

bool IsDoubleFamily(std::string_view family) {
  return family == "ZC" || family == "ZP" || family == "CP";
}

// Whether the family's part carries the lengths of its legs in its name.
bool TakesLegLengths(std::string_view reference) {
  if (reference.size() < 9) return false;
  const std::string family = RefPairAt(reference, 5);
  const char v = reference[8];
  if (IsElbowFamily(family) || family == "TC" || family == "TD") return v != 'A';
  if (IsDoubleFamily(family)) return true;
  if (family == "ER" || family == "EL") return v != '1' && v != '9';
  return false;
}

}  // namespace

std::string CPartBuilderQG::GetPartParameters(const CPlannedPart& part) {
  // The text returned here is booked on the cut; an end piece's own parameters are
  // added to its name when the segment is flushed (MakeParameters).
  (void)part;
  return {};
}

std::string CPartBuilderQG::MakeParameters(const CPlannedPart& part, const CSegmentEntry& entry) {
  const std::string& reference = part.reference;
  CDev& element = *entry.element;
  std::string p;
  if (TakesLegLengths(reference)) {
    std::string values;
    const auto value = [&](int side) -> std::int64_t {
      return side == part.face ? part.length : element.GetChainLength(side, false);
    };
    const auto valid = [](int side) { return side >= 0 && side < CDev::kFaceCount; };
    if (valid(entry.inFace) && value(entry.inFace) != 0)
      values += std::to_string(value(entry.inFace));
    if (valid(entry.branchFace)) values += "," + std::to_string(value(entry.branchFace));
    if (valid(entry.outFace) && value(entry.outFace) != 0)
      values += (values.empty() ? "" : ",") + std::to_string(value(entry.outFace));
    p = "x=" + values;
    if (IsDoubleFamily(RefPairAt(reference, 5))) {
      const CDev* behind = element.GetNeighbour(entry.inFace);
      const std::int64_t back = behind != nullptr ? behind->GetChainLength(-1, false) : 0;
      p = "x=" + std::to_string(back) + "," + values;
    }
    const std::string family = RefPairAt(reference, 5);
    if ((family == "ER" || family == "EL") && RefCharAt(reference, 8) < '9' &&
        element.GetKind() == CDev::kEnd) {
      if (p.size() > 1) p[0] = 'z';
      if (!p.empty()) p += ",";
      p += FormatPartDimensions(element, '?');
    }
  }
  const std::string angle = element.GetFieldText("ELBOW_ANGL").value_or("");
  if (element.GetKind() == CDev::kElbow && !angle.empty() && TextToInt(angle) != 90)
    p += (p.empty() ? "w=" : ",w=") + angle;
  FormatPartCoords(p, entry.legSwap, 'R');
  return p;
}

// The end pieces take their parameter texts, worked out with the leg lengths as planned
// by now; an element that already holds its part (the second of a double elbow) keeps
// its name.
void CPartBuilderQG::FlushPartsToBOM() {
  std::vector<CPlannedPart>& parts = GetPlannedParts();
  for (std::size_t i = parts.size(); i-- > 0;) {
    CPlannedPart& part = parts[i];
    CDev* element = part.element;
    if (part.mode != -1 && !part.reference.empty() && element != nullptr) {
      if (element->GetBooked() != 0 && element->GetReference().starts_with(part.reference)) {
        part.reference.clear();
      } else if (const CSegmentEntry* entry = FindEntry(element)) {
        const std::string text = MakeParameters(part, *entry);
        if (!text.empty()) {
          part.reference.resize(std::max<std::size_t>(part.reference.size(), kRefWidth), ' ');
          part.reference += text;
        }
      }
    }
    ApplyCut(part);
  }
}

const CSegmentEntry* CPartBuilderQG::FindEntry(const CDev* element) const {
  const int index = GetSegmentIndex();
  if (index < 0 || index >= static_cast<int>(GetSegments().size())) return nullptr;
  const CSegment& segment = GetSegments()[static_cast<std::size_t>(index)];
  const auto found =
      std::find_if(segment.begin(), segment.end(),
                   [element](const CSegmentEntry& e) { return e.element == element; });
  return found != segment.end() ? &*found : nullptr;
}
