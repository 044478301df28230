#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "geometry/parallel_chunks.h"

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

}  // namespace parallel_key_sort

// `sorted` gets the items in the order of keyOf(item), an std::int64_t.
template <class Item, class KeyOf, class Out>
void SortByDistinctKeyOnThreads(std::span<Item* const> items, KeyOf keyOf,
                                std::vector<Out>& sorted) {
  using namespace parallel_key_sort;
  using Keyed = std::pair<std::int64_t, Item*>;
  const auto byKey = [](const Keyed& a, const Keyed& b) { return a.first < b.first; };
  const std::size_t count = items.size();
  const std::size_t pieces = CParallelChunks::ChunkCount(count, kMinItemsPerPiece);
  std::vector<Keyed> keyed(count);
  sorted.resize(count);
  if (pieces == 1) {
    for (std::size_t k = 0; k < count; ++k) keyed[k] = {keyOf(*items[k]), items[k]};
    std::sort(keyed.begin(), keyed.end(), byKey);
    for (std::size_t k = 0; k < count; ++k) sorted[k] = keyed[k].second;
    return;
  }
  std::vector<std::int64_t> sample;
  for (std::size_t k = 0; k < pieces * kSamplesPerPiece; ++k)
    sample.push_back(keyOf(*items[k * count / (pieces * kSamplesPerPiece)]));
  std::sort(sample.begin(), sample.end());
  std::vector<std::int64_t> splitters;
  for (std::size_t b = 1; b < pieces; ++b) splitters.push_back(sample[b * kSamplesPerPiece]);
  // Of each piece: how many of its items each bucket gets, then where the next one goes.
  std::vector<std::vector<std::size_t>> counts(pieces, std::vector<std::size_t>(pieces, 0));
  std::vector<std::int64_t> keys(count);
  std::vector<std::uint8_t> bucketOf(count);
  CParallelChunks::Run(count, pieces, [&](std::size_t piece, std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to; ++k) {
      if (k + kFetchAhead < to) __builtin_prefetch(items[k + kFetchAhead]);
      keys[k] = keyOf(*items[k]);
      bucketOf[k] = static_cast<std::uint8_t>(BucketOf(keys[k], splitters));
      ++counts[piece][bucketOf[k]];
    }
  });
  std::vector<std::size_t> bucketStart(pieces + 1, 0);
  std::size_t at = 0;
  for (std::size_t bucket = 0; bucket < pieces; ++bucket) {
    bucketStart[bucket] = at;
    for (std::size_t piece = 0; piece < pieces; ++piece)
      at += std::exchange(counts[piece][bucket], at);
  }
  bucketStart[pieces] = at;
  CParallelChunks::Run(count, pieces, [&](std::size_t piece, std::size_t from, std::size_t to) {
    std::vector<std::size_t>& next = counts[piece];
    for (std::size_t k = from; k < to; ++k) keyed[next[bucketOf[k]]++] = {keys[k], items[k]};
  });
  CParallelChunks::Run(pieces, pieces, [&](std::size_t bucket, std::size_t, std::size_t) {
    const auto first = keyed.begin() + static_cast<std::ptrdiff_t>(bucketStart[bucket]);
    const auto last = keyed.begin() + static_cast<std::ptrdiff_t>(bucketStart[bucket + 1]);
    std::sort(first, last, byKey);
    for (std::size_t k = bucketStart[bucket]; k < bucketStart[bucket + 1]; ++k)
      sorted[k] = keyed[k].second;
  });
}
