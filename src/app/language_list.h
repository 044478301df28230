#pragma once

#include <string>
#include <vector>

// The installed languages and the projects folder, as start-up settles them from the
// language files "TVR_???.TXT" of the catalogue folder.

// One usable language file.
struct CLanguageFileInfo {
  std::string path;
  int number = 0;            // from the three digits of the name
  int charset = 1;           // of "LANG"/"CHARS"
  std::string name;          // "LANG"/"00000", the language's own name
  std::string projectsName;  // "MSG"/"00014", the projects folder name, "%APP" not replaced
};

// One entry of the language list.
struct CLanguageEntry {
  std::string key;   // "%03d--%d": number and character set ("033--0")
  std::string name;  // the language's own name
};

// The files of the folder whose names match "TVR_???.TXT" without regard to letter case,
// in the order of their names (the listing order of this program), each read once per
// run. A file without a name or whose number reads as 0 is left out.
std::vector<CLanguageFileInfo> ListLanguageFiles(const std::string& catalogueFolder);

// The language list: ascending numbers; files of equal numbers keep their listing order.
std::vector<CLanguageEntry> BuildLanguageList(const std::vector<CLanguageFileInfo>& files);

struct CProjectsFolderInput {
  std::string documentsFolder;  // ends with '/'
  std::string applicationName;
  int currentLanguage = 0;      // the program's language number
  std::string projectsSetting;  // "Database"/"Projects"
};

// The projects folder (ends with '/'): the documents folder followed by the first
// listed file's projects folder name ("%APP" replaced) that names an existing folder;
// else that folder of the current language, created; else the documents folder. A
// "Database"/"Projects" naming an existing folder comes before all of these. Names that
// are empty or not one plain folder name ("", ".", "..", anything with '/') are passed
// over, so that a language file cannot point outside the documents folder.
std::string SettleProjectsFolder(const std::vector<CLanguageFileInfo>& files,
                                 const CProjectsFolderInput& input);
// The same with the documents folder of this computer.
std::string SettleProjectsFolder(const std::vector<CLanguageFileInfo>& files,
                                 const std::string& applicationName, int currentLanguage,
                                 const std::string& projectsSetting);
