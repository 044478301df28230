#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class CBox;
class CDev;
class CDorneDoc;
class CDrawContext;
class CElementDrawCache;
struct CDisplayNode;
struct CSceneDrawOptions;

// Ask memory for a box's bytes, and for those of its owner (once the box's have come),
// ahead of their drawing: the boxes of a large scene lie scattered over memory.
void PrefetchBox(const CBox& box);
void PrefetchOwner(const CBox& box);
// How far ahead of the box at hand the next ones are asked for.
constexpr std::size_t kBoxesFetchedAhead = 8;

// Places [from, to) of a scene, the index-th stretch of it in the list's order.
struct CSceneStretch {
  std::size_t index = 0;
  std::size_t from = 0;
  std::size_t to = 0;
  bool operator==(const CSceneStretch&) const = default;
};

// The places of a scene cut into stretches for that many threads, in the order they are to
// be taken up: each takes that share of the places not taken yet, but no fewer than
// `fewest` (or all that are left), so that the last ones are short and the threads end
// about together; from the head down, or from both ends in turn toward the middle.
std::vector<CSceneStretch> PlanStretches(std::size_t places, std::size_t threads,
                                         std::size_t fewest, bool fromBothEnds);

// The boxes of a document's scene that may leave a mark on a context's target, from the
// back of the display list to its front, as places along the list that are drawn in
// stretches, several at once on different threads if need be. A box is looked at only as
// its stretch is drawn: the boxes lie scattered over memory, and a look over them all
// beforehand cost as much again as the drawing's own wait for them. Each box drawn has its
// node's pass set as one walk down the list sets it. The list must stay as it is while the
// scene is in use.
class CListedScene {
 public:
  // A scene whose list is walked later: by Walk, or while its stretches are drawn.
  struct CWalkLater {};

  // Boxes drawn without marks beside them (the light picture: neither labels nor symbols)
  // leave none outside the target: those wholly outside are left out.
  CListedScene(const CDrawContext& dc, const CDorneDoc& document, bool marksBeside);
  // The same with the list not walked yet: Walk or DrawInStretches must come before the
  // boxes are asked for or a stretch is drawn.
  CListedScene(const CDrawContext& dc, const CDorneDoc& document, bool marksBeside, CWalkLater);

  // Walks the list now if it is not walked yet.
  void Walk();
  // How many places the stretches are cut from.
  std::size_t Size() const { return m_unordered ? m_byDepth.size() : m_nodes.size(); }
  // The boxes of every place, in their order (looked over on several threads).
  std::vector<const CBox*> Boxes() const;
  // Draws the boxes of places [from, to) as DrawSceneBoxes does, on a context of the
  // target's mapping, but for the placing tools' stale marks on tap-off units: the units
  // met are added to `marks`, for the caller to take the marks off once every stretch is
  // drawn (a unit's boxes may lie in stretches drawn at once).
  void DrawStretch(CDrawContext& dc, std::size_t from, std::size_t to,
                   const CSceneDrawOptions& options, CElementDrawCache& cache,
                   std::vector<CDev*>& marks) const;
  // Makes Size() hold for stretches to be drawn: walks the list now, unless every box has
  // one node in it and its order holds, when it is walked as the stretches are drawn (the
  // walk waits for every node in turn, and it was as long as a tenth of the drawing with
  // the threads idle).
  void PrepareStretches();
  // The places planned into stretches for that many threads (after PrepareStretches): from
  // the list's two ends in turn when it is walked from both meanwhile, so that both walks
  // feed them.
  std::vector<CSceneStretch> Stretches(std::size_t threads, std::size_t fewest) const;
  // Hands the stretches to draw on several threads, taken up in their order, and leaves
  // the list walked; a list walked meanwhile is walked by threads of their own first, and
  // a stretch's places are drawn as soon as they are walked.
  void DrawInStretches(std::span<const CSceneStretch> stretches,
                       const std::function<void(const CSceneStretch&)>& draw);

 private:
  struct CBounds {
    double left, top, right, bottom;
  };
  bool ToDraw(const CBox& box) const;
  bool ListedTwice(const CBox* box) const;
  // Adds the boxes to draw of places [from, to) to `boxes`, each passed.
  void Collect(std::size_t from, std::size_t to, std::vector<const CBox*>& boxes) const;
  // Walks the list from its head (end 0) or tail (1) to the middle, telling how far, and
  // adds the boxes of the second nodes met to `seconds` when given.
  void WalkEnd(std::size_t end, std::vector<const CBox*>* seconds);
  // Waits until places [from, to) are walked.
  void AwaitWalked(std::size_t from, std::size_t to) const;

  // Walks the list from both ends at once, the boxes listed twice gathered.
  void WalkBothEnds();
  // Hands the walk over to the list for the next scene of it, when it is the whole list,
  // no box listed twice.
  void KeepWalk() const;

  const CDorneDoc& m_document;
  CBounds m_bounds{};
  bool m_unordered = false;
  bool m_walked = false;
  bool m_walkMeanwhile = false;  // walked as the stretches are drawn
  // Stretches cut from both ends of the list, as for walks from both: so they are for a
  // walk kept from before, which then draws as a scene walking meanwhile does.
  bool m_fromBothEnds = false;
  // The list's order: walked here, or the walk the list kept (shared, read only).
  std::shared_ptr<std::vector<const CDisplayNode*>> m_walk;
  std::shared_ptr<const std::vector<const CDisplayNode*>> m_kept;
  std::span<const CDisplayNode* const> m_nodes;
  // Places [0, m_headWalked) and [m_tailWalked, size) are walked.
  std::atomic<std::size_t> m_headWalked{0};
  std::atomic<std::size_t> m_tailWalked{0};
  // Boxes with two nodes, passed once the list is walked (sorted).
  std::vector<const CBox*> m_listedTwice;
  // A list left unordered by a turn of the view is painted by the boxes' depth instead:
  // the boxes to draw, sorted so (no nodes then).
  std::vector<const CBox*> m_byDepth;
};
