// The scene's boxes walked once and drawn in stretches of the list on several threads, each
// stretch looking at its own boxes as it draws them: the boxes, passes and pictures of one
// walk down the list drawn on one painter.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "../element_scene.h"
#include "../layout_scene.h"
#include "geometry/box.h"
#include "geometry/depth_order_rules.h"
#include "geometry/display_list.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "view/draw_context.h"
#include "view/listed_scene.h"
#include "view/scene_drawing.h"
#include "view/ui/qt_draw_device.h"
#include "view/ui/qt_font_measurer.h"
#include "view/ui/qt_paint_recording.h"
#include "view/ui/scene_paint_cache.h"
#include "view/ui/view_export.h"
#include "view/view_window.h"

namespace {

constexpr CSize kSize{900, 611};

QImage Blank() {
  QImage image(kSize.cx, kSize.cy, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// How the view frames the scene for a case.
enum class Framing { Whole, EdgeCuttingTheScene, OneCorner };

CViewWindow Framed(const CDorneDoc& document, Framing framing) {
  CViewWindow window;
  window.ZoomAll(*GetSceneExtent(document), 0.9, kSize);
  if (framing == Framing::Whole) return window;
  window.ZoomIn(0.4);
  // The window's left edge runs through the scene, or only a corner of it shows.
  const CSize size = window.Size();
  if (framing == Framing::EdgeCuttingTheScene) window.Pan(size.cx / 3, 0);
  else window.Pan(size.cx, size.cy);
  return window;
}

const char* NameOf(Framing framing) {
  switch (framing) {
    case Framing::Whole: return "whole";
    case Framing::EdgeCuttingTheScene: return "edge";
    case Framing::OneCorner: return "corner";
  }
  return "";
}

// The boxes at those places of the list listed a second time: coincident boxes, each with
// a node of its own.
void ListSomeBoxesTwice(CDorneDoc& document, const std::vector<std::size_t>& places) {
  std::vector<CBox*> boxes;
  std::size_t at = 0;
  for (const CDisplayNode* node = document.Projection().GetDisplayList().Head(); node != nullptr;
       node = node->next, ++at) {
    if (std::find(places.begin(), places.end(), at) != places.end()) boxes.push_back(node->box);
  }
  ASSERT_EQ(boxes.size(), places.size());
  for (CBox* box : boxes) document.Projection().InsertInDisplayList(*box);
}

// The second-pass bit of each box as one walk down the list leaves it.
std::map<const CBox*, bool> PassesOfOneWalk(const CDisplayList& list) {
  std::map<const CBox*, bool> passes;
  for (const CDisplayNode* node = list.Head(); node != nullptr; node = node->next)
    passes[node->box] = (node->flags & CDepthOrderRules::kSecondNode) != 0;
  return passes;
}

QImage DrawnOnOnePainter(const CDorneDoc& document, const CViewWindow& window,
                         const CSceneDrawOptions& options) {
  QImage image = Blank();
  QPainter painter(&image);
  painter.setClipRect(0, 0, kSize.cx, kSize.cy);  // a painter with a clip draws at once
  PaintScene(painter, document, window, {kSize.cx, kSize.cy}, options);
  return image;
}

QImage RecordedInPiecesAndPlayed(const CDorneDoc& document, const CViewWindow& window,
                                 const CSceneDrawOptions& options) {
  CScenePaintCache kept;
  const std::atomic<bool> stop{false};
  const QImage like = Blank();
  EXPECT_TRUE(
      RecordScenePicture(kept, document, window, {kSize.cx, kSize.cy}, options, like, stop));
  QImage image = Blank();
  QPainter painter(&image);
  PaintScene(painter, document, window, {kSize.cx, kSize.cy}, options, &kept);
  painter.end();
  return image;
}

struct CListCase {
  std::array<int, 3> angles;
  bool ordered;  // the list sorted for the angles, or left unordered by a turn
};

constexpr std::array<CListCase, 4> kLists = {
    {{{330, 315, 0}, true}, {{300, 20, 10}, true}, {{0, 90, 0}, true}, {{310, 330, 5}, false}}};

void Turn(CDorneDoc& document, const CListCase& list) {
  document.SetViewAngles(330, 315, 0);
  if (list.ordered) return document.SetViewAngles(list.angles[0], list.angles[1], list.angles[2]);
  document.TurnView(list.angles[0], list.angles[1], list.angles[2]);
}

// Boxes in stretches of both walks and threads (a large list) and on one (a small one),
// some listed twice: in the list's order, every box of a whole view, only boxes of the
// list in a view of part of it, and each box's pass that of its later node.
TEST(ListedSceneTest, TheBoxesAndPassesAreThoseOfOneWalkDownTheList) {
  struct {
    int runs;
    std::vector<std::size_t> listedTwice;  // places in the list
  } layouts[] = {{80, {0, 7, 4000, 8001, 15999}}, {4, {3, 50}}, {4, {}}};
  for (const auto& layout : layouts) {
    const auto document = BuildLayoutScene(layout.runs, 200);
    ListSomeBoxesTwice(*document, layout.listedTwice);
    for (const CListCase& list : kLists) {
      Turn(*document, list);
      const CDisplayList& listed = document->Projection().GetDisplayList();
      ASSERT_EQ(listed.Unordered(), !list.ordered);
      ASSERT_EQ(listed.Size(),
                static_cast<std::size_t>(layout.runs) * 200 + layout.listedTwice.size());
      for (const Framing framing :
           {Framing::Whole, Framing::EdgeCuttingTheScene, Framing::OneCorner}) {
        for (const bool marksBeside : {true, false}) {
          const std::string what = std::to_string(layout.runs) + " runs, " +
                                   std::to_string(list.angles[1]) + ", " + NameOf(framing) +
                                   (marksBeside ? ", marks" : ", light");
          CQtPaintRecording recording;
          CQtDrawDevice device(recording);
          CQtFontMeasurer measurer;
          CDrawContext dc(device, measurer, kSize);
          Framed(*document, framing).ApplyTo(dc.Mapping(), kSize);
          const std::vector<const CBox*> boxes = CListedScene(dc, *document, marksBeside).Boxes();
          std::vector<const CBox*> walked;
          for (const CDisplayNode* node = listed.Head(); node != nullptr; node = node->next)
            walked.push_back(node->box);
          if (framing == Framing::Whole && list.ordered) {
            EXPECT_EQ(boxes, walked) << what;
          } else if (list.ordered) {
            // A part of the list, in its order.
            auto at = walked.begin();
            for (const CBox* box : boxes) at = std::find(at, walked.end(), box);
            EXPECT_NE(at, walked.end()) << what;
            // Marks beside the boxes reach a window's width beyond it.
            if (!marksBeside) {
              EXPECT_LT(boxes.size(), walked.size()) << what;
            }
          } else {
            // By depth, far boxes first.
            for (std::size_t i = 1; i < boxes.size(); ++i) {
              const double before =
                  boxes[i - 1]->GetProjectedMin().z + boxes[i - 1]->GetProjectedMax().z;
              const double after = boxes[i]->GetProjectedMin().z + boxes[i]->GetProjectedMax().z;
              ASSERT_LE(before, after) << what << " at " << i;
            }
          }
          if (framing == Framing::Whole) {
            for (const auto& [box, second] : PassesOfOneWalk(listed))
              ASSERT_EQ((box->GetPassWord() & CBox::kSecondPassBit) != 0, second) << what;
          }
        }
      }
    }
  }
}

// A walk of the whole list, kept for the next scene of it, serves only while the list stays
// as it was walked: after each change the next scene walks the list as it then stands, and
// a list with a box listed twice keeps no walk.
TEST(ListedSceneTest, AKeptWalkServesTheNextSceneOnlyWhileTheListStaysTheSame) {
  const struct {
    const char* change;
    void (*make)(CDorneDoc&);
    bool keeps;  // a walk of the changed list
  } changes[] = {
      {"none", [](CDorneDoc&) {}, true},
      {"a box taken out",
       [](CDorneDoc& document) {
         CBox* box = document.Projection().GetDisplayList().Head()->next->box;
         document.Projection().RemoveFromDisplayList(*box);
       },
       true},
      {"turned and sorted", [](CDorneDoc& document) { document.SetViewAngles(300, 20, 10); }, true},
      {"a box listed twice", [](CDorneDoc& document) { ListSomeBoxesTwice(document, {3}); }, false},
  };
  for (const auto& change : changes) {
    const auto document = BuildLayoutScene(4, 200);
    const CDisplayList& listed = document->Projection().GetDisplayList();
    CQtPaintRecording recording;
    CQtDrawDevice device(recording);
    CQtFontMeasurer measurer;
    CDrawContext dc(device, measurer, kSize);
    Framed(*document, Framing::Whole).ApplyTo(dc.Mapping(), kSize);
    CListedScene(dc, *document, true);
    ASSERT_NE(listed.KeptWalk(), nullptr) << change.change;
    change.make(*document);
    const bool changed = std::string(change.change) != "none";
    EXPECT_EQ(listed.KeptWalk() == nullptr, changed) << change.change;
    const std::vector<const CBox*> boxes = CListedScene(dc, *document, true).Boxes();
    std::vector<const CBox*> walked;
    for (const CDisplayNode* node = listed.Head(); node != nullptr; node = node->next)
      walked.push_back(node->box);
    EXPECT_EQ(boxes, walked) << change.change;
    EXPECT_EQ(listed.KeptWalk() != nullptr, change.keeps) << change.change;
  }
}

// A view turned after a picture kept its walk projects its boxes from that walk: every box
// as a list walked anew projects it, on a large list (several threads) and a small one.
TEST(ListedSceneTest, AViewTurnedAfterAPictureProjectsEveryBoxAsAfterNone) {
  for (const int runs : {4, 60}) {
    const auto painted = BuildLayoutScene(runs, 200);
    const auto unpainted = BuildLayoutScene(runs, 200);
    CQtPaintRecording recording;
    CQtDrawDevice device(recording);
    CQtFontMeasurer measurer;
    CDrawContext dc(device, measurer, kSize);
    Framed(*painted, Framing::Whole).ApplyTo(dc.Mapping(), kSize);
    CListedScene(dc, *painted, true);
    ASSERT_NE(painted->Projection().GetDisplayList().KeptWalk(), nullptr) << runs;
    painted->TurnView(310, 330, 5);
    unpainted->TurnView(310, 330, 5);
    const CDisplayNode* a = painted->Projection().GetDisplayList().Head();
    const CDisplayNode* b = unpainted->Projection().GetDisplayList().Head();
    for (std::size_t at = 0; a != nullptr && b != nullptr; a = a->next, b = b->next, ++at) {
      ASSERT_EQ(a->box->GetProjectedMin(), b->box->GetProjectedMin()) << runs << " at " << at;
      ASSERT_EQ(a->box->GetProjectedMax(), b->box->GetProjectedMax()) << runs << " at " << at;
    }
    EXPECT_TRUE(a == nullptr && b == nullptr) << runs;
  }
}

// Every box's second-pass bit set, as a walk over second nodes would leave it.
void SetEverySecondPass(const CDisplayList& list) {
  for (const CDisplayNode* node = list.Head(); node != nullptr; node = node->next)
    node->box->SetPassWord(node->box->GetPassWord() | CBox::kSecondPassBit);
}

// The picture recorded aside in stretches of the list on several threads and played back,
// against the scene drawn on one painter: overlapping boxes of runs that rise over one
// another, boxes listed twice (the list walked before the drawing), none (walked from its
// head, or from both ends, while the first stretches are drawn), a window whose edge cuts
// the scene, turned lists sorted (in colour, in black and white, and light) and not (light,
// as a turning view shows them). Every box of a whole view leaves with the pass of one walk
// down the list.
TEST(ListedSceneTest, PiecesRecordedOnThreadsMakeThePictureOfOnePainter) {
  struct {
    int runs;
    std::vector<std::size_t> listedTwice;  // places in the list
  } layouts[] = {{30, {0, 1999, 2000, 5998}}, {30, {}}, {45, {}}};
  struct COptionCase {
    const char* name;
    bool monochrome;
    bool light;
  };
  for (const auto& layout : layouts) {
    const auto document = BuildLayoutScene(layout.runs, 200);
    ListSomeBoxesTwice(*document, layout.listedTwice);
    const CDisplayList& listed = document->Projection().GetDisplayList();
    for (const CListCase& list : kLists) {
      Turn(*document, list);
      for (const Framing framing : {Framing::Whole, Framing::EdgeCuttingTheScene}) {
        const CViewWindow window = Framed(*document, framing);
        for (const COptionCase& option :
             {COptionCase{"colour", false, false}, COptionCase{"black and white", true, false},
              COptionCase{"light", false, true}}) {
          // A turned list not yet sorted is shown by the light picture alone.
          if (!list.ordered && !option.light) continue;
          CSceneDrawOptions options;
          options.monochrome = option.monochrome;
          options.elements.light = option.light;
          const std::string what =
              std::to_string(layout.runs) + " runs, " + std::to_string(layout.listedTwice.size()) +
              " twice, " + std::to_string(list.angles[1]) +
              (list.ordered ? " ordered, " : " unordered, ") + NameOf(framing) + ", " + option.name;
          const QImage expected = DrawnOnOnePainter(*document, window, options);
          EXPECT_FALSE(expected == Blank()) << what;
          SetEverySecondPass(listed);
          EXPECT_TRUE(RecordedInPiecesAndPlayed(*document, window, options) == expected) << what;
          if (framing != Framing::Whole) continue;
          for (const auto& [box, second] : PassesOfOneWalk(listed))
            ASSERT_EQ((box->GetPassWord() & CBox::kSecondPassBit) != 0, second) << what;
        }
      }
    }
  }
}

// Scenes of every size cut for one to eight threads: the stretches cover every place once,
// their indices in the list's order; they are taken up longest first and none is shorter
// than the fewest places asked but the last (all that was left), so that the threads end
// about together; from the head down, or from both ends in turn toward the middle.
TEST(ListedSceneTest, StretchesCoverThePlacesOnceShorterAsTheyAreTakenUp) {
  const struct {
    std::size_t places, threads, fewest;
    bool fromBothEnds;
  } cases[] = {{0, 8, 500, true},      {1, 8, 500, true},     {499, 2, 500, false},
               {3000, 2, 500, false},  {3001, 2, 500, true},  {7999, 5, 500, false},
               {8000, 8, 500, true},   {20000, 8, 500, true}, {80000, 8, 500, true},
               {80000, 8, 500, false}, {80000, 1, 500, true}, {80003, 7, 1, true},
               {12345, 3, 0, false},   {5000, 8, 5000, true}, {5001, 8, 5000, false}};
  for (const auto& c : cases) {
    const std::string what = std::to_string(c.places) + " places, " + std::to_string(c.threads) +
                             " threads, " + std::to_string(c.fewest) +
                             (c.fromBothEnds ? " fewest, both ends" : " fewest, from the head");
    const std::vector<CSceneStretch> taken =
        PlanStretches(c.places, c.threads, c.fewest, c.fromBothEnds);
    std::vector<CSceneStretch> inOrder = taken;
    std::sort(inOrder.begin(), inOrder.end(),
              [](const CSceneStretch& a, const CSceneStretch& b) { return a.index < b.index; });
    std::size_t at = 0;
    for (std::size_t i = 0; i < inOrder.size(); ++i) {
      EXPECT_EQ(inOrder[i].index, i) << what;
      EXPECT_EQ(inOrder[i].from, at) << what << " stretch " << i;
      EXPECT_LT(inOrder[i].from, inOrder[i].to) << what << " stretch " << i;
      at = inOrder[i].to;
    }
    EXPECT_EQ(at, c.places) << what;
    const std::size_t fewest = std::max<std::size_t>(c.fewest, 1);
    for (std::size_t turn = 0; turn < taken.size(); ++turn) {
      const std::size_t size = taken[turn].to - taken[turn].from;
      if (turn + 1 < taken.size()) {
        EXPECT_GE(size, fewest) << what << " turn " << turn;
        EXPECT_LE(taken[turn + 1].to - taken[turn + 1].from, size) << what << " turn " << turn;
      }
      if (turn == 0) {
        // The first takes its thread's share, no more.
        EXPECT_LE(size, std::max((c.places + c.threads - 1) / c.threads, fewest)) << what;
      }
      if (turn >= 2) {
        // Each end is taken toward the middle.
        const bool tailward = c.fromBothEnds && turn % 2 == 1;
        const CSceneStretch& before = taken[c.fromBothEnds ? turn - 2 : turn - 1];
        EXPECT_EQ(tailward ? taken[turn].to == before.from : taken[turn].from == before.to, true)
            << what << " turn " << turn;
      }
    }
    if (taken.size() >= 2) {
      EXPECT_EQ(taken[0].from, 0u) << what;
      EXPECT_EQ(c.fromBothEnds ? taken[1].to == c.places : taken[1].from == taken[0].to, true)
          << what;
    }
    // The last taken up are short: a thread that takes one ends soon after the others (one
    // thread takes the places whole).
    if (!taken.empty()) {
      EXPECT_LE(taken.back().to - taken.back().from,
                std::max((c.places + c.threads - 1) / c.threads, fewest))
          << what;
      if (c.threads > 1 && c.places >= fewest * c.threads * 2) {
        EXPECT_LE(taken.back().to - taken.back().from, fewest) << what;
      }
    }
  }
}

// Units marked by a placing tool, whose boxes lie in stretches drawn on different threads:
// once another tool is on, the recording takes every mark off once it is done; a placing
// tool keeps them, and the picture shows them.
TEST(ListedSceneTest, APictureRecordedInPiecesTakesStaleTapOffMarksOff) {
  CElementScene scene = BuildLargeScene(6000);
  CDorneDoc& document = *scene.document;
  std::vector<CDev*> units;
  for (const std::size_t at : {std::size_t{5}, std::size_t{2999}, std::size_t{5990}}) {
    CDev* unit = scene.elements[at];
    unit->SetKind(CDev::kTapOff);
    units.push_back(unit);
  }
  CViewWindow window;
  window.ZoomAll(*GetSceneExtent(document), 0.9, kSize);
  for (const int tool : {7, 0}) {
    document.SetToolMode(tool);
    for (CDev* unit : units) unit->SetActive(unit->GetActive() | 0x2000);
    const QImage recorded = RecordedInPiecesAndPlayed(document, window, CSceneDrawOptions());
    for (CDev* unit : units)
      EXPECT_EQ((unit->GetActive() & 0x2000) != 0, tool == 7) << "tool " << tool;
    // One painter, with the marks as the recording left them, draws the same picture.
    EXPECT_TRUE(recorded == DrawnOnOnePainter(document, window, CSceneDrawOptions()))
        << "tool " << tool;
  }
}

}  // namespace
