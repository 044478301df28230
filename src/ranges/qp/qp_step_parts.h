#pragma once

#include <string>
#include <string_view>

// A part of the step line (an upper-case run whose "QP_STEP" is not "0") as the second
// pass books it: its reference, rating already in amperes, rewritten, and the two
// properties that its drawing reads.
struct CStepPart {
  std::string reference;
  bool named = false;  // a "D" family part of the step line: legs named, properties set
  std::string pos1;    // "POS1": its first leg, empty when it has none
  std::string cf;      // "CF": the riser's distance from the leg it stands on, "0" without
};

// True when the family letter 'D' follows the rating (its length code "0D", "1000D" or
// "99D").
bool IsStepFamily(std::string_view reference);

// The leg lengths of a step-mode part of the "D" families, named as its drawing names
// them: "a=", "b=", "c=" become "A=", "B=", "C=" in the same order, and a riser distance
// "x=a<d>" (or b, c) becomes "Xa=<d>"; the reference and any other value stay.
std::string RenameStepLegs(std::string_view reference);

// The whole step-pass rewrite of a booked reference (see qp_step_parts.cpp).
CStepPart MakeStepPart(std::string_view reference);
