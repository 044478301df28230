#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <string>

#include "view/scene_drawing.h"
#include "view/view_window.h"

class CDorneDoc;
class CScenePaintCache;
class QPainter;
class QPrinter;

// Drawing the layout outside the window: pictures, DXF files and printed pages. Each
// draws the document's scene as its boxes were last projected, through a view window of
// its own (a copy of the view's), on a target of its own; the document never changes.

// The scene in the window, on white, in a picture of that size (each side at least 1).
QImage RenderScene(const CDorneDoc& document, const CViewWindow& window, QSize size,
                   const CSceneDrawOptions& options);
// The scene drawn with a painter on a target of the given size in pixels. On a picture,
// the painter operations are kept first and then drawn in bands on several threads; with
// a cache, those of an unchanged scene are only played back.
void PaintScene(QPainter& painter, const CDorneDoc& document, const CViewWindow& window, QSize size,
                const CSceneDrawOptions& options, CScenePaintCache* cache = nullptr);

// The painter operations PaintScene keeps in the cache for a picture of that size, with
// the resolution of the one given (its pixels are not read), recorded ahead unless kept
// already: PaintScene of the same scene through the same cache then only plays them back.
// It may run on another thread while nothing else touches the document or the cache. Once
// the stop flag is seen set, it ends with the cache emptied and returns false.
bool RecordScenePicture(CScenePaintCache& cache, const CDorneDoc& document,
                        const CViewWindow& window, QSize size, const CSceneDrawOptions& options,
                        const QImage& like, const std::atomic<bool>& stop);

// The picture format of a file name: "JPEG" for .jpg and .jpeg, "BMP" for .bmp (any
// case); empty for any other name.
QString PictureFormatOf(const QString& path);
// The scene as a JPEG or BMP picture of that size, written to a new file renamed over
// the path. False with fault set (the path untouched) for another extension or when the
// file cannot be written.
bool ExportViewPicture(const CDorneDoc& document, const CViewWindow& window, QSize size,
                       const CSceneDrawOptions& options, const QString& path, std::string& fault);
// The scene as a DXF drawing whose frame is a client of that size, written to a new file
// renamed over the path; false with fault set when it cannot be written.
bool ExportViewDxf(const CDorneDoc& document, const CViewWindow& window, QSize client,
                   const CSceneDrawOptions& options, const QString& path, std::string& fault);

// What a printed page carries besides the scene.
struct CPrintPage {
  QString leftHeader;   // the document's name
  QString rightHeader;  // the job number after its label
  bool frame = true;    // the line under the header and the frame around the drawing
  // The view's client size: labels keep the size they have there relative to the layout.
  // Empty: the size they have on a screen of 96 dots an inch.
  QSize viewSize;
};
// One page: the header, the frame when asked, and the scene in the view window mapped
// onto the area inside the frame, so that the labels placed along the window's edges
// stand below the header and inside the frame. False when the printer cannot be painted.
bool PrintView(QPrinter& printer, const CDorneDoc& document, const CViewWindow& window,
               const CSceneDrawOptions& options, const CPrintPage& page);
