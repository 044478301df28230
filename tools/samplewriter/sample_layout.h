#pragma once

#include <string>
#include <string_view>

class CDorneDoc;

// A layout document described by a text, one statement a line ('#' starts a comment):
//   run <catalogue code> <rating>   a new run, its start end pointing along face 4
//   start <variant>                 the variant of the run's start end
//   go <face> <length>              a straight of that length toward the face; a turn
//                                   from the way before makes the element there an elbow
//   end <variant>                   the free end becomes an end of that variant
// The runs are laid by the placement edits, as the mouse tools lay them.
//
// Returns an empty text when the layout was laid out, else what is wrong and on which
// line; the document then holds the runs laid before that line.
std::string LayOutSample(CDorneDoc& document, std::string_view layout);
