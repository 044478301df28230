#pragma once

#include "geometry/pointer_map.h"
#include "model/annotation/annotation.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class CDev;
class CRun;

// The document's annotations: owns them, in list order (searched from the last to the
// first). Owners, ends and linked runs are set before an annotation is appended.
class CAnnotationList {
 public:
  CAnnotationList() = default;
  CAnnotationList(const CAnnotationList&) = delete;
  CAnnotationList& operator=(const CAnnotationList&) = delete;

  CAnnotation& Append(std::unique_ptr<CAnnotation> annotation);
  // Takes the annotation out of the list; null when it is not in it.
  std::unique_ptr<CAnnotation> Remove(const CAnnotation* annotation);
  void Clear();
  // Moves every annotation of the other list to the end of this one, in their order.
  void AppendAllOf(CAnnotationList& other);
  void Swap(CAnnotationList& other) noexcept {
    m_items.swap(other.m_items);
    std::swap(m_mentions, other.m_mentions);
    ++m_changes;
    ++other.m_changes;
  }
  // Counts the changes of the list and of its annotations' places and texts (Touch), so
  // that a picture drawn from the list can tell that it is out of date.
  std::uint64_t Changes() const { return m_changes; }
  void Touch() { ++m_changes; }
  // After annotations of the list had their owner, ends or linked run changed in place
  // (a dialog's OK): what the list knows of the objects they name is made again, so that
  // the death of those objects still reaches them.
  void RecountMentions();
  // Turns the list order round (a loaded list comes in the reverse of the stored order).
  void Reverse();

  std::size_t Size() const { return m_items.size(); }
  CAnnotation* At(std::size_t index) const { return m_items.at(index).get(); }
  bool Contains(const CAnnotation* annotation) const;

  // An element dies: its kinds 0..2 and its attached labels go and, with dimensions,
  // every user dimension that ends at it.
  void RemoveElementAnnotations(const CDev& element, bool withDimensions);
  // A run dies: its kinds 3..5 go; an annotation linked to it loses the link and goes
  // when it is shown only with that run.
  void RemoveRunAnnotations(const CRun& run);
  // Annotations linked to the old run are linked to the new one.
  void RetargetRun(const CRun& oldRun, CRun& newRun);
  // Copies for a run copied from another: element labels move to the element at the
  // same chain position, user dimensions whose two ends lie in the source are copied
  // with their ends mapped the same way.
  void CopyRunAnnotations(const CRun& source, CRun& copy);
  // Links every annotation with the with-run flag to the run of the index its flags
  // carry (1-based), none when out of range.
  void ResolveLinkedRuns(const std::vector<CRun*>& runs);

 private:
  void Count(const CAnnotation& annotation, int delta);
  bool Mentions(const void* object) const;
  void EraseAt(std::size_t index);

  std::vector<std::unique_ptr<CAnnotation>> m_items;
  // How many annotations name each element or run (owner, end or linked run), so that
  // the many elements without annotations are passed over at once.
  // Kept in open addressing, without a block per entry: a file being opened appends
  // thousands of annotations one by one.
  CPointerMap<void, int> m_mentions;
  std::uint64_t m_changes = 0;
};
