#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "geometry/3d_point.h"
#include "view/outlet_drawing.h"
#include "view/outlet_layout.h"
#include "view/support_drawing.h"

class CBox;
class CDev;

// What the element drawing keeps between paints: the support points of each box (its
// "SUPP" text parsed once) and the outlet layout of each length. An entry is used again
// while the element it was made from keeps its position, drawn and costed lengths and
// style; everything is
// dropped by Clear, which the owner calls whenever the document's scene is rebuilt (runs,
// properties or parts changed).
// Boxes may be drawn on several threads at once with one cache: an entry is computed
// outside the lock and stored only while it is still missing or out of date, so that an
// entry handed out stays as it is for the rest of the paint.
class CElementDrawCache {
 public:
  CElementDrawCache();
  // The supports of the box in that slot (none when it shows none).
  const CSupportData& Supports(const CBox& box, int slot);
  // The outlet layout of the chain (its joint must be set) for a side.
  const COutletLayout& Outlets(const COutletChain& chain, int side);
  // Whether the element's run is of a special calibre (grey bands).
  bool SpecialCalibre(const CDev& element);
  // The side of the element's run that holds the neutral ("COTE_NEUTRE" 0..3), or -1.
  int NeutralSide(const CDev& element);
  void Clear();
  // How many support texts and outlet layouts were computed since construction.
  std::size_t Computations() const { return m_computations; }

 private:
  struct ElementKey {
    const CDev* element = nullptr;
    C3DPoint position;
    std::int32_t length = 0;
    // Supports and outlets stand at costed distances: a costed length that changes
    // alone moves them.
    std::int32_t bookedLength = 0;
    std::uint32_t style = 0;
    int partsState = 0;
    bool operator==(const ElementKey&) const = default;
  };
  static ElementKey KeyOf(const CDev* element);
  // An answer about a run, kept in `kept` and remembered by each thread; find() gives it
  // the first time.
  template <class T, class Find>
  T PerRun(std::unordered_map<const void*, T>& kept, const void* run, Find find);
  struct SupportEntry {
    ElementKey key;
    ElementKey boxKey;  // the box's own element: the box moves with it
    CSupportData data;
  };
  struct OutletEntry {
    ElementKey key;
    std::int32_t length = 0;
    COutletLayout layout;
  };

  mutable std::mutex m_mutex;
  std::unordered_map<const CBox*, SupportEntry> m_supports;
  std::unordered_map<std::uintptr_t, OutletEntry> m_outlets;
  std::unordered_map<const void*, bool> m_specialCalibre;  // by run
  std::unordered_map<const void*, int> m_neutralSides;     // by run
  // A number of this cache's own, new at every Clear: a thread's memo of its last answer
  // about a run holds while it carries the number.
  std::atomic<std::uint64_t> m_era;
  std::size_t m_computations = 0;
};
