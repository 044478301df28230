#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/run/indexed_devices.h"

class CDev;

// The index of a run's two element lists (devices and length records) by trimmed
// reference: each reference leads to the elements that carry it in list order, so that
// a booking, a quantity or a renaming finds its records without a pass over every
// device. It keeps the tap-off units of the device list beside it, so that deleting an
// element finds the units attached to it the same way.
class CRunRefIndex {
 public:
  static constexpr int kDeviceList = 0;
  static constexpr int kLengthList = 1;
  using CIndexedDevices = ::CIndexedDevices;

  // Files the element at the end of the list, out of any place it had before.
  void Insert(CDev& element, int list);
  void Erase(CDev& element);
  // Files a listed element under its new reference, keeping its place in list order.
  void Rekey(CDev& element);
  // Forgets every element of the list without touching them: they may be gone already,
  // or listed by another run. Their keys point into the index: an element still listed
  // here must not be erased from it afterwards.
  void Clear(int list);

  const CIndexedDevices* Find(std::string_view reference, int list) const;
  // The first element in list order whose whole reference is the text (blanks count).
  CDev* First(std::string_view reference, int list) const;
  const std::unordered_set<CDev*>& TapOffUnits() const { return m_tapOffUnits; }
  // A mark of what the lists hold under which reference, in which order: the same exactly
  // as long as no element was filed, unfiled, rekeyed or cleared since; never 0, and never
  // shared by two states of any indexes, so that what was found under it may be kept.
  std::uint64_t GetState() const;

 private:
  // Looks texts up without making a key of them: a document being opened files tens of
  // thousands of elements, most under a reference already filed.
  struct CTextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  using CIndex = std::unordered_map<std::string, CIndexedDevices, CTextHash, std::equal_to<>>;

  void Unfile(CDev& element);
  void File(CDev& element);

  std::array<CIndex, 2> m_lists;
  std::uint64_t m_nextStamp = 1;
  // Taken anew when asked after a change, so that filing costs no shared counter.
  mutable std::uint64_t m_state = 0;
  mutable bool m_changedSinceState = true;
  std::unordered_set<CDev*> m_tapOffUnits;
};
