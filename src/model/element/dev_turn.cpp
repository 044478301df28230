#include "model/element/dev.h"

#include "model/bom/bom_grid.h"
#include "model/element/dev_placement_support.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include <array>
#include <unordered_set>

using namespace dev_placement;

namespace {

// Turn code by the face the branch leaves (row) and the face it goes to (column).
constexpr int kTurnCodes[6][6] = {
    {0, 1, 4, 5, 2, 3}, {3, 0, 7, 9, 1, 8}, {5, 9, 0, 6, 4, 7},
    {4, 7, 6, 0, 5, 9}, {2, 3, 5, 4, 0, 1}, {1, 8, 9, 7, 3, 0},
};

// Face permutation of each turn code; -1 where a code gives no target. Codes 2, 6 and 8
// (a turn toward the face opposite the branch) leave the other four faces where they
// are: a half turn about the branch's axis is no turn of the cross faces.
constexpr int kPermutations[10][6] = {
    {0, 1, 2, 3, 4, 5}, {1, 4, 2, 3, 5, 0}, {4, 1, 2, 3, 0, 5}, {5, 0, 2, 3, 1, 4},
    {2, 1, 4, 0, 3, 5}, {3, 1, 0, 4, 2, 5}, {0, 1, 3, 2, 4, 5}, {0, 2, 5, 1, 4, 3},
    {0, 5, 2, 3, 4, 1}, {0, 3, 1, 5, 4, 2},
};

bool IsVertical(int direction) { return direction == 2 || direction == 3; }

}  // namespace

int CDev::TurnAtFace(int face) {
  if (m_run == nullptr || face < 0 || face >= kFaceCount || GetNeighbour(face) != nullptr) return 0;
  const std::vector<int> branches = ForwardFaces();
  if (m_kind == kElbow) {
    if (branches.empty()) return 0;
    const int branch = branches.front();
    if (face == m_direction) {
      m_run->GetBOM().RemoveRefQuantity(m_reference, 1);
      m_kind = kBend;
      SetReference(m_run->GetKindText(kBend, GetVariant()));
      if (CRunDocument* document = GetDocument()) document->SetPlacementPending(true);
      CDev* beyond = GetNeighbour(branch);
      if (beyond != nullptr && beyond->GetVariantIndex() != GetVariantIndex()) {
        m_run->AddLengthToBOM(m_calibre.str(), -static_cast<std::int64_t>(beyond->m_bookedLength),
                              beyond->GetVariantIndex());
        beyond->SetVariantIndexBoth(GetVariantIndex());
        m_run->AddLengthToBOM(m_calibre.str(), beyond->m_bookedLength, GetVariantIndex());
        beyond->UpdateBoxColors(true);
        UpdateBoxColors(true);
      }
    }
    TurnBranch(branch, face, true);
    return 1;
  }
  if (m_kind == kBend) {
    m_kind = kElbow;
    if (CRunDocument* document = GetDocument()) document->SetPlacementPending(false);
    SetReference(m_run->GetKindText(kElbow, GetVariant()));
    m_run->GetBOM().AddRefQuantity(m_reference, 1);
    TurnBranch(m_direction, face, true);
    return 1;
  }
  return 0;
}

void CDev::TurnBranch(int fromFace, int toFace, bool top) {
  if (fromFace < 0 || fromFace >= kFaceCount || toFace < 0 || toFace >= kFaceCount) return;
  const int code = kTurnCodes[fromFace][toFace];
  if (code == 0) return;
  const int(&permutation)[6] = kPermutations[code];
  // Each element is turned once, after its back neighbour: a damaged chain that links
  // back into itself ends the turn.
  std::unordered_set<const CDev*> turned;
  std::vector<std::pair<CDev*, bool>> pending{{this, top}};
  while (!pending.empty()) {
    auto [element, isTop] = pending.back();
    pending.pop_back();
    if (!turned.insert(element).second) continue;
    const int oldBack = element->GetBackFace();
    if (!isTop) element->TurnDirection(permutation[element->m_direction]);
    std::array<CDev*, kFaceCount> links{};
    std::array<std::unique_ptr<CBox>, kFaceCount> boxes;
    for (int face = 0; face < kFaceCount; ++face) {
      CDev* neighbour = element->m_neighbours[static_cast<std::size_t>(face)];
      if (neighbour == nullptr) {
        // A face box without a neighbour has nothing to join: it goes.
        element->DeleteBox(face);
        continue;
      }
      const int target = isTop && face == oldBack ? face : permutation[face];
      links[static_cast<std::size_t>(target)] = neighbour;
      boxes[static_cast<std::size_t>(target)] = element->m_boxes.Take(face);
    }
    for (int face = 0; face < kFaceCount; ++face) {
      element->m_neighbours[static_cast<std::size_t>(face)] = links[static_cast<std::size_t>(face)];
      element->m_boxes.Put(face, std::move(boxes[static_cast<std::size_t>(face)]));
      element->SetFreeFace(face, links[static_cast<std::size_t>(face)] == nullptr ? 1 : 0);
    }
    if (element->m_kind == kElbow) {
      element->SetPropValue("ELBOW_ANGL", "");
      element->SetPropValue("ELBOW_LENG", "");
      element->UpdateBoxColors(true);
    }
    const std::vector<int> faces = element->ForwardFaces();
    for (auto it = faces.rbegin(); it != faces.rend(); ++it)
      pending.push_back({element->GetNeighbour(*it), false});
  }
  if (!top || m_run == nullptr) return;
  m_run->ApplyRating(this, false);
  RebuildChain();
  if (CDev* back = GetBackNeighbour()) PlaceNextTo(back);
}

void CDev::TurnDirection(int direction) {
  CDev* back = m_neighbours[static_cast<std::size_t>(GetBackFace())];
  const int oldDirection = m_direction;
  if (direction != oldDirection) {
    if (IsVertical(oldDirection) || IsVertical(direction)) {
      m_style &= 0x00FFFFFFu;
      m_style2 &= 0x00FFFFFFu;
      for (const char* name : {"DISJ", "QWA", "QMBPACK", "CAPOT", "CLINQ"}) SetPropValue(name, "");
    }
    m_direction = direction;
    if (m_kind == kEnd && m_run != nullptr && m_run->GetPropText("Catalog").starts_with("QM") &&
        (GetVariant() == 4 || GetVariant() == 10)) {
      m_style = (m_style & ~0xFFu) | 1u;
      m_style2 = m_style;
      UpdateBoxColors(true);
      m_run->GetBOM().RemoveRefQuantity(m_reference, 1);
      SetReference(m_run->GetKindText(kEnd, 1));
      m_run->GetBOM().AddRefQuantity(m_reference, 1);
    }
  }
  if (back != nullptr) {
    const int axis = AxisOf(m_direction);
    C3DPoint position = back->GetPosition();
    const double base = static_cast<double>(static_cast<std::int64_t>(Coordinate(position, axis)));
    SetCoordinate(position, axis,
                  Positive(m_direction) ? base + m_drawnLength : base - m_drawnLength);
    m_position = position;
  }
  m_edited = 1;
}
