#pragma once

#include <string>
#include <string_view>
#include <vector>

class CDev;
class CDorneDoc;

// A layout document described by a text, one statement a line ('#' starts a comment):
//   run <catalogue code> <rating>   a new run, its start end pointing along face 4
//   start <variant>                 the variant of the run's start end
//   go <face> <length>              a straight of that length toward the face; a turn
//                                   from the way before makes the element there an elbow
//   end <variant>                   the free end becomes an end of that variant
//   from <n>                        the next statements go on from the n-th straight
//                                   laid in the run (0: its start), which a further
//                                   branch turns into a tee
//   entrax <type>                   the entrax type of the feed unit just laid (0-15)
//   style <hex>                     style bits added to the element just laid (a feed
//                                   unit's mounting and cable box)
//   type <n>                        the straight type (style bits 8-11) of the element
//                                   just laid, 0-15, in place of the one it had
//   name <text>                     the name of the run being laid, in place of the
//                                   one the document gave it
//   kit <face> <distance> [<kind>]  an in-line unit (kind 7, the default) or a special
//                                   piece (kind 8, laid as its design tool lays it, with
//                                   the variant a new piece takes) between the element
//                                   just laid and its neighbour at the face (which must
//                                   lie ahead along that face), at that distance; the
//                                   statements after it apply to the unit
//   variant <n>                     the variant of the in-line unit or piece just laid
//                                   (0-255), its name the run's text for that variant
//   field <name> <value>            a property of the element just laid (no blanks)
//   prop <name> <value>             a property of the run being laid (no blanks)
//   text <x> <y> <words>            a free text placed in 1/2000 of the window ("|" starts
//                                   a new line)
//   picture <x> <y> <file>          a picture of a bitmap file (beside the document)
//   note <n> <words>                a text on the n-th element laid in the run
//   dimension <n> <m>               a user dimension between two elements laid in the run
// The runs are laid by the placement edits, as the mouse tools lay them.
//
// Returns an empty text when the layout was laid out, else what is wrong and on which
// line; the document then holds the runs laid before that line. `laid`, when given, gets
// the elements of the last run in the order the statements laid them: its start, then
// the element that each "go" made.
std::string LayOutSample(CDorneDoc& document, std::string_view layout,
                         std::vector<CDev*>* laid = nullptr);
