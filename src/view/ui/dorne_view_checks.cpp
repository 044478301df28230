#include <QPainter>

#include "geometry/box.h"
#include "model/document/check_message_presenter.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/ui/check_dialog_presenter.h"
#include "view/draw_mapping.h"
#include "view/ui/dorne_view.h"

// The run rebuild started from the layout view, and what its design-check dialog asks
// of the view: the corners of the elements a message names, the circle that marks them
// and the zoom around them.

bool CDorneView::RebuildCurrentRun() {
  if (m_document == nullptr) return false;
  CCheckDialogPresenter presenter(this, this, {});
  CCheckMessagePresenter* previous = SetCheckMessagePresenter(&presenter);
  const bool rebuilt = m_document->RebuildCurrentRunParts();
  SetCheckMessagePresenter(previous);
  SetHighlight(0, 0, 0, true);
  return rebuilt;
}

std::vector<std::pair<double, double>> CDorneView::ProjectedCorners(const CDev& element) const {
  std::vector<std::pair<double, double>> corners;
  for (int slot = 0; slot < CBoxOwner::kSlotCount; ++slot) {
    const CBox* box = element.GetBox(slot);
    if (box == nullptr) continue;
    for (int corner = 0; corner < CBox::kCornerCount; ++corner) {
      const C3DPoint point = box->GetProjectedCorner(corner);
      corners.emplace_back(point.x, point.y);
    }
  }
  return corners;
}

void CDorneView::SetHighlight(double x, double y, int radius, bool) {
  m_highlight = {x, y, radius};
  update();
}

void CDorneView::ZoomToRect(const CZoomRect& rect) {
  if (m_document == nullptr) return;
  CViewWindow window = ViewWindow();
  window.ZoomAll(
      CRect{static_cast<std::int32_t>(rect.left), static_cast<std::int32_t>(rect.top),
            static_cast<std::int32_t>(rect.right), static_cast<std::int32_t>(rect.bottom)},
      1.0, ClientSize());
  Store(window);
}

void CDorneView::PaintHighlight(QPainter& painter, const CDrawMapping& mapping) const {
  if (m_highlight.radius <= 0) return;
  const CPoint centre = mapping.ToDevice(
      {static_cast<std::int32_t>(m_highlight.x), static_cast<std::int32_t>(m_highlight.y)});
  const CSize radius = mapping.SizeToDevice({m_highlight.radius, m_highlight.radius});
  painter.setPen(QPen(Qt::red, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QPoint(centre.x, centre.y), std::abs(radius.cx), std::abs(radius.cy));
}
