#pragma once

#include "model/run_factory.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"

// The product ranges registered afresh on the sample catalogue, with the device list of
// its devices.dbf, as the benchmarks of this folder run them.
inline void SetUpSampleRanges() {
  CRangeTableCache::Instance().Reset();
  CRunFactory::Instance().Reset();
  RegisterRangeRuns();
  CRangeContext& context = CRangeContext::Instance();
  context.Reset();
  context.SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  context.SetDevices({{"1", "Straight"},
                      {"0", "End"},
                      {"8", "Special"},
                      {"7", "Pass"},
                      {"64", "System joint"},
                      {"32", "User joint"},
                      {"99", "Unknown"}});
}
