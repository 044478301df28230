#include "view/ui/bom_view.h"

#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include "app/message_text.h"
#include "grid/ui/grid_control.h"
#include "model/document/dorne_doc.h"
#include "view/bom_print_layout.h"

namespace {

constexpr int kMsgSheetNumber = 31463;

void DrawHeaderAndFooter(QPainter& painter, const QRect& r, const CDorneDoc& document, int sheet) {
  const int th = painter.fontMetrics().height();
  std::string author = document.GetDocProperty("Modifier");
  if (author.empty()) author = document.GetDocProperty("Creator");
  painter.drawText(QRect(r.left(), r.top(), r.width(), th), Qt::AlignLeft,
                   QString::fromStdString(document.GetDocProperty("Name")));
  painter.drawText(QRect(r.left(), r.top(), r.width(), th), Qt::AlignRight,
                   QString::fromStdString(author));
  painter.drawLine(r.left(), r.top() + th + 1, r.right(), r.top() + th + 1);
  painter.drawLine(r.left(), r.bottom() - th - 3, r.right(), r.bottom() - th - 3);
  const std::string footer = FormatMessageTextD(kMsgSheetNumber, sheet);
  painter.drawText(QRect(r.left(), r.bottom() - th - 1, r.width(), th + 1), Qt::AlignHCenter,
                   QString::fromStdString(footer));
}

}  // namespace

int CBOMView::Print(QPrinter& printer) {
  if (m_shown == nullptr) return 0;
  const QRectF paperMm = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  const QScreen* screen = this->screen();
  const double dpi = screen != nullptr ? screen->physicalDotsPerInchX() : 96.0;
  const double mmPerPixel = 25.4 / (dpi > 0 ? dpi : 96.0);
  const CGridModel& grid = m_shown->GetModel();
  const CBOMPrintLayout layout(paperMm.width(), paperMm.height(), mmPerPixel, grid.GetTotalWidth(),
                               grid.GetTotalHeight(), m_document.GetPrintScale());
  QPainter painter(&printer);
  if (!painter.isActive()) return 0;
  const QRect device = painter.viewport();
  for (int sheet = 0; sheet < layout.SheetCount(); ++sheet) {
    if (sheet > 0) printer.newPage();
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    layout.SheetCells(sheet, left, top, right, bottom);
    painter.save();
    // Screen pixels of the sheet onto the printer's, then the grid scaled into the margins.
    painter.setWindow(0, 0, static_cast<int>(layout.pageWidth),
                      static_cast<int>(layout.pageHeight));
    painter.setViewport(device);
    const double marginLeft = CBOMPrintLayout::kMarginLeft / mmPerPixel;
    const double marginTop = CBOMPrintLayout::kMarginTop / mmPerPixel;
    painter.setClipRect(
        QRectF(marginLeft, marginTop,
               layout.pageWidth - marginLeft - CBOMPrintLayout::kMarginRight / mmPerPixel,
               layout.pageHeight - marginTop - CBOMPrintLayout::kMarginBottom / mmPerPixel));
    painter.translate(marginLeft, marginTop);
    painter.scale(layout.scale, layout.scale);
    painter.translate(-static_cast<double>(left), -static_cast<double>(top));
    m_shown->DrawCells(painter, static_cast<int>(left), static_cast<int>(top),
                       static_cast<int>(right), static_cast<int>(bottom));
    painter.restore();
    DrawHeaderAndFooter(painter, device, m_document, sheet + 1);
  }
  return layout.SheetCount();
}
