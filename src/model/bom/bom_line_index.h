#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/bom/bom_line.h"

// The lines of a bill-of-materials grid by reference, so that finding the line of a
// reference costs one hash look-up instead of a walk over every line.
//
// Keys are references trimmed of blanks at both ends and, on a total page, cut at
// their group suffix first. The index keeps pointers to lines (which the grid owns and
// keeps at stable addresses) and reads their row fields, so moving lines needs no
// upkeep; a line's reference must not change while the line is indexed (Erase, change,
// Insert).
class CBOMLineIndex {
 public:
  // Whether keys are cut at the group suffix; empties the index.
  void SetCutsGroupSuffix(bool cut);
  bool CutsGroupSuffix() const { return m_cutsGroupSuffix; }

  std::string KeyOf(std::string_view reference) const;

  void Clear() { m_lines.clear(); }
  // Room for that many more lines, so that lines added in bulk do not regrow the index
  // step by step.
  void ReserveMore(std::size_t count) { m_lines.reserve(m_lines.size() + count); }
  void Insert(CBOMLine& line);
  // Insert for a line known not to be indexed: no look among the lines of its key.
  void InsertNew(CBOMLine& line);
  void Erase(const CBOMLine& line);

  // The indexed line of the text's key with the smallest row within first..last; null
  // when none.
  CBOMLine* Find(std::string_view text, int first, int last) const;

 private:
  std::string_view KeyView(std::string_view reference) const;

  // Looks keys up without making a text of them: a bill being read looks up each line.
  struct CTextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  bool m_cutsGroupSuffix = false;
  // A key nearly always has one line: an entry each, rather than a list each.
  std::unordered_multimap<std::string, CBOMLine*, CTextHash, std::equal_to<>> m_lines;
};
