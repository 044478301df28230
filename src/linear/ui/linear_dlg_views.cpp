#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeWidget>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/price_lists.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/ui/component_chooser_dlg.h"
#include "linear/ui/help_hint_dlg.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_line_editor.h"
#include "linear/ui/linear_price_dlg.h"
#include "linear/ui/linear_price_view.h"
#include "linear/ui/name_comment_panel.h"
#include "linear/ui/text_entry_dlg.h"

// The views of the linear main dialog: the tabs, the line editor's road from a new line
// to a saved one, the panels, the project price view and the costing.

namespace {

constexpr int kMsgNothingOffered = 30165;
constexpr std::array<int, 4> kMsgGroups = {31001, 31002, 31003, 31123};
constexpr int kMsgNewLine = 31010;
constexpr int kMaxMultiplier = 100;
constexpr int kMsgSaveLine = 31018;
constexpr int kMsgCloseView = 31044;
constexpr int kMsgPricesChanged = 31191;
constexpr int kMsgNoLineYet = 31196;

}  // namespace

void CLinearDlg::OnTabChanged(int tab) {
  if (tab < 0 || m_viewMode == kViewPanel) return;
  // The project view is left for the line it shows, whose editor or panel opens.
  if (m_viewMode == kViewProject && (tab == 0 || tab == 1)) {
    const int line = m_currentLine;
    ShowTabPage(-1);
    SelectItem(line);
  }
  ShowTabPage(tab);
}

void CLinearDlg::LeaveByEscape() {
  if (m_viewMode == kViewProject) ShowTabPage(-1);
  else if (auto* names = dynamic_cast<CNameCommentPanel*>(m_panel)) names->OnCancel();
  else if (auto* prices = dynamic_cast<CLinearPriceDlg*>(m_panel)) prices->OnCancel();
}

void CLinearDlg::ShowViewTab() {
  const int tab = m_viewMode == kViewEditor    ? 0
                  : m_viewMode == kViewPanel   ? 1
                  : m_viewMode == kViewProject ? 2
                                               : kNoTab;
  if (m_tabs->currentIndex() != tab) m_tabs->setCurrentIndex(tab);
}

void CLinearDlg::ShowTabPage(int tab) {
  if (tab == 0) {
    int data = SelectedItem();
    if (data >= 0 && data < m_project.lines.LineCount()) EditLine(data);
    else if (data <= -1000 && data > -1000 - kLinearGroupCount) NewLine(-1000 - data);
  } else if (tab == 1) {
    ShowEditPanel(true, 0);
  } else if (tab == 2 && m_viewMode == kViewNone) {
    m_viewMode = kViewProject;
    int count =
        m_project.lines.FindLine(0, CLinearLineList::kAllLines, m_project.settings.groupsOn);
    m_projectScroll->setRange(1, std::max(1, count));
    m_projectScroll->setVisible(count >= 2);
    ShowViewTab();
    // A project without lines opens the view all the same, on a page that says why it
    // holds no prices.
    if (count == 0) {
      m_priceListLabel->setText(
          QString::fromStdString(PriceListName(m_project.settings.priceList)));
      m_coefLabel->clear();
      ShowLineTable(-1);
    } else {
      ShowProjectLine(1);
    }
  } else if (tab < 0 || tab > 2) {
    if (m_viewMode == kViewProject) m_viewMode = kViewNone;
    ShowViewTab();
    ShowLineTable(m_currentLine);
  }
  if (m_viewMode == kViewProject) KeepKeysHere();
  RefreshButtons();
}

void CLinearDlg::KeepKeysHere() {
  // Escape reaches the dialog only through a child with the focus; a view opened while
  // the focus was on the window's frame or on a page that went (the editor) would not
  // hear it.
  QWidget* focus = QApplication::focusWidget();
  if (!focus || !isAncestorOf(focus)) m_tree->setFocus();
}

void CLinearDlg::ShowProjectLine(int position) {
  if (m_viewMode != kViewProject) return;
  int index =
      m_project.lines.FindLine(position, CLinearLineList::kAllLines, m_project.settings.groupsOn);
  if (index < 0) return;
  m_currentLine = index;
  const CLinearLine& line = m_project.lines.Line(index);
  double gross = line.TotalValues[1];
  double coef = gross > 0 ? (line.TotalValues[2] - line.ExtraValues[2]) / gross : 0.0;
  m_priceListLabel->setText(QString::fromStdString(PriceListName(m_project.settings.priceList)));
  m_coefLabel->setText(QString::asprintf("%.3g", coef));
  ShowLineTable(index);
}

void CLinearDlg::ShowLineTable(int index) {
  CLinearPriceTable::Settings settings;
  settings.services = m_project.settings.services;
  settings.decimal = m_decimal;
  settings.apod = m_config.Apod();
  settings.enabled = m_project.settings.groupsOn;
  const bool valid = index >= 0 && index <= m_project.lines.LineCount() &&
                     m_project.lines.Line(index).Product >= 0;
  m_priceView->SetColumnsShown(m_columnsShown);
  m_priceView->SetEmptyText(m_viewMode == kViewProject ? StringQText(kMsgNoLineYet) : QString());
  m_priceView->SetLine(valid ? &m_project.lines.Line(index) : nullptr, settings,
                       m_viewMode == kViewProject ? &m_project.lines : nullptr,
                       CLinearLineList::kAllLines);
  m_stack->setCurrentWidget(m_priceView);
  RefreshButtons();
}

void CLinearDlg::RefreshButtons() {
  const bool priced = m_viewMode == kViewEditor && m_stack->currentWidget() == m_priceView;
  const bool lineShown = priced || m_viewMode == kViewProject;
  m_saveButton->setVisible(lineShown);
  // In the project view the button saves nothing: it closes the view.
  m_saveButton->setText(StringQText(m_viewMode == kViewProject ? kMsgCloseView : kMsgSaveLine));
  const int index = m_viewMode == kViewEditor ? m_project.lines.LineCount() : m_currentLine;
  const int multiplier = index >= 0 ? m_project.lines.Line(index).Multiplier() : 1;
  m_plusButton->setVisible(priced);
  m_minusButton->setVisible(priced);
  m_plusButton->setEnabled(multiplier < kMaxMultiplier);
  m_minusButton->setEnabled(multiplier > 1);
  m_priceBox->setVisible(m_viewMode == kViewProject);
  m_newLineButton->setEnabled(m_viewMode == kViewNone && SelectedGroup() >= 0);
}

bool CLinearDlg::NewLine(int group) {
  if (m_viewMode != kViewNone || !m_project.lines.BeginNewLine(group)) return false;
  m_editingIndex = -1;
  m_editingGroup = group;
  m_viewMode = kViewEditor;
  QString title = StringQText(kMsgGroups[static_cast<std::size_t>(group)]) + QLatin1Char(' ') +
                  StringQText(kMsgNewLine) + QStringLiteral(" - ");
  if (!m_editor->FillLineCombos(title)) {
    AbandonEdit();
    if (m_environment.dialogs)
      m_environment.dialogs->Message(this, StringQText(kMsgNothingOffered), kMbOk);
    return false;
  }
  FillTree(false);
  SelectItem(1000 + group);
  ShowEditorHint();
  ShowViewTab();
  m_stack->setCurrentWidget(m_editor);
  RefreshButtons();
  return true;
}

bool CLinearDlg::EditLine(int index) {
  if (m_viewMode != kViewNone || !m_project.lines.EditLine(index)) return false;
  const CLinearLine& line = m_project.lines.Working();
  m_editingIndex = index;
  m_editingGroup = line.Group;
  m_viewMode = kViewEditor;
  QString title = StringQText(kMsgGroups[static_cast<std::size_t>(std::clamp(line.Group, 0, 3))]) +
                  QLatin1Char(' ') + QString::fromStdString(line.Name) + QStringLiteral(" - ");
  if (!m_editor->FillLineCombos(title)) {
    AbandonEdit();
    if (m_environment.dialogs)
      m_environment.dialogs->Message(this, StringQText(kMsgNothingOffered), kMbOk);
    return false;
  }
  ShowViewTab();
  m_stack->setCurrentWidget(m_editor);
  m_editor->ApplyLineHeader();  // an existing line opens on its body page
  RefreshButtons();
  return true;
}

void CLinearDlg::ShowEditorHint() {
  if (m_environment.ReadText("Linear", CHelpHintDlg::SettingKey(2), "0") == "1" || !isVisible())
    return;
  auto* hint = new CHelpHintDlg(2, m_environment, this);
  hint->setAttribute(Qt::WA_DeleteOnClose);
  hint->show();
}

void CLinearDlg::AbandonEdit() {
  m_viewMode = kViewNone;
  m_editor->ClearBody();
  ShowViewTab();
  int keep = m_editingIndex;
  m_editingIndex = -1;
  FillTree(false);
  SelectItem(keep);
  ShowLineTable(keep);
}

bool CLinearDlg::SaveWorkingLine() {
  if (m_viewMode != kViewEditor) return false;
  int index = m_editingIndex;
  if (index < 0) {
    CTextEntryDlg entry(this);
    entry.SetText(QString::fromStdString(m_project.lines.ProposedName(m_editingGroup)));
    if (entry.exec() != QDialog::Accepted) return false;
    index = m_project.lines.SaveWorkingAsNew(entry.Text().toStdString());
    if (index < 0) return false;
  } else if (!m_project.lines.SaveWorkingOver(index)) {
    return false;
  }
  m_editingIndex = index;
  m_currentLine = index;
  AbandonEdit();
  MarkModified();
  return true;
}

void CLinearDlg::ChangeMultiplier(int delta) {
  CLinearLine& line = m_project.lines.Working();
  int multiplier = line.Multiplier() + delta;
  if (multiplier < 1 || multiplier > kMaxMultiplier) return;
  line.Slots[29] = multiplier;
  ShowLineTable(m_project.lines.LineCount());
  m_saveButton->setFocus();
}

void CLinearDlg::ShowEditPanel(bool show, int applyCode) {
  if (show && m_viewMode != kViewNone && m_viewMode != kViewPanel)
    return;        // the editor or the project view is open
  delete m_panel;  // a panel that is open gives way to the new one
  m_panel = nullptr;
  if (show) {
    int data = SelectedItem();
    if (data == kPriceItem) {
      m_panel = new CLinearPriceDlg(*this);
    } else if (data >= 0 && data < m_project.lines.LineCount()) {
      m_currentLine = data;
      CLinearLine& line = m_project.lines.Line(data);
      m_panel = new CNameCommentPanel(*this, *this, line.Name, line.Comment);
    } else {
      return;
    }
    m_panelHost->layout()->addWidget(m_panel);
    m_viewMode = kViewPanel;
    ShowViewTab();
    m_stack->setCurrentWidget(m_panelHost);
    KeepKeysHere();
    RefreshButtons();
    return;
  }
  m_viewMode = kViewNone;
  ShowViewTab();
  if (applyCode == kPanelDelete) {
    m_project.lines.DeleteLine(m_currentLine);
    m_currentLine = -1;
  }
  if (applyCode == kPanelRecompute) RecomputeLines(-1);
  if (applyCode != kPanelNothing) MarkModified();
  FillTree(true);
  SelectItem(m_currentLine >= 0 ? m_currentLine : kPriceItem);
  ShowLineTable(m_currentLine);
}

void CLinearDlg::MarkModified() { emit Modified(); }

bool CLinearDlg::WithLinearTables(const std::function<void(const CLinearTables&)>& price) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  CLinearTables tables(&m_notifier);
  const bool opened = tables.OpenLinearTables(m_environment.folders, m_project.settings,
                                              m_environment.ReadInt("Database", "UseTC", 0));
  if (opened) {
    m_formulas = CLinearColumnFormulas::Parse(m_project.settings.columnFormulas);
    price(tables);
    tables.CloseLinearTables();
  }
  QApplication::restoreOverrideCursor();
  return opened;
}

void CLinearDlg::RecomputeLines(int index) {
  WithLinearTables([&](const CLinearTables& tables) {
    auto compute = [&](int i) {
      CLinearLine& line = m_project.lines.Line(i);
      if (line.Product >= 0) ComputeLinearItem(line, 0, m_formulas, tables, m_project.settings);
    };
    if (index >= 0 && index <= kLinearMaxLines) compute(index);
    else
      for (int i = 0; i < m_project.lines.LineCount(); ++i) compute(i);
  });
}

bool CLinearDlg::OfferNewPrices() {
  // A project shows the prices it was saved with; when the tables now give others, the
  // user chooses, and taking them is a change to save like any other.
  std::vector<CLinearLine> priced;
  for (int i = 0; i < m_project.lines.LineCount(); ++i) priced.push_back(m_project.lines.Line(i));
  const bool opened = WithLinearTables([&](const CLinearTables& tables) {
    for (CLinearLine& line : priced)
      if (line.Product >= 0) ComputeLinearItem(line, 0, m_formulas, tables, m_project.settings);
  });
  int changed = 0, first = -1;
  for (int i = 0; opened && i < m_project.lines.LineCount(); ++i)
    if (!m_project.lines.Line(i).HasSamePrices(priced[static_cast<std::size_t>(i)])) {
      if (changed++ == 0) first = i;
    }
  if (changed == 0 || !m_environment.dialogs) return false;
  const CLinearLine& saved = m_project.lines.Line(first);
  const std::string question = FormatMessageText(
      kMsgPricesChanged, "dsss", changed, saved.Name,
      CLinearPriceTable::FormatMoney(saved.TotalValues[1]),
      CLinearPriceTable::FormatMoney(priced[static_cast<std::size_t>(first)].TotalValues[1]));
  if (m_environment.dialogs->Message(this, QString::fromStdString(question),
                                     kMbYesNo | kMbIconQuestion) != kIdYes)
    return false;
  for (int i = 0; i < m_project.lines.LineCount(); ++i)
    m_project.lines.Line(i).Assign(priced[static_cast<std::size_t>(i)]);
  return true;
}

bool CLinearDlg::ChooseComponents(int kind) {
  // The chooser reads the line and the page is laid out again after it: what the user
  // typed and ticked goes into the line first and is shown again afterwards.
  const CLinearLineEditor::Entries entries = m_editor->BodyEntries();
  m_editor->StoreBody();
  const CLinearLine::SlotArray before = m_project.lines.Working().Slots;
  CComponentChooserDlg chooser(*this, kind);
  if (!chooser.Prepare() || chooser.exec() != QDialog::Accepted) return false;
  m_editor->ShowBodyControls();
  m_editor->RestoreEntries(entries, before);
  return true;
}

void CLinearDlg::LoadPriceListNames(bool selectCurrent) {
  CPriceListNames names = ReadPriceListNames(m_environment.folders.article, LookupText);
  for (std::size_t list = 0; list < 15; ++list) {
    m_priceListNames[list] = names.first[list];
    m_priceListCurrencies[list] = names.second[list];
  }
  if (selectCurrent)
    m_project.settings.priceList =
        PriceListIndexFromSetting(m_environment.ReadText("Database", "CurrentCat", ""));
  if (auto* panel = dynamic_cast<CLinearPriceDlg*>(m_panel)) panel->FillPriceListCombo();
}

std::string CLinearDlg::PriceListName(int list) const {
  return list >= 0 && list < 15 ? m_priceListNames[static_cast<std::size_t>(list)] : std::string();
}

void CLinearDlg::ToggleColumn(int column) {
  if (column < 1 || column > 7) return;
  m_columnsShown[static_cast<std::size_t>(column)] =
      !m_columnsShown[static_cast<std::size_t>(column)];
  m_priceView->SetColumnsShown(m_columnsShown);
}

std::string CLinearDlg::PriceListCurrency(int list) const {
  return list >= 0 && list < 15 ? m_priceListCurrencies[static_cast<std::size_t>(list)]
                                : std::string();
}

int CLinearDlg::RowHeight() const { return fontMetrics().height() + 8; }
