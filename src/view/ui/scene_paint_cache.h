#pragma once

#include <QImage>
#include <QSize>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "view/element_draw_options.h"
#include "view/ui/annotation_layer.h"
#include "view/scene_drawing.h"
#include "view/ui/qt_paint_recording.h"
#include "view/ui/view_picture_key.h"
#include "view/view_window.h"

class CDorneDoc;

// What a view keeps between paints of its scene into pictures: the painter operations of
// the last paint, with what they were drawn from. A repaint of the same list through the
// same window with the same options only plays them back. Like the element draw cache, it
// relies on its owner to clear it whenever the document notifies a change; what changes
// without a notice (the list and its projection, the view angles, the window, the options,
// the tool mode, the boxes' selection marks) is part of the key.
class CScenePaintCache {
 public:
  CScenePaintCache() = default;
  ~CScenePaintCache() { Spare(m_pieces); }
  CScenePaintCache(const CScenePaintCache&) = delete;
  CScenePaintCache& operator=(const CScenePaintCache&) = delete;

  // Everything the picture is drawn from besides the document's contents.
  struct CKey {
    CViewPictureKey picture;
    int supportDisplay = 0;
    CElementDrawOptions elements;
    int toolMode = 0;
    std::uint64_t selectionMarks = 0;  // CBox::SelectionMarksVersion: the boxes drawn selected
    bool operator==(const CKey&) const = default;

    static CKey Of(const CDorneDoc& document, const CViewWindow& window, QSize size,
                   const CSceneDrawOptions& options, const QImage& image);
  };

  // The operations kept for that key, in pieces to be played in their order; empty when
  // there are none.
  std::vector<const CQtPaintRecording*> Find(const CKey& key) const;
  // That many empty recordings for the key, replacing the last ones; fonts are measured
  // as on the picture, which must outlive the recording of the operations (not their
  // playback).
  std::vector<CQtPaintRecording*> Renew(const CKey& key, const QImage& image, std::size_t pieces);
  // The other cache's operations, with their key, in place of these; the other keeps
  // none. The annotations stay each with its own.
  void TakeScene(CScenePaintCache& other) {
    if (&other == this) return;
    m_key = other.m_key;
    Spare(m_pieces);
    m_pieces = std::move(other.m_pieces);
    other.m_pieces.clear();
  }
  void Clear() {
    Spare(m_pieces);
    m_annotations.Clear();
  }
  // How many times operations were recorded into this cache (Renew).
  std::size_t Recordings() const { return m_recordings; }
  // The annotations, kept apart: their own key, laid over the scene.
  CAnnotationLayer& Annotations() { return m_annotations; }
  // The shapes of small polygons met by the playbacks, for the next ones; they depend on
  // nothing the document holds, and so stay through Clear.
  CPolygonStamps::CLibrary& Stamps() { return m_stamps; }

 private:
  using CPieces = std::vector<std::unique_ptr<CQtPaintRecording>>;
  // The recordings let go, kept for the next pictures of any cache (see
  // CQtPaintRecording::Reuse); the list is left empty.
  static void Spare(CPieces& pieces);

  CKey m_key;
  CPieces m_pieces;
  CAnnotationLayer m_annotations;
  CPolygonStamps::CLibrary m_stamps;
  std::size_t m_recordings = 0;
};
