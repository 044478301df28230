#pragma once

#include <string>
#include <string_view>
#include <vector>

// Bringing the article table of the article folder up to date from a user's file: a
// whole replacement table ("ARTICLE.DBU"), a fixed-width price file, or a delimited
// text file of references with designations, prices and family codes. The imports only
// change articles already in the table; they never add any.

struct CUserArticleImport {
  std::string articleFolder;  // with its '/'
  int priceList = 0;          // 0-based: prices go into PRIX_<priceList + 1>
  int refs = 0;               // not 0: a reference may also be found through REF2
  int designField = 1;        // DESIGN_<n> takes the designations
  std::string separators;     // besides ';', TAB and '@', from [Ref] "TxtSep"
};

// Why a line of the user's file was not taken.
enum class EArticleRefusal {
  kNoReference,       // no separator, a separator first, or blanks where the reference goes
  kBadPrice,          // a price text that is not a number (the line's other fields are taken)
  kPriceTooLarge,     // a price beyond what the costing holds (2^31 - 1 hundredths)
  kBadQuantity,       // a fixed-width quantity that is not a whole number
  kBadWidth,          // a fixed-width record ("TEQ") that is not 105 characters long
  kNotWritten,        // the table refused a value (too wide for its field)
  kNotText,           // the file holds bytes no text has (a NUL)
  kUnknownReference,  // no article of the table has the reference
  kNotInCodePage,     // a text has characters the table's code page cannot hold
};

struct CRefusedArticleLine {
  int line = 0;  // from 1; 0 for the whole file
  EArticleRefusal why = EArticleRefusal::kNoReference;
  friend bool operator==(const CRefusedArticleLine&, const CRefusedArticleLine&) = default;
};
using CRefusedArticleLines = std::vector<CRefusedArticleLine>;

// The largest price, in hundredths, that the costing holds (its unit prices are 32 bits).
inline constexpr long long kMaxUserPriceHundredths = 2147483647;

enum class EUserArticleFile { kReplacementTable, kFixedWidth, kDelimited, kUnreadable };

// What kind of file the path names: a file called ARTICLE.DBU in any letter case is a
// replacement table; a text whose first line is 105 characters with blanks at 55, 77,
// 78, 97 and 98 is fixed-width; any other readable file is delimited.
EUserArticleFile UserArticleFileKind(const std::string& path);

// Copies the file over the folder's article table (through a new file renamed over the
// old one); false when it could not be copied, the table then as it was.
bool ReplaceUserArticleTable(const CUserArticleImport& import, const std::string& path);

// The delimited import; true when at least one article was changed and written. A line
// is taken whole or not at all: a line refused for any of its fields changes nothing.
// Lines it could not take are added to refused when given. A file that is valid UTF-8
// (with or without its byte-order mark) is read as UTF-8, any other 8-bit file in the
// ANSI code page.
bool ImportUserArticles(const CUserArticleImport& import, const std::string& path,
                        CRefusedArticleLines* refused = nullptr);

// The fixed-width import; true when the file and the table could be opened and the
// table written.
bool ImportFixedWidthArticles(const CUserArticleImport& import, const std::string& path,
                              CRefusedArticleLines* refused = nullptr);

// Makes the look-up by reference of the folder's article table anew (the tag TAG_REF on
// REFERENCE; of records with equal references the first is found). 0, or -1 when the
// table cannot be opened or indexed; error then says why.
int CreateUserArticleIndex(const std::string& articleFolder, std::string* error = nullptr);

// What one import of a user's file came to: whether the table changed, the message to
// show (61697 the file cannot be read, 61728 nothing imported, 32227 done), the lines
// refused and, when the look-up could not be made anew, why.
struct CUserArticleImportOutcome {
  bool changed = false;
  int message = 0;
  CRefusedArticleLines refused;
  std::string indexError;
};

// Recognises the file's kind and runs its import. The table is copied aside first and
// put back whole when the import fails half-way or leaves a table that cannot be
// indexed; a replacement table is checked before it takes the live one's place.
CUserArticleImportOutcome RunUserArticleImport(const CUserArticleImport& import,
                                               const std::string& path);

// A price text as the delimited import reads it, in hundredths ("12,5" 1250, "3.999"
// 399); -1 for an empty text or one with a character other than digits, '.' and ','.
long long UserPriceHundredths(std::string_view text);
