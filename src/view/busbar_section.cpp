#include "view/busbar_section.h"

#include <algorithm>
#include <charconv>

#include "model/annotation/annotation.h"
#include "model/run/run.h"
#include "view/draw_context.h"

namespace {

int LeadingInt(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The pen of the section: moves and lines in the context's coordinates, with relative
// steps from the last point.
class CSectionPen {
 public:
  explicit CSectionPen(CDrawContext& dc) : m_dc(dc) {}
  void Move(std::int32_t x, std::int32_t y) { m_x = x, m_y = y, m_dc.MoveTo(x, y); }
  void Line(std::int32_t x, std::int32_t y) { m_x = x, m_y = y, m_dc.LineTo(x, y); }
  void MoveBy(std::int32_t dx, std::int32_t dy) { Move(m_x + dx, m_y + dy); }
  void LineBy(std::int32_t dx, std::int32_t dy) { Line(m_x + dx, m_y + dy); }
  // A closed rectangle from its top-left corner, back to where it began, its top side
  // first (or its left side first when drawn downward).
  void Frame(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, bool down = false) {
    Move(x, y);
    if (down) Line(x, y + h), Line(x + w, y + h), Line(x + w, y), Line(x, y);
    else Line(x + w, y), Line(x + w, y + h), Line(x, y + h), Line(x, y);
  }

 private:
  CDrawContext& m_dc;
  std::int32_t m_x = 0;
  std::int32_t m_y = 0;
};

// Where the section lies and at which scale, in the context's coordinates.
struct CSectionFrame {
  double scale = 0;
  std::int32_t x0 = 0, y0 = 0, w = 0, h = 0;
  int housingHeight = 0;  // millimetres, before scaling
  int neutral = 0;
  std::int32_t Mm(double k) const { return static_cast<std::int32_t>(k * scale); }
};

void DrawQj(CSectionPen& pen, const CSectionFrame& f, int digit) {
  const std::int32_t a = f.Mm(30), a2 = a / 2, c = f.Mm(63), e = f.Mm(25);
  const std::int32_t w = f.w, h = f.h;
  pen.Move(f.x0, f.y0);
  pen.LineBy(a, 0), pen.LineBy(a2, a2), pen.LineBy(w - 3 * a, 0), pen.LineBy(a2, -a2);
  pen.LineBy(a, 0);
  pen.LineBy(0, c), pen.MoveBy(0, -e), pen.LineBy(-e, 0), pen.LineBy(0, h - 2 * c + 2 * e);
  pen.LineBy(e, 0), pen.MoveBy(0, -e), pen.LineBy(0, c);
  pen.LineBy(-a, 0), pen.LineBy(-a2, -a2), pen.LineBy(-(w - 3 * a), 0), pen.LineBy(-a2, a2);
  pen.LineBy(-a, 0);
  pen.LineBy(0, -c), pen.MoveBy(0, e), pen.LineBy(e, 0), pen.LineBy(0, -(h - 2 * c + 2 * e));
  pen.LineBy(-e, 0), pen.MoveBy(0, e), pen.LineBy(0, -c);
  const int k = 4 * digit;
  const std::int32_t p = f.Mm(72) / 4;
  for (int j = 0; j < k; ++j) {
    const std::int32_t x = f.x0 + (w - (k - 1) * p) / 2 + j * p;
    pen.Frame(x, f.y0 + c - e, 1, h - 2 * c + 2 * e, true);
  }
}

void DrawQd(CSectionPen& pen, const CSectionFrame& f) {
  pen.Frame(f.x0, f.y0, f.w, f.h);
  const std::int32_t b = f.Mm(20), d = (f.h - 2 * b) / 3, inset = f.Mm(6);
  for (int j = 0; j < 4; ++j) pen.Frame(f.x0 + inset, f.y0 + b + j * d, f.w - 2 * inset, 1);
}

void DrawQg(CSectionPen& pen, const CSectionFrame& f) {
  const int n = f.neutral;
  const std::int32_t g = f.w / (n + 1);
  pen.Frame(f.x0, f.y0, (n + 1) * g, f.h);
  const std::int32_t gap = f.Mm(30);
  const std::int32_t h2 = (f.h - 2 * g - gap) / 2;
  for (int i = 1; i <= n; ++i) {
    const std::int32_t x = f.x0 + i * g;
    if (f.housingHeight <= 270) {
      pen.Move(x, f.y0 + g), pen.Line(x, f.y0 + f.h - g);
      continue;
    }
    pen.Move(x, f.y0 + g), pen.Line(x, f.y0 + g + h2);
    pen.Move(x, f.y0 + g + h2 + gap), pen.Line(x, f.y0 + g + 2 * h2 + gap);
  }
}

void DrawQp(CSectionPen& pen, const CSectionFrame& f) {
  const std::int32_t a = f.Mm(20), a2 = a / 2, w = f.w, h = f.h;
  pen.Move(f.x0, f.y0);
  pen.LineBy(a, 0), pen.LineBy(0, a2), pen.LineBy(w - 2 * a, 0), pen.LineBy(0, -a2);
  pen.LineBy(a, 0), pen.LineBy(0, a), pen.LineBy(-a2, 0), pen.LineBy(0, h - 2 * a);
  pen.Move(f.x0 + w, f.y0 + h), pen.LineBy(0, -a), pen.LineBy(-w, 0), pen.LineBy(0, a);
  pen.Move(f.x0 + a2, f.y0 + h - a), pen.LineBy(0, -(h - 2 * a)), pen.LineBy(-a2, 0);
  pen.LineBy(0, -a);
  const std::int32_t p = (h - 5 * a2) / 4;
  for (int i = 0; i < 5; ++i) {
    if (i == 1 && f.neutral == 3) continue;
    pen.Frame(f.x0 + a, f.y0 + a + i * p, w - 2 * a, 1);
  }
}

void DrawUnit(CSectionPen& pen, const CSectionFrame& f, std::int32_t yu, std::int32_t hu,
              std::int32_t m1, std::int32_t m2) {
  const int n = std::min(f.neutral, 5);
  const std::int32_t g = m2 / (n + 1);
  const std::int32_t xs = f.x0 + (f.w - (n + 1) * g) / 2;
  const std::int32_t x1 = f.x0 + f.w;
  pen.Move(f.x0, yu + m1), pen.Line(f.x0, yu), pen.Line(x1, yu), pen.Line(x1, yu + m1 + 1);
  pen.Move(f.x0, yu + hu - m1), pen.Line(f.x0, yu + hu), pen.Line(x1, yu + hu);
  pen.Line(x1, yu + hu - m1 - 1);
  for (int i = 0; i <= n + 1; ++i) {
    const std::int32_t x = xs + i * g;
    const bool wall = i == 0 || i == n + 1;
    pen.Move(x, wall ? yu : yu + g), pen.Line(x, wall ? yu + hu : yu + hu - g);
  }
}

void DrawQmQw(CSectionPen& pen, const CSectionFrame& f, bool qm) {
  const std::int32_t m1 = f.Mm(qm ? 15 : 8), m2 = f.Mm(qm ? 60 : 20);
  if (f.housingHeight < 618) return DrawUnit(pen, f, f.y0, f.h, m1, m2);
  const std::int32_t hu = f.Mm(244);
  DrawUnit(pen, f, f.y0, hu, m1, m2);
  DrawUnit(pen, f, f.y0 + hu + f.Mm(130), hu, m1, m2);
}

void DrawOutlineOfRange(CSectionPen& pen, const CSectionFrame& f, const CBusbarSection& s) {
  switch (s.range) {
    case 'J': return DrawQj(pen, f, s.ratingDigit);
    case 'D': return DrawQd(pen, f);
    case 'G': return DrawQg(pen, f);
    case 'P': return DrawQp(pen, f);
    case 'M': return DrawQmQw(pen, f, true);
    case 'W': return DrawQmQw(pen, f, false);
    default: return;
  }
}

void DrawDimensions(CDrawContext& dc, CSectionPen& pen, const CSectionFrame& f, const CRect& sq,
                    std::int32_t mx, std::int32_t my) {
  const std::int32_t x0 = f.x0, y0 = f.y0, w = f.w, h = f.h, l = sq.left, b = sq.bottom;
  pen.Move(x0 - 2 * mx, y0), pen.Line(l - 2 * mx, y0);
  pen.Line(l - 3 * mx, y0 + my), pen.Line(l - mx, y0 + my), pen.Line(l - 2 * mx, y0);
  pen.Line(l - 2 * mx, y0 + h);
  pen.Line(l - mx, y0 + h - my), pen.Line(l - 3 * mx, y0 + h - my), pen.Line(l - 2 * mx, y0 + h);
  pen.Line(x0 - 2 * mx, y0 + h);
  pen.Move(x0, y0 + h + 2 * my), pen.Line(x0, b + 2 * my);
  pen.Line(x0 + mx, b + my), pen.Line(x0 + mx, b + 3 * my), pen.Line(x0, b + 2 * my);
  pen.Line(x0 + w, b + 2 * my);
  pen.Line(x0 + w - mx, b + 3 * my), pen.Line(x0 + w - mx, b + my), pen.Line(x0 + w, b + 2 * my);
  pen.Line(x0 + w, y0 + h + 2 * my);
  dc.DrawText("h", CRect{l - mx, sq.top, sq.right, b},
              text_format::kSingleLine | text_format::kVerticalCenter);
}

}  // namespace

std::optional<CBusbarSection> BusbarSectionOf(const CRun& run, std::string_view labelText) {
  const std::vector<CCodeLabelRow>* ratings = run.GetRatingList();
  if (ratings == nullptr || ratings->empty()) return std::nullopt;
  CBusbarSection section;
  section.range = labelText.size() > 1 ? labelText[1] : 0;
  const CReferenceRow scale = run.FindReference(ratings->back().code);
  section.scaleWidth = scale.Width();
  section.scaleHeight = scale.Height();
  const CReferenceRow own = run.FindReference();
  section.width = own.Width();
  section.height = own.Height();
  section.neutral = LeadingInt(run.GetPropText("Neutral"));
  const char digit = labelText.size() > 6 ? labelText[6] : 0;
  section.ratingDigit = digit >= '0' && digit <= '9' ? digit - '0' : 0;
  return section;
}

void DrawBusbarSection(CDrawContext& dc, const CBusbarSection& section, const CRect& square,
                       std::int32_t mx, std::int32_t my) {
  CSectionFrame f;
  const bool scaled = section.scaleWidth > 0 && section.scaleHeight > 0;
  if (scaled) {
    f.scale = section.scaleWidth > section.scaleHeight
                  ? double(square.Width()) / section.scaleWidth
                  : double(square.Height()) / section.scaleHeight;
  }
  // A housing the catalogue does not give (or cannot be scaled) is not drawn: the label
  // keeps its dimension lines only.
  const bool housing = scaled && section.width > 0 && section.height > 0;
  if (housing) f.w = f.Mm(section.width), f.h = f.Mm(section.height);
  f.housingHeight = section.height;
  f.neutral = std::max(section.neutral, 0);
  f.x0 = (square.left + square.right) / 2 - f.w / 2;
  f.y0 = (square.top + square.bottom) / 2 - f.h / 2;
  CSectionPen pen(dc);
  pen.Move(f.x0, f.y0);
  if (housing) DrawOutlineOfRange(pen, f, section);
  DrawDimensions(dc, pen, f, square, mx, my);
}

void DrawSectionLabelSymbol(CDrawContext& dc, const CAnnotation& annotation, const CRect& square,
                            CSize margins) {
  const CRun* run = annotation.GetOwnerRun();
  if (run == nullptr) return;
  if (const auto section = BusbarSectionOf(*run, annotation.GetText()))
    DrawBusbarSection(dc, *section, square, margins.cx, margins.cy);
}
