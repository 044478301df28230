#pragma once

#include <QIcon>

#include <functional>

class QPainter;

// The toolbar pictures of the program, drawn by code on a 16 by 16 grid, at the size Qt
// asks for (twice the grid on dense screens) when it first asks. A command without a
// picture gives a null icon.
QIcon ToolbarIcon(int commandId);

// Whether the command has a picture.
bool HasToolbarIcon(int commandId);

// How a command's picture is drawn on a 16 by 16 grid; empty when it has none. The
// pictures of the layout window's display and view commands come from ViewIconPaint, the
// others from CommandIconPaint.
using IconPaint = std::function<void(QPainter&)>;
IconPaint CommandIconPaint(int commandId);
IconPaint ViewIconPaint(int commandId);
