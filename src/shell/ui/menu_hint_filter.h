#pragma once

#include <QObject>

class QAction;

// A disabled command can say why it is disabled: its hint is its tool tip, in the tool
// bars and, for a menu this filter watches, over its grey item (menus show no status tip
// for a disabled item, and no tool tips of their own).
class CMenuHintFilter : public QObject {
 public:
  explicit CMenuHintFilter(QObject* parent) : QObject(parent) {}

  // Sets or clears the hint of an action; an enabled action shows none.
  static void SetHint(QAction& action, const QString& hint);
  static QString Hint(const QAction& action);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
