#include "app/ui/start_mode_dlg.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/frame_rules.h"
#include "app/ui/pictures.h"
#include "app/ui/translator.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgNewProject = 320;  // "Create a new project\nNew": the caption is its first line
constexpr int kMsgLinear = 30999;
constexpr int kMsgReference = 32000;
constexpr int kMsgGraphical = 30151;
constexpr int kLinearPicture = 1216;
constexpr int kReferencePicture = 1218;
constexpr int kGraphicalPicture = 1217;

}  // namespace

CStartModeDlg::CStartModeDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QString::number(kDialogId));
  setWindowTitle(StringQText(kMsgNewProject).section(QLatin1Char('\n'), 0, 0));
  auto* row = new QHBoxLayout(this);
  row->setSpacing(16);
  AddChoice(kLinearButton, kLinearPicture, kMsgLinear, kStartLinear);
  AddChoice(kReferenceButton, kReferencePicture, kMsgReference, kStartReference);
  AddChoice(kGraphicalButton, kGraphicalPicture, kMsgGraphical, kStartGraphical);
  TranslateWindow(this);
  if (CTranslator::Instance().IsActive()) {
    QFont font = CTranslator::Instance().LanguageFont();
    font.setPointSize(12);
    setFont(font);
  }
}

void CStartModeDlg::AddChoice(int buttonId, int pictureId, int message, int result) {
  auto* column = new QVBoxLayout;
  auto* picture = new QLabel(this);
  picture->setObjectName(QString::number(pictureId));
  picture->setPixmap(StartModePicture(result));
  picture->setAlignment(Qt::AlignCenter);
  auto* button = new QPushButton(QStringLiteral("\n%1\n").arg(StringQText(message)), this);
  button->setObjectName(QString::number(buttonId));
  button->setMinimumWidth(170);
  connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
  column->addWidget(picture);
  column->addWidget(button);
  static_cast<QHBoxLayout*>(layout())->addLayout(column);
}

void CStartModeDlg::SetOffers(bool linear, bool reference, bool graphical) {
  m_offerLinear = linear;
  m_offerReference = reference;
  m_offerGraphical = graphical;
  const std::pair<int, bool> shown[] = {
      {kLinearButton, linear},       {kLinearPicture, linear},
      {kReferenceButton, reference}, {kReferencePicture, reference},
      {kGraphicalButton, graphical}, {kGraphicalPicture, graphical}};
  for (const auto& [id, visible] : shown)
    if (QWidget* control = findChild<QWidget*>(QString::number(id))) control->setVisible(visible);
  adjustSize();
}

int CStartModeDlg::Run() {
  if (int single = StartModeWithoutDialog(m_offerLinear, m_offerReference, m_offerGraphical))
    return single;
  int result = exec();
  return result == kStartLinear || result == kStartReference || result == kStartGraphical ? result
                                                                                          : 0;
}
