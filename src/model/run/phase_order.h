#pragma once

#include <cstdint>
#include <string>

class CDev;

// The phase order of a run: a 3-bit code in the run's flag word (bit 4 the code's bit 0,
// bits 8 and 9 its bits 1 and 2) naming one of six orders; codes 6 and 7 name none and
// count as code 0 in every permutation.
namespace phase_order {

inline constexpr int kCodeCount = 6;
inline constexpr std::uint32_t kCodeMask = 0x330;   // code bits and bit 5, cleared by a write
inline constexpr std::uint32_t kDisplayFlag = 0x2;  // the page's display check box
inline constexpr std::uint32_t kUserChosen = 0x8;   // the order is the user's choice

// The order of a code 0..5 ("321", "123", "132", "312", "213", "231"); empty otherwise.
std::string OrderText(int code);
// The run's code held by a flag word.
int CodeOfFlags(std::uint32_t flags);
// The flag word with the code written: mask 0x330 cleared, then the code's bits set.
std::uint32_t WithCode(std::uint32_t flags, int code);
// The order that a kind-8 element of the variant gives a code arriving from the run's
// start (backwards: the code seen beyond it asks which code arrives); codes 6 and 7 map
// to 0. Variants other than 7, 8 and 13 leave the code as it is.
int Permute(int variant, int code, bool backwards);

}  // namespace phase_order

// The phase code seen at the element (mode 0), or, for a negative mode, the run code that
// would make the order seen at the element equal to the run's present code. Walks the
// back links to the run's start, each element once: a damaged chain that loops ends the
// walk. An element without a run gives 0.
int GetPhaseOrderAt(const CDev& element, int mode);
