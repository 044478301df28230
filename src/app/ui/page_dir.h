#pragma once

#include <QString>

#include "app/ui/options_page.h"

class QLineEdit;

// The folder page: the projects folder, in which the program proposes to open and save
// projects. It changes only through the folder browser; the edit shows it.
class CPageDir : public COptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 30738;
  static constexpr int kFolderEdit = 1483;
  static constexpr int kBrowseButton = 1484;

  explicit CPageDir(QWidget* parent = nullptr);

  void Load(const COptionsValues& values) override;
  bool Save(COptionsValues& values) override;

  // The folder the browser gave.
  void SetFolder(const QString& folder);
  const QString& Folder() const { return m_folder; }

 private:
  void OnBrowse();

  QString m_folder;
  QLineEdit* m_edit = nullptr;
};
