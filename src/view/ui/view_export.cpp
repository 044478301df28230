#include "view/ui/view_export.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>
#include <atomic>

#include "geometry/parallel_chunks.h"
#include "model/document/dorne_doc.h"
#include "view/draw_context.h"
#include "view/dxf_writer.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/listed_scene.h"
#include "view/ui/qt_draw_device.h"
#include "view/ui/qt_font_measurer.h"
#include "view/ui/scene_paint_cache.h"

namespace {

QSize AtLeastOne(QSize size) { return {std::max(size.width(), 1), std::max(size.height(), 1)}; }

void DrawInto(CDrawContext& dc, const CDorneDoc& document, const CViewWindow& window, QSize size,
              const CSceneDrawOptions& options) {
  window.ApplyTo(dc.Mapping(), {size.width(), size.height()});
  DrawScene(dc, document, options);
}

// Fewer boxes than twice this are recorded in one piece: threads would not pay.
constexpr std::size_t kMinBoxesPerPiece = 1500;
// The boxes are cut into more pieces than there are threads, claimed in turn by whichever
// thread comes free, the last ones short: boxes differ in cost and threads in speed (a
// busy machine holds some of them back), and with one piece a thread the picture waited
// for the slowest. A piece holds no fewer boxes than this, since each is played back on
// its own.
constexpr std::size_t kMinBoxesPerSharedPiece = 500;

// How many boxes a recording that may be called off draws between looks at its flag.
constexpr std::size_t kBoxesBetweenLooks = 256;
// How many boxes of a piece are drawn before room is made for the whole piece's figures.
constexpr std::size_t kBoxesForeseeing = 200;

// Records the scene into pieces for the key: the boxes in stretches drawn on several
// threads at once, then the annotations (a small scene in one piece) unless they are laid
// over it apart.
std::vector<const CQtPaintRecording*> RecordScene(
    CScenePaintCache& kept, const CScenePaintCache::CKey& key, const QImage& image,
    const CDorneDoc& document, const CViewWindow& window, QSize size,
    const CSceneDrawOptions& options, bool annotations, const std::atomic<bool>* stop = nullptr) {
  const CSize deviceSize{size.width(), size.height()};
  CQtFontMeasurer measurer;
  CQtPaintRecording probe(&image);
  CQtDrawDevice probeDevice(probe);
  CDrawContext probeContext(probeDevice, measurer, deviceSize);
  window.ApplyTo(probeContext.Mapping(), deviceSize);
  CListedScene scene(probeContext, document, !options.elements.light, CListedScene::CWalkLater{});
  scene.PrepareStretches();
  if (CParallelChunks::ChunkCount(scene.Size(), kMinBoxesPerPiece) <= 1) {
    CQtPaintRecording& whole = *kept.Renew(key, image, 1).front();
    CQtDrawDevice device(whole);
    CDrawContext dc(device, measurer, deviceSize);
    if (annotations) {
      DrawInto(dc, document, window, size, options);
    } else {
      CElementDrawCache paintOnly;
      window.ApplyTo(dc.Mapping(), deviceSize);
      scene.Walk();
      DrawSceneBoxes(dc, document, scene.Boxes(), options,
                     options.cache != nullptr ? *options.cache : paintOnly);
    }
    return {&whole};
  }
  // Shares for every thread there is, however few pieces a thread would be worth: a thread
  // free takes up the next.
  const std::vector<CSceneStretch> stretches = scene.Stretches(
      CParallelChunks::ChunkCount(scene.Size(), kMinBoxesPerSharedPiece), kMinBoxesPerSharedPiece);
  const std::size_t chunks = stretches.size();
  const std::vector<CQtPaintRecording*> pieces =
      kept.Renew(key, image, annotations ? chunks + 1 : chunks);
  CElementDrawCache paintOnly;
  CElementDrawCache& cache = options.cache != nullptr ? *options.cache : paintOnly;
  std::vector<std::vector<CDev*>> marked(chunks);
  scene.DrawInStretches(stretches, [&](const CSceneStretch& stretch) {
    CQtFontMeasurer ownMeasurer;
    CQtDrawDevice device(*pieces[stretch.index]);
    CDrawContext dc(device, ownMeasurer, deviceSize);
    window.ApplyTo(dc.Mapping(), deviceSize);
    // A recording that may be called off looks at its flag between slices. The first
    // places drawn show how much room the stretch's figures will take.
    const std::size_t slice = stop != nullptr ? kBoxesBetweenLooks : stretch.to - stretch.from;
    const std::size_t foreseen = std::min(stretch.to, stretch.from + kBoxesForeseeing);
    for (std::size_t at = stretch.from; at < stretch.to;) {
      if (stop != nullptr && stop->load(std::memory_order_relaxed)) return;
      const std::size_t end =
          std::min({at + slice, stretch.to, at < foreseen ? foreseen : stretch.to});
      scene.DrawStretch(dc, at, end, options, cache, marked[stretch.index]);
      if (end == foreseen) {
        pieces[stretch.index]->Foresee(static_cast<double>(stretch.to - stretch.from) /
                                       static_cast<double>(foreseen - stretch.from));
      }
      at = end;
    }
  });
  // A unit's mark goes once all its boxes are drawn; a recording called off takes off the
  // marks of every unit it would have drawn, as one drawn to the end does.
  if (stop != nullptr && stop->load()) {
    ClearStaleTapOffMarks(scene.Boxes(), document.GetToolMode());
  } else {
    for (const std::vector<CDev*>& units : marked) TakeOffTapOffMarks(units);
  }
  if (annotations) {
    CQtDrawDevice device(*pieces.back());
    CDrawContext dc(device, measurer, deviceSize);
    window.ApplyTo(dc.Mapping(), deviceSize);
    DrawSceneAnnotations(dc, document, options);
  }
  return {pieces.begin(), pieces.end()};
}

// The pieces kept for the picture, recorded now when there are none.
std::vector<const CQtPaintRecording*> KeptOrRecorded(CScenePaintCache& kept,
                                                     const CDorneDoc& document,
                                                     const CViewWindow& window, QSize size,
                                                     const CSceneDrawOptions& options,
                                                     const QImage& image, bool layered) {
  const auto key = CScenePaintCache::CKey::Of(document, window, size, options, image);
  std::vector<const CQtPaintRecording*> pieces = kept.Find(key);
  if (pieces.empty())
    pieces = RecordScene(kept, key, image, document, window, size, options, !layered);
  return pieces;
}

// A picture of one pixel with the resolution of that one, for what measures fonts as there.
QImage ResolutionOf(const QImage& image) {
  QImage like(1, 1, QImage::Format_RGB32);
  like.setDotsPerMeterX(image.dotsPerMeterX());
  like.setDotsPerMeterY(image.dotsPerMeterY());
  return like;
}

// The picture the painter draws on, when it draws there as a new painter would: without
// a transformation, clip or other composition; null otherwise.
QImage* PlainImageOf(QPainter& painter) {
  QPaintDevice* device = painter.device();
  if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
  if (!painter.combinedTransform().isIdentity() || painter.hasClipping() ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
      painter.opacity() != 1.0 || painter.brushOrigin() != QPoint(0, 0))
    return nullptr;
  return static_cast<QImage*>(device);
}

// The margins and header of a page in its device pixels.
struct CPageLayout {
  int width = 0;
  int height = 0;
  int fontHeight = 0;
  QRect drawing;
};

CPageLayout LayOutPage(QPainter& painter) {
  const QRect viewport = painter.viewport();
  CPageLayout layout;
  layout.width = viewport.width();
  layout.height = viewport.height();
  layout.fontHeight = painter.fontMetrics().height();
  layout.drawing =
      QRect(QPoint(6, layout.fontHeight + 7), QPoint(layout.width - 7, layout.height - 7));
  return layout;
}

// Labels keep the size they have in the view relative to the layout, so that the page
// shows them as the screen does, neither on each other nor over the drawing; without a
// view, the size they have on a screen of 96 dots an inch.
double PrintedLabelScale(const QPainter& painter, const CViewWindow& window,
                         const CDrawMapping& page, QSize viewSize) {
  const double dotsPerInch = std::max(1, painter.device()->logicalDpiY()) / 96.0;
  if (viewSize.isEmpty()) return dotsPerInch;
  CDrawMapping screen;
  window.ApplyTo(screen, {viewSize.width(), viewSize.height()});
  constexpr std::int32_t kProbe = 100000;
  const double onScreen = std::abs(screen.SizeToDevice({kProbe, kProbe}).cx);
  const double onPage = std::abs(page.SizeToDevice({kProbe, kProbe}).cx);
  return onScreen > 0 && onPage > 0 ? onPage / onScreen : dotsPerInch;
}

void PaintHeader(QPainter& painter, const CPageLayout& layout, const CPrintPage& page) {
  painter.setPen(Qt::black);
  const QRect line(0, 0, layout.width, layout.fontHeight);
  if (!page.leftHeader.isEmpty()) {
    painter.drawText(line, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("    ") + page.leftHeader);
  }
  if (!page.rightHeader.isEmpty()) {
    painter.drawText(line, Qt::AlignRight | Qt::AlignTop,
                     page.rightHeader + QStringLiteral("    "));
  }
  if (!page.frame) return;
  const int y = layout.fontHeight + 1;
  painter.drawLine(0, y, layout.width, y);
  const int top = layout.fontHeight + 6;
  painter.drawPolyline(QPolygon({QPoint(5, top), QPoint(5, layout.height - 5),
                                 QPoint(layout.width - 5, layout.height - 5),
                                 QPoint(layout.width - 5, top), QPoint(5, top)}));
}

}  // namespace

void PaintScene(QPainter& painter, const CDorneDoc& document, const CViewWindow& window, QSize size,
                const CSceneDrawOptions& options, CScenePaintCache* cache) {
  size = AtLeastOne(size);
  CQtFontMeasurer measurer;
  if (QImage* image = PlainImageOf(painter)) {
    CScenePaintCache paintOnly;
    CScenePaintCache& kept = cache != nullptr ? *cache : paintOnly;
    // A view keeps its annotations as a picture apart; other pictures draw them in full.
    const bool layered = cache != nullptr;
    const std::vector<const CQtPaintRecording*> pieces =
        KeptOrRecorded(kept, document, window, size, options, *image, layered);
    if (!layered) return CQtPaintRecording::PlayInBands(*image, pieces, &kept.Stamps());
    // The annotations, when they are to be drawn anew, are drawn while the scene's bands are
    // played: neither reads what the other writes, and the resolution is taken here.
    const QImage like = ResolutionOf(*image);
    CAnnotationLayer& annotations = kept.Annotations();
    CParallelChunks::Run(2, 2, [&](std::size_t piece, std::size_t, std::size_t) {
      if (piece == 0) return CQtPaintRecording::PlayInBands(*image, pieces, &kept.Stamps());
      annotations.Update(like, size, document, window, options);
    });
    annotations.LayOver(painter);
    return;
  }
  CQtDrawDevice device(painter);
  CDrawContext dc(device, measurer, {size.width(), size.height()});
  DrawInto(dc, document, window, size, options);
}

bool RecordScenePicture(CScenePaintCache& cache, const CDorneDoc& document,
                        const CViewWindow& window, QSize size, const CSceneDrawOptions& options,
                        const QImage& like, const std::atomic<bool>& stop) {
  size = AtLeastOne(size);
  const auto key = CScenePaintCache::CKey::Of(document, window, size, options, like);
  if (!cache.Find(key).empty()) return true;
  RecordScene(cache, key, like, document, window, size, options, false, &stop);
  if (!stop.load()) return true;
  cache.Clear();
  return false;
}

QImage RenderScene(const CDorneDoc& document, const CViewWindow& window, QSize size,
                   const CSceneDrawOptions& options) {
  size = AtLeastOne(size);
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintScene(painter, document, window, size, options);
  painter.end();
  return image;
}

QString PictureFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
    return QStringLiteral("JPEG");
  if (suffix == QLatin1String("bmp")) return QStringLiteral("BMP");
  return {};
}

bool ExportViewPicture(const CDorneDoc& document, const CViewWindow& window, QSize size,
                       const CSceneDrawOptions& options, const QString& path, std::string& fault) {
  const QString format = PictureFormatOf(path);
  if (format.isEmpty()) {
    fault = "only JPEG (.jpg, .jpeg) and BMP (.bmp) pictures can be written";
    return false;
  }
  const QImage image = RenderScene(document, window, size, options);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, format.toLatin1().constData()) ||
      !file.commit()) {
    fault = file.errorString().toStdString();
    if (fault.empty()) fault = "the picture could not be written";
    return false;
  }
  return true;
}

bool ExportViewDxf(const CDorneDoc& document, const CViewWindow& window, QSize client,
                   const CSceneDrawOptions& options, const QString& path, std::string& fault) {
  client = AtLeastOne(client);
  CDxfWriter writer;
  CQtFontMeasurer measurer;
  CDrawContext dc(writer, measurer, {client.width(), client.height()});
  CSceneDrawOptions dxf = options;
  dxf.dxf = true;
  DrawInto(dc, document, window, client, dxf);
  return writer.WriteFile(path.toStdString(), fault);
}

bool PrintView(QPrinter& printer, const CDorneDoc& document, const CViewWindow& window,
               const CSceneDrawOptions& options, const CPrintPage& page) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const CPageLayout layout = LayOutPage(painter);
  PaintHeader(painter, layout, page);
  const QSize size = layout.drawing.size();
  painter.translate(layout.drawing.topLeft());
  {
    // The device gives the painter its state back before the page ends.
    CQtDrawDevice device(painter);
    CQtFontMeasurer measurer;
    CDrawContext dc(device, measurer, {size.width(), size.height()});
    window.ApplyTo(dc.Mapping(), {size.width(), size.height()});
    const CPoint topLeft = dc.ToLogical({0, 0});
    const CPoint bottomRight = dc.ToLogical({size.width(), size.height()});
    dc.IntersectClipRect(std::min(topLeft.x, bottomRight.x), std::min(topLeft.y, bottomRight.y),
                         std::max(topLeft.x, bottomRight.x), std::max(topLeft.y, bottomRight.y));
    CSceneDrawOptions printed = options;
    printed.annotationScale = PrintedLabelScale(painter, window, dc.Mapping(), page.viewSize);
    printed.annotationPlaces = nullptr;
    DrawScene(dc, document, printed);
  }
  return painter.end();
}
