#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class CDev;
struct CPatternRow;

// The code with its third letter changed from one letter of a pair to the other ("QMA"
// and 'A', 'C' give "QMC"); empty when the code is not three characters long or its
// third letter is neither.
std::string SwapThirdLetter(std::string_view code, char first, char second);

// Clears the element's properties of those names.
void ClearElementProps(CDev& element, std::initializer_list<const char*> names);

// Sets the variant (low byte of the style word) of the element; with both, the second
// style word takes the whole first.
void SetElementVariant(CDev& element, int variant, bool both);

// A piece made to a length past its element's chain (planned from a segment's first
// end): the window's longest length grows by the row's longest piece (the last number of
// its first length list) less the element's chain length.
void ReachPastChain(const CPatternRow& row, const CDev& element, std::int32_t& last);
