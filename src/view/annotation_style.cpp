#include "view/annotation_style.h"

#include <algorithm>
#include <cmath>

#include "model/annotation/annotation_label.h"
#include "platform/text_conversions.h"
#include "view/draw_context.h"

namespace {

constexpr int kScreenDotsPerInch = 96;
constexpr int kPointsPerInch = 72;
constexpr int kMarginFraction = 30;
constexpr std::int32_t kMaxPoints = 500;
constexpr CColor kBlack{0, 0, 0};
constexpr CColor kWhite{255, 255, 255};
constexpr CColor kPictureNameColour{255, 0, 0};

constexpr std::array<CAnnotationLayer, 10> kLayers{{{"DIMS1", 7},
                                                    {"DIMS2", 5},
                                                    {"POS", 3},
                                                    {"BOM", 3},
                                                    {"INFO", 2},
                                                    {"SECTION", 2},
                                                    {"TEXT", 7},
                                                    {"IMAGE", 7},
                                                    {"CART", 2},
                                                    {"DIMS3", 7}}};

bool UsableFont(const CLogFont& font) {
  return !font.faceName.empty() && font.height > 0 && font.height <= kMaxPoints;
}

CAnnotationStyle FromSlot(const CLabelStyle& slot) {
  CAnnotationStyle style{slot.font, slot.fontColor, slot.background, slot.opaque};
  if (!UsableFont(style.font)) style.font = TextToLogFont("Arial,9,0");
  return style;
}

const CLabelStyle& Slot(const CLabelSlots& slots, int kind) {
  return slots[static_cast<std::size_t>(std::clamp(kind, 0, int(kLabelStyleCount) - 1))];
}

}  // namespace

CAnnotationStyle AnnotationStyleOf(int kind, const CAnnotationLabel* label,
                                   const CLabelSlots& slots) {
  if (kind == CAnnotation::kImage) {
    CAnnotationStyle style;
    style.font = TextToLogFont("Arial,10,0");
    style.fontColor = kPictureNameColour;
    return style;
  }
  if (kind == CAnnotation::kDistance) {
    CAnnotationStyle style = FromSlot(Slot(slots, CAnnotation::kBranch));
    style.fontColor = Slot(slots, CAnnotation::kDistance).fontColor;
    return style;
  }
  CAnnotationStyle style = FromSlot(Slot(slots, kind));
  if (kind != CAnnotation::kText || label == nullptr) return style;
  const CLogFont font = label->GetFont();
  if (UsableFont(font)) style.font = font;
  style.fontColor = CColor::FromColorRef(label->GetFontColor());
  style.background = CColor::FromColorRef(label->GetBackground());
  style.opaque = (label->GetOpaque() & 0xFFu) != 0;
  return style;
}

CAnnotationLayer AnnotationLayerOf(int kind) {
  if (kind < 0 || kind >= static_cast<int>(kLayers.size())) return {"0", 7};
  return kLayers[static_cast<std::size_t>(kind)];
}

CSize SelectAnnotationStyle(CDrawContext& dc, const CAnnotationStyle& style, int kind,
                            bool monochrome, double scale) {
  CLogFont font = style.font;
  font.height = std::max<std::int32_t>(
      1, static_cast<std::int32_t>(font.height * kScreenDotsPerInch * scale / kPointsPerInch));
  dc.SelectFont(font);
  const CColor ink = monochrome ? kBlack : style.fontColor;
  const CColor paper = monochrome ? kWhite : style.background;
  dc.SetTextColor(ink);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SelectPen(CPen{PenStyle::Solid, 0, ink});
  dc.SelectBrush(style.opaque ? CBrush::Solid(paper) : CBrush::Null());
  const CAnnotationLayer layer = AnnotationLayerOf(kind);
  dc.SetLayer(layer.name, layer.color);
  const auto margin = std::max<std::int32_t>(
      1, static_cast<std::int32_t>(kScreenDotsPerInch * scale / kMarginFraction));
  return {margin, margin};
}
