#pragma once

#include <array>
#include <string>
#include <vector>

#include "reference/ref_line.h"

// What the equipment quantity dialog is opened with: the line's product and modes, the
// product's component states T (56 entries) and the configurator's numbers that its
// texts name.
struct CRefEquipSetup {
  int product = 0;
  int lineMode = 1;
  int connection = 0;
  int rating = 0;
  int length = 0;         // metres
  int fixingSpacing = 0;  // centimetres
  int specialMode = 0;
  bool lineOptions = false;  // opened for the line options, not the equipment
  bool zfl21 = false;        // TVR.INI [Database] "ZFL21" holds a name
  int fixingCount = 0;       // the configurator's fixing count
  int straightCount = 0;     // the configurator's straight and complement counts
  int complementCount = 0;
  std::vector<int> states;

  bool Plain() const { return states.size() > 55 && states[55] == 1; }
  int State(int component) const;
};

// A page of the dialog: its kind (0..6) and the message that names it.
struct CRefEquipPage {
  int kind = 0;
  int textMessage = 0;
};

// The pages a line offers, in the order the page combo lists them, the position the
// dialog opens at, and whether the note on connection 7 shows.
struct CRefEquipPages {
  std::vector<CRefEquipPage> pages;
  int start = 0;
  bool note = false;
};
CRefEquipPages RefEquipPages(const CRefEquipSetup& setup);

// One row of a page as the page table gives it. Row 0 starts the page: text is its
// picture, component the picture of plain products, style where the item numbers start.
// A component of kRefEquipTextOnly makes a row of text alone.
inline constexpr int kRefEquipTextOnly = -1;
struct CRefEquipRowPlan {
  int row = 0;
  int text = 0;
  int component = 0;
  int style = 0;
};
std::vector<CRefEquipRowPlan> RefEquipPageRows(const CRefEquipSetup& setup, int pageKind);

// The counts the user typed, components 16..44; the others follow the line.
class CRefEquipCounts {
 public:
  static constexpr int kFirst = 16;
  static constexpr int kLast = 44;

  CRefEquipCounts() { m_counts.fill(-1); }
  int Count(const CRefLine& line, int component) const;
  void Set(int component, int value);
  // Writes every count typed into the line; true when one of them changed it.
  bool WriteTo(CRefLine& line) const;

 private:
  std::array<int, kLast - kFirst + 1> m_counts{};
};

// A row as the dialog shows it.
struct CRefEquipRowView {
  bool shown = false;
  bool checkBox = false;  // the text stands on the row's check box
  std::string text;
  int component = 0;  // 0: a row of text alone
  bool editable = false;
  int value = 0;
};

struct CRefEquipPageView {
  int picture = 0;
  std::array<CRefEquipRowView, 9> rows;
};

// Builds one page from its rows; the counts shown come from counts, or the line where
// none was typed.
CRefEquipPageView RefEquipShowPage(const CRefEquipSetup& setup, int pageKind, const CRefLine& line,
                                   const CRefEquipCounts& counts);

// The fixings a line of some metres needs at the step a row's style chooses.
int RefEquipFixingEstimate(int length, int style, int product);
// The fixings for v tap-off supports: by the configurator's fixing count when there is
// one, else by the line's fixing spacing; 0 where a length or a spacing of 0 leaves
// nothing to divide by.
int RefEquipFixingsFor(int value, int fixingCount, int length, int spacing);
// The count the check rows of a QYX line stand for (twice the straight elements and the
// complements).
int RefEquipCheckValue(const CRefEquipSetup& setup);
