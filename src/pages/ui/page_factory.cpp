#include "pages/ui/page_factory.h"

#include "model/props/page_kinds.h"
#include "pages/ui/length_page_dlg.h"
#include "pages/ui/phase_order_page_dlg.h"
#include "pages/ui/position_page_dlg.h"
#include "pages/ui/run_comment_page_dlg.h"
#include "pages/ui/run_ip_page_dlg.h"
#include "pages/ui/run_lengths_page_dlg.h"
#include "pages/ui/run_rating_page_dlg.h"
#include "pages/ui/run_support_page_dlg.h"
#include "pages/ui/run_thermal_page_dlg.h"
#include "ranges/range_pages.h"

CPropPageFactory& CPropPageFactory::Instance() {
  static CPropPageFactory factory = [] {
    CPropPageFactory made;
    RegisterCommonPages(made);
    RegisterElementPages(made);
    return made;
  }();
  return factory;
}

void CPropPageFactory::Register(int page, Maker maker) { m_makers[page] = std::move(maker); }

std::unique_ptr<CPropPageDialog> CPropPageFactory::Make(int page) const {
  const auto found = m_makers.find(page);
  return found != m_makers.end() ? found->second() : nullptr;
}

void RegisterCommonPages(CPropPageFactory& factory) {
  factory.Register(kPageLength, [] { return std::make_unique<CLengthPageDlg>(); });
  factory.Register(kPagePosition, [] { return std::make_unique<CPositionPageDlg>(); });
  factory.Register(kPagePhaseOrder, [] { return std::make_unique<CPhaseOrderPageDlg>(); });
  RegisterRunPages(factory);
}

void RegisterRunPages(CPropPageFactory& factory) {
  factory.Register(kPageRunComment, [] { return std::make_unique<CRunCommentPageDlg>(); });
  factory.Register(kPageRunRating, [] { return std::make_unique<CRunRatingPageDlg>(); });
  factory.Register(kPageRunIP, [] { return std::make_unique<CRunIPPageDlg>(); });
  factory.Register(kPageRunThermal, [] { return std::make_unique<CRunThermalPageDlg>(); });
  factory.Register(kPageRunLengths, [] { return std::make_unique<CRunLengthsPageDlg>(); });
  factory.Register(kPageRunSupport, [] { return std::make_unique<CRunSupportPageDlg>(); });
}
