#pragma once

#include <QStringList>

class CMainFrame;

// The script actions on the window of costing by reference (see ui_script.h). True when
// the line was one of them and could be run; handled tells whether it was one.
bool RunReferenceLine(CMainFrame& frame, const QStringList& words, bool& handled);
