#include "ranges/qp/qp_step_parts.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

// What the step pass does with a booked reference, the rating in amperes:
// - A part of the "D" families is known by its length code, the rating's last digits and
//   the family letter: "0D" at places 6-7 (100 to 800 A), "1000D" at places 4-8, or
//   "99D" at places 4-6 (a rating code that the expansion left as it was).
// - The step line of code QPC is made at 250, 400, 630 and 800 A only: a QPC part of
//   another rating keeps its reference and takes no properties.
// - Its 250 A elbows marked A have no neutral digit in their family ("QPC250DLC40A"
//   becomes "QPC250DLC4A", likewise DLE and DLF), and its 800 A riser piece is the "CM"
//   piece ("QPC800ET4AF" becomes "QPC800CM4AF"), whichever element carries it.
// - The legs take their drawing names (RenameStepLegs); a riser on leg a also gets
//   ",Ya=" with its distance from that leg's far end, when that is positive.
// - "POS1" is the first leg and "CF" the riser's distance (0 without a riser).

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kStepRewrites{{
    {"QPC250DLC40A", "QPC250DLC4A"},
    {"QPC250DLE40A", "QPC250DLE4A"},
    {"QPC250DLF40A", "QPC250DLF4A"},
    {"QPC800ET4AF", "QPC800CM4AF"},
}};

constexpr std::array<std::string_view, 4> kQPCStepRatings{"QPC250", "QPC400", "QPC630", "QPC800"};

std::string_view CodeOf(std::string_view reference) {
  return reference.substr(0, std::min(reference.find(' '), reference.size()));
}

std::string RenamedLeg(std::string_view value) {
  if (value.size() > 2 && value[1] == '=' && value[0] >= 'a' && value[0] <= 'c') {
    return std::string(1, static_cast<char>(value[0] - 'a' + 'A')) + std::string(value.substr(1));
  }
  if (value.size() > 3 && value.starts_with("x=") && value[2] >= 'a' && value[2] <= 'c')
    return "X" + std::string(1, value[2]) + "=" + std::string(value.substr(3));
  return std::string(value);
}

// The values that follow the reference's blank padding, split at the commas.
std::vector<std::string_view> ValuesOf(std::string_view reference, std::size_t& start) {
  std::vector<std::string_view> values;
  const std::size_t code = reference.find(' ');
  start = reference.find_first_not_of(' ', code);
  if (code == std::string_view::npos || start == std::string_view::npos) {
    start = reference.size();
    return values;
  }
  for (std::size_t at = start; at <= reference.size();) {
    const std::size_t comma = std::min(reference.find(',', at), reference.size());
    values.push_back(reference.substr(at, comma - at));
    at = comma + 1;
  }
  return values;
}

// The number after "<name>=" among the renamed values; empty when absent.
std::string ValueNamed(const std::vector<std::string>& values, std::string_view name) {
  for (const std::string& value : values) {
    if (value.size() > name.size() && value.starts_with(name) && value[name.size()] == '=')
      return value.substr(name.size() + 1);
  }
  return {};
}

std::string Rewritten(std::string_view reference) {
  const std::string_view code = CodeOf(reference);
  for (const auto& [from, to] : kStepRewrites) {
    if (code == from) return std::string(to) + std::string(reference.substr(code.size()));
  }
  return std::string(reference);
}

bool IsQPCStepRating(std::string_view reference) {
  if (!reference.starts_with("QPC")) return true;
  return std::any_of(
      kQPCStepRatings.begin(), kQPCStepRatings.end(),
      [reference](std::string_view rating) { return reference.starts_with(rating); });
}

}  // namespace

bool IsStepFamily(std::string_view reference) {
  const auto at = [reference](std::size_t place, std::string_view text) {
    return reference.size() >= place - 1 + text.size() &&
           reference.substr(place - 1, text.size()) == text;
  };
  return at(6, "0D") || at(4, "1000D") || at(4, "99D");
}

std::string RenameStepLegs(std::string_view reference) {
  std::size_t start = 0;
  const std::vector<std::string_view> values = ValuesOf(reference, start);
  std::string result(reference.substr(0, start));
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i != 0) result += ',';
    result += RenamedLeg(values[i]);
  }
  return result;
}

CStepPart MakeStepPart(std::string_view reference) {
  CStepPart part;
  part.reference = Rewritten(reference);
  if (!IsStepFamily(part.reference) || !IsQPCStepRating(part.reference)) return part;
  part.named = true;
  part.reference = RenameStepLegs(part.reference);
  std::size_t start = 0;
  std::vector<std::string> values;
  for (std::string_view value : ValuesOf(part.reference, start)) values.emplace_back(value);
  part.pos1 = ValueNamed(values, "A");
  part.cf = "0";
  for (std::string_view leg : {"Xa", "Xb", "Xc"}) {
    if (const std::string distance = ValueNamed(values, leg); !distance.empty()) part.cf = distance;
  }
  const std::string riserOnA = ValueNamed(values, "Xa");
  if (!riserOnA.empty() && !part.pos1.empty() && ValueNamed(values, "Ya").empty()) {
    const std::int64_t far = std::int64_t{TextToInt(part.pos1)} - TextToInt(riserOnA);
    if (far > 0) part.reference += ",Ya=" + std::to_string(far);
  }
  return part;
}
