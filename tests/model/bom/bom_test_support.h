#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/bitmap_desc.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_page_host.h"
#include "model/bom/bom_prompter.h"
#include "model/bom/bom_source.h"

// A run stand-in: records by trimmed reference, each a set of named properties, plus
// what the grid told it.
class CFakeBOMSource : public CBOMSource {
 public:
  std::optional<std::string> GetDevicePropByRef(std::string_view reference,
                                                std::string_view field) const override;
  bool SetDevicePropByRef(std::string_view reference, std::string_view field,
                          std::string_view value) override;
  std::int64_t CountByRef(std::string_view reference) const override;
  void SetRefQuantity(std::string_view reference, std::int64_t quantity) override;
  const CBitmapDesc* GetPartRecordFieldByRef(std::string_view reference) const override;
  std::optional<std::string> GetNextCode(bool restart) override;
  std::string GetCatalog() const override { return catalog; }
  bool IsBOMEditable() const override { return editable; }
  int GetSupportSetting() const override { return support; }
  int GetFileVersion() const override { return fileVersion; }
  void SetDocumentModified() override { ++modified; }
  void UpdateDocumentViews() override { ++viewUpdates; }

  // Gives the reference a record holding the property.
  void Put(std::string_view reference, std::string_view field, std::string_view value);

  std::map<std::string, std::map<std::string, std::string>> records;  // trimmed reference
  std::map<std::string, std::int64_t> counts;                         // trimmed reference
  std::map<std::string, std::int64_t> quantities;                     // last told, by reference
  std::vector<std::pair<std::string, std::int64_t>> told;             // every SetRefQuantity
  std::map<std::string, CBitmapDesc> pictures;
  std::vector<std::string> codes;
  std::size_t codeCursor = 0;
  std::string catalog = "QJF";
  bool editable = true;
  int support = 2;
  int fileVersion = 10000;
  int modified = 0;
  int viewUpdates = 0;
};

class CFakeBOMView : public CBOMPageHost {
 public:
  void RecomputeTotals(int compute, int quiet) override { calls.push_back({compute, quiet}); }
  CBOMGrid* GetFirstPage() const override { return firstPage; }
  std::vector<CBOMGrid*> GetPages() const override { return pages; }

  std::vector<std::pair<int, int>> calls;
  std::vector<CBOMGrid*> pages;
  CBOMGrid* firstPage = nullptr;
};

// Answers each question with the next answer (OK when none is left) and records it.
class CFakeBOMPrompter : public CBOMPrompter {
 public:
  bool ShowMessage(const std::string& text, const std::string& caption, bool cancel) override;

  struct Question {
    std::string text, caption;
    bool cancel;
  };
  std::vector<Question> questions;
  std::vector<bool> answers;
};

// A 1-bit picture of the given size, all white.
CBitmapDesc MakeBOMPicture(int width, int height);

// A run page of the source numbered "A", with a line of quantity 1 for each reference.
std::unique_ptr<CBOMGrid> MakeBOMPage(CBOMSource& source,
                                      const std::vector<std::string>& references = {});

// The references of the lines in row order, title row and edit line left out; checks on
// the way that every row, those two included, knows its own index.
std::vector<std::string> BOMReferences(const CBOMGrid& grid);

// Everything a grid shows and keeps of its lines: sizes, each cell's text and alignment
// (or that it holds none), and each line's reference, quantity and row.
std::vector<std::string> BOMGridState(const CBOMGrid& grid);

// Every grid test starts in the default language with numbering on, and leaves it on.
class BOMTestBase : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};
