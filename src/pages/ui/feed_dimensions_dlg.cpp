#include "pages/ui/feed_dimensions_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/window_translation.h"
#include "model/element/dev.h"
#include "model/props/dimension.h"
#include "model/document/run_document.h"

namespace {

constexpr int kMsgCaption = 2706;
constexpr int kMsgSizes = 2529;
constexpr int kMsgOffsets = 2525;
constexpr int kMsgWidth = 2540;
constexpr int kMsgHeight = 2566;
constexpr int kMsgDepth = 2551;
constexpr int kMsgOk = 2623;
constexpr int kMsgCancel = 2624;
constexpr std::array<int, 6> kEditIds = {1490, 1492, 1494, 1496, 1376, 1499};
constexpr std::array<int, 3> kSizeLabelIds = {1491, 1493, 1495};

const CDimension& UnitsOf(const CDev& element) {
  static const CDimension metric = CDimension::Metric();
  const CRunDocument* document = element.GetDocument();
  return document != nullptr ? document->GetUnits() : metric;
}

}  // namespace

CFeedDimensionsDlg::CFeedDimensionsDlg(CDev& element, const std::string& connectionKey,
                                       QWidget* parent)
    : QDialog(parent), m_element(element), m_rules(element, connectionKey) {
  setObjectName(QStringLiteral("30741"));
  setWindowTitle(ResourceQText(kMsgCaption));
  auto* layout = new QVBoxLayout(this);
  m_sets = new QComboBox(this);
  m_sets->setObjectName(QStringLiteral("1679"));
  for (const CFeedDimensions::CSet& set : m_rules.GetSets())
    m_sets->addItem(QString::fromStdString(set.name), set.value);
  m_sets->setCurrentIndex(m_rules.GetSelectedSet());
  m_sets->setVisible(m_rules.AreSetsShown());
  layout->addWidget(m_sets);
  auto* sizes = new QGroupBox(ResourceQText(kMsgSizes), this);
  sizes->setObjectName(QStringLiteral("1472"));
  auto* sizeGrid = new QGridLayout(sizes);
  const std::array<int, 3> sizeNames = {kMsgWidth, kMsgHeight, kMsgDepth};
  for (std::size_t i = 0; i < m_edits.size(); ++i) {
    m_edits[i] = new QLineEdit(this);
    m_edits[i]->setObjectName(QString::number(kEditIds[i]));
  }
  for (std::size_t i = 0; i < 3; ++i) {
    auto* label = new QLabel(ResourceQText(sizeNames[i]), sizes);
    label->setObjectName(QString::number(kSizeLabelIds[i]));
    sizeGrid->addWidget(label, static_cast<int>(i), 0);
    sizeGrid->addWidget(m_edits[i], static_cast<int>(i), 1);
  }
  QString offsetTitle = ResourceQText(kMsgOffsets);
  if (m_rules.IsShifted()) offsetTitle += QStringLiteral(" A/B/C");
  auto* offsets = new QGroupBox(offsetTitle, this);
  offsets->setObjectName(QStringLiteral("1470"));
  auto* offsetGrid = new QGridLayout(offsets);
  for (std::size_t i = 0; i < 3; ++i) {
    offsetGrid->addWidget(new QLabel(QString(QChar('x' + static_cast<char>(i))), offsets),
                          static_cast<int>(i), 0);
    offsetGrid->addWidget(m_edits[i + 3], static_cast<int>(i), 1);
  }
  layout->addWidget(sizes);
  layout->addWidget(offsets);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ResourceQText(kMsgOk));
  buttons->button(QDialogButtonBox::Cancel)->setText(ResourceQText(kMsgCancel));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_sets, &QComboBox::activated, this, &CFeedDimensionsDlg::OnSetChange);
  ShowValues(m_rules.GetValues());
  if (m_rules.AreSetsShown()) OnSetChange(m_sets->currentIndex());
}

void CFeedDimensionsDlg::ShowValues(const CConnectionValues& values) {
  const CDimension& units = UnitsOf(m_element);
  for (std::size_t i = 0; i < m_edits.size(); ++i)
    m_edits[i]->setText(QString::fromStdString(units.FormatLength(values[i])));
}

void CFeedDimensionsDlg::OnSetChange(int index) {
  const auto& sets = m_rules.GetSets();
  if (index < 0 || index >= static_cast<int>(sets.size())) return;
  const CFeedDimensions::CSet& set = sets[static_cast<std::size_t>(index)];
  if (set.value >= 0) ShowValues(set.values);
  for (QLineEdit* edit : m_edits) edit->setEnabled(set.value < 0);
}

void CFeedDimensionsDlg::accept() {
  const CDimension& units = UnitsOf(m_element);
  std::array<double, 6> typed{};
  for (std::size_t i = 0; i < typed.size(); ++i)
    typed[i] = units.Parse(m_edits[i]->text().toStdString());
  // What was kept, clamped, is what the fields show when the dialog goes.
  ShowValues(m_rules.Store(typed));
  QDialog::accept();
}
