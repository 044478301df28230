// Validating a line may first offer the comparison of its installation solutions.
#include <QComboBox>
#include <QPushButton>

#include <algorithm>

#include "app/message_box_codes.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_comparison_dlg.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_line_page_view.h"

namespace {

constexpr int kMsgCompareFirst = 32197;

}  // namespace

bool CRefConfigDlg::ValidateOfferingComparison() {
  if (m_editState != kEditing || m_step != kStepHeader) return false;
  CRefLine probe = m_project.lines[0];
  CRefLinePageInput input;
  std::string problem;
  if (m_page->ReadInput(probe, input, problem)) {
    probe.rating = input.rating, probe.conductors = input.conductors;
    probe.connection = input.connection;
    const int connection = m_page->ConnectionCombo()->currentIndex();
    const bool offered = m_environment.common.ReadText("Comp", "Disabled", "0") != "1" &&
                         RefCompOffered(probe, connection, m_config.SpecialMode());
    if (offered && input.length > 0 && input.count > 0 && m_environment.common.dialogs) {
      const int answer = m_environment.common.dialogs->Message(
          this, StringQText(kMsgCompareFirst), kMbYesNoCancel | kMbIconQuestion | kMbDefButton2);
      if (answer == kIdCancel) return false;
      if (answer == kIdYes) OpenComparison(probe, input.length, input.count);
    }
  }
  return Validate();
}

void CRefConfigDlg::OpenComparison(const CRefLine& line, int length, int count) {
  CRefCompSetup setup;
  setup.input.productCode = RefCompProductCode(line);
  setup.input.conductorText = RefCompConductorText(line, m_config.SpecialMode());
  setup.input.figures = RefCompFiguresOf(line, length, count);
  const CRefPriceSettings& prices = m_project.priceSettings;
  setup.input.priceList = prices.priceList;
  setup.input.priceListName = PriceListName(prices.priceList);
  setup.input.priceListCaption = prices.currency;
  const int kind = std::clamp(line.productKind, 0, kRefProductCount - 1);
  setup.input.coefficient = prices.productCoefs[static_cast<std::size_t>(kind)][0];
  setup.input.labourRate = m_config.CompMo();
  setup.catalogue = m_environment.catalogueSetup;
  setup.decimal = m_decimal;
  CSolutionCompareDlg dialog(setup, m_environment.common, this);
  dialog.exec();
  m_config.SetCompMo(m_environment.common.ReadInt("Comp", "MO", 0));
}
