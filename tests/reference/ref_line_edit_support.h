#pragma once

#include "reference/ref_config.h"
#include "reference/ref_line_edit.h"
#include "ref_test_support.h"

// The built-in option lists of every product in a special mode, as a load starts them.
inline CRefConfig DefaultRefConfig(int specialMode = 0) {
  CRefConfig config;
  config.SetSpecialMode(specialMode);
  for (int p = 0; p < kRefProductCount; ++p)
    config.Product(p) = ref_defaults::ProductOptions(p, specialMode);
  return config;
}

// A line being edited, with the configurator it belongs to.
struct CRefEditFixture {
  CRefEditFixture(int kind, int rating, int specialMode = 0)
      : config(DefaultRefConfig(specialMode)),
        line(MakeRefLine(kind, rating)),
        context(config, line, &notifier) {}
  CRefConfig config;
  CRefLine line;
  CRefRecordingNotifier notifier;
  CRefLineEditContext context;
};
