#include "shell/ui/frame_actions.h"

#include <QAction>
#include <QKeySequence>

#include "app/ui/command_ids.h"
#include "app/ui/command_texts.h"
#include "shell/ui/toolbar_icons.h"

namespace {

QKeySequence ShortcutOf(int commandId) {
  switch (commandId) {
    case kIdFileNew: return QKeySequence::New;
    case kIdFileOpen: return QKeySequence::Open;
    case kIdFileSave: return QKeySequence::Save;
    case kIdPrint: return QKeySequence::Print;
    case kIdEditUndo: return QKeySequence::Undo;
    case kIdEditRedo: return QKeySequence::Redo;
    case kIdHelpIndex: return QKeySequence(Qt::Key_F1);
    default: return {};
  }
}

// A command without a tool tip of its own keeps Qt's (its menu text).
void SetToolTip(QAction& action, int commandId) {
  const QString tip = CommandToolTip(commandId);
  if (!tip.isEmpty()) action.setToolTip(tip);
}

}  // namespace

CFrameActions::CFrameActions(QObject* parent) : QObject(parent) {}

QString CFrameActions::ObjectName(int commandId) { return QStringLiteral("cmd_%1").arg(commandId); }

QAction* CFrameActions::Find(int commandId) const {
  auto found = m_actions.find(commandId);
  return found == m_actions.end() ? nullptr : found->second;
}

QAction* CFrameActions::Action(int commandId) {
  if (QAction* existing = Find(commandId)) return existing;
  auto* action = new QAction(CommandText(commandId), this);
  action->setObjectName(ObjectName(commandId));
  action->setData(commandId);
  action->setShortcut(ShortcutOf(commandId));
  action->setIcon(ToolbarIcon(commandId));
  action->setIconVisibleInMenu(false);
  action->setStatusTip(CommandPrompt(commandId));
  SetToolTip(*action, commandId);
  connect(action, &QAction::triggered, this,
          [this, commandId] { emit CommandTriggered(commandId); });
  m_actions.emplace(commandId, action);
  return action;
}

void CFrameActions::RetranslateAll() {
  for (auto& [commandId, action] : m_actions) {
    QString text = CommandText(commandId);
    if (!text.isEmpty()) action->setText(text);
    action->setStatusTip(CommandPrompt(commandId));
    SetToolTip(*action, commandId);
  }
}
