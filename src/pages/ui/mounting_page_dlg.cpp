#include "pages/ui/mounting_page_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kMsgMountingNote = 2729;
constexpr int kMsgSideOne = 2730;
constexpr int kMsgSideZero = 2731;
constexpr int kMsgThirdSide = 32173;
constexpr int kMsgArrangement = 2732;
constexpr int kFlipPictureSize = 48;

// The flip button's picture: the trunking, the device on the side it is mounted on and
// the arrow toward the other side.
QIcon FlipPicture(bool left) {
  QPixmap picture(kFlipPictureSize, kFlipPictureSize);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setPen(QPen(Qt::black, 2));
  painter.drawRect(20, 4, 8, 40);
  painter.fillRect(left ? 6 : 30, 16, 12, 16, Qt::darkCyan);
  const int from = left ? 30 : 18;
  const int to = left ? 44 : 4;
  const int back = left ? -6 : 6;
  painter.drawLine(from, 24, to, 24);
  painter.drawLine(to, 24, to + back, 18);
  painter.drawLine(to, 24, to + back, 30);
  return QIcon(picture);
}

}  // namespace

CMountingPageDlg::CMountingPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  m_sides = {MakeRadio(1641, kMsgSideZero), MakeRadio(1640, kMsgSideOne),
             MakeRadio(1642, kMsgThirdSide)};
  m_sides[0]->hide();
  m_sides[1]->hide();
  m_flip = MakeButton(1643);
  m_flip->setIconSize(QSize(kFlipPictureSize, kFlipPictureSize));
  m_polarityCaption = MakeLabel(1069, kMsgArrangement);
  m_polarity = MakeCombo(1166);
  for (const char* text : {"3L+N+PE", "3L+PE", "3L+PEN"}) m_polarity->addItem(text);
  grid->addWidget(MakeLabel(1070, kMsgMountingNote), 0, 0, 1, 2);
  grid->addWidget(m_flip, 1, 0);
  grid->addWidget(m_sides[2], 1, 1);
  grid->addWidget(m_polarityCaption, 2, 0);
  grid->addWidget(m_polarity, 2, 1);
  grid->setRowStretch(3, 1);
  for (QRadioButton* radio : m_sides) {
    // The hidden radios hold the state: the page sets all three itself.
    radio->setAutoExclusive(false);
    connect(radio, &QRadioButton::clicked, this, &CMountingPageDlg::OnSideClicked);
  }
  connect(m_flip, &QPushButton::clicked, this, [this] {
    m_rules.Flip();
    ShowValues();
  });
  connect(m_polarity, &QComboBox::activated, this, [this](int index) {
    m_rules.ChoosePolarity(index);
    ShowValues();
  });
}

void CMountingPageDlg::OnSideClicked() {
  int side = 0;
  if (m_sides[2]->isChecked()) side = 2;
  else if (m_sides[1]->isChecked()) side = 1;
  m_rules.ChooseSide(side);
  ShowValues();
}

void CMountingPageDlg::ShowValues() {
  const int side = m_rules.GetSide();
  for (std::size_t i = 0; i < m_sides.size(); ++i) {
    const QSignalBlocker blocker(m_sides[i]);
    m_sides[i]->setChecked(static_cast<int>(i) == side);
  }
  m_sides[2]->setVisible(m_rules.IsThirdSideShown());
  m_flip->setIcon(FlipPicture(side != 0));
  m_flip->setToolTip(m_sides[static_cast<std::size_t>(side)]->text());
  m_polarityCaption->setVisible(m_rules.IsPolarityShown());
  m_polarity->setVisible(m_rules.IsPolarityShown());
  const QSignalBlocker blocker(m_polarity);
  m_polarity->setCurrentIndex(m_rules.GetPolarityIndex());
}
