#include "pages/ui/position_page_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScrollBar>
#include <QShowEvent>

CPositionPageDlg::CPositionPageDlg(QWidget* parent) : CPropPageDialog(parent) { BuildControls(); }

void CPositionPageDlg::BuildControls() {
  auto* grid = new QGridLayout(this);
  constexpr int kEditIds[3] = {1006, 1017, 1018};
  constexpr int kValueIds[3] = {1070, 1069, 1071};
  for (int field = 0; field < 3; ++field) {
    m_edits[field] = MakeEdit(kEditIds[field]);
    m_values[field] = MakeValueLabel(kValueIds[field]);
  }
  m_scroll = new QScrollBar(Qt::Horizontal, this);
  m_scroll->setObjectName(QStringLiteral("1046"));
  grid->addWidget(m_values[0], 0, 0);
  grid->addWidget(m_edits[0], 1, 0);
  grid->addWidget(m_values[1], 0, 2);
  grid->addWidget(m_edits[1], 1, 2);
  grid->addWidget(m_scroll, 2, 0, 1, 3);
  grid->addWidget(m_edits[2], 3, 1);
  grid->addWidget(m_values[2], 4, 1);
  grid->setRowStretch(5, 1);
  connect(m_scroll, &QScrollBar::actionTriggered, this, &CPositionPageDlg::OnScroll);
  connect(m_scroll, &QScrollBar::sliderReleased, this,
          [this] { OnScroll(QAbstractSlider::SliderNoAction); });
}

void CPositionPageDlg::ShowValues() {
  for (int field = 0; field < 3; ++field) {
    m_edits[field]->setText(QString::fromStdString(m_rules.GetText(field)));
    m_values[field]->setText(QString::fromStdString(m_rules.GetLabel(field)));
  }
  const QSignalBlocker blocker(m_scroll);
  m_scroll->setEnabled(m_rules.HasForwardNeighbour());
  m_scroll->setRange(static_cast<int>(m_rules.GetScrollMinimum()),
                     static_cast<int>(m_rules.GetScrollMaximum()));
  m_scroll->setSingleStep(1);
  m_scroll->setPageStep(static_cast<int>(std::max<std::int64_t>(1, m_rules.GetPageStep())));
  m_scroll->setValue(static_cast<int>(m_rules.GetFirst()));
}

void CPositionPageDlg::StoreValues() {
  for (int field = 0; field < 3; ++field)
    m_rules.SetText(field, m_edits[field]->text().toStdString());
}

void CPositionPageDlg::FocusField(int field) {
  QLineEdit* edit = m_edits[std::clamp(field, 0, 2)];
  edit->selectAll();
  edit->setFocus();
}

void CPositionPageDlg::showEvent(QShowEvent* event) {
  // The neighbours may have changed while the page was hidden.
  if (!event->spontaneous()) LoadPage();
  CPropPageDialog::showEvent(event);
}

void CPositionPageDlg::OnScroll(int action) {
  const bool released = !m_scroll->isSliderDown();
  if (action == QAbstractSlider::SliderMove && !released) {
    // Dragging applies only at whole tens of the position.
    if (m_scroll->sliderPosition() % 10 != 0) return;
  }
  std::int64_t position = m_scroll->sliderPosition();
  if (action == QAbstractSlider::SliderToMinimum)
    position = m_scroll->value() - m_rules.GetJumpStep();
  if (action == QAbstractSlider::SliderToMaximum)
    position = m_scroll->value() + m_rules.GetJumpStep();
  const CApplyOutcome outcome = m_rules.ScrollTo(position, released);
  ShowValues();
  (void)outcome;
}
