#pragma once

#include <QStringList>

class CMainFrame;

// The script actions that read the texts the program shows (see ui_script.h). True when
// the line was one of them and could be run; handled tells whether it was one.
bool RunTextLine(CMainFrame& frame, const QStringList& words, bool& handled);
