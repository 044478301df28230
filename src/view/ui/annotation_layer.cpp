#include "view/ui/annotation_layer.h"

#include <QPainter>

#include "model/annotation/annotation_list.h"
#include "model/document/dorne_doc.h"
#include "view/annotation_places.h"
#include "view/draw_context.h"
#include "view/ui/covered_area.h"
#include "view/ui/qt_draw_device.h"
#include "view/ui/qt_font_measurer.h"

CAnnotationLayer::CKey CAnnotationLayer::CKey::Of(const CDorneDoc& document,
                                                  const CViewWindow& window, QSize size,
                                                  const CSceneDrawOptions& options,
                                                  const QImage& image) {
  CKey key;
  key.picture = CViewPictureKey::Of(document, window, size, options, image);
  key.annotationChanges = document.Annotations().Changes();
  key.currentRunOnly = document.IsCurrentRunOnly();
  key.currentRun = document.GetCurrentRun();
  key.labels = options.elements.labels;
  key.scale = options.annotationScale;
  return key;
}

void CAnnotationLayer::Update(const QImage& like, QSize size, const CDorneDoc& document,
                              const CViewWindow& window, const CSceneDrawOptions& options) {
  const CKey key = CKey::Of(document, window, size, options, like);
  m_redrawn = !m_drawn || !(key == m_key);
  if (!m_redrawn) return;
  Draw(like, size, document, window, options);
  m_key = key;
  m_drawn = true;
}

void CAnnotationLayer::LayOver(QPainter& painter) const {
  if (!m_used.isEmpty()) painter.drawImage(m_used.topLeft(), m_layer, m_used);
}

void CAnnotationLayer::Draw(const QImage& image, QSize size, const CDorneDoc& document,
                            const CViewWindow& window, const CSceneDrawOptions& options) {
  // Without annotations the layer would stay transparent: clearing a picture of the view's
  // size and searching it for what it holds would be work for nothing at each turn.
  if (document.Annotations().Size() == 0) {
    m_used = QRect();
    if (options.annotationPlaces != nullptr) options.annotationPlaces->Clear();
    return;
  }
  if (m_layer.size() != size) m_layer = QImage(size, QImage::Format_ARGB32_Premultiplied);
  // The same resolution gives the fonts of the picture.
  m_layer.setDotsPerMeterX(image.dotsPerMeterX());
  m_layer.setDotsPerMeterY(image.dotsPerMeterY());
  m_layer.fill(Qt::transparent);
  {
    QPainter painter(&m_layer);
    CQtDrawDevice device(painter);
    CQtFontMeasurer measurer;
    const CSize deviceSize{size.width(), size.height()};
    CDrawContext dc(device, measurer, deviceSize);
    window.ApplyTo(dc.Mapping(), deviceSize);
    DrawSceneAnnotations(dc, document, options);
  }
  m_used = CoveredArea(m_layer);
}
