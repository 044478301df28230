#pragma once

#include "app/unit_entry.h"
#include "model/props/dimension.h"

#include <span>
#include <string>

// The length unit of a document, built from the units table ("dims.dbf").
struct CLengthUnit {
  CDimension dimension = CDimension::Metric();
  int unitId = -1;      // the record's identifier; -1 for the built-in metric unit
  std::string refusal;  // why the record of the asked identifier was refused, else empty
};

// At most this many coefficients are taken from one list of a units record.
constexpr std::size_t kMaxUnitCoefficients = 20;

// The unit of the first record whose identifier reads as `id`: its base coefficient is
// the scale, its input and output texts and coefficients ("|"-separated) the units.
// The built-in metric unit (id -1) when no record has that identifier, or when the
// record is refused: a scale that is not a number above 0 (a table must not make the
// program divide by zero), a coefficient missing or not above 0, or an output format
// that is not a plain one-number format.
CLengthUnit BuildLengthUnit(std::span<const CUnitEntry> units, int id);
