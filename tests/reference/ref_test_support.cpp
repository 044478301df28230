#include "ref_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/dbf_table.h"

namespace {

std::string Printable(std::string text) {
  for (std::size_t at = text.find("\n\r"); at != std::string::npos; at = text.find("\n\r"))
    text.replace(at, 2, "|");
  return text;
}

}  // namespace

CRefCatalogueSetup SampleRefSetup() {
  CRefCatalogueSetup setup;
  setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  setup.articleFolder = std::string(TVR_PROGRAM_DIR) + "/BD/";
  return setup;
}

CRefFormFolder::CRefFormFolder(const std::vector<std::array<const char*, 4>>& rows,
                               const std::vector<std::array<const char*, 5>>& names) {
  namespace fs = std::filesystem;
  for (const char* name : {"LIN_REF.DBF", "REF_COFF.DBF"})
    fs::copy_file(SampleRefSetup().catalogueFolder + name, m_folder.File(name));
  tvr::platform::CDbfTable table;
  EXPECT_TRUE(table.Open(m_folder.File("LIN_REF.DBF"), tvr::platform::CDbfTable::Mode::ReadWrite));
  for (const auto& row : names) {
    EXPECT_TRUE(table.Append());
    for (int field = 0; field < 5; ++field) table.Assign(field, row[field]);
  }
  EXPECT_TRUE(table.Close());
  EXPECT_TRUE(
      table.Create(m_folder.File("REF_FORM.DBF"),
                   {{"PROD", 'C', 4}, {"FCT", 'C', 6}, {"PARAM", 'C', 20}, {"FORMULE", 'C', 80}}));
  for (const auto& row : rows) {
    EXPECT_TRUE(table.Append());
    for (int field = 0; field < 4; ++field) table.Assign(field, row[field]);
  }
  EXPECT_TRUE(table.Close());
}

CRefCatalogueSetup CRefFormFolder::Setup() const {
  CRefCatalogueSetup setup = SampleRefSetup();
  setup.catalogueFolder = m_folder.Folder();
  return setup;
}

CRefLine MakeRefLine(int productKind, int rating, int conductors) {
  CRefLine line;
  line.Assign(nullptr);
  line.group = 1;
  line.productKind = productKind;
  line.rating = rating;
  line.conductors = conductors;
  line.connection = 0;
  return line;
}

std::string ItemSummary(const CRefLine& line) {
  std::string summary;
  for (const CRefItemNode& item : line.Items())
    summary += Printable(item.reference) + " x" + std::to_string(item.quantity) + " :" +
               std::to_string(item.kind) + "\n";
  return summary;
}

std::string ItemListing(const CRefLine& line) {
  std::string listing;
  for (const CRefItemNode& item : line.Items())
    listing += Printable(item.reference) + " | " + item.designation + " | " +
               std::to_string(item.unitPrice) + " | " + std::to_string(item.quantity) + " | " +
               std::to_string(item.labour) + " | " + std::to_string(item.kind) + "\n";
  return listing;
}

void ExpectSameItems(const CRefLine& a, const CRefLine& b) {
  ASSERT_EQ(a.Items().size(), b.Items().size());
  for (std::size_t i = 0; i < a.Items().size(); ++i) {
    const CRefItemNode &x = a.Items()[i], &y = b.Items()[i];
    EXPECT_EQ(std::tie(x.reference, x.designation, x.unitPrice, x.quantity, x.labour, x.kind),
              std::tie(y.reference, y.designation, y.unitPrice, y.quantity, y.labour, y.kind))
        << i;
  }
}
