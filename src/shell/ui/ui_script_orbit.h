#pragma once

#include <QStringList>

class CDorneView;

// The script actions that turn the layout view with the orbit tool and check what the
// view shows once the turn ends (see ui_script.h). True when the line was one of them and
// could be run (a check: held); handled tells whether it was one.
bool RunOrbitLine(CDorneView& view, const QStringList& words, bool& handled);
