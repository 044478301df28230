#pragma once

#include <QDialog>

#include <vector>

#include "app/device_entry.h"
#include "app/language_list.h"
#include "app/options_rules.h"
#include "app/options_values.h"

class CDorneApp;
class CDrawTabCtrl;
class COptionsFrame;
class COptionsPage;
class CPageHbaseCat;

// The options sheet (no Apply button): the pages of the window it was opened from,
// loaded from the values given. OK collects every page; a page that refuses a value
// becomes the current one and the sheet stays open.
class COptionsSheet : public QDialog {
  Q_OBJECT

 public:
  struct Setup {
    std::vector<EOptionsPage> pages;
    std::vector<CLanguageEntry> languages;
    std::vector<CDeviceEntry> devices;  // names of the colour page's items
  };

  COptionsSheet(const Setup& setup, const COptionsValues& values, QWidget* parent = nullptr);

  // The values: as loaded, and after OK as the pages left them.
  const COptionsValues& Values() const { return m_values; }
  CDrawTabCtrl* Tabs() const { return m_tabs; }
  const std::vector<COptionsPage*>& Pages() const { return m_pages; }
  // The page of that kind, null when the sheet does not show it.
  COptionsPage* Page(EOptionsPage kind) const;
  template <typename T>
  T* Page() const {
    for (COptionsPage* page : m_pages)
      if (auto* typed = qobject_cast<T*>(page)) return typed;
    return nullptr;
  }
  // Whether a price-list name was edited, with OK or Cancel.
  bool PriceListsChanged() const;

  void accept() override;

 private:
  COptionsPage* MakePage(EOptionsPage kind, const Setup& setup);
  void BuildButtons();

  COptionsValues m_values;
  std::vector<EOptionsPage> m_kinds;
  std::vector<COptionsPage*> m_pages;
  CDrawTabCtrl* m_tabs = nullptr;
};

// Where the sheet finds the application: its object, its language list and devices.
struct COptionsContext {
  CDorneApp* app = nullptr;
  std::vector<CLanguageEntry> languages;
  std::vector<CDeviceEntry> devices;
  QWidget* parent = nullptr;
};

// The Options command: frame is the layout frame the sheet was opened from (null from
// the linear and reference windows); kind is kOptionsFromLayout, kOptionsFromLinear or
// kOptionsFromReference. Runs the sheet; on OK the values go into the application and
// its settings file (ApplyOptionsValues), and price-list names that could not be saved
// are reported. Bit 0 of the result is set when a price-list name was edited (with OK
// or Cancel): the costing windows then read their price lists again.
unsigned RunOptionsSheet(COptionsFrame* frame, int kind, const COptionsContext& context);

// "The price-list names could not be saved:\n%1"
inline constexpr int kMsgPriceListsNotSaved = 7661;
