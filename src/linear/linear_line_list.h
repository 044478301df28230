#pragma once

#include <array>
#include <string>

#include "linear/linear_line.h"
#include "linear/linear_products.h"

class CLinearConfig;

// The line records of a linear project: up to 100 lines in creation order and, after
// them, the working record that the editor fills (index LineCount()).
class CLinearLineList {
 public:
  // FindLine filters.
  static constexpr int kAllLines = -999;
  static constexpr int GroupFilter(int group) { return -1000 - group; }

  int LineCount() const { return m_count; }
  CLinearLine& Line(int index) { return m_lines[Clamp(index)]; }
  const CLinearLine& Line(int index) const { return m_lines[Clamp(index)]; }
  CLinearLine& Working() { return m_lines[static_cast<std::size_t>(m_count)]; }
  const CLinearLine& Working() const { return m_lines[static_cast<std::size_t>(m_count)]; }

  // Starts a new line of the group in the working record; false when the project
  // already holds 100 lines.
  bool BeginNewLine(int group);
  // Copies line index into the working record; false for an index that is no line.
  bool EditLine(int index);
  // The name proposed for a new line of the group: the text of message 31011, a blank
  // and the number of lines of the group plus one.
  std::string ProposedName(int group) const;
  // Makes the working record a line with that name; the new index, or -1 when full.
  int SaveWorkingAsNew(const std::string& name);
  // Copies the working record back onto line index; false for an index that is no line.
  bool SaveWorkingOver(int index);
  // Removes line index; the lines after it move down one place. False for no line.
  bool DeleteLine(int index);
  bool RenameLine(int index, const std::string& name);
  // Lines read from a file: records 0..count-1 are filled by the caller.
  void SetLineCount(int count);

  // The walk over lines: groups 0..3 in order (those enabled only), within a group the
  // lines of that group in index order. A line matches filter kAllLines, its group's
  // filter, or its own index. n = 0 counts the matches; n >= 1 gives the index of the
  // n-th match, -1 when there are fewer.
  int FindLine(int n, int filter, const std::array<bool, kLinearGroupCount>& enabled) const;

  // Sets the working record's product and rating, resetting its slots as a change of
  // product asks (a change within QMA/QMC, QWA/QWC or QYA/QYB keeps them) and applying
  // the rating limits of the product; then the degree of protection follows.
  void SetProductAndRating(int product, int rating, const CLinearConfig& config);
  // The degree of protection of the working record from its product and variant; when
  // it changes, slot 14 is reset from the option table.
  void UpdateIpDegree(const CLinearConfig& config);

 private:
  static std::size_t Clamp(int index) {
    return static_cast<std::size_t>(index < 0                 ? 0
                                    : index > kLinearMaxLines ? kLinearMaxLines
                                                              : index);
  }
  std::array<CLinearLine, kLinearMaxLines + 1> m_lines;
  int m_count = 0;
};
