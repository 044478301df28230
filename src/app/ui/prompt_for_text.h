#pragma once

#include <QString>

class QWidget;

// Asks for a text: the prompt above an edit holding the text, with OK and Cancel and the
// question icon, under the caption (the application's title when empty). On OK the text
// becomes what the edit held; on Cancel it is left as it was. Returns kIdOk or kIdCancel.
int PromptForText(QString& text, const QString& prompt, const QString& caption = QString(),
                  QWidget* parent = nullptr);
