#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_price_dlg.h"

// What the buttons of the price settings panel do with its values: Apply into the
// project, Save into the settings file, Cancel nowhere.

namespace {

constexpr int kMsgConfirmSave = 31105;
constexpr int kMsgCannotWrite = 8022;

// The products each range row stands for.
std::vector<int> ProductsOfRow(int row, int productP) {
  switch (row) {
    case CLinearPriceDlg::kRowQM: return {kProductQMA, kProductQMC};
    case CLinearPriceDlg::kRowQJ: return {kProductQJF};
    case CLinearPriceDlg::kRowQW: return {kProductQWA, kProductQWC};
    case CLinearPriceDlg::kRowQP: return {productP};
    case CLinearPriceDlg::kRowQD: return {kProductQDA};
    case CLinearPriceDlg::kRowQY: return {kProductQYA, kProductQYB};
    case CLinearPriceDlg::kRowQFP: return {kProductQFP};
    case CLinearPriceDlg::kRowQYX: return {kProductQYX};
    default: return {};
  }
}

std::string FixedText(double value) { return QString::asprintf("%f", value).toStdString(); }

}  // namespace

bool CLinearPriceDlg::OnApply() {
  std::array<double, kRowCount> coefs{};
  double taux = 0.0;
  double services = 0.0;
  if (!ReadValues(coefs, taux, services)) return false;
  CLinearPriceSettings& settings = m_parent.Project().settings;
  bool changed = false;
  if (settings.priceList != m_priceList) {
    settings.priceList = m_priceList;
    if (m_parent.Environment().setCatalogue) m_parent.Environment().setCatalogue(m_priceList + 1);
    changed = true;
  }
  if (coefs[kRowList] > 0) m_listCoefs[static_cast<std::size_t>(m_priceList)] = coefs[kRowList];
  if (settings.listCoefs != m_listCoefs) settings.listCoefs = m_listCoefs, changed = true;
  if (settings.rates[0] != taux) settings.rates[0] = taux, changed = true;
  for (int row = kRowQM; row < (m_articleView ? kRowQM : kRowCount); ++row)
    for (int product : ProductsOfRow(row, m_productP)) {
      auto& values = settings.saleCoefs[static_cast<std::size_t>(product)];
      for (double& value : values)
        if (value != coefs[static_cast<std::size_t>(row)])
          value = coefs[static_cast<std::size_t>(row)], changed = true;
    }
  if (settings.services != services) settings.services = services, changed = true;
  for (int group = 0; group < 4; ++group)
    settings.groupsOn[static_cast<std::size_t>(group)] =
        m_groups[static_cast<std::size_t>(group)]->isChecked();
  Close(changed || m_changed);
  return true;
}

void CLinearPriceDlg::OnCancel() { Close(m_changed); }

void CLinearPriceDlg::Close(bool recompute) {
  CLinearDlg* owner = &m_parent;
  const int code = recompute ? CLinearDlg::kPanelRecompute : CLinearDlg::kPanelNothing;
  hide();
  // The owner deletes the panel: not inside the panel's own handler.
  QTimer::singleShot(0, owner, [owner, code] { owner->ShowEditPanel(false, code); });
}

bool CLinearPriceDlg::SavePriceSettings() {
  std::array<double, kRowCount> coefs{};
  double taux = 0.0;
  double services = 0.0;
  if (!ReadValues(coefs, taux, services)) return false;
  const CLinearEnvironment& environment = m_parent.Environment();
  if (environment.dialogs && environment.dialogs->Message(this, StringQText(kMsgConfirmSave),
                                                          kMbOkCancel | kMbIconQuestion) != kIdOk)
    return false;
  bool written = true;
  for (int group = 0; group < 4; ++group)
    written &=
        environment.WriteText("Linear", ("Appli" + std::to_string(group)).c_str(),
                              m_groups[static_cast<std::size_t>(group)]->isChecked() ? "1" : "0");
  std::array<double, 15> listCoefs = m_listCoefs;
  if (coefs[kRowList] > 0) listCoefs[static_cast<std::size_t>(m_priceList)] = coefs[kRowList];
  for (int list = 0; list < 15; ++list)
    written &= environment.WriteText("Linear", ("Coef" + std::to_string(list)).c_str(),
                                     FixedText(listCoefs[static_cast<std::size_t>(list)]));
  written &= environment.WriteText("Linear", "Taux0", FixedText(taux));
  static constexpr std::array<const char*, kRowCount> kKeys = {"",   "QM", "QJ",  "QW", "QP",
                                                               "QD", "QY", "QFP", "QYX"};
  for (int row = kRowQM; row < (m_articleView ? kRowQM : kRowCount); ++row) {
    const char* key = row == kRowQP && m_productP == kProductQPC
                          ? "QP-APOD"
                          : kKeys[static_cast<std::size_t>(row)];
    written &=
        environment.WriteText("Linear", key, FixedText(coefs[static_cast<std::size_t>(row)]));
  }
  written &= environment.WriteText("Linear", "Services", FixedText(services));
  if (!written && environment.dialogs)
    environment.dialogs->Message(this,
                                 QString::fromStdString(FormatMessageTextS(
                                     kMsgCannotWrite, environment.settingsFolder + "TVR.INI")),
                                 kMbOk | kMbIconError);
  return written;
}
