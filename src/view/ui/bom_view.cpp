#include "view/ui/bom_view.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "app/message_text.h"
#include "grid/ui/grid_control.h"
#include "model/undo/undo_actions.h"
#include "model/undo/undo_manager.h"
#include "view/ui/bom_grid_window.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/document/single_run_display.h"
#include "model/run/run.h"
#include "view/ui/onglet_control.h"

namespace {

constexpr int kMsgTotalPage = 30043;
constexpr int kLabelHeight = 20;

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CBOMView::CBOMView(CDorneDoc& document, QWidget* parent) : QWidget(parent), m_document(document) {
  m_tabs = new COngletControl(this, false);
  QFont tabFont = font();
  tabFont.setPixelSize(11);
  m_tabs->SetTabFont(tabFont);
  m_amount = new QLabel(this);
  m_date = new QLabel(this);
  m_currency = new QLabel(this);
  m_packNotice = new QLabel(Text(ResourceText(2649)), this);
  m_incompleteNotice = new QLabel(Text(ResourceText(2714)), this);
  m_packNotice->hide();
  m_incompleteNotice->hide();
  connect(m_tabs, &COngletControl::TabChanging, this, &CBOMView::OnTabChanging);
  connect(m_tabs, &COngletControl::TabChanged, this, &CBOMView::OnTabChanged);
  connect(m_tabs, &COngletControl::TabMoved, this, &CBOMView::OnTabMoved);
  m_totalGrid.SetView(this);
  m_pages.push_back(&m_totalGrid);
  m_tabs->AddTab(Text(StringText(kMsgTotalPage)));
  // Every run's page laid out once, ready for editing with its columns and rows fitted,
  // whichever page is shown first; only that page is shown.
  for (CRun* run : m_document.GetRuns()) {
    AppendPage(run->GetBOM(), Text(run->GetPropText("Name")));
    LayOutRunPage(run->GetBOM());
  }
  m_document.AddObserver(this);
  // The first page is shown as any page chosen, the totals page too.
  const int initial = InitialPage();
  if (m_tabs->GetCurSel() == initial) OnTabChanged(initial, 0);
  else SelectPage(initial);
}

// A design opens on the page it was left on: the totals page when it says so (a design
// read from its file, or one laid out before it was shown), else its current run's page;
// a new design, whose current run still waits for its start, on that run's page.
int CBOMView::InitialPage() const {
  const CRun* run = m_document.GetCurrentRun();
  const bool read = m_document.GetFileVersion() != CDorneDoc::kNewDocumentVersion;
  const bool fresh = !read && run != nullptr && run->GetFlagsWord() == 0;
  if (!fresh && m_document.IsTotalsPageShown()) return 0;
  return run != nullptr ? std::max(0, FindRunPage(&run->GetBOM())) : 0;
}

CBOMView::~CBOMView() { Detach(); }

// The shell lets go of a document before the window that shows it is destroyed: the
// pane lets go of the document, its pages and their grid windows while they still live.
void CBOMView::Detach() {
  if (m_detached) return;
  m_detached = true;
  m_document.RemoveObserver(this);
  for (CBOMGrid* page : m_pages) page->SetView(nullptr);
  m_shown = nullptr;
  m_windows.clear();
  m_pages.clear();
}

CBOMGrid* CBOMView::GetPage(int n) const {
  return n >= 0 && n < GetPageCount() ? m_pages[static_cast<std::size_t>(n)] : nullptr;
}

void CBOMView::AddRunPage(CBOMGrid& grid, const QString& title, bool notify) {
  m_notifyOnSwitch = notify;
  AppendPage(grid, title);
  SelectPage(GetPageCount() - 1);
  m_notifyOnSwitch = true;
}

void CBOMView::AppendPage(CBOMGrid& grid, const QString& title) {
  m_tabs->AddTab(title);
  m_pages.push_back(&grid);
  grid.SetView(this);
  if (GetPageCount() == 2) m_totalGrid.CopyLayoutFrom(grid);
  grid.NumberLines(1);
}

bool CBOMView::SelectPage(int n) {
  if (n < 0 || n >= GetPageCount()) return false;
  return m_tabs->SelectTab(n, 0);
}

int CBOMView::FindRunPage(const CBOMGrid* grid) const {
  if (grid == nullptr) return m_tabs->GetCurSel();
  const auto found = std::find(m_pages.begin(), m_pages.end(), grid);
  return found == m_pages.end() ? -1 : static_cast<int>(found - m_pages.begin());
}

void CBOMView::SetPageTitle(int n, const QString& text) {
  if (n < 0 || n >= GetPageCount()) return;
  m_tabs->SetTabText(n, text);
  m_pages[static_cast<std::size_t>(n)]->SetItemPrefix(text.toStdString());
}

void CBOMView::RemovePage(int n) {
  if (n < 1 || n >= GetPageCount()) return;
  CBOMGrid* grid = m_pages[static_cast<std::size_t>(n)];
  const bool shown = m_tabs->GetCurSel() == n;
  m_tabs->RemoveTab(n);
  grid->SetView(nullptr);
  if (m_shown != nullptr && &m_shown->GetModel() == grid) m_shown = nullptr;
  m_windows.erase(grid);
  m_pages.erase(m_pages.begin() + n);
  m_document.SetBomPage(m_tabs->GetCurSel());
  if (!shown) return;
  ShowPage(m_tabs->GetCurSel());
  // The page now shown takes over (its run current, shown alone or with every run) once
  // the run has gone.
  QTimer::singleShot(0, this, [this] {
    if (!m_detached) OnTabChanged(m_tabs->GetCurSel(), 0);
  });
}

void CBOMView::RecomputeTotals(int compute, int quiet) {
  m_packNotice->hide();
  const bool totalShown = m_tabs->GetCurSel() == 0;
  if (compute == 0) {
    // Shown, the total page follows every change; hidden, it waits for the next switch.
    if (m_totalsState == 0 && quiet != 0 && !totalShown) return;
    m_amount->clear();
    m_date->clear();
    m_currency->clear();
    m_totalsState = 0;
    if (!totalShown) return;
    // Grids announce a change before they make it, and often many at once: the merge
    // runs once, after them.
    if (!m_mergePending) {
      m_mergePending = true;
      QTimer::singleShot(0, this, [this] { MergeTotals(false); });
    }
    return;
  }
  m_totalsState = 1;
  MergeTotals(true);
}

void CBOMView::MergeTotals(bool computed) {
  m_mergePending = false;
  if (m_detached) return;
  m_linesStale = false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::vector<CBOMTotalsPage> pages;
  for (std::size_t p = 1; p < m_pages.size(); ++p) pages.push_back({m_pages[p], true});
  // The lines always carry what the run pages carry (designation, prices, weights): a
  // page of bare quantities beside columns of prices read as a job costing nothing. The
  // packs are rounded up only by a computation of the totals.
  const CBOMTotals::CResult result =
      m_totals.Compute(m_totalGrid, pages, true, computed && m_packaging);
  m_allComplete = result.allComplete;
  const bool totalShown = m_tabs->GetCurSel() == 0;
  if (result.packaging) {
    m_totalsState = 10;
    m_packNotice->setVisible(totalShown);
  }
  if (totalShown && m_shown != nullptr) m_shown->setVisible(m_allComplete);
  m_incompleteNotice->setVisible(totalShown && !m_allComplete);
  QApplication::restoreOverrideCursor();
  UpdateAmounts();
}

void CBOMView::OnTabChanging(int from, int, int userFlag, bool*) {
  // The page left keeps the layout view it was seen with.
  CBOMGrid* left = GetPage(from);
  if (userFlag == 0 || left == nullptr) return;
  m_document.SaveViewTo(*left);
}

void CBOMView::OnTabChanged(int n, int userFlag) {
  ShowPage(n);
  if (n == 0 && (m_totalsState == 0 || m_linesStale)) MergeTotals(m_totalsState != 0);
  m_document.SetBomPage(n);
  if (n > 0) {
    CRun* run = m_document.GetRunAt(n - 1);
    if (run != nullptr && run != m_document.GetCurrentRun()) m_document.SetCurrentRun(run);
  }
  // A run's page shows its run alone in the layout, the totals page every run.
  FollowShownPage(m_document, n);
  // With two runs or more, each page brings back the layout view it was left with.
  if (GetPageCount() >= 3 && userFlag != 0) emit SavedViewWanted(*GetPage(n));
}

void CBOMView::OnTabMoved(int from, int to) {
  // The moved page stays the one shown, at its new place.
  m_document.SetBomPage(to);
  CBOMGrid* moved = m_pages[static_cast<std::size_t>(from)];
  m_pages.erase(m_pages.begin() + from);
  m_pages.insert(m_pages.begin() + to, moved);
  // Page i is run i - 1: the document follows, marked modified with an undo step.
  m_document.MoveRun(from - 1, to - 1);
  RecomputeTotals(0, 1);
}

CGridControl& CBOMView::WindowOf(CBOMGrid& grid) {
  std::unique_ptr<CGridControl>& window = m_windows[&grid];
  if (!window) {
    // Every change made in the window is one step of the document's undo history.
    window = std::make_unique<CBOMGridWindow>(
        grid, [this] { m_document.GetUndo().SaveUndoState(undo_actions::kEditBOM, true); }, this);
  }
  return *window;
}

// What showing a run's page does to its window, without showing it: a design of many
// runs opens without showing, then hiding, every page in turn.
void CBOMView::LayOutRunPage(CBOMGrid& grid) {
  CGridControl& window = WindowOf(grid);
  window.hide();
  grid.UpdateWeightColumn();
  grid.NumberLines(0);
  window.setGeometry(PageRect());
}

void CBOMView::ShowPage(int n) {
  CBOMGrid* grid = GetPage(n);
  for (auto& [page, window] : m_windows) {
    if (page != grid) window->hide();
  }
  m_shown = grid != nullptr ? &WindowOf(*grid) : nullptr;
  if (grid == nullptr) return;
  m_packNotice->setVisible(n == 0 && m_totalsState == 10);
  // A run page shows the unit weights as the support display asks.
  if (n != 0) grid->UpdateWeightColumn();
  grid->NumberLines(0);
  const bool hidden = n == 0 && !m_allComplete;
  m_incompleteNotice->setVisible(hidden);
  m_shown->setVisible(!hidden);
  const CDev* selected = m_document.Selection().Element();
  if (selected == nullptr || !SelectLineInBOM(*selected)) m_shown->SetScrollPos(EGridAxis::Rows, 0);
  PlaceChildren();
  UpdateAmounts();
}

bool CBOMView::SelectLineInBOM(const CDev& element) {
  const int n = m_tabs->GetCurSel();
  CBOMGrid* grid = GetPage(n);
  if (grid == nullptr || element.GetRun() == nullptr) return false;
  if (n != 0 && grid != &element.GetRun()->GetBOM()) return false;
  const CDev* referenced = element.FindReferencedElement();
  const int row = grid->FindLine((referenced != nullptr ? *referenced : element).GetReference());
  if (row < 1) return false;
  grid->SetSelection({row, 0, row, grid->GetColumnCount() - 1}, true);
  if (m_shown != nullptr && !m_shown->IsCellVisible(row, 2))
    m_shown->SetScrollPos(EGridAxis::Rows, std::max(0, row - 2));
  return true;
}

void CBOMView::UpdateAmounts() {
  const CDorneDoc::CTotals* totals =
      m_totalsState != 0 ? m_document.GetTotals(m_tabs->GetCurSel()) : nullptr;
  if (totals == nullptr) {
    m_amount->clear();
  } else {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", (*totals)[4]);
    m_amount->setText(QString::fromLatin1(text));
  }
  const bool shown = !m_amount->text().isEmpty();
  m_date->setText(shown ? Text(m_document.GetDocProperty("BaseDate")) : QString());
  m_currency->setText(shown ? Text(m_document.GetDocProperty("BaseMoney")) : QString());
}

void CBOMView::resizeEvent(QResizeEvent*) { PlaceChildren(); }

void CBOMView::PlaceChildren() {
  const int cx = width();
  const int cy = height();
  m_amount->setGeometry(0, 0, cx / 3, kLabelHeight);
  m_date->setGeometry(cx / 3, 0, cx / 3, kLabelHeight);
  m_currency->setGeometry(2 * cx / 3, 0, cx / 3, kLabelHeight);
  const int h = m_tabs->StripHeight();
  const QRect page = PageRect();
  if (m_shown != nullptr) m_shown->setGeometry(page);
  m_packNotice->setGeometry(0, kLabelHeight, cx, kLabelHeight);
  m_incompleteNotice->setGeometry(page);
  m_tabs->setGeometry(0, cy - h - 2, cx, h + 2);
}

QRect CBOMView::PageRect() const {
  const int y = kLabelHeight;
  return {0, y, width(), std::max(0, height() - m_tabs->StripHeight() - y - 2)};
}

void CBOMView::OnDocNotice(EDocNotice notice, CRun* run) {
  switch (notice) {
    case EDocNotice::kRunAdded:
      if (run != nullptr && FindRunPage(&run->GetBOM()) < 0) {
        AddRunPage(run->GetBOM(), Text(run->GetPropText("Name")), true);
      }
      break;
    case EDocNotice::kRunPageTitle:
      if (run != nullptr) SetPageTitle(FindRunPage(&run->GetBOM()), Text(run->GetPropText("Name")));
      break;
    case EDocNotice::kRunRemoved:
      if (run != nullptr) RemovePage(FindRunPage(&run->GetBOM()));
      break;
    case EDocNotice::kCurrentRunChanged:
      // The totals page stays: every run is shown there, the new current one too.
      if (run != nullptr && m_tabs->GetCurSel() != 0) SelectPage(FindRunPage(&run->GetBOM()));
      break;
    case EDocNotice::kTotalsStale: RecomputeTotals(0, 1); break;
    case EDocNotice::kTotalsChanged:
      // The run pages may carry new designations and prices: the totals page's lines
      // take them, now when it is shown, else when it is next shown.
      m_linesStale = true;
      if (m_tabs->GetCurSel() == 0 && !m_mergePending) {
        m_mergePending = true;
        QTimer::singleShot(0, this, [this] { MergeTotals(m_totalsState != 0); });
      }
      UpdateAmounts();
      break;
    case EDocNotice::kUpdateViews:
      // An undone step brings back the page it was taken on, the totals page too.
      if (m_document.GetBomPage() != m_tabs->GetCurSel()) SelectPage(m_document.GetBomPage());
      UpdateAmounts();
      break;
    default: break;
  }
}
