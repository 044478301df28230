#pragma once

#include <memory>
#include <string>

#include "model/element/dev.h"
#include "model/builder/part_builder.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"

// A small range for the builder and rebuild benchmarks: ends, straights, an in-line
// unit, an elbow, a joint and a support row, with fixed pieces of 3,000 and 2,000 mm and
// range pieces of 500 to 2,900 mm.
class CBenchBuilder : public CPartBuilder {
 public:
  explicit CBenchBuilder(CRun& run) : CPartBuilder(run) {
    AddPartDef("???????3000", "3000", "", "0");
    AddPartDef("???????2000", "2000", "", "0");
    AddPartDef("???????RNGE", "500-2900", "", "0");
  }
  std::string GetPartReference(const CSegment& segment, int entryIndex, int) override {
    return segment[static_cast<std::size_t>(entryIndex)].element->GetReference();
  }
  std::string GetPartParameters(const CPlannedPart&) override { return {}; }
  int GetElbowReference(const CSegment&) override { return 1; }
  int SelectCandidate(const CSegment& segment, int) override {
    return static_cast<int>(segment.size()) - 1;
  }
};

inline CRangeTables& BenchRangeTables() {
  static CRangeTables tables = [] {
    CRangeTables t;
    t.codes = {{{"0", "0", "END-0", ""}},
               {{"7", "0", "STR-0", ""}},
               {{"7", "1", "UNIT-1", ""}},
               {{"2", "0", "ELB-0", ""}},
               {{"64", "0", "JNT-0", ""}},
               {{"80", "0", "????????????SUPPORT???", "????????????SUPPORT???"}}};
    t.patterns = {{{"END-0", "100", "100", "100", "100", "100", "100"}},
                  {{"UNIT-1", "150", "150", "150", "150", "150", "150"}}};
    return t;
  }();
  return tables;
}
