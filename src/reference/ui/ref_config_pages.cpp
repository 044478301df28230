// The pages of the configurator besides the line page: the name and comment panel, the
// prices of the selection, and the pricing of lines through the catalogue.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeWidget>

#include <charconv>

#include "app/message_text.h"
#include "app/ui/window_translation.h"

#include "reference/ui/ref_core.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_line_page_view.h"
#include "reference/ui/ref_price_panel.h"

namespace {

constexpr int kCodeRole = Qt::UserRole;
constexpr int kMsgProjectPrices = 31076;
constexpr int kMsgAllLines = 33049;

std::string Coefficient(double value, char decimal) {
  std::array<char, 32> buffer{};
  auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                               std::chars_format::general, 3);
  std::string text(buffer.data(), written.ptr);
  for (char& c : text)
    if (c == '.') c = decimal;
  return text;
}

}  // namespace

void CRefConfigDlg::ShowEditPanel(bool show, int applyCode) {
  delete m_panel;  // an open panel gives way
  m_panel = nullptr;
  if (show) {
    const int code = SelectedCode();
    if (code == kRefCodeProject) {
      m_panel = new CRefPricePanel(*this);
      m_panelHost->layout()->addWidget(m_panel);
      m_stack->setCurrentWidget(m_panelHost);
      m_editState = kPanel;
      ShowStepButtons();
      return;
    }
    if (!IsRefLineCode(code) || code > RefLineCount(m_project)) return;
    CRefLine& line = m_project.lines[static_cast<std::size_t>(code)];
    m_current = code;
    m_panel = new CNameCommentPanel(*this, *this, line.name, line.comment);
    m_panelHost->layout()->addWidget(m_panel);
    m_stack->setCurrentWidget(m_panelHost);
    m_editState = kPanel;
    ShowStepButtons();
    return;
  }
  const int index = m_current;
  m_editState = kBrowsing;
  m_stack->setCurrentWidget(m_linePage);
  m_tabs->setCurrentIndex(-1);
  if (applyCode == kPanelRenamed)
    if (QTreeWidgetItem* item = ItemOfCode(index))
      item->setText(0,
                    QString::fromStdString(m_project.lines[static_cast<std::size_t>(index)].name));
  if (applyCode == kPanelDelete) DeleteLine(index);
  // The price panel changed the prices of every line.
  if (applyCode == kPanelRecompute) ResolveLineInCatalogue(-1);
  if (applyCode != kPanelNothing) MarkModified();
  m_current = 0;
  ShowStepButtons();
  RefreshPageStates();
}

void CRefConfigDlg::DeleteLine(int index) {
  if (!DeleteRefLine(m_project, index)) return;
  m_noRefresh = true;
  delete ItemOfCode(index);
  for (int group = 0; group < 4; ++group)
    for (int kind = 0; kind < kRefProductCount; ++kind)
      delete ItemOfCode(RefNewLineCode(group, kind));
  for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
    const int code = (*it)->data(0, kCodeRole).toInt();
    (*it)->setData(0, kCodeRole, RenumberedRefCode(code, index));
  }
  m_noRefresh = false;
}

void CRefConfigDlg::ShowTotalsLine(int n) {
  const int selection = SelectedCode();
  const int lines = FindLine(0, selection);
  if (lines <= 0) return;
  const bool summary = m_config.RefGroup() != 0;
  if (m_editState != kTotals) {
    m_editState = kTotals;
    m_noRefresh = true;
    m_lineScroll->setRange(1, lines);
    m_lineScroll->setValue(1);
    m_noRefresh = false;
    if (summary) ComputeLineTotals(m_project, RefSelection(m_project, m_config, selection));
    n = 1;
  }
  m_current = summary ? 0 : FindLine(std::clamp(n, 1, lines), selection);
  m_stack->setCurrentWidget(m_linePage);
  if (summary) {
    m_page->ShowTitleOnly(StringQText(kMsgProjectPrices));
  } else {
    ShowLineHeader(m_current);
  }
  ShowPriceTable(true);
  ShowStepButtons();
}

void CRefConfigDlg::ShowLineHeader(int index) {
  // Filled from a copy: the choice tables may adjust the line they read.
  CRefLine shown;
  shown.Assign(&m_project.lines[static_cast<std::size_t>(index)]);
  CRefLineEditContext display(m_config, shown, &m_notifier);
  display.decimalSeparator = m_decimal;
  m_page->FillLinePage(display, CRefLinePageView::kFillDisplay);
  m_page->ShowLineControls(5, shown);
  display.connectionFlag = RefConnectionFlag(shown, m_config);
  m_page->ShowOptionControls(
      RefLineControlsFor(shown, display.GetChoiceTable(1), display.connectionFlag), false);
}

void CRefConfigDlg::ShowSelectionPreview() {
  if (m_editState != kBrowsing || m_noRefresh) return;
  const int code = SelectedCode();
  m_stack->setCurrentWidget(m_linePage);
  CRefReportView view = ReportView(false);
  if (IsRefLineCode(code) && code <= RefLineCount(m_project)) {
    ShowLineHeader(code);
    view.current = code;
    m_area->ShowPrices(view, true, false, false);
    return;
  }
  m_page->ShowLineControls(0, m_project.lines[0]);
  if (code == -1 || IsRefNewLineCode(code) || FindLine(0, code) <= 0) {
    m_area->ShowNothing();
    return;
  }
  // The merged items of the lines under the item, with their total.
  ComputeLineTotals(m_project, RefSelection(m_project, m_config, code));
  m_page->ShowTitleOnly(m_tree->currentItem() ? m_tree->currentItem()->text(0) : QString());
  view.current = 0;
  view.workingSums = true;
  m_area->ShowPrices(view, false, true, false);
}

void CRefConfigDlg::SetPriceList(int list) {
  m_catalogue = std::clamp(list, 0, 14);
  m_project.priceSettings.priceList = m_catalogue;
  if (m_environment.common.setCatalogue) m_environment.common.setCatalogue(m_catalogue + 1);
}

std::string CRefConfigDlg::PriceListName(int list) const {
  return list >= 0 && list < 15 ? m_catalogueNames[static_cast<std::size_t>(list)] : std::string();
}

CRefReportView CRefConfigDlg::ReportView(bool totalsPage) const {
  const int code = SelectedCode();
  CRefReportView view;
  view.project = &m_project;
  view.current = m_current;
  view.selection = RefSelection(m_project, m_config, code);
  view.decimal = m_decimal;
  view.refs = m_config.Refs();
  view.workingSums = totalsPage && m_config.RefGroup() != 0;
  // The root's own caption ("Prices") reads badly in "Total for %1 lines".
  if (code == kRefCodeProject) view.selectionName = StringText(kMsgAllLines);
  if (IsRefGroupCode(code)) view.selectionName = RefGroupName(-2000 - code);
  if (IsRefProductNodeCode(code)) view.selectionName = UpperProductCode((-1000 - code) % 10);
  return view;
}

void CRefConfigDlg::ShowPriceTable(bool totalsPage) {
  const int selection = SelectedCode();
  const bool lineSelected = IsRefLineCode(selection);
  const bool summary = totalsPage && m_config.RefGroup() != 0 && !lineSelected;
  m_area->ShowPrices(ReportView(totalsPage), !summary, totalsPage && !lineSelected,
                     m_editState == kEditing);
}

void CRefConfigDlg::ShowPriceArea(bool show) {
  m_priceList->setVisible(show);
  m_coefficient->setVisible(show);
  if (!show) return;
  const std::string& name = m_catalogueNames[static_cast<std::size_t>(m_catalogue)];
  m_priceList->setText(QString::fromStdString(name + " " + m_project.priceSettings.currency));
  const CRefLine& line = m_project.lines[static_cast<std::size_t>(m_current)];
  m_coefficient->setText(
      QString::fromStdString(Coefficient(m_config.Coefficient(line.productKind), m_decimal)));
}

void CRefConfigDlg::ChangeQuantity(int delta) {
  CRefLine& line = m_project.lines[static_cast<std::size_t>(m_current)];
  const int quantity = line.lineQuantity + delta;
  if (quantity < 0 || quantity > 100 || m_editState != kEditing) return;
  line.lineQuantity = quantity;
  ResolveLineInCatalogue(m_current);
  ShowPriceTable(false);
  m_buttons[1158]->setFocus();
}

void CRefConfigDlg::ResolveLineInCatalogue(int line, int quantity) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (quantity > 0 && line >= 0 && line < CRefProject::kLineCount)
    m_project.lines[static_cast<std::size_t>(line)].lineQuantity = quantity;
  CRefCatalogue catalogue(&m_notifier);
  if (catalogue.OpenRefCatalogue(m_environment.catalogueSetup, m_project.priceSettings)) {
    const bool all = line < 0 || line >= CRefProject::kLineCount;
    const int last = all ? RefLineCount(m_project) : line;
    for (int index = all ? 1 : line; index <= last; ++index) {
      CRefLine& record = m_project.lines[static_cast<std::size_t>(index)];
      m_context->ApplyLineDefaults(record);
      catalogue.RebuildLineItems(record);
    }
    catalogue.CloseRefCatalogue();
  }
  QApplication::restoreOverrideCursor();
}

std::string CRefConfigDlg::TotalText() const {
  const QString selection = m_area->CellText(kRefReportSelectionTotal, 5);
  return (selection.isEmpty() ? m_area->CellText(kRefReportLineTotal, 5) : selection).toStdString();
}
