#include "model/chain_editor.h"

int CChainEditor::ClampKitcf(CDev& element, CKitLimits& limits) {
  (void)element;
  limits = CKitLimits{};
  return 0;
}
