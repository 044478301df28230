#pragma once

#include <string>
#include <string_view>

// The texts the component chooser shows for a box type, taken from the catalogue's
// texts and the language's messages.

// A type text naming a message ("...MSG31234") shows what stands before "MSG" and the
// text of that message when it lies in 30000..32999, only what stands before otherwise.
std::string ChooserTypeText(std::string_view text);

// The rating column of the lighting boxes: their second type text, "L1+N" as "L+N",
// empty as a blank.
std::string ChooserPhaseText(std::string_view text);

// A '/'-separated list of alternatives, one a line: each '/' becomes a blank, the word
// of message 31035 and a line break. Empty when the text holds no '/'.
std::string ChooserAlternatives(std::string_view text);

// The texts of the switch-disconnector boxes, read from the markers of their first type
// text: the "TYP" number as the rating column, the "ICC" rating (with the number after
// the next '>') and the "CP" connection as the two type texts of the row. A blank when
// the text lacks the marker.
std::string ChooserSwitchTypeText(std::string_view text);
std::string ChooserSwitchIccText(std::string_view text);
std::string ChooserSwitchConnectionText(std::string_view text);

// The part of a message text before its first ':' (all of it when it has none): the
// headers of the switch-disconnector boxes.
std::string ChooserHeaderText(std::string_view text);

// The column headers above a group's boxes: the rating and type messages (0 where the
// group has no such column) and whether the group has an IP column.
struct CChooserHeaders {
  int rating = 0;
  int type = 0;
  bool ip = true;
};
CChooserHeaders ChooserColumnHeaders(int groupKind);
