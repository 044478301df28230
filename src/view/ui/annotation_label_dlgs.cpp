#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/message_text.h"
#include "model/annotation/annotation_label.h"
#include "model/document/dorne_doc.h"
#include "view/annotation_dialog_rules.h"
#include "view/annotation_geometry.h"
#include "view/ui/annotation_dialog_parts.h"
#include "view/ui/annotation_dialogs.h"

namespace {

constexpr int kPictureDialog = 30740;
constexpr int kDimensionDialog = 30746;
constexpr int kMsgPictureCaption = 5038;
constexpr int kMsgDimensionCaption = 5039;
// The language files give messages 300 and 2602 to the menus: these labels have their own.
constexpr int kMsgFile = 5050;
constexpr int kMsgScale = 5049;
// Radio buttons and their length boxes, by measuring mode 0..3 (distance, X, Y, Z).
constexpr std::array<int, 4> kModeRadios{1617, 1619, 1620, 1618};
constexpr std::array<int, 4> kModeLengths{1621, 1623, 1624, 1622};
constexpr std::array<int, 4> kModeMessages{5040, 5044, 5045, 5043};

using annotation_dialog_parts::Caption;
using annotation_dialog_parts::NamedButton;
using annotation_dialog_parts::Text;

// Delete, OK and Cancel along the bottom of a dialog.
QPushButton* AddEndButtons(QDialog* dialog, QBoxLayout* layout) {
  auto* row = new QHBoxLayout();
  QPushButton* remove = NamedButton(dialog, 1046, Text(364));
  QPushButton* ok = NamedButton(dialog, 1, Text(2623));
  ok->setDefault(true);
  QPushButton* cancel = NamedButton(dialog, 2, Text(2624));
  for (QPushButton* b : {remove, ok, cancel}) row->addWidget(b);
  layout->addLayout(row);
  QObject::connect(remove, &QPushButton::clicked, dialog, [dialog] {
    if (ConfirmAnnotationDelete(dialog)) dialog->done(3);
  });
  QObject::connect(cancel, &QPushButton::clicked, dialog, [dialog] { dialog->done(2); });
  return ok;
}

int ResultOf(int result) { return result == 1 || result == 3 ? result : 2; }

}  // namespace

CImageLabelDlg::CImageLabelDlg(CAnnotationLabel& label, bool isNew, const CDorneDoc* document,
                               QWidget* parent)
    : QDialog(parent), m_label(label), m_isNew(isNew), m_document(document) {
  setObjectName(QString::number(kPictureDialog));
  setWindowTitle(Caption(kMsgPictureCaption));
  BuildControls();
}

void CImageLabelDlg::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* pathRow = new QHBoxLayout();
  auto* pathLabel = new QLabel(Text(kMsgFile), this);
  pathLabel->setObjectName(QStringLiteral("1069"));
  m_path = new QLineEdit(QString::fromStdString(m_label.GetText()), this);
  m_path->setObjectName(QStringLiteral("1031"));
  m_path->setReadOnly(true);
  QPushButton* browse = NamedButton(this, 1484, QStringLiteral("..."));
  pathRow->addWidget(pathLabel);
  pathRow->addWidget(m_path, 1);
  pathRow->addWidget(browse);
  layout->addLayout(pathRow);
  auto* scaleRow = new QHBoxLayout();
  auto* scaleLabel = new QLabel(Text(kMsgScale), this);
  scaleLabel->setObjectName(QStringLiteral("1070"));
  m_scale = new QComboBox(this);
  m_scale->setObjectName(QStringLiteral("1489"));
  for (int scale : annotation_dialog::kPictureScales) {
    m_scale->addItem(QStringLiteral("%1 %").arg(scale), scale);
    if (static_cast<std::uint32_t>(scale) == m_label.GetBackground())
      m_scale->setCurrentIndex(m_scale->count() - 1);
  }
  scaleRow->addWidget(scaleLabel);
  scaleRow->addWidget(m_scale, 1);
  layout->addLayout(scaleRow);
  m_withRun = new QCheckBox(Text(2734), this);
  m_withRun->setObjectName(QStringLiteral("1647"));
  m_withRun->setChecked((m_label.GetFlags() & CAnnotation::kFlagWithRun) != 0);
  layout->addWidget(m_withRun);
  m_ok = AddEndButtons(this, layout);
  m_ok->setEnabled(!m_path->text().isEmpty());
  connect(m_path, &QLineEdit::textChanged, this,
          [this](const QString& text) { m_ok->setEnabled(!text.isEmpty()); });
  connect(browse, &QPushButton::clicked, this, [this] { OnBrowse(); });
  connect(m_ok, &QPushButton::clicked, this, &CImageLabelDlg::OnOk);
}

bool CImageLabelDlg::OnBrowse() {
  const QString path = QFileDialog::getOpenFileName(
      this, QString(), QFileInfo(m_path->text()).path(), QStringLiteral("BMP (*.BMP *.bmp)"));
  if (path.isEmpty()) return false;
  m_path->setText(path);
  return true;
}

void CImageLabelDlg::OnOk() {
  m_label.SetText(m_path->text().toStdString());
  const auto scale = static_cast<std::uint32_t>(m_scale->currentData().toInt());
  m_label.SetFontColor(scale);
  m_label.SetBackground(scale);
  annotation_dialog::ApplyRunChoice(m_label, m_withRun->isChecked(), m_document);
  done(1);
}

int CImageLabelDlg::Run() {
  // A new picture asks for its file first; without one there is no picture.
  if (m_isNew && m_path->text().isEmpty()) {
    QTimer::singleShot(0, this, [this] {
      if (OnBrowse()) OnOk();
      else done(2);
    });
  }
  return ResultOf(exec());
}

CDimLabelDlg::CDimLabelDlg(CAnnotationLabel& label, const CDorneDoc* document, QWidget* parent)
    : QDialog(parent), m_label(label), m_document(document) {
  setObjectName(QString::number(kDimensionDialog));
  setWindowTitle(Caption(kMsgDimensionCaption));
  BuildControls();
}

void CDimLabelDlg::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout();
  const std::uint32_t flags = m_label.GetFlags();
  const std::string pattern = m_label.GetText();
  for (int mode = 0; mode < 4; ++mode) {
    const auto i = static_cast<std::size_t>(mode);
    m_modes[i] = new QRadioButton(Text(kModeMessages[i]), this);
    m_modes[i]->setObjectName(QString::number(kModeRadios[i]));
    m_label.SetFlags(annotation_dialog::WithMeasuringMode(flags, mode));
    m_label.SetText("<Length>");
    const std::string length =
        m_document != nullptr ? AnnotationDisplayText(m_label, m_document->GetUnits(), true) : "";
    auto* value = new QLabel(QString::fromStdString(length), this);
    value->setObjectName(QString::number(kModeLengths[i]));
    value->setFrameShape(QFrame::Box);
    grid->addWidget(m_modes[i], mode, 0);
    grid->addWidget(value, mode, 1);
  }
  m_label.SetFlags(flags);
  m_label.SetText(pattern);
  m_modes[static_cast<std::size_t>(DimensionMode(m_label))]->setChecked(true);
  layout->addLayout(grid);
  m_pattern = new QLineEdit(QString::fromStdString(pattern), this);
  m_pattern->setObjectName(QStringLiteral("1486"));
  m_pattern->setVisible(false);
  m_opaque = new QCheckBox(Text(2592), this);
  m_opaque->setObjectName(QStringLiteral("1035"));
  m_opaque->setChecked((m_label.GetOpaque() & 0xFFu) != 0);
  m_opaque->setVisible(false);
  m_ok = AddEndButtons(this, layout);
  m_ok->setEnabled(!pattern.empty());
  connect(m_pattern, &QLineEdit::textChanged, this,
          [this](const QString& text) { m_ok->setEnabled(!text.isEmpty()); });
  connect(m_ok, &QPushButton::clicked, this, &CDimLabelDlg::OnOk);
}

void CDimLabelDlg::OnOk() {
  int mode = 0;
  for (int i = 0; i < 4; ++i)
    if (m_modes[static_cast<std::size_t>(i)]->isChecked()) {
      mode = i;
      break;
    }
  m_label.SetFlags(annotation_dialog::WithMeasuringMode(m_label.GetFlags(), mode));
  m_label.SetText(m_pattern->text().toStdString());
  m_label.SetOpaque(
      annotation_dialog::WithOpaqueSwitch(m_label.GetOpaque(), m_opaque->isChecked()));
  done(1);
}

int CDimLabelDlg::Run() { return ResultOf(exec()); }

int RunAnnotationDialog(CAnnotationLabel& label, bool isNew, const CDorneDoc* document,
                        QWidget* parent) {
  switch (label.GetKind()) {
    case CAnnotation::kText: return CTextLabelDlg(label, document, parent).Run();
    case CAnnotation::kImage: return CImageLabelDlg(label, isNew, document, parent).Run();
    case CAnnotation::kDistance: return isNew ? 1 : CDimLabelDlg(label, document, parent).Run();
    default: return 0;
  }
}
