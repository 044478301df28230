#pragma once

#include <QObject>
#include <QString>

#include <map>

class QAction;

// The actions of the main frame's menus and toolbars, one per command number, shared by
// every menu and toolbar that shows the command. Each carries its number as its data
// and as its object name "cmd_<number>"; triggering one emits CommandTriggered.
class CFrameActions : public QObject {
  Q_OBJECT

 public:
  explicit CFrameActions(QObject* parent = nullptr);

  // The action of the command, made on first use with its menu text (the text may
  // be replaced later, as the recent files and catalogues do).
  QAction* Action(int commandId);
  // The action when it exists, else null.
  QAction* Find(int commandId) const;
  const std::map<int, QAction*>& All() const { return m_actions; }
  // Gives every action its text again from the language (after a language load).
  void RetranslateAll();

  static QString ObjectName(int commandId);

 signals:
  void CommandTriggered(int commandId);

 private:
  std::map<int, QAction*> m_actions;
};
