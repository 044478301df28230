#pragma once

class QPainter;
class QRect;

// Draws the picture of a line's schematic (see RefPictureOf) into a band of the line
// area: a run of busbar with its feed unit, joints and end cover, and what the product
// carries (luminaires, tap-off boxes, an elbow); nothing for an unknown picture.
void PaintRefLinePicture(QPainter& painter, const QRect& band, int picture);
