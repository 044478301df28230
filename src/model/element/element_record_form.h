#pragma once

#include <cstdint>

#include "model/element/dev.h"

// What the element record's writer and reader agree on beyond the record's layout.
namespace ElementRecordForm {

// Style bits that select an equipment box; its six values follow the boxes in files
// of versions after kEquipmentValuesAfter.
constexpr std::uint32_t kEquipmentBits = 0x03000000;
constexpr int kEquipmentValuesAfter = 490;
// The fewest bytes an element record takes: counts of records are weighed against the
// rest of the stream with it, so that a damaged count fails at once.
constexpr std::uint64_t kMinRecordBytes = 100;

// Variants from 20 on of end elements and kind-8 units travel in the "STYLE" property.
inline bool StoresStyleProperty(const CDev& element) {
  const int kind = element.GetKind();
  return (kind == CDev::kEnd || kind == CDev::kInLineVariant) && element.GetVariant() >= 20;
}

}  // namespace ElementRecordForm
