#include "app/info_dialog_rules.h"

#include "platform/number_text.h"

namespace {

std::optional<int> NumberOf(const std::string& text) {
  std::optional<CParsedInt> parsed = ParseIntPrefix(text);
  if (!parsed) return std::nullopt;
  return parsed->value;
}

}  // namespace

bool InfoCheckBoxChecked(EInfoMode mode, int infos) {
  return mode == EInfoMode::About ? infos != 0 : infos == 0;
}

int InfosValue(EInfoMode mode, bool checked) {
  if (mode == EInfoMode::About) return checked ? 1 : 0;
  return checked ? 0 : 1;
}

std::string LanguageNumberText(const std::string& entryKey) {
  std::size_t dashes = entryKey.find("--");
  return dashes == std::string::npos ? entryKey : entryKey.substr(0, dashes);
}

int LanguageNumber(const std::string& entryKey) {
  return NumberOf(LanguageNumberText(entryKey)).value_or(0);
}

std::optional<int> LanguageCharset(const std::string& entryKey) {
  std::size_t dashes = entryKey.find("--");
  if (dashes == std::string::npos) return std::nullopt;
  return NumberOf(entryKey.substr(dashes + 2));
}

const std::vector<int>& FlagSheetLanguages() {
  static const std::vector<int> languages = {1,   33,  49, 39,  34,  54,  45, 30, 47,
                                             31,  7,   46, 44,  90,  358, 48, 43, 55,
                                             380, 421, 36, 420, 353, 351, 86, 81};
  return languages;
}

std::optional<std::pair<int, int>> FlagCell(int languageNumber) {
  const std::vector<int>& languages = FlagSheetLanguages();
  for (std::size_t index = 0; index < languages.size(); ++index) {
    if (languages[index] == languageNumber) {
      int position = static_cast<int>(index);
      return std::make_pair(position % 5, position / 5);
    }
  }
  return std::nullopt;
}

int FindLanguageIndex(const std::vector<std::string>& entryKeys, int currentLanguage) {
  for (std::size_t index = 0; index < entryKeys.size(); ++index)
    if (LanguageNumber(entryKeys[index]) == currentLanguage) return static_cast<int>(index);
  return -1;
}

CInfoOutcome DecideInfoOk(EInfoMode mode, int infosRead, bool checked, int chosen, int remembered,
                          const std::vector<std::string>& entryKeys) {
  CInfoOutcome outcome;
  int infos = InfosValue(mode, checked);
  if (infos != infosRead) outcome.infosToWrite = infos;
  bool names = chosen >= 0 && static_cast<std::size_t>(chosen) < entryKeys.size();
  if (chosen != remembered && names) {
    outcome.languageToWrite = LanguageNumberText(entryKeys[static_cast<std::size_t>(chosen)]);
    outcome.result = kInfoLanguageChanged;
  }
  return outcome;
}
