#pragma once

#include <QString>

#include <functional>
#include <optional>

#include "app/frame_rules.h"
#include "app/ui/info_dlg.h"

class CProfile;
class QWidget;

// The questions the main frame and the document commands ask the user. The program
// shows its dialogs; tests answer them without a window.
class CShellDialogs {
 public:
  virtual ~CShellDialogs() = default;

  // The start-mode choice among the offered ways of working: kStartLinear,
  // kStartReference, kStartGraphical, or 0 when the dialog was closed without one.
  virtual int ChooseStartMode(QWidget* parent, bool offerLinear, bool offerReference,
                              bool offerGraphical) = 0;
  // The model document of a new layout document; nothing when cancelled.
  virtual std::optional<QString> ChooseModel(QWidget* parent, const QString& initialPath) = 0;
  // A file to open in the folder with the filter; empty when cancelled.
  virtual QString ChooseFileToOpen(QWidget* parent, const QString& folder,
                                   const COpenFileFilter& filter) = 0;
  // A file to save to, starting from the suggested path (folder and name), asking before
  // an existing file is replaced; empty when cancelled.
  virtual QString ChooseFileToSave(QWidget* parent, const QString& suggestedPath,
                                   const COpenFileFilter& filter) = 0;
  // A message box (kMb... type flags); the answer (kIdOk, kIdYes, ...).
  virtual int Message(QWidget* parent, const QString& text, unsigned type) = 0;
  // The printer set-up.
  virtual void PrintSetup(QWidget* parent) = 0;
  // The information dialog as the About box.
  virtual void ShowAbout(QWidget* parent) = 0;
  // The information dialog at start-up; its result (Accepted, Rejected or
  // kInfoLanguageChanged).
  virtual int RunInfoDialog(QWidget* parent, const CInfoDlg::Setup& setup, CProfile& profile) = 0;
};

// The program's own dialogs.
class CStandardShellDialogs : public CShellDialogs {
 public:
  int ChooseStartMode(QWidget* parent, bool offerLinear, bool offerReference,
                      bool offerGraphical) override;
  std::optional<QString> ChooseModel(QWidget* parent, const QString& initialPath) override;
  QString ChooseFileToOpen(QWidget* parent, const QString& folder,
                           const COpenFileFilter& filter) override;
  QString ChooseFileToSave(QWidget* parent, const QString& suggestedPath,
                           const COpenFileFilter& filter) override;
  int Message(QWidget* parent, const QString& text, unsigned type) override;
  void PrintSetup(QWidget* parent) override;
  // Shows the About box through the function given (it needs the language list).
  void ShowAbout(QWidget* parent) override;
  void SetAboutBox(std::function<void(QWidget*)> about) { m_about = std::move(about); }
  int RunInfoDialog(QWidget* parent, const CInfoDlg::Setup& setup, CProfile& profile) override;

 private:
  std::function<void(QWidget*)> m_about;
};

// A filter in its stored form ("description|patterns|...||") as a file dialog takes it
// ("description (patterns);;...").
QString FileDialogFilter(const std::string& storedFilter);
