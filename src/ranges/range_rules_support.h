#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

class CDev;

// The code with its third letter changed from one letter of a pair to the other ("QMA"
// and 'A', 'C' give "QMC"); empty when the code is not three characters long or its
// third letter is neither.
std::string SwapThirdLetter(std::string_view code, char first, char second);

// Clears the element's properties of those names.
void ClearElementProps(CDev& element, std::initializer_list<const char*> names);

// Sets the variant (low byte of the style word) of the element; with both, the second
// style word takes the whole first.
void SetElementVariant(CDev& element, int variant, bool both);
