#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The rules of the start information dialog, which also serves as the About box.

enum class EInfoMode { Startup = 0, About = 2 };

constexpr int kInfoLanguageChanged = 4;  // the dialog's result after a language change

// At start-up the check box means "do not show this again" (checked when "Design"/
// "Infos" is 0); in the About box it means "show at start" (checked when it is not 0).
bool InfoCheckBoxChecked(EInfoMode mode, int infos);
// The value of "Design"/"Infos" that the check box stands for.
int InfosValue(EInfoMode mode, bool checked);

// One entry of the language list: "%03d--%d" of language number and character set.
// The number text is the part before "--" (the whole text without it).
std::string LanguageNumberText(const std::string& entryKey);
int LanguageNumber(const std::string& entryKey);  // 0 when it is no number
// The character set after "--", nothing when there is none.
std::optional<int> LanguageCharset(const std::string& entryKey);

// The cell (column, row) of a language's flag in the flag sheet, five columns wide;
// nothing for a language without a flag.
std::optional<std::pair<int, int>> FlagCell(int languageNumber);
// The languages in the order of the flag sheet's cells.
const std::vector<int>& FlagSheetLanguages();

// The index of the entry whose number is the current language, -1 when none is.
int FindLanguageIndex(const std::vector<std::string>& entryKeys, int currentLanguage);

// What OK does: the "Design"/"Infos" value to write (nothing when it did not change),
// the language number text to write (nothing unless another entry was chosen) and the
// dialog's result (1 OK, kInfoLanguageChanged).
struct CInfoOutcome {
  std::optional<int> infosToWrite;
  std::optional<std::string> languageToWrite;
  int result = 1;
};

// remembered is the index of the current language (-1 when it is not listed); chosen
// the entry selected when OK was pressed (-1 for none).
CInfoOutcome DecideInfoOk(EInfoMode mode, int infosRead, bool checked, int chosen, int remembered,
                          const std::vector<std::string>& entryKeys);
