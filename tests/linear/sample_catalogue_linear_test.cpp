// Linear costing on the sample catalogue: every line its dialogs can make (every group,
// product, rating and conductor configuration they offer, both degrees of protection,
// each straight-length choice and every tap-off box row) prices each reference it
// names from a full article, rather than at 0 as a reference the table lacks.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "linear/linear_config.h"
#include "linear/linear_pricing.h"
#include "linear/linear_slots.h"
#include "linear_test_support.h"
#include "sample_articles_support.h"
#include "support/temp_folder.h"

namespace {

class SampleCatalogueLinearTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_refCoff.Load(SampleFolders().catalogue, false));
    CLinearConfig::ResetRunFlag();
    m_config.ReadLinearConfig(m_folder.Folder(), 1, 0, &m_refCoff, TVR_PROGRAM_DIR "/lin_conf.cfg");
    CLinearPriceSettings settings;
    ASSERT_TRUE(m_tables.OpenLinearTables(SampleFolders(), settings, 0));
  }

  // The reference of a name for the line, noted as made; a name without one is told by
  // the pricing itself when it applies.
  void Note(const CLinearLine& line, const std::string& name, const std::string& what) {
    const std::string trimmed = name.size() > 2 && name[1] == '_' ? name.substr(2) : name;
    if (const auto reference = m_tables.LookupLinearReference(line, trimmed))
      m_made.emplace(*reference, what);
  }

  // Every reference a formula row or tap-off box row of the product can name for the line.
  void NoteReferences(const CLinearLine& line, const std::string& what) {
    for (const CLinearTables::FormRow* row : m_tables.FormRowsFor(line.Product))
      for (const CLinearFormula* formula : {&row->formule, &row->temps, &row->poids})
        formula->Evaluate<double>([&](const CLinearFormula::Operand& operand) {
          if (operand.name < 0 && !operand.text.empty()) Note(line, operand.text, what);
          return 0.0;
        });
    for (const CRefCoffTable::Row* row : m_refCoff.RowsFor(line.Product)) {
      if (!CRefCoffTable::IsLinearRow(*row)) continue;
      for (const std::string& list : {row->ref1, row->ref2})
        for (std::size_t start = 0; start <= list.size();) {
          const std::size_t plus = std::min(list.find('+', start), list.size());
          const std::string item = list.substr(start, plus - start);
          if (item.find_first_not_of(' ') != std::string::npos) Note(line, item, what);
          start = plus + 1;
        }
    }
  }

  // Prices the line with each straight-length choice, a tap-off box in every box slot.
  void Price(CLinearLine line, const std::string& what) {
    for (int slot = kLinearFirstBoxSlot; slot < kLinearSlotCount; ++slot) line.Slots[slot] = 1;
    for (int code : {0, 5, 10}) {
      line.Slots[24] = WithSlot24Code(0, code);
      CLinearPriceBuffer buffer;
      LoadLinearFormula(line, m_tables, buffer);
    }
    NoteReferences(line, what);
    ++m_lines;
  }

  CTempFolder m_folder{"linear-walk"};
  CRefCoffTable m_refCoff;
  CLinearConfig m_config;
  CRecordingNotifier m_notifier;
  CLinearTables m_tables{&m_notifier};
  CMadeReferences m_made;
  int m_lines = 0;
};

TEST_F(SampleCatalogueLinearTest, EveryOfferedLinePricesEveryReferenceFromAFullArticle) {
  CEnglishTexts texts;
  for (int group = 0; group < kLinearGroupCount; ++group) {
    const CLinearConfig::GroupEntries& entries = m_config.Entries(group);
    const std::vector<int> support = m_config.GetChoiceTable(3, MakeLine(group, 0, 0, 0, 0));
    for (int product = 0; product < kLinearProductCount; ++product) {
      if (entries[static_cast<std::size_t>(product)] == 0) continue;
      for (int rating : CLinearConfig::RatingsOf(product, false))
        for (int conductors = 12; conductors <= 16; ++conductors) {
          if (support[static_cast<std::size_t>(product * 8 + conductors - 12)] == 0) continue;
          for (int degree : {54, 55}) {
            const std::string what = LinearProductCode(product, false) + " " +
                                     std::to_string(rating) + " A, group " + std::to_string(group) +
                                     ", " + std::to_string(conductors) + ", IP" +
                                     std::to_string(degree);
            Price(MakeLine(group, product, rating, conductors, degree), what);
          }
        }
    }
  }
  EXPECT_GT(m_lines, 100);
  std::string told;
  for (const std::string& message : m_notifier.messages) told += message + "\n";
  EXPECT_TRUE(m_notifier.messages.empty()) << told;
  EXPECT_EQ(ArticleShortfalls(m_made), "");
}

}  // namespace
