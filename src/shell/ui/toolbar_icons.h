#pragma once

#include <QIcon>

class QPainter;

// The toolbar pictures of the program, drawn by code on a 16 by 16 grid (and at twice
// that size for dense screens). A command without a picture gives a null icon.
QIcon ToolbarIcon(int commandId);

// Whether the command has a picture.
bool HasToolbarIcon(int commandId);

// Draws the picture of a command on a 16 by 16 grid; false when it has none. The
// pictures of the layout window's display and view commands are drawn by
// PaintViewIcon, the others by PaintCommandIcon.
bool PaintCommandIcon(QPainter& painter, int commandId);
bool PaintViewIcon(QPainter& painter, int commandId);
