#pragma once

#include <QDialog>

class QLineEdit;

// The choice of a model document for a new layout document (dialog 207): the path in
// edit 1031, a browse button 1077 that asks for a ".run" file.
class CModelDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 207;
  static constexpr int kPathEdit = 1031;
  static constexpr int kBrowseButton = 1077;

  // The path shown at first (the program's "model.run" when it exists, else empty).
  explicit CModelDlg(const QString& path, QWidget* parent = nullptr);

  QString ModelPath() const;

 private:
  void Browse();

  QLineEdit* m_path = nullptr;
};
