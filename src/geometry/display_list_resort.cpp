// Re-sorting the whole display list after the view changed.
//
// The result must be exactly that of inserting the boxes again one by one from the tail.
// What an insertion decides depends on the list as it stands, but the comparisons it
// makes do not: which listed boxes a new box meets on screen follows from the new
// projection and the insertion order alone, and the answers from the two boxes and their
// face nibbles. The nibbles change as boxes go in (a box closes the joint faces of its
// element's boxes), so they are worked out first, in insertion order within each element
// (elements on several threads), keeping every word each box goes through; then the comparisons run
// on several threads, each reading the words that stood at its insertion; and last the edges and
// the order are made from the answers, one insertion after the other, as Insert would (on one
// thread, following the comparisons as they are made, unless the re-sort may be called off).
//
// A re-sort in another order (as a scene built anew in that order) is made the same way,
// with the steps in that order.
//
// A box that coincides with a listed one rides with its node (display_list_riders.cpp).
// Whether it does depends on the boxes met and which of them ride already, known only as
// the boxes go in; so the comparisons note, besides their answers, the boxes met that
// answer alike, and the links choose the head among them. Riders take no edges and are not
// filed in the grid. A box with no owner going in twice would let its group go, which the
// plan does not follow: there, as before, no box rides (and none rode before).
//
// A re-sort made aside, on a thread of its own, may be called off until the links are made
// anew: the list keeps its order and its nodes their marks until then, so that giving it
// back unordered costs one pass over the boxes.

#include "geometry/box.h"
#include "geometry/box_owner.h"
#include "geometry/display_list.h"
#include "geometry/display_list_resort_plan.h"
#include "geometry/parallel_chunks.h"
#include "geometry/parallel_key_sort.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

namespace {

// Fewer nodes than this are inserted one by one: the threads would not pay.
constexpr std::size_t kMinConcurrentResort = 2048;
constexpr std::size_t kMinStepsPerThread = 1024;
// A scene made anew compares each box with every one it meets on screen, far more work than
// projecting it, and the window that opens a layout waits for all of it: the comparisons of
// a scene of a thousand or two boxes are shared among all the threads. A re-sort keeps the
// share above, which pays in the thinner layouts it is timed on.
constexpr std::size_t kMinComparedNewStepsPerThread = 256;
// Every band of the grid reads every step's bounds: a few wide bands.
constexpr std::size_t kMinStepsPerBand = 8192;
// Looking boxes up takes three rounds over the threads: fewer than this a thread are looked
// up on one.
constexpr std::size_t kMinLookupsPerThread = 16384;
// How many steps ahead a loop over scattered boxes asks for their memory.
constexpr std::size_t kFetchAhead = 8;
// Work of uneven pieces is cut in this many pieces a thread, which the threads take as they
// come free.
constexpr std::size_t kPiecesPerThread = 4;
// Owners in the same stretch of memory of this many bytes (a power of two) are prepared in
// the same group: small enough that the groups share the work about evenly.
constexpr unsigned kOwnerStretchBits = 16;
// How many items a thread works through between looks at the stop flag.
constexpr std::size_t kStopCheckEvery = 256;

// Asks for the whole node, to be written.
void PrefetchNode(const CDisplayNode& node) {
  const char* bytes = reinterpret_cast<const char*>(&node);
  for (std::size_t offset = 0; offset < sizeof(CDisplayNode); offset += 64)
    __builtin_prefetch(bytes + offset, 1);
  __builtin_prefetch(bytes + sizeof(CDisplayNode) - 1, 1);
}

}  // namespace

std::size_t CDisplayList::CResortPlan::BandCount() const {
  return CParallelChunks::ChunkCount(m_steps.size(), kMinStepsPerBand);
}

bool CDisplayList::CResortPlan::StoppedAt(std::size_t item) const {
  return item % kStopCheckEvery == 0 && m_stop != nullptr &&
         m_stop->load(std::memory_order_relaxed);
}

void CDisplayList::ProjectUnordered(const std::function<void(CBox&)>& project) {
  Settle();
  // The nodes as the last picture walked them, when it was of the list as it stands: the
  // threads then take their boxes from there rather than waiting for a walk along the list,
  // node after scattered node.
  const std::shared_ptr<const CWalk> walked = KeptWalk();
  ++m_changes;
  m_unordered = true;
  if (walked != nullptr) {
    const CWalk& nodes = *walked;
    const std::size_t chunks = CParallelChunks::ChunkCount(nodes.size(), kMinStepsPerThread);
    CParallelChunks::Run(nodes.size(), chunks, [&](std::size_t, std::size_t from, std::size_t to) {
      for (std::size_t k = from; k < to; ++k) {
        // A node is asked for two boxes' worth of steps ahead, its box (read from the node
        // by then) one worth ahead: each stands far from the other in memory.
        if (k + 2 * kFetchAhead < to) __builtin_prefetch(nodes[k + 2 * kFetchAhead]);
        if (k + kFetchAhead < to) nodes[k + kFetchAhead]->box->Prefetch();
        if (!(nodes[k]->flags & CDepthOrderRules::kSecondNode)) project(*nodes[k]->box);
      }
    });
    // The order stays: the walk serves the quick picture and the next turn as well.
    KeepWalk(walked);
    return;
  }
  std::vector<CBox*> boxes;
  boxes.reserve(m_size);
  for (CDisplayNode* node = m_head; node != nullptr; node = node->next) {
    if (!(node->flags & CDepthOrderRules::kSecondNode)) boxes.push_back(node->box);
  }
  const std::size_t chunks = CParallelChunks::ChunkCount(boxes.size(), kMinStepsPerThread);
  CParallelChunks::Run(boxes.size(), chunks, [&](std::size_t, std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to; ++k) {
      if (k + kFetchAhead < to) boxes[k + kFetchAhead]->Prefetch();
      project(*boxes[k]);
    }
  });
}

bool CDisplayList::ResortsByPlan() const {
  // With riders, no box may have two nodes: a box going in again lets its group go, which
  // the plan does not follow (see CResortPlan).
  return m_size >= kMinConcurrentResort && (m_riders == 0 || m_size == m_boxes.Size()) &&
         m_rules.MakeConcurrentComparer() != nullptr;
}

void CDisplayList::Resort(const std::function<void(CBox&)>& project) {
  Settle();
  ++m_changes;
  m_unordered = false;
  if (!ResortsByPlan()) return ResortOneByOne(project);
  CResortPlan plan(*this, nullptr);
  plan.TakeNodes();
  plan.Run(project);
}

bool CDisplayList::ResortUnlessStopped(const std::function<void(CBox&)>& project,
                                       const std::atomic<bool>& stop) {
  Settle();
  if (!m_unordered || !ResortsByPlan() || stop.load()) return false;
  ++m_changes;
  m_unordered = false;
  CResortPlan plan(*this, &stop);
  plan.TakeNodes();
  if (plan.Run(project)) return true;
  plan.Restore();
  m_unordered = true;
  return false;
}

bool CDisplayList::ResortInOrder(std::span<CBox* const> order,
                                 const std::function<void(CBox&)>& project,
                                 const std::atomic<bool>* stop) {
  Settle();
  if (stop != nullptr && (!m_unordered || stop->load())) return false;
  const bool byPlan = ResortsByPlan();
  if (!byPlan && stop != nullptr) return false;
  std::vector<CDisplayNode*> nodes;
  if (!FirstNodesInOrder(order, nodes)) return false;
  ++m_changes;
  m_unordered = false;
  if (!byPlan) {
    InsertAnew(order, project);
    return true;
  }
  CResortPlan plan(*this, stop);
  plan.TakeNodesInOrder(std::move(nodes));
  if (plan.Run(project)) return true;
  plan.Restore();
  m_unordered = true;
  return false;
}

bool CDisplayList::FirstNodesInOrder(std::span<CBox* const> order,
                                     std::vector<CDisplayNode*>& nodes) {
  // A box with two nodes never comes out of insertions into an empty list.
  if (m_size != m_boxes.Size()) return false;
  if (m_lastNodes.size() == m_size &&
      std::equal(order.begin(), order.end(), m_lastOrder.begin(), m_lastOrder.end())) {
    nodes = m_lastNodes;
    return true;
  }
  ForgetLastOrder();
  constexpr std::uint32_t kUnseen = std::numeric_limits<std::uint32_t>::max();
  m_boxes.SetEveryValue([](BoxNodes& entry) { entry.index = kUnseen; });
  // The boxes, scattered in memory, are looked up on several threads: first each box's
  // first place in the order (a box given again goes in once), then how many first places
  // each piece holds, then the nodes laid out in order and the boxes numbered.
  const std::size_t count = order.size();
  const std::size_t chunks = CParallelChunks::ChunkCount(count, kMinLookupsPerThread);
  std::vector<BoxNodes*> entries(count);
  std::atomic<bool> unlisted = false;
  CParallelChunks::Run(count, chunks, [&](std::size_t, std::size_t from, std::size_t to) {
    for (std::size_t p = from; p < to; ++p) {
      BoxNodes* entry = order[p] != nullptr ? m_boxes.Find(order[p]) : nullptr;
      // A box not listed would be a new one.
      if (entry == nullptr) return unlisted.store(true, std::memory_order_relaxed);
      entries[p] = entry;
      std::atomic_ref<std::uint32_t> first(entry->index);
      const auto place = static_cast<std::uint32_t>(p);
      std::uint32_t seen = first.load(std::memory_order_relaxed);
      while (place < seen && !first.compare_exchange_weak(seen, place, std::memory_order_relaxed)) {
      }
    }
  });
  if (unlisted.load()) return false;
  std::vector<std::uint8_t> isFirst(count);
  std::vector<std::size_t> firstBefore(chunks + 1, 0);
  CParallelChunks::Run(count, chunks, [&](std::size_t chunk, std::size_t from, std::size_t to) {
    std::size_t firsts = 0;
    for (std::size_t p = from; p < to; ++p) {
      isFirst[p] = entries[p]->index == p ? 1 : 0;
      firsts += isFirst[p];
    }
    firstBefore[chunk + 1] = firsts;
  });
  for (std::size_t chunk = 0; chunk < chunks; ++chunk) firstBefore[chunk + 1] += firstBefore[chunk];
  if (firstBefore[chunks] != m_size) return false;
  nodes.resize(m_size);
  CParallelChunks::Run(count, chunks, [&](std::size_t chunk, std::size_t from, std::size_t to) {
    std::size_t next = firstBefore[chunk];
    for (std::size_t p = from; p < to; ++p) {
      if (!isFirst[p]) continue;
      entries[p]->index = static_cast<std::uint32_t>(next);
      nodes[next++] = entries[p]->nodes[0];
    }
  });
  m_lastOrder.assign(order.begin(), order.end());
  m_lastNodes = nodes;
  return true;
}

void CDisplayList::InsertAnew(std::span<CBox* const> order,
                              const std::function<void(CBox&)>& project) {
  Clear();
  for (CBox* box : order) project(*box);
  PrepareFor(order);
  for (CBox* box : order) {
    if (!box->InListBit()) Insert(*box);
  }
}

bool CDisplayList::CResortPlan::Run(const std::function<void(CBox&)>& project) {
  Project(project);
  if (Stopped()) return false;
  PrepareBoxes();
  if (m_stop == nullptr) {
    CompareAndLink();
  } else {
    if (Stopped()) return false;
    CompareAhead();
    // The last look: the links are made anew from here on.
    if (Stopped()) return false;
    Link();
  }
  KeepWalk();
  return true;
}

void CDisplayList::CResortPlan::TakeNodes() {
  // The list keeps its links, its nodes' marks and its boxes' entries until Link, so that a
  // stop before then has little to give back; the edges and the grid go as the boxes are
  // projected, which an unordered list does not ask for.
  m_steps.reserve(m_list.m_size);
  for (CDisplayNode* node = m_list.m_tail; node != nullptr; node = node->prev)
    m_steps.push_back(node);
  TakeSteps();
}

void CDisplayList::CResortPlan::TakeNodesInOrder(std::vector<CDisplayNode*> nodes) {
  // Each box has one node, numbered by its step already: nothing to look up, and the
  // nodes are cleared as their boxes are projected, on the same threads.
  CDisplayList& list = m_list;
  list.m_cursor = nullptr;
  m_steps = std::move(nodes);
  const std::size_t steps = m_steps.size();
  m_firstNodes = m_steps;
  m_stepFlags.assign(steps, 0);
  m_boxOfStep.resize(steps);
  m_boxes.resize(steps);
  m_stepsAreBoxes = true;
}

void CDisplayList::CResortPlan::TakeNewNodes(std::span<CBox* const> boxes,
                                             std::span<const std::uint64_t> keys,
                                             std::vector<CDisplayNode*> nodes) {
  m_list.m_cursor = nullptr;
  m_steps = std::move(nodes);
  m_firstNodes = m_steps;
  m_stepFlags.assign(m_steps.size(), 0);
  m_boxOfStep.resize(m_steps.size());
  m_boxes.assign(boxes.begin(), boxes.end());
  m_keys = keys;
  m_stepsAreBoxes = true;
  m_newNodes = true;
}

void CDisplayList::CResortPlan::ClearForStep(CDisplayNode& node, std::size_t step) {
  node.edges.clear();
  node.inEdges.clear();
  node.queryMark = node.frontMark = node.reachMark = node.placeMark = 0;
  node.filing = CScreenGrid::Filing();
  node.step = static_cast<std::uint32_t>(step);
}

void CDisplayList::CResortPlan::TakeSteps() {
  CDisplayList& list = m_list;
  list.ForgetLastOrder();  // the boxes are numbered anew
  list.m_cursor = nullptr;
  constexpr std::uint32_t kUnseen = std::numeric_limits<std::uint32_t>::max();
  for (CDisplayNode* node : m_steps) list.m_boxes.Find(node->box)->index = kUnseen;
  m_boxOfStep.resize(m_steps.size());
  m_stepFlags.resize(m_steps.size());
  for (std::size_t i = 0; i < m_steps.size(); ++i) {
    CDisplayNode* node = m_steps[i];
    ClearForStep(*node, i);
    BoxNodes& entry = *list.m_boxes.Find(node->box);
    const bool first = entry.index == kUnseen;
    m_stepFlags[i] = first ? 0 : CDepthOrderRules::kSecondNode;
    if (!first && node->box->GetOwner() == nullptr) m_mayRide = false;
    if (first) {
      entry.index = static_cast<std::uint32_t>(m_boxes.size());
      m_boxes.push_back(node->box);
      m_firstNodes.push_back(node);
    }
    m_boxOfStep[i] = entry.index;
  }
}

void CDisplayList::CResortPlan::Project(const std::function<void(CBox&)>& project) {
  // No box is listed while the first ones go in again.
  const std::size_t chunks = CParallelChunks::ChunkCount(m_boxes.size(), kMinStepsPerThread);
  // With the grid filed in several bands, twice as many groups of owners as threads, which
  // then share the preparation evenly with the bands.
  m_groups = BandCount() > 1 ? 2 * chunks : chunks;
  m_groupOfBox.resize(m_boxes.size());
  m_initialWord.resize(m_boxes.size());
  m_bounds.resize(m_boxes.size());
  // The boxes in two pieces a thread, which the threads take as they come free. The grid's
  // layout reads the spread of the bounds, gathered here as they are taken.
  const std::size_t pieces = 2 * chunks;
  m_spreads.assign(pieces, {});
  // The grid is emptied meanwhile, a piece of its own taken up among the first: nothing reads
  // it before the nodes are filed again, and emptying the cells of a large scene's grid
  // before the projection held the re-sort up.
  const std::size_t count = m_boxes.size();
  CParallelChunks::Run(pieces + 1, pieces + 1, [&](std::size_t piece, std::size_t, std::size_t) {
    if (piece == 1) return m_list.m_grid.Reset();
    const std::size_t own = piece == 0 ? 0 : piece - 1;
    // A spread of this thread's own, handed over at the end (see CompareSteps).
    CScreenGrid::Spread spread;
    ProjectPiece(count * own / pieces, count * (own + 1) / pieces, project, spread);
    m_spreads[own] = std::move(spread);
  });
}

void CDisplayList::CResortPlan::ProjectPiece(std::size_t from, std::size_t to,
                                             const std::function<void(CBox&)>& project,
                                             CScreenGrid::Spread& spread) {
  spread.sizes.reserve(to - from);
  bool stopped = false;
  for (std::size_t k = from; k < to; ++k) {
    FetchAhead(k, to);
    // Every node is cleared even after a stop, so that none keeps edges or a filing of the
    // former grid.
    if (m_stepsAreBoxes) TakeStepOfBox(k);
    stopped = stopped || StoppedAt(k - from);
    if (stopped) continue;
    ProjectBox(k, project);
    spread.Add(m_bounds[k]);
  }
}

void CDisplayList::CResortPlan::FetchAhead(std::size_t k, std::size_t to) const {
  // The nodes and the boxes stand far apart in memory: a node is asked for two boxes'
  // worth of steps ahead, its box (read from the node by then) one worth ahead.
  if (!m_stepsAreBoxes || m_newNodes) {
    // New nodes come out of their blocks one after the other: only the boxes are scattered.
    if (k + kFetchAhead < to) m_boxes[k + kFetchAhead]->Prefetch();
    return;
  }
  if (k + 2 * kFetchAhead < to) __builtin_prefetch(m_steps[k + 2 * kFetchAhead]);
  if (k + kFetchAhead < to) m_steps[k + kFetchAhead]->box->Prefetch();
}

void CDisplayList::CResortPlan::TakeStepOfBox(std::size_t k) {
  CDisplayNode& node = *m_steps[k];
  if (m_newNodes) {
    // Reset here, on the threads, rather than as the node was given out.
    ResetNode(node);
    node.box = m_boxes[k];
    node.key = node.stamp = m_keys.empty() ? kNoKey : m_keys[k];
    m_list.m_boxes.Find(node.box)->nodes[0] = &node;
  } else {
    m_boxes[k] = node.box;
  }
  ClearForStep(node, k);
  m_boxOfStep[k] = static_cast<std::uint32_t>(k);
}

void CDisplayList::CResortPlan::ProjectBox(std::size_t k,
                                           const std::function<void(CBox&)>& project) {
  CBox& box = *m_boxes[k];
  box.SetListed(false);
  project(box);
  m_bounds[k] = CScreenGrid::BoundsOf(box);
  m_initialWord[k] = box.GetAttributes();
  // Owners are grouped by the stretch of memory they stand in rather than one by one: a scene
  // made or read in one go lays its elements and boxes out in about the order of its steps,
  // so a group's next owner and boxes often stand beside the last ones instead of anywhere.
  const void* owner = box.GetOwner() != nullptr ? static_cast<const void*>(box.GetOwner()) : &box;
  const std::uint64_t stretch = reinterpret_cast<std::uintptr_t>(owner) >> kOwnerStretchBits;
  const std::uint64_t mixed = stretch * 0x9E3779B97F4A7C15u;
  m_groupOfBox[k] = static_cast<std::uint32_t>((mixed >> 32) % m_groups);
}

void CDisplayList::CResortPlan::PrepareBoxes() {
  // The grid reads the boxes' bounds taken as they were projected (the boxes, scattered in
  // memory, are not read again), which the preparation leaves alone: the grid is laid out
  // on this thread while the groups of owners are prepared on the others, then its bands
  // are filed on as many threads as pay for it. Every group comes before the bands: with
  // only a thread's share of them first, the threads done with theirs took up bands and
  // sat waiting for the layout. A grid of one band is filed on this thread right after its
  // layout. The words noted are filed by the last piece, once every group is done, while
  // the bands are filed: it is taken up by the first thread done with its band.
  CScreenGrid& grid = m_list.m_grid;
  const std::size_t bands = BandCount();
  const std::size_t bandPieces = bands > 1 ? bands : 0;
  std::optional<CScreenGrid::CBandFiling> filing;
  std::atomic<bool> laidOut = false;
  std::atomic<std::size_t> groupsDone = 0;
  // A group counts as done however it ends, so that the words' piece never waits in vain.
  struct CGroupDone {
    std::atomic<std::size_t>& done;
    std::size_t groups;
    ~CGroupDone() {
      if (done.fetch_add(1, std::memory_order_acq_rel) + 1 == groups) done.notify_all();
    }
  };
  // The bands are told the layout is over however it ends: a layout that fails (out of
  // memory) must come back to the caller, not leave the bands' threads waiting for it.
  // Told again at the end of the first piece, which changes nothing once told.
  struct CLayoutOver {
    std::atomic<bool>& over;
    ~CLayoutOver() {
      over.store(true, std::memory_order_release);
      over.notify_all();
    }
  };
  std::vector<std::vector<Note>> notes(m_groups);
  const std::size_t pieces = 1 + m_groups + bandPieces + 1;
  CParallelChunks::Run(pieces, pieces, [&](std::size_t piece, std::size_t, std::size_t) {
    if (piece == 0) {
      // The first piece runs on this thread before any other it might take, so a band
      // waiting for the layout waits on work under way.
      const CLayoutOver told{laidOut};
      for (std::size_t chunk = 1; chunk < m_spreads.size(); ++chunk)
        m_spreads[0].Merge(m_spreads[chunk]);
      grid.Layout(m_boxes, m_bounds, std::move(m_spreads[0]));
      filing.emplace(grid, m_steps, m_bounds, m_boxOfStep, bands);
      laidOut.store(true, std::memory_order_release);
      laidOut.notify_all();
      if (filing->Bands() == 1) filing->File(0, m_stop);
      return;
    }
    if (piece <= m_groups) {
      // Each group notes into a list of its own, handed over at the end (see CompareSteps).
      const CGroupDone counted{groupsDone, m_groups};
      std::vector<Note> own;
      PrepareOwners(piece - 1, own);
      notes[piece - 1] = std::move(own);
      return;
    }
    if (piece == pieces - 1) {
      // Every group was taken up before this piece, on threads at work.
      for (std::size_t done = groupsDone.load(std::memory_order_acquire); done < m_groups;
           done = groupsDone.load(std::memory_order_acquire))
        groupsDone.wait(done, std::memory_order_acquire);
      return FileWords(notes);
    }
    laidOut.wait(false, std::memory_order_acquire);
    if (!filing) return;  // the layout failed
    if (const std::size_t band = piece - 1 - m_groups;
        filing->Bands() > 1 && band < filing->Bands())
      filing->File(band, m_stop);
  });
  filing->Finish();
  if (!Stopped()) m_list.m_misfitsAfterLayout = grid.MisfitCount();
}

void CDisplayList::CResortPlan::PrepareOwners(std::size_t group, std::vector<Note>& notes) {
  // Each group walks only its own steps, in step order, picked out on its own thread.
  std::vector<std::uint32_t> steps;
  steps.reserve(m_steps.size() / m_groups + 1);
  for (std::size_t i = 0; i < m_steps.size(); ++i) {
    if (m_groupOfBox[m_boxOfStep[i]] == group) steps.push_back(static_cast<std::uint32_t>(i));
  }
  const auto comparer = m_list.m_rules.MakeConcurrentComparer();
  std::array<CBox*, CBoxOwner::kBodySlot + 1> kin{};
  std::array<std::uint32_t, CBoxOwner::kBodySlot + 1> before{};
  for (std::size_t n = 0; n < steps.size(); ++n) {
    if (StoppedAt(n)) return;
    // The boxes stand far apart in memory, and their owners too: each is asked for ahead.
    if (n + 2 * kFetchAhead < steps.size())
      m_boxes[m_boxOfStep[steps[n + 2 * kFetchAhead]]]->Prefetch();
    if (n + kFetchAhead < steps.size())
      __builtin_prefetch(m_boxes[m_boxOfStep[steps[n + kFetchAhead]]]->GetOwner());
    const std::size_t i = steps[n];
    CBox& box = *m_boxes[m_boxOfStep[i]];
    box.SetListed(true);
    std::size_t count = 0;
    if (const CBoxOwner* owner = box.GetOwner()) {
      for (int slot = 0; slot <= CBoxOwner::kBodySlot; ++slot) {
        CBox* other = owner->GetBox(slot);
        if (other != nullptr && other != &box) kin[count++] = other;
      }
    }
    for (std::size_t c = 0; c < count; ++c) before[c] = kin[c]->GetAttributes();
    const std::uint32_t own = box.GetAttributes();
    comparer->PrepareInsert(box);
    const auto step = static_cast<std::uint32_t>(i + 1);
    if (box.GetAttributes() != own) notes.push_back({m_boxOfStep[i], step, box.GetAttributes()});
    for (std::size_t c = 0; c < count; ++c) {
      if (kin[c]->GetAttributes() == before[c]) continue;
      if (const BoxNodes* entry = m_list.m_boxes.Find(kin[c]))
        notes.push_back({entry->index, step, kin[c]->GetAttributes()});
    }
  }
}

void CDisplayList::CResortPlan::FileWords(const std::vector<std::vector<Note>>& notes) {
  // A box's notes all come from the thread of its owner, in step order.
  m_firstWord.assign(m_boxes.size() + 1, 0);
  for (const auto& group : notes) {
    for (const Note& note : group) ++m_firstWord[note.box + 1];
  }
  for (std::size_t k = 1; k < m_firstWord.size(); ++k) m_firstWord[k] += m_firstWord[k - 1];
  m_words.resize(m_firstWord.back());
  std::vector<std::uint32_t> next(m_firstWord.begin(), m_firstWord.end() - 1);
  for (const auto& group : notes) {
    for (const Note& note : group) m_words[next[note.box]++] = {note.step, note.word};
  }
}

std::uint32_t CDisplayList::CResortPlan::WordAt(std::uint32_t box, std::size_t step) const {
  std::uint32_t word = m_initialWord[box];
  for (std::uint32_t v = m_firstWord[box]; v < m_firstWord[box + 1]; ++v) {
    if (m_words[v].first > step + 1) break;
    word = m_words[v].second;
  }
  return word;
}

// The earlier steps whose nodes that step's insertion compares with, as FindCandidates
// finds them among the listed nodes, in step order.
void CDisplayList::CResortPlan::FindEarlierMet(std::size_t step,
                                               std::vector<std::uint32_t>& met) const {
  met.clear();
  const std::uint32_t box = m_boxOfStep[step];
  if (m_stepFlags[step] & CDepthOrderRules::kSecondNode) met.push_back(m_firstNodes[box]->step);
  const CScreenGrid::Bounds& bounds = m_bounds[box];
  if (!bounds.finite) return;
  // The grid's entries and the bounds taken as the boxes were projected tell the steps met
  // (those StrictlyOverlap finds), without going to their nodes or boxes, scattered in
  // memory.
  auto consider = [&](std::uint32_t other) {
    const std::uint32_t otherBox = m_boxOfStep[other];
    if (otherBox != box && bounds.StrictlyOverlaps(m_bounds[otherBox])) met.push_back(other);
  };
  const auto before = static_cast<std::uint32_t>(step);
  if (!m_list.m_grid.QueryEarlier(bounds, before,
                                  [&](const CScreenGrid::Entry& entry) { consider(entry.step); })) {
    for (std::uint32_t j = 0; j < before; ++j) {
      if (m_bounds[m_boxOfStep[j]].finite) consider(j);
    }
  }
  std::sort(met.begin(), met.end());
  met.erase(std::unique(met.begin(), met.end()), met.end());
}

std::size_t CDisplayList::CResortPlan::MinComparedStepsPerThread() const {
  return m_newNodes ? kMinComparedNewStepsPerThread : kMinStepsPerThread;
}

std::size_t CDisplayList::CResortPlan::PrepareAnswers() {
  // Later steps meet more earlier ones: pieces smaller than a thread's share even out.
  const std::size_t chunks =
      kPiecesPerThread * CParallelChunks::ChunkCount(m_steps.size(), MinComparedStepsPerThread());
  m_answers.assign(chunks, {});
  m_alike.assign(chunks, {});
  m_stepAnswers.resize(m_steps.size());
  return chunks;
}

void CDisplayList::CResortPlan::CompareAhead() {
  const std::size_t chunks = PrepareAnswers();
  CParallelChunks::Run(
      m_steps.size(), chunks,
      [&](std::size_t chunk, std::size_t from, std::size_t to) { CompareSteps(chunk, from, to); });
}

void CDisplayList::CResortPlan::CompareSteps(std::size_t chunk, std::size_t from, std::size_t to) {
  const auto comparer = m_list.m_rules.MakeConcurrentComparer();
  std::vector<std::uint32_t> met;
  // Lists of this thread's own, handed over at the end: those of neighbouring chunks
  // share cache lines, which every answer written would pass to and fro.
  std::vector<Answer> answers;
  std::vector<Answer> alike;
  for (std::size_t i = from; i < to; ++i) {
    if (StoppedAt(i - from)) break;
    // Each step's box, and its owner, stand far apart in memory: asked for ahead. The
    // step's node is not read, the box taken from the plan's own table.
    if (i + 2 * kFetchAhead < to) m_boxes[m_boxOfStep[i + 2 * kFetchAhead]]->Prefetch();
    if (i + kFetchAhead < to) __builtin_prefetch(m_boxes[m_boxOfStep[i + kFetchAhead]]->GetOwner());
    FindEarlierMet(i, met);
    const CBox& box = *m_boxes[m_boxOfStep[i]];
    const std::uint32_t word = WordAt(m_boxOfStep[i], i);
    StepAnswers& spot = m_stepAnswers[i];
    spot.chunk = static_cast<std::uint32_t>(chunk);
    spot.from = static_cast<std::uint32_t>(answers.size());
    spot.alikeFrom = static_cast<std::uint32_t>(alike.size());
    // A box without an owner is prepared once, at its own step: its word then is its
    // last, as Insert reads it.
    const bool mayRide = m_mayRide && m_stepFlags[i] == 0 && box.GetOwner() == nullptr;
    for (const std::uint32_t otherStep : met) {
      CDisplayNode* const other = m_steps[otherStep];
      const CBox& otherBox = *m_boxes[m_boxOfStep[otherStep]];
      const std::uint32_t otherWord = WordAt(m_boxOfStep[otherStep], i);
      const int r = comparer->CompareDepth(box, word, otherBox, otherWord, m_stepFlags[i],
                                           m_stepFlags[otherStep]);
      if (r != 0) answers.push_back({other, r});
      if (mayRide && m_stepFlags[otherStep] == 0 && m_list.m_rules.AnswerAlike(box, otherBox))
        alike.push_back({other, r});
    }
    spot.to = static_cast<std::uint32_t>(answers.size());
    spot.alikeTo = static_cast<std::uint32_t>(alike.size());
  }
  m_answers[chunk] = std::move(answers);
  m_alike[chunk] = std::move(alike);
}

void CDisplayList::CResortPlan::CompareAndLink() {
  // The links of a chunk's steps need only the answers of those steps and the links made
  // before: this thread links each chunk as soon as it is compared, while the others
  // compare the later ones, rather than all threads but one waiting for the links at the
  // end. Each chunk is claimed by a ticket: a thread that would wait for a chunk that no
  // other has claimed (no worker to be had) compares it itself.
  const std::size_t chunks = PrepareAnswers();
  const std::size_t count = m_steps.size();
  auto firstOf = [&](std::size_t chunk) { return count * chunk / chunks; };
  std::atomic<std::size_t> tickets = 0;
  const std::unique_ptr<std::atomic<bool>[]> compared(new std::atomic<bool>[chunks]);
  for (std::size_t chunk = 0; chunk < chunks; ++chunk) compared[chunk].store(false);
  auto compareNext = [&] {
    const std::size_t chunk = tickets.fetch_add(1, std::memory_order_relaxed);
    if (chunk >= chunks) return false;
    CompareSteps(chunk, firstOf(chunk), firstOf(chunk + 1));
    compared[chunk].store(true, std::memory_order_release);
    compared[chunk].notify_all();
    return true;
  };
  // Riders leave the grid once no thread queries it any more, in the order they came.
  std::vector<CDisplayNode*> riders;
  auto linkAsCompared = [&] {
    BeginLink();
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
      while (!compared[chunk].load(std::memory_order_acquire)) {
        if (!compareNext()) compared[chunk].wait(false, std::memory_order_acquire);
      }
      for (std::size_t i = firstOf(chunk); i < firstOf(chunk + 1); ++i) LinkStep(i, &riders);
    }
  };
  // The links are the first piece, on this thread; each other piece compares chunks while
  // there are any.
  const std::size_t pieces = 1 + CParallelChunks::ChunkCount(count, MinComparedStepsPerThread());
  CParallelChunks::Run(pieces, pieces, [&](std::size_t piece, std::size_t, std::size_t) {
    if (piece == 0) return linkAsCompared();
    while (compareNext()) {}
  });
  for (CDisplayNode* node : riders) m_list.m_grid.Remove(node);
}

const CDisplayList::Answer* CDisplayList::CResortPlan::CoincidingHead(std::size_t step) const {
  // The first in list order of the boxes met that answer alike and ride with none.
  const StepAnswers& spot = m_stepAnswers[step];
  const std::vector<Answer>& alike = m_alike[spot.chunk];
  const Answer* head = nullptr;
  for (std::size_t k = spot.alikeFrom; k < spot.alikeTo; ++k) {
    const CDisplayNode* other = alike[k].other;
    if (other->head == nullptr && (head == nullptr || other->label < head->other->label))
      head = &alike[k];
  }
  return head;
}

void CDisplayList::CResortPlan::ClearGroup(CDisplayNode& node) {
  node.head = node.groupFirst = node.groupLast = nullptr;
  node.riders = 0;
}

void CDisplayList::CResortPlan::Link() {
  BeginLink();
  for (std::size_t i = 0; i < m_steps.size(); ++i) LinkStep(i, nullptr);
}

void CDisplayList::CResortPlan::BeginLink() {
  CDisplayList& list = m_list;
  list.m_head = list.m_tail = nullptr;
  list.m_size = 0;
  list.m_riders = 0;
  // The steps' order, not the keys', but of boxes new to an empty list, whose keys it is.
  if (!m_newNodes) {
    list.m_keyed = false;
    list.m_dirty.clear();
  }
}

void CDisplayList::CResortPlan::LinkStep(std::size_t i, std::vector<CDisplayNode*>* riders) {
  CDisplayList& list = m_list;
  // The steps' nodes stand far apart in memory, and this one thread writes to each in
  // turn: each is asked for a few steps ahead rather than waited for.
  if (i + kFetchAhead < m_steps.size()) PrefetchNode(*m_steps[i + kFetchAhead]);
  CDisplayNode* node = m_steps[i];
  node->flags = m_stepFlags[i];
  ClearGroup(*node);
  if (node->flags & CDepthOrderRules::kSecondNode)
    list.m_boxes.Find(node->box)->nodes = {m_firstNodes[m_boxOfStep[i]], node};
  const StepAnswers& spot = m_stepAnswers[i];
  if (const Answer* head = CoincidingHead(i)) {
    if (riders != nullptr) riders->push_back(node);
    else list.m_grid.Remove(node);
    list.AddRider(node, head->other, head->answer < 0);
    return;
  }
  const std::vector<Answer>& answers = m_answers[spot.chunk];
  ++list.m_generation;
  list.m_answers.clear();
  // Riders are met by none: they are not in the grid Insert looks in.
  for (std::size_t k = spot.from; k < spot.to; ++k) {
    if (answers[k].other->head == nullptr) list.m_answers.push_back(answers[k]);
  }
  std::sort(list.m_answers.begin(), list.m_answers.end(),
            [](const Answer& a, const Answer& b) { return a.other->label < b.other->label; });
  list.LinkAnswers(node, list.m_answers);
  list.Append(node);
  if (list.m_firstFront != nullptr) list.PlaceBefore(node, list.m_firstFront);
}

void CDisplayList::CResortPlan::KeepWalk() {
  if (m_list.m_size != m_list.m_boxes.Size() || m_list.m_size != m_steps.size()) return;
  auto walk = std::make_shared<CWalk>();
  SortByDistinctKeyOnThreads(
      std::span<CDisplayNode* const>(m_steps),
      [](const CDisplayNode& node) -> const std::int64_t& { return node.label; }, *walk);
  m_list.KeepWalk(std::move(walk));
}

void CDisplayList::CResortPlan::Restore() {
  // The list kept its order and its nodes their marks; the boxes become listed again with
  // their faces' flags cleared, as the quick projection left them. The grid holds the
  // nodes filed so far but the riders, or none.
  if (m_list.m_riders != 0) {
    for (CDisplayNode* node : m_steps) {
      if (node->head != nullptr) m_list.m_grid.Remove(node);
    }
  }
  const std::size_t chunks = CParallelChunks::ChunkCount(m_boxes.size(), kMinStepsPerThread);
  CParallelChunks::Run(m_boxes.size(), chunks, [&](std::size_t, std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to; ++k) {
      m_boxes[k]->SetListed(true);
      m_boxes[k]->ClearFaceNibbles();
    }
  });
}
