#include "view/annotation_update.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <memory>
#include <optional>
#include <string>

#include "app/message_text.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/phase_order.h"
#include "model/run/run.h"
#include "view/annotation_geometry.h"

namespace {

constexpr int kMsgAutomaticText = 30059;
constexpr int kItemNumberField = 23;
constexpr int kSideTurnIgnored = 1000;
constexpr double kBranchDistance = 650.0;
constexpr std::int32_t kLengthClearance = 200;
constexpr std::uint32_t kFlagRunsOn = 0x002;
constexpr std::uint32_t kFlagEllipse = 0x004;
constexpr std::uint32_t kFlagSide = 0x008;
constexpr std::uint32_t kFlagAutomaticText = 0x110;
// The automatic text shows the values of the element's connection box.
constexpr std::uint32_t kFlagConnectionText = 0x800;
constexpr int kConnectionTextMode = 3;
constexpr int kMarkShift = 24;
constexpr int kMarkBoxShift = 28;
constexpr int kSlotCount = 6;  // branch, length, marks 0..2, text
constexpr int kTextSlot = 5;

int MarkNumber(const CAnnotation& a) {
  return static_cast<int>((a.GetFlags() >> kMarkShift) & 0xF);
}

// The slot of an element's own annotation; -1 for one the update leaves alone, kSlotCount
// for a mark numbered 3 or more (deleted).
int SlotOf(const CAnnotation& a) {
  switch (a.GetKind()) {
    case CAnnotation::kBranch: return 0;
    case CAnnotation::kDimension: return 1;
    case CAnnotation::kPosition: return std::min(2 + MarkNumber(a), kSlotCount);
    case CAnnotation::kText:
      return (a.GetFlags() & (CAnnotation::kFlagAttached | CAnnotation::kFlagUserAttached)) ==
                     CAnnotation::kFlagAttached
                 ? kTextSlot
                 : -1;
    default: return -1;
  }
}

struct CWanted {
  bool branch = false;
  bool length = false;
  std::array<int, 3> markLine{};  // 0: no mark
  std::array<int, 3> markBox{};
  int textMode = 0;
  std::array<int, 3> connection{};  // A, B, C of text mode 3
};

bool StyleMarked(const CDev& e) { return ((e.GetStyle() >> 8) & 0xFu) != 0; }
bool PhaseElement(const CDev& e) {
  return e.GetKind() == CDev::kInLineVariant && (e.GetVariant() == 7 || e.GetVariant() == 8);
}

// The values of the element's connection box that the automatic text shows; none when
// the element has no box set.
std::optional<std::array<int, 3>> ConnectionValues(const CDev& e) {
  const CRunDocument* document = e.GetDocument();
  const auto values = document != nullptr ? document->GetEquipmentValues(e) : std::nullopt;
  if (!values) return std::nullopt;
  const CConnectionBoxValues box{(*values)[0], (*values)[1], (*values)[2],
                                 (*values)[3], (*values)[4], (*values)[5]};
  return ConnectionTextValues(box, (e.GetStyle() & 0x0C000000u) == 0x04000000u);
}

int TextMode(const CDev& e, const CRun& run, std::array<int, 3>& connection) {
  int mode = 0;
  if (PhaseElement(e)) mode = 1;
  if (e.GetKind() == CDev::kEnd && e.GetNeighbour(e.GetDirection()) != nullptr &&
      GetPhaseOrderAt(e, 0) > 0)
    mode = 2;
  if (e.GetKind() == CDev::kEnd && e.GetVariant() == 4 &&
      run.GetPropText("Catalog").rfind("QM", 0) == 0)
    mode = kConnectionTextMode;
  bool marked = false;
  bool phases = false;
  for (const CDev* other : run.GetDevices()) {
    if (!other->IsActive() || other->GetKind() > CDev::kBend) continue;
    marked = marked || StyleMarked(*other);
    phases = phases || PhaseElement(*other);
  }
  if (mode == 1 && !marked) mode = 0;
  if (mode == 2) mode = marked && !phases ? 1 : 0;
  if (mode == kConnectionTextMode) {
    const std::optional<std::array<int, 3>> values = ConnectionValues(e);
    if (values) connection = *values;
    else mode = 0;
  }
  if (mode != 0 && !e.GetFieldText("NOTEXT").value_or("").empty()) mode = 0;
  return mode;
}

CWanted Wanted(const CDev& e, const CRun& run, const CLabelStyleSlots& slots) {
  CWanted wanted;
  const CBOMGrid& grid = run.GetBOM();
  const bool built = run.GetPartsState() != 0;
  wanted.branch = e.GetKind() <= CDev::kInLineVariant && e.GetBackNeighbour() != nullptr;
  wanted.length = e.GetKind() != CDev::kTapOff && e.GetBookedLength() >= 1 &&
                  ((slots[kLabelDimension].flags & 1) != 0 || built);
  // The automatic text depends neither on the element's line nor on the label styles.
  wanted.textMode = e.GetKind() == CDev::kTapOff ? 0 : TextMode(e, run, wanted.connection);
  const int line = grid.FindLine(e.GetReference());
  if (line < 1 || ((slots[kLabelPosition].flags & 1) == 0 && !built)) return wanted;
  wanted.markLine[0] = line;
  for (int n = 1; n <= 2; ++n) {
    const std::string field = e.GetFieldText(n == 1 ? "POS1" : "POS2").value_or("");
    if (field.size() < 2) continue;
    const int found = grid.FindLine(std::string_view(field).substr(2));
    int box = 0;
    std::from_chars(field.data(), field.data() + 2, box);
    if (found >= 1 && box > 0 && box < CDev::kSlotCount) {
      wanted.markLine[static_cast<std::size_t>(n)] = found;
      wanted.markBox[static_cast<std::size_t>(n)] = box;
    }
  }
  return wanted;
}

// The side of a new length dimension: away from the first elbow or junction around E.
int LengthSide(const CDev& e) {
  const CDev* reference = nullptr;
  const std::size_t bound = e.GetRun() != nullptr ? e.GetRun()->GetDevices().size() + 1 : 1;
  const auto isCorner = [](const CDev* d) {
    return d != nullptr && (d->GetKind() == CDev::kElbow || d->GetKind() == CDev::kJunction2);
  };
  for (int pass = 0; pass < 2 && reference == nullptr; ++pass) {
    const CDev* current = &e;
    for (std::size_t step = 0; current != nullptr && step <= bound; ++step) {
      if (isCorner(current)) {
        reference = current;
        break;
      }
      current = pass == 0 ? current->GetNeighbour(e.GetBackFace())
                          : current->GetNeighbour(current->GetDirection());
    }
  }
  if (reference != nullptr)
    for (int i = 0; i < 6; ++i)
      if (reference->GetNeighbour(i) != nullptr && i != e.GetDirection() && i != e.GetBackFace())
        return CBoxOwner::OppositeDirection(i);
  return e.GetDirection() == 1 || e.GetDirection() == 5 ? 0 : 5;
}

int AxisOfDirection(int direction) {
  if (direction == 0 || direction == 4) return 0;
  if (direction == 1 || direction == 5) return 2;
  return 1;
}

class CElementUpdate {
 public:
  CElementUpdate(CDorneDoc& document, CDev& element, const CLabelStyleSlots& slots,
                 std::vector<CAnnotation*>& owned)
      : m_document(document),
        m_list(document.Annotations()),
        m_e(element),
        m_slots(slots),
        m_owned(owned) {}

  void Run() {
    const CRun* run = m_e.GetRun();
    if (run == nullptr) return;
    const CWanted wanted = Wanted(m_e, *run, m_slots);
    Sweep();
    UpdateBranch(wanted.branch);
    UpdateLength(wanted.length);
    for (std::size_t n = 0; n < 3; ++n) UpdateMark(static_cast<int>(n), wanted);
    UpdateText(wanted.textMode, wanted.connection);
  }

 private:
  void Sweep() {
    for (std::size_t i = m_owned.size(); i-- > 0;) {
      CAnnotation* a = m_owned[i];
      const int slot = SlotOf(*a);
      if (slot < 0) continue;
      if (slot < kSlotCount && m_kept[static_cast<std::size_t>(slot)] == nullptr) {
        m_kept[static_cast<std::size_t>(slot)] = a;
      } else {
        Remove(a);
      }
    }
  }

  void Remove(CAnnotation* a) {
    m_owned.erase(std::find(m_owned.begin(), m_owned.end(), a));
    m_list.Remove(a);
  }

  CAnnotation*& Kept(int slot) { return m_kept[static_cast<std::size_t>(slot)]; }

  void Drop(int slot) {
    if (Kept(slot) != nullptr) Remove(Kept(slot));
    Kept(slot) = nullptr;
  }

  CAnnotation& Make(int kind, std::uint32_t flags) {
    auto made = std::make_unique<CAnnotation>(kind);
    made->SetOwnerElement(&m_e);
    made->SetFlags(flags);
    return Append(std::move(made));
  }

  CAnnotation& Append(std::unique_ptr<CAnnotation> made) {
    CAnnotation& appended = m_list.Append(std::move(made));
    m_owned.push_back(&appended);
    return appended;
  }

  std::string Length(double value, int styleIndex) const {
    CDimension units = m_document.GetUnits();
    units.SetSuffixFlag((m_slots[static_cast<std::size_t>(styleIndex)].flags & 2) != 0);
    return units.FormatLength(value);
  }

  void UpdateBranch(bool wanted) {
    const std::optional<CBranchEnd> end = wanted ? FindBranchEnd(m_e) : std::nullopt;
    if (!end) return Drop(0);
    const bool made = Kept(0) == nullptr;
    CAnnotation& a = made ? Make(CAnnotation::kBranch, kFlagRunsOn) : *Kept(0);
    const double previous = made ? -1 : m_document.GetUnits().Parse(a.GetText());
    a.SetText(Length(end->length, kLabelBranch));
    if (!made &&
        static_cast<std::int64_t>(previous + 0.5) == static_cast<std::int64_t>(end->length))
      return;
    const CBox* body = m_e.GetBox(CBoxOwner::kBodySlot);
    if (body == nullptr) return;
    const int face = body->MapSideToFace((a.GetFlags() & kFlagSide) != 0 ? 2 : 0, kSideTurnIgnored);
    const C3DPoint v = body->GetFaceNormal(face) * kBranchDistance;
    const CPoint offset = m_document.Projection().ProjectPoint(v);
    a.SetOffset(offset.x, offset.y);
    a.SetLabelPoint((m_e.GetPosition() + end->element->GetPosition()) * 0.5 + v -
                    m_e.GetPosition());
  }

  void UpdateLength(bool wanted) {
    const CDev* back = m_e.GetBackNeighbour();
    if (!wanted || back == nullptr) return Drop(1);
    CAnnotation* a = Kept(1);
    if (a == nullptr) {
      a = &Make(CAnnotation::kDimension, kFlagRunsOn);
      PlaceLength(*a, *back);
    }
    a->SetText(Length(m_e.GetBookedLength(), kLabelDimension));
  }

  void PlaceLength(CAnnotation& a, const CDev& back) {
    a.SetLabelPoint((m_e.GetPosition() + back.GetPosition()) * 0.5 - m_e.GetPosition());
    const CBox* body = m_e.GetBox(CBoxOwner::kBodySlot);
    const CBox* backBox = m_e.GetBox(m_e.GetBackFace());
    if ((m_slots[kLabelDimension].flags & 4) != 0 || body == nullptr || backBox == nullptr) return;
    const int side = LengthSide(m_e);
    const int axis = AxisOfDirection(m_e.GetBackFace());
    std::int32_t larger = 0;
    for (int i = 0; i < 3; ++i)
      if (i != axis) larger = std::max(larger, std::abs(backBox->GetExtent(i)));
    const int sideFace = body->MapSideToFace(2, kSideTurnIgnored);
    const bool flip = sideFace == side || sideFace == CBoxOwner::OppositeDirection(side);
    a.SetFlags(flip ? a.GetFlags() | kFlagSide : a.GetFlags() & ~kFlagSide);
    const C3DPoint v = body->GetFaceNormal(side) * (larger / 2 + kLengthClearance);
    a.SetLabelPoint(a.GetLabelPoint() + v);
    const CPoint offset = m_document.Projection().ProjectPoint(v);
    a.SetOffset(offset.x, offset.y);
  }

  void UpdateMark(int n, const CWanted& wanted) {
    const auto index = static_cast<std::size_t>(n);
    if (wanted.markLine[index] == 0) return Drop(2 + n);
    CAnnotation* a = Kept(2 + n);
    if (a == nullptr) {
      std::uint32_t flags =
          m_e.GetKind() == CDev::kJoint ? kFlagRunsOn | kFlagEllipse : kFlagEllipse;
      if (n > 0)
        flags |= (static_cast<std::uint32_t>(n) << kMarkShift) |
                 (static_cast<std::uint32_t>(wanted.markBox[index]) << kMarkBoxShift);
      a = &Make(CAnnotation::kPosition, flags);
    }
    const CBOMGrid& grid = m_e.GetRun()->GetBOM();
    a->SetText(grid.GetLineFieldText(wanted.markLine[index], kItemNumberField).value_or(""));
  }

  void UpdateText(int mode, const std::array<int, 3>& connection) {
    if (mode == 0) return Drop(kTextSlot);
    if (Kept(kTextSlot) == nullptr) MakeText();
    if (mode != kConnectionTextMode) return;
    CAnnotation& text = *Kept(kTextSlot);
    text.SetText("A = " + std::to_string(connection[0]) + "\nB = " + std::to_string(connection[1]) +
                 "\nC = " + std::to_string(connection[2]));
    text.SetFlags(text.GetFlags() | kFlagConnectionText);
  }

  void MakeText() {
    auto label = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
    label->SetFlags(kFlagAutomaticText);
    label->SetOwnerElement(&m_e);
    label->SetText(StringText(kMsgAutomaticText));
    const CLabelStyle& style = m_slots[kLabelText];
    label->SetFont(style.font);
    label->SetFontColor(style.fontColor.ToColorRef());
    label->SetBackground(style.background.ToColorRef());
    label->SetOpaque(1);
    label->SetOffset(0, 1000);
    Kept(kTextSlot) = &Append(std::move(label));
  }

  CDorneDoc& m_document;
  CAnnotationList& m_list;
  CDev& m_e;
  const CLabelStyleSlots& m_slots;
  std::vector<CAnnotation*>& m_owned;
  std::array<CAnnotation*, kSlotCount> m_kept{};
};

}  // namespace

void UpdateElementAnnotations(CDorneDoc& document, CDev& element, const CLabelStyleSlots& slots,
                              CElementAnnotationIndex& index) {
  CElementUpdate(document, element, slots, index[&element]).Run();
}

void UpdateElementAnnotations(CDorneDoc& document, CDev& element, const CLabelStyleSlots& slots) {
  CElementAnnotationIndex index = IndexElementAnnotations(document.Annotations());
  UpdateElementAnnotations(document, element, slots, index);
}

CElementAnnotationIndex IndexElementAnnotations(const CAnnotationList& list) {
  CElementAnnotationIndex index;
  for (std::size_t i = 0; i < list.Size(); ++i) {
    CAnnotation* a = list.At(i);
    if (a->GetOwnerKind() == EAnnotationOwner::kElement && a->GetOwnerElement() != nullptr)
      index[a->GetOwnerElement()].push_back(a);
  }
  return index;
}
