#pragma once

#include <cstddef>
#include <unordered_map>

#include "platform/draw_types.h"

class CAnnotation;

// Where one view drew the labels of its last pass on the screen: each drawn annotation's
// label rectangle in the view's pixels, and in the scene's logical units (grown to take a
// dimension's line in). Every view keeps its own, so that two views of one layout, each
// at its own size, find a label under the mouse where that view shows it. Printing and
// exports leave it alone.
class CAnnotationPlaces {
 public:
  struct CPlace {
    CRect screen;
    CRect logical;
  };

  // A new pass begins: nothing is drawn.
  void Clear() { m_places.clear(); }
  void Record(const CAnnotation& annotation, const CRect& screen, const CRect& logical) {
    m_places[&annotation] = {screen, logical};
  }
  // Where the annotation was drawn, or null when the last pass did not draw it.
  const CPlace* Find(const CAnnotation& annotation) const {
    const auto it = m_places.find(&annotation);
    return it != m_places.end() ? &it->second : nullptr;
  }
  bool Drawn(const CAnnotation& annotation) const { return Find(annotation) != nullptr; }
  std::size_t Count() const { return m_places.size(); }

 private:
  std::unordered_map<const CAnnotation*, CPlace> m_places;
};
