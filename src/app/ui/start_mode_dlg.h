#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The choice between the three ways of working when a new project begins (dialog 248).
// Buttons 1117 linear costing, 1119 costing by reference, 1118 graphical design, each
// with its picture beside it (1216, 1218, 1217); they end the dialog with 10, 20 and 30.
// Ways that are not offered are hidden and the dialog narrows.
class CStartModeDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 248;
  static constexpr int kLinearButton = 1117;
  static constexpr int kReferenceButton = 1119;
  static constexpr int kGraphicalButton = 1118;

  explicit CStartModeDlg(QWidget* parent = nullptr);

  void SetOffers(bool linear, bool reference, bool graphical);
  // The choice: when only one way is offered that way at once, without showing the
  // dialog; otherwise the dialog's answer, 0 when it was closed without a choice.
  int Run();

 private:
  void AddChoice(int buttonId, int pictureId, int message, int result);

  bool m_offerLinear = true;
  bool m_offerReference = true;
  bool m_offerGraphical = true;
};
