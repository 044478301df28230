#include "pages/page_captions.h"
#include "pages/ui/clinq_page_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QShowEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/ui/element_pictures.h"
#include "app/ui/window_translation.h"
#include "pages/ui/dimension_entry_dlg.h"

namespace {

constexpr int kMsgDimensionsTip = 2743;
constexpr int kMsgNarrowBarsOnly = 30209;

constexpr int kMsgCombinations = 30055;
constexpr int kPictureSize = kElementPictureSize / 2 + 4;

}  // namespace

CClinqPageDlg::CClinqPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  m_shapes = new QListWidget(this);
  m_shapes->setObjectName(QStringLiteral("1003"));
  m_shapes->setViewMode(QListView::IconMode);
  m_shapes->setFlow(QListView::LeftToRight);
  m_shapes->setIconSize(QSize(kPictureSize, kPictureSize));
  m_shapes->setMovement(QListView::Static);
  m_shapes->setWrapping(false);
  m_shapes->setGridSize(QSize(kPictureSize + 8, kPictureSize + 6));
  m_shapes->setFixedHeight(kPictureSize + 12);
  m_caption = MakeLabel(1326);
  m_second = MakeLabel(1327);
  m_typeLabel = MakeLabel(1494);
  m_types = MakeCombo(1017);
  m_lengthLabel = MakeLabel(1493);
  m_lengthLabel->setText(QStringLiteral("L ="));
  m_length = MakeEdit(1492);
  m_spin = MakeButton(1706);
  m_spin->setText(QStringLiteral("\u2195"));
  m_range = MakeLabel(1624);
  m_combinationLabel = MakeLabel(1328, kMsgCombinations);
  m_combinations = MakeCombo(1625);
  m_dimensions = MakeButton(1690);
  m_dimensions->setText(QStringLiteral("\u2026"));
  grid->addWidget(m_shapes, 0, 0, 1, 5);
  grid->addWidget(m_caption, 1, 0, 1, 5);
  grid->addWidget(m_second, 2, 0, 1, 5);
  grid->addWidget(m_typeLabel, 2, 0);
  grid->addWidget(m_types, 2, 1, 1, 2);
  grid->addWidget(m_lengthLabel, 3, 0);
  grid->addWidget(m_length, 3, 1);
  grid->addWidget(m_spin, 3, 2);
  grid->addWidget(m_range, 3, 3);
  grid->addWidget(m_combinationLabel, 4, 0);
  grid->addWidget(m_combinations, 4, 1, 1, 2);
  grid->addWidget(m_dimensions, 4, 3);
  grid->setColumnStretch(4, 1);
  grid->setRowStretch(5, 1);
  connect(m_shapes, &QListWidget::itemClicked, this, &CClinqPageDlg::OnShapeChosen);
  connect(m_spin, &QPushButton::clicked, this, [this] {
    StoreValues();
    m_rules.SpinLength();
    m_length->setText(QString::fromStdString(m_rules.GetLengthText()));
  });
  connect(m_dimensions, &QPushButton::clicked, this, &CClinqPageDlg::OnDimensions);
}

void CClinqPageDlg::FillPictures() {
  const QSignalBlocker blocker(m_shapes);
  m_shapes->clear();
  int index = 0;
  for (const int value : m_rules.GetShapes()) {
    auto* item = new QListWidgetItem(QStringLiteral("Image #%1").arg(index++), m_shapes);
    item->setData(Qt::UserRole, value);
    const CClinqShape* row = FindClinqShape(value);
    item->setIcon(QIcon(QPixmap::fromImage(DrawElementPicture(row != nullptr ? row->image : ""))));
    item->setText(QString());
  }
}

void CClinqPageDlg::ShowValues() {
  FillPictures();
  {
    const QSignalBlocker blocker(m_shapes);
    for (int i = 0; i < m_shapes->count(); ++i)
      if (m_shapes->item(i)->data(Qt::UserRole).toInt() == m_rules.GetShape())
        m_shapes->setCurrentRow(i);
  }
  const CClinqShape* row = m_rules.GetShapeRow();
  if (row != nullptr) SetMessageText(m_caption, row->caption);
  else m_caption->clear();
  const CClinqTypes& types = m_rules.GetTypes();
  const bool typed = !types.values.empty();
  m_second->setVisible(!typed);
  m_typeLabel->setVisible(typed);
  m_types->setVisible(typed);
  if (m_rules.GetSecondText() != 0) SetMessageText(m_second, m_rules.GetSecondText());
  else m_second->clear();
  m_typeLabel->setText(QString::fromStdString(types.label));
  m_types->clear();
  for (const std::string& name : types.names) m_types->addItem(QString::fromStdString(name));
  m_types->setCurrentIndex(m_rules.GetType());
  const bool length = m_rules.IsLengthShown();
  m_lengthLabel->setVisible(length);
  m_length->setVisible(length);
  m_length->setReadOnly(m_rules.IsLengthFixed());
  m_length->setText(QString::fromStdString(m_rules.GetLengthText()));
  m_spin->setVisible(m_rules.GetShape() == 5);
  m_range->setVisible(!m_rules.GetLengthRange().empty());
  m_range->setText(QString::fromStdString(m_rules.GetLengthRange()));
  const bool combinations = !m_rules.GetCombinations().empty();
  m_combinationLabel->setVisible(combinations);
  m_combinations->setVisible(combinations);
  m_combinations->setEnabled(m_rules.IsCombinationEnabled());
  m_combinations->clear();
  for (const std::string& text : m_rules.GetCombinations())
    m_combinations->addItem(QString::fromStdString(text));
  m_combinations->setCurrentIndex(m_rules.GetCombination());
  m_dimensions->setVisible(m_rules.IsDimensionsShown());
  m_dimensions->setEnabled(m_rules.IsDimensionsEnabled());
  // A disabled button says why in its tip.
  m_dimensions->setToolTip(QString::fromStdString(
      ButtonTip(kMsgDimensionsTip, m_rules.IsDimensionsEnabled() ? 0 : kMsgNarrowBarsOnly)));
}

void CClinqPageDlg::StoreValues() {
  m_rules.SetLengthText(m_length->text().toStdString());
  m_rules.SetCombination(m_combinations->currentIndex());
  m_rules.SetType(m_types->currentIndex());
}

void CClinqPageDlg::FocusField(int field) {
  (void)field;
  m_length->selectAll();
  m_length->setFocus();
}

void CClinqPageDlg::OnShapeChosen(QListWidgetItem* item) {
  if (item == nullptr) return;
  StoreValues();
  m_rules.ChooseShape(item->data(Qt::UserRole).toInt());
  ShowValues();
}

void CClinqPageDlg::OnDimensions() {
  if (m_rules.GetObject() == nullptr) return;
  StoreValues();
  const int marker = ModalMarker();
  SetModalMarker(kModalMarker);
  CDimensionEntryDlg dialog(m_rules.LengthUnits(), EParamMode::kClinq, m_rules.IsRangeQM(),
                            m_rules.GetParameters(), this);
  dialog.SetWidth(m_rules.GetDimensionsWidth());
  if (dialog.exec() == QDialog::Accepted) m_rules.SetParameters(dialog.Parameters());
  SetModalMarker(marker);
}

void CClinqPageDlg::showEvent(QShowEvent* event) {
  LoadPage();
  CPropPageDialog::showEvent(event);
}
