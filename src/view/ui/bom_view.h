#pragma once

#include <QLabel>
#include <QWidget>

#include <map>
#include <memory>
#include <vector>

#include "model/bom/bom_grid.h"
#include "model/bom/bom_page_host.h"
#include "model/bom/bom_totals.h"
#include "model/document/doc_observer.h"

class CDev;
class CDorneDoc;
class CGridControl;
class COngletControl;
class QPrinter;

// The bill-of-materials pane under the layout view: one page per run and the total
// page (page 0), chosen with the tab strip along its bottom edge; the document's price
// total, price-list date and currency above the grid. It follows the document through
// its notices; dragging a tab reorders the document's runs.
class CBOMView : public QWidget, public CBOMPageHost, private CDocObserver {
  Q_OBJECT

 public:
  explicit CBOMView(CDorneDoc& document, QWidget* parent = nullptr);
  ~CBOMView() override;
  // Lets go of the document for good; the pane shows nothing afterwards.
  void Detach();

  void AddRunPage(CBOMGrid& grid, const QString& title, bool notify);
  bool SelectPage(int n);
  // With no grid the current page; else the grid's page, -1 when absent.
  int FindRunPage(const CBOMGrid* grid = nullptr) const;
  void SetPageTitle(int n, const QString& text);
  void RemovePage(int n);
  // Selects the line of the element's reference (that of the element it stands for, when
  // any) on the shown page, when that is its run's page or the total page, and scrolls
  // it into view; false when the page shows no such line.
  bool SelectLineInBOM(const CDev& element);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CBOMGrid* GetPage(int n) const;
  // Packaging option ("Database"/"Packaging") as the totals use it.
  void SetPackaging(bool on) { m_packaging = on; }
  int GetTotalsState() const { return m_totalsState; }
  const CBOMTotals& GetTotals() const { return m_totals; }

  // CBOMPageHost.
  void RecomputeTotals(int compute, int quiet) override;
  CBOMGrid* GetFirstPage() const override { return m_pages.empty() ? nullptr : m_pages.front(); }
  std::vector<CBOMGrid*> GetPages() const override { return m_pages; }

  COngletControl& GetTabs() { return *m_tabs; }
  CGridControl* GetGridWindow() const { return m_shown; }
  // Prints the shown page across as many sheets as it needs; the number of sheets.
  int Print(QPrinter& printer);

 signals:
  // The user chose a page whose saved layout view the layout view is to take.
  void SavedViewWanted(const CBOMGrid& page);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnDocNotice(EDocNotice notice, CRun* run) override;
  void OnTabChanging(int from, int to, int userFlag, bool* allow);
  void OnTabChanged(int n, int userFlag);
  void OnTabMoved(int from, int to);
  // A run's page added without being chosen.
  void AppendPage(CBOMGrid& grid, const QString& title);
  int InitialPage() const;
  // Merges the run pages into the total page, with the values of their lines; `computed`:
  // a computation of the totals, which rounds the packs up.
  void MergeTotals(bool computed);
  void ShowPage(int n);
  void LayOutRunPage(CBOMGrid& grid);
  // Where the shown page's window goes.
  QRect PageRect() const;
  CGridControl& WindowOf(CBOMGrid& grid);
  void UpdateAmounts();
  void PlaceChildren();

  CDorneDoc& m_document;
  CBOMGrid m_totalGrid;
  CBOMTotals m_totals;
  std::vector<CBOMGrid*> m_pages;
  std::map<const CBOMGrid*, std::unique_ptr<CGridControl>> m_windows;
  CGridControl* m_shown = nullptr;
  COngletControl* m_tabs = nullptr;
  QLabel* m_amount = nullptr;
  QLabel* m_date = nullptr;
  QLabel* m_currency = nullptr;
  QLabel* m_packNotice = nullptr;
  QLabel* m_incompleteNotice = nullptr;
  int m_totalsState = 0;
  bool m_notifyOnSwitch = true;
  bool m_packaging = false;
  bool m_allComplete = true;
  bool m_mergePending = false;
  // The run pages changed (a price update) since the totals page's lines were merged.
  bool m_linesStale = false;
  bool m_detached = false;
};
