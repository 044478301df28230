#pragma once

#include <cstdint>

#include "model/dev.h"

// What the element record's writer and reader agree on beyond the record's layout.
namespace ElementRecordForm {

// Style bits that select an equipment box; its six values follow the boxes.
constexpr std::uint32_t kEquipmentBits = 0x03000000;

// Variants from 20 on of end elements and kind-8 units travel in the "STYLE" property.
inline bool StoresStyleProperty(const CDev& element) {
  const int kind = element.GetKind();
  return (kind == CDev::kEnd || kind == CDev::kInLineVariant) && element.GetVariant() >= 20;
}

}  // namespace ElementRecordForm
