#pragma once

class QMdiArea;
class QMenu;

// The list of the open child windows at the end of the Window menu, made again each time
// the menu opens: "&1 title", "&2 title" ... after a separator, the active window
// checked; choosing an entry activates its window. The entries are named
// "window_entry".
void ListChildWindowsInMenu(QMenu& menu, QMdiArea& area);
