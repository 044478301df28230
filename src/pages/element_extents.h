#pragma once

#include <cstdint>

class CDev;

// The extent of the element's housing (its main box) along the world axis of a
// direction: what the element takes of a line running that way. 0 for no element, no
// main box or a direction outside 0..5.
std::int64_t HousingExtentAlong(const CDev* element, int direction);
