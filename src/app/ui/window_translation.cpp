#include "app/ui/window_translation.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

#include "app/language_mapping.h"
#include "app/message_text.h"
#include "app/ui/translator.h"

namespace {

// The tab widget that shows the widget as one of its pages, and the page's index.
QTabWidget* OwningTabWidget(QWidget* page, int& index) {
  QWidget* stack = page->parentWidget();
  if (!stack || !qobject_cast<QStackedWidget*>(stack)) return nullptr;
  auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
  index = tabs ? tabs->indexOf(page) : -1;
  return index >= 0 ? tabs : nullptr;
}

void ApplyText(QWidget* widget, const QString& text) {
  int tabIndex = -1;
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setTextFormat(Qt::PlainText);  // a "<" in a text is a character, not markup
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(text);
  } else if (auto* menu = qobject_cast<QMenu*>(widget)) {
    menu->setTitle(text);
  } else if (QTabWidget* tabs = OwningTabWidget(widget, tabIndex)) {
    tabs->setTabText(tabIndex, text);
  } else {
    widget->setWindowTitle(text);
  }
}

template <typename T>
void ReapplyText(T* object) {
  bool ok = false;
  const int number = object->property(kMessageNumberProperty).toInt(&ok);
  if (ok) SetMessageText(object, number);
}

void ApplyLanguageFontTo(QWidget* window) {
  const CTranslator& translator = CTranslator::Instance();
  if (!translator.IsActive()) return;
  window->setFont(translator.LanguageFont());
  const QStringList families = translator.LanguageFont().families();
  for (QWidget* child : window->findChildren<QWidget*>()) {
    if (!child->testAttribute(Qt::WA_SetFont)) continue;  // inherits the window's font
    QFont font = child->font();
    font.setFamilies(families);
    child->setFont(font);
  }
}

}  // namespace

QString ResourceQText(int number) { return QString::fromStdString(ResourceText(number)); }

QString StringQText(int number) { return QString::fromStdString(StringText(number)); }

void SetMessageText(QWidget* widget, int number) {
  if (!widget) return;
  widget->setProperty(kMessageNumberProperty, number);
  ApplyText(widget, ResourceQText(number));
}

void SetMessageText(QAction* action, int number) {
  if (!action) return;
  action->setProperty(kMessageNumberProperty, number);
  action->setText(ResourceQText(number));
}

bool TranslateWindow(QWidget* window) {
  if (!window) return true;
  ReapplyText(window);
  for (QWidget* child : window->findChildren<QWidget*>()) ReapplyText(child);
  for (QAction* action : window->findChildren<QAction*>()) ReapplyText(action);
  for (QAction* action : window->actions()) ReapplyText(action);
  ApplyLanguageFontTo(window);
  return true;
}

void ApplyLanguageFont(const CLanguageMapping& mapping) {
  if (mapping.Charset() == 1) return;
  CTranslator& translator = CTranslator::Instance();
  translator.SetLanguageCharset(mapping.Charset(), true);
  // Menus, tool tips and message boxes are windows of their own: the application font
  // reaches them all.
  if (translator.IsActive()) QApplication::setFont(translator.LanguageFont());
}

QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog) {
  constexpr int kMsgOk = 2710;
  constexpr int kMsgCancel = 2713;
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
  SetMessageText(buttons->button(QDialogButtonBox::Ok), kMsgOk);
  SetMessageText(buttons->button(QDialogButtonBox::Cancel), kMsgCancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}
