#include "pages/ui/entrax_page_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "app/ui/element_pictures.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgShapeCode = 7630;
// The pictures shown at half their size: the page area is low.
constexpr int kPictureSize = kElementPictureSize / 2 + 4;

}  // namespace

CEntraxPageDlg::CEntraxPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  m_shapes = new QListWidget(this);
  m_shapes->setObjectName(QStringLiteral("1003"));
  m_shapes->setViewMode(QListView::IconMode);
  m_shapes->setFlow(QListView::LeftToRight);
  m_shapes->setIconSize(QSize(kPictureSize, kPictureSize));
  m_shapes->setMovement(QListView::Static);
  m_shapes->setWrapping(false);
  m_shapes->setGridSize(QSize(kPictureSize + 8, kPictureSize + 6));
  m_shapes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_shapes->setFixedHeight(kPictureSize + 12);
  m_code = MakeLabel(1326, kMsgShapeCode);
  m_standard = MakeRadio(1465);
  m_standard->setText(QStringLiteral("e ="));
  m_standardValue = MakeLabel(1463);
  m_custom = MakeRadio(1106);
  m_custom->setText(QStringLiteral("e ="));
  m_customEdit = MakeEdit(1254);
  m_range = MakeLabel(1464);
  grid->addWidget(m_shapes, 0, 0, 1, 3);
  grid->addWidget(m_standard, 1, 0);
  grid->addWidget(m_standardValue, 1, 1);
  grid->addWidget(m_code, 1, 2);
  grid->addWidget(m_custom, 2, 0);
  grid->addWidget(m_customEdit, 2, 1);
  grid->addWidget(m_range, 2, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);
  connect(m_shapes, &QListWidget::currentRowChanged, this, &CEntraxPageDlg::OnShapeChosen);
  connect(m_standard, &QRadioButton::clicked, this, [this] {
    m_rules.ChooseCustom(false);
    ShowValues();
  });
  connect(m_custom, &QRadioButton::clicked, this, [this] {
    m_rules.ChooseCustom(true);
    ShowValues();
    FocusField(0);
  });
}

// The list is filled again only when the unit's set of pictures differs: a choice in the
// list applies from within the list's own notice.
void CEntraxPageDlg::FillPictures() {
  const std::vector<std::string>& names = m_rules.GetPictureNames();
  if (m_shapes->count() == static_cast<int>(names.size())) return;
  const QSignalBlocker blocker(m_shapes);
  m_shapes->clear();
  for (std::size_t i = 0; i < names.size(); ++i) {
    auto* item = new QListWidgetItem(QStringLiteral("Image #%1").arg(i), m_shapes);
    item->setIcon(QIcon(QPixmap::fromImage(DrawElementPicture(names[i]))));
    item->setText(QString());
  }
}

void CEntraxPageDlg::ShowValues() {
  FillPictures();
  {
    const QSignalBlocker blocker(m_shapes);
    m_shapes->setCurrentRow(m_rules.GetChoice());
  }
  const auto shape = m_rules.GetShape();
  if (shape) m_code->setText(QString::fromLatin1(shape->code));
  else SetMessageText(m_code, kMsgShapeCode);
  const bool standard = m_rules.HasStandard();
  const bool custom = m_rules.HasCustomRange();
  m_standard->setVisible(standard);
  m_standardValue->setVisible(standard);
  const std::string label = m_rules.GetStandardLabel();
  if (label.empty()) SetMessageText(m_standardValue, CEntraxPage::kMsgToBeSpecified);
  else m_standardValue->setText(QString::fromStdString(label));
  for (QWidget* widget : {static_cast<QWidget*>(m_custom), static_cast<QWidget*>(m_customEdit),
                          static_cast<QWidget*>(m_range)})
    widget->setVisible(custom);
  m_range->setText(QString::fromStdString(m_rules.GetRangeLabel()));
  m_standard->setChecked(!m_rules.IsCustom());
  m_custom->setChecked(m_rules.IsCustom());
  m_customEdit->setText(QString::fromStdString(m_rules.GetCustomText()));
  m_customEdit->setEnabled(m_rules.IsCustom());
}

void CEntraxPageDlg::StoreValues() { m_rules.SetCustomText(m_customEdit->text().toStdString()); }

void CEntraxPageDlg::FocusField(int field) {
  (void)field;
  m_customEdit->selectAll();
  m_customEdit->setFocus();
}

void CEntraxPageDlg::OnShapeChosen(int row) {
  if (row < 0) return;
  m_shapes->scrollToItem(m_shapes->item(row), QAbstractItemView::PositionAtTop);
  m_rules.SetChoice(row);
  ApplyPage();
}
