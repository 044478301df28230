#pragma once

#include <QWidget>

#include "app/options_rules.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
struct COptionsValues;

// One page of the options sheet. The sheet loads every page from its values, and on OK
// asks every page to collect its controls into them; a page that refuses a value has
// told the user and put the focus on the control, and the sheet stays open on it.
// Controls carry the numbers of the page's dialog as object names.
class COptionsPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kDefaultsButton = 1023;

  COptionsPage(int dialogId, int captionMessage, QWidget* parent = nullptr);

  int DialogId() const { return m_dialogId; }
  // The message number of the page's tab.
  int CaptionMessage() const { return m_captionMessage; }

  virtual void Load(const COptionsValues& values) = 0;
  // False when a value was refused; values may then be partly filled.
  virtual bool Save(COptionsValues& values) = 0;

  // The control of that number on this page, null when there is none.
  template <typename T>
  T* Control(int id) const {
    return findChild<T*>(QString::number(id));
  }

 protected:
  // The factory values of the page into its controls; pages without any do nothing.
  virtual void ResetDefaults() {}

  // Controls named by their number, with the text of a message where they show one.
  QLabel* AddLabel(int id, int message);
  QPushButton* AddButton(int id, int message);
  QLineEdit* AddEdit(int id);
  // An edit of a whole number of at most that many digits, as wide as they need.
  QLineEdit* AddNumberEdit(int id, int digits);
  // The defaults button, calling ResetDefaults.
  QPushButton* AddDefaultsButton(int message);

  // The whole number of an edit within the range; otherwise the user is told the range,
  // the edit takes the focus and the result is false.
  bool ReadNumber(QLineEdit* edit, CNumberRange range, int& value);

 private:
  int m_dialogId;
  int m_captionMessage;
};

// "Enter a whole number from %1 to %2."
inline constexpr int kMsgNumberRange = 7660;
