#include "reference/ui/ref_config_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "app/message_text.h"
#include "app/price_lists.h"
#include "app/ui/window_translation.h"
#include "linear/linear_price_settings.h"
#include "linear/ui/help_hint_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_line_page_view.h"

namespace {

constexpr int kMsgProject = 31005;
constexpr int kMsgTabLine = 31006;
constexpr int kMsgTabPanel = 31007;
constexpr int kMsgTabPrices = 31009;
constexpr int kMsgNewLine = 31010;
constexpr int kMsgBack = 31016;
constexpr int kMsgNext = 31017;
constexpr int kMsgSave = 31018;
constexpr int kMsgLightingRange = 32300;
constexpr int kMsgLightingCalc = 32320;
constexpr int kCodeRole = Qt::UserRole;
constexpr int kStartHint = 3;
// Products in the order they are put first under their group (so shown reversed).
constexpr std::array<int, kRefProductCount> kProductVisit = {0, 6, 1, 2, 3, 4, 8, 5, 7};

char LocaleDecimal() {
  const QString decimal = QLocale::system().decimalPoint();
  return decimal.size() == 1 && decimal[0].unicode() < 128 ? static_cast<char>(decimal[0].unicode())
                                                           : '.';
}

}  // namespace

CRefConfigDlg::CRefConfigDlg(CRefProject& project, CRefEnvironment& environment, QWidget* parent)
    : QWidget(parent),
      m_project(project),
      m_environment(environment),
      m_notifier(this, environment.common),
      m_decimal(LocaleDecimal()) {
  setObjectName(QStringLiteral("ref_config_dlg"));
  m_context = std::make_unique<CRefLineEditContext>(m_config, m_project.lines[0], &m_notifier);
  m_context->decimalSeparator = m_decimal;
  BuildControls();
  ReloadPriceLists();
}

CRefConfigDlg::~CRefConfigDlg() {
  // The connection choices the user made last are kept for the next project; the user's
  // option list is not written when they are those it was read with.
  if (ConnectionChoices() != m_readChoices) [[maybe_unused]]
    bool kept = m_config.WriteConnectionChoices(m_environment.configSetup);
}

std::array<CRefConfig::Record, CRefConfig::kConnectionRecords> CRefConfigDlg::ConnectionChoices()
    const {
  std::array<CRefConfig::Record, CRefConfig::kConnectionRecords> choices{};
  for (int record = 0; record < CRefConfig::kConnectionRecords; ++record)
    choices[static_cast<std::size_t>(record)] = m_config.Connection(record);
  return choices;
}

void CRefConfigDlg::BuildControls() {
  auto* layout = new QHBoxLayout(this);
  auto* splitter = new QSplitter;
  layout->addWidget(splitter);
  m_tree = new QTreeWidget;
  m_tree->setObjectName(QStringLiteral("ref_tree"));
  m_tree->header()->hide();
  splitter->addWidget(m_tree);
  auto* right = new QWidget;
  auto* rightLayout = new QVBoxLayout(right);
  m_tabs = new QTabBar;
  for (int message : {kMsgTabLine, kMsgTabPanel, kMsgTabPrices})
    m_tabs->addTab(StringQText(message));
  m_tabs->setCurrentIndex(-1);
  rightLayout->addWidget(m_tabs);
  m_stack = new QStackedWidget;
  m_linePage = new QWidget;
  auto* lineLayout = new QVBoxLayout(m_linePage);
  lineLayout->setContentsMargins(0, 0, 0, 0);
  m_page = new CRefLinePageView(m_decimal);
  m_area = new CRefLineArea;
  lineLayout->addWidget(m_page);
  lineLayout->addWidget(m_area, 1);
  m_panelHost = new QWidget;
  new QVBoxLayout(m_panelHost);
  m_stack->addWidget(m_linePage);
  m_stack->addWidget(m_panelHost);
  rightLayout->addWidget(m_stack, 1);
  rightLayout->addWidget(BuildButtons());
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 3);
  connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] { RefreshPageStates(); });
  // While a page is open the tree keeps its selection: the page works on that item.
  connect(m_tree, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem*, QTreeWidgetItem* previous) {
            if (m_editState == kBrowsing || m_noRefresh || !previous) return;
            m_noRefresh = true;
            m_tree->setCurrentItem(previous);
            m_noRefresh = false;
          });
  connect(m_tree, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { OnDoubleClick(item); });
  connect(m_tabs, &QTabBar::tabBarClicked, this, [this](int tab) {
    if (!ShowTabPage(tab))
      m_tabs->setCurrentIndex(m_editState == kBrowsing ? -1 : m_tabs->currentIndex());
  });
  connect(m_page, &CRefLinePageView::NumbersEdited, this, [this] { UpdateOptionEnables(); });
  connect(m_page, &CRefLinePageView::ChoiceChanged, this, [this] { OnHeaderChoice(); });
  connect(m_page, &CRefLinePageView::OptionRequested, this,
          [this](int button) { ChooseLineOption(button); });
  connect(m_area, &CRefLineArea::QuantityChanged, this,
          [this](int delta) { ChangeQuantity(delta); });
  connect(m_area, &CRefLineArea::ChooseRequested, this,
          [this](int button) { ChooseComponentButton(button); });
  connect(m_area, &CRefLineArea::CheckRequested, this,
          [this](int control, bool wasChecked) { SpreadOnPosition(control, wasChecked); });
  ShowStepButtons();
  m_page->ShowLineControls(0, m_project.lines[0]);
}

QWidget* CRefConfigDlg::BuildButtons() {
  auto* box = new QWidget;
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  auto add = [this, row](int control, const QString& text, const char* name) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(name));
    m_buttons[control] = button;
    row->addWidget(button);
    return button;
  };
  add(1145, StringQText(kMsgNewLine), "ref_new_line");
  m_priceList = new QLabel, m_priceList->setObjectName(QStringLiteral("ref_price_list"));
  m_coefficient = new QLabel, m_coefficient->setObjectName(QStringLiteral("ref_coefficient"));
  row->addWidget(m_priceList);
  row->addWidget(m_coefficient);
  m_lineScroll = new QScrollBar(Qt::Horizontal);
  m_lineScroll->setObjectName(QStringLiteral("ref_line_scroll"));
  row->addWidget(m_lineScroll, 1);
  row->addStretch();
  add(1148, QStringLiteral(" << ") + StringQText(kMsgBack), "ref_cancel");
  add(1155, QStringLiteral(" << ") + StringQText(kMsgBack), "ref_back");
  add(1149, StringQText(kMsgNext) + QStringLiteral(" >> "), "ref_validate");
  add(1156, StringQText(kMsgNext) + QStringLiteral(" >> "), "ref_take_counts");
  add(1158, StringQText(kMsgSave), "ref_commit");
  connect(m_buttons[1145], &QPushButton::clicked, this, [this] {
    const int code = SelectedCode();
    if (IsRefLineCode(code)) {
      const CRefLine& line = m_project.lines[static_cast<std::size_t>(code)];
      AddNewLineItem(RefProductNodeCode(line.group, line.productKind));
    } else if (IsRefProductNodeCode(code)) {
      AddNewLineItem(code);
    }
  });
  connect(m_buttons[1148], &QPushButton::clicked, this, [this] { BeginOrCancelEdit(false); });
  connect(m_buttons[1149], &QPushButton::clicked, this, [this] { ValidateOfferingComparison(); });
  connect(m_buttons[1155], &QPushButton::clicked, this, [this] { CloseComponentPage(); });
  connect(m_buttons[1156], &QPushButton::clicked, this, [this] { TakeComponentCounts(); });
  connect(m_buttons[1158], &QPushButton::clicked, this, [this] {
    if (m_editState == kTotals) EndEditing();
    else Commit();
  });
  connect(m_lineScroll, &QScrollBar::valueChanged, this, [this](int n) { ShowTotalsLine(n); });
  return box;
}

QPushButton* CRefConfigDlg::Button(int control) const {
  const auto found = m_buttons.find(control);
  return found != m_buttons.end() ? found->second : nullptr;
}

void CRefConfigDlg::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_hintShown || !m_environment.common.dialogs) return;
  m_hintShown = true;
  if (m_environment.common.ReadText("Ref", CHelpHintDlg::SettingKey(kStartHint), "0") == "1")
    return;
  auto* hint = new CHelpHintDlg(kStartHint, m_environment.common, this);
  hint->setAttribute(Qt::WA_DeleteOnClose);
  hint->show();
}

void CRefConfigDlg::ReadRefConfig() {
  if (m_environment.common.profile) {
    m_config.ReadSettings(*m_environment.common.profile, m_environment.configSetup);
    m_config.LoadRefConfig(*m_environment.common.profile, m_environment.configSetup);
  }
  m_readChoices = ConnectionChoices();
  FillTree(true);
  RefreshPageStates();
}

void CRefConfigDlg::ReloadPriceLists() {
  const CPriceListNames names =
      ReadPriceListNames(m_environment.common.folders.article, LookupText);
  m_catalogueNames = names.first;
  m_catalogue =
      PriceListIndexFromSetting(m_environment.common.ReadText("Database", "CurrentCat", ""));
  m_project.priceSettings.priceList = m_catalogue;
}

void CRefConfigDlg::ProjectLoaded() {
  // A project keeps the prices it was saved with; only a change of a line prices it again.
  m_catalogue = std::clamp(m_project.priceSettings.priceList, 0, 14);
  FillTree(true);
  RefreshPageStates();
}

QTreeWidgetItem* CRefConfigDlg::AddTreeItem(QTreeWidgetItem* parent, const QString& text,
                                            int code) {
  auto* item = new QTreeWidgetItem(QStringList(text));
  item->setData(0, kCodeRole, code);
  if (parent) parent->addChild(item);
  else m_tree->addTopLevelItem(item);
  return item;
}

void CRefConfigDlg::FillGroup(QTreeWidgetItem* node, int group) {
  const int lines = RefLineCount(m_project);
  for (int kind : kProductVisit) {
    if (!m_config.ProductOffered(group, kind)) continue;
    auto* product = new QTreeWidgetItem(QStringList(StringQText(RefProductMessage(kind))));
    product->setData(0, kCodeRole, RefProductNodeCode(group, kind));
    node->insertChild(0, product);
    for (int index = 1; index <= lines; ++index) {
      const CRefLine& line = m_project.lines[static_cast<std::size_t>(index)];
      if (line.group == group && line.productKind == kind)
        AddTreeItem(product, QString::fromStdString(line.name), index);
    }
  }
  if (group != 3 || !m_environment.common.profile) return;
  if (m_environment.common.ReadInt("Ref", "GDE", 1) < 0)
    node->insertChild(0, new QTreeWidgetItem(QStringList(StringQText(kMsgLightingCalc))));
  if (m_environment.common.ReadInt("Ref", "GDC", 1) < 0)
    node->insertChild(0, new QTreeWidgetItem(QStringList(StringQText(kMsgLightingRange))));
  for (int i = 0; i < node->childCount(); ++i)
    if (!node->child(i)->data(0, kCodeRole).isValid())
      node->child(i)->setData(0, kCodeRole,
                              node->child(i)->text(0) == StringQText(kMsgLightingCalc)
                                  ? kRefCodeLightingCalc
                                  : kRefCodeLightingRange);
}

void CRefConfigDlg::FillTree(bool rebuild) {
  m_noRefresh = true;
  if (m_tree->topLevelItemCount() == 0)
    AddTreeItem(nullptr, StringQText(kMsgProject), kRefCodeProject);
  QTreeWidgetItem* root = m_tree->topLevelItem(0);
  for (int group = 0; group < 4; ++group) {
    QTreeWidgetItem* node = ItemOfCode(RefGroupCode(group));
    if (node && (rebuild || !m_config.GroupOffered(group))) delete node, node = nullptr;
    if (node || !m_config.GroupOffered(group)) continue;
    int at = 0;
    for (int earlier = 0; earlier < group; ++earlier)
      if (QTreeWidgetItem* previous = ItemOfCode(RefGroupCode(earlier)))
        at = root->indexOfChild(previous) + 1;
    node = new QTreeWidgetItem(QStringList(StringQText(RefGroupMessage(group))));
    node->setData(0, kCodeRole, RefGroupCode(group));
    root->insertChild(at, node);
    FillGroup(node, group);
  }
  if (rebuild) m_tree->expandAll();
  m_noRefresh = false;
}

QTreeWidgetItem* CRefConfigDlg::ItemOfCode(int code) const {
  for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
    if ((*it)->data(0, kCodeRole).toInt() == code) return *it;
  return nullptr;
}

int CRefConfigDlg::SelectedCode() const {
  const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
  return selected.isEmpty() ? -1 : selected.front()->data(0, kCodeRole).toInt();
}

bool CRefConfigDlg::SelectCode(int code) {
  if (m_editState != kBrowsing && SelectedCode() != code) return false;
  QTreeWidgetItem* item = ItemOfCode(code);
  if (!item) return false;
  m_tree->setCurrentItem(item);
  return true;
}

int CRefConfigDlg::FindLine(int n, int filter) const {
  return FindRefLine(m_project, m_config, n, filter == -1 ? SelectedCode() : filter);
}

bool CRefConfigDlg::AddNewLineItem(int filter) {
  if (filter == 0) {
    const int code = SelectedCode();
    QTreeWidgetItem* item = ItemOfCode(code);
    if (!IsRefNewLineCode(code) || !item) return false;
    m_noRefresh = true;
    m_tree->setCurrentItem(item->parent());
    delete item;
    m_noRefresh = false;
    RefreshPageStates();
    return true;
  }
  if (!IsRefProductNodeCode(filter)) return false;
  const int group = (-1000 - filter) / 10, kind = (-1000 - filter) % 10;
  if (!m_config.GroupOffered(group) || !m_config.ProductOffered(group, kind)) return false;
  QTreeWidgetItem* product = ItemOfCode(filter);
  if (!product || m_editState != kBrowsing) return false;
  if (QTreeWidgetItem* old = ItemOfCode(-filter)) delete old;
  product->parent()->setExpanded(true);
  product->setExpanded(true);
  QTreeWidgetItem* item = AddTreeItem(product, StringQText(kMsgNewLine), -filter);
  m_tree->setCurrentItem(item);
  if (ShowTabPage(0)) return true;
  // A line that cannot be begun (a full project, nothing offered) leaves no item behind.
  AddNewLineItem(0);
  return false;
}

void CRefConfigDlg::OnDoubleClick(QTreeWidgetItem* item) {
  if (m_editState != kBrowsing || !item) return;
  const int code = item->data(0, kCodeRole).toInt();
  if (IsRefLineCode(code) || IsRefNewLineCode(code)) ShowTabPage(0);
  else if (IsRefProductNodeCode(code)) AddNewLineItem(code);
  else if (code == kRefCodeLightingRange) RunLightingRange();
  else if (code == kRefCodeLightingCalc) RunLightingCalc();
}

bool CRefConfigDlg::PageAllowed(int page) const {
  const int code = SelectedCode();
  if (m_tree->selectedItems().isEmpty()) return false;
  if (m_editState != kBrowsing) return page == m_editState - 1;
  const int lines = RefLineCount(m_project);
  switch (page) {
    case 0:
      return IsRefLineCode(code) ? code <= lines : IsRefNewLineCode(code) && lines < kRefMaxLines;
    case 1: return code == kRefCodeProject || (IsRefLineCode(code) && code <= lines);
    case 2: return FindLine(0, code) > 0;
    default: return false;
  }
}

void CRefConfigDlg::RefreshPageStates() {
  if (m_noRefresh) return;
  for (int page = 0; page < 3; ++page) m_tabs->setTabEnabled(page, PageAllowed(page));
  const int code = SelectedCode();
  m_buttons[1145]->setEnabled(m_editState == kBrowsing &&
                              (IsRefProductNodeCode(code) || (code >= 0 && code < 1000)));
  ShowSelectionPreview();
}
