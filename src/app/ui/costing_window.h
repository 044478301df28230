#pragma once

#include <QWidget>

#include "app/ui/command_target.h"

class QCloseEvent;

// What the main frame needs of the window of the linear or the reference mode: one
// such window lives in an MDI child while its mode runs. Closing it, by the frame or by
// its own close button, goes through PromptToClose; once it agreed the window emits
// Closing (before it goes away), on which the frame leaves the mode.
class CCostingWindow : public QWidget, public CCommandTarget {
  Q_OBJECT

 public:
  explicit CCostingWindow(QWidget* parent = nullptr) : QWidget(parent) {}

  // Reads what the window needs to work (its option lists); false, after telling the
  // user, when it cannot work.
  virtual bool CheckConfig() = 0;
  // Reads a project file into a new window; false, after telling the user, on failure.
  virtual bool LoadFile(const QString& path) = 0;
  // After the options sheet ran in this window's mode, with the sheet's result bits.
  virtual void OptionsChanged(unsigned /*result*/) {}
  // The file the main frame's caption names, with " *" when modified; empty for none.
  // CaptionChanged tells the frame when it changes.
  virtual QString CaptionFileTitle() const { return {}; }
  // Asks about unsaved work and closes the window; false when the user kept it open
  // (or a save failed).
  bool CloseWithPrompt();

 signals:
  void Closing();
  void CaptionChanged();

 protected:
  // The questions before closing: true when the window may close.
  virtual bool PromptToClose() = 0;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool m_closing = false;
  bool m_announced = false;
};
