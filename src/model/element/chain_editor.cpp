#include "model/element/chain_editor.h"

#include "model/element/kit_limits.h"

int CChainEditor::ClampKitcf(CDev& element, CKitLimits& limits) {
  return ClampElementKit(element, limits);
}
