#include "view/ui/scene_paint_cache.h"

#include "geometry/3d_projection.h"
#include "geometry/display_list.h"
#include "model/annotation_list.h"
#include "model/dorne_doc.h"
#include "model/element_selection.h"

CScenePaintCache::CKey CScenePaintCache::CKey::Of(const CDorneDoc& document,
                                                  const CViewWindow& window, QSize size,
                                                  const CSceneDrawOptions& options,
                                                  const QImage& image) {
  const CElementSelection& selection = document.Selection();
  CKey key;
  key.document = &document;
  key.listChanges = document.Projection().GetDisplayList().Changes();
  key.annotationChanges = document.Annotations().Changes();
  key.documentFolder = options.documentFolder;
  for (int i = 0; i < 3; ++i)
    key.angles[static_cast<std::size_t>(i)] = document.Projection().GetViewAngle(i);
  key.centre = window.Centre();
  key.window = window.Size();
  key.size = size;
  key.dotsPerMeterX = image.dotsPerMeterX();
  key.dotsPerMeterY = image.dotsPerMeterY();
  key.monochrome = options.monochrome;
  key.layers = options.layers;
  key.supportDisplay = options.supportDisplay;
  key.elements = options.elements;
  key.toolMode = document.GetToolMode();
  key.selected = selection.Element();
  key.selectedFace = selection.Face();
  return key;
}

const CQtPaintRecording* CScenePaintCache::Find(const CKey& key) const {
  return m_recording != nullptr && m_key == key ? m_recording.get() : nullptr;
}

CQtPaintRecording& CScenePaintCache::Renew(const CKey& key, const QImage& image) {
  m_key = key;
  m_recording = std::make_unique<CQtPaintRecording>(&image);
  return *m_recording;
}
