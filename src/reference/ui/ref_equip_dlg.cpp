#include "reference/ui/ref_equip_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/typed_field.h"
#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_line_picture.h"
#include "reference/ui/ref_ok_cancel.h"

namespace {

constexpr int kMsgLineOptions = 32211;
constexpr int kMsgNote = 32257;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// The page's picture: the product's line, framed.
class CRefEquipPicture : public QWidget {
 public:
  explicit CRefEquipPicture(int product, QWidget* parent = nullptr)
      : QWidget(parent), m_product(product) {
    setMinimumSize(220, 90);
  }
  void SetPicture(int picture) {
    m_picture = picture;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_picture != 0)
      PaintRefLinePicture(painter, rect().adjusted(4, 4, -4, -4), RefPictureOf(m_product, 1, 0));
    painter.setPen(Qt::gray);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  int m_product;
  int m_picture = 0;
};

CRefEquipDlg::CRefEquipDlg(const CRefEquipSetup& setup, CRefLine& line, Teller tell,
                           QWidget* parent)
    : QDialog(parent), m_setup(setup), m_line(line), m_tell(std::move(tell)) {
  setObjectName(QStringLiteral("ref_equip_dlg"));
  if (setup.lineOptions) SetMessageText(this, kMsgLineOptions);
  m_pages = RefEquipPages(setup);
  m_combo = new QComboBox;
  m_combo->setObjectName(QStringLiteral("ref_equip_pages"));
  for (const CRefEquipPage& page : m_pages.pages)
    m_combo->addItem(StringQText(page.textMessage), page.kind);
  m_picture = new CRefEquipPicture(setup.product);
  m_note = new QLabel(StringQText(kMsgNote));
  m_note->setWordWrap(true);
  m_note->setVisible(m_pages.note);
  auto* grid = new QGridLayout;
  for (int row = 0; row < 9; ++row) {
    m_texts[row] = new QLabel;
    m_edits[row] = new QLineEdit;
    m_edits[row]->setObjectName(QStringLiteral("ref_equip_count_%1").arg(row + 1));
    m_edits[row]->setAlignment(Qt::AlignRight);
    m_edits[row]->setMaxLength(6);
    m_edits[row]->setFixedWidth(70);
    m_spins[row] = new QSpinBox;
    m_spins[row]->setRange(0, 9999);
    // Wide enough for its arrows and its number: narrower, the style squeezes it to a
    // sliver in which neither shows.
    m_spins[row]->setMinimumWidth(m_spins[row]->sizeHint().width());
    m_spins[row]->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    grid->addWidget(m_texts[row], row, 0);
    grid->addWidget(m_edits[row], row, 1);
    grid->addWidget(m_spins[row], row, 2);
    connect(m_spins[row], &QSpinBox::valueChanged, this, [this, row](int value) {
      if (!m_filling) m_edits[row]->setText(QString::number(value));
    });
    if (row < 3) {
      m_checks[row] = new QCheckBox;
      m_checks[row]->setObjectName(QStringLiteral("ref_equip_check_%1").arg(row + 1));
      grid->addWidget(m_checks[row], row, 0);
      connect(m_checks[row], &QCheckBox::clicked, this, [this, row] { SyncCheckRows(row + 1); });
    }
  }
  connect(m_edits[0], &QLineEdit::textChanged, this, &CRefEquipDlg::OnFirstRowEdited);
  connect(m_combo, &QComboBox::activated, this, [this](int position) {
    if (!ShowPage(position)) m_combo->setCurrentIndex(m_position);
  });
  auto* buttons = MakeRefOkCancelRow(this, QStringLiteral("ref_equip_ok"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_combo);
  layout->addWidget(m_picture);
  layout->addLayout(grid);
  layout->addWidget(m_note);
  layout->addStretch();
  layout->addLayout(buttons);
  m_combo->setCurrentIndex(m_pages.start);
  m_position = -1;
  ShowPage(m_pages.start);
  if (setup.product == 6) SyncCheckRows(0);
  TranslateWindow(this);
}

bool CRefEquipDlg::ReadPage() {
  for (int row = 0; row < 9; ++row) {
    const int component = m_view.rows[static_cast<std::size_t>(row)].component;
    if (component == 0 || !m_view.rows[static_cast<std::size_t>(row)].shown) continue;
    std::string problem;
    const auto value =
        ReadWholeField(m_edits[row]->text().toStdString(),
                       m_view.rows[static_cast<std::size_t>(row)].text, 0, 9999, problem);
    if (!value) {
      if (m_tell) m_tell(Q(problem));
      m_edits[row]->setFocus();
      return false;
    }
    m_counts.Set(component, *value);
  }
  return true;
}

bool CRefEquipDlg::ShowPage(int position) {
  if (position < 0 || position >= static_cast<int>(m_pages.pages.size())) return false;
  if (m_position >= 0 && !ReadPage()) return false;
  m_position = position;
  m_pageKind = m_pages.pages[static_cast<std::size_t>(position)].kind;
  m_view = RefEquipShowPage(m_setup, m_pageKind, m_line, m_counts);
  m_picture->SetPicture(m_view.picture);
  m_filling = true;
  for (int row = 0; row < 9; ++row) {
    const CRefEquipRowView& view = m_view.rows[static_cast<std::size_t>(row)];
    const bool check = row < 3 && view.checkBox;
    m_texts[row]->setVisible(view.shown && !check);
    m_texts[row]->setText(Q(view.text));
    if (row < 3) {
      m_checks[row]->setVisible(view.shown && check);
      m_checks[row]->setText(Q(view.text));
    }
    const bool count = view.shown && view.component != 0;
    m_edits[row]->setVisible(count);
    m_edits[row]->setEnabled(view.editable);
    m_edits[row]->setText(QString::number(view.value));
    m_spins[row]->setVisible(count && view.editable);
    m_spins[row]->setValue(std::clamp(view.value, 0, 9999));
  }
  m_filling = false;
  return true;
}

void CRefEquipDlg::OnFirstRowEdited() {
  if (m_filling) return;
  const int p = m_setup.product;
  if (m_pageKind == 0 && ((p >= 4 && p <= 8 && p != 6) || (p == 2 && m_setup.specialMode != 2))) {
    if (m_edits[1]->isVisible()) m_edits[1]->setText(m_edits[0]->text());
    return;
  }
  if (m_pageKind == 6 && (p == 1 || p == 2) && m_edits[2]->isVisible()) {
    const int value = std::max(0, m_edits[0]->text().toInt());
    m_edits[2]->setText(QString::number(
        RefEquipFixingsFor(value, m_setup.fixingCount, m_setup.length, m_setup.fixingSpacing)));
  }
}

void CRefEquipDlg::SyncCheckRows(int which) {
  const int value = RefEquipCheckValue(m_setup);
  for (int k = 1; k <= 3; ++k) {
    if (which == 0) m_checks[k - 1]->setChecked(m_line.Component(15 + k) == value);
    if (which == k)
      m_edits[k - 1]->setText(QString::number(m_checks[k - 1]->isChecked() ? value : 0));
  }
}

void CRefEquipDlg::accept() {
  if (!ReadPage()) return;
  m_changed = m_counts.WriteTo(m_line);
  QDialog::accept();
}
