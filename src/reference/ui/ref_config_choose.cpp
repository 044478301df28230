// The "..." buttons of a line's components and the arrow overlay of the luminaire modes.
#include <QPushButton>
#include <QTabBar>

#include "app/message_box_codes.h"
#include "app/ui/shell_dialogs.h"
#include "linear/ref_coff_table.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_equip_dlg.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_option_dlgs.h"
#include "reference/ui/ref_rating_panel.h"

namespace {

constexpr int kFixingOffset = 8;  // fixing members 9..12 and 44 are choices 1..4 and 36

}  // namespace

void CRefConfigDlg::TellText(const QString& text) {
  if (m_environment.common.dialogs)
    m_environment.common.dialogs->Message(this, text, kMbOk | kMbIconExclamation);
}

// Counts typed on the schematic stay when it is drawn again after a dialog.
void CRefConfigDlg::KeepTypedCounts() {
  std::map<int, int> counts;
  int bad = 0;
  if (!m_area->ReadCounts(counts, bad)) return;
  for (const auto& [control, value] : counts) m_context->edits[control] = value;
}

CRefEquipSetup CRefConfigDlg::EquipSetup(bool lineOptions) {
  const CRefLine& line = m_project.lines[0];
  CRefEquipSetup setup;
  setup.product = line.productKind;
  setup.lineMode = line.lineMode;
  setup.connection = line.connection;
  setup.rating = line.rating;
  setup.length = line.length;
  setup.fixingSpacing = line.fixingSpacing;
  setup.specialMode = m_config.SpecialMode();
  setup.lineOptions = lineOptions;
  setup.zfl21 = !m_environment.common.ReadText("Database", "ZFL21", "").empty();
  setup.fixingCount = m_context->Edit(kEditFixingCount);
  setup.straightCount = m_context->Edit(kEditStraightCount);
  setup.complementCount = m_context->Edit(kEditComplementCount);
  setup.states = m_context->GetChoiceTable(1);
  return setup;
}

bool CRefConfigDlg::ChooseComponentButton(int button) {
  if (m_editState != kEditing || m_step != kStepComponents || !m_context) return false;
  CRefLine& work = m_project.lines[0];
  const int which = RefChoiceOfButton(button, work.productKind);
  if (which == -100) return false;
  KeepTypedCounts();
  auto tell = [this](const QString& text) { TellText(text); };
  if (which == 7 || which == -3) {
    CRefEquipDlg dialog(EquipSetup(which == -3), work, tell, this);
    if (dialog.exec() != QDialog::Accepted) return true;
    if (which == 7) m_context->ChooseComponent(7, 0);
    else m_context->EditLineOptions(3);
  } else if (which == -1) {
    CRefOptionDlg dialog(m_context->GetChoiceTable(1),
                         m_context->choices[kFamilyFixing] - kFixingOffset, work.Component(13) + 1,
                         this);
    if (dialog.exec() != QDialog::Accepted) return true;
    m_context->EditLineOptions(1, dialog.Choice() + kFixingOffset, dialog.Range());
  } else {
    CRefCoffTable table;
    if (which >= 20 && !table.Load(m_environment.catalogueSetup.catalogueFolder, false)) {
      TellText(QString::fromStdString(table.Error()));
      return false;
    }
    CRefRatingPanel panel(*m_context, which, &table, tell, this);
    if (!panel.Ready() || panel.exec() != QDialog::Accepted) return true;
    if (which < 20) m_context->ChooseComponent(which, panel.Member());
    m_context->texts.erase(kStaticDistribution);  // the slots changed: count them again
  }
  ShowSchematic();
  return true;
}

bool CRefConfigDlg::BeginInMode(int lineMode) {
  if (m_editState != kArrows) return false;
  ShowArrowOverlay(false);
  m_pendingMode = lineMode;
  m_tabs->setCurrentIndex(0);
  const bool begun = BeginOrCancelEdit(true);
  RefreshPageStates();
  return begun;
}

void CRefConfigDlg::ShowArrowOverlay(bool show) {
  if (m_arrows) {
    m_arrows->hide();
    m_arrows->deleteLater();
    m_arrows = nullptr;
  }
  if (!show) {
    m_editState = kBrowsing;
    m_tabs->setCurrentIndex(-1);
    RefreshPageStates();
    ShowStepButtons();
    return;
  }
  auto* overlay = new CRefArrowsDlg(
      m_context ? m_context->GetChoiceTable(1) : std::vector<int>{},
      [this](int mode) { BeginInMode(mode); }, [this] { ShowArrowOverlay(false); }, m_area);
  overlay->setGeometry(m_area->rect());
  overlay->show();
  overlay->raise();
  m_arrows = overlay;
  m_editState = kArrows;
  ShowStepButtons();
}
