#include "view/annotation_label_box.h"

#include <algorithm>

#include "app/message_text.h"
#include "model/annotation/annotation_label.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_totals.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/annotation_bitmap.h"
#include "view/annotation_geometry.h"
#include "view/draw_context.h"
#include "view/scene_drawing.h"

namespace {

constexpr int kMsgBomItem = 31446;
constexpr int kMsgBomQuantity = 31456;
constexpr int kMsgBomReference = 31462;
constexpr std::array<int, 3> kBomFields = {22, 1, 23};
constexpr std::string_view kSectionSample = "QQQ - 0000A";
constexpr std::size_t kTitleMeasuringLines = 2;
constexpr int kFullScale = 100;

// Measures in the context's font, through the pass's known extents when there are any.
struct CMeasuring {
  const CDrawContext& dc;
  CLabelTextExtents* known;
  CSize Extent(std::string_view text) const {
    return known != nullptr ? known->Of(dc, text) : dc.GetTextExtent(text);
  }
  CTextMeasure Measure() const {
    return [this](std::string_view text) { return Extent(text); };
  }
};

void AppendGridLines(const CBOMGrid& grid, std::vector<CLabelLine>& lines) {
  for (int row = 1; row < grid.GetLineCount(); ++row) {
    CLabelLine line;
    for (int field : kBomFields) line.push_back({grid.GetLineFieldText(row, field).value_or("")});
    lines.push_back(std::move(line));
  }
}

// The totals table lists the lines of every run merged by reference, as the total page
// of the bill of materials does.
void AppendTotalLines(const CDorneDoc& document, std::vector<CLabelLine>& lines) {
  const std::vector<CRun*> runs = document.GetRuns();
  if (runs.empty()) return;
  std::vector<CBOMTotalsPage> pages;
  for (const CRun* run : runs) pages.push_back({&run->GetBOM(), run->GetPartsState() != 0});
  CBOMGrid total;
  total.CopyLayoutFrom(runs.front()->GetBOM());
  CBOMTotals().Compute(total, pages, false, false);
  AppendGridLines(total, lines);
}

std::vector<CLabelLine> BomLines(const CDorneDoc& document, const CAnnotation& annotation) {
  std::vector<CLabelLine> lines;
  lines.push_back(
      {{StringText(kMsgBomItem)}, {StringText(kMsgBomQuantity)}, {StringText(kMsgBomReference)}});
  if (const CRun* run = annotation.GetOwnerRun(); run != nullptr) {
    AppendGridLines(run->GetBOM(), lines);
  } else if (annotation.GetOwnerKind() == EAnnotationOwner::kTotalsPage) {
    AppendTotalLines(document, lines);
  }
  return lines;
}

void TakePicture(const CAnnotation& annotation, const CSceneDrawOptions& options, CLabelBox& box) {
  const std::optional<std::string> path =
      FindPictureFile(annotation.GetText(), options.documentFolder);
  const auto bytes = path ? ReadPictureFile(*path) : std::nullopt;
  if (bytes) box.picture = DecodeBitmap(*bytes);
  box.pictureUnusable = !box.picture;
}

CSize PictureSize(const CAnnotation& annotation, const CBitmapDesc& picture, double scale) {
  const auto* label =
      annotation.IsLabel() ? static_cast<const CAnnotationLabel*>(&annotation) : nullptr;
  const auto percent = [](std::uint32_t value) {
    return value == 0 || value > 1000 ? kFullScale : static_cast<int>(value);
  };
  const int sx = label != nullptr ? percent(label->GetFontColor()) : kFullScale;
  const int sy = label != nullptr ? percent(label->GetBackground()) : kFullScale;
  return {static_cast<std::int32_t>(picture.width * sx / kFullScale * scale) + 2,
          static_cast<std::int32_t>(picture.height * sy / kFullScale * scale) + 2};
}

std::string PictureName(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

CSize MeasureLines(CLabelBox& box, const CMeasuring& measuring, CSize margins) {
  box.layout = MeasureLabelLines(box.lines, measuring.Measure(), margins);
  CSize size = box.layout.size;
  for (std::size_t i = 0; i < box.hiddenLines && i < box.layout.lineHeights.size(); ++i)
    size.cy -= box.layout.lineHeights[i];
  return size;
}

CSize MeasureKind(CLabelBox& box, const CMeasuring& dc, const CDorneDoc& document,
                  const CAnnotation& annotation, CSize margins, const CSceneDrawOptions& options) {
  switch (annotation.GetKind()) {
    case CAnnotation::kBranch:
    case CAnnotation::kDimension:
    case CAnnotation::kPosition:
    case CAnnotation::kDistance: {
      box.lines = {{{AnnotationDisplayText(annotation, document.GetUnits(), true)}}};
      return MeasureLines(box, dc, margins);
    }
    case CAnnotation::kBom:
      box.lines = BomLines(document, annotation);
      return MeasureLines(box, dc, margins);
    case CAnnotation::kImage: {
      TakePicture(annotation, options, box);
      if (box.picture) return PictureSize(annotation, *box.picture, options.annotationScale);
      box.lines = {{{PictureName(annotation.GetText())}}};
      return MeasureLines(box, dc, margins);
    }
    default: break;
  }
  box.lines = SplitLabelText(annotation.GetText());
  if (annotation.GetKind() == CAnnotation::kTitleBlock) box.hiddenLines = kTitleMeasuringLines;
  CSize size = MeasureLines(box, dc, margins);
  if (annotation.GetKind() == CAnnotation::kRunInfo) {
    const std::int32_t lineHeight = box.layout.lineHeights.empty() ? 0 : box.layout.lineHeights[0];
    size.cx = std::max(size.cx, 80 * 3 * lineHeight / 17) + 4 * margins.cx;
    size.cy += 4 * margins.cy;
  } else if (annotation.GetKind() == CAnnotation::kSection) {
    const std::int32_t side = 2 * dc.Extent(kSectionSample).cx;
    size.cx = std::max(size.cx, side);
    box.sectionSide = size.cx;
    size.cy += size.cx;
  }
  return size;
}

}  // namespace

CLabelBox MeasureAnnotation(CDrawContext& dc, const CDorneDoc& document,
                            const CAnnotation& annotation, CPoint position, CSize margins,
                            const CSceneDrawOptions& options, CLabelTextExtents* known) {
  CLabelBox box;
  const CSize size = MeasureKind(box, {dc, known}, document, annotation, margins, options);
  switch (annotation.GetKind()) {
    case CAnnotation::kBranch:
    case CAnnotation::kDimension:
    case CAnnotation::kPosition:
    case CAnnotation::kDistance:
      box.rect = {position.x - size.cx / 2, position.y - size.cy / 2,
                  position.x - size.cx / 2 + size.cx, position.y - size.cy / 2 + size.cy};
      break;
    case CAnnotation::kTitleBlock:
      box.rect = {position.x - size.cx, position.y - size.cy, position.x, position.y};
      break;
    default: box.rect = {position.x, position.y, position.x + size.cx, position.y + size.cy};
  }
  return box;
}

CSize CLabelTextExtents::Of(const CDrawContext& dc, std::string_view text) {
  const CLogFont& font = dc.Font();
  if (!m_font || !(*m_font == font)) {
    m_font = font;
    m_known.clear();
  }
  std::string& key = m_key;
  key.assign(text);
  const auto found = m_known.find(key);
  if (found != m_known.end()) return found->second;
  const CSize extent = dc.GetTextExtent(text);
  m_known.emplace(key, extent);
  return extent;
}
