// The "..." buttons of a line's components and the arrow overlay of the luminaire modes.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include "app/typed_field.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/shell_dialogs.h"
#include "linear/ref_coff_table.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_equip_dlg.h"
#include "reference/ui/ref_item_tabs_dlg.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_line_page_view.h"
#include "reference/ui/ref_option_dlgs.h"
#include "reference/ui/ref_rating_panel.h"

namespace {

constexpr int kFixingOffset = 8;  // fixing members 9..12 and 44 are choices 1..4 and 36
constexpr int kItemTabsButton = 1371;
constexpr int kSpreadConnection = 7;

}  // namespace

void CRefConfigDlg::TellText(const QString& text) {
  if (m_environment.common.dialogs)
    m_environment.common.dialogs->Message(this, text, kMbOk | kMbIconExclamation);
}

// Counts typed on the schematic stay when it is drawn again after a dialog.
void CRefConfigDlg::KeepTypedCounts() {
  std::map<int, int> counts;
  int bad = 0;
  std::string ignored;  // a count the user still has to mend is told when it is taken
  if (!m_area->ReadCounts(counts, bad, ignored)) return;
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

// The option buttons stay usable from the header on: what they change is counted when
// the header is validated, or at once on the component page.
bool CRefConfigDlg::ChooseLineOption(int button) {
  if (m_editState != kEditing || m_step == kStepPrices || !m_context) return false;
  if (button == kItemTabsButton) return EditItemTabs();
  return ChooseComponentButton(button);
}

bool CRefConfigDlg::EditItemTabs() {
  if (m_editState != kEditing || m_step == kStepPrices || !m_context) return false;
  CRefLine& work = m_project.lines[0];
  const CRefFieldLimit limit = RefCountLimit(work);
  std::string problem;
  const auto count = ReadWholeField(m_page->CountEdit()->text().toStdString(),
                                    m_page->CountCaption(), limit.min, limit.max, problem);
  if (!count) {
    Tell(problem);
    return false;
  }
  m_context->count = *count;
  m_context->EditLineOptions(0);
  CRefItemTabsDlg::Setup setup;
  setup.lineMode = work.lineMode;
  setup.count = *count;
  setup.states = m_context->GetChoiceTable(1);
  setup.positions = m_config.QfpPositions();
  if (m_page->ConnectionChosen() == kSpreadConnection)
    setup.connectionChoice = RefSlotUnitTotal(work) > 0 ? 1 : 2;
  setup.decimal = m_decimal;
  CRefItemTabsDlg dialog(work, setup, this);
  if (dialog.exec() != QDialog::Accepted) return true;
  m_luminaireFlag = true;
  UpdateOptionEnables();
  if (m_step == kStepComponents) {
    m_context->ComputeComponentCounts(0);
    ShowSchematic();
  }
  return true;
}

bool CRefConfigDlg::ChooseComponentButton(int button) {
  const bool headerOption = RefIsLineOptionButton(button);
  if (m_editState != kEditing || !m_context) return false;
  if (m_step != kStepComponents && !(headerOption && m_step == kStepHeader)) return false;
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
  RefreshOptionControls();
  if (m_step == kStepComponents) ShowSchematic();
  return true;
}

bool CRefConfigDlg::SpreadOnPosition(int control, bool wasChecked) {
  if (m_editState != kEditing || m_step != kStepComponents || !m_context) return false;
  KeepTypedCounts();
  m_context->DistributeItemSlots(control == kCheckPosition1 ? 1 : 2, !wasChecked, true);
  ShowSchematic();
  return true;
}

void CRefConfigDlg::RefreshOptionControls() {
  if (!m_context || m_editState != kEditing) return;
  CRefLine& work = m_project.lines[0];
  m_context->connectionFlag = RefConnectionFlag(work, m_config);
  m_page->ShowOptionControls(
      RefLineControlsFor(work, m_context->GetChoiceTable(1), m_context->connectionFlag),
      m_step != kStepPrices);
}

// A header combo changed: the connection flag, the extra code and the connections follow.
void CRefConfigDlg::OnHeaderChoice() {
  if (m_editState != kEditing || m_step != kStepHeader || !m_context) return;
  CRefLine& work = m_project.lines[0];
  const QVariant rating = m_page->RatingCombo()->currentData();
  const QVariant conductors = m_page->ConductorCombo()->currentData();
  if (RefHeaderChoiceChanged(*m_context, rating.isValid() ? rating.toInt() : -1,
                             conductors.isValid() ? conductors.toInt() : -1))
    m_page->RefillConnections(*m_context);
  const int connection = m_page->ConnectionChosen();
  if (connection != work.connection) m_page->ConnectionCountEdit()->setText(QStringLiteral("0"));
  if (RefConnectionChosen(*m_context, connection)) m_luminaireFlag = false;
  RefreshOptionControls();
  UpdateOptionEnables();
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
