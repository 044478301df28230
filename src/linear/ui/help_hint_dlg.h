#pragma once

#include <QDialog>

struct CLinearEnvironment;
class QCheckBox;
class QLabel;

// A short hint on how to use the linear main dialog (mode 1: at start, mode 2: in the
// line editor) or the reference configurator (modes 3 and 4 likewise), with a box that
// stops it from coming back.
class CHelpHintDlg : public QDialog {
  Q_OBJECT

 public:
  CHelpHintDlg(int mode, const CLinearEnvironment& environment, QWidget* parent = nullptr);

  // The section and key that silence the mode.
  static const char* SettingSection(int mode) { return mode >= 3 ? "Ref" : "Linear"; }
  static const char* SettingKey(int mode) { return mode == 2 || mode == 4 ? "Hlp2" : "Hlp"; }
  static QString HintText(int mode);
  QCheckBox* DontShowBox() const { return m_dontShow; }

  void accept() override;

 private:
  int m_mode;
  const CLinearEnvironment& m_environment;
  QCheckBox* m_dontShow = nullptr;
};
