#include "reference/ref_line_page.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

#include "app/message_text.h"
#include "app/typed_field.h"
#include "platform/number_text.h"

namespace {

constexpr std::array<int, 4> kMsgGroups = {31001, 31002, 32059, 32060};
constexpr std::array<int, kRefProductCount> kMsgProducts = {32064, 32063, 32231, 32062, 32061,
                                                            32419, 32276, 32420, 32233};
constexpr int kMsgNewLine = 31010;
constexpr std::array<const char*, 5> kConductorTexts = {"2", "4", "2+2", "4+2", "4+4"};
constexpr std::array<const char*, 8> kCircuitTexts = {
    "1 x (3L+PE)", "2 x (3L+PE)",      "3 x (L+N+PE)",     "4 x (L+N+PE)",
    "3 x (2L+PE)", "1 x (3L+PE) IP54", "2 x (3L+PE) IP54", "6 x (2L+PE)"};

// Selects the line's value, or the first entry for a line that has no name yet.
CRefComboFill Select(std::vector<CRefComboEntry> entries, const CRefLine& line, int value) {
  CRefComboFill fill;
  fill.entries = std::move(entries);
  if (line.name.empty()) {
    fill.selected = fill.entries.empty() ? -1 : 0;
    return fill;
  }
  for (std::size_t i = fill.entries.size(); i-- > 0;)
    if (fill.entries[i].data == value) {
      fill.selected = static_cast<int>(i);
      return fill;
    }
  fill.entries.push_back({"???", value});
  fill.selected = static_cast<int>(fill.entries.size()) - 1;
  fill.failed = true;
  return fill;
}

// The member of a family with the greatest value, the product's states read before the
// line's counts; a later member wins only when strictly greater.
int ChooseMember(const std::vector<int>& table, const CRefLine& line,
                 const std::vector<int>& tableMembers, const std::vector<int>& lineMembers) {
  int choice = tableMembers.front();
  int best = table[static_cast<std::size_t>(choice)];
  for (int member : tableMembers)
    if (table[static_cast<std::size_t>(member)] > best)
      choice = member, best = table[static_cast<std::size_t>(member)];
  for (int member : lineMembers)
    if (line.Component(member) > best) choice = member, best = line.Component(member);
  return choice;
}

bool IsQpKind(int kind) { return kind == 4 || kind == 7 || kind == 8; }

void ChooseFeed(CRefLineEditContext& context, const std::vector<int>& table) {
  const int kind = context.Line().productKind;
  std::vector<int> members = {0, 1};
  if (kind != 0) members.push_back(29);
  if (kind == 4 || kind == 8) members.insert(members.end(), {30, 31});
  std::vector<int> lineMembers = {0, 1};
  if (kind != 0) lineMembers.insert(lineMembers.end(), {29, 28});
  if (kind == 4 || kind == 8) lineMembers.insert(lineMembers.end(), {30, 31});
  context.choices[kFamilyFeed] = ChooseMember(table, context.Line(), members, lineMembers);
}

void ChooseFamilies(CRefLineEditContext& context, const std::vector<int>& table, bool newLine) {
  CRefLine& line = context.Line();
  const int kind = line.productKind;
  ChooseFeed(context, table);
  int& straight = context.choices[kFamilyStraight];
  int& complement = context.choices[kFamilyComplement];
  if (kind != 0) {
    straight = ChooseMember(table, line, {3, 4, 5}, {3, 4, 5});
    complement = ChooseMember(table, line, {6, 7}, {6, 7});
    if (IsQpKind(kind) && line.Component(straight) == 0 && line.Component(complement) != 0)
      straight = complement == 6 ? 4 : 3;
    if ((kind == 1 || kind == 2) && newLine && table[8] == 1) line.components[8] = -1;
  } else {
    straight = ChooseMember(table, line, {3, 4, 5, 6, 7, 8}, {3, 4, 5, 6, 7, 8});
    complement = 2;
  }
  int& fixing = context.choices[kFamilyFixing];
  fixing = ChooseMember(table, line, {9, 10, 11, 12, 44}, {9, 10, 11, 12, 44});
  const bool noFixings = std::all_of(line.components.begin() + 9, line.components.begin() + 13,
                                     [](std::int32_t v) { return v == 0; });
  if (newLine && kind == 0 && noFixings && table[44] != 0) fixing = 44;
  context.choices[kFamilyLuminaireFixing] = ChooseMember(table, line, {13, 14, 15}, {13, 14, 15});
}

void SetNewLineDefaults(CRefLineEditContext& context, const std::vector<int>& table) {
  CRefLine& line = context.Line();
  const int kind = line.productKind;
  if (kind == 0) line.fixingSpacing = 50;
  if (IsQpKind(kind)) line.components[8] = table[8] > 3 ? 1 : 0;
  if (kind == 3 && context.choices[kFamilyFixing] == 10)
    line.fixingSpacing = std::min(line.fixingSpacing, 200);
}

}  // namespace

int RefGroupMessage(int group) {
  return group >= 0 && group < 4 ? kMsgGroups[static_cast<std::size_t>(group)] : 0;
}

int RefProductMessage(int kind) {
  return kind >= 0 && kind < kRefProductCount ? kMsgProducts[static_cast<std::size_t>(kind)] : 0;
}

std::string RefLinePageTitle(const CRefLine& line) {
  std::string title = StringText(RefGroupMessage(line.group)) + " - " +
                      StringText(RefProductMessage(line.productKind)) + " - ";
  title += line.name.empty() ? StringText(kMsgNewLine) : line.name;
  return title + "     ";
}

CRefComboFill RefRatingEntries(CRefLineEditContext& context) {
  std::vector<CRefComboEntry> entries;
  for (int rating : context.GetChoiceTable(2))
    if (rating != 0) entries.push_back({std::to_string(rating) + " A", rating});
  return Select(std::move(entries), context.Line(), context.Line().rating);
}

CRefComboFill RefConductorEntries(CRefLineEditContext& context) {
  const int kind = context.Line().productKind;
  const bool special = context.Config().SpecialMode() == 2 && (kind == 1 || kind == 2);
  std::vector<CRefComboEntry> entries;
  const std::vector<int> flags = context.GetChoiceTable(3);
  for (std::size_t i = 0; i < flags.size() && i < kConductorTexts.size(); ++i) {
    if (flags[i] == 0) continue;
    std::string text = kConductorTexts[i];
    if (special && i == 1) text = "3";
    if (special && i == 4) text = "3+3";
    entries.push_back({text, static_cast<int>(i)});
  }
  return Select(std::move(entries), context.Line(), context.Line().conductors);
}

CRefComboFill RefConnectionEntries(CRefLineEditContext& context) {
  std::vector<CRefComboEntry> entries;
  const std::vector<int> slots = context.GetChoiceTable(4);
  for (std::size_t i = 0; i < slots.size() && i < kCircuitTexts.size(); ++i)
    if (slots[i] > 0) entries.push_back({kCircuitTexts[i], static_cast<int>(i)});
  return Select(std::move(entries), context.Line(), context.Line().connection);
}

void BeginRefLineEdit(CRefLineEditContext& context, bool newLine) {
  CRefLine& line = context.Line();
  context.lightingFixingCode = 0;
  const std::vector<int> table = context.GetChoiceTable(1);
  if (table.size() < CRefConfig::kStateCount) return;
  if (line.productKind != 0 && line.count == 0) line.lineMode = table[46] > table[45] ? 2 : 1;
  ChooseFamilies(context, table, newLine);
  line.components[42] &= table[42];
  context.count = line.count;
  if (newLine) SetNewLineDefaults(context, table);
}

void ApplyRefLinePage(CRefLineEditContext& context, const CRefLinePageInput& input) {
  CRefLine& line = context.Line();
  const int previousRating = line.rating;
  line.rating = input.rating;
  line.conductors = input.conductors;
  line.connection = input.connection;
  line.length = input.length;
  line.count = context.count = input.count;
  if (input.tapOffBoxes && line.lineMode != 3) {
    line.lineMode = 3;
    line.slots.fill(0);
  }
  std::vector<int> table = context.GetChoiceTable(1);
  if (table.size() < CRefConfig::kStateCount) return;
  if (input.luminaireBoxes && line.lineMode == 3) {
    // Back from the tap-off boxes: the slots counted their positions, not the line's.
    line.lineMode = table[46] > table[45] ? 2 : 1;
    line.slots.fill(0);
    table = context.GetChoiceTable(1);
  }
  int flag = context.connectionFlag ? 1 : 0;
  line.ResizeSections(line.count, table.data(), &flag, 0);
  const int kind = line.productKind;
  int& feed = context.choices[kFamilyFeed];
  if (IsQpKind(kind) && table[8] == 0) line.components[8] = 0;
  if (IsQpKind(kind) && table[8] == 7) line.components[8] = 1;
  if (line.rating == 100 && previousRating != 100 && table[29] > table[0]) feed = 29;
  if (line.rating >= 401 && (feed == 30 || feed == 31)) feed = 0;
  if (kind == 1 && line.rating == 25) {
    if (table[3] != 0) context.choices[kFamilyStraight] = 3;
    if (table[6] != 0 || table[7] != 0) context.choices[kFamilyComplement] = table[6] ? 6 : 7;
    if (table[0] != 0) feed = 0;
  }
  context.ComputeComponentCounts(0);
  context.ApplyLineDefaults(line);
}

bool RefBoxKindOffered(const CRefLine& line, const CRefConfig& config) {
  const bool lighting = line.productKind == 1 || line.productKind == 2;
  return lighting && (config.QyaPairs()[0] != 0 || config.QyaPairs()[1] != 0);
}

int RefBoxKindEntry(const CRefLine& line, const CRefConfig& config) {
  if (line.lineMode == 3) return 0;
  // A saved line keeps its kind: only a line being created starts on the tap-off boxes.
  const bool newLine = line.name.empty() && line.count == 0;
  return newLine && RefBoxKindOffered(line, config) ? 0 : 1;
}

bool RefLineCanValidate(const CRefLine& line, int length, int count, bool luminaireFlag) {
  bool a = length > 0;
  const bool b = count > 0;
  if (line.productKind == 0 && line.lineMode >= 10) a = a && luminaireFlag && b;
  if (line.group == 3 && line.productKind != 1 && line.productKind != 2) a = a && b;
  return a;
}

CRefFieldLimit RefLengthLimit(const CRefLine& line) {
  if (line.productKind != kRefProductQYX) return {0, 9999};
  return {0, line.components[36] != 0 ? 74 : 75};
}

CRefFieldLimit RefCountLimit(const CRefLine& line) {
  if (line.productKind == 0 && (line.lineMode == 10 || line.lineMode == 11)) return {0, 500};
  return {0, 9999};
}

std::optional<int> ReadRefLength(const CRefLine& line, const std::string& text,
                                 const std::string& caption, std::string& problem) {
  const CRefFieldLimit limit = RefLengthLimit(line);
  if (line.productKind != kRefProductQYX)
    return ReadWholeField(text, caption, limit.min, limit.max, problem);
  const auto hundredths = ParseTypedScaled(text, 2);
  const bool exact = hundredths && ParseTypedScaled(text, 6) == *hundredths * 10000;
  const int maxWhole = hundredths && *hundredths % 100 != 0 ? 74 : 75;
  if (exact && *hundredths >= limit.min * 100 && *hundredths / 100 <= maxWhole)
    return static_cast<int>(*hundredths / 100);
  problem = FieldRangeMessage(caption, std::to_string(limit.min), std::to_string(maxWhole), false);
  return std::nullopt;
}

std::optional<int> ParseRefField(const std::string& text, CRefFieldLimit limit) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  const std::size_t last = text.find_last_not_of(' ');
  int value = 0;
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  auto [ptr, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || ptr != end || value < limit.min || value > limit.max)
    return std::nullopt;
  return value;
}

int RefTypedAmount(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return 0;
  const std::size_t last = text.find_last_not_of(' ');
  bool positive = false;
  for (std::size_t i = first; i <= last; ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    positive = positive || text[i] != '0';
  }
  if (!positive) return 0;
  constexpr int kLargest = std::numeric_limits<int>::max();
  return ParseRefField(text, CRefFieldLimit{0, kLargest}).value_or(kLargest);
}

int RefSlotUnitTotal(const CRefLine& line) {
  int units = 0;
  for (std::int32_t slot : line.slots) units += CRefLine::SlotUnits(slot);
  return units;
}
