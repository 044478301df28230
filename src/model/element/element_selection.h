#pragma once

class CDev;

// The element selection of a layout document: an element and the face index shown (0..5
// a face, kWholeElement the whole element), or none. Elements clear it when they die.
class CElementSelection {
 public:
  static constexpr int kWholeElement = 6;
  static constexpr int kNoFace = -1;

  // The selection the element is seen in: its document's, or its run's own when the run
  // has no document. An element outside any run is never selected: it gets an empty
  // selection that forgets whatever is put into it.
  static CElementSelection& Of(const CDev& element);

  CDev* Element() const { return m_element; }
  // The face index of the selection; kNoFace when nothing is selected.
  int Face() const { return m_element != nullptr ? m_face : kNoFace; }
  void Select(CDev* element, int face);
  void Clear() { Select(nullptr, kNoFace); }
  // Clears the selection when it is that element.
  void Forget(const CDev* element);

 private:
  CDev* m_element = nullptr;
  int m_face = kNoFace;
};
