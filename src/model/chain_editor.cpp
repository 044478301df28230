#include "model/chain_editor.h"

#include "model/kit_limits.h"

int CChainEditor::ClampKitcf(CDev& element, CKitLimits& limits) {
  return ClampElementKit(element, limits);
}
