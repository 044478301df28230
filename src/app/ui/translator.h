#pragma once

#include <QFont>
#include <QFontDatabase>

#include <optional>

// The window translator: once a language is loaded whose character set the desktop's
// font cannot show, it holds a font that can, and TranslateWindow gives it to every
// window. While it holds none it is inactive and windows keep the desktop's font.
// Window captions are drawn by the window manager and keep its font.
// One process-wide object; tests call Reset.
class CTranslator {
 public:
  static CTranslator& Instance();

  // Inactive, no character set.
  void Reset();

  // Chooses a font able to show the Windows character set (0 Latin, 204 Cyrillic, ...):
  // the desktop's font when it has the character set's writing system, else Liberation
  // Sans, else the first family of the font database that has it. Nothing when no
  // family has it. With apply, stores the character set and becomes active with the
  // chosen font (and a bold copy) unless the desktop's font was chosen.
  std::optional<QFont> SetLanguageCharset(int charset, bool apply);

  bool IsActive() const { return m_active; }
  int Charset() const { return m_charset; }
  // The language font and its bold copy; only meaningful while active.
  const QFont& LanguageFont() const { return m_font; }
  const QFont& BoldLanguageFont() const { return m_boldFont; }

 private:
  CTranslator() = default;

  int m_charset = 1;
  bool m_active = false;
  QFont m_font;
  QFont m_boldFont;
};

// The writing system that a Windows character-set value stands for (Any for the
// default character set and unknown values).
QFontDatabase::WritingSystem WritingSystemOfCharset(int charset);
