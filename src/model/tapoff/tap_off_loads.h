#pragma once

#include <cstdint>
#include <string_view>

class CRun;

// The spacing of the automatic distribution from the "Design"/"TapOff2Load" text
// "first/second": the second number less the first, neither below 0 (no "/": the second
// is 30000); never below 0.
std::int64_t TapOffSpacing(std::string_view setting);

// Why the distribution below cannot run on the run, the first cause found: its parts not
// built, built with errors, no unit chosen, or a unit of another function than the
// distributing one (6). kNone when it can run.
enum class ETapOffLoadsRefusal {
  kNone,
  kPartsNotBuilt,
  kPartsWithErrors,
  kNoUnit,
  kNotDistributed
};
ETapOffLoadsRefusal TapOffLoadsRefusal(const CRun& run);
bool CanDistributeTapOffLoads(const CRun& run);

// Distributes units of the remembered choice (function 6 only) along a run built without
// errors, walking it from its feed: wherever a unit stands farther than the spacing from
// the last reference unit, a new unit is placed at the nearest free outlet before it, or
// the unit is marked (bit 0x2000 of its mask) when there is none. 2 when a unit was
// marked, plus 1 when one was placed; 0 when nothing could be done (message 30164 when
// the run has no element to start from).
int ComputeRunTapOffLoads(CRun& run, std::string_view setting);
