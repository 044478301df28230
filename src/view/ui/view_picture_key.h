#pragma once

#include <QImage>
#include <QSize>

#include <array>
#include <cstdint>
#include <string>

#include "view/scene_drawing.h"
#include "view/view_window.h"

class CDorneDoc;

// What every picture a view keeps between paints is drawn through: the document's list
// and its projection, the window, the picture's size and resolution, and the options
// common to the scene and its annotations. The pictures' own keys add what only they
// depend on.
struct CViewPictureKey {
  const CDorneDoc* document = nullptr;
  std::uint64_t listChanges = 0;
  std::string documentFolder;   // where pictures are looked for
  std::array<int, 3> angles{};  // of the projection, through which figures are placed
  CPoint centre;
  CSize window;
  QSize size;
  int dotsPerMeterX = 0;
  int dotsPerMeterY = 0;
  bool monochrome = false;
  std::array<bool, CSceneDrawOptions::kLayerCount> layers{};
  bool operator==(const CViewPictureKey&) const = default;

  static CViewPictureKey Of(const CDorneDoc& document, const CViewWindow& window, QSize size,
                            const CSceneDrawOptions& options, const QImage& image);
};
