#include "model/props/page_kinds.h"
#include "pages/ui/accessory_page_dlg.h"
#include "pages/ui/characteristics_page_dlg.h"
#include "pages/ui/clinq_page_dlg.h"
#include "pages/ui/elbow_page_dlg.h"
#include "pages/ui/element_name_page_dlg.h"
#include "pages/ui/entrax_page_dlg.h"
#include "pages/ui/feed_unit_page_dlg.h"
#include "pages/ui/mounting_page_dlg.h"
#include "pages/ui/option_check_page_dlg.h"
#include "pages/ui/page_factory.h"
#include "pages/ui/riser_page_dlg.h"
#include "pages/ui/shape_dimensions_page_dlg.h"
#include "pages/ui/special_shape_page_dlg.h"
#include "ranges/range_pages.h"

void RegisterElementPages(CPropPageFactory& factory) {
  factory.Register(kPageCharacteristics,
                   [] { return std::make_unique<CCharacteristicsPageDlg>(); });
  factory.Register(kPageElbow, [] { return std::make_unique<CElbowPageDlg>(); });
  factory.Register(kPageElementName, [] { return std::make_unique<CElementNamePageDlg>(); });
  factory.Register(kPageRiser, [] { return std::make_unique<CRiserPageDlg>(); });
  factory.Register(kPageEntrax, [] { return std::make_unique<CEntraxPageDlg>(); });
  factory.Register(kPageMounting, [] { return std::make_unique<CMountingPageDlg>(); });
  factory.Register(kPageOptionCheck, [] { return std::make_unique<COptionCheckPageDlg>(); });
  factory.Register(kPageFeedUnit, [] { return std::make_unique<CFeedUnitPageDlg>(); });
  factory.Register(kPageAccessory, [] { return std::make_unique<CAccessoryPageDlg>(); });
  factory.Register(kPageSpecialShape, [] { return std::make_unique<CSpecialShapePageDlg>(true); });
  factory.Register(kPageSpecialShapeFlat,
                   [] { return std::make_unique<CSpecialShapePageDlg>(false); });
  factory.Register(kPageClinq, [] { return std::make_unique<CClinqPageDlg>(); });
  factory.Register(kPageShapeDimensions,
                   [] { return std::make_unique<CShapeDimensionsPageDlg>(); });
}
