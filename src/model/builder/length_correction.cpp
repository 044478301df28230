#include "model/builder/length_correction.h"

#include "platform/int_clamp.h"

#include "model/element/dev.h"
#include "model/run/run.h"

#include <algorithm>
#include <cstdlib>

std::int32_t CorrectedDrawnLength(std::int32_t bookedLength, std::int32_t drawnLength,
                                  std::int32_t amount) {
  const std::int64_t l1 = bookedLength;
  const std::int64_t l2 = drawnLength;
  const std::int64_t n = l1 + amount;
  // |L1 - L2| / L1 > 0.02 without floating point: 50 × |L1 - L2| > L1.
  if (l1 != l2 && l1 >= 1 && 50 * std::llabs(l1 - l2) > l1) return ClampToInt32(n * l2 / l1);
  return ClampToInt32(n);
}

void ApplyLengthCorrection(CDev& element, std::int32_t amount) {
  const std::int32_t booked = element.GetBookedLength();
  const std::int32_t drawn = CorrectedDrawnLength(booked, element.GetDrawnLength(), amount);
  // The element and everything beyond it move with the new drawn length, so that the
  // run still joins up; the booked length is the old one and the amount.
  element.SetLength(drawn, false);
  element.SetBookedLength(ClampToInt32(std::int64_t{booked} + amount));
  if (CRun* run = element.GetRun())
    run->AddLengthToBOM(element.GetCalibre(), amount, element.GetVariantIndex());
}
