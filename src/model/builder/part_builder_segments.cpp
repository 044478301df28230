#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "model/element/element_iterator.h"
#include "model/builder/part_builder.h"
#include "model/run/run.h"

namespace {

constexpr int kNoFace = 15;

void SetInLine(CSegmentEntry& entry, const CDev& element) {
  entry.inElement = const_cast<CDev*>(&element);
  entry.inFace = entry.backFace;
  entry.outFace = entry.direction;
  entry.outElement = element.GetNeighbour(entry.direction);
  entry.branchFace = -1;
}

void SetElbowFaces(CSegmentEntry& entry, const CDev& element) {
  entry.inElement = const_cast<CDev*>(&element);
  entry.inFace = entry.backFace;
  entry.outFace = -1;
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    if (face != entry.backFace && element.GetNeighbour(face) != nullptr) {
      entry.outFace = face;
      break;
    }
  }
  entry.outElement = element.GetNeighbour(entry.outFace);
  entry.branchFace = -1;
}

bool HasThroughPair(const CDev& element, int face) {
  return element.GetNeighbour(face) != nullptr &&
         element.GetNeighbour(CBoxOwner::OppositeDirection(face)) != nullptr;
}

CDev* ElementOnFace(const CDev& element, int face) {
  return face == element.GetBackFace() ? const_cast<CDev*>(&element) : element.GetNeighbour(face);
}

void SetTeeFaces(CSegmentEntry& entry, const CDev& element) {
  entry.inFace = kNoFace;
  entry.outFace = kNoFace;
  for (int face = 0; face <= 2; ++face) {
    if (HasThroughPair(element, face)) {
      entry.inFace = face;
      entry.outFace = CBoxOwner::OppositeDirection(face);
      break;
    }
  }
  entry.branchFace = kNoFace;
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    if (face != entry.inFace && face != entry.outFace && element.GetNeighbour(face) != nullptr) {
      entry.branchFace = face;
      break;
    }
  }
  if (element.GetDirection() == entry.inFace) std::swap(entry.inFace, entry.outFace);
  entry.inElement = ElementOnFace(element, entry.inFace);
  entry.outElement = ElementOnFace(element, entry.outFace);
  entry.branchElement = ElementOnFace(element, entry.branchFace);
}

void SetCrossFaces(CSegmentEntry& entry, const CDev& element) {
  SetInLine(entry, element);
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    if (face != entry.inFace && face != entry.outFace && HasThroughPair(element, face)) {
      entry.branchFace = face;
      entry.branchElement = element.GetNeighbour(face);
      break;
    }
  }
}

// Whether the element ends a segment and starts the next one with a copy of its entry.
bool IsSegmentBreak(const CDev& element) {
  const int kind = element.GetKind();
  if (kind == CDev::kInLine) return element.GetVariant() != 0;
  return (kind >= CDev::kElbow && kind <= CDev::kJunction5) || kind == CDev::kInLineVariant ||
         kind == CDev::kJoint;
}

}  // namespace

void CPartBuilder::AppendEntry(CDev& element, std::unique_ptr<CSegment>& open) {
  if (!open) open = std::make_unique<CSegment>();
  CSegmentEntry entry;
  entry.element = &element;
  entry.direction = element.GetDirection();
  entry.backFace = element.GetBackFace();
  switch (element.GetKind()) {
    case CDev::kEnd:
    case CDev::kStraight:
    case CDev::kJunction4:
    case CDev::kJunction5:
    case CDev::kInLine:
    case CDev::kInLineVariant:
    case CDev::kJoint: SetInLine(entry, element); break;
    case CDev::kElbow: SetElbowFaces(entry, element); break;
    case CDev::kJunction2: SetTeeFaces(entry, element); break;
    case CDev::kJunction3: SetCrossFaces(entry, element); break;
    default: break;
  }
  open->push_back(entry);
}

void CPartBuilder::CloseSegments(const CDev& element, bool first, std::unique_ptr<CSegment>& open) {
  const int kind = element.GetKind();
  if (kind == CDev::kEnd || kind == CDev::kStraight) {
    if (!first && open) {
      m_segments.push_back(std::move(*open));
      open.reset();
    }
    return;
  }
  if (IsSegmentBreak(element) && open && open->size() > 1) {
    CSegmentEntry copy = open->back();
    m_segments.push_back(std::move(*open));
    open = std::make_unique<CSegment>();
    open->push_back(copy);
  }
}

void CPartBuilder::CollectSegments() {
  m_segments.clear();
  ++m_segmentsMade;
  CElementIterator walk = m_run.IterateElements(false);
  std::unique_ptr<CSegment> open;
  // Elements that a range's preparation hands back are visited on top of the walk; the
  // bound keeps a preparation that never lets go from holding the rebuild.
  std::size_t budget = 2 * m_run.GetDevices().size() + 64;
  bool first = true;
  for (CDev* element = walk.Next(); element != nullptr && budget > 0; --budget) {
    if (element->GetKind() != CDev::kJoint && element->GetActive() == 0) element->SetActive(1);
    SetBuildMark(*element, 0);
    CDev* next = PrepareElement(*element);
    AppendEntry(*element, open);
    CloseSegments(*element, first, open);
    first = false;
    element = next != nullptr ? next : walk.Next();
  }
  if (open && m_segments.empty()) m_segments.push_back(std::move(*open));
}
