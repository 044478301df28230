#include "model/bom/bom_column_kind.h"

#include <array>

#include "app/message_text.h"
#include "model/bom/bom_texts.h"
#include "model/bom/bom_title_texts.h"

namespace {

struct KindEntry {
  std::string_view key;
  int titleNumber;
};

constexpr std::array<KindEntry, 21> kKinds{{
    {"Ref", kMsgBOMTitleRef},
    {"Qte", kMsgBOMTitleQuantity},
    {"PrixU", kMsgBOMTitleUnitPrice},
    {"PrixT", kMsgBOMTitleTotalPrice},
    {"Remise", kMsgBOMTitleDiscount},
    {"CoefVente", kMsgBOMTitleSalesCoefficient},
    {"PrixV", kMsgBOMTitleSalesPrice},
    {"PrixVU", kMsgBOMTitleUnitSalesPrice},
    {"RemiseGlob", kMsgBOMTitleGlobalDiscount},
    {"CoefGlob", kMsgBOMTitleGlobalCoefficient},
    {"TPoseU", kMsgBOMTitleUnitTime},
    {"TPoseT", kMsgBOMTitleTotalTime},
    {"Comment", kMsgBOMTitleComment},
    {"Dessin", kMsgBOMTitlePicture},
    {"Designation", kMsgBOMTitleDesignation},
    {"PoidsU", kMsgBOMTitleUnitWeight},
    {"PoidsT", kMsgBOMTitleTotalWeight},
    {"PrixVR", kMsgBOMTitleFurtherPrice},
    {"ENumber", 0},
    {"?", 0},
    {"Sans", 0},
}};

}  // namespace

std::string_view BOMColumnKey(int kind) {
  if (kind < 0 || kind >= static_cast<int>(kKinds.size())) return "?";
  return kKinds[static_cast<std::size_t>(kind)].key;
}

int BOMDefaultTitleNumber(int kind) {
  if (kind < 0 || kind >= static_cast<int>(kKinds.size())) return 0;
  return kKinds[static_cast<std::size_t>(kind)].titleNumber;
}

std::string BOMDefaultTitle(int kind) {
  const int number = BOMDefaultTitleNumber(kind);
  return number == 0 ? std::string() : BOMTitleText(number);
}

bool IsBOMPriceAdjustmentKind(int kind) {
  return kind == kBOMKindDiscount || kind == kBOMKindSalesCoefficient ||
         kind == kBOMKindGlobalDiscount || kind == kBOMKindGlobalCoefficient;
}
