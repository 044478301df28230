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
//                           SLOT of element E (index in the current run's device list);
//                           SLOT "equipment" for the equipment box the element draws
//   propshows E             the property window shows the pages of element E of the
//                           current run; the line fails otherwise
//   runclick R E SLOT       a left click in the active layout view on the middle of box
//                           SLOT of element E of the document's run R (0: the first);
//                           fails unless that run is then the current one
//   proptype ID TEXT        TEXT typed into edit ID of the property window's page, then
//                           Enter
//   proptab N               page N of the property window shown
//   outlet [front]          the mouse brought over the first outlet of the current run
//                           that the tap-off tool takes for the chosen unit, and a left
//                           click there; with "front" the first on a joint's front box
//   zoomrun                 the active layout view zoomed on the current run
//   orbit DX DY now|pause|rest
//                           the orbit tool's drag in the active layout view from the
//                           current run's first element by DX, DY pixels, released at
//                           once, once the order was sorted aside while the mouse paused,
//                           or once the view rested; fails when that did not come
//   asbuilt                 the active layout view shows the order and the picture of its
//                           scene built anew from an empty list; the line fails otherwise
//   drag K [copy]           the current run's first tap-off unit grabbed with the mouse
//                           and dropped on the run's K-th outlet (0: the first, in device
//                           order), Ctrl held at the release with "copy"
//   propchoose ID TEXT      the first entry of list ID of the property window's page that
//                           begins with TEXT chosen, as a click chooses it
//   proppick ID ROW         row ROW of picture list ID of the property window's page
//                           clicked
//   closemodals             from then on, every modal window closed as soon as it shows
//   propshot FILE           a picture of the property window
//   proppin 0|1             the property window's pin clicked until it is off (0) or on
//   propclosed              the property window is not shown; the line fails otherwise
//   propcurrent N           the property window shows page N alone and its tab strip
//                           highlights tab N; the line fails otherwise
//   propclicktab N          a click on tab N of the property window's tab strip
//   proptabsfit             every tab text of the property window fits its tab, the
//                           tabs fit the strip or its scroll buttons show, and the shown
//                           page's one-line labels show their whole texts; the line fails
//                           otherwise
//   propinside              the whole property window lies on its screen; fails otherwise
//   propdrag DX DY          the property window moved by DX, DY as a drag of its caption
//                           moves it (the activation taken from it on the way); fails
//                           when the window closed
//   propcheck ID 0|1        check box ID of the shown page clicked until cleared or set
//                           (a push-like check box too, such as the fold button 1333)
//   propshown ID 0|1        control ID of the shown page hidden (0), or shown whole
//                           within the window's page area (1); fails otherwise
//   propheight FILE         the property window's height appended to FILE as a line
//   propscroll ID VALUE     scroll bar ID of the shown page dragged to VALUE
//   shot FILE               a picture of the main window
//   save FILE               the active layout document written to FILE
//   csv all|shown FILE      the active layout's CSV export (every run or the page shown)
//                           written to FILE, as its commands write it once FILE is chosen
//   workbook FILE           the active layout's workbook of every run written to FILE by
//                           the spreadsheet helper (started, not awaited)
//   open FILE               FILE opened
//   answer SHOT BUTTON [CONTROL=TEXT ...]
//                           the next modal dialog: its edits of those object names get
//                           the texts ("_" a blank), a picture goes to SHOT ("-" none),
//                           then the button of that object name is clicked ("accept" and
//                           "reject" close it so, "enter" presses Enter where the focus
//                           is); lists take the item of that text (or row); with "+"
//                           before the button the next answer goes to the same dialog;
//                           a print dialog answered with "pdf=FILE" prints to that PDF file;
//                           a colour dialog answered with "color=#RRGGBB" takes that colour
//   block FILE              FILE replaced by a folder, so that writing it fails
//   bomdouble ROW COLUMN    a double click on that cell of the bill-of-materials page shown
//   bomtab N                page N of the bill of materials chosen as a click on its tab
//                           chooses it (0: the totals page; "current": the current run's)
//   menu N                  menu item N chosen (hovered, triggered, the menu closed)
//   status TEXT             the status bar shows TEXT; the line fails otherwise
//   waitfile FILE SECONDS   the script waits until FILE exists (another process writes
//                           it); the line fails when it does not within SECONDS
//   idle MS                 the program is left to its idle work (timers, read-ahead)
//                           for MS milliseconds, as a user pausing
//   checkable N 0|1         command N shows a check box in menus (1) or not (0); the line
//                           fails when it does not
//   enabled N 0|1           command N is disabled (0) or enabled (1); the line fails
//                           when it is not
//   refnew GROUP KIND       in the reference window, a new line of product KIND of
//                           GROUP begun on the line page
//   refchoose NAME DATA     the entry of item data DATA chosen in combo NAME there, as
//                           a user chooses it (the line fails when the combo is hidden)
//   reftype NAME TEXT       TEXT typed into edit NAME there
//   refbutton NAME          button NAME clicked there
//   refshows NAME TEXT      the label, combo or edit NAME there is shown with TEXT; the line
//                           fails otherwise
//   refselect CODE          the tree item of CODE selected (-999 the whole project)
//   reftab N                page N shown
//   refreport FILE          its lines, the total its price table shows and each line's
//                           amount and priced items written to FILE, "key=value" a line
//   linselect DATA          in the linear window, the tree item of DATA selected (a line
//                           index, -999 the price item, -1000-g the root of group g)
//   lintype NAME TEXT       TEXT typed into edit NAME there
//   linbutton NAME          button NAME clicked there
//   linshows NAME TEXT      the label, edit, list (its chosen entry) or tab bar (its
//                           current tab) NAME there is shown with TEXT ("-": the label is
//                           hidden, no tab is current); fails otherwise
//   linkeys NAME TEXT       TEXT typed key by key into edit NAME there
//   lintab N                a left click on tab N there
//   linpage NAME            the page shown on the right there is NAME or holds NAME; the
//                           line fails otherwise
//   linrows FILE            the first column of the price table shown, a row a line, to FILE
//   menutexts NAME FILE     the items of the menu of object NAME ("menu_0580"), a text a
//                           line ("-" a separator), written to FILE
//   qttext CONTEXT SOURCE TEXT
//                           Qt's text of SOURCE ("_" a blank) in CONTEXT is TEXT in the
//                           running program; the line fails otherwise
//   mimetext TYPE TEXT      the description of the file type TYPE is TEXT; fails otherwise
//   boxtitles TEXT          every message box met so far was titled TEXT (and there was
//                           one); the line fails otherwise
// and the lines of ui_script_annotations.h, ui_script_orbit.h and ui_script_edit.h.
// Returns the lines that could not be run.
QStringList RunUiScript(CMainFrame& frame, const QString& path);

// The active layout document's runs and the elements of its current run, as "runs/elements";
// empty without one.
QString ActiveLayoutSummary(CMainFrame& frame);

// The modal dialogs the script met, in turn (see CScriptAnswers::Log).
QString ScriptDialogLog(CMainFrame& frame);

// The active layout window's modified flag (0 or 1) and its title; empty without one.
QString ActiveLayoutState(CMainFrame& frame);
