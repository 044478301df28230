#include "shell/ui/menu_hint_filter.h"

#include <QAction>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>
#include <QVariant>

#include "app/ui/command_texts.h"

namespace {

constexpr char kHintProperty[] = "tvr_hint";

}  // namespace

void CMenuHintFilter::SetHint(QAction& action, const QString& hint) {
  const QString shown = action.isEnabled() ? QString() : hint;
  if (Hint(action) == shown) return;
  action.setProperty(kHintProperty, shown);
  const int commandId = action.data().toInt();
  const QString own = CommandToolTip(commandId);
  // Back to the command's own tip (or Qt's, its menu text) once it is enabled again.
  action.setToolTip(!shown.isEmpty() ? shown : own);
}

QString CMenuHintFilter::Hint(const QAction& action) {
  return action.property(kHintProperty).toString();
}

bool CMenuHintFilter::eventFilter(QObject* watched, QEvent* event) {
  auto* menu = qobject_cast<QMenu*>(watched);
  if (menu == nullptr || event->type() != QEvent::ToolTip) return false;
  const auto* help = static_cast<QHelpEvent*>(event);
  const QAction* action = menu->actionAt(help->pos());
  const QString hint = action != nullptr && !action->isEnabled() ? Hint(*action) : QString();
  if (hint.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(help->globalPos(), hint, menu);
  }
  return true;
}
