#pragma once

#include <string>
#include <string_view>

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

enum class EUserArticleFile { kReplacementTable, kFixedWidth, kDelimited, kUnreadable };

// What kind of file the path names: a file called ARTICLE.DBU in any letter case is a
// replacement table; a text whose first line is 105 characters with blanks at 55, 77,
// 78, 97 and 98 is fixed-width; any other readable file is delimited.
EUserArticleFile UserArticleFileKind(const std::string& path);

// Copies the file over the folder's article table (through a new file renamed over the
// old one); false when it could not be copied, the table then as it was.
bool ReplaceUserArticleTable(const CUserArticleImport& import, const std::string& path);

// The delimited import; true when at least one article was changed and written.
bool ImportUserArticles(const CUserArticleImport& import, const std::string& path);

// The fixed-width import; true when the file and the table could be opened and the
// table written.
bool ImportFixedWidthArticles(const CUserArticleImport& import, const std::string& path);

// A price text as the delimited import reads it, in hundredths ("12,5" 1250, "3.999"
// 399); -1 for an empty text or one with a character other than digits, '.' and ','.
long long UserPriceHundredths(std::string_view text);
