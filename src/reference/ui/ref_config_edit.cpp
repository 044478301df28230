// The editing of a line on the line page: begin, validate the header, take the component
// counts, commit or cancel.
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeWidget>

#include <algorithm>
#include <utility>

#include "app/typed_field.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/linear_line.h"
#include "linear/ui/help_hint_dlg.h"
#include "linear/ui/text_entry_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_line_page_view.h"

namespace {

constexpr int kMsgNothingOffered = 30165;
constexpr int kMsgLeaveLine = 31106;
constexpr int kMsgLineName = 31011;
constexpr int kMsgApplyCounts = 32223;
constexpr int kMsgUnitsDiffer = 32224;
constexpr int kMsgLongerThanLine = 32235;
constexpr int kMsgUnitsHeld = 32257;
constexpr int kCodeRole = Qt::UserRole;
constexpr int kEditHint = 4;

// The luminaire mode of a new QFP line from the modes its product offers.
int LuminaireMode(const std::vector<int>& table) {
  if (table.size() < 48) return 1;
  if (table[45] != 0) return 1;
  if (table[46] != 0) return 10;
  return table[47] != 0 ? 11 : 1;
}

}  // namespace

void CRefConfigDlg::Tell(const std::string& text) {
  if (m_environment.common.dialogs)
    m_environment.common.dialogs->Message(this, QString::fromStdString(text),
                                          kMbOk | kMbIconExclamation);
}

bool CRefConfigDlg::AskOkCancel(int message) {
  return !m_environment.common.dialogs ||
         m_environment.common.dialogs->Message(this, StringQText(message),
                                               kMbOkCancel | kMbIconExclamation) == kIdOk;
}

bool CRefConfigDlg::ShowTabPage(int page) {
  if (page < 0 || page >= 3) {
    m_tabs->setCurrentIndex(-1);
    return true;
  }
  if (m_editState != kBrowsing || !PageAllowed(page)) return false;
  m_tabs->setCurrentIndex(page);
  bool shown = true;
  if (page == 0) shown = BeginOrCancelEdit(true);
  if (page == 1) ShowEditPanel(true, kPanelNothing);
  if (page == 2) ShowTotalsLine(0);
  RefreshPageStates();
  m_tree->setFocus();
  return shown;
}

bool CRefConfigDlg::BeginOrCancelEdit(bool create) {
  CRefLine& work = m_project.lines[0];
  if (!create) {
    if (m_editState != kEditing || !AskOkCancel(kMsgLeaveLine)) return false;
    work.ResizeSections(0, nullptr, nullptr, 0);
    EndEditing();
    AddNewLineItem(0);
    return true;
  }
  const int code = SelectedCode();
  const bool newLine = !IsRefLineCode(code);
  m_editing = newLine ? 0 : code;
  if (newLine) {
    work.Assign(nullptr);
    work.group = (code - 1000) / 10;
    work.productKind = (code - 1000) % 10;
  } else {
    work.Assign(&m_project.lines[static_cast<std::size_t>(code)]);
  }
  m_context = std::make_unique<CRefLineEditContext>(m_config, work, &m_notifier);
  m_context->decimalSeparator = m_decimal;
  m_luminaireFlag = !newLine && work.productKind == 0;
  const int chosenMode = std::exchange(m_pendingMode, 0);
  if (newLine && work.productKind == 0) {
    const std::vector<int> table = m_context->GetChoiceTable(1);
    if (chosenMode == 0 && RefLuminaireModes(table).size() >= 2) {
      ShowArrowOverlay(true);
      return true;
    }
    work.lineMode = chosenMode != 0 ? chosenMode : LuminaireMode(table);
  }
  if (!m_page->FillLinePage(*m_context, CRefLinePageView::kFillEdit)) {
    ShowTabPage(-1);
    Tell(StringText(kMsgNothingOffered));
    return false;
  }
  BeginRefLineEdit(*m_context, newLine);
  m_editState = kEditing;
  m_step = kStepHeader;
  m_current = 0;
  m_stack->setCurrentWidget(m_linePage);
  m_page->ShowLineControls(5, work);
  RefreshOptionControls();
  m_page->SetHeaderEnabled(true);
  m_area->ShowNothing();
  ShowStepButtons();
  if (!newLine) Validate();
  UpdateOptionEnables();
  if (m_environment.common.ReadText("Ref", CHelpHintDlg::SettingKey(kEditHint), "0") != "1" &&
      isVisible() && m_environment.common.dialogs) {
    auto* hint = new CHelpHintDlg(kEditHint, m_environment.common, this);
    hint->setAttribute(Qt::WA_DeleteOnClose);
    hint->show();
  }
  return true;
}

void CRefConfigDlg::UpdateOptionEnables() {
  if (m_editState != kEditing || m_step != kStepHeader) return;
  const CRefLine& work = m_project.lines[0];
  const bool counted = m_page->CountTyped() > 0;
  if (work.productKind == 0 && work.lineMode >= 10) {
    if (QPushButton* tabs = m_page->OptionButton(1371)) tabs->setEnabled(counted);
    if (!counted) m_luminaireFlag = false;
  }
  m_buttons[1149]->setEnabled(
      RefLineCanValidate(work, m_page->LengthTyped(), m_page->CountTyped(), m_luminaireFlag));
}

bool CRefConfigDlg::Validate() {
  if (m_editState != kEditing || m_step != kStepHeader) return false;
  CRefLine& work = m_project.lines[0];
  CRefLinePageInput input;
  std::string problem;
  if (!m_page->ReadInput(work, input, problem)) {
    Tell(problem);
    return false;
  }
  if (work.productKind == kRefProductQYX)
    m_context->SetQyxLengthText(m_page->LengthEdit()->text().toStdString());
  ApplyRefLinePage(*m_context, input);
  if (m_editing != 0) {
    // An existing line keeps the counts it was given, not those its length suggests.
    for (const auto& [edit, component] : FamilyCounts())
      m_context->edits[edit] = std::max(0, work.Component(component));  // -1 marks a choice
  }
  m_step = kStepComponents;
  m_page->SetHeaderEnabled(false);
  ShowSchematic();
  ShowStepButtons();
  return true;
}

std::map<int, int> CRefConfigDlg::FamilyCounts() const {
  const auto& c = m_context->choices;
  return {{kEditFeedCount, c[kFamilyFeed]},
          {kEditEndClosureCount, 2},
          {kEditStraightCount, c[kFamilyStraight]},
          {kEditComplementCount, c[kFamilyComplement]},
          {kEditComponent8Count, 8},
          {kEditFixingCount, c[kFamilyFixing]},
          {kEditLuminaireFixingCount, c[kFamilyLuminaireFixing]}};
}

void CRefConfigDlg::ShowSchematic() {
  const CRefLine& work = m_project.lines[0];
  auto maker = [this](CRefRect client, int h, int w) {
    return LayOutRefSchematic(*m_context, client, h, w);
  };
  m_area->ShowSchematic(maker,
                        RefPictureOf(work.productKind, work.lineMode, m_config.SpecialMode()),
                        m_context->edits, m_step != kStepComponents);
}

bool CRefConfigDlg::StoreCounts() {
  std::map<int, int> counts;
  int bad = 0;
  std::string problem;
  if (!m_area->ReadCounts(counts, bad, problem)) {
    Tell(problem);
    if (QWidget* edit = m_area->CountEdit(bad)) edit->setFocus();
    return false;
  }
  const CRefLine& work = m_project.lines[0];
  if (work.productKind != kRefProductQYX) {
    const bool differs = work.group == 3 && work.count > 0 && RefSlotUnitTotal(work) != work.count;
    const bool ask = differs || (work.productKind != 1 && work.productKind != 2) || work.count > 0;
    if (ask && !AskOkCancel(differs ? kMsgUnitsDiffer : kMsgApplyCounts)) return false;
  }
  if (RefConnectionsHoldUnits(work, m_config.SpecialMode()) && !AskOkCancel(kMsgUnitsHeld))
    return false;
  if (CountsExceedLineAllowed(counts) && !AskOkCancel(kMsgLongerThanLine)) return false;
  for (const auto& [control, value] : counts) m_context->edits[control] = value;
  m_context->StoreFamilyCounts();
  return true;
}

bool CRefConfigDlg::CountsExceedLineAllowed(const std::map<int, int>& counts) {
  auto typed = [&counts](int control) {
    const auto found = counts.find(control);
    return found != counts.end() ? found->second : 0;
  };
  return RefFamiliesExceedLength(*m_context, typed(kEditStraightCount),
                                 typed(kEditComplementCount));
}

bool CRefConfigDlg::TakeComponentCounts() {
  if (m_editState != kEditing || m_step != kStepComponents || !StoreCounts()) return false;
  ResolveLineInCatalogue(0);
  m_step = kStepPrices;
  ShowPriceTable(false);
  ShowStepButtons();
  return true;
}

void CRefConfigDlg::CloseComponentPage() {
  if (m_editState != kEditing) return;
  if (m_step == kStepPrices) {
    m_step = kStepComponents;
    ShowSchematic();
  } else if (m_step == kStepComponents) {
    m_step = kStepHeader;
    m_page->SetHeaderEnabled(true);
    m_area->ShowNothing();
    UpdateOptionEnables();
  }
  ShowStepButtons();
}

bool CRefConfigDlg::Commit() {
  if (m_editState != kEditing || m_step != kStepPrices) return false;
  CRefLine& work = m_project.lines[0];
  if (m_editing == 0) {
    CTextEntryDlg entry(this);
    const int number = CountRefLinesOf(m_project, work.group, work.productKind) + 1;
    entry.SetText(StringQText(kMsgLineName) + QStringLiteral(" %1").arg(number));
    m_buttons[1155]->setEnabled(false), m_buttons[1158]->setEnabled(false);
    const bool named = entry.exec() == QDialog::Accepted;
    m_buttons[1155]->setEnabled(true), m_buttons[1158]->setEnabled(true);
    if (!named) return false;
    work.name = LimitLinearText(entry.Text().toStdString());
    const int group = work.group, kind = work.productKind;
    const int index = AppendRefLine(m_project);
    if (index < 0) return false;
    m_noRefresh = true;
    if (QTreeWidgetItem* item = ItemOfCode(RefNewLineCode(group, kind))) delete item;
    QTreeWidgetItem* product = ItemOfCode(RefProductNodeCode(group, kind));
    QTreeWidgetItem* item = AddTreeItem(
        product, QString::fromStdString(m_project.lines[static_cast<std::size_t>(index)].name),
        index);
    m_tree->setCurrentItem(item);
    m_noRefresh = false;
  } else {
    m_project.lines[static_cast<std::size_t>(m_editing)].Assign(&work);
  }
  MarkModified();
  EndEditing();
  return true;
}

void CRefConfigDlg::EndEditing() {
  m_editState = kBrowsing;
  m_step = kStepHeader;
  m_editing = 0;
  m_current = 0;
  m_page->ShowLineControls(0, m_project.lines[0]);
  m_area->ShowNothing();
  m_stack->setCurrentWidget(m_linePage);
  m_tabs->setCurrentIndex(-1);
  ShowPriceArea(false);
  ShowStepButtons();
  RefreshPageStates();
}

void CRefConfigDlg::ShowStepButtons() {
  const bool editing = m_editState == kEditing;
  m_buttons[1148]->setVisible(editing && m_step == kStepHeader);
  m_buttons[1149]->setVisible(editing && m_step == kStepHeader);
  m_buttons[1155]->setVisible(editing && m_step != kStepHeader);
  m_buttons[1156]->setVisible(editing && m_step == kStepComponents);
  m_buttons[1158]->setVisible((editing && m_step == kStepPrices) || m_editState == kTotals);
  m_buttons[1145]->setVisible(m_editState == kBrowsing);
  m_lineScroll->setVisible(m_editState == kTotals && m_lineScroll->maximum() > 1);
  ShowPriceArea((editing && m_step == kStepPrices) || m_editState == kTotals);
  RefreshOptionControls();
}
