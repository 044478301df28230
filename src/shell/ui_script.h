#pragma once

#include <QString>
#include <QStringList>

class CMainFrame;

// Runs a script of user actions on the running program, one action a line, for the
// end-to-end test:
//   command N               the frame runs command N
//   toward AXIS LENGTH      a left click in the active layout view, LENGTH scene units from
//                           the insertion point along the axis bit (1 +x, 2 -x, 4 +y, 8 -y,
//                           32 +z, 16 -z)
//   key return|escape       the key pressed in the active layout view
//   pick E SLOT             a double click in the active layout view on the middle of box
//                           SLOT of element E (index in the current run's device list)
//   proptype ID TEXT        TEXT typed into edit ID of the property window's page, then
//                           Enter
//   answer ID               the next modal dialog gets its button ID clicked, then OK
//   outlet                  the mouse brought over the first outlet of the current run
//                           that the tap-off tool takes for the chosen unit, and a left
//                           click there
//   propshot FILE           a picture of the property window
//   shot FILE               a picture of the main window
//   save FILE               the active layout document written to FILE
//   open FILE               FILE opened
// Returns the lines that could not be run.
QStringList RunUiScript(CMainFrame& frame, const QString& path);

// The active layout document's runs and the elements of its current run, as "runs/elements";
// empty without one.
QString ActiveLayoutSummary(CMainFrame& frame);
