// The one expansion of a line through the sample catalogue and option lists, as the
// configurator makes it: the straights cover the line's length, the schematic's counts
// and captions agree with the priced items, and every item it draws is priced.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "linear_test_support.h"
#include "reference/ref_line_page.h"
#include "reference/ref_schematic_layout.h"
#include "ref_sample_config_support.h"
#include "ref_test_support.h"

namespace {

// The metres of a straight or complementary element, from its reference (..ED?30: 3.0 m).
int ElementMetres(const std::string& reference) {
  const std::size_t at = reference.find("ED");
  if (at == std::string::npos || at + 5 > reference.size()) return 0;
  return std::stoi(reference.substr(at + 3, 2)) / 10;
}

// The quantity of a kind's items; for kind 1 only the elements (its joints are kind 1 too).
int SumOfKind(const CRefLine& line, int kind) {
  int sum = 0;
  for (const CRefItemNode& item : line.Items())
    if (item.kind == kind && (kind != 1 || ElementMetres(item.reference) > 0)) sum += item.quantity;
  return sum;
}

const CRefSchematicRow* RowOf(const CRefSchematicLayout& layout, int countControl) {
  for (const CRefSchematicZone& zone : layout.zones)
    for (const CRefSchematicRow& row : zone.lines)
      if (row.countControl == countControl) return &row;
  return nullptr;
}

TEST(RefLineExpansionTest, SchematicCountsCaptionsAndPricesAreOneExpansion) {
  CEnglishTexts texts;
  const struct {
    const char* fault;
    int kind, group, rating, length;
  } cases[] = {
      {"QPA 36 m once priced 24 m and drew 22 m", 4, 2, 100, 36},
      {"QPA 16 m, a rest of 1 m", 4, 2, 400, 16},
      {"QPA 17 m, a rest of 2 m", 4, 2, 250, 17},
      {"QDA 48 m once drew an end cover it did not price", 3, 2, 40, 48},
      {"QDA 10 m", 3, 2, 63, 10},
      {"QYB 20 m", 2, 3, 25, 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    CRefSampleConfig sample;
    CRefLine line = MakeRefLine(c.kind, c.rating);
    line.group = c.group;
    CRefRecordingNotifier notifier;
    CRefLineEditContext context(sample.config, line, &notifier);
    BeginRefLineEdit(context, true);
    CRefLinePageInput input;
    input.rating = c.rating, input.conductors = line.conductors;
    input.connection = line.connection, input.length = c.length;
    ApplyRefLinePage(context, input);
    context.StoreFamilyCounts();
    const CRefSchematicLayout layout = LayOutRefSchematic(context, {0, 0, 800, 500}, 20, 300);
    CRefPriceSettings settings;
    CRefCatalogue catalogue;
    ASSERT_TRUE(catalogue.OpenRefCatalogue(SampleRefSetup(), settings));
    catalogue.RebuildLineItems(line);
    EXPECT_TRUE(catalogue.Messages().empty()) << catalogue.Messages().front();
    int covered = 0;
    for (const CRefItemNode& item : line.Items()) {
      covered += item.kind == 1 ? item.quantity * ElementMetres(item.reference) : 0;
      EXPECT_GT(item.unitPrice, 0) << item.reference;
    }
    EXPECT_LE(covered, c.length);
    EXPECT_GT(covered, c.length - 3);
    // The straight row: its caption names the length of the elements priced, its count
    // is their quantity.
    const CRefSchematicRow* straight = RowOf(layout, kEditStraightCount);
    ASSERT_NE(straight, nullptr);
    const int straights = context.Edit(kEditStraightCount);
    const int complements = context.Edit(kEditComplementCount);
    // QYA and QYB put the elements between far luminaires on a row of their own.
    const int component8 = std::max(0, context.Edit(kEditComponent8Count));
    EXPECT_EQ(SumOfKind(line, 1), straights + complements + component8);
    for (const CRefItemNode& item : line.Items()) {
      if (item.kind == 1 && ElementMetres(item.reference) == 3 && complements + component8 == 0) {
        EXPECT_EQ(item.quantity, straights);
      }
    }
    EXPECT_EQ(straight->caption, "Straight lengths of 3 m");
    // The picture draws a feed unit and an end cover: both priced, the feed units as
    // many as the feed row counts.
    int feeds = 0, covers = 0;
    for (const CRefItemNode& item : line.Items()) {
      const bool cover = item.reference.find("EX") != std::string::npos;
      feeds += item.kind == 0 && !cover ? item.quantity : 0;
      covers += cover ? item.quantity : 0;
    }
    EXPECT_EQ(feeds, context.Edit(kEditFeedCount));
    EXPECT_GE(covers, 1);
  }
}

}  // namespace
