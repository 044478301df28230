#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

#include "app/options_frame.h"
#include "app/ui/command_target.h"
#include "app/ui/options_sheet.h"

class CDorneDoc;
class CMainFrame;
class QMdiSubWindow;

// The Options command (32772) as the main frame offers it while the layout, linear and
// reference windows do not handle it themselves: the sheet of the running mode's window
// (linear, reference, or layout with the active layout document). For a layout
// document it stands for the layout frame: its runs take the element settings again,
// its scene is rebuilt, its views redrawn and it is marked modified; the catalogue
// menu is rebuilt. Owned by the frame.
class COptionsCommand : public QObject, public CCommandTarget, public COptionsFrame {
  Q_OBJECT

 public:
  // context gives the application, its languages and devices when the command runs.
  COptionsCommand(CMainFrame& frame, std::function<COptionsContext()> context);

  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;

  // The window kind of the frame's mode (kOptionsFrom...).
  int Kind() const;
  // The last sheet's result.
  unsigned LastResult() const { return m_lastResult; }

  void RebuildScene() override;
  void RefreshAllRuns() override;
  void UpdateAllViews() override;
  void SetModifiedFlag(bool modified) override;
  void BuildCatalogueMenu() override;

 private:
  // The layout document the sheet was opened for; null when there is none.
  CDorneDoc* Document() const;

  CMainFrame& m_frame;
  std::function<COptionsContext()> m_context;
  QPointer<QMdiSubWindow> m_document;
  unsigned m_lastResult = 0;
};
