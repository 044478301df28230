#include "support/language_walk.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QWidget>

#include <algorithm>

namespace {

const QRegularExpression& WordPattern() {
  static const QRegularExpression pattern(QStringLiteral("\\p{L}{3,}"));
  return pattern;
}

QString Where(const QObject& object) {
  return object.objectName().isEmpty() ? QString::fromLatin1(object.metaObject()->className())
                                       : object.objectName();
}

}  // namespace

CLanguageWords::CLanguageWords() {
  QFile file(QStringLiteral(TVR_SOURCE_DIR "/data/lang/TVR_033.TXT"));
  if (!file.open(QIODevice::ReadOnly)) return;
  for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
    if (line.startsWith(QLatin1Char(';'))) continue;
    const QString text = line.section(QLatin1Char('='), 1);
    for (auto it = WordPattern().globalMatch(text); it.hasNext();)
      m_words << it.next().captured().toLower();
  }
  m_words << QStringLiteral("tavrilon");  // %APP
  m_words.sort();
  m_words.removeDuplicates();
}

bool CLanguageWords::Knows(const QString& text) const {
  if (text.contains(QLatin1Char('\\'))) return false;
  for (auto it = WordPattern().globalMatch(text); it.hasNext();) {
    const QString word = it.next().captured();
    // Codes of the catalogue (products, currencies) are data, not interface texts.
    if (word.size() <= 4 && word == word.toUpper()) continue;
    if (!std::binary_search(m_words.begin(), m_words.end(), word.toLower())) return false;
  }
  return true;
}

QStringList CLanguageWords::ForeignTexts(QWidget& widget) const {
  QStringList foreign;
  auto check = [&](const QObject& where, const QString& text) {
    if (!Knows(text)) foreign << Where(where) + QStringLiteral(": ") + text;
  };
  QList<QWidget*> widgets = widget.findChildren<QWidget*>();
  widgets.prepend(&widget);
  for (QWidget* child : widgets) {
    if (child->isWindow()) check(*child, child->windowTitle());
    check(*child, child->toolTip());
    if (auto* label = qobject_cast<QLabel*>(child)) check(*label, label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(child)) check(*button, button->text());
    if (auto* group = qobject_cast<QGroupBox*>(child)) check(*group, group->title());
    if (auto* tabs = qobject_cast<QTabBar*>(child))
      for (int i = 0; i < tabs->count(); ++i) check(*tabs, tabs->tabText(i));
    for (QAction* action : child->actions()) {
      check(*action, action->text());
      check(*action, action->toolTip());
    }
  }
  return foreign;
}

QStringList CLanguageWords::ForeignMenuTexts(QMenuBar& bar) const {
  QStringList foreign;
  QList<QAction*> actions = bar.actions();
  for (int i = 0; i < actions.size(); ++i) {
    QAction* action = actions[i];
    if (!Knows(action->text()) || !Knows(action->toolTip()))
      foreign << Where(*action) + QStringLiteral(": ") + action->text() + QStringLiteral(" / ") +
                     action->toolTip();
    if (QMenu* menu = action->menu()) actions << menu->actions();
  }
  return foreign;
}
