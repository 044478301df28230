#include "pages/ui/option_check_page_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace {

constexpr int kMsgOptionBox = 2761;
constexpr int kMsgOptionNote = 2762;

}  // namespace

COptionCheckPageDlg::COptionCheckPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  m_box = MakeCheck(1019, kMsgOptionBox);
  QLabel* note = MakeLabel(1070, kMsgOptionNote);
  note->setWordWrap(true);
  grid->addWidget(m_box, 0, 0);
  grid->addWidget(note, 1, 0);
  grid->setRowStretch(2, 1);
  connect(m_box, &QCheckBox::clicked, this, [this](bool checked) {
    m_rules.SetChecked(checked);
    LoadPage();
  });
}

void COptionCheckPageDlg::ShowValues() {
  m_box->setEnabled(m_rules.IsEnabled());
  m_box->setChecked(m_rules.IsChecked());
}
