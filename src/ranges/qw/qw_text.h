#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reading and writing QW references within bounds (range_ref_text.h has the single
// places). Positions are counted from 0 here (character 6 of a reference is index 5).
namespace qw {

// Whether the text holds `part` at the index.
inline bool HasAt(std::string_view text, std::size_t index, std::string_view part) {
  return index <= text.size() && text.substr(index, part.size()) == part;
}

// The text without its trailing blanks.
inline std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A special length of family "EF" size "2" with its lengths from character 11 on.
inline bool IsSpecialLength(std::string_view reference) {
  return reference.size() > 10 && HasAt(reference, 5, "EF") && reference[8] == '2' &&
         reference[10] > '0';
}

// Characters 11 on: nine blanks with "first-second" written over them.
void WriteLengthPair(std::string& buffer, std::int64_t first, std::int64_t second);

// The rating class of the usual rule: 20 or 31 give "31"; 40 or 50 "63"; 63 "80" when
// the code is "QWA" (else none); 80 "80"; any other rating none (empty).
std::string_view UsualRatingClass(int rating, bool qwa);

}  // namespace qw

// Every "QW0" of a price formula takes the run's rating class over characters 4-5
// (family "ER" of type "1" by rules of its own, "1004" turning its neutral to "7"), and
// every "EV3" from the sixth character on becomes "EV4".
void RewriteFormulaRatings(std::string& formula, int rating, bool qwa);
