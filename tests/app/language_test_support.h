#pragma once

#include <string>
#include <string_view>

#include "support/temp_folder.h"

// A temporary catalogue folder for language tests. Construction and destruction reset
// the program's current language, so no test sees another's files or texts.
class CLanguageTestFolder {
 public:
  CLanguageTestFolder();
  ~CLanguageTestFolder();
  CLanguageTestFolder(const CLanguageTestFolder&) = delete;
  CLanguageTestFolder& operator=(const CLanguageTestFolder&) = delete;

  // Ends with '/'.
  std::string Path() const { return m_folder.Folder(); }
  // Writes the bytes as the file of that name in the folder; returns its path.
  std::string WriteFile(const std::string& name, std::string_view bytes) const {
    return m_folder.WriteFile(name, bytes);
  }
  // Makes the folder the catalogue folder of the current language.
  void UseAsCatalogue(const std::string& appNameSetting = "Tavrilon") const;

 private:
  CTempFolder m_folder{"lang"};
};

// The UTF-8 text as UTF-16LE, with the mark FF FE in front when asked.
std::string Utf16Le(std::string_view utf8, bool withMark = true);
