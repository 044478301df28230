#pragma once

#include <QString>

#include "app/ui/command_target.h"

class CMainFrame;
class QMdiSubWindow;

// The file commands that the application handles itself: File New (the start-mode
// choice), File Open and the recent files (through the frame's OpenAnyFile), the
// printer set-up and the About box; and new layout documents seeded from a model.
class CDocumentCommands : public CCommandTarget {
 public:
  explicit CDocumentCommands(CMainFrame& frame);

  // The layout document opened, or null (always for linear and reference files).
  QMdiSubWindow* OpenDocumentFile(const QString& path);
  // A new layout document, seeded from the model document: with ask, the model dialog
  // chooses it; without, the program's "model.run" when it exists.
  void NewFromModel(bool ask);
  // The program's "model.run" when it exists, else empty.
  QString DefaultModelPath() const;
  void OnOpenRecentFile(int commandId);

  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;

 private:
  void SeedFromModel(QMdiSubWindow* document, const QString& modelPath);

  CMainFrame& m_frame;
};
