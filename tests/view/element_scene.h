#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/document/dorne_doc.h"
#include "view/draw_context.h"
#include "view/element_draw_options.h"

class CDev;
class CRun;

// Layout documents for the element drawing: runs built element by element with boxes
// placed the way the scene expects them (an element's position at its forward end).
struct CElementScene {
  std::unique_ptr<CDorneDoc> document;
  std::vector<CDev*> elements;
};

// One element of every kind, on two runs: a "QM" run with supports from "SUPP" and
// neutral side hatching, a "QP" run whose length shows tap-off outlets.
CElementScene BuildElementKindsScene(int angle0, int angle1, int angle2);

// `count` plain elements (a joint, then nine straight lengths) on runs of 100 elements,
// for the benchmark.
CElementScene BuildLargeScene(int count);

// `count` elements that all carry details, on range QG runs of 100: ends with four bar
// boxes and a cover, phase changers (kind 8, variant 7), transformer feeds and straight
// lengths in turn (each bar end followed by a gap its bars reach into), for the
// benchmark.
CElementScene BuildDetailedScene(int count);

// A mapping that shows the whole scene (or only the run `only`) in a target of that size,
// y up.
void FitSceneMapping(CDrawContext& dc, const CDorneDoc& document, CSize size,
                     const CRun* only = nullptr);

// Colours of the default settings, supports shown.
CElementDrawOptions SceneDrawOptions(bool monochrome);
