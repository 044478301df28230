#include "view/ui/cell_props_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "app/message_text.h"
#include "model/bom/bom_column_kind.h"
#include "view/ui/dialog_buttons.h"
#include "model/bom/bom_texts.h"
#include "view/ui/bom_font_choice.h"

namespace {

constexpr int kMsgAlignLeft = 7552, kMsgAlignCentre = 7553, kMsgAlignRight = 7554;
constexpr int kMsgENumberTitle = 7570;
constexpr int kMsgProperties = 401;
constexpr int kMsgFont = 2590, kMsgRowHeight = 7555, kMsgColumnWidth = 7556, kMsgText = 7557;
constexpr int kMsgAlignment = 7558, kMsgColumn = 7559;
const char* const kSizes[] = {"10", "20",  "30",  "40",  "50",  "60",  "70", "80",
                              "90", "100", "120", "140", "160", "180", "200"};

QString Text(const std::string& text) { return QString::fromStdString(text); }

QComboBox* SizeBox(QWidget* parent, const std::string& value) {
  auto* box = new QComboBox(parent);
  box->setEditable(true);
  box->addItem(Text(StringText(kMsgBOMAutoSize)));
  for (const char* size : kSizes) box->addItem(size);
  box->setEditText(Text(value));
  return box;
}

// The alignment a kind's values usually take: pictures centred, numbers right.
int ProposedAlignment(int kind) {
  if (kind == kBOMKindPicture) return 1;
  const bool number = (kind >= kBOMKindQuantity && kind <= kBOMKindTotalTime) ||
                      (kind >= kBOMKindUnitWeight && kind <= kBOMKindFurtherPrice);
  return number ? 2 : 0;
}

}  // namespace

CCellPropsDlg::CCellPropsDlg(QWidget* parent, int mode, const CBOMCellProps& props)
    : QDialog(parent), m_mode(mode), m_props(props) {
  setWindowTitle(Text(StringText(kMsgProperties)));
  auto* form = new QFormLayout(this);
  m_rowHeight = SizeBox(this, props.rowHeight);
  m_columnWidth = SizeBox(this, props.columnWidth);
  m_text = new QLineEdit(Text(props.text), this);
  m_alignment = new QComboBox(this);
  for (int number : {kMsgAlignLeft, kMsgAlignCentre, kMsgAlignRight})
    m_alignment->addItem(Text(StringText(number)));
  m_alignment->setCurrentIndex(props.alignment);
  m_kind = new QComboBox(this);
  if (mode == CBOMCellProps::kColumn) {
    for (int kind = kBOMKindRef; kind <= kBOMKindENumber; ++kind) {
      const std::string title =
          kind == kBOMKindENumber ? StringText(kMsgENumberTitle) : BOMDefaultTitle(kind);
      m_kind->addItem(Text(title), kind);
    }
    m_kind->setCurrentIndex(m_kind->findData(props.kind));
    connect(m_kind, &QComboBox::activated, this, &CCellPropsDlg::OnKindChosen);
  }
  m_font = new QPushButton(Text(StringText(kMsgFont)), this);
  connect(m_font, &QPushButton::clicked, this, &CCellPropsDlg::OnFont);
  form->addRow(Text(StringText(kMsgRowHeight)), m_rowHeight);
  form->addRow(Text(StringText(kMsgColumnWidth)), m_columnWidth);
  form->addRow(Text(StringText(kMsgText)), m_text);
  form->addRow(Text(StringText(kMsgAlignment)), m_alignment);
  form->addRow(Text(StringText(kMsgColumn)), m_kind);
  form->addRow(QString(), m_font);
  form->addRow(MakeDialogButtons(this));
  EnableForMode();
}

void CCellPropsDlg::EnableForMode() {
  const bool rows = m_mode == CBOMCellProps::kCell || m_mode == CBOMCellProps::kRow ||
                    m_mode == CBOMCellProps::kRows || m_mode == CBOMCellProps::kGrid;
  const bool columns = m_mode == CBOMCellProps::kCell || m_mode == CBOMCellProps::kColumn ||
                       m_mode == CBOMCellProps::kColumns || m_mode == CBOMCellProps::kGrid;
  m_rowHeight->setEnabled(rows);
  m_columnWidth->setEnabled(columns);
  m_text->setEnabled(m_mode == CBOMCellProps::kColumn || m_mode == CBOMCellProps::kGrid);
  m_alignment->setEnabled(m_mode >= CBOMCellProps::kColumn);
  m_kind->setEnabled(m_mode == CBOMCellProps::kColumn);
}

void CCellPropsDlg::OnKindChosen() {
  const int kind = m_kind->currentData().toInt();
  m_text->setText(
      Text(kind == kBOMKindENumber ? StringText(kMsgENumberTitle) : BOMDefaultTitle(kind)));
  m_alignment->setCurrentIndex(ProposedAlignment(kind));
}

void CCellPropsDlg::OnFont() {
  if (ChooseBOMFont(this, m_props.font, m_props.color)) m_props.fontChosen = true;
}

void CCellPropsDlg::accept() {
  m_props.rowHeight = m_rowHeight->currentText().trimmed().toStdString();
  m_props.columnWidth = m_columnWidth->currentText().trimmed().toStdString();
  m_props.text = m_text->text().toStdString();
  m_props.alignment = m_alignment->currentIndex();
  if (m_mode == CBOMCellProps::kColumn) m_props.kind = m_kind->currentData().toInt();
  QDialog::accept();
}
