#pragma once

// Documents of straight runs laid out so that they meet on screen or not, and the
// comparison of one document's scene with its twin's: after the same edits, one keeps the
// scene the program leaves, the other has it made anew; the listed boxes must stand in the
// same order, with the projection, the face flags and the picks a fresh build gives.

#include "geometry/3d_point.h"
#include "geometry/window_point.h"
#include "model/document/dorne_doc_test_support.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CBox;
class CDev;
class CRun;

// What the picture and the depth order read of a listed box.
struct SceneBoxState {
  CBox* box = nullptr;
  C3DPoint low, high;
  std::uint32_t attributes = 0;
  bool finite = false;
};

// Empty when the scenes are the same, else where they first differ.
std::string SceneDifference(const std::vector<SceneBoxState>& a,
                            const std::vector<SceneBoxState>& b);
// The listed boxes in order; with freshProjection, each box's bounds are those of a fresh
// projection of a copy.
std::vector<SceneBoxState> SceneState(CDorneDoc& document, bool freshProjection);
// A box of the document by where it stands: run, element and slot (the same in two
// documents built alike).
std::string SceneBoxName(CDorneDoc& document, const CBox* box);
// The scene of one document against the same scene of its twin, the boxes by name; each
// scene is also expected to hold the projections a fresh projection gives.
std::string SceneDifference(CDorneDoc& a, CDorneDoc& b);
// What a pick at the middle of the bodies of elements 2, 4, 5 and 7 of every run (those
// that have one) finds, in
// the edited document against its twin: empty when the same boxes (by name) are picked and
// the twin picks a box at each point.
std::string PickDifference(CDorneDoc& edited, CDorneDoc& twin);

// The window point at the middle of a box's projected bounds.
CPoint MiddleOf(const CBox& box);
// What a pick at each point finds, front to back.
std::vector<const CBox*> PicksAt(CDorneDoc& document, const std::vector<CPoint>& points);

constexpr int kStraightRunElements = 12;
// A straight run along x from the origin given, its elements placed where their boxes
// stand; the start is placed, so that no start marker enters the scene.
void BuildStraightRun(CRun& run, const C3DPoint& origin);
// The element at that place in the run's device list (counted round).
CDev* ElementAt(CRun& run, int index);

struct SceneLayout {
  const char* name;
  C3DPoint step;  // from one run to the next
};
extern const SceneLayout kSceneLayouts[4];
extern const std::array<int, 3> kSceneViews[3];

class SceneTwinTestBase : public DorneDocTestBase {
 protected:
  // Straight runs laid out so, seen from the view's angles, the scene made whole.
  std::unique_ptr<CDorneDoc> Document(const SceneLayout& layout, const std::array<int, 3>& view,
                                      int runs = 4,
                                      CDocEnvironment environment = CDocEnvironment());
};
