// Costing by reference on the sample catalogue: every line the configurator offers (every
// group, product, rating, conductors and connection of the sample option lists, with
// every component it offers counted, a unit on every tap-off position, and the lighting
// lines of luminaires or tap-off boxes) prices each item from a full article, rather
// than at 0 as a reference the article table lacks.

#include <gtest/gtest.h>

#include <string>

#include "app/message_text.h"
#include "linear_test_support.h"
#include "reference/ref_line_page.h"
#include "reference/ref_messages.h"
#include "ref_sample_config_support.h"
#include "ref_test_support.h"
#include "sample_articles_support.h"

namespace {

// The text of a message up to its first argument.
std::string MessageHead(int number) {
  const std::string text = LookupText(number);
  return text.substr(0, text.find('%'));
}

class SampleCatalogueReferenceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_catalogue.OpenRefCatalogue(SampleRefSetup(), m_settings)); }
  void TearDown() override { m_catalogue.CloseRefCatalogue(); }

  // The line as the page validates it, every component it offers counted at least once,
  // expanded with its tap-off positions empty, then each holding a unit of the first and
  // of the second protection.
  void Price(CRefLine line, const CRefLinePageInput& input, int lineMode, const std::string& what) {
    CRefLineEditContext context(m_sample.config, line, &m_notifier);
    BeginRefLineEdit(context, true);
    line.lineMode = lineMode;
    ApplyRefLinePage(context, input);
    const std::vector<int> offered = context.GetChoiceTable(1);
    for (int c = 0; c < CRefLine::kComponentCount; ++c) {
      auto& count = line.components[static_cast<std::size_t>(c)];
      if (offered[static_cast<std::size_t>(c)] != 0 && IsRefCountedComponent(line.productKind, c))
        count = std::max(count, 1);
    }
    context.ApplyLineDefaults(line);
    for (std::int32_t protection : {-1, 0, 63}) {
      for (std::int32_t& slot : line.slots) slot = protection < 0 ? 0 : 1 | (protection << 16);
      m_catalogue.RebuildLineItems(line);
      for (const CRefItemNode& item : line.Items())
        m_made.emplace(item.reference.substr(0, item.reference.find('\n')), what);
    }
    ++m_lines;
  }

  CEnglishTexts m_texts;
  CRefSampleConfig m_sample;
  CRefPriceSettings m_settings;
  CRefRecordingNotifier m_notifier;
  CRefCatalogue m_catalogue{&m_notifier};
  CMadeReferences m_made;
  int m_lines = 0;
};

TEST_F(SampleCatalogueReferenceTest, EveryOfferedLinePricesEveryItemFromAFullArticle) {
  for (int group = 0; group < 4; ++group)
    for (int kind = 0; kind < kRefProductCount; ++kind) {
      if (!m_sample.config.ProductOffered(group, kind)) continue;
      CRefLine probe = MakeRefLine(kind, 0);
      probe.group = group;
      CRefLineEditContext context(m_sample.config, probe, &m_notifier);
      for (const CRefComboEntry& rating : RefRatingEntries(context).entries)
        for (const CRefComboEntry& conductors : RefConductorEntries(context).entries)
          for (const CRefComboEntry& connection : RefConnectionEntries(context).entries) {
            const bool lighting = kind == 1 || kind == 2;
            for (int lineMode : lighting ? std::vector<int>{1, 3} : std::vector<int>{1}) {
              CRefLinePageInput input;
              input.rating = rating.data, input.conductors = conductors.data;
              input.connection = connection.data, input.length = 36;
              input.count = lighting ? 12 : 0;
              input.tapOffBoxes = lineMode == 3, input.luminaireBoxes = lighting && lineMode != 3;
              CRefLine line = MakeRefLine(kind, rating.data, conductors.data);
              line.group = group;
              Price(line, input, lineMode,
                    std::string(RefProductCode(kind)) + " " + rating.text + ", conductors " +
                        conductors.text + ", connection " + connection.text);
            }
          }
    }
  EXPECT_GT(m_lines, 20);
  std::string told;
  for (const std::string& message : m_notifier.messages)
    if (message.starts_with(MessageHead(kMsgRefUnknownTerm)) ||
        message.starts_with(MessageHead(kMsgRefPriceNotANumber)))
      told += message + "\n";
  EXPECT_EQ(told, "");
  EXPECT_EQ(ArticleShortfalls(m_made), "");
}

}  // namespace
