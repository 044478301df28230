#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CArchiveReader;
class CArchiveWriter;
class CRun;

// The bill of materials of one run: one line per catalogue reference with a quantity.
// Every other value of a line lives in the run's records of that reference.
//
// FIRST CUT: only what the run needs to book and unbook references. The grid proper
// (columns, cells, numbering, its stored record) replaces this; until then Serialize
// writes and reads nothing.
class CBOMGrid {
 public:
  // Column kinds read through GetLineFieldText.
  static constexpr int kKindReference = 0;
  static constexpr int kKindQuantity = 1;

  // source: the run whose records hold the line values (null for the total page).
  explicit CBOMGrid(CRun* source = nullptr);

  void SetSource(CRun* source) { m_source = source; }
  CRun* GetSource() const { return m_source; }

  // Adds a quantity (at least 1) of a reference: to its line, or as a new last line.
  // The run is told the line's new quantity. False for a quantity below 1.
  bool AddRefQuantity(std::string_view reference, std::int64_t quantity);
  // Removes up to that quantity (the whole line for a blank reference); a line left at
  // 0 is deleted and the run told so. False when the reference has no line or the
  // amount is below 1.
  bool RemoveRefQuantity(std::string_view reference, std::int64_t quantity);
  // Removes every line, last to first; true when every removal succeeded.
  bool ClearLines();
  // Gives the line of the old reference the new text; false when it has no line.
  bool RenameLine(std::string_view oldReference, std::string_view newReference);

  // Row 1.. of the first line whose reference, trimmed of blanks, equals the trimmed
  // text; -1 when none.
  int FindLine(std::string_view reference) const;
  // Rows in use, title row included (lines + 1).
  int GetLineCount() const { return static_cast<int>(m_lines.size()) + 1; }
  // Kind 0 the reference, 1 the quantity ("%d"); nothing for another kind or a row
  // outside 1..lines.
  std::optional<std::string> GetLineFieldText(int row, int kind) const;
  std::int64_t GetLineQuantity(int row) const;

  const std::string& GetItemPrefix() const { return m_itemPrefix; }
  void SetItemPrefix(std::string_view prefix) { m_itemPrefix = prefix; }
  // Renumbering and refreshing belong to the grid proper; nothing here yet.
  void NumberLines(int mode) { (void)mode; }

  // FIRST CUT: the grid's stored record is not written or read yet.
  void Serialize(CArchiveWriter& archive) const;
  void Serialize(CArchiveReader& archive);

 private:
  struct Line {
    std::string reference;
    std::int64_t quantity = 0;
  };

  CRun* m_source = nullptr;
  std::vector<Line> m_lines;
  std::string m_itemPrefix;
};
