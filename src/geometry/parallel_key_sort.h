#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "geometry/parallel_chunks.h"
#include "geometry/uninitialized_allocator.h"

// Items scattered in memory put in the order of keys that all differ, the least first, on
// the processor's threads. A sample of the keys cuts their range into a bucket a piece;
// each piece reads its items' keys and counts them by bucket, then files them there, and
// each bucket is sorted on its own: three rounds over the threads, since a round waits for
// its slowest thread. With distinct keys the order is the one std::sort gives.
namespace parallel_key_sort {

// Fewer items than this a piece are sorted on one thread.
constexpr std::size_t kMinItemsPerPiece = 8192;
// Keys each piece gives the sample: enough for buckets of nearly even sizes.
constexpr std::size_t kSamplesPerPiece = 64;
// How many items ahead a piece asks for an item's memory.
constexpr std::size_t kFetchAhead = 8;

// The bucket of a key among the splitters: how many are not above it.
inline std::size_t BucketOf(std::int64_t key, const std::vector<std::int64_t>& splitters) {
  return static_cast<std::size_t>(std::upper_bound(splitters.begin(), splitters.end(), key) -
                                  splitters.begin());
}

// Asks for the memory of the item's key: where keyOf gives the key itself (a member of the
// item), the bytes that hold it rather than the item's first ones, which a large item does
// not share with its key.
template <class Item, class KeyOf>
void FetchKey(const Item& item, KeyOf& keyOf) {
  if constexpr (std::is_reference_v<decltype(keyOf(item))>) {
    __builtin_prefetch(&keyOf(item));
  } else {
    __builtin_prefetch(&item);
  }
}

// The keys that cut the items into that many buckets of nearly even sizes, read from a
// sample of them.
template <class Item, class KeyOf>
std::vector<std::int64_t> Splitters(std::span<Item* const> items, KeyOf& keyOf,
                                    std::size_t buckets) {
  const std::size_t samples = buckets * kSamplesPerPiece;
  std::vector<std::int64_t> sample;
  for (std::size_t k = 0; k < samples; ++k)
    sample.push_back(keyOf(*items[k * items.size() / samples]));
  std::sort(sample.begin(), sample.end());
  std::vector<std::int64_t> splitters;
  for (std::size_t b = 1; b < buckets; ++b) splitters.push_back(sample[b * kSamplesPerPiece]);
  return splitters;
}

// Where each bucket starts, from each piece's count of its items by bucket; each count
// becomes the place of the piece's first item of that bucket.
inline std::vector<std::size_t> BucketStarts(std::vector<std::vector<std::size_t>>& counts) {
  const std::size_t buckets = counts.empty() ? 0 : counts.front().size();
  std::vector<std::size_t> starts(buckets + 1, 0);
  std::size_t at = 0;
  for (std::size_t bucket = 0; bucket < buckets; ++bucket) {
    starts[bucket] = at;
    for (std::vector<std::size_t>& piece : counts) at += std::exchange(piece[bucket], at);
  }
  starts[buckets] = at;
  return starts;
}

}  // namespace parallel_key_sort

// `sorted` gets the items in the order of keyOf(item), an std::int64_t or a reference to the
// item's own (whose memory is then asked for ahead).
template <class Item, class KeyOf, class Out>
void SortByDistinctKeyOnThreads(std::span<Item* const> items, KeyOf keyOf,
                                std::vector<Out>& sorted) {
  namespace keysort = parallel_key_sort;
  struct Keyed {
    std::int64_t first;
    Item* second;
  };
  const auto byKey = [](const Keyed& a, const Keyed& b) { return a.first < b.first; };
  const std::size_t count = items.size();
  const std::size_t pieces = CParallelChunks::ChunkCount(count, keysort::kMinItemsPerPiece);
  // The working arrays are filled on the threads, item by item: not zeroed before.
  std::vector<Keyed, CUninitializedAllocator<Keyed>> keyed(count);
  sorted.resize(count);
  if (pieces == 1) {
    for (std::size_t k = 0; k < count; ++k) keyed[k] = {keyOf(*items[k]), items[k]};
    std::sort(keyed.begin(), keyed.end(), byKey);
    for (std::size_t k = 0; k < count; ++k) sorted[k] = keyed[k].second;
    return;
  }
  const std::vector<std::int64_t> splitters = keysort::Splitters(items, keyOf, pieces);
  // Of each piece: how many of its items each bucket gets, then where the next one goes.
  std::vector<std::vector<std::size_t>> counts(pieces, std::vector<std::size_t>(pieces, 0));
  std::vector<std::int64_t, CUninitializedAllocator<std::int64_t>> keys(count);
  std::vector<std::uint8_t, CUninitializedAllocator<std::uint8_t>> bucketOf(count);  // <= 8 pieces
  // Each piece counts and places with tallies of its own, handed over at the end: the
  // pieces' small lists share cache lines, which every item counted would pass to and fro.
  CParallelChunks::Run(count, pieces, [&](std::size_t piece, std::size_t from, std::size_t to) {
    std::vector<std::size_t> tally(pieces, 0);
    for (std::size_t k = from; k < to; ++k) {
      if (k + keysort::kFetchAhead < to) keysort::FetchKey(*items[k + keysort::kFetchAhead], keyOf);
      keys[k] = keyOf(*items[k]);
      bucketOf[k] = static_cast<std::uint8_t>(keysort::BucketOf(keys[k], splitters));
      ++tally[bucketOf[k]];
    }
    counts[piece] = std::move(tally);
  });
  const std::vector<std::size_t> starts = keysort::BucketStarts(counts);
  CParallelChunks::Run(count, pieces, [&](std::size_t piece, std::size_t from, std::size_t to) {
    std::vector<std::size_t> next = counts[piece];
    for (std::size_t k = from; k < to; ++k) keyed[next[bucketOf[k]]++] = {keys[k], items[k]};
  });
  CParallelChunks::Run(pieces, pieces, [&](std::size_t bucket, std::size_t, std::size_t) {
    const auto first = keyed.begin() + static_cast<std::ptrdiff_t>(starts[bucket]);
    const auto last = keyed.begin() + static_cast<std::ptrdiff_t>(starts[bucket + 1]);
    std::sort(first, last, byKey);
    for (std::size_t k = starts[bucket]; k < starts[bucket + 1]; ++k) sorted[k] = keyed[k].second;
  });
}
