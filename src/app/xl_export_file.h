#pragma once

#include <array>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

// The key/value exchange text that the spreadsheet helper reads ("XlExport.txt"): built
// in memory line by line, written as UTF-16LE with the mark FF FE and CR LF line ends.
class CXlExportFile {
 public:
  // Adds one line (without its line end).
  void AddLine(std::string_view line) {
    m_text.append(line);
    m_ends.push_back(m_text.size());
  }
  // Adds the lines of the text, each ended by a line feed (which none of them holds).
  void AddLines(std::string_view lines);
  // The lines, each a text of its own. They are made when first asked for: the file keeps
  // its lines in one text, so that a list of thousands of lines is not thousands of
  // allocations.
  const std::vector<std::string>& Lines() const;

  // The whole file as it is written.
  std::string Bytes() const;
  // Writes a new file beside path and renames it over path. False when it cannot be
  // written (path is then as it was).
  bool Save(const std::string& path) const;

 private:
  std::string m_text;                        // the lines one after the other
  std::vector<std::size_t> m_ends;           // where each line ends in m_text
  mutable std::vector<std::string> m_lines;  // those of Lines() made so far
};

// The customer keys of an exchange file and the project properties whose values they take.
inline constexpr std::array<std::pair<const char*, const char*>, 11> kXlCustomerKeys = {{
    {"Name", "Client"},
    {"Company", "Societe"},
    {"Address", "Adresse"},
    {"ZipCode", "CodePostal"},
    {"City", "Ville"},
    {"Phone", "Telephone"},
    {"Fax", "Fax"},
    {"QuoteIssueDate", "DevisDate"},
    {"OrderDate", "Commande"},
    {"Delivery", "Delai"},
    {"DeliveryDate", "Livraison"},
}};

// Field kinds of the exchange file.
inline constexpr char kXlProjectText = '@';
inline constexpr char kXlNumber = 'N';
inline constexpr char kXlSwitch = 'B';
inline constexpr char kXlLineText = 'L';
inline constexpr char kXlLineValue = 'l';

// The exchange file knows no escape for a line end: one field stays on one line, each run
// of CR and LF in a text becoming one blank.
std::string XlOneLine(std::string_view text);

// Quotes a text for the exchange file: on one line (XlOneLine), between double quotes,
// each double quote inside doubled, so that a name holding one keeps the line whole.
std::string XlQuote(std::string_view text);

// The pieces of a comment for the exchange file's comment and remark keys: cut at its
// line feeds (a carriage return just before a line feed dropped), an empty piece " ",
// as many as asked (the missing ones " ").
std::vector<std::string> XlTextPieces(const std::string& text, int count);

// Writes one field line (key and value on one line, as XlOneLine); nothing when the key
// is empty. The key stands in double quotes;
// then by kind: '@' a comma, "@" quoted, a comma and the quoted value; 'N' and 'B' a
// comma, "", a comma and the bare value; 'l' a comma and the bare value; 'L' a comma and
// the quoted value; any other kind a comma, "", a comma and the quoted value.
void WriteXlExportField(CXlExportFile& file, std::string_view key, std::string_view value,
                        char kind);

// Messages of the model workbooks (texts in the language files).
inline constexpr int kMsgModelFilter = 8153;         // "... (*.xls *.xlsx)"
inline constexpr int kMsgModelIsOldWorkbook = 8155;  // %1 model workbook
inline constexpr int kMsgModelNotReadable = 8156;    // %1 model workbook

// The spreadsheet helper's exit code when it wrote the workbook but nothing opened it.
inline constexpr int kHelperNotOpened = 5;
// Its exit code when the model workbook cannot be read (no workbook was written).
inline constexpr int kHelperModelNotReadable = 6;

class CPrintHelperLauncher;

// What the export hands to the spreadsheet helper.
struct CXlExportJob {
  std::string exchangePath;  // "XlExport.txt" beside the settings file
  std::string modelPath;     // the model workbook the user chose
  // The workbook to write: the user's choice when saveAs, else a temporary one that
  // the helper opens.
  std::string targetPath;
  bool saveAs = false;
};

// Writes the exchange file and starts the helper (mode 12 with saveAs, else 18). An
// existing target workbook is deleted, when saveAs, only once the helper is sure to
// start. Returns 1 when started, 0 when refused or when the exchange file cannot be
// written.
int ExportToExcel(const CXlExportFile& file, const CXlExportJob& job,
                  CPrintHelperLauncher& launcher);

// True for a model the spreadsheet helper cannot read: an Excel 97-2003 workbook
// (.xls, any letter case), which the user must save as .xlsx first.
bool IsOldModelWorkbook(const std::string& path);

// The workbook named after the project's file: its extension replaced by ".xlsx" (what
// the helper writes).
std::string WorkbookName(const std::string& fileTitle);
