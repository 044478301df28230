#pragma once

#include "platform/number_format.h"

#include <optional>
#include <string>

// One unit of a CDimension: how a number in that unit is written, the unit's name as
// shown and typed (a trailing blank is part of it), and its size in scaled internal
// units (1000 for metres when lengths are held in millimetres). Input units never use
// their format, so it may be absent there.
struct CDimensionUnit {
  std::optional<CNumberFormat> format;
  std::string suffix;
  double factor = 0.0;
};
