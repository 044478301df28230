#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CProfile;
class CWaitObserver;

// The article lines exchanged with the outside: those that the part-number tool leaves
// in its answer file ("$" lines of five fields) and those built from the article table
// for a price update (18 fields). One short-lived link per command: set it up, fill it,
// then drain it line by line.

// The settings the link reads; ReadPartNumberSettings fills them from the settings file.
struct CPartNumberSettings {
  std::string catalogueText;                // message 31525, "-", "Database"/"CurrentCat"
  std::string toolProgram = "PARTNUM.EXE";  // "Database"/"PARTNUM"
  std::string toolFolder;                   // the folder part of toolProgram
  bool zfl21Allowed = true;                 // "Database"/"ZFL21" not empty
  int priceList = 1;                        // PRIX_<n>
  int designColumn = 1;                     // DESIGN_<n>
  std::string articleFolder;                // where ARTICLE.DBU lies
};

CPartNumberSettings ReadPartNumberSettings(const CProfile& profile, std::string articleFolder);

// The folder of the tool's setting: empty without a '/', "/" for a program in the root,
// else the text before the last '/'.
std::string ToolFolderOf(std::string_view program);

// A price text in hundredths: "12.5" 1250, "12" 1200, "" 0. std::nullopt when the text is
// not a number.
std::optional<int> PriceInHundredths(std::string_view price);

// The lines of a tool answer that hold exactly four ';' and begin with '$', each with TABs
// in place of its ';', decoded from the ANSI code page (CP1252) that the tool writes. CR
// and LF in any run end a line. A line with another control byte or a byte that has no
// character in the code page is not text and is dropped.
std::vector<std::string> ParseToolAnswer(std::string_view bytes);

class CPartNumberLink {
 public:
  virtual ~CPartNumberLink() = default;

  bool Init(CPartNumberSettings settings);
  const CPartNumberSettings& Settings() const { return m_settings; }

  // Runs the tool to its end (argument list: catalogue text, "PARTNUM", the program's
  // name, the answer file made in tempFolder) and keeps its lines. False when the tool
  // could not run or did not end with 0; the answer file is gone in every case.
  bool RunPartNumberTool(const std::string& programName, const std::string& tempFolder,
                         CWaitObserver& observer);

  // One 18-field line per reference found in the article table, taken from the list's
  // last entry to its first. False when the table cannot be opened.
  bool WriteArticleList(const std::vector<std::string>& references);

  // The first line, removed from the list; nothing when the list is empty.
  std::optional<std::string> TakeNextLine();

  // What could not be read as it should: an article whose price is not a number, the
  // table that does not open. Kept for one message to the user.
  const std::vector<std::string>& Problems() const { return m_problems; }

 private:
  CPartNumberSettings m_settings;
  std::deque<std::string> m_lines;
  std::vector<std::string> m_problems;
};
