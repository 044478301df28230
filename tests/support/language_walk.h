#pragma once

#include <QString>
#include <QStringList>

class QMenuBar;
class QWidget;

// The words of the French language file (data/lang/TVR_033.TXT), and the texts a window
// shows that are not made of them: an English or raw text left in the French interface.
// A word is a run of three or more letters, compared without regard to case (a code of
// up to four capitals, such as a product or a currency, is data and passes); a text that
// holds a backslash escape ("\n" written out) is never right.
class CLanguageWords {
 public:
  CLanguageWords();
  bool Knows(const QString& text) const;
  // Every text of the widget and its children (captions, labels, buttons, group boxes,
  // tabs, tool tips, menu items) that the language file does not hold, each as
  // "<object name or class>: <text>".
  QStringList ForeignTexts(QWidget& widget) const;
  QStringList ForeignMenuTexts(QMenuBar& bar) const;

 private:
  QStringList m_words;  // sorted, lower case
};
