#pragma once

#include <cstdint>

class CDev;

// The record a source last found for a bill line's reference, kept with the mark of the
// source's lists it was found in, so that reading the line again while the lists are
// unchanged skips the look-up by reference: in a run of tens of thousands of lines that
// look-up misses the cache at every line. The source alone fills and reads it.
struct CBOMKeptRecord {
  std::uint64_t lists = 0;  // 0: nothing kept
  const CDev* record = nullptr;
};
