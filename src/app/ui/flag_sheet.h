#pragma once

#include <QImage>
#include <QPixmap>

// The flags of the language list, drawn by code into one sheet five cells wide; each
// cell is 19 by 13 pixels and holds the flag of the language at that position of
// FlagSheetLanguages (info_dialog_rules.h).
constexpr int kFlagWidth = 19;
constexpr int kFlagHeight = 13;

QImage FlagSheet();
// The flag of a language number, a null pixmap for a language without one.
QPixmap LanguageFlag(int languageNumber);
