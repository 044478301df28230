#include "shell/ui/ui_script_annotations.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPrinter>
#include <QTextStream>

#include "geometry/box.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "shell/ui/layout_doc_window.h"
#include "view/annotation_edit.h"
#include "view/annotation_places.h"
#include "view/draw_mapping.h"
#include "view/ui/child_frame.h"
#include "view/ui/dorne_view.h"

namespace {

void Send(CDorneView& view, QEvent::Type type, const QPointF& at, Qt::MouseButton button,
          Qt::MouseButtons held) {
  QMouseEvent event(type, at, view.mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
}

// A point of the last drawn annotation of the kind where the mouse finds that one (other
// labels may lie over a part of it), in the view's pixels.
std::optional<QPointF> AnnotationPoint(CDorneView& view, int kind) {
  const CDorneDoc* document = view.Document();
  if (document == nullptr) return std::nullopt;
  view.repaint();
  const CAnnotationList& list = document->Annotations();
  const CAnnotationPlaces& places = view.LabelPlaces();
  for (std::size_t i = list.Size(); i-- > 0;) {
    const CAnnotation* a = list.At(i);
    const CAnnotationPlaces::CPlace* place = places.Find(*a);
    if (a->GetKind() != kind || place == nullptr) continue;
    const CRect& r = place->screen;
    constexpr int kSteps = 8;
    for (int sy = 1; sy < kSteps; ++sy) {
      for (int sx = 1; sx < kSteps; ++sx) {
        const CPoint at{r.left + r.Width() * sx / kSteps, r.top + r.Height() * sy / kSteps};
        if (HitTestAnnotations(list, places, at) == a) return QPointF(at.x, at.y);
      }
    }
  }
  return std::nullopt;
}

bool ActOnAnnotation(CDorneView& view, const QStringList& words) {
  const std::optional<QPointF> at = AnnotationPoint(view, words[2].toInt());
  if (!at) return false;
  if (words[1] == QLatin1String("drag") && words.size() == 5) {
    const QPointF to = *at + QPointF(words[3].toInt(), words[4].toInt());
    Send(view, QEvent::MouseButtonPress, *at, Qt::LeftButton, Qt::LeftButton);
    Send(view, QEvent::MouseMove, (*at + to) / 2, Qt::NoButton, Qt::LeftButton);
    Send(view, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Send(view, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    return true;
  }
  if (words[1] == QLatin1String("double") && words.size() == 3) {
    Send(view, QEvent::MouseButtonDblClick, *at, Qt::LeftButton, Qt::LeftButton);
    Send(view, QEvent::MouseButtonRelease, *at, Qt::LeftButton, Qt::NoButton);
    return true;
  }
  if (words[1] == QLatin1String("right") && words.size() == 3) {
    Send(view, QEvent::MouseButtonPress, *at, Qt::RightButton, Qt::RightButton);
    Send(view, QEvent::MouseButtonRelease, *at, Qt::RightButton, Qt::NoButton);
    return true;
  }
  return false;
}

bool CountAnnotations(const CDorneView& view, int kind, int count) {
  const CDorneDoc* document = view.Document();
  if (document == nullptr) return false;
  int found = 0;
  const CAnnotationList& list = document->Annotations();
  for (std::size_t i = 0; i < list.Size(); ++i) found += list.At(i)->GetKind() == kind ? 1 : 0;
  return found == count;
}

bool ClickBox(CDorneView& view, int elementIndex, int slot) {
  const CDorneDoc* document = view.Document();
  const CRun* run = document != nullptr ? document->GetCurrentRun() : nullptr;
  if (run == nullptr || elementIndex < 0 ||
      elementIndex >= static_cast<int>(run->GetDevices().size()))
    return false;
  const CBox* box = run->GetDevices()[static_cast<std::size_t>(elementIndex)]->GetBox(slot);
  if (box == nullptr) return false;
  C3DPoint middle;
  for (int corner = 0; corner < CBox::kCornerCount; ++corner)
    middle = middle + box->GetCorner(corner) * (1.0 / CBox::kCornerCount);
  CDrawMapping mapping;
  view.ViewWindow().ApplyTo(mapping, view.ClientSize());
  const CPoint device = mapping.ToDevice(document->Projection().ProjectPoint(middle));
  const QPointF at(device.x, device.y);
  Send(view, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
  Send(view, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  Send(view, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  return true;
}

// A close-up of an end: the view shows the boxes of one of the current run's end elements
// in chain order (a negative index counts from the last), with a margin
// of the given scene units round them.
bool ZoomOnEnd(CDorneView& view, int elementIndex, int margin) {
  const CDorneDoc* document = view.Document();
  const CRun* run = document != nullptr ? document->GetCurrentRun() : nullptr;
  std::vector<const CDev*> chain;
  if (run != nullptr)
    for (const CDev* element : run->GetChainOrder())
      if (element->GetKind() == CDev::kEnd) chain.push_back(element);
  const int count = static_cast<int>(chain.size());
  if (elementIndex < 0) elementIndex += count;
  if (elementIndex < 0 || elementIndex >= count) return false;
  const CDev& element = *chain[static_cast<std::size_t>(elementIndex)];
  std::optional<CRect> area;
  for (int slot = 0; slot < CDev::kStoredBoxCount; ++slot) {
    const CBox* box = element.GetBox(slot);
    for (int corner = 0; box != nullptr && corner < CBox::kCornerCount; ++corner) {
      const CPoint at = document->Projection().ProjectPoint(box->GetCorner(corner));
      if (!area) area = CRect{at.x, at.y, at.x, at.y};
      area = CRect{std::min(area->left, at.x), std::min(area->top, at.y),
                   std::max(area->right, at.x), std::max(area->bottom, at.y)};
    }
  }
  if (!area) return false;
  const bool zoomed = view.ZoomToRect({area->left - margin, area->top - margin},
                                      {area->right + margin, area->bottom + margin});
  QApplication::processEvents();
  return zoomed;
}

// Every annotation of the kind in list order, once the view is drawn: "drawn" or "hidden"
// and its rectangle in logical units (which the view's zoom leaves alone), a line each.
bool WriteAnnotationPlaces(CDorneView& view, int kind, const QString& path) {
  const CDorneDoc* document = view.Document();
  QFile file(path);
  if (document == nullptr || !file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
  view.repaint();
  QTextStream out(&file);
  const CAnnotationList& list = document->Annotations();
  for (std::size_t i = 0; i < list.Size(); ++i) {
    const CAnnotation& a = *list.At(i);
    if (a.GetKind() != kind) continue;
    const CAnnotationPlaces::CPlace* place = view.LabelPlaces().Find(a);
    const CRect r = place != nullptr ? place->logical : CRect{};
    out << (place != nullptr ? "drawn " : "hidden ") << r.left << ',' << r.top << ',' << r.right
        << ',' << r.bottom << '\n';
  }
  return true;
}

bool PrintToPdf(CChildFrame& frame, const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  return frame.Print(printer);
}

}  // namespace

bool RunAnnotationLine(CLayoutDocWindow& layout, const QStringList& words, bool& handled) {
  handled = true;
  CChildFrame& frame = *layout.Frame();
  CDorneView& view = *frame.View();
  const QString& verb = words.front();
  if (verb == QLatin1String("annotation") && words.size() >= 3) return ActOnAnnotation(view, words);
  if (verb == QLatin1String("annotations") && words.size() == 3)
    return CountAnnotations(view, words[1].toInt(), words[2].toInt());
  if (verb == QLatin1String("dimclick") && words.size() == 3)
    return ClickBox(view, words[1].toInt(), words[2].toInt());
  if (verb == QLatin1String("annotationplaces") && words.size() == 3)
    return WriteAnnotationPlaces(view, words[1].toInt(), words[2]);
  if (verb == QLatin1String("zoomend") && words.size() == 3)
    return ZoomOnEnd(view, words[1].toInt(), words[2].toInt());
  std::string fault;
  if (verb == QLatin1String("dxf") && words.size() == 2) return frame.ExportDxf(words[1], fault);
  if (verb == QLatin1String("print") && words.size() == 2) return PrintToPdf(frame, words[1]);
  handled = false;
  return false;
}
