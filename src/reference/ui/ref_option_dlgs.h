#pragma once

#include <QDialog>
#include <QWidget>

#include <array>
#include <functional>

#include "reference/ui/ref_core.h"

class QComboBox;
class QRadioButton;

// The fixing of a line among up to five choices, three with a second choice (a cable
// range or a variant). Opened with the fixing choice and range; OK gives both back.
class CRefOptionDlg : public QDialog {
  Q_OBJECT

 public:
  CRefOptionDlg(const std::vector<int>& states, int choice, int range, QWidget* parent = nullptr);
  int Choice() const { return m_choice; }
  int Range() const { return m_range; }
  void accept() override;

 private:
  void ShowChoiceControls(int index);

  int m_choice;
  int m_range;
  std::array<CRefFixingRow, 5> m_rows;
  std::array<QRadioButton*, 5> m_radios{};
  std::array<QComboBox*, 5> m_combos{};
};

// The luminaire modes a new QFP line may take, one row each (picture, caption and a
// forward button), laid over the configurator's line area; one back button returns to
// browsing. Enter and Escape do nothing.
class CRefArrowsDlg : public QWidget {
  Q_OBJECT

 public:
  CRefArrowsDlg(const std::vector<int>& states, std::function<void(int mode)> forward,
                std::function<void()> back, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(class QKeyEvent* event) override;
};
