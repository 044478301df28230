#pragma once

#include <string>
#include <utility>
#include <vector>

// A title of the bill by its message number (a kind's default, or the item column's) in
// the program's language.
std::string BOMTitleText(int number);

// The bill's titles looked up once, for a thread to use while they are in use on it:
// reading a document makes a bill for every run and titles every column of each, on
// several threads, and the language does not change meanwhile.
class CBOMTitleTexts {
 public:
  CBOMTitleTexts();

  // The texts in use on the calling thread; null when none.
  static const CBOMTitleTexts* InUse();

  // Puts texts (or none) in use on the calling thread for as long as it lives.
  class CUse {
   public:
    explicit CUse(const CBOMTitleTexts* texts);
    ~CUse();
    CUse(const CUse&) = delete;
    CUse& operator=(const CUse&) = delete;

   private:
    const CBOMTitleTexts* m_previous;
  };

  // The text of that title number; null for a number not among the bill's titles.
  const std::string* Find(int number) const;

 private:
  std::vector<std::pair<int, std::string>> m_texts;
};
