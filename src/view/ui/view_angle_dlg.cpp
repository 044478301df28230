#include "view/ui/view_angle_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/message_text.h"
#include "model/document/dorne_doc.h"
#include "view/ui/dorne_view.h"

namespace {

constexpr int kTemplate = 304;
constexpr int kCommandViewAngles = 33025;
constexpr std::array<int, 3> kEditIds{1499, 1500, 1501};
constexpr std::array<int, 3> kEditLabels{2596, 2597, 2598};
constexpr int kApplyButton = 12321;

QString Text(int number) { return QString::fromStdString(ResourceText(number)); }

// The part of a text up to its first line break, or after it.
QString FirstLine(const QString& text) { return text.section(QLatin1Char('\n'), 0, 0); }
QString AfterFirstLine(const QString& text) {
  const int at = text.indexOf(QLatin1Char('\n'));
  return at < 0 ? text : text.mid(at + 1);
}

}  // namespace

CViewAngleDlg::CViewAngleDlg(CDorneView* view, QWidget* parent) : QDialog(parent), m_view(view) {
  setObjectName(QString::number(kTemplate));
  setWindowTitle(AfterFirstLine(QString::fromStdString(StringText(kCommandViewAngles))));
  BuildControls();
  if (m_view != nullptr) LoadFromView();
}

void CViewAngleDlg::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  m_presets = new QComboBox(this);
  m_presets->setObjectName(QStringLiteral("1059"));
  for (int entry = 0; entry <= 9; ++entry) {
    m_presets->addItem(FirstLine(
        QString::fromStdString(StringText(ViewPresetCommand(PresetOfDialogEntry(entry))))));
  }
  layout->addWidget(m_presets);
  auto* form = new QFormLayout();
  for (std::size_t i = 0; i < m_edits.size(); ++i) {
    auto* edit = new QSpinBox(this);
    edit->setObjectName(QString::number(kEditIds[i]));
    edit->setRange(-180, 180);
    auto* label = new QLabel(Text(kEditLabels[i]), this);
    label->setBuddy(edit);
    form->addRow(label, edit);
    m_edits[i] = edit;
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(Text(2710), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(Text(2624), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("2"));
  QPushButton* apply = buttons->addButton(Text(2659), QDialogButtonBox::ApplyRole);
  apply->setObjectName(QString::number(kApplyButton));
  layout->addWidget(buttons);
  connect(ok, &QPushButton::clicked, this, [this] {
    if (Apply()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(apply, &QPushButton::clicked, this, [this] { Apply(); });
  connect(m_presets, &QComboBox::activated, this, &CViewAngleDlg::ChooseEntry);
}

int CViewAngleDlg::exec() {
  if (m_view == nullptr || m_view->Document() == nullptr) return 0;
  return QDialog::exec();
}

void CViewAngleDlg::LoadFromView() {
  CDorneDoc* document = m_view->Document();
  if (document == nullptr) return;
  FollowPreset();
  SetShownAngles(DialogAnglesFromProjection(ProjectionAngles(document->Projection())));
}

void CViewAngleDlg::FollowPreset() {
  m_view->ApplyViewPreset(-1);
  CDorneDoc* document = m_view->Document();
  m_presets->setCurrentIndex(DialogEntryOfPreset(document->GetViewPreset()));
  // While the dialog is open the document names no preset.
  document->SetViewPreset(-2);
}

CViewAngles CViewAngleDlg::ShownAngles() const {
  return {m_edits[0]->value(), m_edits[1]->value(), m_edits[2]->value()};
}

void CViewAngleDlg::SetShownAngles(const CViewAngles& angles) {
  for (std::size_t i = 0; i < m_edits.size(); ++i) m_edits[i]->setValue(angles[i]);
}

void CViewAngleDlg::ChooseEntry(int entry) {
  const std::optional<CViewAngles> angles = ViewPresetAngles(PresetOfDialogEntry(entry));
  if (!angles) return;
  if (m_presets->currentIndex() != entry) m_presets->setCurrentIndex(entry);
  SetShownAngles(DialogAnglesFromProjection(*angles));
}

int CViewAngleDlg::ChosenEntry() const { return m_presets->currentIndex(); }

bool CViewAngleDlg::Apply() {
  if (m_view == nullptr || m_view->Document() == nullptr) return false;
  for (QSpinBox* edit : m_edits) edit->interpretText();
  m_view->ApplyViewAngles(ProjectionAnglesFromDialog(ShownAngles()));
  FollowPreset();
  return true;
}
