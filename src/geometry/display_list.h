#pragma once

#include "geometry/depth_order_rules.h"
#include "geometry/listed_box_map.h"
#include "geometry/screen_grid.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <unordered_set>
#include <vector>

class CBox;

// One listed box. A box has at most two nodes; its second one carries kSecondNode.
struct CDisplayNode {
  CBox* box = nullptr;
  std::uint32_t flags = 0;
  std::uint32_t riders = 0;  // see head below
  CDisplayNode* prev = nullptr;
  CDisplayNode* next = nullptr;
  // Depth edges leaving this node (it lies in front of their targets), in the order in
  // which they were made. The edge-list order, newest first, is the reverse.
  std::vector<CDisplayNode*> edges;
  // Nodes with an edge to this one, in no particular order.
  std::vector<CDisplayNode*> inEdges;

  // Bookkeeping of the list: an order key that grows from head to tail, and marks of
  // the current insertion.
  std::int64_t label = 0;
  std::uint64_t queryMark = 0;
  std::uint64_t frontMark = 0;
  std::uint64_t reachMark = 0;
  std::uint64_t placeMark = 0;
  std::uint32_t step = 0;  // place in the insertion order of a re-sort
  bool reaches = false;
  CScreenGrid::Filing filing;
  // A box that coincides with a listed one rides with that one's node (its head) instead
  // of taking part in the depth order itself: it has no edges and no screen cells, and
  // stands next to its head and the head's other riders. A head counts its riders.
  CDisplayNode* head = nullptr;
  CDisplayNode* groupFirst = nullptr;  // of a head with riders
  CDisplayNode* groupLast = nullptr;
  // Of a list filled in a known order (InsertUnlisted with keys): the box's key in that
  // order (kNoKey when inserted without one), and the key of the node in whose place it
  // went (its own when none: see display_list_keyed.cpp).
  std::uint64_t key = 0;
  std::uint64_t stamp = 0;
};

// The scene's boxes in painting order, back to front, with the depth edges that fix it.
//
// Insertion compares the new box with the listed boxes in list order; an edge from A to
// B (A in front of B) is refused when B already reaches A along edges, so the relation
// found first wins and no cycle forms; then the list is reordered so that every node
// stands after the nodes it lies in front of, unrelated nodes keeping their order and a
// new unrelated box going to the tail.
//
// The result is exactly that of comparing with every listed node and walking the whole
// list after each insertion, but an insertion costs only the boxes that overlap the new
// one on screen and the part of the list it moves: a spatial grid finds the candidates,
// order keys let them be taken in list order and bound the searches along edges.
//
// Every edge found is kept, even one that adds no reach: the reordering follows each
// node's edges newest first, so the order among unrelated boxes that move together (the
// copies in a stack of runs) follows the order in which each node's own edges were made,
// which differs from node to node; and an edge that adds no reach now is the one left
// when a box it bypasses is taken out. So apart from the riders below, neither the edges
// nor the comparisons that make them may be shared or skipped without changing the order.
//
// One exception keeps stacks of identical boxes (runs laid over one another) from relating
// every box of a stack to every box of the next: a new box that coincides
// exactly with a listed one (the rules say they answer alike) is not compared with the
// rest but rides with that box, just before its group when that box lies in front of it, else just
// after. A coinciding box covers the same pixels and answers every comparison alike, so
// only the order among the riders is new.
//
// The list never owns boxes; a listed box carries its in-list bit. A listed box must be
// re-filed (Refile) whenever its projected corners change.
//
// The list can be made later than asked (Defer): a scene rebuilt again and again with
// nobody looking in between is made once. Every public member runs the rebuild put off
// before anything else, readers included, and so does a box asking whether it is listed
// (CBox::IsListed): no caller sees the list before it is made, whatever it holds.
class CDisplayList {
 public:
  explicit CDisplayList(CDepthOrderRules& rules);
  ~CDisplayList();
  CDisplayList(const CDisplayList&) = delete;
  CDisplayList& operator=(const CDisplayList&) = delete;

  // Empties the list and puts off its making until it is next used: `make` then runs
  // once (from any member, or from IsListed of a box of the scene), with the list empty.
  // Replaces a rebuild put off before, which has not run.
  void Defer(std::function<void()> make);
  // Drops the rebuild put off, if any, without running it; true when there was one.
  bool CancelDeferred();
  bool HasDeferred() const { return static_cast<bool>(m_deferred); }
  // Runs the rebuild put off, if any.
  void Settle() const {
    if (m_deferred) RunDeferred();
  }
  // Remove of a box about to be destroyed: with a rebuild put off, nothing is listed and
  // the rebuild will not meet the box, so it is not run for that.
  void Forget(CBox& box);

  // Sets the box's in-list bit; gives it a new node unless it has two already.
  void Insert(CBox& box);
  // Insert of every box given that is not listed by then, in that order: the same list,
  // with the memory of the next boxes fetched while one goes in. An empty list is laid
  // out for the boxes first (PrepareFor); given boxes enough, each once and none listed,
  // it is filled as ResortInOrder sorts, on several threads with rules that offer
  // concurrent comparers.
  void InsertUnlisted(std::span<CBox* const> boxes);
  // The same with each box's key in the order of insertion (increasing), so that a group
  // of them can be replaced later by ReplaceKeyedGroup.
  static constexpr std::uint64_t kNoKey = ~std::uint64_t{0};
  void InsertUnlisted(std::span<CBox* const> boxes, std::span<const std::uint64_t> keys);
  // Clears the in-list bit and removes every node of the box with its edges.
  void Remove(CBox& box);
  // Empties the list and clears the in-list bit of every listed box.
  void Clear();
  // Trades every listed box, with its order and screen cells, for those of the other
  // list; each list keeps its own rules. Both lists count a change newer than any either
  // had, so that no picture drawn from one passes for the other's.
  void SwapContents(CDisplayList& other);

  // The boxes from head to tail, a box with two nodes twice.
  std::vector<CBox*> CollectBoxes() const;
  // Lays out the spatial grid for the boxes about to be inserted, by their current
  // window bounds.
  void PrepareFor(std::span<CBox* const> boxes);
  // Files a listed box again after its projected bounds changed.
  void Refile(const CBox& box);
  // After the view changed: the same as collecting the boxes, clearing the list and
  // inserting them again from the tail, each projected anew by project first; but the
  // list is walked once, each box is touched once before the insertions, and the nodes
  // are reused (mostly each box its own).
  // With rules that offer concurrent comparers and a long list, project runs on several
  // threads at once (each box once) and must be safe for that, as is projecting with one
  // projection.
  void Resort(const std::function<void(CBox&)>& project);
  // After the view changed, for a quick picture: every listed box projected anew by
  // project (on several threads for a long list, as Resort does), the order and the screen
  // cells left as they were, the faces' flags not made again. The list is unordered until
  // the next Resort or Clear; meanwhile it must not take insertions, and hit tests may
  // miss.
  void ProjectUnordered(const std::function<void(CBox&)>& project);
  bool Unordered() const {
    Settle();
    return m_unordered;
  }
  // Resort of an unordered list that another thread may call off by setting stop, for a
  // thread that has the list and its boxes to itself meanwhile. True when done (exactly
  // as Resort). False when stopped: the list is then unordered with the same nodes in the
  // same order as before (their edges dropped, the screen cells partly filled). False,
  // changing nothing, when the list was not unordered or when it would be re-sorted one
  // box at a time (a short list, or one with riders where a box has two nodes), which is
  // left to Resort.
  bool ResortUnlessStopped(const std::function<void(CBox&)>& project,
                           const std::atomic<bool>& stop);
  // After the view changed, for a list holding exactly the boxes given, each with one
  // node: the same as clearing the list, laying it out for the boxes and inserting them in
  // the order given (each once, as projected anew by project), as a scene built anew in
  // that order would be; made as Resort makes it. With stop, as ResortUnlessStopped (an
  // unordered list only, given back unordered when stopped, and refused when it would be
  // re-sorted one box at a time). False, changing nothing, when the list holds other
  // boxes.
  bool ResortInOrder(std::span<CBox* const> order, const std::function<void(CBox&)>& project,
                     const std::atomic<bool>* stop);

  // Replacing one group of boxes (a run's) without touching the others. A group that meets
  // no other listed box on screen stands together in the list, in the order it would have
  // alone, wherever the others put it; a group of new boxes that meets none either takes
  // that place and order in a list built anew (display_list_blocks.cpp).
  // The place of a group taken out: the node listed just after it (a box and which of
  // its nodes), none at the tail.
  struct CPlace {
    CBox* after = nullptr;
    bool second = false;
  };
  // Takes the listed boxes out when they stand together and meet no other listed box,
  // telling where they stood. False, changing nothing, otherwise or when the list is
  // unordered.
  bool TakeOutIsolated(std::span<CBox* const> boxes, CPlace& place);
  // Inserts the boxes not listed yet one by one and moves them together to the place
  // when none meets a listed box on screen; false, changing nothing, otherwise. The list
  // must not have changed since the place was taken.
  bool InsertIsolated(std::span<CBox* const> boxes, const CPlace& place);

  // Replacing one group of boxes (a run's) in a list filled by keys, whatever the group
  // meets on screen (display_list_keyed.cpp).
  // Walks the boxes of the order after the key given, each once in turn, until visit
  // returns false.
  using CKeyedWalk =
      std::function<void(std::uint64_t after, const std::function<bool(CBox*)>& visit)>;
  // Every listed box that meets one of the boxes given on screen, or meets such a box, and
  // so on, with the listed boxes of their owners' slots up to the body: the boxes whose
  // places depend on the group's. The given boxes are left out. False (met left empty)
  // when that cannot be told cheaply (a box too large for the screen cells, an unordered
  // list) or when there are more than most.
  bool ListedBoxesMeeting(std::span<CBox* const> boxes, std::vector<CBox*>& met, std::size_t most);
  // Inserts the boxes given (none of them listed) with their keys, with every box met as
  // ListedBoxesMeeting finds them from those boxes and from metBefore (listed), all in the
  // order of their keys, leaving the list that inserting every listed box in the order of
  // the keys would make, provided that it held that list but for the group and that the
  // boxes met before were all the group met then. Boxes inserted or removed one by one since
  // the list was filled go with the group, with what they meet or met. False, changing
  // nothing, when the list was not filled by keys since it was last emptied, or was
  // re-sorted, or a box was re-filed, or too many were inserted or removed one by one, or
  // as ListedBoxesMeeting (most boxes met, those met before and noted included).
  bool ReplaceKeyedGroup(std::span<CBox* const> boxes, std::span<const std::uint64_t> keys,
                         std::span<CBox* const> metBefore, std::size_t most,
                         const CKeyedWalk& walk);
  bool Keyed() const {
    Settle();
    return m_keyed;
  }

  // Moves the cursor and returns its box: mode 10 the head, -1 the next node, 0 the
  // tail, 1 the previous node; null (cursor cleared) for any other mode or past either
  // end. The returned box's second-pass bit tells which of its nodes is painted.
  CBox* Iterate(int mode);

  int NodeCount(const CBox& box) const;
  // A number that changes with every change of the list or of a listed box's projection
  // (Insert, Remove, Clear, Refile, Resort), so that a picture drawn from the list can
  // tell that it is still the list's.
  std::uint64_t Changes() const {
    Settle();
    return m_changes;
  }
  std::size_t Size() const {
    Settle();
    return m_size;
  }
  // The boxes listed, each once.
  std::size_t BoxCount() const {
    Settle();
    return m_boxes.Size();
  }
  const CDisplayNode* Head() const {
    Settle();
    return m_head;
  }
  const CDisplayNode* Tail() const {
    Settle();
    return m_tail;
  }
  // The nodes from head to tail, as a reader that walked the whole list, or a re-sort of a
  // list with one node a box, handed them over (KeepWalk), while the list has not changed since but
  // for a quick projection, which keeps the order (ProjectUnordered); null otherwise. Readers on
  // several threads may ask and hand over at once.
  using CWalk = std::vector<const CDisplayNode*>;
  std::shared_ptr<const CWalk> KeptWalk() const;
  // Keeps the walk made of the list as it stands, for the next reader: a scene painted
  // again unchanged (the view panned or zoomed) need not walk its nodes again.
  void KeepWalk(std::shared_ptr<const CWalk> nodes) const;

  // Sets or clears the second-pass bit of the node's box by the node and returns the box,
  // as every walk over the list does before a box is painted or picked.
  static CBox* PassBox(const CDisplayNode& node);
  // Targets of a node's edges in edge-list order (newest first).
  static std::vector<const CDisplayNode*> EdgeTargets(const CDisplayNode& node);

 private:
  struct BoxNodes {
    std::array<CDisplayNode*, 2> nodes{nullptr, nullptr};
    int count = 0;
    std::uint32_t index = 0;  // the box's number in a re-sort
  };
  // A comparison's answer about a listed node, when it is not 0.
  struct Answer {
    CDisplayNode* other = nullptr;
    int answer = 0;
  };
  class CResortPlan;

  void RunDeferred() const;
  CDisplayNode* NewNode(CBox& box, std::uint32_t flags);
  // A node to give out, not reset: a free one as it was left, else one never given out.
  CDisplayNode* TakeNode();
  void FreeNode(CDisplayNode* node);
  static void ResetNode(CDisplayNode& node);
  std::size_t BlockSize(std::size_t block) const;
  void FindCandidates(const CDisplayNode& node, const BoxNodes& entry);
  void LinkAnswers(CDisplayNode* node, std::span<const Answer> answers);
  // Insert with the box's key (meaningful when the list is keyed).
  void InsertWithKey(CBox& box, std::uint64_t key);
  // Of ReplaceKeyedGroup: the group's nodes, inserted, moved among the others by stamp.
  void PlaceKeyedGroup(std::vector<CDisplayNode*>& nodes, const CKeyedWalk& walk);
  CDisplayNode* FirstOfStamp(CDisplayNode* node) const;
  // Of a keyed list: the boxes that the insertion or removal of this one may have moved
  // go with the next group replaced.
  void NoteInserted(CBox& box);
  void NoteRemoved(CBox& box);
  bool GatherMeeting(std::span<CBox* const> boxes, std::vector<CBox*>& met, std::size_t most);
  // Calls add(other) for every listed box that the box meets on screen, rides with, or
  // shares an owner with (a box may come more than once); false when the screen cells
  // cannot tell (a box too large for a query).
  template <class Add>
  bool VisitMeeting(CBox& box, Add&& add) const;
  void ResortOneByOne(const std::function<void(CBox&)>& project);
  // The first node of every box given, each once in their order, each box numbered
  // (BoxNodes::index) by its place there; false unless the list holds exactly those
  // boxes, each with one node.
  bool FirstNodesInOrder(std::span<CBox* const> order, std::vector<CDisplayNode*>& nodes);
  // After any change of which node a box has, or of the boxes' numbers.
  void ForgetLastOrder() {
    m_lastOrder.clear();
    m_lastNodes.clear();
  }
  // Cleared, then the boxes projected and inserted in that order, each once.
  void InsertAnew(std::span<CBox* const> order, const std::function<void(CBox&)>& project);
  bool ResortsByPlan() const;
  // InsertUnlisted of an empty list by a CResortPlan (display_list_fill.cpp); false,
  // changing nothing, when the list is not empty, or too short for the threads to pay, or
  // when the plan would not follow.
  bool FillByPlan(std::span<CBox* const> boxes, std::span<const std::uint64_t> keys);
  // Of FillByPlan: every box in the table with one node to come, numbered by its place;
  // false, the table emptied, when a box comes twice or is listed already.
  bool EnterBoxesOnce(std::span<CBox* const> boxes);
  // Riders of coinciding boxes (display_list_riders.cpp).
  CDisplayNode* FindCoincidingHead(const CDisplayNode& node) const;
  void AddRider(CDisplayNode* node, CDisplayNode* head);
  // With the depth answer of the box to its head's already known: behind it or not.
  void AddRider(CDisplayNode* node, CDisplayNode* head, bool behind);
  void RemoveRider(CDisplayNode* node);
  CDisplayNode* HandOverToRider(CDisplayNode* head);
  void LetRidersGo(CDisplayNode* head);
  static CDisplayNode* GroupFirst(CDisplayNode* node);
  static CDisplayNode* GroupLast(CDisplayNode* node);
  void ExpandGroups(std::vector<CDisplayNode*>& order) const;
  // Whether the box meets, on screen, a listed node whose box `own` does not hold.
  template <class Own>
  bool MeetsOthers(const CBox& box, const Own& own) const;

  bool ReachesFront(CDisplayNode* start, const CDisplayNode* newNode);
  void AddEdge(CDisplayNode* from, CDisplayNode* to);
  void PlaceBefore(CDisplayNode* node, CDisplayNode* anchor);
  void RemoveNode(CDisplayNode* node);
  void Unlink(CDisplayNode* node);
  void LinkBefore(CDisplayNode* node, CDisplayNode* anchor);
  void Append(CDisplayNode* node);
  void LabelRun(std::span<CDisplayNode* const> run);
  void RelabelAll();
  void CheckGrid();
  void FileAll(std::span<CBox* const> boxes);

  CDepthOrderRules& m_rules;
  // The rebuild put off (Defer); mutable, as readers run it.
  mutable std::function<void()> m_deferred;
  CDisplayNode* m_head = nullptr;
  CDisplayNode* m_tail = nullptr;
  CDisplayNode* m_cursor = nullptr;
  std::size_t m_size = 0;
  CListedBoxMap<CBox, BoxNodes> m_boxes;
  // Nodes in use and free ones, in blocks, so that nodes given out one after the other
  // stand side by side in memory.
  std::vector<std::unique_ptr<CDisplayNode[]>> m_pool;
  std::size_t m_poolUsed = 0;  // nodes of the last block ever given out
  std::vector<CDisplayNode*> m_free;
  // The order last given to FirstNodesInOrder and the nodes it found, while the list holds
  // those boxes with those nodes, numbered so: a view turned again and again is re-sorted
  // in the same order each time, which then needs no look-up.
  std::vector<CBox*> m_lastOrder;
  std::vector<CDisplayNode*> m_lastNodes;
  CScreenGrid m_grid;
  std::size_t m_misfitsAfterLayout = 0;
  std::uint64_t m_generation = 0;
  std::uint64_t m_changes = 0;
  // The walk kept for readers, made when the list had seen m_walkKeptAt changes.
  mutable std::mutex m_walkMutex;
  mutable std::shared_ptr<const CWalk> m_keptWalk;
  mutable std::uint64_t m_walkKeptAt = 0;
  bool m_unordered = false;
  // Every node inserted by key since the list was last emptied, but around the boxes of
  // m_dirty (which are listed).
  bool m_keyed = true;
  std::unordered_set<CBox*> m_dirty;
  std::size_t m_riders = 0;
  bool m_noRiders = false;               // while riders are let go
  CDisplayNode* m_firstFront = nullptr;  // first node found in front of the new one
  // Work space of one insertion, kept to spare allocations.
  std::vector<CDisplayNode*> m_candidates;
  std::vector<Answer> m_answers;
  std::vector<CDisplayNode*> m_order;
  std::vector<std::pair<CDisplayNode*, std::size_t>> m_stack;
};
