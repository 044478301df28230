#include "app/ui/whole_titles.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QScreen>

#include <algorithm>

namespace {

// The icon, the three buttons and the margins of a title bar, in heights of its text;
// and the room a window manager's own title font may take beyond the program's.
constexpr int kDecorationLines = 8;
constexpr int kTitleFontPercent = 115;

}  // namespace

void CWholeTitles::Install() {
  if (qApp->findChild<CWholeTitles*>(QString(), Qt::FindDirectChildrenOnly) != nullptr) return;
  qApp->installEventFilter(new CWholeTitles(qApp));
}

int CWholeTitles::TitleWidth(const QString& title, const QFont& font) {
  QFont bold = font;
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  return metrics.horizontalAdvance(title) * kTitleFontPercent / 100 +
         kDecorationLines * metrics.height();
}

void CWholeTitles::Widen(QWidget& window) {
  if (!window.isWindow() || qobject_cast<QDialog*>(&window) == nullptr) return;
  // A window of a fixed size keeps it (its layout would set it back).
  if (window.minimumWidth() == window.maximumWidth()) return;
  int width = TitleWidth(window.windowTitle(), window.font());
  if (const QScreen* screen = window.screen())
    width = std::min(width, screen->availableGeometry().width());
  width = std::min(width, window.maximumWidth());
  if (window.width() >= width) return;
  window.setMinimumWidth(width);
  window.resize(width, window.height());
}

bool CWholeTitles::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Show || type == QEvent::WindowTitleChange) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->isWindow() && (type == QEvent::Show || widget->isVisible()))
      Widen(*widget);
  }
  return QObject::eventFilter(watched, event);
}
