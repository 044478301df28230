#pragma once

#include <QStringList>

class CMainFrame;

// The script actions on the property window (see ui_script.h). True when the line was
// one of them and could be run; handled tells whether it was one.
bool RunPropertyLine(CMainFrame& frame, const QStringList& words, bool& handled);
