#pragma once

#include <QObject>

class QFont;
class QString;
class QWidget;

// Keeps the title of every dialog whole: the window manager cuts a title that is wider
// than its window ("Coffrets de dérivati... Coffrets à fusibles"), and a dialog is only as
// wide as its controls ask. A dialog is widened when it is shown or its title changes,
// never beyond its own maximum or the screen.
class CWholeTitles : public QObject {
  Q_OBJECT

 public:
  // Installed on the application; one is enough for every window.
  static void Install();

  // The width a window needs so that a title bar shows the title whole beside its icon
  // and buttons, in a bold face of the font.
  static int TitleWidth(const QString& title, const QFont& font);

  // Widens a shown dialog to its title's width; other windows are left alone.
  static void Widen(QWidget& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using QObject::QObject;
};
