#pragma once

#include <QDialog>

#include "platform/log_font.h"

class CAnnotationLabel;
class CDev;
class CDorneDoc;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The dialog of a user's annotation: free texts (CTextLabelDlg), pictures
// (CImageLabelDlg), dimensions (CDimLabelDlg). Each ends with 1 (OK: the annotation
// holds what was chosen), 2 (Cancel: nothing changed) or 3 (the user asked for the
// annotation to be deleted); their controls carry the numbers of the original dialogs as
// object names.
int RunAnnotationDialog(CAnnotationLabel& label, bool isNew, const CDorneDoc* document,
                        QWidget* parent);

// Asks with message 31464 whether the annotation goes; true for OK.
bool ConfirmAnnotationDelete(QWidget* parent);

class CTextLabelDlg : public QDialog {
  Q_OBJECT
 public:
  CTextLabelDlg(CAnnotationLabel& label, const CDorneDoc* document, QWidget* parent = nullptr);
  int Run();

 private:
  void BuildControls();
  void SyncTexts(QPlainTextEdit* changed);
  void OnAlignChange(int entry);
  void OnFont();
  void OnBackground();
  void OnSaveDefault();
  void UpdatePreview();
  void OnOk();
  // The element selected in the layout, which the attach box puts the text on.
  CDev* SelectedElement() const;

  CAnnotationLabel& m_label;
  const CDorneDoc* m_document;
  CLogFont m_font;
  std::uint32_t m_fontColor = 0;
  std::uint32_t m_background = 0;
  std::array<QPlainTextEdit*, 3> m_edits{};
  QComboBox* m_align = nullptr;
  QCheckBox* m_opaque = nullptr;
  QCheckBox* m_withRun = nullptr;
  QCheckBox* m_attached = nullptr;
  QPushButton* m_ok = nullptr;
  bool m_syncing = false;
};

class CImageLabelDlg : public QDialog {
  Q_OBJECT
 public:
  CImageLabelDlg(CAnnotationLabel& label, bool isNew, const CDorneDoc* document,
                 QWidget* parent = nullptr);
  int Run();

 private:
  void BuildControls();
  bool OnBrowse();
  void OnOk();

  CAnnotationLabel& m_label;
  bool m_isNew;
  const CDorneDoc* m_document;
  QLineEdit* m_path = nullptr;
  QComboBox* m_scale = nullptr;
  QCheckBox* m_withRun = nullptr;
  QPushButton* m_ok = nullptr;
};

class CDimLabelDlg : public QDialog {
  Q_OBJECT
 public:
  CDimLabelDlg(CAnnotationLabel& label, const CDorneDoc* document, QWidget* parent = nullptr);
  int Run();

 private:
  void BuildControls();
  void OnOk();

  CAnnotationLabel& m_label;
  const CDorneDoc* m_document;
  std::array<QRadioButton*, 4> m_modes{};  // distance, X, Y, Z
  QLineEdit* m_pattern = nullptr;
  QCheckBox* m_opaque = nullptr;
  QPushButton* m_ok = nullptr;
};
