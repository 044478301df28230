#pragma once

#include <QStringList>

class CMainFrame;

// The script actions on the window of linear costing (see ui_script.h). True when the
// line was one of them and could be run; handled tells whether it was one.
bool RunLinearLine(CMainFrame& frame, const QStringList& words, bool& handled);
