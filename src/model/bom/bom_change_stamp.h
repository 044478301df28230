#pragma once

#include <cstdint>

// A mark of everything the line values of a bill-of-materials grid read (see
// CBOMGrid::GetChangeStamp): the same exactly as long as none of it changed, and never
// shared by two states of any grids. The default stamp is no grid's.
struct CBOMChangeStamp {
  std::uint64_t grid = 0;
  std::uint64_t everyBill = 0;
  bool operator==(const CBOMChangeStamp&) const = default;
};
