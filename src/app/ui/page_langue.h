#pragma once

#include <vector>

#include "app/language_list.h"
#include "app/ui/options_page.h"

class QComboBox;

// The language page: the language of the user interface at the next start, chosen
// from the application's language list (flags and names drawn in the language's own
// character set).
class CPageLangue : public COptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 168;
  static constexpr int kLanguageCombo = 1029;

  explicit CPageLangue(const std::vector<CLanguageEntry>& languages, QWidget* parent = nullptr);

  void Load(const COptionsValues& values) override;
  bool Save(COptionsValues& values) override;

  QComboBox* Languages() const { return m_languages; }

 private:
  QComboBox* m_languages = nullptr;
};
