#include "view/ui/scene_paint_cache.h"

#include "geometry/box.h"
#include "model/document/dorne_doc.h"

#include <algorithm>
#include <iterator>
#include <mutex>

namespace {

// The recordings let go by every cache, for the next to take: a view's pictures, and any
// picture painted without a cache of its own, are recorded again at every frame of a turn.
// A picture takes no more pieces than this (a few for each thread).
constexpr std::size_t kMostSpares = 64;

struct CSpares {
  std::mutex mutex;
  std::vector<std::unique_ptr<CQtPaintRecording>> pieces;
};

// Never destroyed: a cache may be let go after the statics are.
CSpares& Spares() {
  static CSpares* const spares = new CSpares;
  return *spares;
}

}  // namespace

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
  Spare(m_pieces);
  {
    CSpares& spares = Spares();
    const std::lock_guard lock(spares.mutex);
    const std::size_t taken = std::min(pieces, spares.pieces.size());
    const auto from = spares.pieces.end() - static_cast<std::ptrdiff_t>(taken);
    std::move(from, spares.pieces.end(), std::back_inserter(m_pieces));
    spares.pieces.erase(from, spares.pieces.end());
  }
  for (const auto& piece : m_pieces) piece->Reuse(&image);
  while (m_pieces.size() < pieces) m_pieces.push_back(std::make_unique<CQtPaintRecording>(&image));
  std::vector<CQtPaintRecording*> fresh;
  for (const auto& piece : m_pieces) fresh.push_back(piece.get());
  return fresh;
}

void CScenePaintCache::Spare(CPieces& pieces) {
  {
    CSpares& spares = Spares();
    const std::lock_guard lock(spares.mutex);
    while (!pieces.empty() && spares.pieces.size() < kMostSpares) {
      spares.pieces.push_back(std::move(pieces.back()));
      pieces.pop_back();
    }
  }
  // Those beyond the spares are let go here, out of the lock.
  pieces.clear();
}
