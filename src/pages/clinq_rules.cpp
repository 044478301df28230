#include "pages/clinq_rules.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<CClinqShape, 8> kShapes = {{
    {0, "CLINQ_YC0", 30048, 1, 0, EClinqLength::kHidden, 0, 0},
    {1, "CLINQ_YC1", 30049, 3, 30211, EClinqLength::kTyped, 300, 600},
    {3, "CLINQ_YC3", 30050, 4, 30211, EClinqLength::kTyped, 300, 600},
    {5, "CLINQ_YC5", 30051, 4, 30211, EClinqLength::kFixed, 1000, 1000},
    {6, "CLINQ_YT1", 30052, 4, 30054, EClinqLength::kFixed, 400, 400},
    {7, "CLQQG_YC1", 30201, 5, 30204, EClinqLength::kFixed, 310, 310},
    {8, "CLQQG_YC2", 30202, 5, 30204, EClinqLength::kTyped, 310, 500},
    {9, "CLQQG_YC3", 30203, 5, 30204, EClinqLength::kTyped, 310, 500},
}};

constexpr std::size_t kMaxStoredText = 512;

bool IsCatalog(const CClinqElement& e, std::string_view catalog, int calibre) {
  return e.catalog == catalog && e.calibre == calibre;
}

// The numbers of "a/b/c/d" up to the parameters, each bounded.
std::vector<int> SlashNumbers(std::string_view text) {
  std::vector<int> numbers;
  std::size_t at = 0;
  while (numbers.size() < 4 && at <= text.size()) {
    const std::size_t end = std::min(text.find('/', at), text.size());
    numbers.push_back(TextToInt(text.substr(at, end - at)));
    if (end >= text.size()) break;
    at = end + 1;
  }
  return numbers;
}

}  // namespace

const CClinqShape* FindClinqShape(int value) {
  for (const CClinqShape& shape : kShapes)
    if (shape.value == value) return &shape;
  return nullptr;
}

std::vector<int> OfferedClinqShapes(const CClinqElement& e) {
  std::vector<int> shapes;
  if (e.pictureCode == 1 || e.pictureCode == 3) shapes = {0, 1, 5};
  else if (e.pictureCode == 2) shapes = {3, 5, 6};
  if (IsCatalog(e, "QMA", 8) || IsCatalog(e, "QMC", 10)) shapes.clear();
  else if ((IsCatalog(e, "QMA", 50) || IsCatalog(e, "QMC", 63)) && e.variant == 6) shapes = {5};
  else if (e.catalog.starts_with("QG"))
    shapes = e.pictureCode == 0 ? std::vector<int>{} : std::vector<int>{7, 8, 9};
  if ((e.variant == 2 || e.variant == 3 || e.variant == 6) && e.nibble == 0) shapes.clear();
  return shapes;
}

bool ClinqSideFlag(const CClinqElement& e, int group) {
  if (e.variant != 6 || group == 5) return false;
  const bool acrossSide = e.direction == 2 || e.direction == 3;
  if (e.nibble == 1 || e.nibble == 2) return !acrossSide && e.rotation != 16 && e.rotation != 64;
  return e.nibble == 3 && acrossSide;
}

std::vector<std::string> ClinqCombinations(int group, bool sideFlag) {
  switch (group) {
    case 1: return {"1 YB2"};
    case 3: return {"1 YB3", "1 YB3 + 1 YS1", "2 YB3", "2 YB3 + 1 YS1"};
    case 4:
      if (sideFlag)
        return {"1 YE",         "1 YE + 1 YS2",         "1 YE + 1 YS3",
                "1 YE + 1 YB4", "1 YE + 1 YB4 + 1 YS2", "1 YE + 1 YB4 + 1 YS3"};
      return {"1 YB4", "1 YB4 + 1 YS2", "1 YB4 + 1 YS3", "2 YB4", "2 YB4 + 1 YS2", "2 YB4 + 1 YS3"};
    case 5: return {"1 YB1"};
    default: return {};
  }
}

int DefaultCombination(int group) {
  switch (group) {
    case 1:
    case 5: return 0;
    case 3: return 2;
    case 4: return 3;
    default: return -1;
  }
}

CClinqTypes SplitClinqTypes(std::string_view text, std::size_t most) {
  CClinqTypes types;
  const std::size_t colon = text.find(':');
  if (colon != std::string_view::npos) {
    types.label = std::string(text.substr(0, colon + 1));
    text.remove_prefix(colon + 1);
  }
  std::size_t at = 0;
  while (types.names.size() < most && at <= text.size()) {
    const std::size_t end = std::min(text.find('/', at), text.size());
    std::string_view name = text.substr(at, end - at);
    while (name.starts_with(' ')) name.remove_prefix(1);
    types.values.push_back(static_cast<int>(types.names.size()));
    types.names.emplace_back(name);
    if (end >= text.size()) break;
    at = end + 1;
  }
  return types;
}

namespace {

void RemoveTypeEntry(CClinqTypes& types, int value) {
  for (std::size_t i = 0; i < types.values.size(); ++i) {
    if (types.values[i] != value) continue;
    types.values.erase(types.values.begin() + static_cast<std::ptrdiff_t>(i));
    types.names.erase(types.names.begin() + static_cast<std::ptrdiff_t>(i));
    return;
  }
}

}  // namespace

void TrimClinqTypes(CClinqTypes& types, int shape, bool qmc) {
  // Entries are named by their place in the list as it stands, as they are removed.
  auto removeAt = [&types](std::size_t place) {
    if (place < types.values.size()) RemoveTypeEntry(types, types.values[place]);
  };
  if (shape != 5 || qmc) {
    removeAt(1);
    removeAt(0);
  }
  if (shape == 5) {
    removeAt(1);
    if (!qmc) removeAt(2);
  }
}

CClinqStored ReadClinq(std::string_view text) {
  CClinqStored stored;
  if (text.empty() || text.size() > kMaxStoredText) return stored;
  const std::size_t colon = text.find(':');
  const std::string_view numbers = text.substr(0, std::min(colon, text.size()));
  const std::vector<int> n = SlashNumbers(numbers);
  int shape = n.empty() ? 0 : n[0] - 1;
  if (shape == 2 || shape == 4) {
    stored.oldShape = true;
    --shape;
  }
  stored.shape = shape >= 0 ? shape : -1;
  stored.length = n.size() > 1 ? n[1] : 0;
  stored.combination = n.size() > 2 ? n[2] : 0;
  stored.hasType = n.size() > 3;
  stored.type = n.size() > 3 ? n[3] : 0;
  if (stored.oldShape) {
    stored.parameters = kDefaultClinqParameters;
    stored.type = 2;
    stored.hasType = true;
  } else if (colon != std::string_view::npos && stored.shape != 5) {
    stored.parameters = std::string(text.substr(colon));
  }
  return stored;
}

std::string FormatClinq(int shape, std::int64_t length, int combination, int type,
                        const std::string& parameters) {
  if (shape < 0) return {};
  std::string text =
      std::to_string(shape + 1) + "/" + std::to_string(length) + "/" + std::to_string(combination);
  if (shape == 1 || shape == 3 || shape == 5 || shape >= 7) text += "/" + std::to_string(type);
  if (shape == 1 || shape == 3 || shape >= 8) text += parameters;
  return text;
}
