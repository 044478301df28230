#include "pages/ui/shape_dimensions_page_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QShowEvent>
#include <QLineEdit>

#include "app/ui/element_pictures.h"

namespace {

constexpr int kMsgRowU = 2566;
constexpr int kMsgRowV = 2552;
constexpr int kMsgRowT = 2544;

}  // namespace

CShapeDimensionsPageDlg::CShapeDimensionsPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  auto* picture = new QLabel(this);
  picture->setPixmap(QPixmap::fromImage(DrawElementPicture("BARS_QG")));
  grid->addWidget(picture, 0, 0, 3, 1);
  grid->addWidget(MakeLabel(1687, kMsgRowU), 0, 1);
  QLabel* u = MakeLabel(1681);
  u->setText(QStringLiteral("U="));
  grid->addWidget(u, 0, 2);
  m_u = MakeEdit(1685);
  grid->addWidget(m_u, 0, 3);
  m_range = MakeLabel(1624);
  grid->addWidget(m_range, 0, 4);
  grid->addWidget(MakeLabel(1688, kMsgRowV), 1, 1);
  QLabel* v = MakeLabel(1684);
  v->setText(QStringLiteral("V="));
  grid->addWidget(v, 1, 2);
  m_sizes = MakeCombo(1627);
  grid->addWidget(m_sizes, 1, 3);
  grid->addWidget(MakeLabel(1686, kMsgRowT), 2, 1);
  QLabel* t = MakeLabel(1680);
  t->setText(QStringLiteral("T="));
  grid->addWidget(t, 2, 2);
  m_t = MakeEdit(1626);
  m_t->setEnabled(false);
  grid->addWidget(m_t, 2, 3);
  grid->setColumnStretch(5, 1);
  grid->setRowStretch(3, 1);
  connect(m_sizes, &QComboBox::activated, this, &CShapeDimensionsPageDlg::OnSizeChange);
}

void CShapeDimensionsPageDlg::ShowValues() {
  {
    const QSignalBlocker blocker(m_sizes);
    m_sizes->clear();
    for (const CShapeDimensionsPage::CSize& size : m_rules.GetSizes())
      m_sizes->addItem(QString::fromStdString(size.text));
    m_sizes->setCurrentIndex(m_rules.GetSelected());
  }
  const bool option = m_rules.HasOption();
  m_sizes->setEnabled(option);
  m_u->setEnabled(option);
  m_range->setVisible(option);
  m_range->setText(QString::fromStdString(m_rules.GetRangeText()));
  m_u->setText(QString::fromStdString(m_rules.GetUText()));
  m_t->setText(QString::fromStdString(m_rules.GetTText()));
}

void CShapeDimensionsPageDlg::StoreValues() {
  m_rules.SetUText(m_u->text().toStdString());
  m_rules.SetSelected(m_sizes->currentIndex());
}

void CShapeDimensionsPageDlg::FocusField(int field) {
  if (field == CShapeDimensionsPage::kFieldSize) {
    m_sizes->setFocus();
    return;
  }
  m_u->selectAll();
  m_u->setFocus();
}

void CShapeDimensionsPageDlg::OnSizeChange(int index) {
  m_rules.SetSelected(index);
  m_t->setText(QString::fromStdString(m_rules.GetTText()));
  ApplyPage();
}

void CShapeDimensionsPageDlg::showEvent(QShowEvent* event) {
  LoadPage();
  CPropPageDialog::showEvent(event);
}
