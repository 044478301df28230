#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

namespace tvr::platform {

// One field of a table as its header describes it. Names are upper case, at most 10
// characters. Types: 'C' text, 'N' numeric, 'F' float, 'L' logical, 'D' date (YYYYMMDD),
// 'I' 32-bit integer; any other type ('M' memo and the like) reads as its raw text.
struct DbfFieldInfo {
  std::string name;
  char type = 'C';
  int length = 0;
  int decimals = 0;
};

// A dBase III/IV table (also FoxPro tables, memo tables: memo contents are not read).
//
// The file is read whole into memory when it is opened and checked against its header;
// a damaged table does not open and Error() says what is wrong, naming the file.
// Texts are decoded from and encoded into the table's one code page (from the header's
// language-driver byte, else CP850), for reading, writing and seeking alike.
//
// Records are numbered from 1. The cursor walks every record, deleted ones included
// (IsDeleted tells them), in physical order, or in the order of the selected tag.
//
// Changes stay in memory until Flush or Close, which write a new file and rename it over
// the old one, so a failed write leaves the file as it was.
class CDbfTable {
 public:
  enum class Mode { ReadOnly, ReadWrite };

  // Results of Assign.
  static constexpr int kAssignDone = 0;
  static constexpr int kAssignCut = -1;      // written, but cut to the field length
  static constexpr int kAssignRefused = -2;  // nothing written; Error() says why

  // Results of Seek, as the dBase engines give them.
  static constexpr int kSeekHit = 0;     // on the first key that begins with the given one
  static constexpr int kSeekAfter = 2;   // on the first key above the given one
  static constexpr int kSeekEof = 3;     // every key is below; the cursor is at the end
  static constexpr int kSeekNoTag = -1;  // no tag selected; the cursor did not move

  CDbfTable();
  ~CDbfTable();  // closes, writing pending changes (see Close)
  CDbfTable(CDbfTable&&) noexcept;
  CDbfTable& operator=(CDbfTable&&) noexcept;
  CDbfTable(const CDbfTable&) = delete;
  CDbfTable& operator=(const CDbfTable&) = delete;

  // Opens the table. When the path does not exist, its file name is looked up without
  // regard to letter case in its folder. False with Error() set when the file is missing,
  // unreadable or damaged; any table open before is closed first.
  bool Open(const std::string& path, Mode mode = Mode::ReadOnly);

  // Starts a new empty table in read-write mode; the file is written by Flush or Close.
  // False with Error() set when a field is not valid (name of 1-10 letters, digits or '_'
  // starting with a letter, unique; C 1-254; N and F 1-20 with decimals 0, or at most
  // length-2; L 1; D 8; I 4).
  [[nodiscard]] bool Create(const std::string& path, std::vector<DbfFieldInfo> fields,
                            CodePage page = CodePage::Cp850);

  // Writes pending changes (header record count and date updated). True when nothing
  // was pending. False with Error() set when the file could not be written; the old file
  // is then untouched and the changes are kept.
  [[nodiscard]] bool Flush();
  // Flush, then close (even when Flush failed: use Flush first to keep the changes on
  // failure). Returns the result of Flush. Closing a closed table returns true.
  bool Close();

  bool IsOpen() const;
  bool IsReadOnly() const;
  const std::string& Path() const;
  // The last error text (names the file), empty when none yet.
  const std::string& Error() const;
  CodePage GetCodePage() const;

  // Fields. FieldIndex compares names without regard to letter case; -1 when absent.
  int FieldCount() const;
  const DbfFieldInfo& Field(int field) const;  // field in 0..FieldCount()-1
  int FieldIndex(std::string_view name) const;

  // Cursor. First/Next return true when the cursor stands on a record afterwards.
  std::uint32_t RecordCount() const;
  bool First();
  bool Next();
  bool AtEnd() const;
  // To record recno (1..RecordCount); false (cursor at the end) when out of range.
  // With a tag selected, Next then continues in tag order from that record.
  bool GoTo(std::uint32_t recno);
  std::uint32_t RecNo() const;  // 0 when at the end
  bool IsDeleted() const;

  // Reading the current record. An invalid field or no current record reads as empty
  // text, 0, or nothing.
  //
  // FieldText: 'I' gives the decimal text of FieldInt; 'N' the decimal text of the
  // integer reading of the field (12.75 gives "12", blanks "0"); every other type the
  // decoded text, cut at a zero byte, with leading and trailing blanks removed. When
  // 0 < width < 255 the result is padded with blanks or cut to width characters.
  std::string FieldText(int field, int width = 0) const;
  // 'I': the stored 32-bit value; others: the leading integer of FieldText(field, 0)
  // (blanks, then an optional sign and digits; " 42" gives 42), limited to 32 bits.
  std::int32_t FieldInt(int field) const;
  // The decoded text, untrimmed.
  std::string FieldRawText(int field) const;
  // The stored bytes of the field, as they are in the file.
  std::string_view FieldBytes(int field) const;
  std::string_view FieldBytesAt(std::uint32_t recno, int field) const;
  // N, F, I: the value; nothing when blank or not a number.
  std::optional<double> FieldDouble(int field) const;
  // L: true for T, t, Y, y; false for F, f, N, n; nothing otherwise.
  std::optional<bool> FieldLogical(int field) const;
  // D: "YYYYMMDD", empty when blank.
  std::string FieldDate(int field) const;

  // Writing the current record (read-write tables only).
  // Assign: C and others take the text encoded into the code page, padded with blanks,
  // cut to the field length (kAssignCut); N and F take a number written as text (the
  // point as separator) and store it as AssignNumber does; L takes T/F/Y/N/?/blank; D
  // takes YYYYMMDD or blank. Refused: no record, read-only table, bad number or date, a
  // text with a character that the table's code page has not (or that is not UTF-8).
  int Assign(int field, std::string_view text);
  // Whether every character of the UTF-8 text has a byte in the table's code page.
  bool CanHoldText(std::string_view text) const;
  // Right-aligned with the field's decimals; refused (false) when it does not fit.
  bool AssignNumber(int field, double value);
  bool AssignLogical(int field, bool value);
  bool SetDeleted(bool deleted);
  // Appends a blank record and makes it current.
  [[nodiscard]] bool Append();

  // Tags: indexes kept in memory, built on first use and after changes of their keys.
  // Index files on disk are never read. The key expression is a field name or several
  // joined by '+'; keys are the stored bytes, compared byte by byte (equal keys keep
  // the record order). False with Error() set for an unknown field or a duplicate name.
  bool AddTag(std::string_view name, std::string_view keyExpression);
  // Selects a tag by name (letter case ignored); an empty name selects physical order.
  // False (selection unchanged) for an unknown name.
  bool SelectTag(std::string_view name);
  // The name of the tag given, or without a name the selected tag, else the first tag;
  // empty when there is none.
  std::string SelectTagByName(std::string_view name) const;
  std::string SelectedTag() const;  // empty for physical order
  // Seeks the UTF-8 key (encoded into the table's code page) in the selected tag and
  // puts the cursor there. A hit is a key that begins with the given bytes, as the dBase
  // engines do: callers that need the whole key compare the field afterwards.
  int Seek(std::string_view key);

 private:
  static constexpr int kWholeRecord = -1000;  // CanWrite: a record, no field
  static constexpr int kNoRecord = -1001;     // CanWrite: the table only

  // True when the table can take a change of the field (or of the record, or a new
  // record); else false with Error() set.
  bool CanWrite(int field);
  // Puts exactly the field's length of bytes into the current record.
  void Store(int field, std::string_view bytes);
  // Sets Error() for a value the field does not take; returns kAssignRefused.
  int Refuse(int field, std::string_view value, std::string_view why);

  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace tvr::platform
