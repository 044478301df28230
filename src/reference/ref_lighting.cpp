#include "reference/ref_lighting.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/int_clamp.h"

namespace {

constexpr double kMetre = 0.001;

// The block whose suspension ratio is nearest j (the earlier on a tie); a j = 0 block
// only serves luminaires fixed to the ceiling. -1 when none has a ratio.
int NearestBlock(const CUtilanceTable& table, double j, std::int32_t suspension) {
  int best = -1;
  double bestDistance = 0;
  for (int b = 0; b < kLumBlocks; ++b) {
    const std::int32_t ratio = table[static_cast<std::size_t>(b)][0][0];
    if (ratio < 0 || (ratio == 0 && suspension > 0)) continue;
    const double distance = std::fabs(j - ratio * kMetre);
    if (best < 0 || distance < bestDistance) best = b, bestDistance = distance;
  }
  return best;
}

// Whether a surface's value is a better match than the best so far: nearer the wanted
// reflectance, or as near and lower.
bool BetterOn(int value, int best, int wanted) {
  const int distance = std::abs(value - wanted), bestDistance = std::abs(best - wanted);
  return distance < bestDistance || (distance == bestDistance && value < best);
}

struct Reflectances {
  int ceiling, wall, floor;
};

Reflectances Decode(int code) { return {code / 100 * 10, code % 100 - code % 10, code % 10 * 10}; }

// The column of the reflectance code that fits the room. A column replaces the best so
// far when it is better on the ceiling, else better on the wall, else better on the
// floor, each surface judged on its own: a column worse on the ceiling can still win on
// the wall, so this is not a lexicographic order (on a table where the two differ the
// catalogue's values were chosen for this rule). 0 when no column holds a code.
int BestColumn(const CLumBlock& block, const CLightingRoom& room) {
  int best = 0;
  Reflectances bestValues{};
  for (int column = 1; column < kLumColumns; ++column) {
    const int code = block[0][static_cast<std::size_t>(column)];
    if (code < 0 || code > 999) continue;
    const Reflectances values = Decode(code);
    if (best == 0 || BetterOn(values.ceiling, bestValues.ceiling, room.ceiling) ||
        BetterOn(values.wall, bestValues.wall, room.wall) ||
        BetterOn(values.floor, bestValues.floor, room.floor)) {
      best = column;
      bestValues = values;
    }
  }
  return best;
}

double InterpolatedCell(const CLumBlock& block, std::size_t column, double k) {
  int below = 0, above = 0;
  double belowDistance = 0, aboveDistance = 0;
  for (int row = 1; row < kLumBlockRows; ++row) {
    const std::int32_t rowIndex = block[static_cast<std::size_t>(row)][0];
    if (rowIndex < 0) continue;
    const double d = k - rowIndex * kMetre;
    if (std::fabs(d) < 0.01) return block[static_cast<std::size_t>(row)][column];
    if (d > 0 && (below == 0 || d < belowDistance)) below = row, belowDistance = d;
    if (d <= 0 && (above == 0 || -d < aboveDistance)) above = row, aboveDistance = -d;
  }
  const auto& low = block[static_cast<std::size_t>(below)];
  const auto& high = block[static_cast<std::size_t>(above)];
  if (below != 0 && above != 0) {
    const double kLow = low[0] * kMetre, kHigh = high[0] * kMetre;
    return low[column] + (high[column] - low[column]) * (k - kLow) / (kHigh - kLow);
  }
  if (above != 0) return high[column];
  if (below != 0) return low[column];
  return 0;
}

// Em for a layout: the flux of the luminaires on the lit area.
std::int32_t Illuminance(std::int64_t luminaires, std::int32_t flux, double ueff,
                         const CLightingRoom& room) {
  const double area = room.width * kMetre * (room.length * kMetre);
  const double value = static_cast<double>(flux) * static_cast<double>(luminaires) * ueff /
                       ((1.0 / (room.depreciation * kMetre)) * area);
  return ClampToInt32(static_cast<std::int64_t>(std::min(value, 4e18)));
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return a / b + (a % b != 0 ? 1 : 0); }

// The automatic layout: the number of luminaires the flux asks for, spread over runs.
void AutomaticLayout(const CLightingRoom& room, const CLuminaire& lum, double h,
                     CLightingResult& result) {
  const double length = room.length * kMetre, width = room.width * kMetre;
  const double e = std::max(room.illuminance, 0);
  const double flux = result.effectiveUtilance > 0 ? e * (1.0 / (room.depreciation * kMetre)) *
                                                         width * length / result.effectiveUtilance
                                                   : 0;
  const double needed = lum.flux > 0 ? std::ceil(std::trunc(flux) / lum.flux) : 0;
  if (needed > kMaxLightingLuminaires) {
    result.totalFlux = static_cast<std::int64_t>(std::min(flux, 4e18));
    result.needed = static_cast<std::int64_t>(std::min(needed, 4e18));
    result.tooMany = true;
    return;
  }
  result.totalFlux = static_cast<std::int64_t>(flux);
  if (lum.flux <= 0) return;
  const std::int64_t n0 = CeilDiv(result.totalFlux, lum.flux);
  result.needed = n0;
  if (n0 == 0) return;
  double s = std::sqrt(length * width / static_cast<double>(n0));
  const double cap = lum.spacingRatio * kMetre * h;
  if (lum.spacingRatio > 0 && s > cap) s = cap;
  std::int64_t c = std::max<std::int64_t>(1, static_cast<std::int64_t>(length / s));
  std::int64_t n = CeilDiv(n0, c);
  const std::int64_t nNext = CeilDiv(n0, c + 1);
  if (nNext * (c + 1) < n * c) ++c, n = nNext;
  while (c > 1 &&
         Illuminance(n * (c - 1), lum.flux, result.effectiveUtilance, room) >= room.illuminance)
    --c;
  result.computedRuns = static_cast<std::int32_t>(room.acrossWidth ? c : n);
  result.computedPerRun = static_cast<std::int32_t>(room.acrossWidth ? n : c);
}

void Spacings(const CLightingRoom& room, CLightingResult& result) {
  double length = room.length * kMetre, width = room.width * kMetre;
  if (room.acrossWidth) std::swap(length, width);
  result.runSpacing = result.runs >= 1 ? static_cast<std::int32_t>(width / result.runs * 1000) : 0;
  result.lightSpacing =
      result.perRun >= 1 ? static_cast<std::int32_t>(length / result.perRun * 1000) : 0;
}

}  // namespace

double TableUtilance(const CUtilanceTable& table, const CLightingRoom& room, double j, double k) {
  const int block = NearestBlock(table, j, room.suspension);
  if (block < 0) return 0;
  const CLumBlock& chosen = table[static_cast<std::size_t>(block)];
  const int column = BestColumn(chosen, room);
  if (column == 0) return 0;
  return InterpolatedCell(chosen, static_cast<std::size_t>(column), k) / 100.0;
}

CLightingResult CalculateLighting(const CLightingRoom& room, const CLuminaire& lum, int mode,
                                  std::int32_t runs, std::int32_t perRun) {
  CLightingResult result;
  const double length = room.length * kMetre, width = room.width * kMetre;
  const double suspension = room.suspension * kMetre;
  const double h = (room.height - room.plane - room.suspension) * kMetre;
  if (h <= 0 || length <= 0 || width <= 0 || room.depreciation <= 0) return result;
  result.suspensionRatio = suspension / (suspension + h);
  result.roomIndex =
      length <= 5 * width ? length * width / ((length + width) * h) : 5 * width / (6 * h);
  result.utilance = TableUtilance(lum.table, room, result.suspensionRatio, result.roomIndex);
  if (result.utilance > 0) result.effectiveUtilance = lum.efficiency * 1e-5 * result.utilance;
  result.runs = runs;
  result.perRun = perRun;
  if (mode & kLightingAuto) {
    AutomaticLayout(room, lum, h, result);
    if (mode & kLightingApply)
      result.runs = result.computedRuns, result.perRun = result.computedPerRun;
    if (mode & kLightingExchange) std::swap(result.runs, result.perRun);
  }
  result.runs = std::clamp<std::int32_t>(result.runs, 0, kMaxLightingLuminaires);
  result.perRun = std::clamp<std::int32_t>(result.perRun, 0, kMaxLightingLuminaires);
  result.illuminance = Illuminance(std::int64_t{result.runs} * result.perRun, lum.flux,
                                   result.effectiveUtilance, room);
  Spacings(room, result);
  return result;
}

std::int32_t LightingRunLength(const CLightingRoom& room, const CLightingResult& result) {
  const std::int64_t side = room.acrossWidth ? room.width : room.length;
  return ClampToInt32(std::min(side - 1000, side - result.lightSpacing + 1200));
}
