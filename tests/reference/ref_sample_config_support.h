#pragma once

#include "reference/ref_config.h"
#include "reference/ref_project.h"
#include "support/temp_folder.h"

// The option lists of the program's sample (its ref_conf.cfg), loaded for a settings
// folder of the test's own.
class CRefSampleConfig {
 public:
  CRefSampleConfig();
  ~CRefSampleConfig();
  CRefConfig config;

 private:
  CTempFolder m_folder{"ref-sample-config"};
};

// A project line of a product (group from the sample's product flags), named, with one
// item of the given unit price and quantity.
CRefLine MakeProjectLine(int group, int kind, const char* name, std::int32_t unitPrice = 0,
                         std::int32_t quantity = 0);
