#pragma once

#include <QWidget>

#include <memory>
#include <string>

#include "linear/ui/linear_dlg.h"
#include "linear/ui/name_comment_panel.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_environment.h"

class CRefLineArea;
struct CLightingLine;
class CWorkbookExport;
class CRefLinePageView;
class QLabel;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

// The working area of the reference window: the project's lines in a tree by group and
// product, and three pages: the line page (header, component counts on the schematic,
// price table), the name and comment panel, and the prices of the selection. A line is
// edited in the project's working record and reaches the project only when committed.
class CRefConfigDlg : public QWidget, public CEditPanelOwner {
  Q_OBJECT

 public:
  // Edit states: browsing, a line on page 0, page 1 open, page 2 open.
  enum EditState { kBrowsing = 0, kEditing = 1, kPanel = 2, kTotals = 3, kArrows = 4 };
  // The steps of a line on page 0: its header, its component counts, its prices.
  enum EditStep { kStepHeader = 0, kStepComponents = 1, kStepPrices = 2 };

  CRefConfigDlg(CRefProject& project, CRefEnvironment& environment, QWidget* parent = nullptr);
  ~CRefConfigDlg() override;

  // Reads the option lists and builds the tree.
  void ReadRefConfig();
  void ProjectLoaded();
  const CRefConfig& Config() const { return m_config; }
  CRefConfig& MutableConfig() { return m_config; }
  CRefProject& Project() { return m_project; }
  CRefEnvironment& Environment() { return m_environment; }
  // Makes price list 0..14 the project's and the application's current one.
  void SetPriceList(int list);

  // The tree.
  void FillTree(bool rebuild);
  int SelectedCode() const;
  bool SelectCode(int code);
  int FindLine(int n, int filter) const;
  bool AddNewLineItem(int filter);

  // The lighting commands: the range of a new lighting line, and the lighting study that
  // adds its line. Allowed while browsing a tree that has the lighting group.
  bool LightingAllowed() const;
  bool RunLightingRange();
  bool RunLightingCalc();

  // The pages and the editing of a line.
  bool ShowTabPage(int page);
  bool BeginOrCancelEdit(bool create);
  // Begins a new QFP line in a luminaire mode (1, 10, 11) chosen on the arrow overlay.
  bool BeginInMode(int lineMode);
  // The arrow overlay of the luminaire modes over the line area, or back to browsing.
  void ShowArrowOverlay(bool show);
  QWidget* ArrowOverlay() const { return m_arrows; }
  // The "..." buttons of the line's components: the choice panel, the equipment
  // quantities or the fixing chooser; true when the dialog opened.
  bool ChooseComponentButton(int button);
  // The option buttons of the line page: 1371 the sections of a luminaire line, the
  // others the choice panel of their option. True when the dialog opened.
  bool ChooseLineOption(int button);
  bool EditItemTabs();
  // A position check box of the connections: spreads the line's count on that position
  // (checked before: empties the slots).
  bool SpreadOnPosition(int control, bool wasChecked);
  bool Validate();
  // Validates the line page, first offering the comparison of the line's installation
  // solutions where the product has one (Yes opens it, Cancel stops).
  bool ValidateOfferingComparison();
  // Runs the comparison for a line with the length and count typed.
  void OpenComparison(const CRefLine& line, int length, int count);
  bool TakeComponentCounts();
  void CloseComponentPage();
  bool Commit();
  void ChangeQuantity(int delta);
  void ShowEditPanel(bool show, int applyCode) override;
  void MarkModified() override { emit Modified(); }
  void ShowTotalsLine(int n);
  void ReloadPriceLists();

  // Expands a line (1..100, 0 the working record) or, outside, every line.
  void ResolveLineInCatalogue(int line, int quantity = 0);

  int EditState() const { return m_editState; }
  int EditStep() const { return m_step; }
  int CurrentRecord() const { return m_current; }
  CRefLinePageView& LinePage() { return *m_page; }
  CRefLineArea& LineArea() { return *m_area; }
  QTreeWidget* Tree() const { return m_tree; }
  QPushButton* Button(int control) const;
  QWidget* Panel() const { return m_panel; }
  char DecimalChar() const { return m_decimal; }
  // The name of price list 0..14 as the article table gives it.
  std::string PriceListName(int list) const;
  CLinearNotifier& Notifier() { return m_notifier; }
  std::string TotalText() const;

 signals:
  void Modified();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildButtons();
  QTreeWidgetItem* ItemOfCode(int code) const;
  QTreeWidgetItem* AddTreeItem(QTreeWidgetItem* parent, const QString& text, int code);
  void FillGroup(QTreeWidgetItem* node, int group);
  void OnDoubleClick(QTreeWidgetItem* item);
  void FocusLightingItem(int code);
  void StartLightingLine(const CLightingLine& line);
  void RefreshPageStates();
  // While no page is open, the selected tree item's content, read only: a line's header
  // and prices, the merged items and total of the lines under any other item.
  void ShowSelectionPreview();
  // A line's header, read only, over the line area.
  void ShowLineHeader(int index);
  bool PageAllowed(int page) const;
  void ShowStepButtons();
  void ShowSchematic();
  void ShowPriceTable(bool totalsPage);
  CRefReportView ReportView(bool totalsPage) const;
  void UpdateOptionEnables();
  void RefreshOptionControls();
  void OnHeaderChoice();
  bool CountsExceedLineAllowed(const std::map<int, int>& counts);
  void EndEditing();
  bool AskOkCancel(int message);
  void Tell(const std::string& text);
  std::map<int, int> FamilyCounts() const;
  bool StoreCounts();
  void DeleteLine(int index);
  void ShowPriceArea(bool show);
  std::array<CRefConfig::Record, CRefConfig::kConnectionRecords> ConnectionChoices() const;
  void KeepTypedCounts();
  CRefEquipSetup EquipSetup(bool lineOptions);
  void TellText(const QString& text);

  CRefProject& m_project;
  CRefEnvironment& m_environment;
  CRefConfig m_config;
  CWorkbookExport* m_lightingWorkbooks = nullptr;
  CLinearMessageNotifier m_notifier;
  std::unique_ptr<CRefLineEditContext> m_context;
  char m_decimal = '.';
  int m_editState = kBrowsing;
  int m_step = kStepHeader;
  int m_editing = 0;  // the line being edited, 0 for a new one
  int m_current = 0;  // the record the price table shows
  bool m_noRefresh = false;
  QTreeWidget* m_tree = nullptr;
  QTabBar* m_tabs = nullptr;
  QStackedWidget* m_stack = nullptr;
  QWidget* m_linePage = nullptr;
  CRefLinePageView* m_page = nullptr;
  CRefLineArea* m_area = nullptr;
  QWidget* m_panelHost = nullptr;
  QWidget* m_panel = nullptr;
  QLabel* m_priceList = nullptr;
  QLabel* m_coefficient = nullptr;
  QScrollBar* m_lineScroll = nullptr;
  std::map<int, QPushButton*> m_buttons;
  std::array<std::string, 15> m_catalogueNames;
  int m_catalogue = 0;
  bool m_hintShown = false;
  std::array<CRefConfig::Record, CRefConfig::kConnectionRecords> m_readChoices{};
  QWidget* m_arrows = nullptr;
  int m_pendingMode = 0;
  bool m_luminaireFlag = false;  // the sections of a luminaire line were laid out
};
