#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CDev;
class CRunDocument;

// The sizes (width, height, depth) and offsets (x, y, z) of a feed unit's connection
// box, in whole millimetres.
using CConnectionValues = std::array<std::int32_t, 6>;

// The rules of the feed dimensions dialog: the connection box's values as the dialog
// shows them (on a QM feed unit with breaker the offsets count from the box's edges),
// the catalogue's dimension sets of the connection, and the values typed written back
// clamped to what the catalogue builds.
class CFeedDimensions {
 public:
  struct CSet {
    std::string name;
    int value = -1;  // -1 the user's own values, else the set's number less one
    CConnectionValues values{};
  };

  // Reads the element's box (made unset when the element has none) and the sets of the
  // connection key that the feed unit page gives.
  CFeedDimensions(CDev& element, const std::string& connectionKey);

  bool IsShifted() const { return m_shifted; }
  // The values as shown.
  const CConnectionValues& GetValues() const { return m_values; }
  // The entries of the set list in list order, the selected one, and whether the list is
  // shown (switchboard connections "ULM" and "VEK" only).
  const std::vector<CSet>& GetSets() const { return m_sets; }
  int GetSelectedSet() const { return m_selected; }
  bool AreSetsShown() const { return m_setsShown; }

  // Each shown value clamped to its range and truncated to whole millimetres.
  CConnectionValues Clamp(const std::array<double, 6>& typed) const;
  // The clamped values written to the connection box (one undo step) and the element
  // rebuilt; returns the values as they are then shown.
  CConnectionValues Store(const std::array<double, 6>& typed);

  // Shown values from stored ones and back (the inverse on a shifted unit).
  static CConnectionValues ToShown(const CConnectionValues& stored, bool shifted, int option);
  static CConnectionValues ToStored(const CConnectionValues& shown, bool shifted, int option);
  // A catalogue row's five numbers as sizes and offsets: the fifth packs z above 100000.
  static CConnectionValues FromRow(const std::array<std::int32_t, 5>& row);

 private:
  void LoadSets(const std::string& connectionKey);

  CDev& m_element;
  bool m_shifted = false;
  int m_option = 0;
  CConnectionValues m_values{};
  std::vector<CSet> m_sets;
  int m_selected = -1;
  bool m_setsShown = false;
};
