#include "model/bom/bom_test_support.h"

#include "app/current_language.h"
#include "grid/grid_cell_format.h"
#include "model/bom/bom_line.h"
#include "model/bom/bom_group.h"
#include "model/bom/item_numbering.h"

namespace {

std::string Key(std::string_view reference) { return std::string(TrimBOMBlanks(reference)); }

}  // namespace

std::optional<std::string> CFakeBOMSource::GetDevicePropByRef(std::string_view reference,
                                                              std::string_view field) const {
  const auto record = records.find(Key(reference));
  if (record == records.end()) return std::nullopt;
  const auto value = record->second.find(std::string(field));
  if (value == record->second.end()) return std::nullopt;
  return value->second;
}

bool CFakeBOMSource::SetDevicePropByRef(std::string_view reference, std::string_view field,
                                        std::string_view value) {
  const auto record = records.find(Key(reference));
  if (record == records.end()) return false;
  if (field == "Ref") {
    auto moved = std::move(record->second);
    records.erase(record);
    records[Key(value)] = std::move(moved);
    return true;
  }
  record->second[std::string(field)] = std::string(value);
  return true;
}

std::int64_t CFakeBOMSource::CountByRef(std::string_view reference) const {
  const auto count = counts.find(Key(reference));
  return count == counts.end() ? 0 : count->second;
}

void CFakeBOMSource::SetRefQuantity(std::string_view reference, std::int64_t quantity) {
  quantities[std::string(reference)] = quantity;
  told.emplace_back(std::string(reference), quantity);
  if (quantity > 0) records[Key(reference)];  // manual records appear for a quantity
}

const CBitmapDesc* CFakeBOMSource::GetPartRecordFieldByRef(std::string_view reference) const {
  const auto picture = pictures.find(Key(reference));
  return picture == pictures.end() ? nullptr : &picture->second;
}

std::optional<std::string> CFakeBOMSource::GetNextCode(bool restart) {
  if (restart) codeCursor = 0;
  if (codeCursor >= codes.size()) return std::nullopt;
  return codes[codeCursor++];
}

void CFakeBOMSource::Put(std::string_view reference, std::string_view field,
                         std::string_view value) {
  records[Key(reference)][std::string(field)] = std::string(value);
}

bool CFakeBOMPrompter::ShowMessage(const std::string& text, const std::string& caption,
                                   bool cancel) {
  const bool answer = questions.size() < answers.size() ? answers[questions.size()] : true;
  questions.push_back({text, caption, cancel});
  return answer;
}

CBitmapDesc MakeBOMPicture(int width, int height) {
  CBitmapDesc picture;
  picture.width = width;
  picture.height = height;
  picture.widthBytes = ((width + 15) / 16) * 2;
  picture.planes = 1;
  picture.bitsPixel = 1;
  picture.bits.assign(static_cast<std::size_t>(picture.widthBytes) * height, 0xFF);
  return picture;
}

std::unique_ptr<CBOMGrid> MakeBOMPage(CBOMSource& source,
                                      const std::vector<std::string>& references) {
  auto grid = std::make_unique<CBOMGrid>();
  grid->SetSource(&source);
  grid->SetItemPrefix("A");
  for (const std::string& reference : references) grid->AddRefQuantity(reference, 1);
  return grid;
}

std::vector<std::string> BOMReferences(const CBOMGrid& grid) {
  std::vector<std::string> references;
  for (int row = 0; row < grid.GetRowCount(); ++row) {
    EXPECT_EQ(grid.GetLine(row)->row, row);
    if (row > 0 && row < grid.GetRowCount() - 1) references.push_back(grid.GetLine(row)->reference);
  }
  return references;
}

void BOMTestBase::SetUp() {
  CCurrentLanguage::Instance().Reset();
  CItemNumbering::Instance().Reset();
}

void BOMTestBase::TearDown() { CItemNumbering::Instance().Reset(); }

std::vector<std::string> BOMGridState(const CBOMGrid& grid) {
  std::vector<std::string> state;
  for (int column = 0; column < grid.GetColumnCount(); ++column)
    state.push_back("width " + std::to_string(grid.GetColumnWidth(column)));
  for (int row = 0; row < grid.GetRowCount(); ++row) {
    const CBOMLine* line = grid.GetLine(row);
    state.push_back("row " + std::to_string(row) + " height " +
                    std::to_string(grid.GetRowHeight(row)) + " line " + line->reference + " x" +
                    std::to_string(line->quantity) + " at " + std::to_string(line->row));
    for (int column = 0; column < grid.GetColumnCount(); ++column) {
      const CGridCellFormat* cell = grid.GetTextCell(row, column);
      state.push_back(
          cell == nullptr ? "-" : cell->GetText() + "|" + std::to_string(cell->GetItemData()));
    }
  }
  return state;
}
