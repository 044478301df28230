#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <queue>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "view/dxf_entity_list.h"

// The lines and texts of a drawing in file order, and what filled figures drawn later
// hide of them, as CDxfEntityList has it, with the entities shared out among upright
// bands of the area by where their middle lies, each band a list of its own. Hiding
// takes every entity apart from all others, so the bands together remove and cut exactly
// what one list would, and the file order (the order of appending, a line's pieces in
// its place) is theirs merged. With workers, the bands hide on that many threads while
// the caller goes on drawing, a band on one thread at a time, taken by whichever thread
// is free (and by the caller while it waits), so that a band with more work, or a thread
// kept from running, holds the others up less: every band takes its steps in the order
// given, so the result does not depend on how the threads run.
class CDxfBandedEntities {
 public:
  // One list takes the steps until splitAt entities were appended (a small drawing is
  // hidden faster on the caller's thread than handed over), then the bands, on `workers`
  // threads (none: on the caller's).
  CDxfBandedEntities(CPoint low, CPoint high, int bands, int workers, std::uint64_t splitAt = 0);
  ~CDxfBandedEntities();
  CDxfBandedEntities(const CDxfBandedEntities&) = delete;
  CDxfBandedEntities& operator=(const CDxfBandedEntities&) = delete;

  std::uint64_t AppendedCount() const { return m_appended; }
  void Append(CDxfEntity entity);
  void HideUnder(std::span<const CPoint> polygon, std::uint64_t start);

  // What follows waits for the workers to take every step given so far.
  std::size_t Size();
  std::vector<CDxfEntity> InOrder();
  template <typename Visit>
  void ForEach(Visit visit) {
    Settle();
    // The bands by the order of their next entity, the first on top: each entity costs a
    // few comparisons however many bands there are.
    using Next = std::pair<std::uint64_t, int>;
    std::priority_queue<Next, std::vector<Next>, std::greater<>> next;
    std::vector<int> places;
    for (const auto& band : m_lists) {
      places.push_back(band->list.FirstPlace());
      if (places.back() >= 0)
        next.emplace(band->list.OrderAt(places.back()), static_cast<int>(places.size()) - 1);
    }
    CDxfEntity line;
    while (!next.empty()) {
      const auto [order, band] = next.top();
      next.pop();
      const CDxfEntityList& list = m_lists[band]->list;
      int& place = places[band];
      for (; place >= 0 && list.OrderAt(place) == order; place = list.NextPlace(place))
        visit(list.At(place, line));
      if (place >= 0) next.emplace(list.OrderAt(place), band);
    }
  }

 private:
  // An entity to append (first is its place in the band's entities), or a figure to hide
  // under (its corners in the batch's points from first on).
  struct Step {
    std::uint64_t orderOrStart = 0;
    std::uint32_t first = 0;
    std::uint32_t pointCount = 0;  // 0: an entity
  };
  // Each band's steps and entities apart, so that a band reads only its own entities, one
  // after the other, and the figures that may hide some of them, not every step of the
  // drawing from another core's cache.
  struct BandSteps {
    std::vector<Step> steps;
    std::vector<CDxfEntity> entities;
  };
  struct Batch {
    std::vector<BandSteps> bands;
    std::vector<CPoint> points;
  };

  int BandOf(const CDxfEntity& entity) const;
  // Shares the one list's entities out among the bands and starts their workers.
  void Split();
  void StartWorkers();
  // What the band's entities reach grows by the entity's.
  void Reach(int band, const CDxfEntity& entity);
  void Take(int band, const Batch& batch);
  // Hands the steps gathered so far to the bands.
  void Publish();
  // Publishes and waits until every band took every step, taking steps itself meanwhile;
  // rethrows what a worker threw.
  void Settle();
  void Work(int worker);
  // A band that has steps waiting and no thread on it, the first from `from` on; -1 when
  // none. With the lock held.
  int BandToTake(int from) const;
  // Takes the steps waiting for the band, the lock released meanwhile.
  void TakeWaiting(int band, std::unique_lock<std::mutex>& lock);
  void StopWorkers();

  CPoint m_low;
  CPoint m_high;
  int m_bands;
  int m_workerCount;
  std::uint64_t m_splitAt;
  bool m_split = false;
  // A band's list, kept by one thread at a time once the workers run: no two bands share
  // a cache line, which would pass from core to core at every entity. The batches waiting
  // and whether a thread is on the band are the lock's.
  struct alignas(64) Band {
    Band(CPoint low, CPoint high) : list(low, high) {}
    CDxfEntityList list;
    std::deque<std::shared_ptr<const Batch>> waiting;
    bool taken = false;
  };
  std::vector<std::unique_ptr<Band>> m_lists;
  // What each band's entities ever reached, kept as they are handed over: a figure beyond
  // it hides nothing there, and the band is not given it.
  std::vector<std::optional<CDxfBounds>> m_reaches;
  std::uint64_t m_appended = 0;
  // Steps are handed over in batches, so that the threads meet seldom.
  Batch m_gathered;
  std::size_t m_gatheredSteps = 0;
  std::mutex m_mutex;
  // Steps came, a band was let go with steps waiting, or every step was taken.
  std::condition_variable m_changed;
  std::size_t m_untaken = 0;  // batches not yet taken, counted once a band
  std::exception_ptr m_fault;
  // Set under the lock; read without it between batches.
  std::atomic<bool> m_stopping = false;
  std::vector<std::thread> m_workers;
};
