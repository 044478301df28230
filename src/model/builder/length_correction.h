#pragma once

#include <cstdint>

class CDev;

// The drawn length of an element whose booked length L1 grows by `amount` to n: when the
// drawn length L2 differs from L1 by more than 2 % of L1, the drawing keeps its scale
// (n × L2 / L1, in 64 bits, truncated); otherwise n. Results beyond 32 bits are held at
// its limits.
std::int32_t CorrectedDrawnLength(std::int32_t bookedLength, std::int32_t drawnLength,
                                  std::int32_t amount);

// Lengthens (or shortens) the element by `amount` as the check dialog's correction does:
// its drawn and booked lengths change and the amount is booked in the run's length
// records with the element's calibre and variant index.
void ApplyLengthCorrection(CDev& element, std::int32_t amount);
