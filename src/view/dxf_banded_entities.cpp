#include "view/dxf_banded_entities.h"

#include <algorithm>
#include <system_error>

namespace {

// Steps a batch gathers before the bands get it: enough that handing it over costs
// little beside the hiding, few enough that the workers start early.
constexpr std::size_t kStepsABatch = 512;

}  // namespace

CDxfBandedEntities::CDxfBandedEntities(CPoint low, CPoint high, int bands, int workers,
                                       std::uint64_t splitAt)
    : m_low(low),
      m_high(high),
      m_bands(std::max(1, bands)),
      m_workerCount(std::clamp(workers, 0, m_bands)),
      m_splitAt(splitAt) {
  m_lists.push_back(std::make_unique<Band>(low, high));
  m_reaches.resize(1);
  if (m_splitAt == 0) Split();
}

void CDxfBandedEntities::Split() {
  const std::unique_ptr<Band> first = std::move(m_lists.front());
  const CDxfEntityList& whole = first->list;
  m_lists.clear();
  for (int band = 0; band < m_bands; ++band) {
    m_lists.push_back(std::make_unique<Band>(m_low, m_high));
    m_lists.back()->list.TakeSizesOf(whole);
  }
  m_reaches.assign(m_lists.size(), std::nullopt);
  CDxfEntity line;
  int band = 0;
  std::optional<std::uint64_t> last;
  for (int place = whole.FirstPlace(); place >= 0; place = whole.NextPlace(place)) {
    const CDxfEntity& entity = whole.At(place, line);
    const std::uint64_t order = whole.OrderAt(place);
    // The pieces of a line stay together in the band of the first, so that the bands'
    // entities merge into file order by their order alone.
    if (order != last) band = BandOf(entity);
    last = order;
    Reach(band, entity);
    m_lists[band]->list.AppendFrom(whole, place);
  }
  m_split = true;
  m_gathered.bands.resize(m_lists.size());
  if (m_workerCount > 0) StartWorkers();
}

void CDxfBandedEntities::StartWorkers() {
  try {
    for (int worker = 0; worker < m_workerCount; ++worker)
      m_workers.emplace_back([this, worker] { Work(worker); });
  } catch (const std::system_error&) {
    // Without threads to be had, the caller hides on every band itself.
    StopWorkers();
    m_workers.clear();
  }
}

CDxfBandedEntities::~CDxfBandedEntities() { StopWorkers(); }

void CDxfBandedEntities::StopWorkers() {
  {
    const std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_changed.notify_all();
  for (std::thread& worker : m_workers) worker.join();
}

int CDxfBandedEntities::BandOf(const CDxfEntity& entity) const {
  const std::int64_t middle = (std::int64_t{entity.p1.x} + entity.p2.x) / 2;
  const std::int64_t width = std::max<std::int64_t>(1, std::int64_t{m_high.x} - m_low.x);
  const std::int64_t bands = m_bands;
  return static_cast<int>(
      std::clamp<std::int64_t>((middle - m_low.x) * bands / width, 0, bands - 1));
}

void CDxfBandedEntities::Append(CDxfEntity entity) {
  if (!m_split) {
    m_lists.front()->list.Append(std::move(entity), m_appended++);
    if (m_appended >= m_splitAt && m_bands > 1) Split();
    return;
  }
  const int band = BandOf(entity);
  Reach(band, entity);
  BandSteps& gathered = m_gathered.bands[band];
  const auto first = static_cast<std::uint32_t>(gathered.entities.size());
  gathered.entities.push_back(std::move(entity));
  gathered.steps.push_back({m_appended++, first, 0});
  if (++m_gatheredSteps >= kStepsABatch) Publish();
}

void CDxfBandedEntities::Reach(int band, const CDxfEntity& entity) {
  std::optional<CDxfBounds>& reach = m_reaches[band];
  if (reach) {
    reach->Add(entity.p1);
    reach->Add(entity.p2);
  } else {
    reach = CDxfBounds::Of(entity.p1, entity.p2);
  }
}

void CDxfBandedEntities::HideUnder(std::span<const CPoint> polygon, std::uint64_t start) {
  if (!m_split) {
    m_lists.front()->list.HideUnder(polygon, start);
    return;
  }
  // A list hides nothing under fewer corners.
  if (polygon.size() < 3) return;
  CDxfBounds area = CDxfBounds::Of(polygon[0], polygon[0]);
  for (CPoint corner : polygon) area.Add(corner);
  const Step step{start, static_cast<std::uint32_t>(m_gathered.points.size()),
                  static_cast<std::uint32_t>(polygon.size())};
  bool given = false;
  for (std::size_t band = 0; band < m_lists.size(); ++band) {
    if (!m_reaches[band] || !m_reaches[band]->Meets(area)) continue;
    m_gathered.bands[band].steps.push_back(step);
    given = true;
    ++m_gatheredSteps;
  }
  if (given) m_gathered.points.insert(m_gathered.points.end(), polygon.begin(), polygon.end());
  if (m_gatheredSteps >= kStepsABatch) Publish();
}

void CDxfBandedEntities::Take(int band, const Batch& batch) {
  CDxfEntityList& list = m_lists[band]->list;
  const BandSteps& steps = batch.bands[band];
  for (const Step& step : steps.steps) {
    if (step.pointCount == 0) {
      list.Append(steps.entities[step.first], step.orderOrStart);
    } else {
      list.HideUnder(std::span(batch.points).subspan(step.first, step.pointCount),
                     step.orderOrStart);
    }
  }
}

void CDxfBandedEntities::Publish() {
  if (m_gatheredSteps == 0) return;
  auto batch = std::make_shared<const Batch>(std::move(m_gathered));
  m_gathered = {};
  m_gathered.bands.resize(m_lists.size());
  m_gatheredSteps = 0;
  if (m_workers.empty()) {
    for (std::size_t band = 0; band < m_lists.size(); ++band) Take(static_cast<int>(band), *batch);
    return;
  }
  {
    const std::lock_guard lock(m_mutex);
    // A band with no step in the batch has nothing to wait for.
    for (std::size_t band = 0; band < m_lists.size(); ++band) {
      if (batch->bands[band].steps.empty()) continue;
      m_lists[band]->waiting.push_back(batch);
      ++m_untaken;
    }
  }
  m_changed.notify_all();
}

void CDxfBandedEntities::Settle() {
  Publish();
  if (m_workers.empty()) return;
  std::unique_lock lock(m_mutex);
  for (int band = 0; m_untaken > 0;) {
    band = BandToTake(band);
    if (band >= 0) {
      TakeWaiting(band, lock);
    } else {
      m_changed.wait(lock);
      band = 0;
    }
  }
  if (m_fault) std::rethrow_exception(m_fault);
}

int CDxfBandedEntities::BandToTake(int from) const {
  const int bands = static_cast<int>(m_lists.size());
  for (int i = 0; i < bands; ++i) {
    const int band = (from + i) % bands;
    if (!m_lists[band]->taken && !m_lists[band]->waiting.empty()) return band;
  }
  return -1;
}

void CDxfBandedEntities::TakeWaiting(int band, std::unique_lock<std::mutex>& lock) {
  Band& taken = *m_lists[band];
  taken.taken = true;
  std::deque<std::shared_ptr<const Batch>> batches = std::move(taken.waiting);
  taken.waiting.clear();
  const std::size_t count = batches.size();
  const bool failed = m_fault != nullptr;
  lock.unlock();
  std::exception_ptr fault;
  // After a fault the band lists are no longer whole: the batches left are only
  // counted off, and the caller learns of it when it reads.
  if (!failed) {
    try {
      for (const auto& batch : batches) {
        // Stopping, the lists go with their owner: what was still to take is dropped.
        if (m_stopping.load(std::memory_order_relaxed)) break;
        Take(band, *batch);
      }
    } catch (...) {
      fault = std::current_exception();
    }
  }
  // The last band through a batch lets it go, outside the lock.
  batches.clear();
  lock.lock();
  taken.taken = false;
  if (fault && !m_fault) m_fault = fault;
  m_untaken -= count;
  // Steps that came for the band meanwhile are this thread's to take next; a caller waiting
  // for every step to be taken may read now.
  if (m_untaken == 0) m_changed.notify_all();
}

void CDxfBandedEntities::Work(int worker) {
  // Each worker starts on bands of its own and keeps to the band it took while that
  // has steps, so that a band's list mostly stays in one core's cache.
  int band = worker * static_cast<int>(m_lists.size()) / m_workerCount;
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [&] { return m_stopping || BandToTake(band) >= 0; });
    // Stopping, the lists go with their owner: what was still to take is dropped.
    if (m_stopping) return;
    band = BandToTake(band);
    TakeWaiting(band, lock);
  }
}

std::size_t CDxfBandedEntities::Size() {
  Settle();
  std::size_t size = 0;
  for (const auto& band : m_lists) size += band->list.Size();
  return size;
}

std::vector<CDxfEntity> CDxfBandedEntities::InOrder() {
  std::vector<CDxfEntity> entities;
  entities.reserve(Size());
  ForEach([&entities](const CDxfEntity& entity) { entities.push_back(entity); });
  return entities;
}
