#include "app/message_text.h"
#include "model/dev.h"
#include "ranges/qm/part_builder_qm.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_context.h"
#include "ranges/range_ref_text.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kWalkBound = 65536;

struct CTransformer {
  int kva;
  int calibre;
};
constexpr std::array<CTransformer, 9> kTransformers{{{630, 10},
                                                     {800, 12},
                                                     {1000, 16},
                                                     {1250, 20},
                                                     {1600, 25},
                                                     {2000, 32},
                                                     {2500, 40},
                                                     {3150, 50},
                                                     {3150, 63}}};

int SizeClass(int height) {
  if (height >= 618) return 726;
  if (height >= 324) return 510;
  if (height >= 164) return 350;
  return 230;
}

// The connection accessory by direction group, size class and kVA. The rows the catalogue
// names are kept; the smallest size takes the first kind of its group and the largest
// the last.
int ConnectionKind(bool vertical, int size, int kva) {
  if (vertical) {
    if (size == 230) return 181;
    if (size == 726) return 183;
    if (size == 510) return 182;
    return kva <= 1000 ? 181 : (kva <= 1600 ? 182 : 183);
  }
  if (size == 230) return 171;
  if (size == 726) return 174;
  if (size == 510) return kva <= 1600 ? 171 : (kva <= 2000 ? 172 : 173);
  return kva <= 800 ? 171 : (kva <= 1000 ? 172 : (kva <= 1600 ? 173 : 174));
}

}  // namespace

// A transformer connection: the accessory of the transformer's size, with the group.
bool CPartBuilderQM::AddTransformerConnection(CDev& element, const std::string& group) {
  if (((element.GetStyle() >> 24) & 3) != 2) return false;
  if (element.GetDirection() == 2 && element.GetBackNeighbour() != nullptr) return false;
  int calibre = TextToInt(m_qm.GetPropText("Calibre"));
  if (m_qm.GetPropText("Catalog") == "QMC" && calibre == 10) calibre = 9;
  if (calibre == 13) calibre = 12;
  int k = std::clamp(TextToInt(element.GetFieldText("QWA").value_or("")), 0, 9);
  if (k == 9) k = 8;
  if (k == 0) {
    for (std::size_t i = 0; i < kTransformers.size() && k == 0; ++i)
      if (kTransformers[i].calibre == calibre) k = static_cast<int>(i) + 1;
  }
  const bool fits =
      k > 0 && (kTransformers[static_cast<std::size_t>(k - 1)].calibre == calibre ||
                (k < 9 && kTransformers[static_cast<std::size_t>(k)].calibre == calibre));
  if (!fits) {
    if (calibre > 0 && !HasErrors()) {
      int amperes = (calibre == 9 ? 10 : calibre) * 100;
      if (calibre == 12 || calibre == 13) amperes += 50;
      CRangeContext::Instance().Notify(kTransformerMessage, std::to_string(amperes));
    }
    return false;
  }
  const int size = SizeClass(m_qm.FindReference().Height());
  const int d = element.GetDirection();
  const int kind =
      ConnectionKind(d == 2 || d == 3, size, kTransformers[static_cast<std::size_t>(k - 1)].kva);
  if (GetRun().AddAccessoryParts(kind, 1, group) == 0) return false;
  element.SetFieldText("POS1", "07" + m_qm.GetElementRef(kind) + group);
  return true;
}

namespace {

// The length of line from the piece along the face, up to and including the first piece
// that ends a line (a unit, an elbow or a joint).
std::int64_t LegLength(const CDev* piece, int face) {
  std::int64_t length = 0;
  std::unordered_set<const CDev*> seen;
  for (int step = 0; piece != nullptr && step < kWalkBound && seen.insert(piece).second; ++step) {
    length += piece->GetBookedLength();
    if (piece->GetKind() < CDev::kInLine || piece->GetKind() == CDev::kJoint) break;
    piece = piece->GetNeighbour(face);
  }
  return length;
}

// The joint or unit that the element's stretch starts from. Every element carries the
// line behind it, so the walk begins behind the element; an element with nothing behind
// it starts its stretch itself. Null when the walk finds no start.
const CDev* StretchStart(const CDev& element) {
  const CDev* start = element.GetBackNeighbour();
  if (start == nullptr) return &element;
  std::unordered_set<const CDev*> seen{&element};
  for (int step = 0; start != nullptr && step < kWalkBound && seen.insert(start).second; ++step) {
    if (start->GetKind() == CDev::kJoint || start->GetKind() == CDev::kEnd) return start;
    start = start->GetBackNeighbour();
  }
  return nullptr;
}

}  // namespace

// An elbow's second leg leaves by the face its turn points to; an elbow that ends the run
// has no second leg and gets no supports of its own.
std::string CPartBuilderQM::ElbowSupports(const CDev& elbow, const std::string& family, int d,
                                          std::int64_t length) const {
  const std::vector<int> faces = elbow.ForwardFaces();
  if (faces.empty()) return {};
  const CReferenceRow row = m_qm.FindReference();
  const int e = faces.front();
  return ElbowSupportText(
      family, {d, e, length, LegLength(elbow.GetNeighbour(e), e), row.values[1], row.values[2]});
}

// The supports of a piece: the stretch from the joint or unit behind it up to the next
// piece that ends a line; an elbow also by its second leg.
void CPartBuilderQM::SetSupportCodes(CDev& element) {
  const CDev* start = StretchStart(element);
  if (start == nullptr) return;
  const int d = start->GetDirection();
  const CDev* first = start->GetNeighbour(d);
  const std::int64_t length = LegLength(first, d);
  const std::string family = RefPairAt(element.GetReference(), 7);
  const bool onSide =
      first != nullptr && (first->GetRotation() == 16 || first->GetRotation() == 64);
  std::string text = StraightSupportText(family, d, length, onSide);
  if (text.empty()) text = FittingSupportText(family, d);
  if (text.empty() && element.GetKind() == CDev::kElbow)
    text = ElbowSupports(element, family, d, length);
  if (text.empty()) return;
  element.SetPropValue("SUPP", text);
  const int count = CountQMSupports(text, family) * (m_twin ? 2 : 1);
  SetSupportCount(std::min(GetSupportCount() + count, kMaxCount * 100));
}
