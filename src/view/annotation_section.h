#pragma once

#include <functional>

#include "platform/draw_types.h"

class CAnnotation;
class CDrawContext;

// The busbar cross-section that a section label draws in the square below its text:
// context (device pixels, the label's pen, font and layer selected), the annotation, the
// square narrowed for the dimension lines, and the label margins. Supplied by the
// symbol drawing; without one the square stays empty.
using CBusbarSectionDrawer =
    std::function<void(CDrawContext&, const CAnnotation&, const CRect&, CSize)>;

void SetBusbarSectionDrawer(CBusbarSectionDrawer drawer);
const CBusbarSectionDrawer& BusbarSectionDrawer();
