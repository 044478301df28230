#include "pages/ui/special_shape_page_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QShowEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/ui/element_pictures.h"
#include "app/ui/window_translation.h"
#include "pages/page_captions.h"
#include "pages/ui/dimension_entry_dlg.h"

namespace {

constexpr int kPictureSize = kElementPictureSize / 2 + 4;
constexpr std::array<int, 3> kSpacingIds = {1465, 1466, 1467};
constexpr std::array<int, 3> kSpacingMessages = {30044, 30045, 30046};
constexpr std::array<int, kShapeFieldCount> kLabelIds = {1493, 1497, 1500, 1503, 1508, 1510};
constexpr std::array<int, kShapeFieldCount> kEditIds = {1494, 1496, 1499, 1502, 1507, 1509};
constexpr int kMsgOption = 7637;
constexpr int kMsgDimensionsTip = 2743;

}  // namespace

CSpecialShapePageDlg::CSpecialShapePageDlg(bool endPiece, QWidget* parent)
    : CPropPageDialog(parent), m_rules(endPiece) {
  QGridLayout* grid = MakeGrid();
  m_pictures = new QListWidget(this);
  m_pictures->setObjectName(QStringLiteral("1003"));
  m_pictures->setViewMode(QListView::IconMode);
  m_pictures->setFlow(QListView::LeftToRight);
  m_pictures->setIconSize(QSize(kPictureSize, kPictureSize));
  m_pictures->setMovement(QListView::Static);
  m_pictures->setWrapping(false);
  m_pictures->setGridSize(QSize(kPictureSize + 8, kPictureSize + 6));
  m_pictures->setFixedHeight(kPictureSize + 12);
  grid->addWidget(m_pictures, 0, 0, 1, 6);
  m_caption = MakeLabel(1326);
  grid->addWidget(m_caption, 1, 0, 1, 4);
  m_turn = MakeCheck(1470);
  m_turn->setText(QStringLiteral("\u21bb"));
  grid->addWidget(m_turn, 1, 4);
  m_dimensions = MakeButton(1690);
  m_dimensions->setText(QStringLiteral("\u2026"));
  grid->addWidget(m_dimensions, 1, 5);
  for (std::size_t i = 0; i < m_spacing.size(); ++i) {
    m_spacing[i] = MakeRadio(kSpacingIds[i], kSpacingMessages[i]);
    grid->addWidget(m_spacing[i], 2, 2 * static_cast<int>(i), 1, 2);
  }
  for (std::size_t i = 0; i < m_edits.size(); ++i) {
    m_labels[i] = MakeLabel(kLabelIds[i]);
    m_edits[i] = MakeEdit(kEditIds[i]);
    m_edits[i]->installEventFilter(this);
    const int row = 3 + static_cast<int>(i / 4), column = 2 * static_cast<int>(i % 4);
    grid->addWidget(m_labels[i], row, column);
    grid->addWidget(m_edits[i], row, column + 1);
  }
  m_option = MakeCheck(1603, kMsgOption);
  grid->addWidget(m_option, 4, 4, 1, 2);
  m_limits = MakeLabel(1498);
  grid->addWidget(m_limits, 5, 0, 1, 6);
  m_range = MakeLabel(1501);
  grid->addWidget(m_range, 6, 0, 1, 6);
  m_arrangement = MakeCombo(1626);
  grid->addWidget(m_arrangement, 7, 0, 1, 4);
  grid->setRowStretch(8, 1);
  m_dimensions->setToolTip(QString::fromStdString(ButtonTip(kMsgDimensionsTip, 0)));
  connect(m_pictures, &QListWidget::itemClicked, this, &CSpecialShapePageDlg::OnPictureChosen);
  for (std::size_t i = 0; i < m_spacing.size(); ++i) {
    connect(m_spacing[i], &QRadioButton::clicked, this, [this, i] {
      StoreValues();
      m_rules.ChooseSpacing(static_cast<int>(i));
      ShowValues();
    });
  }
  connect(m_edits[1], &QLineEdit::textEdited, this, [this] {
    StoreValues();
    m_rules.CopyEqualSpacing();
    ShowValues();
  });
  connect(m_turn, &QCheckBox::clicked, this, [this] {
    StoreValues();
    const CApplyOutcome turned = m_rules.Turn();
    if (turned.result == EApplyResult::kRefused) {
      ShowValues();
      ShowOutcome(turned);
      return;
    }
    ApplyPage();
  });
  connect(m_arrangement, &QComboBox::activated, this, [this](int index) {
    StoreValues();
    if (m_rules.ChooseArrangement(index)) ApplyPage();
    else ShowValues();
  });
  connect(m_option, &QCheckBox::clicked, this, [this](bool checked) {
    m_rules.SetOption(checked);
    ShowValues();
  });
  connect(m_dimensions, &QPushButton::clicked, this, &CSpecialShapePageDlg::OnDimensions);
}

void CSpecialShapePageDlg::FillPictures() {
  const QSignalBlocker blocker(m_pictures);
  m_pictures->clear();
  int index = 0;
  for (const CSpecialShapePage::CPicture& picture : m_rules.GetPictures()) {
    auto* item = new QListWidgetItem(QStringLiteral("Image #%1").arg(index++), m_pictures);
    item->setIcon(QIcon(QPixmap::fromImage(DrawElementPicture(picture.image))));
    item->setText(QString());
  }
  m_pictures->setCurrentRow(m_rules.GetSelected());
}

void CSpecialShapePageDlg::ShowValues() {
  FillPictures();
  if (m_rules.GetCaptionNumber() != 0) SetMessageText(m_caption, m_rules.GetCaptionNumber());
  else m_caption->setText(QString::fromStdString(m_rules.GetCaptionText()));
  for (std::size_t i = 0; i < m_spacing.size(); ++i) {
    m_spacing[i]->setVisible(m_rules.IsSpacingShown(static_cast<int>(i)));
    m_spacing[i]->setChecked(m_rules.GetSpacing() == static_cast<int>(i));
  }
  const auto& fields = m_rules.GetFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    m_labels[i]->setVisible(fields[i].shown);
    m_edits[i]->setVisible(fields[i].shown);
    m_labels[i]->setText(QString::fromStdString(fields[i].label));
    m_edits[i]->setEnabled(fields[i].enabled);
    if (m_edits[i]->text().toStdString() != fields[i].text)
      m_edits[i]->setText(QString::fromStdString(fields[i].text));
  }
  const QSignalBlocker blocker(m_arrangement);
  m_arrangement->clear();
  for (const std::string& entry : m_rules.GetArrangements())
    m_arrangement->addItem(QString::fromStdString(entry));
  m_arrangement->setVisible(m_arrangement->count() > 0);
  m_arrangement->setEnabled(m_rules.IsArrangementEnabled());
  m_arrangement->setCurrentIndex(m_arrangement->count() > 0 ? m_rules.GetArrangementIndex() : -1);
  m_turn->setVisible(m_rules.IsTurnShown());
  m_turn->setChecked(m_rules.IsTurnChecked());
  m_option->setVisible(m_rules.IsOptionShown());
  m_option->setChecked(m_rules.IsOptionChecked());
  m_dimensions->setVisible(m_rules.IsDimensionsShown());
  CLimitText limits;
  for (int field = 0; field < 4; ++field)
    if (m_rules.ShowLimits(field, limits)) break;
  ShowLimitText(limits);
}

void CSpecialShapePageDlg::ShowLimitText(const CLimitText& limits) {
  m_limits->setVisible(limits.control == 1498);
  m_range->setVisible(limits.control == 1501);
  QLabel* target = limits.control == 1501 ? m_range : m_limits;
  if (limits.message != 0) SetMessageText(target, limits.message);
  else target->setText(QString::fromStdString(limits.text));
}

void CSpecialShapePageDlg::StoreValues() {
  for (std::size_t i = 0; i < m_edits.size(); ++i)
    m_rules.SetFieldText(static_cast<int>(i), m_edits[i]->text().toStdString());
}

void CSpecialShapePageDlg::FocusField(int field) {
  if (field < 0 || field >= kShapeFieldCount) return;
  m_edits[static_cast<std::size_t>(field)]->setFocus();
  m_edits[static_cast<std::size_t>(field)]->selectAll();
}

int CSpecialShapePageDlg::FieldOf(QObject* watched) const {
  for (std::size_t i = 0; i < m_edits.size(); ++i)
    if (m_edits[i] == watched) return static_cast<int>(i);
  return -1;
}

bool CSpecialShapePageDlg::eventFilter(QObject* watched, QEvent* event) {
  const int field = FieldOf(watched);
  if (field >= 0 && event->type() == QEvent::FocusIn) {
    CLimitText limits;
    m_rules.ShowLimits(field, limits);
    ShowLimitText(limits);
  } else if (field >= 0 && event->type() == QEvent::FocusOut) {
    StoreValues();
    m_rules.LeaveField(field);
    const std::string text = m_rules.GetFields()[static_cast<std::size_t>(field)].text;
    m_edits[static_cast<std::size_t>(field)]->setText(QString::fromStdString(text));
  }
  return CPropPageDialog::eventFilter(watched, event);
}

void CSpecialShapePageDlg::OnPictureChosen(QListWidgetItem* item) {
  if (item == nullptr) return;
  StoreValues();
  m_rules.ChoosePicture(m_pictures->row(item));
  ShowValues();
  ApplyPage();
}

void CSpecialShapePageDlg::OnDimensions() {
  if (m_rules.GetObject() == nullptr) return;
  StoreValues();
  const int marker = ModalMarker();
  SetModalMarker(kModalMarker);
  CDimensionEntryDlg dialog(m_rules.LengthUnits(), EParamMode::kSpecialShape, false,
                            m_rules.GetParameters(), this);
  if (dialog.exec() == QDialog::Accepted) m_rules.SetParameters(dialog.Parameters());
  SetModalMarker(marker);
}

void CSpecialShapePageDlg::showEvent(QShowEvent* event) {
  LoadPage();
  CPropPageDialog::showEvent(event);
}
