#pragma once

#include <QString>

// The message number of a command's menu text; 0 for a command without one.
int CommandTextMessage(int commandId);

// The command's menu text in the program's language (the message key when the language
// lacks it); empty for a command without one.
QString CommandText(int commandId);

// The message number of the prompt a command shows in the status bar: the command's own
// number, except for three toolbar commands whose prompts the language computes
// (33030 5092, 32950 5093, 32951 5094).
int CommandPromptMessage(int commandId);
// The command's status-bar prompt: the first line of that message; empty when the
// language has none.
QString CommandPrompt(int commandId);
// The command's tool tip: the second line of that message, else the prompt itself, so
// that a button drawn with a letter or a picture always says what it does.
QString CommandToolTip(int commandId);

// The text of a message as menus and controls show it.
QString MessageText(int number);
// The same without the mnemonic marks, for tool tips and captions.
QString PlainMessageText(int number);
