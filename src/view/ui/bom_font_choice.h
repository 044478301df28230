#pragma once

#include <QColor>
#include <QWidget>

#include "platform/draw_types.h"
#include "platform/log_font.h"

// Chooses a font and its colour with the system font dialog. A font left as it was keeps
// its stored description whole (fields Qt does not know, such as the character set and
// the output precision, and so the stored bytes of a document read and saved again).
bool ChooseBOMFont(QWidget* parent, CLogFont& font, CColor& color);

// The description after the dialog: the original when the chosen font is the one it
// stands for, else the chosen font with the original's other fields.
CLogFont MergeChosenFont(const CLogFont& original, const QFont& chosen);
