#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "ranges/qm/qm_part_refs.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_ref_text.h"

#include <algorithm>

namespace {

std::int32_t Clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// An unmounted joint (flag below 1) that makes a 4 m piece with the length beside it.
bool MakesFourMetres(const CDev* joint, std::int64_t length) {
  return joint != nullptr && joint->GetKind() == CDev::kJoint && joint->GetActive() < 1 &&
         joint->GetBookedLength() + length == 4000;
}

}  // namespace

void CQMPartReferences::AdjustPart(const CSegmentEntry& entry, const std::string& reference,
                                   std::int32_t& minLength, std::int32_t& maxLength, int mode) {
  if (entry.element == nullptr) return;
  CDev& element = *entry.element;
  if (RefPairAt(reference, 8) == "CF") {
    AdjustKit(element, reference, minLength, maxLength, mode);
    return;
  }
  if (RefCharAt(reference, 5) != 'L' || RefCharAt(reference, 8) != 'D') return;
  const std::vector<int> faces = element.ForwardFaces();
  CDev* kit = mode == 0 ? (faces.empty() ? nullptr : element.GetNeighbour(faces.front()))
                        : element.GetBackNeighbour();
  CKitLimits limits;
  if (kit == nullptr || kit->GetKind() != CDev::kInLine || kit->GetVariant() != 0 ||
      m_builder.GetChainEditor().ClampKitcf(*kit, limits) == 0)
    return;
  const auto& [w, x, y, z] = limits.values;
  (void)x;
  const std::int64_t wanted = mode == 0 ? std::int64_t{w} / 2 + kit->GetBookedLength() + y + z
                                        : std::int64_t{element.GetBookedLength()} + w / 2 + y - z;
  if (wanted > minLength && wanted <= maxLength) minLength = Clamp32(wanted);
}

void CQMPartReferences::AdjustKit(CDev& element, const std::string& reference,
                                  std::int32_t& minLength, std::int32_t& maxLength, int mode) {
  CKitLimits limits;
  const bool ok = m_builder.GetChainEditor().ClampKitcf(element, limits) != 0;
  const auto& [w, x, y, z] = limits.values;
  (void)x;
  std::int32_t first = -1, last = -1;
  ParseNumberList(m_run.FindPartRow(reference).texts[2], first, last);
  const std::int64_t length = element.GetBookedLength();
  const CDev* front = element.GetNeighbour(element.GetDirection());
  if (mode != 0) {
    if (ok) {
      minLength = Clamp32(std::max<std::int64_t>(minLength, std::int64_t{w} / 2 - z + y));
      maxLength = Clamp32(std::min<std::int64_t>(maxLength, std::int64_t{last} - w / 2 - y - z));
    }
    const CDev* back = element.GetBackNeighbour();
    if (back != nullptr && back->GetKind() == CDev::kJoint && back->GetActive() < 1 &&
        MakesFourMetres(front, length))
      minLength = maxLength = Clamp32(length);
    return;
  }
  if (ok) minLength = Clamp32(std::max<std::int64_t>(minLength, std::int64_t{w} / 2 + y + z));
  const std::int64_t chain = element.GetChainLength(-1, false);
  if (first >= 0) minLength = Clamp32(std::max<std::int64_t>(minLength, first - chain));
  if (last >= 0) {
    const std::int64_t most = last - chain;
    maxLength = Clamp32(maxLength == 0 ? most : std::min<std::int64_t>(maxLength, most));
  }
  if (MakesFourMetres(front, chain)) minLength = maxLength = front->GetBookedLength();
}
