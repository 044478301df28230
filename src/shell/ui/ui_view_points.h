#pragma once

#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

#include "platform/draw_types.h"

class CBox;
class CDev;
class CDorneDoc;
class CDorneView;
class CLayoutDocWindow;
class CMainFrame;
class CRun;

// Where things of the active layout are drawn in its view, for the end-to-end hooks
// that click on them (the script) or tell a test where to click (the query).

// The active window when it is a layout document's; null otherwise.
CLayoutDocWindow* ActiveLayout(CMainFrame& frame);

// The box an element draws outside its slots (its equipment box), when it has one.
const CBox* EquipmentBoxOf(const CDorneDoc& document, const CDev& element);

// The view point of the middle of a box of the run's element, when it has that box
// (slot -1: its equipment box).
std::optional<QPointF> BoxMiddle(CDorneView& view, const CRun* run, int elementIndex, int slot);

// The view rectangle around the drawn corners of that box, when it has it.
std::optional<QRectF> BoxRect(CDorneView& view, const CRun* run, int elementIndex, int slot);

// The outlets of the run, in device order, that the tap-off tool picks with the search
// code: the scene points of their centres (with `front`, those of a joint's front box).
std::vector<CPoint> PickableOutlets(const CDorneDoc& document, const CRun& run, int code,
                                    bool sameBox, bool front = false);

// The view point of a scene point.
QPointF ViewPoint(CDorneView& view, CPoint scene);
