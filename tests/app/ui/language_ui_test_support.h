#pragma once

#include <functional>
#include <string>

#include "support/temp_folder.h"

class CMessageDlg;

// Loads a language of these file lines (UTF-8, [MSG] section added in front) from a
// temporary catalogue folder as the program's language. The folder and the language
// are gone with the object.
class CTestLanguage {
 public:
  explicit CTestLanguage(const std::string& messageLines, const std::string& number = "033",
                         const std::string& chars = "LATIN");
  ~CTestLanguage();
  CTestLanguage(const CTestLanguage&) = delete;
  CTestLanguage& operator=(const CTestLanguage&) = delete;

  // Loads another language file into the same folder as the program's language.
  void Switch(const std::string& messageLines, const std::string& number,
              const std::string& chars = "LATIN");

 private:
  CTempFolder m_folder{"uilang"};
};

// Runs the action on the next message dialog that is shown (from the event loop of its
// exec), so that tests can answer modal boxes.
void OnNextMessageDialog(std::function<void(CMessageDlg&)> action);
