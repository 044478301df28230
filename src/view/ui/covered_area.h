#pragma once

#include <QImage>
#include <QRect>

// The smallest rectangle around the pixels of a picture with an alpha channel that are not
// wholly transparent; an empty one when there are none.
QRect CoveredArea(const QImage& layer);
