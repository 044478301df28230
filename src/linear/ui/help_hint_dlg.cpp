#include "linear/ui/help_hint_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/ui/window_translation.h"
#include "linear/ui/linear_environment.h"

namespace {

constexpr int kMsgCaption = 30999;
constexpr int kMsgRefCaption = 32000;
constexpr int kMsgDontShow = 31099;
// The texts of the reference hint; the linear price panel uses the numbers that were
// meant for them (31097, 31098).
constexpr int kMsgRefHintAdd = 32186;
constexpr int kMsgRefHintSelect = 32480;

}  // namespace

CHelpHintDlg::CHelpHintDlg(int mode, const CLinearEnvironment& environment, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_environment(environment) {
  setObjectName(QStringLiteral("help_hint_dlg"));
  SetMessageText(this, mode >= 3 ? kMsgRefCaption : kMsgCaption);
  auto* text = new QLabel(HintText(mode));
  text->setWordWrap(true);
  m_dontShow = new QCheckBox;
  SetMessageText(m_dontShow, kMsgDontShow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(m_dontShow);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &CHelpHintDlg::accept);
}

QString CHelpHintDlg::HintText(int mode) {
  const bool reference = mode == 3 || mode == 4;
  if (mode == 2 || mode == 4)
    return StringQText(32183) + QStringLiteral("\n") + StringQText(reference ? 32184 : 31038) +
           QStringLiteral("\n\n") + StringQText(32185);
  return StringQText(31004) + QStringLiteral("\n\n 1 - ") +
         StringQText(reference ? kMsgRefHintAdd : 31060) + QStringLiteral("\n\n 2 - ") +
         StringQText(reference ? kMsgRefHintSelect : 31061);
}

void CHelpHintDlg::accept() {
  // When the settings file cannot be written the hint simply comes back next time.
  if (m_dontShow->isChecked()) [[maybe_unused]]
    bool kept = m_environment.WriteText(SettingSection(m_mode), SettingKey(m_mode), "1");
  QDialog::accept();
}
