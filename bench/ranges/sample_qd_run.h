#pragma once

#include "model/element/dev.h"
#include "model/run/run.h"
#include "ranges/qd/run_qd.h"
#include "sample_ranges.h"

#include <cstdint>
#include <memory>

// A QDA run of six elements a block and two ends: two straights, a pair of flat elbows
// 1 m apart, a straight, a single elbow back to the first direction.
inline std::unique_ptr<CRunQD> LayQDRun(int blocks) {
  auto run = std::make_unique<CRunQD>("A", nullptr);
  run->SetProp("Calibre", "06");
  CDev* at = AppendSampleElement(*run, nullptr, 4, CDev::kEnd, 0);
  run->SetCurrentElement(at);
  for (int i = 0; i < blocks; ++i) {
    at = AppendSampleElement(*run, at, 4, CDev::kInLine, 3000);
    at = AppendSampleElement(*run, at, 4, CDev::kInLine, 2000);
    at = AppendSampleElement(*run, at, 4, CDev::kElbow, 0);
    at = AppendSampleElement(*run, at, 1, CDev::kInLine, 1000);
    at = AppendSampleElement(*run, at, 1, CDev::kElbow, 0);
    at = AppendSampleElement(*run, at, 4, CDev::kInLine, 4500);
  }
  AppendSampleElement(*run, at, 4, CDev::kEnd, 0);
  return run;
}
