#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <deque>

class QDialog;
class QWidget;

// The answers of an end-to-end script to the modal dialogs the program shows, given in
// turn to each dialog that comes up (see ui_script.h). A dialog with no answer left is
// logged with a leading "!" and closed with Escape, so that a script never hangs.
class CScriptAnswers : public QObject {
  Q_OBJECT

 public:
  explicit CScriptAnswers(QObject* parent);

  // words: SHOT BUTTON [CONTROL=TEXT ...]; SHOT "-" for no picture; BUTTON "+name"
  // clicks name and answers the same dialog again with the next answer.
  void Queue(const QStringList& words) { m_queue.push_back(words); }
  // One entry per dialog seen: its object name, ":" and its message or title.
  const QStringList& Log() const { return m_log; }
  // The captions of the message boxes seen, in turn.
  const QStringList& MessageTitles() const { return m_titles; }

 private:
  void Poll();
  void Answer(QDialog& dialog, const QStringList& words);

  QTimer m_timer;
  std::deque<QStringList> m_queue;
  QStringList m_log;
  QStringList m_titles;
  QPointer<QWidget> m_last;
};
