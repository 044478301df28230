#pragma once

#include "platform/draw_types.h"
#include "view/draw_context.h"

// A scene that draws every primitive of the drawing context once or more, on layers, in
// the mapping of the layout view: logical (0, 0) in the middle of a 500 x 400 target,
// y up, two logical units a pixel. In DXF units a logical point (x, y) lies at
// (10 x + 5000, 10 y + 3980).
inline constexpr CSize kCanvasSceneSize{500, 400};

void SetCanvasSceneMapping(CDrawContext& dc);
void DrawCanvasScene(CDrawContext& dc);
