#pragma once

// A scene long enough for the display list's re-sort on several threads, with what the
// re-sort is defined as and a text of the list to compare.

#include "fake_element.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/display_list.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace resort_scene {

inline C3DPoint Unit(int direction) {
  static const C3DPoint kUnits[6] = {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0},
                                     {0, -1, 0}, {1, 0, 0},  {0, 0, 1}};
  return kUnits[direction];
}

// Chains of linked elements with bodies, direction boxes and end parts, crossing each
// other on screen, and some free boxes among them; enough boxes for the threads.
struct CScene {
  C3DProjection projection;
  std::vector<std::unique_ptr<CFakeElement>> elements;
  std::vector<std::unique_ptr<CBox>> boxes;
  std::unordered_map<const CBox*, std::size_t> ids;

  using MakeElement = std::function<std::unique_ptr<CFakeElement>()>;

  // The projection outlives the boxes: they leave its list before they go.
  ~CScene() { projection.ClearDisplayList(); }

  explicit CScene(
      unsigned seed, const MakeElement& make = [] { return std::make_unique<CFakeElement>(); }) {
    std::mt19937 random(seed);
    auto any = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int chain = 0; chain < 70; ++chain) {
      const int direction = any(6);
      const C3DPoint unit = Unit(direction);
      const C3DPoint start(any(8000), any(8000), any(3000));
      CFakeElement* previous = nullptr;
      for (int k = 0; k < 16; ++k) {
        auto& e = *elements.emplace_back(make());
        e.projection = &projection;
        e.kind = k == 0 ? 0 : (any(5) == 0 ? 2 : 9);
        e.style = static_cast<std::uint32_t>(any(2) ? 7 : 6);
        e.direction = direction;
        e.position = start + unit * (400.0 * k);
        if (previous != nullptr) CFakeElement::Link(*previous, direction, e);
        Add(&e, CBoxOwner::kBodySlot, e.position, 150, 150, 150);
        Add(&e, direction, e.position + unit * 200.0, 120 + any(100), 100, 100);
        if (e.kind == 0) Add(&e, 7, e.position + C3DPoint(30, 30, 30), 0, 90, 90);
        if (any(4) == 0) Add(nullptr, 0, e.position + C3DPoint(any(600), 0, any(600)), 300, 80, 40);
        previous = &e;
      }
    }
    for (auto& box : boxes) {
      projection.ProjectBox(*box);
      projection.InsertInDisplayList(*box);
      if (ids.size() % 37 == 0) projection.InsertInDisplayList(*box);  // a second node
    }
  }

  void Add(CFakeElement* owner, int slot, const C3DPoint& at, int e0, int e1, int e2) {
    auto& box = *boxes.emplace_back(std::make_unique<CBox>());
    if (owner != nullptr) owner->Adopt(slot, box);
    box.SetPlacement(at, e0, e1, e2);
    ids[&box] = ids.size();
  }

  // What the re-sort is defined as.
  void ResortOneByOne() {
    const std::vector<CBox*> listed = projection.GetDisplayList().CollectBoxes();
    projection.ClearDisplayList();
    for (auto it = listed.rbegin(); it != listed.rend(); ++it) {
      projection.ProjectBox(**it);
      projection.InsertInDisplayList(**it);
    }
  }

  // The painting order with each node's second-node mark, and every box's attributes.
  std::string DescribeOrder() const {
    std::ostringstream out;
    for (const CDisplayNode* n = projection.GetDisplayList().Head(); n != nullptr; n = n->next)
      out << ids.at(n->box) << ((n->flags & 2) ? "' " : " ");
    for (const auto& box : boxes) out << std::hex << box->GetAttributes() << " ";
    return out.str();
  }

  std::string Describe() const {
    std::ostringstream out;
    for (const CDisplayNode* n = projection.GetDisplayList().Head(); n != nullptr; n = n->next) {
      out << ids.at(n->box) << ((n->flags & 2) ? "'" : "") << "[";
      for (const CDisplayNode* t : CDisplayList::EdgeTargets(*n))
        out << ids.at(t->box) << ((t->flags & 2) ? "'" : "") << ",";
      out << "] ";
    }
    for (const auto& box : boxes) out << std::hex << box->GetAttributes() << " ";
    return out.str();
  }
};

// The chains and free boxes of the scene, with copies of some boxes at the very same place
// and size, listed after them: a free box's copies ride with it, an element's box's copy
// (having no owner) answers alike with none.
inline std::unique_ptr<CScene> SceneWithCopies(
    unsigned seed,
    const CScene::MakeElement& make = [] { return std::make_unique<CFakeElement>(); }) {
  auto scene = std::make_unique<CScene>(seed, make);
  const std::size_t originals = scene->boxes.size();
  for (std::size_t i = 0; i < originals; ++i) {
    const CBox& original = *scene->boxes[i];
    const bool free = original.GetOwner() == nullptr;
    const std::size_t copies = free ? 1 + i % 3 : (i % 50 == 0 ? 1 : 0);
    for (std::size_t c = 0; c < copies; ++c) {
      scene->Add(nullptr, 0, original.GetOrigin(), original.GetExtent(0), original.GetExtent(1),
                 original.GetExtent(2));
      CBox& copy = *scene->boxes.back();
      scene->projection.ProjectBox(copy);
      scene->projection.InsertInDisplayList(copy);
    }
  }
  return scene;
}

enum class EBoxOrder { kAsCreated, kReversed, kShuffled, kTwiceSome, kListOrder };

// The scene's boxes in the order named; with kTwiceSome, `repeats` boxes are given a second
// time at random places.
inline std::vector<CBox*> BoxesInOrder(const CScene& scene, EBoxOrder order, unsigned seed,
                                       std::size_t repeats) {
  if (order == EBoxOrder::kListOrder) return scene.projection.GetDisplayList().CollectBoxes();
  std::vector<CBox*> boxes;
  for (const auto& box : scene.boxes) boxes.push_back(box.get());
  std::mt19937 random(seed);
  if (order == EBoxOrder::kReversed) std::reverse(boxes.begin(), boxes.end());
  if (order == EBoxOrder::kShuffled || order == EBoxOrder::kTwiceSome)
    std::shuffle(boxes.begin(), boxes.end(), random);
  for (std::size_t i = 0; order == EBoxOrder::kTwiceSome && i < repeats; ++i) {
    CBox* again = boxes[random() % boxes.size()];
    boxes.insert(boxes.begin() + static_cast<std::ptrdiff_t>(random() % boxes.size()), again);
  }
  return boxes;
}

// Whether the list keeps a walk for its readers, and that walk is the list from head to tail.
inline bool KeptWalkIsTheList(const CDisplayList& list) {
  const std::shared_ptr<const CDisplayList::CWalk> kept = list.KeptWalk();
  CDisplayList::CWalk walked;
  for (const CDisplayNode* node = list.Head(); node != nullptr; node = node->next)
    walked.push_back(node);
  return kept != nullptr && *kept == walked;
}

}  // namespace resort_scene

using resort_scene::BoxesInOrder;
using resort_scene::CScene;
using resort_scene::EBoxOrder;
using resort_scene::KeptWalkIsTheList;
using resort_scene::SceneWithCopies;
