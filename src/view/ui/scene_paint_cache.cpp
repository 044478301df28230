#include "view/ui/scene_paint_cache.h"

#include "geometry/box.h"
#include "model/document/dorne_doc.h"

CScenePaintCache::CKey CScenePaintCache::CKey::Of(const CDorneDoc& document,
                                                  const CViewWindow& window, QSize size,
                                                  const CSceneDrawOptions& options,
                                                  const QImage& image) {
  CKey key;
  key.picture = CViewPictureKey::Of(document, window, size, options, image);
  key.supportDisplay = options.supportDisplay;
  key.elements = options.elements;
  key.toolMode = document.GetToolMode();
  key.selectionMarks = CBox::SelectionMarksVersion();
  return key;
}

std::vector<const CQtPaintRecording*> CScenePaintCache::Find(const CKey& key) const {
  std::vector<const CQtPaintRecording*> pieces;
  if (m_pieces.empty() || !(m_key == key)) return pieces;
  for (const auto& piece : m_pieces) pieces.push_back(piece.get());
  return pieces;
}

std::vector<CQtPaintRecording*> CScenePaintCache::Renew(const CKey& key, const QImage& image,
                                                        std::size_t pieces) {
  m_key = key;
  ++m_recordings;
  m_pieces.clear();
  std::vector<CQtPaintRecording*> fresh;
  for (std::size_t i = 0; i < pieces; ++i) {
    m_pieces.push_back(std::make_unique<CQtPaintRecording>(&image));
    fresh.push_back(m_pieces.back().get());
  }
  return fresh;
}
