#include "view/ui/annotation_dialog_parts.h"

#include <QPushButton>

#include "app/message_text.h"

namespace annotation_dialog_parts {

QString Text(int number) { return QString::fromStdString(ResourceText(number)); }

QString Caption(int number) {
  const QString text = QString::fromStdString(StringText(number));
  const int feed = text.indexOf(QLatin1Char('\n'));
  return feed < 0 ? text : text.mid(feed + 1);
}

QPushButton* NamedButton(QWidget* parent, int id, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::number(id));
  return button;
}

}  // namespace annotation_dialog_parts
