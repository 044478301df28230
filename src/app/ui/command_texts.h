#pragma once

#include <QString>

// The message number of a command's menu text; 0 for a command without one.
int CommandTextMessage(int commandId);

// The command's menu text in the program's language (the message key when the language
// lacks it); empty for a command without one.
QString CommandText(int commandId);

// The text of a message as menus and controls show it.
QString MessageText(int number);
// The same without the mnemonic marks, for tool tips and captions.
QString PlainMessageText(int number);
