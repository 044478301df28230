#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <array>
#include <cstdint>
#include <string>

#include "view/element_draw_options.h"
#include "view/scene_drawing.h"
#include "view/ui/view_picture_key.h"
#include "view/view_window.h"

class CDorneDoc;
class CRun;
class QPainter;

// The annotations of a view drawn on a transparent picture of their own, kept while what
// they are drawn from stays the same and laid over the scene at each repaint: a repaint
// of an unchanged document (the mouse over the view, a tool's feedback, another element
// selected) then draws no label again. Like the scene's kept operations it relies on its
// owner to clear it whenever the document notifies a change; what changes without a
// notice is part of the key.
class CAnnotationLayer {
 public:
  struct CKey {
    CViewPictureKey picture;
    std::uint64_t annotationChanges = 0;
    bool currentRunOnly = false;
    const CRun* currentRun = nullptr;
    std::array<CLabelStyle, kLabelStyleCount> labels{};
    double scale = 1.0;
    bool operator==(const CKey&) const = default;

    static CKey Of(const CDorneDoc& document, const CViewWindow& window, QSize size,
                   const CSceneDrawOptions& options, const QImage& image);
  };

  // Lays the annotations over the picture of the scene with the painter that draws on it
  // (as a new painter would): the kept layer while its key holds, else the layer drawn
  // anew (recording where each label went when the options ask for it).
  void PaintOver(QPainter& painter, const QImage& image, QSize size, const CDorneDoc& document,
                 const CViewWindow& window, const CSceneDrawOptions& options) {
    Update(image, size, document, window, options);
    LayOver(painter);
  }
  // The first half of that: the layer drawn anew unless its key holds, with the resolution
  // of the picture given (its pixels are not read). It reads the document and the options
  // only, so that it may run on another thread while the scene's picture is painted.
  void Update(const QImage& like, QSize size, const CDorneDoc& document, const CViewWindow& window,
              const CSceneDrawOptions& options);
  // The second: the kept layer laid over the picture.
  void LayOver(QPainter& painter) const;
  // True when the last PaintOver drew the layer anew.
  bool Redrawn() const { return m_redrawn; }
  void Clear() {
    m_layer = QImage();
    m_drawn = false;
  }

 private:
  void Draw(const QImage& image, QSize size, const CDorneDoc& document, const CViewWindow& window,
            const CSceneDrawOptions& options);

  CKey m_key;
  QImage m_layer;
  QRect m_used;  // where the layer holds anything
  bool m_redrawn = false;
  bool m_drawn = false;  // the key is that of the layer as it stands
};
