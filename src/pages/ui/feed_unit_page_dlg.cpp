#include "pages/ui/feed_unit_page_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include "app/message_text.h"
#include "app/ui/element_pictures.h"
#include "app/ui/window_translation.h"
#include "model/element/dev.h"
#include "pages/ui/feed_dimensions_dlg.h"

namespace {

constexpr int kPictureSize = kElementPictureSize / 2 + 8;
constexpr int kButtonPicture = 24;
constexpr int kMsgPackageTip = 30208;
constexpr int kTipLength = 75;

// The turn button's picture: a quarter-turn arrow; the dimensions button's: a box with
// its size arrows.
QIcon ButtonPicture(bool turn) {
  QPixmap picture(kButtonPicture, kButtonPicture);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 2));
  if (turn) {
    painter.drawArc(QRect(4, 4, 16, 16), 0, 270 * 16);
    painter.drawLine(20, 12, 17, 8);
    painter.drawLine(20, 12, 23, 8);
  } else {
    painter.drawRect(7, 7, 14, 14);
    painter.drawLine(3, 3, 3, 21);
    painter.drawLine(3, 3, 21, 3);
  }
  return QIcon(picture);
}

void FillCombo(QComboBox* combo, const std::vector<CFeedEntry>& entries, int index) {
  const QSignalBlocker blocker(combo);
  combo->clear();
  for (const CFeedEntry& entry : entries) combo->addItem(QString::fromStdString(entry.text));
  combo->setCurrentIndex(index);
  combo->setVisible(!entries.empty());
  combo->setEnabled(entries.size() > 1);
}

void ShowCaption(QLabel* label, const std::string& text) {
  label->setText(QString::fromStdString(text));
  label->setVisible(!text.empty());
}

}  // namespace

CFeedUnitPageDlg::CFeedUnitPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  m_pictures = new QListWidget(this);
  m_pictures->setObjectName(QStringLiteral("1003"));
  m_pictures->setViewMode(QListView::IconMode);
  m_pictures->setFlow(QListView::TopToBottom);
  m_pictures->setMovement(QListView::Static);
  m_pictures->setIconSize(QSize(kPictureSize, kPictureSize));
  m_pictures->setGridSize(QSize(kPictureSize + 8, kPictureSize + 6));
  m_pictures->setFixedWidth(kPictureSize + 16);
  m_typeCaption = MakeLabel(1326);
  m_type = MakeCombo(1017);
  m_rating = MakeCombo(1473);
  m_optionCaption = MakeLabel(1468);
  m_option = MakeCombo(1466);
  m_protectionCaption = MakeLabel(1469);
  m_protection = MakeCombo(1467);
  m_breaker = MakeCombo(1675);
  m_package = MakeCheck(1603);
  m_package->setText(QStringLiteral("QMB..."));
  m_package->setToolTip(StringQText(kMsgPackageTip).left(kTipLength));
  m_turn = MakeButton(1470);
  m_turn->setIcon(ButtonPicture(true));
  m_dimensions = MakeButton(1472);
  m_dimensions->setIcon(ButtonPicture(false));
  grid->addWidget(m_pictures, 0, 0, 7, 1);
  grid->addWidget(m_typeCaption, 0, 1, 1, 2);
  grid->addWidget(m_type, 1, 1);
  grid->addWidget(m_rating, 1, 2);
  grid->addWidget(m_optionCaption, 2, 1);
  grid->addWidget(m_option, 2, 2);
  grid->addWidget(m_protectionCaption, 3, 1);
  grid->addWidget(m_protection, 3, 2);
  grid->addWidget(m_breaker, 4, 2);
  grid->addWidget(m_package, 4, 1);
  grid->addWidget(m_turn, 5, 1, Qt::AlignLeft);
  grid->addWidget(m_dimensions, 5, 2, Qt::AlignLeft);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(6, 1);
  connect(m_pictures, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Choose(m_rules.ChoosePicture(m_pictures->row(item))); });
  connect(m_type, &QComboBox::activated, this,
          [this](int index) { Choose(m_rules.ChooseType(index)); });
  connect(m_rating, &QComboBox::activated, this,
          [this](int index) { Choose(m_rules.ChooseRating(index)); });
  connect(m_option, &QComboBox::activated, this,
          [this](int index) { Choose(m_rules.ChooseOption(index)); });
  connect(m_protection, &QComboBox::activated, this,
          [this](int index) { Choose(m_rules.ChooseProtection(index)); });
  connect(m_breaker, &QComboBox::activated, this,
          [this](int index) { Choose(m_rules.ChooseBreaker(index)); });
  connect(m_package, &QCheckBox::clicked, this,
          [this](bool checked) { Choose(m_rules.SetPackage(checked)); });
  connect(m_turn, &QPushButton::clicked, this, [this] { Choose(m_rules.Turn()); });
  connect(m_dimensions, &QPushButton::clicked, this, &CFeedUnitPageDlg::OpenDimensions);
}

void CFeedUnitPageDlg::Choose(CApplyOutcome outcome) {
  ShowOutcome(outcome);
  ShowValues();
}

void CFeedUnitPageDlg::FillPictures() {
  const QSignalBlocker blocker(m_pictures);
  m_pictures->clear();
  const std::vector<int>& pictures = m_rules.GetPictures();
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    auto* item = new QListWidgetItem(m_pictures);
    const char* name = pictures[i] == 2 ? "ERACC_TRF" : "ERACC_TBL";
    item->setIcon(QIcon(QPixmap::fromImage(DrawElementPicture(name))));
    item->setToolTip(QStringLiteral("Image #%1").arg(i));
    // A picture has no text to show; what it stands for is told to whoever cannot see it.
    item->setData(Qt::AccessibleTextRole, QString::fromLatin1(name));
  }
}

void CFeedUnitPageDlg::ShowValues() {
  FillPictures();
  {
    const QSignalBlocker blocker(m_pictures);
    m_pictures->setCurrentRow(m_rules.GetPictureIndex());
    if (m_rules.GetPictureIndex() < 0) m_pictures->clearSelection();
  }
  ShowCaption(m_typeCaption, m_rules.GetTypeCaption());
  FillCombo(m_type, m_rules.GetTypes(), m_rules.GetTypeIndex());
  FillCombo(m_rating, m_rules.GetRatings(), m_rules.GetRatingIndex());
  m_rating->setEnabled(!m_rules.GetRatings().empty());
  FillCombo(m_option, m_rules.GetOptions(), m_rules.GetOptionIndex());
  ShowCaption(m_optionCaption, m_rules.GetOptionCaption());
  FillCombo(m_protection, m_rules.GetProtections(), m_rules.GetProtectionIndex());
  m_protection->setEnabled(m_rules.IsProtectionEnabled());
  ShowCaption(m_protectionCaption, m_rules.GetProtectionCaption());
  FillCombo(m_breaker, m_rules.GetBreakers(), m_rules.GetBreakerIndex());
  m_breaker->setVisible(m_rules.IsBreakerShown());
  m_breaker->setEnabled(m_rules.IsBreakerShown());
  m_package->setVisible(m_rules.IsPackageShown());
  m_package->setChecked(m_rules.IsPackageChecked());
  m_turn->setVisible(m_rules.IsTurnShown());
  m_dimensions->setVisible(m_rules.IsDimensionsShown());
}

void CFeedUnitPageDlg::OpenDimensions() {
  CDev* element = dynamic_cast<CDev*>(m_rules.GetObject());
  if (element == nullptr) return;
  const int marker = ModalMarker();
  SetModalMarker(kModalMarker);
  CFeedDimensionsDlg dialog(*element, m_rules.ConnectionKey(), this);
  dialog.exec();
  SetModalMarker(marker);
  m_rules.Load();
  ShowValues();
}
