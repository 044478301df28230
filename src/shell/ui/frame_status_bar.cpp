#include "shell/ui/frame_status_bar.h"

#include <QLabel>

#include "app/ui/command_ids.h"
#include "app/ui/command_texts.h"
#include "app/ui/pictures.h"

namespace {

constexpr int kMsgIdlePrompt = 57345;
constexpr int kMsgIndicatorCaps = 360;
constexpr int kMsgIndicatorNum = 361;
constexpr int kMsgIndicatorScroll = 362;

}  // namespace

CFrameStatusBar::CFrameStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("statusbar"));
  setMinimumHeight(24);
  m_iconPane = new QLabel(this);
  m_iconPane->setObjectName(QStringLiteral("pane_514"));
  m_iconPane->setFixedWidth(245);
  m_iconPane->setFrameShape(QFrame::NoFrame);
  m_iconPane->setPixmap(StatusBarPicture());
  addPermanentWidget(m_iconPane);
  m_distancePane = new QLabel(this);
  m_distancePane->setObjectName(QStringLiteral("pane_513"));
  m_distancePane->setMinimumWidth(80);
  addPermanentWidget(m_distancePane);
  // The lock states of the keyboard are not known to the program here; the panes keep
  // their place and show their names dimmed.
  AddIndicator(QStringLiteral("pane_caps"), kMsgIndicatorCaps);
  AddIndicator(QStringLiteral("pane_num"), kMsgIndicatorNum);
  AddIndicator(QStringLiteral("pane_scroll"), kMsgIndicatorScroll);
  ShowIdlePrompt();
}

QLabel* CFrameStatusBar::AddIndicator(const QString& name, int message) {
  auto* pane = new QLabel(PlainMessageText(message), this);
  pane->setObjectName(name);
  pane->setEnabled(false);
  addPermanentWidget(pane);
  return pane;
}

void CFrameStatusBar::ShowIdlePrompt() { showMessage(PlainMessageText(kMsgIdlePrompt)); }

void CFrameStatusBar::SetPaneText(int paneId, const QString& text) {
  if (paneId == kPaneDistance) m_distancePane->setText(text);
}

QString CFrameStatusBar::PaneText(int paneId) const {
  return paneId == kPaneDistance ? m_distancePane->text() : QString();
}
