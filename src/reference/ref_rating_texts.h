#pragma once

#include <string>

#include "reference/ref_rating_entries.h"

// The column headings of a rating table by its rating family: message numbers of the
// rating, protection, type and (family 10) short-circuit columns; 0 for none.
struct CRatingHeadings {
  int rating = 0;
  int protection = 0;
  int type = 0;
  int extra = 0;
};
CRatingHeadings RefRatingHeadings(int family);
// A heading's text: family 10 keeps what stands before the first ':'.
std::string RefRatingHeadingText(int message, int family);

// Whether the table's caption stands above its lists (the size tables of family 9 have
// none); a table with groups shows its group list in the caption's place.
bool RefRatingCaptionShown(int family);
// Whether the type list takes three quarters of the panel's width rather than all of it
// (the families whose rows carry a column beside the type).
bool RefRatingTypeListNarrow(int family);

// A catalogue text in which "MSG" and a number 30000..32999 stand for that message's
// text; what stands before stays, a number outside that range gives nothing.
std::string RefExpandMessageText(const std::string& text);

// What one row of a rating table shows: the rating column, the type column and, in
// family 10, the short-circuit column.
struct CRatingRowTexts {
  std::string rating;
  std::string type;
  std::string extra;
};
CRatingRowTexts RefRatingRowTexts(const CRatingEntry& entry, int family);

// The note over a family 5 or 6 table whose first row's label offers alternatives with
// '/': each '/' becomes " or " and a line break. Empty when there is none.
std::string RefRatingNote(const std::string& typeLabel);
// Whether a rating family puts the rows of one catalogue position apart (family 11 sets
// a shared entry off by an empty row; families 5 and 6 show the note).
bool RefRatingRowSetOff(const CRatingEntry& entry, int family);
