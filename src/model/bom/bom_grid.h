#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "grid/grid_model.h"
#include "model/bom/bom_cell_props.h"
#include "model/bom/bom_change_stamp.h"
#include "model/bom/bom_column.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_group.h"
#include "model/bom/bom_item_counter.h"
#include "model/bom/bom_kept_text.h"
#include "model/bom/bom_line.h"
#include "model/bom/bom_line_index.h"
#include "model/bom/bom_stored_fonts.h"

class CArchiveReader;
class CArchiveWriter;
class CBOMPageHost;
class CBOMPrompter;
class CBOMSource;
class CBookingBatch;
class CGridCellFormat;
struct CBOMRecord;
class CRun;

// The bill of materials of one run (a run page), or the totals of all runs (the total
// page, which has no source). A line is one catalogue reference with a quantity; every
// other value of a line is read from, and written to, the properties of the source's
// records of that reference, by the key of the column's kind.
//
// Rows: 0 the title row, 1..row count - 2 the lines, the last row the edit line where a
// new reference is typed. Columns: 0 marks the edit line with "*", 1 shows item numbers,
// 2 and up a field each, chosen by their kind. Lines, rows and columns are kept in step:
// line record i is shown by row i, column record j by column j. So rows and columns
// change only through this class's operations, never through the base grid's own
// insertions and deletions.
//
// After every change the grid renumbers its lines and, on a run page, tells its view
// (if it has one) that the totals are stale and the source's document that it changed.
// Operations report failure by returning false and then change nothing.
class CBOMGrid : public CGridModel {
 public:
  static constexpr int kKindReference = kBOMKindRef;
  static constexpr int kKindQuantity = kBOMKindQuantity;
  // Quantities stay within what the documents' 32-bit quantity fields hold.
  static constexpr std::int64_t kMaxQuantity = 0x7FFFFFFF;
  // Rows that a stored grid can count.
  static constexpr int kMaxRowCount = 0xFFFF;

  // The total page.
  CBOMGrid();
  // A run page of the run (defined with the run's adapter; null gives the total page).
  explicit CBOMGrid(CRun* run);
  ~CBOMGrid() override;

  // Source: the run (through its adapter), another source (not owned), or none for the
  // total page. Changing between a run page and the total page re-keys the line index.
  void SetSource(CRun* run);
  void SetSource(CBOMSource* source);
  void SetSource(std::nullptr_t) { SetSource(static_cast<CBOMSource*>(nullptr)); }
  // The run given to SetSource(CRun*); null otherwise.
  CRun* GetSource() const { return m_run; }
  CBOMSource* GetRecordSource() const { return m_source; }
  bool IsTotalPage() const { return m_source == nullptr; }
  // The view that shows the page (not owned), or null.
  void SetView(CBOMPageHost* view) { m_view = view; }
  CBOMPageHost* GetView() const { return m_view; }
  // Asks the user while editing (not owned); without one every question is cancelled.
  void SetPrompter(CBOMPrompter* prompter) { m_prompter = prompter; }
  // The first page of the view; null without a view or pages.
  CBOMGrid* GetTotalPage() const;

  // Lines.
  // Adds a quantity (at least 1) of a reference to its line, or appends a line; the
  // source is told the line's new quantity. False for a quantity below 1, a total above
  // kMaxQuantity or a grid already holding kMaxRowCount rows (nothing changes).
  bool AddRefQuantity(std::string_view reference, std::int64_t quantity);
  // The same for a quantity that the source's records already hold (the run booking its
  // own records): the source is not told, so a booking costs nothing per record.
  bool AddHeldQuantity(std::string_view reference, std::int64_t quantity);
  // While one lives, bookings into the grid leave the numbering of new lines (and the
  // notice of a change) to its end, once for all of them: numbering each line as it
  // comes costs a pass per line. A grid that measures its texts numbers at once, since
  // the column widths follow every text its cells showed.
  class CBookingRound {
   public:
    explicit CBookingRound(CBOMGrid& grid);
    ~CBookingRound();
    CBookingRound(const CBookingRound&) = delete;
    CBookingRound& operator=(const CBookingRound&) = delete;

   private:
    CBOMGrid& m_grid;
    bool m_deferring = false;
  };
  // A booking of a reference that is to get a line of its own.
  struct CHeldLine {
    std::string_view reference;
    std::int64_t quantity = 0;
  };
  // Books the leading lines as AddHeldQuantity would one after another, as long as each
  // appends a new line (its reference has none yet, its quantity and the grid's row count
  // are within bounds), making their rows at once; returns how many it took. Only a run
  // page that nothing shows or measures, within a booking round, and whose two fixed
  // columns show no line field takes any: there each line's cells are written once.
  std::size_t AppendHeldLines(std::span<const CHeldLine> lines);
  // Removes up to that quantity (the whole line for a blank reference); a line left at
  // 0 is deleted and the source told quantity 0. False when the reference has no line or
  // the amount is below 1.
  bool RemoveRefQuantity(std::string_view reference, std::int64_t quantity);
  // Removes every line, last to first; true when every line had a quantity to remove.
  bool ClearLines();
  // Gives the line of the old reference the new text; false when it has no line. When
  // another line has the new reference, the quantity moves there and the old line goes
  // (the records of the reference hold the sum; the source is not told).
  bool RenameLine(std::string_view oldReference, std::string_view newReference);
  // Moves the line record of one line row to another (1..row count - 2), shifting those
  // between; false out of range. The cells follow at the next numbering.
  bool MoveLine(int from, int to);
  // The first line row whose reference, trimmed of blanks, equals the trimmed text (on
  // the total page both cut at their group suffix first); -1 when none.
  int FindLine(std::string_view reference) const;
  // Row count - 1.
  int GetLineCount() const { return GetRowCount() - 1; }
  // The record of any row (title, line or edit line); null out of range.
  const CBOMLine* GetLine(int row) const;
  std::int64_t GetLineQuantity(int row) const;
  // A field of a line (row 1..row count - 2): a column kind or a BOMLineField. Nothing
  // out of range and for the picture kind. Kinds 2..20 are the source's property of the
  // kind's key (empty for an empty reference or when missing); on the total page, the
  // text that the first column of that kind shows.
  std::optional<std::string> GetLineFieldText(int row, int kind) const;
  // The texts of several kinds of a line, each as GetLineFieldText gives it, the source
  // asked once for all of them; `texts` as long as `kinds`.
  void GetLineFieldTexts(int row, std::span<const int> kinds,
                         std::span<std::optional<std::string>> texts) const;
  // 0 refreshes every row; 1 numbers (when numbering is on) and refreshes; 2 only
  // numbers; negative toggles the numbering switch.
  void NumberLines(int mode);
  // Whether NumberLines(1) would leave every cell's text as it is: nothing the cells
  // show has changed since it last ran, neither the grid's lines, columns, cells and
  // item prefix, nor the source's records (a run tells its bill through MarkCellsStale),
  // nor what every bill shows (see MarkEveryBillStale).
  bool AreCellsFresh() const;
  void MarkCellsStale() {
    m_cellsFresh = false;
    m_changedSinceStamp = true;
  }
  // A mark of everything the line values read: the grid's lines, columns and cells, the
  // source's records (as the run tells them through MarkCellsStale) and what every bill
  // shows. It stays the same exactly as long as none of that changed; no two states of
  // any grids share one, so a value worked out under it may be kept with it.
  CBOMChangeStamp GetChangeStamp() const;
  // Something every bill's cells show changed: the numbering switch or a document's
  // sales rate. (The language and the product ranges are set once, before any bill.)
  static void MarkEveryBillStale();
  // A text that an export made of the cells of the lines, kept so that exporting an
  // unchanged bill again copies it: the text kept under the key (not 0; it tells apart
  // what different exports or options make) while the cells are fresh and have not been
  // refreshed since it was kept; else nothing.
  std::optional<std::string_view> GetFreshExportText(std::uint32_t key) const;
  // Keeps the text made of the cells as they are now, which must be fresh, under the key.
  void KeepExportText(std::uint32_t key, std::string_view text);
  // Fits every column whose width follows its text, once a measurer is there (a window
  // that shows the grid): cells filled before it came were never measured.
  void FitAutoWidthColumns();
  const std::string& GetItemPrefix() const { return m_itemPrefix; }
  void SetItemPrefix(std::string_view prefix);

  // Columns.
  static std::string_view ColumnKey(int kind) { return BOMColumnKey(kind); }
  const CBOMColumn* GetColumn(int index) const;
  CBOMColumn* GetColumn(int index);
  // A column of the kind after column 1..column count - 1, titled, filled from its kind.
  bool InsertColumn(int after, int kind, std::string_view title);
  // Deletes a column 2..column count - 1.
  bool DeleteColumn(int column);
  // Takes the other grid's defaults, fonts, text colour, stored columns (those with an
  // Excel flag of 0 or more) and row and cell formats.
  void CopyLayoutFrom(const CBOMGrid& other);
  // Shows the transient unit-weight column on run pages of QM and QG runs while the
  // "Support" setting is 2 or more, and hides it otherwise.
  void UpdateWeightColumn();

  // Cells.
  using CGridModel::SetCell;
  // A text cell with the text as the column shows it (see the display rules in
  // bom_cells.cpp) and the alignment.
  bool SetCell(int row, int column, std::string_view text, int alignment, bool repaint = false);
  // The text of a text cell; empty for other cells.
  std::string GetCellText(int row, int column) const;
  std::optional<std::string> GetTextCellText(int row, int column) const;
  // Make the text cell first when needed (the column's alignment, centred on row 0).
  bool SetCellFont(int row, int column, const CLogFont& font);
  bool SetCellTextColor(int row, int column, CColor color);
  bool SetCellAlignment(int row, int column, int alignment);
  // The grid's own font, also given to the grid.
  void SetDefaultLogFont(const CLogFont& font);
  const CLogFont& GetDefaultLogFont() const { return m_defaultFont; }
  // A grid row after the row with empty text cells in every column, each with its
  // column's alignment: the new edit line, whose first two cells are set next. Only the
  // line operations keep records in step; this is their step.
  bool InsertRow(int after);
  bool UpdateCellBitmap(int row, int column);
  void UpdateLineCells(int row);
  // Asks the processor for what a refresh and a listing of the page read (the line
  // records, their references, the cells and their texts) without waiting for any of it.
  // A page's records lie among its run's elements, so a walk over many pages that asks
  // for the next page while it works on this one waits for memory about once a page
  // instead of at every cell.
  void PrefetchRecords() const;
  // The grid's own fields that PrefetchRecords starts from, asked for a step earlier still:
  // they do not wait for anything.
  void PrefetchHead() const;

  bool GetDefaultAutoRowHeight() const { return m_defaultAutoRowHeight; }
  bool GetDefaultAutoColumnWidth() const { return m_defaultAutoColumnWidth; }
  void SetDefaultAutoRowHeight(bool on) { m_defaultAutoRowHeight = on; }
  void SetDefaultAutoColumnWidth(bool on) { m_defaultAutoColumnWidth = on; }
  const std::array<std::int32_t, 4>& GetRectangle() const { return m_rectangle; }
  void SetRectangle(const std::array<std::int32_t, 4>& rectangle) { m_rectangle = rectangle; }
  const std::array<std::int32_t, 3>& GetViewAngles() const { return m_viewAngles; }
  void SetViewAngles(const std::array<std::int32_t, 3>& angles) { m_viewAngles = angles; }

  // Editing (see bom_edit.cpp).
  // Whether the user may edit now: a run page whose source allows it, edit enabled.
  bool IsEditAllowed() const;
  // False for a picture column; otherwise makes the text cell and keeps its text.
  bool CanEditCell(int row, int column) override;
  // Applies the text typed into the cell (changed: the editor changed it).
  void OnCellEdited(int row, int column, bool changed) override;
  const std::string& GetEditBuffer() const { return m_editBuffer; }
  // The source's code table, for the reference pick list.
  std::vector<std::string> GetPickListCodes() const;

  // Context commands. Each ends by numbering, re-sizing what is auto and, on a run page,
  // marking the document modified; the column commands copy the columns to the other
  // pages of the view.
  // Deletes the lines of the rows (the edit line and fixed rows ignored), bottom up; a
  // line that elements use is only reduced to their count, after asking.
  bool DeleteLines(std::vector<int> rows);
  // A reference column titled with its kind's default after the column; its index, or
  // -1. The caller opens the column dialog and deletes it again on Cancel.
  int InsertColumnForEdit(int after);
  // Deletes the columns (0 and 1 cannot go); true when one went.
  bool DeleteColumns(std::vector<int> columns);
  // The dialog's fields for a mode over the selection (rows and columns of the range).
  CBOMCellProps GetCellProps(int mode, int row, int column) const;
  // Applies the dialog's fields in a mode to rows top..bottom, columns left..right.
  void ApplyCellProps(int mode, int top, int left, int bottom, int right,
                      const CBOMCellProps& props);
  // Export options of a column 1 or more; false out of range.
  bool ApplyColumnOptions(int column, std::string_view exportWidth, bool csv, bool excel);
  // Copies the stored columns (Excel flag 0 or more) and their widths to every other page
  // of the view.
  void PropagateColumns();
  // Line rows keep their heights fitted to their cells.
  void SetLineAutoHeight(int row, bool on);

  // Reordering by dragging a line's item number (see bom_line_drag.cpp): whether the row
  // is a line that may be dragged or dropped on (a run page, not the edit line); the drop
  // moves the line, keeps it selected and numbers the lines again; false, with nothing
  // changed, for a row that is not such a line.
  bool IsDraggableLine(int row) const;
  bool DropLine(int from, int to);
  // A size set by hand: the column keeps its width (and the other pages take the
  // columns), the line its height.
  void FinishColumnResize(int column);
  void FinishRowResize(int row);

  // The stored record. Writing throws std::length_error beyond the counts a record
  // holds. Reading (after the source re-created the lines) throws CArchiveError for a
  // damaged record and then changes nothing; the version is the source's document's
  // unless given.
  void Serialize(CArchiveWriter& archive) const;
  void Serialize(CArchiveReader& archive);
  void Serialize(CArchiveReader& archive, int fileVersion);
  // Reads the stored record and numbers the lines with the prefix, as reading and then
  // SetItemPrefix leave the grid, numbering once: every line's cells are written again
  // at each numbering. A grid that measures its texts goes both steps, since its column
  // widths follow every text its cells showed.
  void SerializeWithItemPrefix(CArchiveReader& archive, std::string_view prefix);
  // Reading a run: books the bookings gathered from its records and reads the stored
  // record that follows them, numbering with the prefix, as the batch's BookInto and then
  // SerializeWithItemPrefix leave the grid, but numbering once. Throws CArchiveError for a
  // damaged record, and then has booked nothing.
  void ReadWithBookings(CArchiveReader& archive, std::string_view prefix, CBookingBatch& bookings);

 private:
  enum class EditOutcome { kApplied, kCancelled, kRemoved };
  // The stored record, its fonts kept; throws for a damaged one and then changes nothing.
  CBOMRecord ReadStoredRecord(CArchiveReader& archive, int fileVersion);
  // The source's document's version, the current one without a source.
  int RecordVersion() const;

  bool IsLineRow(int row) const { return row >= 1 && row <= GetRowCount() - 2; }
  int EditRow() const { return GetRowCount() - 1; }
  CBOMLine& LineAt(int row) { return *m_lines[static_cast<std::size_t>(row)]; }
  const CBOMLine& LineAt(int row) const { return *m_lines[static_cast<std::size_t>(row)]; }
  int ColumnKind(int column) const;
  int ColumnAlignment(int column) const;
  void InitColumns();
  void MarkTotalsStale();
  void MarkModified();
  void OnCellsChanged() override { MarkCellsStale(); }

  // Line records (bom_grid.cpp).
  void SetLineReference(CBOMLine& line, std::string_view reference);
  void RenumberRecords(std::size_t from, bool resize);
  void ReindexLines();
  CBOMLine* FindLineRecord(std::string_view reference) const;
  void AppendEditLine();
  bool AddQuantity(std::string_view reference, std::int64_t quantity, bool tellSource);
  void AppendLine(std::string_view reference, std::int64_t quantity, bool tellSource);
  // Held lines in bulk (bom_held_lines.cpp).
  bool TakesHeldLinesInBulk() const;
  std::size_t AppendHeldLineRecords(std::span<const CHeldLine> lines);
  void DeleteLineRow(int row);
  void AutoSizeRowIfWanted(int row);

  // Numbering (bom_numbering.cpp).
  void WriteItemNumbers();
  void NumberNewLines();
  void ForgetNumbering() {
    m_numberedLines = -1;
    MarkCellsStale();
  }
  std::optional<std::string> TotalPageValue(int row, int kind) const;

  // Cells (bom_cells.cpp).
  // How a line's reference and designation cells are set off: a sub-item and an
  // accessory line stand indented, and an accessory's designation carries its note.
  struct CLineMarks {
    bool subItem = false;
    bool accessory = false;
  };
  // None for the title row and out of range.
  CLineMarks LineMarks(int row) const;
  // Those of a line of that group.
  static CLineMarks LineMarks(const CBOMLine& line, CBOMGroup group);
  // The text as a cell of the kind shows it on a line of those marks: a view of the text
  // (cut at its group suffix), or of room when the line is set off.
  static std::string_view MarkedText(CLineMarks marks, int kind, std::string_view text,
                                     std::string& room);
  // Puts the text as shown into the cell when it differs, and fits the column; whether
  // the cell changed.
  bool PutShownText(int row, int column, std::string_view shown, int alignment);
  // The value of the line's cell of the column (of that kind): a view of the line's
  // reference, or of room, which holds any other value.
  std::optional<std::string_view> CellValue(const CBOMLine& line, int column, int kind,
                                            std::string& room) const;
  // Whether CellValue gives the line's cell of the column a value (else the cell keeps
  // its text).
  bool HasCellValue(const CBOMLine& line, int column, int kind) const;
  // Whether the column's cells of a line that has a reference show a field of the
  // source's record (those of a line whose prices are left out none of the price
  // adjustments).
  bool IsSourceColumn(int column, int kind) const;
  // The line's cells that show a field of the source's record (unpriced: the line's
  // prices are left out), in column order, and the fields as CellValue gives each, all
  // asked of the source at once.
  struct CSourceCells {
    std::vector<int> columns;
    std::vector<std::string_view> keys;
    std::vector<std::optional<std::string>> values;
  };
  void ReadSourceCells(const CBOMLine& line, bool unpriced, CSourceCells& cells) const;
  // Refreshes rows first..last - 1 from their records, as UpdateLineCells does one.
  void RefreshRows(int first, int last);
  // Empty at 0.
  static std::string_view QuantityText(const CBOMLine& line, std::string& room);
  // Column fitting (bom_column_fit.cpp).
  void FitColumn(int row, int column, int oldWidth);
  void ForgetFitting(int column);  // -1: every column
  void ForgetWidestCount(int column);
  void ForgetRowWidths(int row);
  int CountWidestCells(int column, int inner) const;
  CGridCellFormat* MakeTextCell(int row, int column);
  void FillColumnCells(int column);

  // Columns (bom_columns.cpp).
  int FindColumnOfKind(int kind, int except) const;
  void InsertColumnRecord(int at, const CBOMColumn& column);
  void EraseColumn(int column);
  void DeleteColumnsFrom(int first);
  void CopyRowFormats(const CBOMGrid& other, const std::vector<int>& columnMap);

  // Editing (bom_edit.cpp).
  void RestoreEditedCell(int row, int column);
  bool Ask(int message, int caption, bool cancel, std::string_view p1, std::string_view p2 = {});
  void StoreTypedValues(int fromRow, std::string_view reference);
  EditOutcome EditReferenceOnEditLine(const std::string& text);
  EditOutcome EditReferenceOnLine(int row, const std::string& text);
  EditOutcome EditQuantityOnLine(int row, const std::string& text);
  void MergeInto(int fromRow, CBOMLine& target);
  void FinishEdit(int row);

  // Context commands (bom_commands.cpp, bom_props.cpp).
  bool DeleteLineForCommand(int row);
  void ApplyFontAndColor(int row, int column, const CBOMCellProps& props);
  void ApplyRowHeight(int row, const std::string& height);
  void ApplyColumnWidth(int column, const std::string& width);
  void ApplyColumnProps(int column, const CBOMCellProps& props);
  void ApplyGridProps(const CBOMCellProps& props);
  void FinishCommand(bool propagate);

  // Stored record (bom_archive.cpp).
  // The stored record without its rows, and the grid columns that it stores.
  CBOMRecord MakeRecordHead(std::vector<int>& stored) const;
  void ApplyRecord(const CBOMRecord& record);
  void ApplyColumns(const CBOMRecord& record);
  void ApplyRow(int row, const CBOMRecord& record, std::size_t index);
  int TargetRowOf(const std::string& text, int storedRow);

  std::vector<std::unique_ptr<CBOMLine>> m_lines;
  std::vector<CBOMColumn> m_columns;
  std::string m_itemPrefix;
  bool m_defaultAutoRowHeight = true;
  bool m_defaultAutoColumnWidth = true;
  std::string m_editBuffer;
  CLogFont m_defaultFont;
  CBOMSource* m_source = nullptr;
  std::unique_ptr<CBOMSource> m_ownedSource;
  CRun* m_run = nullptr;
  CBOMPageHost* m_view = nullptr;
  CBOMPrompter* m_prompter = nullptr;
  std::array<std::int32_t, 4> m_rectangle{};
  std::array<std::int32_t, 3> m_viewAngles{-30, -45, 0};
  CBOMLineIndex m_index;
  // The item counter after the last line and the number of lines it has numbered, while
  // every line's number is written and no line has moved since (-1 otherwise): lines
  // appended at the end are then numbered alone.
  CBOMItemCounter m_numberedTail;
  int m_numberedLines = -1;
  // Set by NumberLines(1), with the count of MarkEveryBillStale calls it saw; see
  // AreCellsFresh.
  bool m_cellsFresh = false;
  std::uint64_t m_freshSinceBillsStale = 0;
  // The grid's part of GetChangeStamp, taken anew when asked after a change: a change
  // costs a flag, since cells change by the thousand while a bill is read.
  mutable std::uint64_t m_changeStamp = 0;
  mutable bool m_changedSinceStamp = true;
  // Within a booking round: numbering is left to its end, and owed when a line came.
  bool m_numberingDeferred = false;
  bool m_numberingOwed = false;
  // While a stored record is about to be applied, which replaces every column after the
  // two fixed ones and, with numbering on, writes every line's item: lines appended in
  // bulk leave those cells as made.
  bool m_storedRecordComing = false;
  // While a stored record's columns are made: every line's cell that has a value is
  // written when the record's lines are numbered after, so a new column leaves it.
  bool m_lineValuesFollow = false;
  // The key of the export text kept, 0 for none. Any change marks the cells stale and
  // only a refresh makes them fresh again, which drops the text: a text kept while the
  // cells are fresh shows them as they are. (The key fills the room the flags leave.)
  std::uint32_t m_exportTextKey = 0;
  CBOMKeptText m_exportText;
  CBOMStoredFonts m_storedFonts;
  // How each column was last fitted to all its cells (see FitColumn): with which
  // measurer, and how many of its cells, not empty, are as wide as its inner width
  // then was (kUncounted: to be counted again).
  struct CColumnFit {
    static constexpr int kUncounted = -1;
    const CGridTextMeasurer* measurer = nullptr;
    int inner = kUncounted;
    int widest = 0;
  };
  std::vector<CColumnFit> m_columnFits;
};
