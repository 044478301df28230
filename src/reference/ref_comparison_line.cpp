// The input of the comparison taken from a reference line.
#include <algorithm>

#include "app/message_text.h"
#include "reference/ref_comparison.h"
#include "reference/ref_line.h"
#include "reference/ref_products.h"

namespace {

constexpr int kMsgSpecialConductors = 32095;
constexpr int kLargestFigure = 9999;
constexpr int kProductQYA = 1;

}  // namespace

std::string RefCompProductCode(const CRefLine& line) {
  std::string code(RefProductCode(line.productKind));
  if (line.productKind != kRefProductQFP) return code;
  code += std::to_string(line.lineMode < 10 ? 1 : line.lineMode - 8);
  if (line.connection == 7) code += 'x';
  return code;
}

std::string RefCompConductorText(const CRefLine& line, int specialMode) {
  if (specialMode == 2) return StringText(kMsgSpecialConductors);
  return line.conductors != 0 ? "3L+N+PE" : "L+N+PE";
}

CRefCompFigures RefCompFiguresOf(const CRefLine& line, int length, int count) {
  CRefCompFigures figures;
  figures.length = std::clamp(length, 0, kLargestFigure);
  const int units = std::clamp(count, 0, kLargestFigure);
  figures.stepCm = line.fixingSpacing;
  figures.lampFix = line.lineMode == 1 || line.productKind == kRefProductQFP ? 2 : 1;
  figures.tapOffs = figures.lamps = units;
  if (line.sections.empty()) return figures;
  std::int64_t total = 0, lamps = 0, extra = 0;
  for (const CRefLineSection& section : line.sections) {
    const std::int64_t a = section.values[0], b = section.values[1], c = section.values[2];
    total += c;
    lamps += (a + b) * c;
    if (line.lineMode == 10) extra += (a > 1 ? (a - 1) * c : 0) + (b > 1 ? (b - 1) * c : 0);
    else extra += (a > 1 ? c : 0) + (b > 1 ? c : 0);
  }
  auto held = [](std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, 1000000));
  };
  figures.tapOffs = held(total), figures.lamps = held(lamps), figures.tes = held(extra);
  return figures;
}

bool RefCompOffered(const CRefLine& line, int connectionIndex, int specialMode) {
  const bool firstConnection =
      specialMode == 2 ? connectionIndex >= 0 && connectionIndex < 3 : connectionIndex == 0;
  if (line.productKind == kProductQYA) return line.rating == 25 && firstConnection;
  return line.productKind == kRefProductQFP && connectionIndex == 0;
}
