#include "model/tapoff/tap_off_path_section.h"

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/path_tokens.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_position.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kReferenceParameter = 214;

int StationNumber(const std::string& comment) {
  std::size_t at = comment.find_first_not_of(' ');
  if (at == std::string::npos) return 0;
  if (comment[at] == '+') ++at;
  int value = 0;
  std::from_chars(comment.data() + at, comment.data() + comment.size(), value);
  return value;
}

// "%+021.5f" without the locale: sign, zeros, five decimals, 21 characters in all.
std::string Coordinate(double value) {
  char digits[64];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::fixed, 5);
  std::string text(digits, result.ptr);
  const char sign = value < 0 && text.find_first_not_of("0.") != std::string::npos ? '-' : '+';
  if (text.size() < 20) text.insert(0, 20 - text.size(), '0');
  return sign + text;
}

std::string Number(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Minus the point's first coordinate cut to a whole number, bounded by 10 km (longer than
// any run) so that a damaged point gives a short line.
long long ShiftLength(double along) {
  constexpr double kLongest = 1e7;
  return static_cast<long long>(std::min(-along, kLongest));
}

struct CTurns {
  std::string before, after;
};

// The turns toward the outlet, by the outlet's range code bit and side.
std::optional<CTurns> TurnsOf(std::uint32_t mask, bool far, bool flipped, bool qjf) {
  switch (mask) {
    case 1:
    case 2:
    case 128: return CTurns{"", far ? "R0090" : "L0090"};
    case 4:
    case 8: return CTurns{"", far ? "R0090D0090" : "L0090U0090"};
    case 16:
      if (!qjf) return CTurns{"", far ? "R0090D0090" : "L0090U0090"};
      return flipped ? CTurns{"T0180", "L0090D0090"} : CTurns{"", "R0090U0090"};
    case 32:
      return CTurns{flipped ? "T0180" : "",
                    std::string(far ? "L0090" : "R0090") + (flipped ? "T0180" : "")};
    case 64: return CTurns{"", far ? "D0090S0013U0090R0090D0090" : "U0090S0013D0090L0090U0090"};
    default: return std::nullopt;
  }
}

// The outlet point from the joint: along its direction, then across on its sides 1 and 2.
C3DPoint RelativePoint(const CTapOffOutlet& outlet) {
  const CDev& joint = *outlet.joint;
  const CBox* main = joint.GetBox(CDev::kBodySlot);
  const CBox& frame = main != nullptr ? *main : *outlet.box;
  const C3DPoint offset = outlet.point - joint.GetPosition();
  return {DotProduct(offset, frame.GetFaceNormal(joint.GetDirection())),
          DotProduct(offset, frame.GetFaceNormal(frame.MapSideToFace(1, 0))),
          DotProduct(offset, frame.GetFaceNormal(frame.MapSideToFace(2, 0)))};
}

std::string PointText(const C3DPoint& point) {
  return "X" + Coordinate(point.x) + "Y" + Coordinate(point.y) + "Z" + Coordinate(point.z);
}

// The entry of the fixing piece that side outlets and the double outlets of the QW range
// need; empty for other outlets.
std::string FixingEntry(const CDev& unit, const CTapOffOutlet& outlet, int station, double along) {
  const std::uint32_t mask = outlet.word >> 8;
  const bool far = (outlet.word & 1) != 0;
  const bool side64 = mask == 64 && outlet.joint->GetVariantIndex() != 3;
  if (!side64 && mask != 32) return {};
  std::string line = Number("pos:st%03d", station);
  // The shift back is a straight stretch like any other: a point farther than 9999 mm
  // gives repeated "S9999" tokens instead of a five-digit field, and the distance is
  // bounded before it is made whole so that a damaged point cannot overflow it.
  if (along < -1.0) line += "L-180" + StraightTokens(ShiftLength(along)) + "R-180";
  if (side64 && far) line += "D-180";
  const std::string& reference = unit.GetReference();
  const int second =
      mask == 32 && reference.size() >= 5 && reference.compare(3, 2, "86") == 0 ? 2 : 1;
  return line + "\n" + (side64 ? std::string("dev:420001\n") : Number("dev:4300%02d\n", second));
}

}  // namespace

int WriteRunPathSection(std::string& file, const CRun& run) {
  int entries = 0;
  std::size_t countAt = std::string::npos;
  const std::vector<CDev*>& devices = run.GetDevices();
  const bool qjf = run.GetPropText("Catalog") == "QJF";
  for (auto it = devices.rbegin(); it != devices.rend(); ++it) {
    CDev& unit = **it;
    const int station = StationNumber(unit.GetComment());
    if (unit.GetKind() != CDev::kTapOff || station == 0 || PositionTapOffUnit(unit, true) != 1)
      continue;
    const std::optional<CTapOffOutlet> outlet = FindTapOffOutlet(unit);
    if (!outlet) continue;
    if (countAt == std::string::npos) {
      file += "\nnbtpf:";
      countAt = file.size();
      file += "00000\n\n";
    }
    const bool flipped = ((outlet->joint->GetStyle() >> 12) & 1) != 0;
    const auto turns = TurnsOf(outlet->word >> 8, (outlet->word & 1) != 0, flipped, qjf);
    file += Number("pos:st%03d", station);
    const C3DPoint relative = RelativePoint(*outlet);
    if (turns) file += turns->before + PointText(relative) + turns->after;
    file += "\n" + Number("dev:%02d", 30) + "0000" + Number("/%05d@$", kReferenceParameter) +
            BlankControlCharacters(unit.GetReference()) + "\n";
    ++entries;
    const std::string fixing = FixingEntry(unit, *outlet, station, relative.x);
    if (!fixing.empty()) {
      file += fixing;
      ++entries;
    }
  }
  if (countAt == std::string::npos) return 0;
  file.replace(countAt, 5, Number("%05d", entries));
  file += "pos:end\n";
  return entries;
}

int NumberTapOffStations(const CDev& joint, int number) {
  if (joint.GetKind() != CDev::kJoint || joint.GetRun() == nullptr) return 0;
  int numbered = 0;
  for (CDev* unit : joint.GetRun()->GetDevices()) {
    if (unit->GetKind() != CDev::kTapOff || PositionTapOffUnit(*unit, true) != 1) continue;
    const std::optional<CTapOffOutlet> outlet = FindTapOffOutlet(*unit);
    if (!outlet || outlet->joint != &joint) continue;
    unit->SetComment(std::to_string(number));
    ++numbered;
  }
  return numbered;
}
