#pragma once

#include <cstdint>
#include <vector>

#include "reference/ref_project.h"

class CRefConfig;

// Codes of the configurator's tree items. A line's code is its index in the project
// (1..100); the other items have codes no line can have.
inline constexpr int kRefCodeProject = -999;
inline constexpr int kRefCodeLightingRange = -3;
inline constexpr int kRefCodeLightingCalc = -4;
inline constexpr int kRefMaxLines = CRefProject::kLineCount - 1;

constexpr int RefGroupCode(int group) { return -2000 - group; }
constexpr int RefProductNodeCode(int group, int kind) { return -(1000 + 10 * group + kind); }
constexpr int RefNewLineCode(int group, int kind) { return 1000 + 10 * group + kind; }
constexpr bool IsRefLineCode(int code) { return code >= 1 && code <= kRefMaxLines; }
constexpr bool IsRefNewLineCode(int code) { return code >= 1000 && code < 1040; }
constexpr bool IsRefProductNodeCode(int code) { return code <= -1000 && code > -1040; }
constexpr bool IsRefGroupCode(int code) { return code <= -2000 && code > -2004; }

// The number of lines a project holds (its line count, held to 0..100).
int RefLineCount(const CRefProject& project);

// Walks the lines as the tree shows them: the offered groups 0..3, in each the offered
// products from kind 8 down to 0, in each its lines in order. A line counts when filter
// is the project, its group's, its product's or its own code. With n >= 1 the index of
// the n-th counted line (-1 when there are fewer), with n = 0 how many count.
int FindRefLine(const CRefProject& project, const CRefConfig& config, int n, int filter);

// The working record becomes the new last line; its index, or -1 when the project is full
// (the working record is then left as it was).
int AppendRefLine(CRefProject& project);

// Removes a line, the later ones moving down by one; false for an index that is no line.
bool DeleteRefLine(CRefProject& project, int index);

// A tree code after line `deleted` went: later lines' codes fall by one, others stay.
constexpr int RenumberedRefCode(int code, int deleted) {
  return IsRefLineCode(code) && code > deleted ? code - 1 : code;
}

// How many lines of a group and product the project holds.
int CountRefLinesOf(const CRefProject& project, int group, int kind);

// The lines a filter selects, in the order of FindRefLine.
std::vector<int> RefSelection(const CRefProject& project, const CRefConfig& config, int filter);

// The amount of a record's items in hundredths, as its total row shows it.
std::int64_t RefRecordAmount(const CRefProject& project, int index);
