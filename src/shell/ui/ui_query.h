#pragma once

#include <QString>

class CMainFrame;

// A read-only window on the running program for the desktop tests, which drive it with
// real input and ask it only where things are and what it shows. When
// TVR_QUERY_SOCKET names a socket path, the program listens there and answers one
// query a connection (a line in, the answer back, then the connection closes):
//   dump                 key=value lines: title, mode, layout, state, active window,
//                        status bar, modal window, focus, open popup, runs, current run,
//                        property window, and every shown top-level window
//   elements RUN         one line per element of run RUN (by name): index, kind,
//                        reference, and the screen rectangle of its main box
//   box RUN E SLOT       the screen rectangle "x y w h" of box SLOT (-1: the equipment
//                        box) of element E of run RUN
//   toward AXIS LENGTH   the screen point LENGTH scene units from the insertion point
//                        along the axis bit (1 +x, 2 -x, 4 +y, 8 -y, 32 +z, 16 -z)
//   outlets RUN [front]  the screen points of the outlets of run RUN that the tap-off
//                        tool takes for the chosen unit
//   widget NAME          the first shown widget of that object name: its screen
//                        rectangle, class, enabled state and text
//   widgets              every shown widget of the modal (or active) window: name,
//                        rectangle, class, enabled state and text
//   text TEXT            the first shown button, label, check box, tab or menu item
//                        whose text (without its mnemonic mark) is TEXT, searched in the
//                        modal window, then the open popup, then every window
//   menu                 the open popup's items (or the menu bar's): text, enabled,
//                        screen rectangle
//   bill                 the bill-of-materials tabs and the cells of the page shown
//   cells NAME           the cells of the shown list, tree or table NAME, a row a line,
//                        tab-separated (a tree's children after their parent, a tab
//                        further in); a linear price table gives its shown columns
//   labels               the annotations: kind, text, owner, and where they were drawn
// Screen rectangles are "x y w h" in screen pixels. Nothing a query does changes the
// program.
void StartUiQueryServer(CMainFrame& frame);

// The dump of the main window that the query "dump" answers.
QString WindowDumpText(CMainFrame& frame);
