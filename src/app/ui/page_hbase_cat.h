#pragma once

#include "app/price_list_edits.h"
#include "app/ui/options_page.h"

class QLineEdit;
class QListWidget;

// The price-list page: the names and second names of the price lists of the article
// table. An edit is taken when either text box loses the focus; whether any name
// changed is known even when the sheet is cancelled.
class CPageHbaseCat : public COptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 206;
  static constexpr int kList = 1044;
  static constexpr int kName = 1063;
  static constexpr int kSecondName = 1017;
  static constexpr int kNameLabel = 1064;
  static constexpr int kSecondNameLabel = 1018;

  explicit CPageHbaseCat(QWidget* parent = nullptr);

  void Load(const COptionsValues& values) override;
  bool Save(COptionsValues& values) override;

  const CPriceListEdits& Edits() const { return m_edits; }
  QListWidget* List() const { return m_list; }
  // Takes the texts of the two edits for the selected entry (what leaving them does).
  void CommitEdits();

 private:
  void ShowEntry(int index);
  void OnSelectionChanged(int index);

  CPriceListEdits m_edits;
  int m_selected = -1;
  QListWidget* m_list = nullptr;
  QLineEdit* m_name = nullptr;
  QLineEdit* m_second = nullptr;
};
