#include "model/bom/item_numbering.h"

CItemNumbering& CItemNumbering::Instance() {
  static CItemNumbering numbering;
  return numbering;
}
