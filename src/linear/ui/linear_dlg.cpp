#include "linear/ui/linear_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/message_box_codes.h"
#include "app/price_lists.h"
#include "app/message_text.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/ref_coff_table.h"
#include "linear/ui/help_hint_dlg.h"
#include "linear/ui/linear_line_editor.h"
#include "linear/ui/linear_price_view.h"

namespace {

constexpr int kMsgPriceItem = 31005;
constexpr int kMsgTabEditor = 31006;
constexpr int kMsgTabPanel = 31007;
constexpr int kMsgTabPrices = 31009;
constexpr int kMsgNewLine = 31010;
constexpr int kMsgSaveLine = 31018;
constexpr int kMsgNothingOffered = 30165;
constexpr int kMsgLeaveEditor = 31106;
constexpr std::array<int, 4> kMsgGroups = {31001, 31002, 31003, 31123};
constexpr int kGroupRootData = -1000;
constexpr int kNewLineData = 1000;

}  // namespace

void CLinearMessageNotifier::ShowMessage(const std::string& text) {
  if (m_environment.dialogs)
    m_environment.dialogs->Message(m_owner, QString::fromStdString(text),
                                   kMbOk | kMbIconExclamation);
}

CLinearDlg::CLinearDlg(CLinearProject& project, const CLinearEnvironment& environment,
                       QWidget* parent)
    : QWidget(parent),
      m_project(project),
      m_environment(environment),
      m_notifier(this, environment) {
  setObjectName(QStringLiteral("linear_dlg"));
  QString decimal = QLocale::system().decimalPoint();
  m_decimal = decimal.size() == 1 && decimal[0].unicode() < 128
                  ? static_cast<char>(decimal[0].unicode())
                  : '.';
  m_formulas = CLinearColumnFormulas::Parse(m_project.settings.columnFormulas);
  BuildControls();
  LoadPriceListNames(true);
}

CLinearDlg::~CLinearDlg() = default;

void CLinearDlg::BuildControls() {
  auto* layout = new QHBoxLayout(this);
  auto* splitter = new QSplitter;
  layout->addWidget(splitter);
  m_tree = new QTreeWidget;
  m_tree->setObjectName(QStringLiteral("linear_tree"));
  m_tree->header()->hide();
  splitter->addWidget(m_tree);
  auto* right = new QWidget;
  auto* rightLayout = new QVBoxLayout(right);
  m_tabs = new QTabBar;
  m_tabs->setObjectName(QStringLiteral("linear_tabs"));
  for (int message : {kMsgTabEditor, kMsgTabPanel, kMsgTabPrices})
    m_tabs->addTab(StringQText(message));
  m_tabs->addTab(QString());  // current while no tab is: a tab bar always has one
  m_tabs->setTabVisible(kNoTab, false);
  ShowViewTab();
  rightLayout->addWidget(m_tabs);
  m_stack = new QStackedWidget;
  m_stack->setObjectName(QStringLiteral("linear_pages"));
  m_priceView = new CLinearPriceView;
  m_priceView->setObjectName(QStringLiteral("linear_price_view"));
  m_priceView->SetColumnToggle([this](int column) { ToggleColumn(column); });
  m_editor = new CLinearLineEditor(m_config, m_project.lines, m_decimal);
  m_panelHost = new QWidget;
  m_panelHost->setObjectName(QStringLiteral("linear_panel_host"));
  new QVBoxLayout(m_panelHost);
  m_stack->addWidget(m_priceView);
  m_stack->addWidget(m_editor);
  m_stack->addWidget(m_panelHost);
  rightLayout->addWidget(m_stack, 1);
  m_priceBox = new QWidget;
  auto* priceRow = new QHBoxLayout(m_priceBox);
  m_priceListLabel = new QLabel;
  m_coefLabel = new QLabel;
  m_coefLabel->setObjectName(QStringLiteral("linear_project_coef"));
  m_projectScroll = new QScrollBar(Qt::Horizontal);
  priceRow->addWidget(m_priceListLabel);
  priceRow->addWidget(m_coefLabel);
  priceRow->addWidget(m_projectScroll, 1);
  rightLayout->addWidget(m_priceBox);
  auto* buttons = new QHBoxLayout;
  m_newLineButton = new QPushButton(StringQText(kMsgNewLine));
  m_newLineButton->setObjectName(QStringLiteral("linear_new_line"));
  buttons->addWidget(m_newLineButton);
  m_minusButton = new QPushButton(QStringLiteral("-"));
  m_plusButton = new QPushButton(QStringLiteral("+"));
  m_saveButton = new QPushButton(StringQText(kMsgSaveLine));
  m_saveButton->setObjectName(QStringLiteral("linear_save_line"));
  buttons->addWidget(m_minusButton);
  buttons->addWidget(m_plusButton);
  buttons->addStretch();
  buttons->addWidget(m_saveButton);
  rightLayout->addLayout(buttons);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 3);
  connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CLinearDlg::OnSelectionChanged);
  connect(m_tree, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { OnDoubleClick(item); });
  connect(m_tabs, &QTabBar::tabBarClicked, this, [this](int tab) { OnTabChanged(tab); });
  // The bar makes the clicked tab current after the click was handled.
  connect(m_tabs, &QTabBar::currentChanged, this, [this] { ShowViewTab(); });
  connect(m_newLineButton, &QPushButton::clicked, this, [this] { NewLine(SelectedGroup()); });
  connect(m_plusButton, &QPushButton::clicked, this, [this] { ChangeMultiplier(1); });
  connect(m_minusButton, &QPushButton::clicked, this, [this] { ChangeMultiplier(-1); });
  connect(m_saveButton, &QPushButton::clicked, this, [this] {
    if (m_viewMode == kViewProject) ShowTabPage(-1);
    else SaveWorkingLine();
  });
  connect(m_projectScroll, &QScrollBar::valueChanged, this,
          [this](int value) { ShowProjectLine(value); });
  connect(m_editor, &CLinearLineEditor::AbandonAsked, this, [this] {
    if (!m_environment.dialogs ||
        m_environment.dialogs->Message(this, StringQText(kMsgLeaveEditor),
                                       kMbOkCancel | kMbIconExclamation) == kIdOk)
      AbandonEdit();
  });
  connect(m_editor, &CLinearLineEditor::BodyAccepted, this, [this] {
    QString problem;
    if (m_editor->ValidateBody(problem) != 0) {
      if (m_environment.dialogs)
        m_environment.dialogs->Message(this, problem, kMbOk | kMbIconExclamation);
      return;
    }
    m_editor->StoreBody();
    RecomputeLines(m_project.lines.LineCount());
    ShowLineTable(m_project.lines.LineCount());
  });
  connect(m_editor, &CLinearLineEditor::ChooserAsked, this,
          [this](int kind) { ChooseComponents(kind); });
  RefreshButtons();
}

void CLinearDlg::keyPressEvent(QKeyEvent* event) {
  // Escape reaches here from the child that has the focus when that child has no use
  // for it.
  if (event->key() == Qt::Key_Escape && (m_viewMode == kViewProject || m_panel)) LeaveByEscape();
  else QWidget::keyPressEvent(event);
}

void CLinearDlg::ReadLinearConfig() {
  CRefCoffTable refCoff;
  bool loaded = refCoff.Load(m_environment.folders.catalogue, m_environment.apod != 0);
  m_config.ReadLinearConfig(m_environment.settingsFolder, m_environment.copper, m_environment.apod,
                            loaded ? &refCoff : nullptr,
                            m_environment.programFolder.empty()
                                ? std::string()
                                : m_environment.programFolder + "lin_conf.cfg");
  m_project.settings.apod = m_config.Apod();
  FillTree(true);
  ShowFirstHint();
}

void CLinearDlg::ShowFirstHint() {
  // The hint greets the user once a run, on the first linear window, not at every file
  // opened: each file opens in a window of its own.
  static bool shown = false;
  if (shown || m_environment.ReadText("Linear", "Hlp", "0") == "1" || !isVisible()) return;
  shown = true;
  auto* hint = new CHelpHintDlg(1, m_environment, this);
  hint->setAttribute(Qt::WA_DeleteOnClose);
  hint->show();
}

void CLinearDlg::ProjectLoaded() {
  m_formulas = CLinearColumnFormulas::Parse(m_project.settings.columnFormulas);
  FillTree(true);
}

QTreeWidgetItem* CLinearDlg::AddRoot(int group) {
  auto* root =
      new QTreeWidgetItem(QStringList(StringQText(kMsgGroups[static_cast<std::size_t>(group)])));
  root->setData(0, Qt::UserRole, kGroupRootData - group);
  for (int index = 0; index < m_project.lines.LineCount(); ++index) {
    const CLinearLine& line = m_project.lines.Line(index);
    if (line.Group != group) continue;
    auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(line.Name)));
    item->setData(0, Qt::UserRole, index);
    root->addChild(item);
  }
  if (m_viewMode == kViewEditor && IsEditingNewLine() && m_editingGroup == group) {
    auto* item = new QTreeWidgetItem(QStringList(StringQText(kMsgNewLine)));
    item->setData(0, Qt::UserRole, kNewLineData + group);
    root->addChild(item);
  }
  return root;
}

void CLinearDlg::FillTree(bool rebuild) {
  (void)rebuild;  // the tree is small: it is always built anew, keeping the selection
  int selected = SelectedItem();
  m_filling = true;
  m_tree->clear();
  auto* priceItem = new QTreeWidgetItem(QStringList(StringQText(kMsgPriceItem)));
  priceItem->setData(0, Qt::UserRole, kPriceItem);
  m_tree->addTopLevelItem(priceItem);
  for (int group = 0; group < kLinearGroupCount; ++group)
    if (m_project.settings.groupsOn[static_cast<std::size_t>(group)] && m_config.IsAvailable(group))
      priceItem->addChild(AddRoot(group));
  m_tree->expandAll();
  m_filling = false;
  SelectItem(selected);
}

int CLinearDlg::SelectedItem() const {
  QList<QTreeWidgetItem*> items = m_tree->selectedItems();
  return items.isEmpty() ? -1 : items[0]->data(0, Qt::UserRole).toInt();
}

void CLinearDlg::SelectItem(int data) {
  QTreeWidgetItemIterator it(m_tree);
  for (; *it; ++it)
    if ((*it)->data(0, Qt::UserRole).toInt() == data) {
      m_tree->setCurrentItem(*it);
      return;
    }
  m_tree->clearSelection();
}

int CLinearDlg::SelectedGroup() const {
  const int data = SelectedItem();
  if (data <= kGroupRootData && data > kGroupRootData - kLinearGroupCount)
    return kGroupRootData - data;
  if (data >= 0 && data < m_project.lines.LineCount()) return m_project.lines.Line(data).Group;
  return -1;
}

void CLinearDlg::OnSelectionChanged() {
  if (m_filling || m_viewMode != kViewNone) return;
  int data = SelectedItem();
  m_currentLine = data >= 0 && data < m_project.lines.LineCount() ? data : -1;
  ShowLineTable(m_currentLine);
  RefreshButtons();
}

void CLinearDlg::OnDoubleClick(QTreeWidgetItem* item) {
  if (!item) return;
  int data = item->data(0, Qt::UserRole).toInt();
  if (m_viewMode == kViewProject) ShowTabPage(-1);  // the view holds nothing typed
  if (m_viewMode == kViewEditor && !LeaveEditorFor(data)) return;
  if (m_viewMode != kViewNone) return;
  if (data <= kGroupRootData && data > kGroupRootData - kLinearGroupCount)
    NewLine(kGroupRootData - data);
  else if (data >= 0 && data < m_project.lines.LineCount()) EditLine(data);
}

bool CLinearDlg::LeaveEditorFor(int data) {
  const int edited = IsEditingNewLine() ? kNewLineData + m_editingGroup : m_editingIndex;
  // The root of the group whose new line is edited would only start that line again.
  const bool root = data <= kGroupRootData && data > kGroupRootData - kLinearGroupCount &&
                    !(IsEditingNewLine() && data == kGroupRootData - m_editingGroup);
  const bool line = data >= 0 && data < m_project.lines.LineCount();
  // What the user typed goes only when they say so, as with the header's back button.
  if (data != edited && (root || line) &&
      (!m_environment.dialogs ||
       m_environment.dialogs->Message(this, StringQText(kMsgLeaveEditor),
                                      kMbOkCancel | kMbIconExclamation) == kIdOk)) {
    AbandonEdit();
    SelectItem(data);
    return true;
  }
  SelectItem(edited);  // the double click's press moved the selection off the edited line
  return false;
}
