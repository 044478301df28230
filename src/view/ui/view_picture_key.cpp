#include "view/ui/view_picture_key.h"

#include "geometry/3d_projection.h"
#include "geometry/display_list.h"
#include "model/document/dorne_doc.h"

CViewPictureKey CViewPictureKey::Of(const CDorneDoc& document, const CViewWindow& window,
                                    QSize size, const CSceneDrawOptions& options,
                                    const QImage& image) {
  CViewPictureKey key;
  key.document = &document;
  key.listChanges = document.Projection().GetDisplayList().Changes();
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
  return key;
}
