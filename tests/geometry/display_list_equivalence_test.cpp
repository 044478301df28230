// The fast display list against the ordering rule applied literally
// (CReferenceDisplayList), on random scenes: same boxes, same operations, and after each
// step the same painting order, the same depth edges in the same order and the same face
// nibbles on every box.

#include "fake_element.h"
#include "reference_display_list.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/display_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

struct Scene {
  std::vector<std::unique_ptr<CBox>> boxes;
  std::vector<std::unique_ptr<CFakeElement>> elements;
  std::unordered_map<const CBox*, int> ids;

  void Index() {
    for (std::size_t i = 0; i < boxes.size(); ++i) ids[boxes[i].get()] = static_cast<int>(i);
  }
  std::string Id(const CBox* box) const { return std::to_string(ids.at(box)); }
};

// Free boxes of random sizes in a block where many overlap on screen. With `tinyFirst`
// the first box is far smaller than the rest, so that the spatial hash starts badly.
Scene FreeBoxes(unsigned seed, int count, bool tinyFirst) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> where(-1500.0, 1500.0);
  std::uniform_int_distribution<int> size(20, 700);
  Scene scene;
  for (int i = 0; i < count; ++i) {
    auto box = std::make_unique<CBox>();
    const bool tiny = tinyFirst && i == 0;
    box->SetPlacement(C3DPoint(where(random), where(random), where(random)),
                      tiny ? 1 : size(random), tiny ? 1 : size(random), tiny ? 1 : size(random));
    scene.boxes.push_back(std::move(box));
  }
  scene.Index();
  return scene;
}

C3DPoint DirectionVector(int direction) {
  static const C3DPoint kVectors[6] = {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0},
                                       {0, -1, 0}, {1, 0, 0},  {0, 0, 1}};
  return kVectors[direction];
}

// Straight chains of elements with direction boxes, bodies and parts, of random kinds
// and styles, so that the joint, chain and part rules all come into play.
Scene ElementChains(unsigned seed, C3DProjection& projection, int chains, int perChain) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> any(0, 1 << 30);
  const int kinds[] = {0, 0, 1, 2, 3, 7, 8, 9, 9, 11, 14};
  const std::uint32_t variants[] = {6, 7, 9, 20, 3};
  Scene scene;
  auto addBox = [&](CFakeElement& element, int slot, const C3DPoint& origin, int e0, int e1,
                    int e2) {
    auto box = std::make_unique<CBox>();
    element.Adopt(slot, *box);
    box->SetAttributes(static_cast<std::uint32_t>(any(random) % 8) << 28);
    if (any(random) % 7 == 0) box->SetPassWord(0x20000000);
    box->SetPlacement(origin, e0, e1, e2);
    scene.boxes.push_back(std::move(box));
  };
  for (int c = 0; c < chains; ++c) {
    const int direction = any(random) % 6;
    const C3DPoint step = DirectionVector(direction) * 400.0;
    const C3DPoint start(any(random) % 1200 - 600, any(random) % 1200 - 600,
                         any(random) % 1200 - 600);
    CFakeElement* previous = nullptr;
    for (int k = 0; k < perChain; ++k) {
      auto element = std::make_unique<CFakeElement>();
      element->projection = &projection;
      element->kind = kinds[any(random) % std::size(kinds)];
      element->style = variants[any(random) % std::size(variants)] |
                       (static_cast<std::uint32_t>(any(random) % 16) << 20);
      element->direction = direction;
      element->rotation = 16 << (any(random) % 4);
      element->length = any(random) % 4 == 0 ? 0 : 400;
      element->position = start + step * k;
      element->flags = any(random) % 2;
      if (previous != nullptr) CFakeElement::Link(*previous, direction, *element);
      const C3DPoint at = element->position;
      addBox(*element, 6, at, 150, 150, 150);
      addBox(*element, direction, at + step * 0.5, 120 + any(random) % 100, 100, 100);
      if (any(random) % 2)
        addBox(*element, CBoxOwner::OppositeDirection(direction), at - step * 0.3, 100, 140, 100);
      if (element->kind == 0) {
        addBox(*element, 7, at + C3DPoint(30, 30, 30), 0, 90, 90);
        addBox(*element, 13, at + C3DPoint(-20, 10, 40), 0, 60, 80);
        addBox(*element, 21 + any(random) % 4, at + C3DPoint(10, -30, 0), 70, 0, 50);
      }
      previous = element.get();
      scene.elements.push_back(std::move(element));
    }
  }
  scene.Index();
  return scene;
}

// Random answers for overlapping pairs: plenty of contradictions and cycles to refuse.
class CRandomRules : public CDepthOrderRules {
 public:
  CRandomRules(const Scene& scene, unsigned seed) : m_scene(scene), m_seed(seed) {}

  void PrepareInsert(CBox&) override {}
  int CompareDepth(const CBox& a, const CBox& b, std::uint32_t flagsA,
                   std::uint32_t flagsB) override {
    if (&a == &b) return (flagsA & kSecondNode) ? 1 : -1;
    const C3DPoint& aMin = a.GetProjectedMin();
    const C3DPoint& aMax = a.GetProjectedMax();
    const C3DPoint& bMin = b.GetProjectedMin();
    const C3DPoint& bMax = b.GetProjectedMax();
    if (bMax.x <= aMin.x || aMax.x <= bMin.x || bMax.y <= aMin.y || aMax.y <= bMin.y) return 0;
    const std::uint64_t key =
        (std::uint64_t(m_scene.ids.at(&a)) * 1000003u + m_scene.ids.at(&b)) * 31u +
        (flagsA & kSecondNode) * 7u + (flagsB & kSecondNode) + m_seed;
    return static_cast<int>(std::mt19937_64(key)() % 3) - 1;
  }

 private:
  const Scene& m_scene;
  unsigned m_seed;
};

template <class Node>
std::string Describe(const Scene& scene, const Node* head, auto targetsOf) {
  std::ostringstream out;
  for (const Node* n = head; n != nullptr; n = n->next) {
    out << scene.Id(n->box) << ((n->flags & 2) ? "'" : "") << "[";
    for (const auto* t : targetsOf(*n))
      out << scene.Id(t->box) << ((t->flags & 2) ? "'" : "") << ",";
    out << "] ";
  }
  out << "| nibbles";
  for (const auto& box : scene.boxes) out << " " << std::hex << box->GetAttributes() << std::dec;
  return out.str();
}

std::string DescribeFast(const Scene& scene, const CDisplayList& list) {
  return Describe(scene, list.Head(),
                  [](const CDisplayNode& n) { return CDisplayList::EdgeTargets(n); });
}

std::string DescribeReference(const Scene& scene, const CReferenceDisplayList& list) {
  return Describe(scene, list.Head(), [](const CReferenceDisplayList::Node& n) { return n.edges; });
}

// Drives the fast list (on its own, or inside a projection) and the reference with the
// same steps on two copies of a scene.
class CTwinScenes {
 public:
  CTwinScenes(Scene& fast, Scene& reference, CDisplayList* fastList, C3DProjection* fastProjection,
              CReferenceDisplayList& referenceList)
      : m_fast(fast),
        m_reference(reference),
        m_fastList(fastList),
        m_fastProjection(fastProjection),
        m_referenceList(referenceList) {}

  void Insert(std::size_t i) {
    if (m_fastList != nullptr) m_fastList->Insert(*m_fast.boxes[i]);
    else m_fastProjection->InsertInDisplayList(*m_fast.boxes[i]);
    m_referenceList.Insert(*m_reference.boxes[i]);
  }
  void Remove(std::size_t i) {
    if (m_fastList != nullptr) m_fastList->Remove(*m_fast.boxes[i]);
    else m_fastProjection->RemoveFromDisplayList(*m_fast.boxes[i]);
    m_referenceList.Remove(*m_reference.boxes[i]);
  }
  void ExpectSame(const std::string& step) const {
    const CDisplayList& list =
        m_fastList != nullptr ? *m_fastList : m_fastProjection->GetDisplayList();
    ASSERT_EQ(DescribeFast(m_fast, list), DescribeReference(m_reference, m_referenceList)) << step;
  }

 private:
  Scene& m_fast;
  Scene& m_reference;
  CDisplayList* m_fastList;
  C3DProjection* m_fastProjection;
  CReferenceDisplayList& m_referenceList;
};

// Inserts every box in a random order (some twice), removes and re-inserts some, and
// checks after each phase.
void Churn(CTwinScenes& twins, std::size_t count, std::mt19937& random) {
  std::vector<std::size_t> order(count);
  for (std::size_t i = 0; i < count; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), random);
  for (std::size_t k = 0; k < order.size(); ++k) {
    twins.Insert(order[k]);
    if (k % 9 == 0) twins.Insert(order[k / 2]);
  }
  twins.ExpectSame("after inserting");
  for (std::size_t k = 0; k < count / 5; ++k) twins.Remove(order[(k * 7) % count]);
  twins.ExpectSame("after removing");
  for (std::size_t k = 0; k < count / 5; ++k) twins.Insert(order[(k * 11) % count]);
  twins.ExpectSame("after re-inserting");
}

// Both scenes projected, then churned `rounds` times under rules that answer at random
// for boxes that overlap on screen.
void ChurnWithRandomRules(C3DProjection& projection, Scene fast, Scene reference, unsigned seed,
                          int rounds) {
  for (auto* scene : {&fast, &reference}) {
    for (auto& box : scene->boxes) projection.ProjectBox(*box);
  }
  CRandomRules fastRules(fast, seed), referenceRules(reference, seed);
  CDisplayList fastList(fastRules);
  CReferenceDisplayList referenceList(referenceRules);
  CTwinScenes twins(fast, reference, &fastList, nullptr, referenceList);
  std::mt19937 random(seed);
  for (int round = 0; round < rounds; ++round) Churn(twins, fast.boxes.size(), random);
}

void ReferenceResort(C3DProjection& projection, CReferenceDisplayList& list) {
  const std::vector<CBox*> boxes = list.CollectBoxes();
  list.Clear();
  for (auto it = boxes.rbegin(); it != boxes.rend(); ++it) {
    projection.ProjectBox(**it);
    list.Insert(**it);
  }
}

void RunProjectionScenes(unsigned seed, Scene fast, Scene reference, C3DProjection& fastProjection,
                         C3DProjection& referenceProjection) {
  CProjectionDepthRules referenceRules(referenceProjection);
  CReferenceDisplayList referenceList(referenceRules);
  CTwinScenes twins(fast, reference, nullptr, &fastProjection, referenceList);
  std::mt19937 random(seed);
  Churn(twins, fast.boxes.size(), random);
  std::uniform_int_distribution<int> angle(0, 359);
  for (int turn = 0; turn < 4; ++turn) {
    const int a = angle(random), b = angle(random), c = turn == 3 ? angle(random) : 0;
    fastProjection.SetViewAngles(a, b, c, true, false);
    referenceProjection.SetViewAngles(a, b, c, false, false);
    ReferenceResort(referenceProjection, referenceList);
    twins.ExpectSame("after turning to " + std::to_string(a) + ", " + std::to_string(b));
  }
  // Small turns, as when the user orbits, with boxes taken out and put back (some twice)
  // between them, so that each re-sort starts from nodes that the last one reused.
  for (int turn = 0; turn < 6; ++turn) {
    fastProjection.SetViewAngles(1, -2, 0, true, true);
    referenceProjection.SetViewAngles(1, -2, 0, false, true);
    ReferenceResort(referenceProjection, referenceList);
    twins.ExpectSame("after a small turn");
    const std::size_t count = fast.boxes.size();
    for (std::size_t k = 0; k < count / 8; ++k) twins.Remove(random() % count);
    for (std::size_t k = 0; k < count / 6; ++k) twins.Insert(random() % count);
    twins.ExpectSame("after changes between turns");
  }
  fastProjection.ClearDisplayList();
}

TEST(DisplayListEquivalenceTest, FreeBoxesWithTheProjectionsDepthRules) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    C3DProjection fastProjection, referenceProjection;
    const int count = 40 + static_cast<int>(seed) * 12;
    RunProjectionScenes(seed, FreeBoxes(seed, count, seed % 3 == 0),
                        FreeBoxes(seed, count, seed % 3 == 0), fastProjection, referenceProjection);
  }
}

TEST(DisplayListEquivalenceTest, ElementChainsWithJointsAndParts) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    C3DProjection fastProjection, referenceProjection;
    Scene fast = ElementChains(seed, fastProjection, 4 + seed % 4, 6);
    Scene reference = ElementChains(seed, referenceProjection, 4 + seed % 4, 6);
    RunProjectionScenes(seed, std::move(fast), std::move(reference), fastProjection,
                        referenceProjection);
  }
}

TEST(DisplayListEquivalenceTest, ContradictoryAnswersAndCycles) {
  for (unsigned seed = 1; seed <= 10; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    C3DProjection projection;
    ChurnWithRandomRules(projection, FreeBoxes(seed, 150, false), FreeBoxes(seed, 150, false), seed,
                         2);
  }
}

// One box in front of all the others that arrive: each arrival goes just before it, so
// the order keys there run out again and again and must be renumbered.
TEST(DisplayListEquivalenceTest, RepeatedInsertionsAtOnePlace) {
  C3DProjection projection;
  Scene fast = FreeBoxes(99, 300, false);
  Scene reference = FreeBoxes(99, 300, false);
  for (auto* scene : {&fast, &reference}) {
    for (auto& box : scene->boxes) {
      box->SetPlacement(C3DPoint(0, 0, 0), 100, 100, 100);
      projection.ProjectBox(*box);
    }
  }
  class CFrontFirst : public CDepthOrderRules {
   public:
    explicit CFrontFirst(const Scene& scene) : m_scene(scene) {}
    void PrepareInsert(CBox&) override {}
    int CompareDepth(const CBox& a, const CBox& b, std::uint32_t flagsA, std::uint32_t) override {
      if (&a == &b) return (flagsA & kSecondNode) ? 1 : -1;
      if (m_scene.ids.at(&b) == 0) return -1;  // box 0 hides every other box
      if (m_scene.ids.at(&a) == 0) return 1;
      return 0;
    }

   private:
    const Scene& m_scene;
  };
  CFrontFirst fastRules(fast), referenceRules(reference);
  CDisplayList fastList(fastRules);
  CReferenceDisplayList referenceList(referenceRules);
  CTwinScenes twins(fast, reference, &fastList, nullptr, referenceList);
  twins.Insert(1);
  twins.Insert(0);
  for (std::size_t i = 2; i < fast.boxes.size(); ++i) twins.Insert(i);
  twins.ExpectSame("after the arrivals");
  EXPECT_EQ(fastList.Tail()->box, fast.boxes[0].get());
}

// Boxes without width or height on screen among ordinary ones: points at a few shared
// places, segments along the world's axes (flat on screen at square views) and blocks
// around them, so that flat bounds meet flat bounds and ordinary ones in every way.
Scene FlatAndOrdinaryBoxes(unsigned seed, int count) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> place(0, 3), length(50, 900), kind(0, 4);
  Scene scene;
  for (int i = 0; i < count; ++i) {
    auto box = std::make_unique<CBox>();
    const C3DPoint at(place(random) * 300.0, place(random) * 300.0, place(random) * 300.0);
    switch (kind(random)) {
      case 0: box->SetPlacement(at, 0, 0, 0); break;
      case 1: box->SetPlacement(at, length(random), 0, 0); break;
      case 2: box->SetPlacement(at, 0, length(random), 0); break;
      case 3: box->SetPlacement(at, 0, 0, length(random)); break;
      default: box->SetPlacement(at, length(random), length(random), length(random)); break;
    }
    scene.boxes.push_back(std::move(box));
  }
  scene.Index();
  return scene;
}

TEST(DisplayListEquivalenceTest, FlatBoxesAtSquareAndSlantedViews) {
  const int views[][3] = {{0, 0, 0}, {90, 0, 0}, {0, 90, 0}, {-30, -45, 0}};
  for (unsigned seed = 1; seed <= 4; ++seed) {
    for (const auto& view : views) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " view " + std::to_string(view[0]) + ", " +
                   std::to_string(view[1]));
      C3DProjection projection;
      projection.SetViewAngles(view[0], view[1], view[2], false, false);
      ChurnWithRandomRules(projection, FlatAndOrdinaryBoxes(seed, 160),
                           FlatAndOrdinaryBoxes(seed, 160), seed, 1);
    }
  }
}

}  // namespace
