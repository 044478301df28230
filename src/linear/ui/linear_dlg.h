#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "linear/linear_config.h"
#include "linear/linear_notifier.h"
#include "linear/linear_pricing.h"
#include "linear/linear_project.h"
#include "linear/ui/linear_environment.h"
#include "linear/ui/name_comment_panel.h"

class CLinearLineEditor;
class CLinearPriceView;
class QKeyEvent;
class QLabel;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

// Tells the user of costing problems in a message box.
class CLinearMessageNotifier : public CLinearNotifier {
 public:
  explicit CLinearMessageNotifier(QWidget* owner, const CLinearEnvironment& environment)
      : m_owner(owner), m_environment(environment) {}
  void ShowMessage(const std::string& text) override;

 private:
  QWidget* m_owner;
  const CLinearEnvironment& m_environment;
};

// The main dialog of the linear window: the project tree on the left; on the right the
// price table of the selected line, the line editor, a panel (name and comment, or the
// price settings) or the price view of the whole project, chosen by three tabs. Every
// change of a line goes through the working record and reaches the project only when
// the user saves it.
class CLinearDlg : public QWidget, public CEditPanelOwner {
  Q_OBJECT

 public:
  enum ViewMode { kViewNone = 0, kViewEditor = 1, kViewPanel = 2, kViewProject = 3 };
  static constexpr int kPriceItem = -999;
  // The hidden tab that is current while none of the three is.
  static constexpr int kNoTab = 3;

  CLinearDlg(CLinearProject& project, const CLinearEnvironment& environment,
             QWidget* parent = nullptr);
  ~CLinearDlg() override;

  void ReadLinearConfig();
  const CLinearConfig& Config() const { return m_config; }
  CLinearConfig& Config() { return m_config; }
  // Refreshes the tree and the views after a project was read into the window.
  void ProjectLoaded();
  // Asks whether to take the prices the tables give when they differ from the saved
  // ones; true when they were taken.
  bool OfferNewPrices();

  void FillTree(bool rebuild);
  void ShowTabPage(int tab);
  void ShowEditPanel(bool show, int applyCode) override;
  void RecomputeLines(int index);
  // Opens the linear tables, hands them to price and closes them; false (nothing
  // priced) when they cannot be opened.
  bool WithLinearTables(const std::function<void(const CLinearTables&)>& price);
  bool ChooseComponents(int kind);
  void LoadPriceListNames(bool selectCurrent);
  void ToggleColumn(int column);
  bool NewLine(int group);
  bool EditLine(int index);
  // Stores the working record: a new line under a name the user gives, or over the line
  // it was copied from.
  bool SaveWorkingLine();
  void AbandonEdit();
  void ChangeMultiplier(int delta);
  // Escape leaves the project price view, or cancels the panel that is open.
  void LeaveByEscape();
  void MarkModified() override;

  int ViewMode() const { return m_viewMode; }
  int CurrentLine() const { return m_currentLine; }
  // The tree's selection: a line index, kPriceItem, -1000-g for a group root, or -1.
  int SelectedItem() const;
  // The group of the selected root or line; -1 when neither is selected.
  int SelectedGroup() const;
  void SelectItem(int data);
  std::string PriceListName(int list) const;
  // The second name of the list (its currency).
  std::string PriceListCurrency(int list) const;
  const std::array<std::string, 15>& PriceListNames() const { return m_priceListNames; }
  const std::array<bool, 8>& ColumnsShown() const { return m_columnsShown; }
  CLinearProject& Project() { return m_project; }
  const CLinearEnvironment& Environment() const { return m_environment; }
  CLinearNotifier& Notifier() { return m_notifier; }
  CLinearPriceView& PriceView() { return *m_priceView; }
  CLinearLineEditor& Editor() { return *m_editor; }
  QWidget* Panel() const { return m_panel; }
  char DecimalChar() const { return m_decimal; }
  int RowHeight() const;

 signals:
  void Modified();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  QTreeWidgetItem* AddRoot(int group);
  void OnSelectionChanged();
  void OnDoubleClick(QTreeWidgetItem* item);
  // Asked by a double click on the tree item of data while a line is edited: true when
  // the edit was left for that item (a group root or another line) with the user's leave.
  bool LeaveEditorFor(int data);
  void OnTabChanged(int tab);
  // The tab of the view shown is the current one; none (the hidden fourth tab) while a
  // line's price table shows. A click on a tab that cannot open comes back here.
  void ShowViewTab();
  // Gives the focus to the tree unless a child of the dialog has it.
  void KeepKeysHere();
  void ShowLineTable(int index);
  void ShowProjectLine(int position);
  void RefreshButtons();
  void ShowFirstHint();
  void ShowEditorHint();
  bool IsEditingNewLine() const { return m_editingIndex < 0; }

  CLinearProject& m_project;
  const CLinearEnvironment& m_environment;
  CLinearMessageNotifier m_notifier;
  CLinearConfig m_config;
  CLinearColumnFormulas m_formulas;
  std::array<std::string, 15> m_priceListNames;
  std::array<std::string, 15> m_priceListCurrencies;
  std::array<bool, 8> m_columnsShown{true, true, true, true, true, false, false, false};
  int m_viewMode = kViewNone;
  int m_currentLine = -1;
  int m_editingIndex = -1;  // the line the working record was copied from; -1 for a new one
  int m_editingGroup = 0;
  int m_oldTab = -1;
  char m_decimal = '.';
  bool m_filling = false;

  QTreeWidget* m_tree = nullptr;
  QTabBar* m_tabs = nullptr;
  QStackedWidget* m_stack = nullptr;
  CLinearPriceView* m_priceView = nullptr;
  CLinearLineEditor* m_editor = nullptr;
  QWidget* m_panelHost = nullptr;
  QWidget* m_panel = nullptr;
  QWidget* m_priceBox = nullptr;
  QLabel* m_priceListLabel = nullptr;
  QLabel* m_coefLabel = nullptr;
  QScrollBar* m_projectScroll = nullptr;
  QPushButton* m_saveButton = nullptr;
  QPushButton* m_newLineButton = nullptr;
  QPushButton* m_plusButton = nullptr;
  QPushButton* m_minusButton = nullptr;
};
