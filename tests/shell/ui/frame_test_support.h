#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/dorne_app.h"
#include "app/frame_rules.h"
#include "app/recent_file_list.h"
#include "app/unit_entry.h"
#include "shell_test_support.h"

class CCatalogueMenu;
class CCostingWindow;
class CDocumentCommands;
class CRunDocuments;
class CMainFrame;
class QWidget;

// A main frame with all its services on a temporary settings folder and the sample
// catalogue, the way the program puts them together.
class CFrameFixture {
 public:
  // With ownProgramFolder the program folder is the temporary "program/" folder (for
  // model documents), else the build's program folder.
  explicit CFrameFixture(const std::string& settingsLines = {}, bool ownProgramFolder = false);
  ~CFrameFixture();

  // Replaces the windows of the costing modes (before Frame() is first used).
  std::function<CCostingWindow*()> makeLinear;
  std::function<CCostingWindow*()> makeReference;
  // The program's check of files to open; unset, the frame checks only that they read.
  std::function<QString(const QString&, EFileKind)> fileProblem;

  CMainFrame& Frame();
  CDocumentCommands& Commands();
  CRunDocuments& Documents() { return *m_documents; }
  CCatalogueMenu& Catalogue() { return *m_catalogue; }

  CShellTestFolder folder;
  CDorneApp app;
  CRecentFileList recent;
  std::vector<CUnitEntry> units;
  CScriptedDialogs dialogs;
  QList<QUrl> urlsOpened;

 private:
  std::unique_ptr<CRunDocuments> m_documents;
  std::unique_ptr<CCatalogueMenu> m_catalogue;
  std::unique_ptr<CMainFrame> m_frame;
  std::unique_ptr<CDocumentCommands> m_commands;
};

// The texts of a menu bar's top-level menus, in order.
QStringList MenuTitles(QWidget& frame);
// The command numbers of a menu's items (0 for a separator, -1 for a sub-menu).
QList<int> MenuCommands(QWidget& frame, const QString& menuObjectName);
// A new layout document as a file, its version word replaced.
std::string LayoutFileBytes(int version = 600);
