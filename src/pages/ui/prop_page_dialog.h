#pragma once

#include <QString>
#include <QWidget>

#include <functional>

#include "pages/prop_page.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QLabel;
class QLineEdit;

// How a page tells the user why a value was refused (the text, with the limit filled in,
// above the page). The program shows a message box; tests record the texts.
using CPageMessageHandler = std::function<void(QWidget* page, const QString& text)>;
// Installs the handler; returns the previous one. An empty handler restores the box.
CPageMessageHandler SetPageMessageHandler(CPageMessageHandler handler);
// Tells the user through the installed handler, else in the translated message box.
void ShowPageMessage(QWidget* page, const QString& text);

// How a page starts a command of the program (a tool of the layout view); the program
// routes it as its menus do. Returns the previous one; without one nothing starts.
using CPageCommandHandler = std::function<bool(int command)>;
CPageCommandHandler SetPageCommandHandler(CPageCommandHandler handler);
bool RunPageCommand(int command);

// The window of one property page: a thin widget over the page's rules (CPropPage). It
// shows the rules' values, hands back what the user typed and applies through the rules:
// Enter applies, Escape reloads from the object; the property window applies the page on
// tab change, deactivation and close. Controls carry their control numbers as object
// names.
class CPropPageDialog : public QWidget {
  Q_OBJECT

 public:
  // While a page shows a dialog of its own its marker is this, and the property window
  // neither applies nor closes on deactivation.
  static constexpr int kModalMarker = 1000;
  static constexpr int kFoldButtonId = 1333;

  explicit CPropPageDialog(QWidget* parent = nullptr);

  virtual CPropPage& Rules() = 0;
  // The tab text: the caption message of the rules.
  QString Caption();

  // The rules loaded from their object, then shown.
  void LoadPage();
  // What the user typed handed to the rules and applied; a refusal beeps, shows its
  // message unless quiet (the window applying on its own deactivation) and selects the
  // refused field. The controls then show the rules' values.
  CApplyOutcome ApplyPage(bool quiet = false);
  // Escape: the controls reloaded from the object.
  void ReloadPage();

  int ModalMarker() const { return m_modalMarker; }
  void SetModalMarker(int marker) { m_modalMarker = marker; }
  // The fold button of the page (control 1333), or null.
  QAbstractButton* FoldButton() const { return m_foldButton; }

 signals:
  // The fold button changed: the window gives the page the navigation bar's height.
  void FoldChanged(bool folded);

 protected:
  // The rules' values into the controls.
  virtual void ShowValues() = 0;
  // The controls' texts into the rules.
  virtual void StoreValues() = 0;
  // Selects and focuses a field of the page after a refusal.
  virtual void FocusField(int field) { (void)field; }

  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

  // Makes the button the page's fold button.
  void SetFoldButton(QAbstractButton* button);
  // The drop-down of a combo box shows that many lines.
  static void SetComboDropHeight(QComboBox* combo, int lines);
  // Controls named by their control numbers.
  QLineEdit* MakeEdit(int id);
  QLabel* MakeLabel(int id, int message = 0);
  QLabel* MakeValueLabel(int id);
  QComboBox* MakeCombo(int id);
  QCheckBox* MakeCheck(int id, int message = 0);
  QRadioButton* MakeRadio(int id, int message = 0);
  QGroupBox* MakeGroup(int id, int message);
  QPushButton* MakeButton(int id, int message = 0);
  // The page's grid, with the narrow margins that the page area's height calls for.
  QGridLayout* MakeGrid();
  // The outcome of a control that writes at once: a refusal reported as on apply.
  void ShowOutcome(const CApplyOutcome& outcome);

 private:
  void ReportRefusal(const CPageRefusal& refusal, bool quiet);

  int m_modalMarker = 0;
  QAbstractButton* m_foldButton = nullptr;
};
