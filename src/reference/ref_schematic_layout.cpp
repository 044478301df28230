#include "reference/ref_schematic_layout.h"

#include "app/message_text.h"
#include "reference/ref_line_page.h"

namespace {

constexpr int kFeed = 0, kStraight = 1, kSupplement = 2, kConnections = 3, kFixing = 4,
              kLuminaire = 5;
constexpr int kMsgEndClosure = 32015;
constexpr int kMsgLuminaireOptions = 32211;
constexpr int kCableRangeCaption = 1360;
constexpr int kEquipmentButton = 1267;

bool Offered(const std::vector<int>& table, int component) {
  return component >= 0 && component < static_cast<int>(table.size()) &&
         table[static_cast<std::size_t>(component)] != 0;
}

bool AnyOffered(const std::vector<int>& table, int from, int to) {
  for (int c = from; c <= to; ++c)
    if (Offered(table, c)) return true;
  return false;
}

bool Editable(const std::vector<int>& table, int component) {
  return Offered(table, component) && table[static_cast<std::size_t>(component)] % 2 == 0;
}

bool HasComponent8Row(const CRefLineEditContext& context, const std::vector<int>& table) {
  const CRefLine& line = context.Line();
  if ((line.productKind != 1 && line.productKind != 2) || !Offered(table, 8)) return false;
  if (context.Edit(kEditComponent8Count) > 0) return true;
  int length = line.length;
  if (Offered(table, 6) || Offered(table, 7)) length -= 2 * context.Edit(kEditComplementCount);
  return context.Edit(kEditStraightCount) >= 2 && (line.count == 0 || length / line.count >= 6);
}

int TitleMessage(const CRefLine& line, int zone) {
  switch (zone) {
    case kFeed: return 32012;
    case kStraight: return line.productKind == 0 ? 32087 : 32018;
    case kSupplement: return 32020;
    case kConnections: return line.lineMode == 3 ? 32268 : line.group == 3 ? 32028 : 32023;
    case kFixing: return 32032;
    default: return 32039;
  }
}

int CountOffered(const std::vector<int>& table, std::initializer_list<int> components) {
  int n = 0;
  for (int c : components) n += Offered(table, c) ? 1 : 0;
  return n;
}

bool FeedHasChoice(const std::vector<int>& table, int kind) {
  const int basic = CountOffered(table, {0, 1});
  if (basic == 2) return true;
  if (basic == 0) return false;
  return (kind != 0 && Offered(table, 28)) ||
         ((kind == 4 || kind == 8 || kind == 7) && Offered(table, 29)) ||
         ((kind == 4 || kind == 8) && (Offered(table, 30) || Offered(table, 31)));
}

bool StraightHasChoice(const std::vector<int>& table, int kind) {
  const int last = kind == 0 ? 8 : 5;
  int n = 0;
  for (int c = 3; c <= last; ++c) n += Offered(table, c) ? 1 : 0;
  return n > 1 || ((kind == 4 || kind == 8 || kind == 7) && Offered(table, 8));
}

bool FixingHasChoice(const std::vector<int>& table, const CRefLineEditContext& context) {
  const int kind = context.Line().productKind;
  int n = CountOffered(table, {9, 10, 11, 12, 44});
  if ((kind == 1 || kind == 2) && (table[42] & 1) != 0) ++n;
  if (kind == 0 && context.choices[kFamilyFixing] >= 11) ++n;
  return n > 1;
}

// The feed's caption: the feed member's, but the distribution products name their end
// feed 0 when they offer a feed at the other end (component 28).
int FeedCaptionValue(int kind, int feed, const std::vector<int>& table) {
  const bool distribution = kind == 4 || kind == 8 || kind == 5 || kind == 7;
  return distribution && feed == 0 && Offered(table, 28) ? 0 : feed + 1;
}

constexpr std::array<int, 7> kRatingButtons = {1200, 1202, 1204, 1266, 1267, 1268, 1269};
constexpr std::array<int, 7> kRatingCaptions = {1361, 1363, 1365, 1367, 1374, 1375, 1376};

// The position check boxes of the first two rating rows: each where its position of the
// connection record is set (the first not when its three-slot spread cannot hold four
// plus two conductors); a QFP line has them only below line mode 2.
int CheckOfRatingRow(CRefLineEditContext& context, int ratingRow) {
  const CRefLine& line = context.Line();
  if (ratingRow > 1 || (line.productKind == 0 && line.lineMode >= 2)) return 0;
  const CRefConfig::Record& record =
      context.Config().Connection(line.lineMode == 3 ? 9 : line.productKind);
  const int entry = record[static_cast<std::size_t>(ratingRow + 1)];
  if (entry <= 0) return 0;
  if (ratingRow == 0 && (entry & 0xFFFF) == 96 && context.connectionFlag && line.conductors == 3)
    return 0;
  return ratingRow == 0 ? kCheckPosition1 : kCheckPosition2;
}

void FillRatingRows(CRefLineEditContext& context, const std::vector<int>& table,
                    CRefSchematicZone& zone) {
  const CRefLine& line = context.Line();
  const int k = line.lineMode == 3 ? 9 : line.productKind;
  int ratingRow = 0;
  for (int c = 48; c <= 54; ++c) {
    if (table[static_cast<std::size_t>(c)] <= 0) continue;
    int code = 0;
    const auto id = GetRatingCaptionId(k, c - 47, code, context.Config().SpecialMode());
    const auto i = static_cast<std::size_t>(c - 48);
    CRefSchematicRow row{kRatingCaptions[i], StringText(static_cast<int>(id & 0xFFFF)), 0, c, false,
                         kRatingButtons[i],  CheckOfRatingRow(context, ratingRow++)};
    row.checked = row.checkControl != 0 && context.Checked(row.checkControl);
    zone.lines.push_back(row);
  }
}

CRefSchematicRow CountRow(const CRefLineEditContext& context, const std::vector<int>& table,
                          int caption, std::string text, int edit, int component) {
  const auto found = context.enabled.find(edit);
  const bool allowed = found == context.enabled.end() || found->second;
  return {caption, std::move(text), edit, component, Editable(table, component) && allowed};
}

// The tap-off units of the line, as the distribution rules last wrote them.
std::string DistributionText(CRefLineEditContext& context) {
  const std::string& text = context.texts[kStaticDistribution];
  return text.empty() ? std::to_string(RefSlotUnitTotal(context.Line())) : text;
}

void FillRows(CRefLineEditContext& context, const std::vector<int>& table,
              CRefSchematicLayout& layout) {
  const CRefLine& line = context.Line();
  const int kind = line.productKind;
  const CRefChoiceContext captions = context.ChoiceContext();
  const auto& c = context.choices;
  auto& zones = layout.zones;
  if (zones[kFeed].rows > 1 && (Offered(table, 0) || Offered(table, 1)))
    zones[kFeed].lines.push_back(
        CountRow(context, table, kCaptionFeed,
                 DescribeChoice(kind, kChoiceFeed, FeedCaptionValue(kind, c[kFamilyFeed], table),
                                false, false, captions),
                 kEditFeedCount, c[kFamilyFeed]));
  if (!zones[kFeed].lines.empty() && FeedHasChoice(table, kind))
    zones[kFeed].lines.back().chooseButton = 1231;
  if (Offered(table, 2))
    zones[kFeed].lines.push_back(
        CountRow(context, table, 1354, StringText(kMsgEndClosure), kEditEndClosureCount, 2));
  if (AnyOffered(table, 3, kind == 0 ? 8 : 5))
    zones[kStraight].lines.push_back(CountRow(
        context, table, kCaptionStraight,
        DescribeChoice(kind, kChoiceStraight, c[kFamilyStraight] - 2, false, false, captions),
        kEditStraightCount, c[kFamilyStraight]));
  if (!zones[kStraight].lines.empty() && StraightHasChoice(table, kind))
    zones[kStraight].lines.back().chooseButton = 1225;
  if (HasComponent8Row(context, table)) {
    zones[kStraight].lines.push_back(CountRow(
        context, table, 1373, DescribeChoice(kind, kChoiceStraight, 6, false, false, captions),
        kEditComponent8Count, 8));
    zones[kStraight].lines.back().chooseButton = 1232;
  }
  const bool complementShown =
      !((kind == 1 || kind == 2) && context.Config().SpecialMode() == 2 && c[kFamilyStraight] == 4);
  if (kind != 0 && (Offered(table, 6) || Offered(table, 7)) && complementShown) {
    CRefSchematicRow row{
        kCaptionComplement,
        DescribeChoice(kind, kChoiceComplement, c[kFamilyComplement] - 5, false, false, captions),
        kEditComplementCount, c[kFamilyComplement], false};
    zones[kStraight].lines.push_back(row);
  }
  if (zones[kFixing].rows > 1)
    zones[kFixing].lines.push_back(
        CountRow(context, table, kCaptionFixing,
                 DescribeChoice(kind, kChoiceFixing, c[kFamilyFixing] - 8, false,
                                line.components[42] != 0, captions),
                 kEditFixingCount, c[kFamilyFixing]));
  if (zones[kFixing].rows > 1 && FixingHasChoice(table, context))
    zones[kFixing].lines.back().chooseButton = 1228;
  if (zones[kFixing].rows > 1 && kind == 0) {
    // A QFP line fixed by its own members has no count to type; its cable range follows.
    if (c[kFamilyFixing] == 44) zones[kFixing].lines.back().countControl = 0;
    zones[kFixing].lines.push_back(
        {kCableRangeCaption,
         DescribeChoice(0, kChoiceCableEntry, 10 * c[kFamilyFixing] + line.components[13] - 79,
                        false, false, captions),
         0, 13, false});
  }
  if (zones[kLuminaire].rows > 1) {
    zones[kLuminaire].lines.push_back(
        CountRow(context, table, kCaptionLuminaireFixing,
                 DescribeChoice(kind, kChoiceCableEntry, c[kFamilyLuminaireFixing] - 12, false,
                                false, captions),
                 kEditLuminaireFixingCount, c[kFamilyLuminaireFixing]));
    if (CountOffered(table, {13, 14, 15}) > 1) zones[kLuminaire].lines.back().chooseButton = 1229;
  }
  if (zones[kSupplement].rows > 0)
    zones[kSupplement].lines.push_back(
        {1369, std::to_string(RefSupplementaryTotal(line)), 0, -1, false, 1227});
  if (zones[kConnections].rows > 0) {
    zones[kConnections].lines.push_back(
        {kStaticDistribution, DistributionText(context), 0, -1, false});
    FillRatingRows(context, table, zones[kConnections]);
  }
}

// A QFP lighting line: the fixing zone makes room for the cable range, the connections
// move up from line mode 2 on and the luminaire options stand under them.
void AdjustLuminaireZones(const CRefLine& line, int h, int w, CRefSchematicLayout& layout) {
  if (line.productKind != 0) return;
  CRefRect& fixing = layout.zones[kFixing].rect;
  if (line.group == 3 && !fixing.Empty()) {
    fixing.right += w / 4;
    fixing.bottom += h;
  }
  if (line.lineMode < 2) return;
  CRefRect& connections = layout.zones[kConnections].rect;
  if (line.group == 3 && !connections.Empty()) {
    connections.top -= h + h / 2 - 1;
    connections.bottom -= h + h / 2 - 1;
  }
  const int top = connections.Empty() ? layout.zones[kFeed].rect.top : connections.bottom + h / 2;
  const int left = connections.Empty() ? layout.zones[kStraight].rect.left : connections.left;
  // One row, as the supplementary zone: the title, the button and the total at its right.
  layout.options.rows = 1;
  layout.options.rect = {left, top, left + w, top + h};
  layout.options.titleMessage = kMsgLuminaireOptions;
  layout.options.lines.push_back({kStaticEquipment,
                                  std::to_string(RefLuminaireEquipmentTotal(line)), 0, -1, false,
                                  kEquipmentButton});
}

}  // namespace

int RefChoiceOfButton(int button, int productKind) {
  switch (button) {
    case 1201: return 0;
    case 1205: return 3;
    case 1206: return 8;
    case 1225: return 1;
    case 1227: return 7;
    case 1228: return productKind == 0 ? -1 : 4;
    case 1229: return 5;
    case 1231: return 6;
    case 1232: return 9;
    case 1267: return productKind == 0 ? -3 : 24;
    default: break;
  }
  for (std::size_t i = 0; i < kRatingButtons.size(); ++i)
    if (kRatingButtons[i] == button) return 20 + static_cast<int>(i);
  return -100;
}

bool RefIsLineOptionButton(int button) {
  return button == 1201 || button == 1205 || button == 1206;
}

int RefLuminaireEquipmentTotal(const CRefLine& line) {
  int total = 0;
  for (int c = 24; c <= 36; ++c) total += line.Component(c);
  if (line.lineMode < 10) total -= line.Component(28);
  if (line.lineMode != 11) total -= line.Component(29);
  return total;
}

int RefSupplementaryTotal(const CRefLine& line) {
  auto sum = [&line](int from, int to) {
    int total = 0;
    for (int c = from; c <= to; ++c)
      if (c != 42) total += line.Component(c);
    return total;
  };
  if (line.productKind == 6) return sum(16, 27);
  if (line.productKind == 0) {
    int total = sum(16, 23) + sum(37, 43);
    if (line.lineMode == 2) total += line.Component(28);
    if (line.lineMode == 10) total += line.Component(29);
    return total;
  }
  return sum(16, 27) + sum(33, 43);
}

std::array<int, 6> RefZoneRows(CRefLineEditContext& context) {
  const std::vector<int> table = context.GetChoiceTable(1);
  std::array<int, 6> rows{};
  if (table.size() < CRefConfig::kStateCount) return rows;
  const CRefLine& line = context.Line();
  const int kind = line.productKind;
  rows[kFeed] =
      1 + ((Offered(table, 0) || Offered(table, 1)) ? 1 : 0) + (Offered(table, 2) ? 1 : 0);
  rows[kStraight] = 1 + (AnyOffered(table, 3, kind == 0 ? 8 : 5) ? 1 : 0) +
                    (HasComponent8Row(context, table) ? 1 : 0) +
                    (kind != 0 && (Offered(table, 6) || Offered(table, 7)) ? 1 : 0);
  rows[kSupplement] = Offered(table, 55) ? 1 : 0;
  rows[kConnections] = 1;
  for (int c = 48; c <= 54; ++c)
    if (table[static_cast<std::size_t>(c)] > 0) ++rows[kConnections];
  if (line.group == 3 && kind == 6) rows[kConnections] = 0;
  rows[kFixing] = 1 + (AnyOffered(table, 9, 12) || Offered(table, 44) ? 1 : 0);
  rows[kLuminaire] = 1 + (AnyOffered(table, 13, 15) ? 1 : 0);
  if (line.group != 3 || rows[kLuminaire] != 2) rows[kLuminaire] = 0;
  return rows;
}

CRefSchematicLayout LayOutRefSchematic(CRefLineEditContext& context, CRefRect client, int h,
                                       int w) {
  CRefSchematicLayout layout;
  const std::array<int, 6> rows = RefZoneRows(context);
  const int m = h / 2;
  const CRefRect r{client.left + m, client.top + m, client.right - m, client.bottom - m};
  const int b = r.bottom - 2 * h - m;
  auto place = [&](int zone, int left, int top) {
    const int height = rows[static_cast<std::size_t>(zone)] * h;
    if (height == 0) return;
    layout.zones[static_cast<std::size_t>(zone)].rect = {left, top, left + w, top + height};
  };
  place(kFeed, r.left, b - rows[kFeed] * h);
  place(kStraight, r.right - w, r.top);
  place(kSupplement, r.right - w, r.bottom - rows[kSupplement] * h);
  place(kConnections, r.right - w, b - rows[kConnections] * h);
  place(kFixing, r.left, r.top);
  place(kLuminaire, r.left, r.top + (rows[kFixing] + 1) * h + m);
  for (std::size_t zone = 0; zone < layout.zones.size(); ++zone) {
    layout.zones[zone].rows = rows[zone];
    layout.zones[zone].titleMessage = TitleMessage(context.Line(), static_cast<int>(zone));
  }
  AdjustLuminaireZones(context.Line(), h, w, layout);
  layout.pictureTop = layout.zones[kStraight].rect.top;
  layout.pictureBottom = layout.zones[kFeed].rect.bottom;
  const std::vector<int> table = context.GetChoiceTable(1);
  if (context.Line().group == 3) context.UpdateDistributionChecks();
  if (table.size() >= CRefConfig::kStateCount) FillRows(context, table, layout);
  return layout;
}

int RefPictureOf(int kind, int lineMode, int specialMode) {
  switch (kind) {
    case 0: return lineMode == 10 || lineMode == 11 ? 31060 : 31004;
    case 1:
      if (specialMode == 1) return 31032;
      if (specialMode == 2) return 31035;
      return lineMode == 3 ? 31057 : 262;
    case 2:
      if (specialMode == 2) return 31035;
      return lineMode == 3 ? 31063 : 31058;
    case 3: return 31005;
    case 4:
    case 8: return 31006;
    case 5:
    case 7: return 31065;
    case 6: return 31059;
    default: return 0;
  }
}
