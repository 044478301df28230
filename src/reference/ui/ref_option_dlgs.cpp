#include "reference/ui/ref_option_dlgs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_line_picture.h"
#include "reference/ui/ref_ok_cancel.h"

namespace {

constexpr int kMsgBack = 31016;
constexpr int kMsgForward = 31017;
constexpr std::array<int, 5> kRadioTexts = {32203, 32204, 32205, 32206, 32296};
constexpr std::array<int, 3> kModeCaptions = {32187, 32188, 32189};

// A small picture of the line a luminaire mode builds.
class CModePicture : public QWidget {
 public:
  explicit CModePicture(int mode) : m_mode(mode) { setFixedSize(200, 70); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintRefLinePicture(painter, rect().adjusted(2, 2, -2, -2), RefPictureOf(0, m_mode, 0));
    painter.setPen(Qt::gray);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  int m_mode;
};

}  // namespace

CRefOptionDlg::CRefOptionDlg(const std::vector<int>& states, int choice, int range, QWidget* parent)
    : QDialog(parent),
      m_choice(choice),
      m_range(range),
      m_rows(RefFixingRows(states, choice, range)) {
  setObjectName(QStringLiteral("ref_option_dlg"));
  auto* grid = new QGridLayout;
  auto* group = new QButtonGroup(this);
  for (int i = 0; i < 5; ++i) {
    const CRefFixingRow& row = m_rows[static_cast<std::size_t>(i)];
    m_radios[i] = new QRadioButton(StringQText(kRadioTexts[static_cast<std::size_t>(i)]));
    m_radios[i]->setObjectName(QStringLiteral("ref_fixing_radio_%1").arg(i));
    group->addButton(m_radios[i], i);
    grid->addWidget(m_radios[i], i, 0);
    m_radios[i]->setVisible(row.shown);
    connect(m_radios[i], &QRadioButton::clicked, this, [this, i] { ShowChoiceControls(i); });
    if (row.entries.empty() || i == 4) continue;
    m_combos[i] = new QComboBox;
    m_combos[i]->setObjectName(QStringLiteral("ref_fixing_range_%1").arg(i));
    for (const std::string& entry : row.entries)
      m_combos[i]->addItem(QString::fromStdString(entry));
    m_combos[i]->setCurrentIndex(row.selected);
    grid->addWidget(m_combos[i], i, 1);
    if (i >= 2)
      connect(m_combos[i], &QComboBox::activated, this, [this, i] {
        m_radios[i]->setChecked(true);
        ShowChoiceControls(i);
      });
  }
  const int index = choice >= 1 && choice <= 4 ? choice - 1 : choice == 36 ? 4 : -1;
  if (index >= 0) m_radios[index]->setChecked(true);
  ShowChoiceControls(index);
  auto* buttons = MakeRefOkCancelRow(this, QStringLiteral("ref_fixing_ok"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  TranslateWindow(this);
}

void CRefOptionDlg::ShowChoiceControls(int index) {
  for (int i = 0; i < 4; ++i)
    if (m_combos[i])
      m_combos[i]->setVisible(i == index && m_rows[static_cast<std::size_t>(i)].shown);
}

void CRefOptionDlg::accept() {
  int checked = -1;
  std::array<int, 5> selections{};
  for (int i = 0; i < 5; ++i) {
    if (m_combos[i]) selections[static_cast<std::size_t>(i)] = m_combos[i]->currentIndex();
    if (checked < 0 && m_radios[i]->isChecked() && m_rows[static_cast<std::size_t>(i)].shown)
      checked = i;
  }
  RefFixingResult(m_rows, checked, selections, m_choice, m_range);
  QDialog::accept();
}

CRefArrowsDlg::CRefArrowsDlg(const std::vector<int>& states, std::function<void(int)> forward,
                             std::function<void()> back, QWidget* parent)
    : QWidget(parent) {
  setObjectName(QStringLiteral("ref_arrows_dlg"));
  setAutoFillBackground(true);
  auto* grid = new QGridLayout(this);
  QFont bold = font();
  bold.setBold(true);
  bold.setPointSize(13);
  const std::vector<int> offered = RefLuminaireModes(states);
  const std::array<int, 3> modes = {1, 10, 11};
  for (int row = 0; row < 3; ++row) {
    const int mode = modes[static_cast<std::size_t>(row)];
    if (std::find(offered.begin(), offered.end(), mode) == offered.end()) continue;
    auto* caption = new QLabel(StringQText(kModeCaptions[static_cast<std::size_t>(row)]));
    caption->setFont(bold);
    auto* go = new QPushButton(StringQText(kMsgForward) + QStringLiteral(" >> "));
    go->setObjectName(QStringLiteral("ref_arrow_forward_%1").arg(mode));
    grid->addWidget(new CModePicture(mode), row, 0);
    grid->addWidget(caption, row, 1);
    grid->addWidget(go, row, 2);
    connect(go, &QPushButton::clicked, this, [forward, mode] { forward(mode); });
  }
  auto* backButton = new QPushButton(QStringLiteral(" << ") + StringQText(kMsgBack));
  backButton->setObjectName(QStringLiteral("ref_arrow_back"));
  grid->addWidget(backButton, 3, 0, Qt::AlignLeft);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(1, 1);
  connect(backButton, &QPushButton::clicked, this, [back] { back(); });
}

void CRefArrowsDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
      event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}
