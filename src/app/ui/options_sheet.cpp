#include "app/ui/options_sheet.h"

#include <QVBoxLayout>

#include "app/dorne_app.h"
#include "app/message_text.h"
#include "app/ui/draw_tab_ctrl.h"
#include "app/ui/message_box.h"
#include "app/ui/page_colors.h"
#include "app/ui/page_design.h"
#include "app/ui/page_dir.h"
#include "app/ui/page_etiq.h"
#include "app/ui/page_hbase_cat.h"
#include "app/ui/page_lang_design.h"
#include "app/ui/page_langue.h"
#include "app/ui/page_regl.h"
#include "app/ui/page_user.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCaption = 7535;

}  // namespace

COptionsSheet::COptionsSheet(const Setup& setup, const COptionsValues& values, QWidget* parent)
    : QDialog(parent), m_values(values), m_kinds(setup.pages) {
  SetMessageText(this, kMsgCaption);
  auto* layout = new QVBoxLayout(this);
  m_tabs = new CDrawTabCtrl(this);
  m_tabs->setUsesScrollButtons(false);  // every page's tab in sight
  layout->addWidget(m_tabs);
  for (EOptionsPage kind : m_kinds) {
    COptionsPage* page = MakePage(kind, setup);
    m_pages.push_back(page);
    m_tabs->addTab(page, QString());
    SetMessageText(page, page->CaptionMessage());
    page->Load(m_values);
  }
  BuildButtons();
  TranslateWindow(this);
}

COptionsPage* COptionsSheet::MakePage(EOptionsPage kind, const Setup& setup) {
  switch (kind) {
    case EOptionsPage::Language: return new CPageLangue(setup.languages);
    case EOptionsPage::User: return new CPageUser;
    case EOptionsPage::Colors: return new CPageColors(setup.devices);
    case EOptionsPage::Factors: return new CPageRegl;
    case EOptionsPage::Design: return new CPageDesign;
    case EOptionsPage::Labels: return new CPageEtiq;
    case EOptionsPage::DesignLanguage: return new CPageLangDesign;
    case EOptionsPage::PriceLists: return new CPageHbaseCat;
    case EOptionsPage::Folder: break;
  }
  return new CPageDir;
}

void COptionsSheet::BuildButtons() { layout()->addWidget(MakeOkCancelButtons(this)); }

COptionsPage* COptionsSheet::Page(EOptionsPage kind) const {
  for (std::size_t i = 0; i < m_kinds.size(); ++i)
    if (m_kinds[i] == kind) return m_pages[i];
  return nullptr;
}

bool COptionsSheet::PriceListsChanged() const {
  auto* page = Page<CPageHbaseCat>();
  return page && page->Edits().Changed();
}

void COptionsSheet::accept() {
  COptionsValues collected = m_values;
  for (COptionsPage* page : m_pages) {
    // The page is shown first, so that a refusal is seen on it.
    m_tabs->setCurrentWidget(page);
    if (!page->Save(collected)) return;
  }
  m_values = std::move(collected);
  QDialog::accept();
}

unsigned RunOptionsSheet(COptionsFrame* frame, int kind, const COptionsContext& context) {
  if (!context.app) return 0;
  COptionsSheet::Setup setup{OptionsPages(frame != nullptr, kind), context.languages,
                             context.devices};
  COptionsValues values = LoadOptionsValues(*context.app, context.languages,
                                            [](int number) { return LookupText(number); });
  COptionsSheet sheet(setup, values, context.parent);
  if (sheet.exec() == QDialog::Accepted) {
    COptionsApplied applied =
        ApplyOptionsValues(*context.app, sheet.Values(), context.languages, frame);
    if (!applied.settingsWritten) SettingsNotSavedMessage(context.app->Profile(), context.parent);
    if (!applied.priceListError.empty()) {
      TranslatedMessageBox(QString::fromStdString(
                               FormatMessageTextS(kMsgPriceListsNotSaved, applied.priceListError)),
                           kMbOk | kMbIconError, context.parent);
    }
  }
  auto* priceLists = sheet.Page<CPageHbaseCat>();
  return priceLists ? OptionsSheetResult(priceLists->Edits()) : 0;
}
