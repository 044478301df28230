#pragma once

class CBox;
class CDrawContext;
class CElementDrawCache;
struct CElementDrawOptions;

// The faces of a box's neutral label and flag (-1: none, or already drawn) and the pass
// each is due in: a mark on a face turned away from the viewer is drawn before the box's
// faces, so that they cover it; any other after them.
struct CLabelFaces {
  int neutral = -1;
  bool neutralFirst = false;
  int flag = -1;
  bool flagFirst = false;
};

// Pass 1 (first true, before the faces) decides the label faces and draws the marks due
// then; pass 2 draws the tap-off outlets of straight lengths and the remaining marks.
// neutralSide is the run's neutral side 0..3, or -1.
void DrawLabels(CDrawContext& dc, const CBox& box, bool first, int neutralSide, CLabelFaces& faces,
                CElementDrawCache& cache, const CElementDrawOptions& options);
