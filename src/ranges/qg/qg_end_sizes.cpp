#include "ranges/qg/qg_end_sizes.h"

#include <algorithm>

CQGEndSizes QGEndSizes(const CQGEndInput& in) {
  const auto& d = in.distances;
  std::int64_t width = d[0] + d[1] + d[2] + d[3] + 100;
  if (in.nibble > 1 && !(in.nibble == 2 && in.variant == 6)) width += in.barSize;
  else if (!((in.variant == 2 || in.variant == 6) && in.entraxEmpty)) width += in.barValue;
  const std::int64_t n = in.neutralCount;
  std::int64_t height = 0;
  if (in.variant == 2) {
    if (in.nibble == 1 || in.nibble == 2) height = in.referenceSecond;
    else if (in.nibble == 3) height = (n - 2) * in.barValue + 42 * n + 38;
  } else if (in.variant == 3) {
    if (in.nibble == 1) height = in.barSize + 85;
    else if (in.nibble == 2) height = in.barValue + (n == 5 ? 140 : 100);
    else if (in.nibble == 3)
      height = std::min<std::int64_t>(in.barValue + in.referenceSecond + 130, 480);
  } else if (in.variant == 6) {
    if (in.nibble == 1) height = in.referenceSecond;
    else if (in.nibble == 2) height = in.barSize + in.referenceFirst + 30;
    else if (in.nibble == 3) height = (n - 2) * in.barValue + 36 * n + 44;
  }
  return {width, height};
}
