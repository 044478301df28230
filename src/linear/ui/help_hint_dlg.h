#pragma once

#include <QDialog>

struct CLinearEnvironment;
class QCheckBox;
class QLabel;

// A short hint on how to use the linear main dialog (mode 1: at start, mode 2: in the
// line editor), with a box that stops it from coming back.
class CHelpHintDlg : public QDialog {
  Q_OBJECT

 public:
  CHelpHintDlg(int mode, const CLinearEnvironment& environment, QWidget* parent = nullptr);

  // The key of section "Linear" that silences the mode.
  static const char* SettingKey(int mode) { return mode == 2 ? "Hlp2" : "Hlp"; }
  static QString HintText(int mode);
  QCheckBox* DontShowBox() const { return m_dontShow; }

  void accept() override;

 private:
  int m_mode;
  const CLinearEnvironment& m_environment;
  QCheckBox* m_dontShow = nullptr;
};
